#include "calibration/Quorel_Calibration_Map.h"
#include "config/Quorel_Config_Defaults.h"
#include "config/Quorel_Configuration.h"
#include "config/Quorel_Config_Fields.h"
#include "config/Quorel_Config_Select.h"
#include "files/Quorel_CFG_Keys.h"
#include "files/Quorel_CFG_Load.h"
#include "files/Quorel_CFG_Save.h"
#include "settings/Quorel_Ini.h"

#include "Test_Print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

const Model_Names Models = {"KYT-4", "KYT-6", "KYT-8"};

// A record off its defaults in many fields, as a car's file holds it.
Configuration_Class Car_Record()
{
    Configuration_Class config;
    Set_Config_Defaults(config, false, Models);
    config.Set_Program_Name("QGstreamLG6", Models);
    config.Set_Program_Version("6.19");
    config.Program_Date = "2013.05.01";
    config.Work_Gas = 6000;
    config.Work_Petrol = 17;
    config.RPM_Filter = 15;
    config.RPM_Virtual_ON = true;
    config.PG_Delay = 9;
    config.PG_PrimingTime_4 = 44;
    config.GPG_2Fuel_Delay = 12;
    config.GF_ETALON = 65535;
    config.MAP_Sensor_C2 = 307;
    Derive_MAP_Sensor_C2_Absolute(config);   // as the editor does after setting C2
    config.Level_Type = "SOFTWARE";
    config.Car_Model = "Lada 2110";
    config.User_Name = "Ivan Petrenko";
    config.Car_Comments = QString("new reducer") + QChar(29) + QChar(26) + "check filter";
    config.Date_Mounting = "01.02.2013";
    config.Car_Num = "AB123";
    return config;
}

Calibration_Map Car_Map()
{
    Calibration_Map map;
    for (int k = 0; k < Calibration_Map::Point_Count; ++k) {
        map.Petrol_Time[size_t(k)] = 1500 + 2500 * k;
        map.Factor[size_t(k)] = 13438 - 150 * k;
    }
    return map;
}

QByteArray Read_All(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write_All(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class CFG_Files : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.path() + '/' + name; }
};

TEST_F(CFG_Files, SavedFileReadsBackIntoTheSameRecordAndMap)
{
    Configuration_Class config = Car_Record();
    const Calibration_Map map = Car_Map();
    const CFG_Save_Result saved = Save_CFG_File(Path("AB123.cfg"), config, map, "10.12.2026", {});
    ASSERT_TRUE(saved.Ok) << saved.Error.toStdString();
    EXPECT_EQ(config.Date_Save, "10.12.2026");

    Configuration_Class loaded;
    Set_Config_Defaults(loaded, false, Models);
    loaded.Car_Num = "AB123";   // the file's name, not a key
    Calibration_Map loaded_map;
    const CFG_Load_Result result =
        Load_CFG_File(Path("AB123.cfg"), loaded, loaded_map, CFG_Load_Scope::Everything, false, Models);
    ASSERT_TRUE(result.Found);
    EXPECT_TRUE(result.Config_Read);
    EXPECT_TRUE(result.Map_Read);
    EXPECT_TRUE(loaded == config);
    EXPECT_TRUE(loaded.MAP_Sensor_C2_Absolute);
    // Field by field, to name a field that differs.
    for (const auto& f : Int_Fields()) EXPECT_EQ(loaded.*f.Member, config.*f.Member) << f.Key;
    for (const auto& f : Flag_Fields()) EXPECT_EQ(loaded.*f.Member, config.*f.Member) << f.Key;
    for (const auto& f : Text_Fields()) EXPECT_EQ(loaded.*f.Member, config.*f.Member) << (f.Key ? f.Key : "Car_Num");
    EXPECT_EQ(loaded.Version_Number, config.Version_Number);
    EXPECT_EQ(loaded.Program_Name, "KYT-6");
    EXPECT_EQ(loaded.Version_Number, 619);
    EXPECT_EQ(loaded.Car_Comments, config.Car_Comments);
    EXPECT_EQ(loaded_map.Petrol_Time, map.Petrol_Time);
    EXPECT_EQ(loaded_map.Factor, map.Factor);

    // A second save of an unchanged record leaves the bytes as they are.
    const QByteArray first = Read_All(Path("AB123.cfg"));
    ASSERT_TRUE(Save_CFG_File(Path("AB123.cfg"), loaded, loaded_map, "10.12.2026", {}).Ok);
    EXPECT_EQ(Read_All(Path("AB123.cfg")), first);
}

