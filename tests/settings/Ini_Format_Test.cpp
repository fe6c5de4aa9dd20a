#include "settings/Quorel_Ini.h"

#include "Test_Print.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

struct Line_Case
{
    const char* line;
    const char* key;
    const char* value;
    const char* remark;
};

std::ostream& operator<<(std::ostream& out, const Line_Case& c) { return out << '"' << c.line << '"'; }

class Line_Parse : public ::testing::TestWithParam<Line_Case>
{
};

TEST_P(Line_Parse, SplitsKeyValueAndRemark)
{
    const Line_Case& c = GetParam();
    Ini_File ini;
    ini.Parse(QByteArray(c.line));
    ASSERT_EQ(ini.Entries().size(), 1);
    const Ini_File::Entry& entry = ini.Entries().front();
    EXPECT_EQ(entry.key, QString::fromLatin1(c.key));
    EXPECT_EQ(entry.value, QString::fromLatin1(c.value));
    EXPECT_EQ(entry.remark, QString::fromLatin1(c.remark));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Line_Parse,
    ::testing::Values(
        // Hand-edited: leading blanks, lower case, blanks around "=".
        Line_Case{"   port_name = COM7 {Serial port}", "PORT_NAME", "COM7", "Serial port"},
        Line_Case{"Port_Name=COM3", "PORT_NAME", "COM3", " "},
        Line_Case{"Port_Name= COM3 ", "PORT_NAME", "COM3", " "},
        Line_Case{"\t\x01\x02Reply_Delay 60", "REPLY_DELAY", "60", " "},
        // A key with nothing after it: single blanks.
        Line_Case{"Language", "LANGUAGE", " ", " "},
        Line_Case{"Language    ", "LANGUAGE", " ", " "},
        Line_Case{"Language =", "LANGUAGE", " ", " "},
        Line_Case{"Language=", "LANGUAGE", " ", " "},
        // The program's own layout.
        Line_Case{"Reply_Delay                  60 {Pause in ms}", "REPLY_DELAY", "60", "Pause in ms"},
        Line_Case{"Full_Screen                  True {}", "FULL_SCREEN", "True", ""},
        Line_Case{"CFG_File_Name                {only a remark}", "CFG_FILE_NAME", "", "only a remark"},
        Line_Case{"Title_Text   spaced  value   {  r  }", "TITLE_TEXT", "spaced  value", "r"},
        // Braces inside the value survive when the line ends in a remark.
        Line_Case{"Tech_Text_Data Filter {new} fitted {remark}", "TECH_TEXT_DATA", "Filter {new} fitted", "remark"},
        Line_Case{"Tech_Text_Data Filter {new} fitted {}", "TECH_TEXT_DATA", "Filter {new} fitted", ""},
        // Without a closing brace the value ends at the first brace.
        Line_Case{"Tech_Text_Data Filter {new} fitted", "TECH_TEXT_DATA", "Filter", "new} fitted"},
        Line_Case{"Tech_Text_Data abc {open", "TECH_TEXT_DATA", "abc", "open"},
        // No character of the value is lost when the brace follows it directly.
        Line_Case{"Port_Name COM7{rem}", "PORT_NAME", "COM7", "rem"},
        // An "=" that is part of the value stays.
        Line_Case{"Name_Block_PIC_1 =KYT", "NAME_BLOCK_PIC_1", "=KYT", " "},
        // 8-bit characters are data, not blanks.
        Line_Case{"Title_Text \xA0Stra\xDF" "e\xA0", "TITLE_TEXT", "\xA0Stra\xDF" "e\xA0", " "}));

TEST(Ini_Parse, SkipsEmptyCommentAndSectionLines)
{
    Ini_File ini;
    ini.Parse("\r\n   \r\n{a comment}\r\n   [Section]\r\n\x1A\r\n\t{ indented comment }\r\nPort_Name COM2\r\n");
    ASSERT_EQ(ini.Entries().size(), 1);
    EXPECT_EQ(ini.Entries().front().key, "PORT_NAME");
}

