#include "Sim_Fixture.h"

#include <algorithm>
#include <vector>

namespace {

using Service_Test = Sim_Line_Fixture;

int Word_At(const QByteArray& live, int at) { return quint8(live[at]) | quint8(live[at + 1]) << 8; }

// The test lasts the pump time stored with 'g' (second byte, 0.1 s).
class Pump_Test_Length : public Sim_Line_Fixture, public ::testing::WithParamInterface<int>
{};

TEST_P(Pump_Test_Length, RunsForThePumpTimeCountsDownAndPasses)
{
    const int tenths = GetParam();
    if (tenths != 95) {   // 95 is the factory value
        Sim_Ecu_Store s = ecu->Store();
        s.Parameters[quint8('g')] = quint16(0x0100 | tenths);
        ecu->Set_Store(s);
    }
    const int length = qMax(1, tenths);
    QByteArray live = Exchange(Read_Request(0x31), 71);
    ASSERT_EQ(live.size(), 71);
    EXPECT_EQ(Word_At(live, 4) & 0x0700, 0);

    Exchange(Frame({0x1D, 0x24, 0x00, 0x08}), 3);
    const qint64 started = clock.Now_Ms();   // the command is taken as its last byte arrives
    live = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(Word_At(live, 4) & 0x0780, 0x0180);   // pump on, test running
    const int remaining = quint8(live[63]);
    EXPECT_GT(remaining, length - 10);
    EXPECT_LE(remaining, length);
    EXPECT_GT(Word_At(live, 68), 0);                // start pressure code

    if (length > 5) {
        clock.Advance_To(started + 100 * length - 300);   // the answer comes within about 100 ms
        live = Exchange(Read_Request(0x31), 71);
        EXPECT_EQ(Word_At(live, 4) & 0x0100, 0x0100) << "still running shortly before the pump time";
    }
    clock.Advance_To(qMax(clock.Now_Ms(), started + 100 * length));
    live = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(Word_At(live, 4) & 0x0780, 0x0600);   // finished, passed, pump off

    clock.Advance(Sim_Engine::Pump_Result_Ms);
    live = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(Word_At(live, 4) & 0x0700, 0);
}

INSTANTIATE_TEST_SUITE_P(Pump_Times, Pump_Test_Length, ::testing::Values(95, 30, 100, 0));

TEST_F(Service_Test, ErrorMemoryIsNotedOnceAndClearedByTheServiceCommand)
{
    QByteArray live = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(Word_At(live, 6), 0);
    clock.Advance(Sim_Engine::Short_Circuit_At_Ms);
    live = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(Word_At(live, 6), 0x0008);

    Exchange(Frame({0x1D, 0x24, 0x00, 0x01}), 3);   // injection detection only: the error stays
    live = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(Word_At(live, 6), 0x0008);

    Exchange(Frame({0x1D, 0x24, 0x00, 0x04}), 3);
    live = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(Word_At(live, 6), 0);
    clock.Advance(60'000);
    live = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(Word_At(live, 6), 0);
}

TEST_F(Service_Test, ClockChangeTogglesTheReportedClock)
{
    EXPECT_EQ(quint8(Exchange(Read_Request(0x31), 71)[2]) & 0x80, 0);   // 64 MHz
    Exchange(Frame({0x1D, 0x24, 0x00, 0x10}), 3);
    const QByteArray live = Exchange(Read_Request(0x31), 71);
    EXPECT_EQ(quint8(live[2]) & 0x80, 0x80);
    EXPECT_EQ(Word_At(live, 4) & 0x0008, 0x0008);   // data saved
    clock.Advance(Sim_Engine::Data_Saved_Ms);
    EXPECT_EQ(Word_At(Exchange(Read_Request(0x31), 71), 4) & 0x0008, 0);
    Exchange(Frame({0x1D, 0x24, 0x00, 0x10}), 3);
    EXPECT_EQ(quint8(Exchange(Read_Request(0x31), 71)[2]) & 0x80, 0);
}

TEST_F(Service_Test, GasUseLowersTheLevelAndPressureDropsComeAndGo)
{
    const int full = Word_At(Exchange(Read_Request(0x31), 71), 56) & 0x3FF;
    Exchange(Frame({0x1D, 0x22, 0x00, 0x04}), 3);   // gas
    std::vector<int> drops;
    for (int s = 0; s < 90; ++s) {
        clock.Advance(1000);
        drops.push_back(Word_At(Exchange(Read_Request(0x31), 71), 4) & 0x0020 ? 1 : 0);
    }
    const int level = Word_At(Exchange(Read_Request(0x31), 71), 56) & 0x3FF;
    EXPECT_LT(level, full);
    int rises = 0;
    for (size_t i = 1; i < drops.size(); ++i)
        rises += drops[i] && !drops[i - 1];
    EXPECT_EQ(rises, 2);   // once in each 45 s
    EXPECT_EQ(drops.back(), 0);
}

TEST_F(Service_Test, OnGasTheEcuAsksForIdleThenReportsItsDataSaved)
{
    Exchange(Frame({0x1D, 0x22, 0x00, 0x04}), 3);   // gas
    std::vector<int> words;
    for (qint64 t = 0; t < Sim_Engine::Learn_Period_Ms; t += 500) {
        clock.Advance(500);
        words.push_back(Word_At(Exchange(Read_Request(0x31), 71), 4) & 0x000C);
    }
    // Collapse repeats: the sequence of states over one period.
    std::vector<int> states{0};
    for (int w : words)
        if (w != states.back())
            states.push_back(w);
    EXPECT_EQ(states, (std::vector<int>{0, 0x0004, 0x0008, 0}));
    // Each poll also takes its exchange time, so a sample is a little over 0.5 s.
    const auto hold = std::count(words.begin(), words.end(), 0x0004);
    EXPECT_GE(hold * 500, Sim_Engine::Hold_Idle_Ms - 2000);
    EXPECT_LE(hold * 500, Sim_Engine::Hold_Idle_Ms);
}

}   // namespace
