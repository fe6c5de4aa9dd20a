#include "language/Quorel_Language_File.h"

#include <gtest/gtest.h>

namespace {

std::optional<QString> Find(const Language_Table& t, const char* key) { return t.Find(QString::fromLatin1(key)); }

} // namespace

TEST(Language_File, Example_File)
{
    const Language_Table t = Parse_Language_Text(QStringLiteral(
        "Deutsch\r\n{ comment line\r\nTabSheet_General   Allgemein\r\nError_Yes\tJa\r\nError_No\r\n"));
    ASSERT_EQ(t.Keys, (QStringList{"TABSHEET_GENERAL", "ERROR_YES", "ERROR_NO"}));
    EXPECT_EQ(t.Values, (QStringList{"Allgemein", "Ja", ""}));
    EXPECT_EQ(Find(t, "tabsheet_general"), QStringLiteral("Allgemein"));
    EXPECT_EQ(Find(t, "Error_No"), QString());
    EXPECT_FALSE(Find(t, "Error_Cancel").has_value());
}

TEST(Language_File, Line_Rules)
{
    struct Case
    {
        const char* line;
        const char* key;     // nullptr: no entry
        const char* value;
    };
    const Case cases[] = {
        {"", nullptr, nullptr},
        {"   \t ", nullptr, nullptr},
        {"{Gas Benzin", nullptr, nullptr},
        {"  {Gas Benzin", nullptr, nullptr},
        {"Gas Gaz", "GAS", "Gaz"},
        {"  \t Gas   Gaz  ", "GAS", "Gaz"},
        {"Gas\tGaz mit  Luft", "GAS", "Gaz mit  Luft"},
        {"Gas {Gaz}", "GAS", "{Gaz}"},                // taken literally
        {"Gas \\n\"x\"", "GAS", "\\n\"x\""},
        {"Error_No", "ERROR_NO", ""},
        {"Error_No   ", "ERROR_NO", ""},
        {"\x01\x1F" "Gas Gaz", "GAS", "Gaz"},         // control characters are blanks
        {"Dim_Bar_Long bar\r", "DIM_BAR_LONG", "bar"},
    };
    for (const Case& c : cases) {
        const Language_Table t = Parse_Language_Text(QStringLiteral("Title\n") + QString::fromLatin1(c.line));
        if (!c.key) {
            EXPECT_TRUE(t.Empty()) << c.line;
            continue;
        }
        ASSERT_EQ(t.Keys.size(), 1) << c.line;
        EXPECT_EQ(t.Keys[0], QString::fromLatin1(c.key)) << c.line;
        EXPECT_EQ(t.Values[0], QString::fromLatin1(c.value)) << c.line;
    }
}

TEST(Language_File, First_Line_Is_Never_An_Entry)
{
    EXPECT_TRUE(Parse_Language_Text(QStringLiteral("Gas Gaz")).Empty());
    EXPECT_TRUE(Parse_Language_Text(QStringLiteral("Gas Gaz\r\n")).Empty());
    EXPECT_TRUE(Parse_Language_Text(QString()).Empty());
    const Language_Table t = Parse_Language_Text(QStringLiteral("Gas Gaz\nPetrol Benzin"));
    EXPECT_FALSE(Find(t, "Gas").has_value());
    EXPECT_EQ(Find(t, "Petrol"), QStringLiteral("Benzin"));
}

TEST(Language_File, First_Of_Duplicate_Keys_Wins_In_Any_Case)
{
    const Language_Table t = Parse_Language_Text(QStringLiteral("T\ngas\nGAS Gaz\nGas Gaz2\n"));
    ASSERT_EQ(t.Keys.size(), 3);
    EXPECT_EQ(Find(t, "Gas"), QString());     // the first, empty, entry
    EXPECT_EQ(Find(t, "GAS"), QString());
}

TEST(Language_File, Only_Ascii_Letters_Are_Upper_Cased)
{
    EXPECT_EQ(Upper_Ascii(QString::fromUtf16(u"abz_\u00E9\u0431-9")), QString::fromUtf16(u"ABZ_\u00E9\u0431-9"));
    const Language_Table t = Parse_Language_Text(QString::fromUtf16(u"T\n\u00E9l\u00E9ment x\n"));
    EXPECT_EQ(t.Keys[0], QString::fromUtf16(u"\u00E9L\u00E9MENT"));
}

TEST(Language_File, Decodes_By_Charset_Before_Parsing)
{
    const QByteArray bytes("\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\nGas \xC3\xE0\xE7\r\n");
    const Language_Table t = Parse_Language_File(bytes, 204);
    EXPECT_EQ(Find(t, "Gas"), QString::fromUtf16(u"\u0413\u0430\u0437"));
}
