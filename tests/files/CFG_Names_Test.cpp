#include "files/Quorel_CFG_Names.h"

#include "Test_Print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(CFG_Names, CarNumberBecomesASafeFileName)
{
    struct Case
    {
        QString Car_Num;
        QString Name;
    };
    const Case cases[] = {
        {"AB123", "AB123.cfg"},
        {"AB 123 C", "AB 123 C.cfg"},   // blanks are normal in car numbers
        {"a-b_c.d", "a-b_c.d.cfg"},
        {QString::fromUtf8("АВ1234КІ"), QString::fromUtf8("АВ1234КІ.cfg")},
        {"", ".cfg"},
        {"../../x", "___.._x.cfg"},
        {"..", "__.cfg"},
        {".hidden", "_hidden.cfg"},
        {"A/B", "A_B.cfg"},
        {"A\\B", "A_B.cfg"},
        {QString("A") + QChar(0) + "B", "A_B.cfg"},
        {"A\tB\r\n", "A_B__.cfg"},
        {QString("A") + QChar(0x7F), "A_.cfg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Car_Num.toStdString());
        const QString name = CFG_Name_For_Car_Num(c.Car_Num);
        EXPECT_EQ(name, c.Name);
        EXPECT_FALSE(name.contains('/'));
        // The name never leaves its folder.
        EXPECT_EQ(QDir::cleanPath("/cfg/" + name).section('/', 0, 1), "/cfg");
    }
}

TEST(CFG_Names, SplitAndStrip)
{
    EXPECT_EQ(Split_Path("/a/b/AB123.cfg").Folder, "/a/b");
    EXPECT_EQ(Split_Path("/a/b/AB123.cfg").Name, "AB123.cfg");
    EXPECT_EQ(Split_Path("AB123.cfg").Folder, "");
    EXPECT_EQ(Strip_Extension("AB.12.cfg"), "AB.12");
    EXPECT_EQ(Strip_Extension("AB123"), "AB123");
    EXPECT_EQ(Strip_Extension(".cfg"), "");
}

TEST(CFG_Names, SaveNameIsCutToEightCharacters)
{
    EXPECT_EQ(Save_Name_For_Choice("ABCDEFGHIJ.cfg"), "ABCDEFGH.cfg");
    EXPECT_EQ(Save_Name_For_Choice("ABCDEFGH.cfg"), "ABCDEFGH.cfg");
    EXPECT_EQ(Save_Name_For_Choice("AB123"), "AB123.cfg");
    EXPECT_EQ(Save_Name_For_Choice("AB123.txt"), "AB123.cfg");
    EXPECT_EQ(Save_Name_For_Choice("..secret.cfg"), "__secret.cfg");
}

TEST(CFG_Names, LoadChoiceFollowsTheHistoryAndTempRules)
{
    const QString cfg = "/w/Config";
    struct Case
    {
        QString Chosen;
        QString Folder;
        QString Name;
    };
    const Case cases[] = {
        {"/w/Config/AB123.cfg", "/w/Config", "AB123.cfg"},
        {"/w/Other/XY9.cfg", "/w/Other", "XY9.cfg"},
        // A history copy makes the car's own file current.
        {"/w/Config/History/AB123/2026-12/AB123_10.cfg", "/w/Config", "AB123.cfg"},
        {"/w/Config/History/AB123/AB123.cfg", "/w/Config", "AB123.cfg"},
        // Only the History folder directly below the configuration folder.
        {"/w/Config/Old/History/AB123/x.cfg", "/w/Config/Old/History/AB123", "x.cfg"},
        {"/w/MyHistory/AB123/x.cfg", "/w/MyHistory/AB123", "x.cfg"},
        {"/w/Config/HistoryOld/AB123/x.cfg", "/w/Config/HistoryOld/AB123", "x.cfg"},
        {"/w/Config/History/x.cfg", "/w/Config/History", "x.cfg"},
        // Temp.cfg keeps the current file, wherever it lies.
        {"/w/Config/Temp.cfg", "/w/Config", "CUR.cfg"},
        {"/w/Config/History/Temp/2026-12/Temp.cfg", "/w/Config", "CUR.cfg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Chosen.toStdString());
        const Load_Choice choice = Decide_Load_Choice(cfg, "CUR.cfg", c.Chosen);
        EXPECT_EQ(choice.CFG_File_Path, c.Folder);
        EXPECT_EQ(choice.CFG_File_Name, c.Name);
        EXPECT_EQ(choice.Load_Path, c.Chosen);   // the chosen file is what is read
    }
}

class CFG_Names_Files : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"ABCDEFGH.cfg", "Temp.cfg", "AB123.cfg"}) {
            QFile file(dir.path() + '/' + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    QTemporaryDir dir;
};

TEST_F(CFG_Names_Files, CutNameOfAnotherFileAsksBeforeWriting)
{
    EXPECT_TRUE(Save_Needs_Overwrite_Question(dir.path(), "ABCDEFGHIJ.cfg", "ABCDEFGH.cfg"));
    EXPECT_FALSE(Save_Needs_Overwrite_Question(dir.path(), "ABCDEFGH.cfg", "ABCDEFGH.cfg"));
    EXPECT_FALSE(Save_Needs_Overwrite_Question(dir.path(), "NEWNAME99.cfg", "NEWNAME9.cfg"));
}

TEST_F(CFG_Names_Files, OverwriteQuestionOnlyForAnEditedNameOfAnExistingFile)
{
    EXPECT_TRUE(Overwrite_Question_Needed(true, dir.path(), "AB123.cfg"));
    EXPECT_FALSE(Overwrite_Question_Needed(false, dir.path(), "AB123.cfg"));
    EXPECT_FALSE(Overwrite_Question_Needed(true, dir.path(), "NEW.cfg"));
    EXPECT_EQ(Overwrite_Question_Text("/w/Config/AB123.cfg", "Overwrite?"), "/w/Config/AB123.cfg\nOverwrite?");
}

TEST_F(CFG_Names_Files, LoadDialogProposesTheCurrentOrTempFile)
{
    EXPECT_EQ(Load_Dialog_Proposal(dir.path(), "AB123.cfg"), "AB123.cfg");
    EXPECT_EQ(Load_Dialog_Proposal(dir.path(), ".cfg"), "Temp.cfg");
    EXPECT_EQ(Load_Dialog_Proposal(dir.path(), "GONE.cfg"), "");
    QFile::remove(dir.path() + "/Temp.cfg");
    EXPECT_EQ(Load_Dialog_Proposal(dir.path(), ".cfg"), "");
}

}   // namespace