TEST_F(CFG_Files, KeysInOrderWithTheirRemarksAndValueForms)
{
    Configuration_Class config = Car_Record();
    config.Car_Jet.clear();
    CFG_Save_Options options;
    options.Text = [](const QString& key) { return "T(" + key + ")"; };
    options.Error_Word = 0b1011;   // bits 0, 1 and 3
    options.Grids = {{"Cor_Factor_1_1", "1.05"}, {"OffSet_Gas_1_1", "-3"}};
    ASSERT_TRUE(Save_CFG_File(Path("A.cfg"), config, Car_Map(), "10.12.2026", options).Ok);

    Ini_File ini;
    ASSERT_TRUE(ini.Ini_Load(Path("A.cfg")));
    QStringList keys;
    for (const Ini_File::Entry& entry : ini.Entries())
        keys << entry.key;
    QStringList expected;
    for (const CFG_Key& key : CFG_Keys())
        if (key.Row <= 16)
            expected << QString(key.Key).toUpper();
    expected << "ERROR_TEMPAUX1" << "ERROR_PRESSINJECT" << "ERROR_SHORT_CIRCUIT" << "COR_FACTOR_1_1"
             << "OFFSET_GAS_1_1";
    for (int k = 1; k <= 6; ++k)
        expected << QString("PG_PRIMINGTIME_%1").arg(k);
    for (int k = 0; k < Calibration_Map::Point_Count; ++k)
        expected << QString("PETROL_POINT_%1").arg(k) << QString("FACTOR_POINT_%1").arg(k);
    EXPECT_EQ(keys, expected);

    const QByteArray text = Read_All(Path("A.cfg"));
    const auto has_line = [&text](const char* line) { return text.contains(QByteArray(line) + "\r\n"); };
    EXPECT_TRUE(text.startsWith("Program_Name                 KYT-6 {T(Program_Name_Rem)}\r\n"));
    EXPECT_TRUE(has_line("Work_Gas                     6000 {T(Work_Gas_Rem)}"));
    EXPECT_TRUE(has_line("RPM_Filter                   15 {}"));
    EXPECT_TRUE(has_line("RPM_AutoFilter_ON            True {}"));
    EXPECT_TRUE(has_line("RPM_Virtual_ON               True {}"));
    EXPECT_TRUE(has_line("NoSequentInject              False {}"));
    EXPECT_TRUE(has_line("Car_Jet                       {}"));
    EXPECT_TRUE(has_line("Date_Save                    10.12.2026 {}"));
    EXPECT_TRUE(has_line("ERROR_TempAUX1               T(Memo_ERR_TempAUX1) {AUX-1 temperature sensor}"));
    EXPECT_TRUE(has_line("ERROR_Short_Circuit          T(Memo_ERR_ShortCircuit) {Short circuit gas injectors}"));
    EXPECT_TRUE(has_line("Petrol_Point_3               9000 {Petrol point 3}"));
    EXPECT_TRUE(has_line("Factor_Point_0               13438 {Petrol factor 0}"));
    EXPECT_EQ(text.count("\n"), text.count("\r\n"));
}

TEST_F(CFG_Files, ErrorKeysOnlyForTheirBitsAndEnglishRemarksEmpty)
{
    Configuration_Class config = Car_Record();
    CFG_Save_Options options;
    options.Text = CFG_Text_Lookup(true);
    options.Error_Word = 0b0100;   // bit 2 has no key
    ASSERT_TRUE(Save_CFG_File(Path("A.cfg"), config, Car_Map(), "d", options).Ok);
    const QByteArray text = Read_All(Path("A.cfg"));
    EXPECT_FALSE(text.contains("ERROR_"));
    EXPECT_TRUE(text.contains("Program_Version              6.19 {}\r\n"));

    options.Error_Word = 0b0010;
    ASSERT_TRUE(Save_CFG_File(Path("B.cfg"), config, Car_Map(), "d", options).Ok);
    const QByteArray b = Read_All(Path("B.cfg"));
    EXPECT_TRUE(b.contains("ERROR_PressInject            Injection pressure {Injection pressure sensor}\r\n"));
    EXPECT_FALSE(b.contains("ERROR_TempAUX1"));
}

