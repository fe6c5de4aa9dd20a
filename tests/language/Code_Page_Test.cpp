#include "language/Quorel_Code_Page.h"

#include <gtest/gtest.h>

TEST(Code_Page, Decodes_By_Font_Charset)
{
    struct Case
    {
        int charset;
        QByteArray bytes;
        const char16_t* text;
    };
    const Case cases[] = {
        // "Газ" and "Привет" in windows-1251
        {204, QByteArray("\xC3\xE0\xE7 \xCF\xF0\xE8\xE2\xE5\xF2"), u"\u0413\u0430\u0437 \u041F\u0440\u0438\u0432\u0435\u0442"},
        // Cyrillic capital Es: the degree unit of the English table
        {204, QByteArray("\xB0\xD1"), u"\u00B0\u0421"},
        // Polish a-ogonek, l-stroke, z-dot-above in windows-1250
        {238, QByteArray("\xB9 \xB3 \xBF \xA3"), u"\u0105 \u0142 \u017C \u0141"},
        // Greek "Αέριο" in windows-1253
        {161, QByteArray("\xC1\xDD\xF1\xE9\xEF"), u"\u0391\u03AD\u03C1\u03B9\u03BF"},
        // Turkish s-cedilla and dotless i in windows-1254
        {162, QByteArray("\xFE\xFD"), u"\u015F\u0131"},
        // Lithuanian s-caron in windows-1257
        {186, QByteArray("\xF0"), u"\u0161"},
        // Hebrew alef in windows-1255, alone and before a combining point
        {177, QByteArray("\xE0"), u"\u05D0"},
        {177, QByteArray("\xE0\xE1"), u"\u05D0\u05D1"},
        // Arabic alef in windows-1256, Vietnamese a + grave in windows-1258
        {178, QByteArray("\xC7"), u"\u0627"},
        {163, QByteArray("a\xCC"), u"\u00E0"},   // composed
        // Western European: default charset and ANSI
        {1, QByteArray("Gr\xFC\xDF \x80"), u"Gr\u00FC\u00DF \u20AC"},
        {0, QByteArray("\xE9"), u"\u00E9"},
        // An unknown charset number reads as windows-1252
        {99, QByteArray("\xE9"), u"\u00E9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode_Code_Page(c.bytes, c.charset), QString::fromUtf16(c.text)) << c.charset;
}

TEST(Code_Page, Control_Characters_And_Ascii_Pass_Through)
{
    const QByteArray bytes("Title\r\nKey\ttext\n", 16);
    EXPECT_EQ(Decode_Code_Page(bytes, 204), QString::fromLatin1(bytes));
    EXPECT_TRUE(Decode_Code_Page(QByteArray(), 204).isEmpty());
}

TEST(Code_Page, Unmapped_Bytes_Become_Replacement_Characters)
{
    // 0x98 has no character in windows-1251; 0x81 none in windows-1252.
    EXPECT_EQ(Decode_Code_Page(QByteArray("a\x98" "b"), 204), QString::fromUtf16(u"a\uFFFDb"));
    EXPECT_EQ(Decode_Code_Page(QByteArray("a\x81" "b"), 1), QString::fromUtf16(u"a\uFFFDb"));
}

TEST(Code_Page, Long_Text_Decodes_Whole)
{
    // More than one conversion buffer's worth.
    const QByteArray bytes(5000, '\xE0');
    const QString text = Decode_Code_Page(bytes, 204);
    ASSERT_EQ(text.size(), 5000);
    EXPECT_EQ(text, QString(5000, QChar(0x0430)));
}

TEST(Code_Page, Double_Byte_Code_Page)
{
    // Shift-JIS "日本" and a truncated lead byte at the end.
    EXPECT_EQ(Decode_Code_Page(QByteArray("\x93\xFA\x96\x7B"), 128), QString::fromUtf16(u"\u65E5\u672C"));
    EXPECT_EQ(Decode_Code_Page(QByteArray("\x93\xFA\x96"), 128), QString::fromUtf16(u"\u65E5\uFFFD"));
}
