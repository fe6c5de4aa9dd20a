#include "language/Quorel_Language_State.h"
#include "language/Quorel_Text.h"
#include "settings/Quorel_Ini.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

namespace {

class Language_Fixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Reset_Language_State();
        ASSERT_TRUE(program_.isValid());
        ASSERT_TRUE(QDir(program_.path()).mkdir(QStringLiteral("Language")));
        Set_Program_Folder(program_.path());
    }
    void TearDown() override { Reset_Language_State(); }

    QString Folder() const { return program_.path() + QStringLiteral("/Language"); }

    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(Folder() + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    void Use(const QString& language)
    {
        Language().Language_Name = language;
    }

    QTemporaryDir program_;
};

} // namespace

TEST_F(Language_Fixture, Folder_Is_Program_Folder_Language)
{
    EXPECT_EQ(Language().Folder, Folder());
    Use(QStringLiteral("Deutsch"));
    EXPECT_EQ(Language().File_Path(), Folder() + QStringLiteral("/Deutsch.lng"));
}

TEST_F(Language_Fixture, English_Reads_No_File)
{
    Write(QStringLiteral("English.lng"), "Title\r\nGas Nonsense\r\nNew_Key Something\r\n");
    EXPECT_EQ(Text(QStringLiteral("Gas")), QStringLiteral("Gas"));
    EXPECT_TRUE(Text(QStringLiteral("New_Key")).isEmpty());
    EXPECT_EQ(Language().Table_Loads(), 0);
}

TEST_F(Language_Fixture, Lookup_Rules)
{
    Write(QStringLiteral("Deutsch.lng"),
          "Deutsch\r\n"
          "{ Kommentar\r\n"
          "TabSheet_General   Allgemein\r\n"
          "Error_Yes\tJa\r\n"
          "Error_No\r\n"
          "gas Gas (de)\r\n"
          "GAS Zweites\r\n"
          "Petrol\r\n"
          "PETROL Benzin\r\n"
          "Port_Name_Rem Anschluss\r\n");
    Use(QStringLiteral("Deutsch"));
    struct Case
    {
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"TabSheet_General", "Allgemein"},
        {"TABSHEET_GENERAL", "Allgemein"},   // the file's keys ignore case
        {"Error_Yes", "Ja"},
        {"Error_No", "No"},                  // empty entry: English
        {"Gas", "Gas (de)"},                 // first of the duplicates
        {"GAS", "Gas (de)"},
        {"Petrol", "Petrol"},                // first entry empty: English, not the second
        {"Error_Cancel", "Cancel"},          // not in the file
        {"Port_Name_Rem", "Anschluss"},      // only the file has it
        {"No_Such_Key", ""},
        {"tabsheet_about", ""},              // English needs the exact spelling
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(QString::fromLatin1(c.key)), QString::fromLatin1(c.text)) << c.key;
}

TEST_F(Language_Fixture, Missing_File_Falls_Back_To_English)
{
    Use(QStringLiteral("Klingon"));
    EXPECT_EQ(Text(QStringLiteral("Error_Yes")), QStringLiteral("Yes"));
    EXPECT_EQ(Text(QStringLiteral("Dim_Degree_Short")), QString::fromUtf16(u"\u00B0\u0421"));
    EXPECT_TRUE(Text(QStringLiteral("Port_Name_Rem")).isEmpty());
}

TEST_F(Language_Fixture, File_Is_Parsed_Once_While_Unchanged)
{
    Write(QStringLiteral("Deutsch.lng"), "T\nError_Yes Ja\n");
    Use(QStringLiteral("Deutsch"));
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(Text(QStringLiteral("Error_Yes")), QStringLiteral("Ja"));
    EXPECT_EQ(Language().Table_Loads(), 1);
}