// A file written by hand: lower-case and "=" keys, LF and CR LF mixed,
// comments, garbage values, duplicates, missing keys and a key the program
// does not know.
const QByteArray Hand_File = "{ written by hand }\r\n"
                             "[Config]\n"
                             "Program_Name QGSTREAM LG4 {}\r\n"
                             "Program_Version 4.17\n"
                             "RPM_FILTER=15\n"
                             "PG_Delay 5x {}\r\n"
                             "PG_RPM $7D0\r\n"
                             "GP_Time 7 {first}\r\n"
                             "GP_Time 9 {second}\r\n"
                             "Lambda_ON yes\r\n"
                             "Level_90 false\r\n"
                             "Level_Type Nonexistent sensor\r\n"
                             "Pump_Type Ostra-40\r\n"
                             "GF_ETALON 70000\r\n"
                             "Workshop_Note   keep me {mine}\r\n"
                             "Car_Model Skoda Octavia {}\n"
                             "Factor_Point_2 12000 {}\r\n"
                             "Factor_Point_3 1.5\r\n";

TEST_F(CFG_Files, HandWrittenFileLoadsByTheFormatRules)
{
    Write_All(Path("HAND.cfg"), Hand_File);
    Configuration_Class config = Car_Record();
    const Configuration_Class before = config;
    Calibration_Map map = Car_Map();
    const Calibration_Map map_before = map;
    ASSERT_TRUE(Load_CFG_File(Path("HAND.cfg"), config, map, CFG_Load_Scope::Everything, false, Models).Found);

    EXPECT_EQ(config.Program_Name, "KYT-4");
    EXPECT_EQ(config.Program_Version, "4.17");
    EXPECT_EQ(config.Version_Number, 417);
    EXPECT_EQ(config.Program_Date, "");   // missing identity is cleared
    EXPECT_EQ(config.Work_Gas, 0);
    EXPECT_EQ(config.Work_Petrol, 0);
    EXPECT_EQ(config.RPM_Filter, 15);
    EXPECT_EQ(config.PG_Delay, before.PG_Delay);   // "5x"
    EXPECT_EQ(config.PG_RPM, 2000);
    EXPECT_EQ(config.GP_Time, 7);   // the first of duplicates
    EXPECT_EQ(config.Lambda_ON, before.Lambda_ON);
    EXPECT_FALSE(config.Level_90);
    EXPECT_EQ(config.Level_Type, before.Level_Type);
    EXPECT_EQ(config.Pump_Type, "Ostra-40");
    EXPECT_EQ(config.GF_ETALON, 70000 & 0xFFFF);
    EXPECT_EQ(config.Inject_Type, before.Inject_Type);   // missing: kept
    EXPECT_EQ(config.Car_Model, "Skoda Octavia");
    EXPECT_EQ(config.User_Name, "");   // car and owner data cleared first
    EXPECT_EQ(config.Car_Comments, "");
    EXPECT_EQ(config.Car_Num, before.Car_Num);
    EXPECT_EQ(map.Factor[2], 12000);
    EXPECT_EQ(map.Factor[3], map_before.Factor[3]);
    EXPECT_EQ(map.Petrol_Time, map_before.Petrol_Time);
}

