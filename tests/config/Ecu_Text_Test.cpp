#include "config/Quorel_Config_Codec.h"

#include <gtest/gtest.h>

namespace {

TEST(Ecu_Text, OnlyCharactersThatSurviveTheBlockAreAccepted)
{
    struct Case { QString text; bool ok; };
    const Case cases[] = {
        {"AB 123-X", true},
        {QString::fromUtf8("MÜ-ÄÖ"), true},      // Latin-1 letters
        {QString(QChar(0xFE)), true},
        {QString(QChar(0xFF)), false},             // the padding byte
        {QString("A") + QChar(0) + "B", false},    // would end the text
        {QString::fromUtf8("Ж12"), false},         // not in the code page
        {QString::fromUtf8("€"), false},
        {"", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ECU_Text_Acceptable(c.text), c.ok) << c.text.toStdString();
}

TEST(Ecu_Text, AcceptedCarNumbersTravelByteForByte)
{
    const QString car = QString::fromUtf8("MÜ 1");
    ASSERT_TRUE(ECU_Text_Acceptable(car));
    QByteArray frame = "\x1D\x34" + Car_Number_Payload(car) + QByteArray(1, '\0');
    EXPECT_EQ(quint8(frame[3]), 0xDC);
    EXPECT_EQ(Decode_Car_Number(reinterpret_cast<const quint8*>(frame.constData()), int(frame.size())), car);
}

}   // namespace
