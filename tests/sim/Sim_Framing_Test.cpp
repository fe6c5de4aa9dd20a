#include "Sim_Fixture.h"

#include <vector>

namespace {

// Bytes go straight into the simulator; answers are recorded with their time.
struct Direct_Fixture : ::testing::Test
{
    struct Answer
    {
        qint64 time_ms;
        QByteArray bytes;
    };
    Virtual_Clock clock;
    Ecu_Simulator ecu{clock};
    std::vector<Answer> answers;

    void SetUp() override
    {
        ecu.Set_Output([this](const QByteArray& bytes) { answers.push_back({clock.Now_Ms(), bytes}); });
    }
    void Feed(const QByteArray& bytes, int gap_ms = 1)
    {
        for (char c : bytes) {
            ecu.Byte_From_Host(quint8(c));
            clock.Advance(gap_ms);
        }
    }
};

using Framing_Test = Direct_Fixture;

TEST_F(Framing_Test, BadChecksumRequestIsIgnored)
{
    Feed(Bytes({0x1D, 0x21, 0x21, 0x21, 0x81}));
    Feed(Bytes({0x1D, 0x30, 0x30, 0x30, 0xAC}));
    clock.Advance(500);
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(ecu.Frames_Rejected(), 2);
    Feed(Read_Request(0x21));
    clock.Advance(100);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].bytes.size(), 4);
}

TEST_F(Framing_Test, GarbageBeforeARequestIsSkipped)
{
    const QByteArray garbage_cases[] = {
        Bytes({0x00, 0xFF, 0x21, 0x80}),           // no class byte
        Bytes({0x1D, 0x99}),                        // class byte, then no command
        Bytes({0x1D}),                              // class byte repeated before the real one
        Bytes({0x1D, 0x30, 0x00}),                  // a frame start the request runs into
        Bytes({0x1D, 0x3B, 0x00, 0x1D}),            // long write without announcement
    };
    for (const QByteArray& garbage : garbage_cases) {
        SCOPED_TRACE(garbage.toHex(' ').toStdString());
        answers.clear();
        clock.Advance(100);   // a fresh start for every case
        Feed(garbage + Read_Request(0x21));
        clock.Advance(100);
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].bytes, Frame({0x1D, 0x21, 68}));
    }
}

TEST_F(Framing_Test, PauseLongerThanFrameGapRestartsTheFrame)
{
    const QByteArray request = Read_Request(0x21);
    Feed(request.left(2));
    clock.Advance(Ecu_Simulator::Frame_Gap_Ms + 5);
    Feed(request.mid(2));
    clock.Advance(100);
    EXPECT_TRUE(answers.empty());

    // a pause up to the limit keeps the frame
    Feed(request.left(2));
    clock.Advance(Ecu_Simulator::Frame_Gap_Ms - 2);
    Feed(request.mid(2));
    clock.Advance(100);
    EXPECT_EQ(answers.size(), 1u);
}

TEST_F(Framing_Test, AnswerLeavesLatencyAfterTheLastRequestByte)
{
    for (int latency : {5, 0, 37}) {
        SCOPED_TRACE(latency);
        Sim_Ecu_Config config;
        config.Latency_Ms = latency;
        ecu.Set_Config(config);
        answers.clear();
        clock.Advance(100);
        const QByteArray request = Read_Request(0x33);
        Feed(request.left(4), 2);
        const qint64 last_byte = clock.Now_Ms();
        ecu.Byte_From_Host(quint8(request[4]));
        clock.Advance(latency > 0 ? latency - 1 : 0);
        if (latency > 0) {
            EXPECT_TRUE(answers.empty()) << "answer too early";
        }
        clock.Advance(50);
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].time_ms, last_byte + latency);
    }
}

TEST_F(Framing_Test, RequestsSentBackToBackAreAllAnswered)
{
    Feed(Read_Request(0x21) + Read_Request(0x33) + Frame({0x1D, 0x24, 0, 1}), 0);
    clock.Advance(50);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].bytes.size(), 4);
    EXPECT_EQ(answers[1].bytes.size(), 11);
    EXPECT_EQ(answers[2].bytes, Frame({0x1D, 0x24}));
}

using Line_Timing_Test = Sim_Line_Fixture;

TEST_F(Line_Timing_Test, AnswerArrivesAfterWireTimeAndLatency)
{
    clock.Advance(1000);
    const qint64 start = clock.Now_Ms();
    Write(Read_Request(0x37));
    const int length = 8 * 16 + 7 + 4;   // default grid geometry
    const QByteArray answer = Read(length);
    ASSERT_EQ(answer.size(), length);
    // 5 request bytes, 5 ms latency, then the answer bytes at 9600 bit/s
    const qint64 expected = start + Serial_Port::Wire_Time_Ms(5) + 5 + Serial_Port::Wire_Time_Ms(length);
    EXPECT_NEAR(double(clock.Now_Ms()), double(expected), 2.0);
    EXPECT_GT(clock.Now_Ms() - start, length);   // slower than one byte per ms
}

}