TEST(Ini_Parse, KeepsFileOrderAndDuplicatesWithAnyLineEnd)
{
    Ini_File ini;
    ini.Parse("A 1\r\nB 2\nC 3\rA 4\r\nd 5");
    ASSERT_EQ(ini.Entries().size(), 5);
    QStringList keys;
    for (const auto& entry : ini.Entries())
        keys << entry.key;
    EXPECT_EQ(keys, (QStringList{"A", "B", "C", "A", "D"}));
    EXPECT_EQ(ini.Ini_Read_Text("a"), QString("1"));
    EXPECT_EQ(ini.Ini_Read_Text("D"), QString("5"));
    EXPECT_FALSE(ini.Ini_Read_Text("E").has_value());
}

TEST(Ini_Parse, LoadingReplacesThePreviousLists)
{
    Ini_File ini;
    ini.Parse("A 1\r\n");
    QByteArray text("B 2\r\n");
    QBuffer buffer(&text);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.Ini_Load(buffer));
    EXPECT_EQ(ini.Entries().size(), 1);
    EXPECT_EQ(ini.Ini_Find("A"), nullptr);
}

struct Int_Case
{
    const char* text;
    std::optional<int> value;
};

std::ostream& operator<<(std::ostream& out, const Int_Case& c) { return out << '"' << c.text << '"'; }

class Int_Conversion : public ::testing::TestWithParam<Int_Case>
{
};

