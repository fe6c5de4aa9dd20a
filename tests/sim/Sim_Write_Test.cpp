#include "Sim_Fixture.h"

namespace {

using Write_Test = Sim_Line_Fixture;

TEST_F(Write_Test, ShortWritesAreAcknowledgedWithThreeBytesAndRemembered)
{
    const struct
    {
        QByteArray request;
        int command;
    } writes[] = {
        {Frame({0x1D, 0x22, 0x00, 0x01}), 0x22},   // petrol
        {Frame({0x1D, 0x24, 0x00, 0x05}), 0x24},   // error clear
        {Frame({0x1D, 0x46, 0x81, 0x20}), 0x46},   // single write of F
        {Frame({0x1D, 0x23, 0x00, 0x4E}), 0x23},   // length announcement
    };
    for (const auto& w : writes) {
        SCOPED_TRACE(::testing::Message() << "command 0x" << std::hex << w.command);
        const QByteArray ack = Exchange(w.request, 8);
        EXPECT_EQ(ack, Frame({0x1D, w.command}));
    }
    EXPECT_EQ(Frame({0x1D, 0x22, 0x00, 0x01}), Bytes({0x1D, 0x22, 0x00, 0x01, 0x40}));
    EXPECT_EQ(ecu->Work_Mode_Bytes(), Bytes({0x00, 0x01}));
    EXPECT_EQ(ecu->Work_Mode(), 1);
    EXPECT_EQ(ecu->Error_Clear_Bits(), 5);
    EXPECT_EQ(ecu->Parameter_Value(0x46), 0x8120);
    EXPECT_EQ(ecu->Parameter_Value(0x47), -1);
    EXPECT_EQ(ecu->Announced_Length(), 78);
}

TEST_F(Write_Test, WorkModeShowsInTheLiveData)
{
    Exchange(Frame({0x1D, 0x22, 0x05, 0x04}), 3);   // gas, injectors 1 and 3 forced
    const QByteArray live = Exchange(Read_Request(0x31), 71);
    ASSERT_EQ(live.size(), 71);
    EXPECT_EQ(quint8(live[2]) & 0x7F, 4);
    EXPECT_EQ(quint8(live[3]), 0x05);
    // automat with the auto-calibration bit: mode 2, no forced injectors
    Exchange(Frame({0x1D, 0x22, 0x00, 0x82}), 3);
    EXPECT_EQ(ecu->Work_Mode(), 2);
    const QByteArray live2 = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(quint8(live2[2]) & 0x7F, 2);
    EXPECT_EQ(quint8(live2[3]), 0);
}

TEST_F(Write_Test, LongWriteAfterAnnouncementIsAcknowledgedAndStored)
{
    // car number AB12
    const QByteArray car = Bytes({0x1D, 0x3A, 0x41, 0x42, 0x31, 0x32, 0xFF, 0xFF, 0xFF, 0xFF, 0x39});
    ASSERT_EQ(Exchange(Frame({0x1D, 0x23, 0x00, 0x0B}), 3), Frame({0x1D, 0x23}));
    EXPECT_EQ(Exchange(car, 8), Frame({0x1D, 0x3A}));
    EXPECT_EQ(ecu->Long_Write_Payload(0x3A), Bytes({0x41, 0x42, 0x31, 0x32, 0xFF, 0xFF, 0xFF, 0xFF}));

    // a configuration list of 25 parameters: 78 bytes, with 0x1D bytes inside
    QByteArray list = Bytes({0x1D, 0x3B});
    for (int i = 0; i < 25; ++i)
        list.append(Bytes({0x41 + i, 0x1D, i}));
    list.append(char(Sum8(list, int(list.size()))));
    ASSERT_EQ(list.size(), 78);
    ASSERT_EQ(Exchange(Frame({0x1D, 0x23, 0x00, 0x4E}), 3), Frame({0x1D, 0x23}));
    EXPECT_EQ(Exchange(list, 8), Frame({0x1D, 0x3B}));
    EXPECT_EQ(ecu->Long_Write_Payload(0x3B), list.mid(2, 75));

    // the program resends an unanswered long write without a new announcement
    list[4] = 0x77;
    list[77] = char(Sum8(list, 77));
    EXPECT_EQ(Exchange(list, 8), Frame({0x1D, 0x3B}));
    EXPECT_EQ(quint8(ecu->Long_Write_Payload(0x3B)[2]), 0x77);
    // the earlier payload of another command stays
    EXPECT_EQ(ecu->Long_Write_Payload(0x3A).size(), 8);
    EXPECT_TRUE(ecu->Long_Write_Payload(0x3C).isEmpty());
}

TEST_F(Write_Test, LongWriteWithoutAnnouncementCannotBeFramedAndIsDropped)
{
    const QByteArray car = Bytes({0x1D, 0x3A, 0x41, 0x42, 0x31, 0x32, 0xFF, 0xFF, 0xFF, 0xFF, 0x39});
    EXPECT_TRUE(Exchange(car, 3).isEmpty());
    EXPECT_TRUE(ecu->Long_Write_Payload(0x3A).isEmpty());
    // the line is usable right after
    EXPECT_EQ(Exchange(Read_Request(0x21), 4).size(), 4);
}

}
