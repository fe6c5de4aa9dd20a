#include "Sim_Fixture.h"

namespace {

struct Fault_Case
{
    const char* name;
    std::function<void(Sim_Faults&)> set;
    std::function<void(const QByteArray&)> check;   // the answer to the identification request
};

class Fault_Test : public Sim_Line_Fixture, public ::testing::WithParamInterface<Fault_Case>
{
};

TEST_P(Fault_Test, FaultShowsAndGoesAwayWhenSwitchedOff)
{
    Set_Faults(GetParam().set);
    const QByteArray answer = Exchange(Read_Request(0x21), 4);
    GetParam().check(answer);
    EXPECT_TRUE(Read(1).isEmpty());
    ecu->Set_Faults({});
    EXPECT_EQ(Exchange(Read_Request(0x21), 4), Frame({0x1D, 0x21, 68}));
}

const QByteArray good = Frame({0x1D, 0x21, 68});

INSTANTIATE_TEST_SUITE_P(
    Faults, Fault_Test,
    ::testing::Values(
        Fault_Case{"Silence", [](Sim_Faults& f) { f.Silence = true; },
                   [](const QByteArray& a) { EXPECT_TRUE(a.isEmpty()); }},
        Fault_Case{"BadChecksum", [](Sim_Faults& f) { f.Bad_Checksum = true; },
                   [](const QByteArray& a) {
                       ASSERT_EQ(a.size(), 4);
                       EXPECT_EQ(a.left(3), good.left(3));
                       EXPECT_EQ(quint8(a[3]), quint8(quint8(good[3]) + 1));
                   }},
        Fault_Case{"WrongEcho", [](Sim_Faults& f) { f.Wrong_Echo = true; },
                   [](const QByteArray& a) {
                       ASSERT_EQ(a.size(), 4);
                       EXPECT_EQ(quint8(a[0]), 0x1D);
                       EXPECT_NE(quint8(a[1]), 0x21);
                       EXPECT_TRUE(Checksum_Ok(a)) << "only the echo is wrong";
                   }},
        Fault_Case{"ShortAnswer", [](Sim_Faults& f) { f.Short_Answer = 1; },
                   [](const QByteArray& a) { EXPECT_EQ(a, good.left(3)); }},
        Fault_Case{"DroppedBytes", [](Sim_Faults& f) { f.Drop_Every = 2; },
                   [](const QByteArray& a) { EXPECT_EQ(a, Bytes({0x1D, 68})); }}),
    [](const ::testing::TestParamInfo<Fault_Case>& info) { return std::string(info.param.name); });

using Fault_Line_Test = Sim_Line_Fixture;

TEST_F(Fault_Line_Test, AnswerEveryNthRequest)
{
    Set_Faults([](Sim_Faults& f) { f.Answer_Every = 3; });
    EXPECT_TRUE(Exchange(Read_Request(0x21), 4).isEmpty());
    EXPECT_TRUE(Exchange(Read_Request(0x21), 4).isEmpty());
    EXPECT_EQ(Exchange(Read_Request(0x21), 4).size(), 4);
    EXPECT_TRUE(Exchange(Read_Request(0x21), 4).isEmpty());
    // requests that go unanswered still reach the ECU
    EXPECT_EQ(ecu->Frames_Accepted(), 4);
}

TEST_F(Fault_Line_Test, SilencedWritesStillTakeEffect)
{
    Set_Faults([](Sim_Faults& f) { f.Silence = true; });
    EXPECT_TRUE(Exchange(Frame({0x1D, 0x22, 0x00, 0x04}), 3).isEmpty());
    EXPECT_EQ(ecu->Work_Mode(), 4);
}

TEST_F(Fault_Line_Test, VanishingPortTakesTheLineAwayAndBringsItBack)
{
    ASSERT_TRUE(port.Present());
    Set_Faults([](Sim_Faults& f) { f.Port_Vanished = true; });
    EXPECT_FALSE(port.Present());
    Write(Read_Request(0x21));
    EXPECT_TRUE(port.Port_Error());
    clock.Advance(500);
    EXPECT_EQ(ecu->Frames_Accepted(), 0);

    Set_Faults([](Sim_Faults& f) { f.Port_Vanished = false; });
    EXPECT_TRUE(port.Present());
    port.Port_Close();
    port.Clear_Port_Error();
    port.Port_Open();
    ASSERT_FALSE(port.Port_Error());
    EXPECT_EQ(Exchange(Read_Request(0x21), 4), good);
}

TEST_F(Fault_Line_Test, AnswerPendingWhenThePortVanishesIsLost)
{
    Sim_Ecu_Config config;
    config.Latency_Ms = 50;
    Join(config);
    int presence_calls = 0;
    auto forward = ecu->On_Presence_Changed;
    ecu->On_Presence_Changed = [&](bool present) {
        ++presence_calls;
        forward(present);
    };
    Write(Read_Request(0x21));
    clock.Advance(20);   // request is in, answer not yet out
    EXPECT_EQ(ecu->Frames_Accepted(), 1);
    Set_Faults([](Sim_Faults& f) { f.Port_Vanished = true; });
    Set_Faults([](Sim_Faults& f) { f.Port_Vanished = true; });   // no change, no call
    Set_Faults([](Sim_Faults& f) { f.Port_Vanished = false; });
    clock.Advance(200);
    EXPECT_EQ(ecu->Answers_Sent(), 0);
    EXPECT_EQ(presence_calls, 2);
}

}
