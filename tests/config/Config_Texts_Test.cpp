#include "config/Quorel_Config_Texts.h"

#include "Test_Print.h"

#include <gtest/gtest.h>

namespace {

const QString CR_LF = QString(QChar(29)) + QChar(26);

TEST(Comments, LineBreaksStayOnOneLine)
{
    EXPECT_EQ(Comments_Stored("a\nb"), "a" + CR_LF + "b");
    EXPECT_EQ(Comments_Stored("a\r\nb"), "a" + CR_LF + "b");
    EXPECT_EQ(Comments_Stored("a\rb"), "a" + QString(QChar(29)) + "b");
    EXPECT_EQ(Comments_Stored("\n\n"), CR_LF + CR_LF);
    EXPECT_EQ(Comments_Stored("plain"), "plain");
    EXPECT_FALSE(Comments_Stored("x\ny\r\nz").contains('\n'));
    EXPECT_FALSE(Comments_Stored("x\ny\r\nz").contains('\r'));
}

TEST(Comments, BackToTheEditor)
{
    EXPECT_EQ(Comments_Shown("a" + CR_LF + "b"), "a\nb");
    EXPECT_EQ(Comments_Shown("a" + QString(QChar(26)) + "b"), "a\nb");
    EXPECT_EQ(Comments_Shown("a" + QString(QChar(29)) + "b"), "a\rb");
    for (const char* text : {"a\nb", "", "one\n\ntwo\n", "ä ö ü\nß"})
        EXPECT_EQ(Comments_Shown(Comments_Stored(QString::fromUtf8(text))), QString::fromUtf8(text)) << text;
}

TEST(Hours, TwoDecimals)
{
    EXPECT_EQ(Hours_Text(0), "0.00");
    EXPECT_EQ(Hours_Text(630), "10.50");
    EXPECT_EQ(Hours_Text(1), "0.02");
    EXPECT_EQ(Hours_Text(16777215), "279620.25");
}

}   // namespace
