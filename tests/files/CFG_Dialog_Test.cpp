#include "files/Quorel_CFG_Dialog.h"
#include "settings/Quorel_Ini.h"
#include "settings/Quorel_Settings.h"

#include "Test_Print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

namespace {

// Answers the dialogs from a script and records what they were shown.
struct Scripted_Shell
{
    std::deque<std::optional<QString>> Files;   // chosen paths, nullopt: cancel
    std::deque<bool> Answers;                   // Yes / No
    QStringList Proposals;
    QStringList Questions;

    CFG_Dialog_Shell Shell()
    {
        return {[this](QWidget*, const QString&, const QString& proposal, bool) -> std::optional<QString> {
                    Proposals << proposal;
                    if (Files.empty())
                        return std::nullopt;
                    const std::optional<QString> file = Files.front();
                    Files.pop_front();
                    return file;
                },
                [this](QWidget*, const QString& question) {
                    Questions << question;
                    if (Answers.empty())
                        return false;
                    const bool yes = Answers.front();
                    Answers.pop_front();
                    return yes;
                }};
    }
};

class CFG_Dialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings.CFG_File_Path = dir.path();
        settings.CFG_File_Name = "CUR.cfg";
        for (const char* name : {"ABCDEFGH.cfg", "AB123.cfg"}) {
            QFile file(dir.path() + '/' + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    QString Stored_Name() const
    {
        Ini_File ini;
        ini.Ini_Load(settings.File_Path());
        return ini.Ini_Read_Text("CFG_File_Name").value_or(QString());
    }
    QTemporaryDir dir;
    Settings_Class settings{dir.path(), "QuorelGAS"};
    Scripted_Shell script;
};

TEST_F(CFG_Dialog, SaveCutsTheNameAndAsksForTheCutFile)
{
    script.Files = {dir.path() + "/ABCDEFGHIJ.cfg", dir.path() + "/NEWCAR123.cfg"};
    script.Answers = {false};   // No to the cut name: the dialog opens again
    const std::optional<QString> name = Run_CFG_Save_Dialog(nullptr, settings, script.Shell());
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(*name, "NEWCAR12.cfg");
    ASSERT_EQ(script.Questions.size(), 1);
    EXPECT_EQ(script.Questions[0],
              dir.path() + "/ABCDEFGH.cfg\nThe file with such name already exists. Overwrite?");
    EXPECT_EQ(script.Proposals, QStringList({"CUR.cfg", "CUR.cfg"}));
    EXPECT_EQ(settings.CFG_File_Name, "NEWCAR12.cfg");
    EXPECT_EQ(Stored_Name(), "NEWCAR12.cfg");
}

TEST_F(CFG_Dialog, SaveIntoTheCutFileWhenConfirmed)
{
    script.Files = {dir.path() + "/ABCDEFGHIJ.cfg"};
    script.Answers = {true};
    EXPECT_EQ(Run_CFG_Save_Dialog(nullptr, settings, script.Shell()), "ABCDEFGH.cfg");
    EXPECT_EQ(Stored_Name(), "ABCDEFGH.cfg");
}

TEST_F(CFG_Dialog, CancelledSaveChangesNothing)
{
    EXPECT_FALSE(Run_CFG_Save_Dialog(nullptr, settings, script.Shell()).has_value());
    EXPECT_EQ(settings.CFG_File_Name, "CUR.cfg");
    EXPECT_FALSE(QFile::exists(settings.File_Path()));
}

TEST_F(CFG_Dialog, LoadOfAHistoryCopyMakesTheCarsFileCurrent)
{
    const QString copy = dir.path() + "/History/AB123/2026-12/AB123.cfg";
    script.Files = {copy};
    const std::optional<Load_Choice> choice = Run_CFG_Load_Dialog(nullptr, settings, script.Shell());
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->Load_Path, copy);
    EXPECT_EQ(settings.CFG_File_Path, dir.path());
    EXPECT_EQ(settings.CFG_File_Name, "AB123.cfg");
    EXPECT_EQ(Stored_Name(), "AB123.cfg");
}

TEST_F(CFG_Dialog, LoadProposesTempCfgWithoutACarNumber)
{
    {
        QFile file(dir.path() + "/Temp.cfg");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    settings.CFG_File_Name = ".cfg";
    script.Files = {dir.path() + "/Temp.cfg"};
    const std::optional<Load_Choice> choice = Run_CFG_Load_Dialog(nullptr, settings, script.Shell());
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(script.Proposals, QStringList({"Temp.cfg"}));
    EXPECT_EQ(settings.CFG_File_Name, ".cfg");   // Temp.cfg never becomes current
}

TEST_F(CFG_Dialog, OverwriteConfirmedOrNotNeededKeepsTheName)
{
    settings.CFG_File_Name = "AB123.cfg";
    script.Answers = {true};
    EXPECT_TRUE(Confirm_CFG_Overwrite(nullptr, settings, true, script.Shell()));
    EXPECT_EQ(script.Questions.size(), 1);
    EXPECT_EQ(Stored_Name(), "AB123.cfg");
    EXPECT_TRUE(Confirm_CFG_Overwrite(nullptr, settings, false, script.Shell()));
    EXPECT_EQ(script.Questions.size(), 1);   // not edited: no question
    EXPECT_TRUE(script.Proposals.isEmpty());
}

TEST_F(CFG_Dialog, OverwriteRefusedOpensTheSaveDialog)
{
    settings.CFG_File_Name = "AB123.cfg";
    script.Answers = {false};
    script.Files = {dir.path() + "/AB124.cfg"};
    EXPECT_TRUE(Confirm_CFG_Overwrite(nullptr, settings, true, script.Shell()));
    EXPECT_EQ(settings.CFG_File_Name, "AB124.cfg");
    EXPECT_EQ(Stored_Name(), "AB124.cfg");
}

}   // namespace