TEST_P(Int_Conversion, ConvertsTheWholeValueOrNothing)
{
    EXPECT_EQ(Ini_To_Int(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Values, Int_Conversion,
                         ::testing::Values(Int_Case{"60", 60}, Int_Case{"+5", 5}, Int_Case{"-3", -3},
                                           Int_Case{"007", 7}, Int_Case{"$FF", 255}, Int_Case{"$ff", 255},
                                           Int_Case{"$00FFFFFF", 0xFFFFFF}, Int_Case{"-$10", -16},
                                           Int_Case{"$FFFFFFFF", -1}, Int_Case{"2147483647", 2147483647},
                                           Int_Case{"-2147483648", -2147483647 - 1},
                                           Int_Case{"2147483648", std::nullopt}, Int_Case{"$100000000", std::nullopt},
                                           Int_Case{"99999999999999999999", std::nullopt},
                                           Int_Case{"6O", std::nullopt}, Int_Case{"O", std::nullopt},
                                           Int_Case{"", std::nullopt}, Int_Case{" ", std::nullopt},
                                           Int_Case{"-", std::nullopt}, Int_Case{"$", std::nullopt},
                                           Int_Case{"$G1", std::nullopt}, Int_Case{"1 2", std::nullopt},
                                           Int_Case{"0x10", std::nullopt}, Int_Case{"12.5", std::nullopt},
                                           Int_Case{"--1", std::nullopt}));

TEST(Ini_Typed_Read, IntegerAndBooleanFailuresCountAsAbsent)
{
    Ini_File ini;
    ini.Parse("Reply_Delay 6O\r\nPage_Number $3\r\nA true\r\nB FALSE\r\nC fAlSe\r\nD yes\r\nE 1\r\nF\r\n");
    EXPECT_FALSE(ini.Ini_Read_Int("Reply_Delay").has_value());
    EXPECT_EQ(ini.Ini_Read_Int("page_number"), 3);
    EXPECT_EQ(ini.Ini_Read_Bool("A"), true);
    EXPECT_EQ(ini.Ini_Read_Bool("B"), false);
    EXPECT_EQ(ini.Ini_Read_Bool("C"), false);
    EXPECT_FALSE(ini.Ini_Read_Bool("D").has_value());
    EXPECT_FALSE(ini.Ini_Read_Bool("E").has_value());
    EXPECT_FALSE(ini.Ini_Read_Bool("F").has_value());
    EXPECT_FALSE(ini.Ini_Read_Int("Missing").has_value());
}

TEST(Ini_Write, SetReplacesInPlaceWithNewSpellingOrAppends)
{
    Ini_File ini;
    ini.Parse("PORT_NAME COM1 {old}\r\nMY_KEY x\r\nPORT_NAME COM9\r\n");
    ini.Ini_Set("Port_Name", "COM4", "new");
    ini.Ini_Set("Full_Screen", true, "");
    ini.Ini_Set("Reply_Delay", 75, "r");

    ASSERT_EQ(ini.Entries().size(), 5);
    EXPECT_EQ(ini.Entries()[0].key, "Port_Name");
    EXPECT_EQ(ini.Entries()[0].value, "COM4");
    EXPECT_EQ(ini.Entries()[0].remark, "new");
    EXPECT_EQ(ini.Entries()[1].key, "MY_KEY");
    EXPECT_EQ(ini.Entries()[2].value, "COM9");  // the duplicate stays as it was
    EXPECT_EQ(ini.Entries()[3].key, "Full_Screen");
    EXPECT_EQ(ini.Entries()[3].value, "True");
    EXPECT_EQ(ini.Entries()[4].value, "75");

    ini.Ini_Set("FULL_SCREEN", false, "");
    EXPECT_EQ(ini.Entries()[3].value, "False");
    EXPECT_EQ(ini.Entries()[3].key, "FULL_SCREEN");
}

TEST(Ini_Write, StringLiteralValueIsText)
{
    Ini_File ini;
    ini.Ini_Set("Port_Name", "ttyUSB0", "");
    EXPECT_EQ(ini.Ini_Read_Text("Port_Name"), QString("ttyUSB0"));
}

TEST(Ini_Write, DeleteRemovesEveryEntryOfTheKey)
{
    Ini_File ini;
    ini.Parse("A 1\r\nB 2\r\na 3\r\n");
    ini.Ini_Delete("A");
    ASSERT_EQ(ini.Entries().size(), 1);
    EXPECT_EQ(ini.Entries().front().key, "B");
    ini.Ini_Delete("Z");
    EXPECT_EQ(ini.Entries().size(), 1);
}

TEST(Ini_Write, LinesArePaddedToTwentyNineAndEndInCrLf)
{
    Ini_File ini;
    const QString k28(28, 'K');
    const QString k29(29, 'L');
    const QString k31 = QString(29, 'M') + "XY";
    ini.Ini_Set("Port_Name", "COM1", "Port");
    ini.Ini_Set(k28, "a", "");
    ini.Ini_Set(k29, "b", "");
    ini.Ini_Set(k31, "c", "");
    ini.Ini_Set("Full_Screen", false, "");

    const QByteArray expected = "Port_Name" + QByteArray(20, ' ') + "COM1 {Port}\r\n"
                                + QByteArray(28, 'K') + " a {}\r\n"
                                + QByteArray(29, 'L') + " b {}\r\n"
                                + QByteArray(29, 'M') + " c {}\r\n"
                                + "Full_Screen" + QByteArray(18, ' ') + "False {}\r\n";
    EXPECT_EQ(ini.Serialise(), expected);
}

TEST(Ini_Write, WrittenTextReadsBackIdentically)
{
    Ini_File ini;
    ini.Ini_Set("Port_Name", "/dev/ttyUSB0", "Serial port");
    ini.Ini_Set("Reply_Delay", 60, "");
    ini.Ini_Set("Font_Color", "$00FF00", "colour");
    ini.Ini_Set("Tech_Text_Data", "Filter {new} fitted", "a{b}");
    ini.Ini_Set("Title_Text", QString::fromLatin1("Stra\xDF" "e \xC4rger"), QString::fromLatin1("\xE9t\xE9"));
    ini.Ini_Set("CFG_File_Name", "", "empty value");
    ini.Ini_Set(QString(29, 'Z'), "long key", "");

    Ini_File back;
    back.Parse(ini.Serialise());
    ASSERT_EQ(back.Entries().size(), ini.Entries().size());
    for (int i = 0; i < ini.Entries().size(); ++i) {
        SCOPED_TRACE(ini.Entries()[i].key.toStdString());
        EXPECT_EQ(back.Entries()[i].key, ini.Entries()[i].key.toUpper());
        EXPECT_EQ(back.Entries()[i].value, ini.Entries()[i].value);
    }
    EXPECT_EQ(back.Entries()[0].remark, "Serial port");
    EXPECT_EQ(back.Entries()[3].remark, "a{b}");
    EXPECT_EQ(back.Entries()[4].remark, QString::fromLatin1("\xE9t\xE9"));
    // 8-bit text, one byte a character.
    EXPECT_TRUE(ini.Serialise().contains("Stra\xDF" "e"));
}

TEST(Ini_Write, LineBreaksInsideAValueDoNotSplitTheEntry)
{
    Ini_File ini;
    ini.Ini_Set("Title_Text", "one\r\ntwo", "a\nb");
    ini.Ini_Set("Port_Name", "COM2", "");
    Ini_File back;
    back.Parse(ini.Serialise());
    ASSERT_EQ(back.Entries().size(), 2);
    EXPECT_EQ(back.Ini_Read_Text("Title_Text"), QString("one  two"));
    EXPECT_EQ(back.Ini_Read_Text("Port_Name"), QString("COM2"));
}

class Ini_Files : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Write(const QString& name, const QByteArray& text) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(Ini_Files, LoadOfAMissingFileIsFalseAndEmpty)
{
    Ini_File ini;
    ini.Parse("A 1\r\n");
    EXPECT_FALSE(ini.Ini_Load(Path("none.ini")));
    EXPECT_TRUE(ini.Entries().isEmpty());
}

TEST_F(Ini_Files, SaveReplacesTheWholeFileAndLoadReadsIt)
{
    Write("a.ini", "{header}\r\nOLD junk\r\n");
    Ini_File ini;
    ini.Ini_Open_For_Write(Path("a.ini"));
    ini.Ini_Set("Port_Name", "COM5", "");
    ASSERT_TRUE(ini.Ini_Save(Path("a.ini")));
    EXPECT_EQ(Read("a.ini"), "OLD" + QByteArray(26, ' ') + "junk { }\r\nPort_Name" + QByteArray(20, ' ') + "COM5 {}\r\n");

    Ini_File again;
    ASSERT_TRUE(again.Ini_Load(Path("a.ini")));
    EXPECT_EQ(again.Ini_Read_Text("port_name"), QString("COM5"));
}

TEST_F(Ini_Files, FailedSaveReportsFalseAndLeavesNoFile)
{
    Ini_File ini;
    ini.Ini_Set("A", "1", "");
    EXPECT_FALSE(ini.Ini_Save(Path("missing_folder/a.ini")));
    EXPECT_FALSE(QFile::exists(Path("missing_folder/a.ini")));
}

TEST_F(Ini_Files, FailedSaveKeepsTheOldFile)
{
    // A folder where the file should be: neither readable as text nor replaceable.
    ASSERT_TRUE(QDir(dir.path()).mkdir("b.ini"));
    Ini_File ini;
    EXPECT_FALSE(ini.Ini_Open_For_Write(Path("b.ini")));
    EXPECT_FALSE(Ini_Set_One(Path("b.ini"), "A", "1", ""));
    EXPECT_TRUE(QFileInfo(Path("b.ini")).isDir());
}

TEST_F(Ini_Files, SetOneKeepsEveryOtherEntry)
{
    Write("c.ini", "Port_Name COM1 {p}\r\nLanguage English {l}\r\nHand_Key 42\r\n");
    ASSERT_TRUE(Ini_Set_One(Path("c.ini"), "Language", "Deutsch", "Sprache"));
    Ini_File ini;
    ASSERT_TRUE(ini.Ini_Load(Path("c.ini")));
    ASSERT_EQ(ini.Entries().size(), 3);
    EXPECT_EQ(ini.Entries()[0].remark, "p");
    EXPECT_EQ(ini.Entries()[1].value, "Deutsch");
    EXPECT_EQ(ini.Entries()[1].remark, "Sprache");
    EXPECT_EQ(ini.Ini_Read_Int("Hand_Key"), 42);

    ASSERT_TRUE(Ini_Set_One(Path("new.ini"), "Language", "English", ""));
    EXPECT_EQ(Read("new.ini"), "Language" + QByteArray(21, ' ') + "English {}\r\n");
}

} // namespace