TEST_F(CFG_Files, UnknownKeysSurviveASaveInTheirPlace)
{
    Write_All(Path("HAND.cfg"), Hand_File);
    Configuration_Class config = Car_Record();
    ASSERT_TRUE(Save_CFG_File(Path("HAND.cfg"), config, Car_Map(), "d", {}).Ok);
    Ini_File ini;
    ASSERT_TRUE(ini.Ini_Load(Path("HAND.cfg")));
    const QList<Ini_File::Entry>& entries = ini.Entries();
    qsizetype note = -1;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries[i].key == "WORKSHOP_NOTE")
            note = i;
    ASSERT_GE(note, 0);
    EXPECT_EQ(entries[note].value, "keep me");
    EXPECT_EQ(entries[note].remark, "mine");
    // Keys already in the file keep their position: the note stays after
    // GF_ETALON and before Car_Model.
    EXPECT_EQ(entries[note - 1].key, "GF_ETALON");
    EXPECT_EQ(entries[note + 1].key, "CAR_MODEL");
    EXPECT_EQ(ini.Ini_Read_Int("RPM_Filter"), config.RPM_Filter);
    EXPECT_EQ(ini.Ini_Read_Int("PG_Delay"), config.PG_Delay);
}

TEST(CFG_Load_Scope, ByTabWhenSaveLoadDataIsOff)
{
    EXPECT_EQ(CFG_Load_Scope_For(true, CFG_Load_Tab::Other), CFG_Load_Scope::Everything);
    EXPECT_EQ(CFG_Load_Scope_For(true, CFG_Load_Tab::Calibration), CFG_Load_Scope::Everything);
    EXPECT_EQ(CFG_Load_Scope_For(false, CFG_Load_Tab::Configuration), CFG_Load_Scope::Configuration);
    EXPECT_EQ(CFG_Load_Scope_For(false, CFG_Load_Tab::Calibration), CFG_Load_Scope::Calibration);
    EXPECT_EQ(CFG_Load_Scope_For(false, CFG_Load_Tab::Other), CFG_Load_Scope::Nothing);
}

TEST_F(CFG_Files, EachScopeReadsOnlyItsPart)
{
    Configuration_Class source = Car_Record();
    ASSERT_TRUE(Save_CFG_File(Path("S.cfg"), source, Car_Map(), "d", {}).Ok);

    struct Case
    {
        CFG_Load_Scope Scope;
        bool Ecu_Connected;
        bool Identity, Config, Map;
    };
    const Case cases[] = {
        {CFG_Load_Scope::Everything, false, true, true, true},
        {CFG_Load_Scope::Everything, true, false, true, true},
        {CFG_Load_Scope::Configuration, false, true, true, false},
        {CFG_Load_Scope::Calibration, false, true, false, true},
        {CFG_Load_Scope::Calibration, true, false, false, true},
        {CFG_Load_Scope::Nothing, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Scope) * 10 + c.Ecu_Connected);
        Configuration_Class config;
        Set_Config_Defaults(config, false, Models);
        config.User_Name = "old owner";
        Calibration_Map map;
        const Calibration_Map default_map;
        Load_CFG_File(Path("S.cfg"), config, map, c.Scope, c.Ecu_Connected, Models);
        EXPECT_EQ(config.Work_Gas == source.Work_Gas, c.Identity);
        EXPECT_EQ(config.Program_Name == "KYT-6", c.Identity);
        EXPECT_EQ(config.RPM_Filter == source.RPM_Filter, c.Config);
        EXPECT_EQ(config.PG_PrimingTime_4 == source.PG_PrimingTime_4, c.Config);
        EXPECT_EQ(config.User_Name == source.User_Name, c.Config);
        EXPECT_EQ(config.User_Name == "old owner", !c.Config);
        EXPECT_EQ(map.Factor == Car_Map().Factor, c.Map);
        EXPECT_EQ(map.Factor == default_map.Factor, !c.Map);
    }
}

TEST_F(CFG_Files, MissingFileChangesNothing)
{
    Configuration_Class config = Car_Record();
    const Configuration_Class before = config;
    Calibration_Map map = Car_Map();
    const CFG_Load_Result result =
        Load_CFG_File(Path("NONE.cfg"), config, map, CFG_Load_Scope::Everything, false, Models);
    EXPECT_FALSE(result.Found);
    EXPECT_FALSE(result.Config_Read);
    EXPECT_TRUE(config == before);
}

