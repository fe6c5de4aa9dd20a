#include "Frame_Test_Support.h"

#include <gtest/gtest.h>

namespace {

TEST(Frame_Exchange_Test, ChecksumIsTheByteSum)
{
    const quint8 frame[] = {0x1D, 0x31, 0x31, 0x31};
    EXPECT_EQ(Frame_Exchange::Checksum(frame, 4), 0xB0);
    const quint8 wraps[] = {0xFF, 0xFF, 0x03};
    EXPECT_EQ(Frame_Exchange::Checksum(wraps, 3), 0x01);
}

TEST(Frame_Exchange_Test, FinishedRequestGoesOutAfterTheReplyDelay)
{
    for (int delay : {60, 200}) {
        Frame_Rig rig;
        rig.reply_delay = delay;
        rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 10);
        EXPECT_TRUE(rig.frames.Tx_Pending);
        EXPECT_EQ(rig.sequencer_stops, 1);
        rig.clock.Advance(delay - 1);
        EXPECT_TRUE(rig.port.Writes().empty()) << "delay " << delay;
        rig.clock.Advance(1);
        ASSERT_EQ(rig.port.Writes().size(), 1u) << "delay " << delay;
        EXPECT_EQ(rig.port.Writes()[0].time_ms, delay);
        EXPECT_EQ(rig.port.Writes()[0].bytes, Bytes({0x1D, 0x31, 0x31, 0x31, 0xB0}));
        EXPECT_FALSE(rig.frames.Tx_Pending);
        EXPECT_EQ(rig.frames.Protokol(), Frame_Exchange::Protokol_Colour::Blue);
    }
}

TEST(Frame_Exchange_Test, AcceptedAnswerRunsTheSequencerAndPaintsLime)
{
    Frame_Rig rig;
    const QByteArray answer = With_Checksum(Bytes({0x1D, 0x33, 1, 2, 3, 4, 5, 6, 7, 8}));
    rig.peer.on_byte = [&](Scripted_Peer& p) {
        if (p.received.size() == 5)
            p.line.Send_To_Host(answer);
    };
    rig.Prepare(Bytes({0x1D, 0x33, 0x33, 0x33}), 11);
    rig.clock.Advance(200);
    EXPECT_EQ(rig.sequencer_runs, 1);
    EXPECT_EQ(rig.quality_answers, 1);
    EXPECT_EQ(rig.frames.Protokol(), Frame_Exchange::Protokol_Colour::Lime);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(rig.frames.Rx_Frame.data()), 11), answer);
    EXPECT_EQ(rig.port.Writes().size(), 1u);
}

// Every kind of bad answer is dropped and the same request goes out again
// 500 ms (plus the request's own wire time) after the answer was read.
struct Bad_Answer
{
    const char* what;
    QByteArray answer;
};

class Frame_Bad_Answer_Test : public ::testing::TestWithParam<Bad_Answer>
{
};

TEST_P(Frame_Bad_Answer_Test, IsDroppedAndTheRequestRepeated)
{
    const Bad_Answer& c = GetParam();
    Frame_Rig rig;
    qint64 answer_done = -1;
    int answers_sent = 0;
    rig.peer.on_byte = [&](Scripted_Peer& p) {
        if (p.received.size() == 5 && answers_sent++ == 0)
            p.line.Send_To_Host(c.answer);
    };
    int hook_runs = 0;
    rig.frames.Receive_Hooks.push_back([&]() {
        ++hook_runs;
        answer_done = rig.clock.Now_Ms();
    });
    rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 6);
    rig.clock.Advance(2000);
    EXPECT_EQ(rig.sequencer_runs, 0) << c.what;
    EXPECT_EQ(hook_runs, 1) << "receive hooks run for rejected answers too: " << c.what;
    ASSERT_GE(rig.port.Writes().size(), 2u) << c.what;
    const auto& second = rig.port.Writes()[1];
    EXPECT_EQ(second.bytes, rig.port.Writes()[0].bytes) << c.what;
    EXPECT_EQ(second.time_ms - answer_done, 500 + Serial_Port::Wire_Time_Ms(5)) << c.what;
    EXPECT_EQ(rig.frames.Protokol(), Frame_Exchange::Protokol_Colour::Blue) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Frame_Bad_Answer_Test,
    ::testing::Values(Bad_Answer{"checksum off by one", Bytes({0x1D, 0x31, 1, 2, 3, 0x55})},
                      Bad_Answer{"wrong command echo", With_Checksum(Bytes({0x1D, 0x32, 1, 2, 3}))},
                      Bad_Answer{"wrong class", With_Checksum(Bytes({0xFD, 0x31, 1, 2, 3}))},
                      Bad_Answer{"short answer", With_Checksum(Bytes({0x1D, 0x31, 1}))}));