TEST_F(Language_Fixture, Changed_File_Takes_Effect_At_The_Next_Lookup)
{
    const QString path = Folder() + QStringLiteral("/Deutsch.lng");
    Write(QStringLiteral("Deutsch.lng"), "T\nError_Yes Ja\n");
    Use(QStringLiteral("Deutsch"));
    ASSERT_EQ(Text(QStringLiteral("Error_Yes")), QStringLiteral("Ja"));

    // Same size, other text: only the time tells; set it explicitly so
    // the test does not depend on the file system's clock resolution.
    Write(QStringLiteral("Deutsch.lng"), "T\nError_Yes Jo\n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(Text(QStringLiteral("Error_Yes")), QStringLiteral("Jo"));

    // Other size.
    Write(QStringLiteral("Deutsch.lng"), "T\nError_Yes Jawohl\n");
    EXPECT_EQ(Text(QStringLiteral("Error_Yes")), QStringLiteral("Jawohl"));

    // Removed: English again; back: read again.
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(Text(QStringLiteral("Error_Yes")), QStringLiteral("Yes"));
    Write(QStringLiteral("Deutsch.lng"), "T\nError_Yes Ja\n");
    EXPECT_EQ(Text(QStringLiteral("Error_Yes")), QStringLiteral("Ja"));
}

TEST_F(Language_Fixture, File_Is_Decoded_By_The_Language_Charset)
{
    Write(QStringLiteral("Russian.lng"), "\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\nGas \xC3\xE0\xE7\r\n");
    Use(QStringLiteral("Russian"));
    Language().Font_Charset = 204;
    EXPECT_EQ(Text(QStringLiteral("Gas")), QString::fromUtf16(u"\u0413\u0430\u0437"));
    // A new charset re-reads the file.
    Language().Font_Charset = 1;
    EXPECT_EQ(Text(QStringLiteral("Gas")), QString::fromUtf16(u"\u00C3\u00E0\u00E7"));
}

TEST_F(Language_Fixture, Menu_Text_Is_English_While_English_Menu_Is_On)
{
    Write(QStringLiteral("Deutsch.lng"), "T\nTabSheet_General Allgemein\nPort_Name_Rem Anschluss\n");
    Use(QStringLiteral("Deutsch"));
    EXPECT_EQ(Menu_Text(QStringLiteral("TabSheet_General")), QStringLiteral("Allgemein"));
    Set_English_Menu(true);
    EXPECT_EQ(Menu_Text(QStringLiteral("TabSheet_General")), QStringLiteral("General"));
    EXPECT_TRUE(Menu_Text(QStringLiteral("Port_Name_Rem")).isEmpty());
    EXPECT_EQ(Text(QStringLiteral("TabSheet_General")), QStringLiteral("Allgemein"));
    Set_English_Menu(false);
    EXPECT_EQ(Menu_Text(QStringLiteral("TabSheet_General")), QStringLiteral("Allgemein"));
}

TEST_F(Language_Fixture, List_Languages)
{
    Write(QStringLiteral("Deutsch.lng"), "T\n");
    Write(QStringLiteral("Xx.v2.lng"), "T\n");
    Write(QStringLiteral("English.lng"), "T\n");
    Write(QStringLiteral(".hidden.lng"), "T\n");
    Write(QStringLiteral("Notes.txt"), "T\n");
    Write(QStringLiteral("Polski.LNG"), "T\n");
    List_Languages();
    const QStringList list = Language().Languages;
    ASSERT_FALSE(list.isEmpty());
    EXPECT_EQ(list.first(), QStringLiteral("English"));
    EXPECT_EQ(QSet<QString>(list.begin() + 1, list.end()),
              (QSet<QString>{"Deutsch", "Xx", "English", "Polski"}));
    EXPECT_EQ(list.size(), 5);

    // Listed as Xx, so selecting it opens Xx.lng, which is absent.
    ASSERT_TRUE(Select_Language(QStringLiteral("Xx")));
    EXPECT_EQ(Language().File_Path(), Folder() + QStringLiteral("/Xx.lng"));
    EXPECT_EQ(Text(QStringLiteral("Error_Yes")), QStringLiteral("Yes"));
}

TEST_F(Language_Fixture, List_Holds_At_Most_Twenty_Names)
{
    for (int i = 0; i < 25; ++i)
        Write(QStringLiteral("L%1.lng").arg(i, 2, 10, QLatin1Char('0')), "T\n");
    List_Languages();
    EXPECT_EQ(Language().Languages.size(), Language_State::Max_Languages);
    EXPECT_EQ(Language().Languages.first(), QStringLiteral("English"));
}

TEST_F(Language_Fixture, Without_Folder_Only_English_Is_Listed)
{
    Set_Language_Folder(program_.path() + QStringLiteral("/Missing"));
    List_Languages();
    EXPECT_EQ(Language().Languages, QStringList{QStringLiteral("English")});
}

TEST_F(Language_Fixture, Select_Language)
{
    Write(QStringLiteral("Deutsch.lng"), "T\nError_Yes Ja\n");
    List_Languages();
    std::vector<bool> calls;
    Language().Add_Listener([&](bool frame_only) { calls.push_back(frame_only); });
    int font_reads = 0;
    Language().Load_Font_Keys = [&](Language_State&) { ++font_reads; };

    Language().English_Menu = true;
    EXPECT_TRUE(Select_Language(QStringLiteral("deutsch")));
    EXPECT_EQ(Language().Language_Name, QStringLiteral("Deutsch"));
    EXPECT_FALSE(Language().English_Menu);
    EXPECT_EQ(Text(QStringLiteral("Error_Yes")), QStringLiteral("Ja"));

    // Not listed: ignored, but the texts are applied again.
    Language().English_Menu = true;
    EXPECT_FALSE(Select_Language(QStringLiteral("Francais")));
    EXPECT_EQ(Language().Language_Name, QStringLiteral("Deutsch"));
    EXPECT_TRUE(Language().English_Menu);

    Set_English_Menu(false);
    EXPECT_EQ(calls, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(font_reads, 2);
}

TEST_F(Language_Fixture, Removed_Listener_Is_Not_Called)
{
    int calls = 0;
    const int id = Language().Add_Listener([&](bool) { ++calls; });
    Set_English_Menu(true);
    Language().Remove_Listener(id);
    Set_English_Menu(false);
    EXPECT_EQ(calls, 1);
}

TEST_F(Language_Fixture, Font_Keys_Per_Language)
{
    Ini_File ini;
    ini.Parse("Deutsch_N                     Arial { }\r\nRussian_C                     204 { }\r\n");
    Language().Language_Name = QStringLiteral("Russian");
    Language().Read_Font_Keys(ini);
    EXPECT_EQ(Language().Font_Name, QStringLiteral("Tahoma"));
    EXPECT_EQ(Language().Font_Charset, 204);
    Language().Language_Name = QStringLiteral("Deutsch");
    Language().Read_Font_Keys(ini);
    EXPECT_EQ(Language().Font_Name, QStringLiteral("Arial"));
    EXPECT_EQ(Language().Font_Charset, 1);

    Language().Font_Charset = 238;
    Ini_File out;
    Language().Write_Font_Keys(out);
    EXPECT_EQ(out.Ini_Read_Text(QStringLiteral("Deutsch_N")), QStringLiteral("Arial"));
    EXPECT_EQ(out.Ini_Read_Int(QStringLiteral("Deutsch_C")), 238);
}

TEST_F(Language_Fixture, Font_Remarks_Follow_The_Language_Unless_English_Menu)
{
    Write(QStringLiteral("Deutsch.lng"), "T\nLanguage_FontName_Rem Schriftart\n");
    Use(QStringLiteral("Deutsch"));
    Ini_File out;
    Language().Write_Font_Keys(out);
    EXPECT_EQ(out.Ini_Find(QStringLiteral("Deutsch_N"))->remark, QStringLiteral("Schriftart"));
    Language().English_Menu = true;
    Language().Write_Font_Keys(out);
    EXPECT_TRUE(out.Ini_Find(QStringLiteral("Deutsch_N"))->remark.trimmed().isEmpty());
}

TEST(Wrap_Hint, Breaks_At_The_First_Space_After_The_Target_Length)
{
    struct Case
    {
        const char* in;
        int width;
        const char* out;
    };
    const Case cases[] = {
        {"Averaging petrol and gas pulse length (On/Off)", 30, "Averaging petrol and gas \npulse length (On/Off)"},
        {"Gas injector 1 (On/Off)", 30, "Gas injector 1 (On/Off)"},
        {"Automatic search com port connection", 30, "Automatic search com \nport connection"},
        {"", 30, ""},
        {"NoSpacesAtAllInThisVeryLongHintText", 10, "NoSpacesAtAllInThisVeryLongHintText"},
        {"aaa bbb ccc ddd", 4, "aaa \nbbb \nccc \nddd"},
        {"a b", 1, "a \nb"},
        {"Averaging petrol and gas pulse length (On/Off)", 0, "Averaging petrol and gas pulse length (On/Off)"},
        {"Averaging petrol and gas pulse length (On/Off)", -5, "Averaging petrol and gas pulse length (On/Off)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Wrap_Hint(QString::fromLatin1(c.in), c.width), QString::fromLatin1(c.out)) << c.in << " " << c.width;
}

TEST(Wrap_Hint, Uses_The_Hint_Length_Of_The_State)
{
    Reset_Language_State();
    EXPECT_EQ(Wrap_Hint(QStringLiteral("Automatic search com port connection")),
              QStringLiteral("Automatic search com \nport connection"));
    Language().Hint_Length = 200;
    EXPECT_EQ(Wrap_Hint(QStringLiteral("Automatic search com port connection")),
              QStringLiteral("Automatic search com port connection"));
    Reset_Language_State();
}