TEST_F(CFG_Files, TempCfgIsAFreshFileOfTheWholeRecord)
{
    const QString folder = Path("Config");
    ASSERT_TRUE(QDir().mkpath(folder));
    Write_All(folder + "/Temp.cfg", "Old_Key stale {}\r\nRPM_Filter 99 {}\r\n");
    const Configuration_Class config = Car_Record();
    const CFG_Save_Result result = Write_Temp_CFG(folder, dir.path(), config, Car_Map(), {});
    ASSERT_TRUE(result.Ok) << result.Error.toStdString();
    EXPECT_EQ(result.Path, folder + "/Temp.cfg");
    const QByteArray text = Read_All(folder + "/Temp.cfg");
    EXPECT_FALSE(text.contains("Old_Key"));
    EXPECT_TRUE(text.startsWith("Program_Name "));
    EXPECT_TRUE(text.contains("RPM_Filter                   15 {}\r\n"));
    EXPECT_TRUE(text.contains("Factor_Point_8 "));

    // A missing configuration folder is created.
    const QString missing = Path("New/Config");
    ASSERT_TRUE(Write_Temp_CFG(missing, dir.path(), config, Car_Map(), {}).Ok);
    EXPECT_TRUE(QFile::exists(missing + "/Temp.cfg"));
}

TEST_F(CFG_Files, SaveFolderFallsBackToTheProgramFolder)
{
    QString error;
    EXPECT_EQ(CFG_Save_Folder(dir.path(), "/nowhere", &error), dir.path());
    EXPECT_EQ(CFG_Save_Folder(Path("gone"), dir.path(), &error), Path("Config"));
    EXPECT_TRUE(QFileInfo(Path("Config")).isDir());
    Write_All(Path("plain"), "x");
    EXPECT_EQ(CFG_Save_Folder(Path("gone"), Path("plain"), &error), QString());
    EXPECT_FALSE(error.isEmpty());
}

// Makes a folder unwritable, for root too (immutable flag), and undoes it.
class Unwritable_Folder
{
public:
    explicit Unwritable_Folder(const QString& folder) : folder_(folder)
    {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (Probe_Writable()) {
            fd_ = ::open(folder.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
                flags |= FS_IMMUTABLE_FL;
                immutable_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
            }
        }
        ok_ = !Probe_Writable();
    }
    ~Unwritable_Folder()
    {
        if (immutable_) {
            int flags = 0;
            ::ioctl(fd_, FS_IOC_GETFLAGS, &flags);
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0)
            ::close(fd_);
        QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool Ok() const { return ok_; }

private:
    bool Probe_Writable() const
    {
        QFile probe(folder_ + "/.probe");
        const bool writable = probe.open(QIODevice::WriteOnly);
        if (writable)
            probe.remove();
        return writable;
    }
    QString folder_;
    int fd_ = -1;
    bool immutable_ = false;
    bool ok_ = false;
};

TEST_F(CFG_Files, SaveIntoUnwritableFolderReportsAndKeepsTheOldFile)
{
    const QString folder = Path("ro");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/AB123.cfg";
    Write_All(path, "RPM_Filter 3 {}\r\nWorkshop_Note x {}\r\n");
    const QByteArray old = Read_All(path);
    Configuration_Class config = Car_Record();
    config.Date_Save = "01.01.2020";
    const Configuration_Class before = config;
    {
        Unwritable_Folder guard(folder);
        if (!guard.Ok())
            GTEST_SKIP() << "cannot make a folder unwritable here";
        const CFG_Save_Result result = Save_CFG_File(path, config, Car_Map(), "10.12.2026", {});
        EXPECT_FALSE(result.Ok);
        EXPECT_FALSE(result.Error.isEmpty());
        EXPECT_TRUE(config == before);   // Date_Save not taken
    }
    EXPECT_EQ(Read_All(path), old);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(CFG_Files, SaveWhereTheFolderIsAFileReportsTheSystemError)
{
    Write_All(Path("plain"), "x");
    Configuration_Class config = Car_Record();
    const Configuration_Class before = config;
    const CFG_Save_Result result = Save_CFG_File(Path("plain/A.cfg"), config, Car_Map(), "d", {});
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Error.isEmpty());
    EXPECT_TRUE(config == before);
}

}   // namespace