TEST(Frame_Exchange_Test, ShortAnswerEndsAfterTheInterByteGap)
{
    Frame_Rig rig;
    qint64 last_byte = -1, read_done = -1;
    rig.peer.on_byte = [&](Scripted_Peer& p) {
        if (p.received.size() == 5)
            p.line.Send_To_Host(Bytes({0x1D, 0x31, 0x00}));
    };
    rig.port.On_Rx_Char = [&](int n) {
        last_byte = rig.clock.Now_Ms();
        rig.frames.ComPortRxChar(n);
    };
    rig.frames.Receive_Hooks.push_back([&]() { read_done = rig.clock.Now_Ms(); });
    rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 10);
    rig.clock.Advance(1000);
    // the first byte raises the event; the last of three arrives ~2 ms later
    EXPECT_EQ(rig.frames.Rx_Length, 3);
    EXPECT_NEAR(double(read_done - last_byte), 302.0, 2.0);
}

TEST(Frame_Exchange_Test, UnansweredRequestIsRepeatedUntilTheSupervisorStepsIn)
{
    Frame_Rig rig;
    rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 10);
    rig.clock.Advance(60 + 5 * 506);
    const auto t = rig.Write_Times();
    ASSERT_EQ(t.size(), 6u);
    for (size_t i = 1; i < t.size(); ++i)
        EXPECT_EQ(t[i] - t[i - 1], 506);
    for (const auto& w : rig.port.Writes())
        EXPECT_EQ(w.bytes, Bytes({0x1D, 0x31, 0x31, 0x31, 0xB0}));
}

TEST(Frame_Exchange_Test, LongWriteIsAcknowledgedWhenTheAckComesAfterTheLastByte)
{
    // 735 bytes take 766 ms on the wire: the 500 ms limit must count from the
    // last byte, or the acknowledgement could never be waited for.
    Frame_Rig rig;
    QByteArray body = Bytes({0x1D, 0x3D});
    body.append(QByteArray(732, char(0x11)));
    rig.peer.on_byte = [&](Scripted_Peer& p) {
        if (p.received.size() == 735)
            p.clock.Call_After(20, [&]() { p.line.Send_To_Host(With_Checksum(Bytes({0x1D, 0x3D}))); });
    };
    rig.Prepare(body, 3);
    rig.clock.Advance(60 + 766 + 100);
    EXPECT_EQ(rig.port.Writes().size(), 1u);
    EXPECT_EQ(rig.sequencer_runs, 1);
    EXPECT_TRUE(rig.step_backs.empty());
}

struct Overdue_Case
{
    quint8 frame_class;
    quint8 command;
    int step_back;        // 0: none
    bool resend_same;
    bool loader;
};

class Frame_Overdue_Test : public ::testing::TestWithParam<Overdue_Case>
{
};

