#include "calibration/Quorel_Calibration_Map.h"
#include "config/Quorel_Configuration.h"
#include "files/Quorel_CFG_Current.h"
#include "settings/Quorel_Ini.h"
#include "settings/Quorel_Settings.h"

#include "Test_Print.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const Model_Names Models = {"KYT-4", "KYT-6", "KYT-8"};

class CFG_Current : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    Settings_Class settings{dir.path(), "QuorelGAS"};
};

TEST_F(CFG_Current, StoringTheCurrentFileWritesBothSettingsWithRemarks)
{
    settings.Remark_Text = [](const QString& key) { return "R " + key; };
    ASSERT_TRUE(Store_Current_CFG(settings, "/w/Config", "AB123.cfg"));
    EXPECT_EQ(settings.CFG_File_Path, "/w/Config");
    EXPECT_EQ(settings.CFG_File_Name, "AB123.cfg");
    Ini_File ini;
    ASSERT_TRUE(ini.Ini_Load(settings.File_Path()));
    EXPECT_EQ(ini.Ini_Read_Text("CFG_File_Path"), "/w/Config");
    EXPECT_EQ(ini.Ini_Read_Text("CFG_File_Name"), "AB123.cfg");
    EXPECT_EQ(ini.Ini_Find("CFG_File_Name")->remark, "R CFG_File_Name_Rem");
}

TEST_F(CFG_Current, SaveFallsBackToTheConfigFolderAndLoadsBack)
{
    settings.CFG_File_Path = dir.path() + "/missing";
    settings.CFG_File_Name = "AB123.cfg";
    Configuration_Class config;
    config.RPM_Filter = 42;
    const CFG_Save_Result result = Save_Current_CFG(settings, config, Calibration_Map(), "d", {});
    ASSERT_TRUE(result.Ok) << result.Error.toStdString();
    EXPECT_EQ(settings.CFG_File_Path, dir.path() + "/Config");
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/Config/AB123.cfg"));

    Configuration_Class loaded;
    Calibration_Map map;
    EXPECT_TRUE(Load_Current_CFG(settings, loaded, map, CFG_Load_Scope::Everything, false, Models).Found);
    EXPECT_EQ(loaded.RPM_Filter, 42);
}

TEST_F(CFG_Current, ANameThatIsNoPlainFileNameIsRefused)
{
    Configuration_Class config;
    for (const QString& name : {QString("../x.cfg"), QString(".."), QString()}) {
        settings.CFG_File_Name = name;
        const CFG_Save_Result result = Save_Current_CFG(settings, config, Calibration_Map(), "d", {});
        EXPECT_FALSE(result.Ok) << name.toStdString();
        EXPECT_FALSE(result.Error.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/x.cfg"));
}

}   // namespace