TEST_P(Frame_Overdue_Test, FollowsTheResendTable)
{
    const Overdue_Case& c = GetParam();
    Frame_Rig rig;
    rig.Prepare(Bytes({c.frame_class, c.command, 0, 0}), 3);
    rig.clock.Advance(60 + 506);
    EXPECT_EQ(rig.port.Writes().size(), c.resend_same ? 2u : 1u);
    if (c.step_back)
        EXPECT_EQ(rig.step_backs, std::vector<int>{c.step_back});
    else
        EXPECT_TRUE(rig.step_backs.empty());
    if (c.loader)
        EXPECT_EQ(rig.loader_overdue, std::vector<quint8>{c.command});
    else
        EXPECT_TRUE(rig.loader_overdue.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Frame_Overdue_Test,
    ::testing::Values(Overdue_Case{0x1D, 0x23, 1, false, false}, Overdue_Case{0x1D, 0x38, 1, false, false},
                      Overdue_Case{0x1D, 0x3D, 1, false, false}, Overdue_Case{0x1D, 0x41, 2, false, false},
                      Overdue_Case{0x1D, 0x75, 2, false, false}, Overdue_Case{0x1D, 0x31, 0, true, false},
                      Overdue_Case{0x1D, 0x76, 0, true, false}, Overdue_Case{0x1D, 0x22, 0, true, false},
                      Overdue_Case{0xFD, 0x83, 0, false, true}, Overdue_Case{0xFD, 0x86, 0, false, true},
                      Overdue_Case{0xFD, 0x84, 0, false, false}, Overdue_Case{0x55, 0x31, 0, false, false}));

TEST(Frame_Exchange_Test, UnansweredIdentificationIsRebuiltAtEveryTick)
{
    Frame_Rig rig;
    rig.Prepare(Bytes({0x1D, 0x21, 0x21, 0x21}), 4);
    rig.clock.Advance(60);
    ASSERT_EQ(rig.port.Writes().size(), 1u);
    EXPECT_EQ(rig.identification_builds, 1) << "the first tick builds it afresh too (the port search counts tries)";
    rig.clock.Advance(506);
    EXPECT_EQ(rig.identification_builds, 2);
    ASSERT_EQ(rig.port.Writes().size(), 2u);
    EXPECT_EQ(rig.port.Writes()[1].bytes, Bytes({0x1D, 0x21, 0x21, 0x21, 0x80}));
}

TEST(Frame_Exchange_Test, ReceiveWhileLinkClosedReadsNothing)
{
    Frame_Rig rig;
    rig.link_open = false;
    int hooks = 0;
    rig.frames.Receive_Hooks.push_back([&]() { ++hooks; });
    rig.port.Send_To_Host(Bytes({1, 2, 3}));
    rig.clock.Advance(50);
    EXPECT_EQ(rig.port.Bytes_Waiting(), 3);
    EXPECT_EQ(hooks, 0);
    EXPECT_EQ(rig.frames.Rx_Length, 0);
}

TEST(Frame_Exchange_Test, ClosedLinkReopensThePresentPortInsteadOfWriting)
{
    Frame_Rig rig;
    rig.link_open = false;
    const int opens = rig.port.Open_Count();
    rig.port.Set_Port_Error();
    rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 10);
    rig.clock.Advance(60);
    EXPECT_TRUE(rig.port.Writes().empty());
    EXPECT_EQ(rig.port.Open_Count(), opens + 1);
    EXPECT_FALSE(rig.port.Port_Error());

    rig.present = false;
    rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 10);
    rig.clock.Advance(60);
    EXPECT_EQ(rig.port.Open_Count(), opens + 1) << "an absent port is not reopened";
}

TEST(Frame_Exchange_Test, WriteOnVanishedPortIsAPortLoss)
{
    Frame_Rig rig;
    rig.port.Set_Present(false);
    rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 10);
    rig.clock.Advance(60);
    EXPECT_TRUE(rig.port.Port_Error());
    EXPECT_EQ(rig.ports_lost, 1);
}

TEST(Frame_Exchange_Test, PortErrorTickReopensOnlyWithoutTheConnectTimer)
{
    Frame_Rig rig;
    rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 10);
    rig.clock.Advance(60);
    rig.port.Set_Port_Error();
    rig.timer_connect.Set_Enabled(true);
    const int opens = rig.port.Open_Count();
    rig.clock.Advance(506);
    EXPECT_EQ(rig.port.Open_Count(), opens) << "Timer_Connect on: the supervisor decides";
    rig.timer_connect.Set_Enabled(false);
    rig.timer_sending.Set_Enabled(true);
    rig.clock.Advance(506);
    EXPECT_EQ(rig.port.Open_Count(), opens + 1);
    EXPECT_FALSE(rig.port.Port_Error());
}

TEST(Frame_Exchange_Test, DialogueContinuesWithTheNextRequestAfterAnAnswer)
{
    Frame_Rig rig;
    rig.peer.on_byte = [&](Scripted_Peer& p) {
        if (p.received.size() % 5 == 0)
            p.line.Send_To_Host(With_Checksum(Bytes({0x1D, 0x31, 9})));
    };
    rig.frames.hooks.Sequencer_Run = [&]() {
        ++rig.sequencer_runs;
        rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 4);
    };
    rig.Prepare(Bytes({0x1D, 0x31, 0x31, 0x31}), 4);
    rig.clock.Advance(1000);
    // each exchange: 60 ms delay + 5 bytes out + 4 bytes back (about 70 ms)
    EXPECT_GE(rig.sequencer_runs, 13);
    EXPECT_LE(rig.sequencer_runs, 15);
    const auto t = rig.Write_Times();
    for (size_t i = 1; i < t.size(); ++i)
        EXPECT_LT(t[i] - t[i - 1], 100) << "no resend in a working dialogue";
}

} // namespace
