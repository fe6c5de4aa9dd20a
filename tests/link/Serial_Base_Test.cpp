#include "app/Quorel_Clock.h"
#include "link/Quorel_Serial_Virtual.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <vector>

namespace {

// The far end of the line: keeps every byte with the time it came off the wire.
struct Line_Peer : Serial_Peer
{
    Quorel_Clock& clock;
    QByteArray received;
    std::vector<qint64> times;

    explicit Line_Peer(Quorel_Clock& c) : clock(c) {}
    void Byte_From_Host(quint8 byte) override
    {
        received.append(char(byte));
        times.push_back(clock.Now_Ms());
    }
};

QByteArray Pattern(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(quint8(i * 37 + 11)));
    return bytes;
}

struct Read_Result
{
    QByteArray bytes;
    qint64 time_ms = -1;
};

class Serial_Base : public ::testing::Test
{
protected:
    Virtual_Clock clock;
    Virtual_Serial_Port port{clock};
    Line_Peer peer{clock};
    QStringList events;
    std::vector<int> rx_counts;
    std::vector<qint64> rx_times;

    void SetUp() override
    {
        port.Attach(&peer);
        port.Set_Port("ttyVIRT0");
        port.On_After_Open = [this]() {
            events << QString("open is_open=%1 error=%2").arg(port.Port_Is_Open()).arg(port.Port_Error());
        };
        port.On_After_Close = [this]() { events << QString("close is_open=%1").arg(port.Port_Is_Open()); };
        port.On_Rx_Char = [this](int count) {
            rx_counts.push_back(count);
            rx_times.push_back(clock.Now_Ms());
        };
    }

    // Starts a read that stores its outcome in result.
    void Start_Read(int count, std::optional<Read_Result>& result)
    {
        port.Port_Read(count, [this, &result](const QByteArray& got) { result = Read_Result{got, clock.Now_Ms()}; });
    }

    // Lets count bytes arrive from the peer, with no read in progress.
    void Queue_From_Peer(const QByteArray& bytes)
    {
        const auto saved = port.On_Rx_Char;
        port.On_Rx_Char = nullptr;
        port.Send_To_Host(bytes);
        clock.Advance(Serial_Port::Wire_Time_Ms(int(bytes.size())) + 1);
        port.On_Rx_Char = saved;
        ASSERT_EQ(port.Bytes_Waiting(), bytes.size());
    }
};

// ---- the 300 ms inter-byte limit ----------------------------------------

struct Gap_Case
{
    const char* name;
    int first;            // bytes sent at once
    int pause_ms;         // from the last of them to sending the rest
    int second;           // bytes sent after the pause
    int first_read_size;  // what the read started by the first byte returns
};

class Serial_Read_Gap : public Serial_Base, public ::testing::WithParamInterface<Gap_Case>
{};

TEST_P(Serial_Read_Gap, Read_Of_Ten_Ends_300_Ms_After_The_Last_Byte)
{
    const Gap_Case c = GetParam();
    std::optional<Read_Result> result;
    port.On_Rx_Char = [&](int count) {
        rx_counts.push_back(count);
        if (rx_counts.size() == 1)
            Start_Read(10, result);
    };
    port.Port_Open();
    port.Send_To_Host(Pattern(c.first));
    const qint64 first_last = Serial_Port::Wire_Time_Ms(c.first);
    clock.Call_At(first_last + c.pause_ms, [&]() { port.Send_To_Host(Pattern(c.second)); });
    const qint64 second_last = first_last + c.pause_ms + Serial_Port::Wire_Time_Ms(c.second);

    const qint64 last_in_read = c.first_read_size > c.first ? second_last : first_last;
    clock.Advance_To(last_in_read + Serial_Port::Read_Interval_Ms - 1);
    EXPECT_FALSE(result) << "read ended before the 300 ms gap";
    clock.Advance(1);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->time_ms, last_in_read + Serial_Port::Read_Interval_Ms);
    EXPECT_EQ(result->bytes.size(), c.first_read_size);

    clock.Advance(1000);
    // Bytes after a pause longer than the limit wait for their own event.
    const int rest = c.first + c.second - c.first_read_size;
    EXPECT_EQ(port.Bytes_Waiting(), rest);
    if (rest > 0) {
        EXPECT_EQ(rx_counts.back(), rest);
    } else {
        EXPECT_EQ(rx_counts.size(), 1u) << "no event may be raised while the read collects";
    }
}

INSTANTIATE_TEST_SUITE_P(Gaps, Serial_Read_Gap,
                         ::testing::Values(Gap_Case{"four_then_nothing", 4, 0, 0, 4},
                                           Gap_Case{"pause_shorter_than_limit", 2, 250, 2, 4},
                                           Gap_Case{"pause_just_under_limit", 2, 297, 3, 5},
                                           Gap_Case{"pause_longer_than_limit", 2, 350, 2, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Serial_Base, Read_Ends_The_Moment_The_Count_Is_Reached)
{
    std::optional<Read_Result> result;
    port.On_Rx_Char = [&](int count) {
        rx_counts.push_back(count);
        if (rx_counts.size() == 1)
            Start_Read(4, result);
    };
    port.Port_Open();
    port.Send_To_Host(Pattern(6));
    clock.Advance_To(Serial_Port::Wire_Time_Ms(4) - 1);
    EXPECT_FALSE(result);
    clock.Advance(1);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->bytes, Pattern(4));
    EXPECT_EQ(result->time_ms, Serial_Port::Wire_Time_Ms(4));

    // the rest raises a fresh event
    clock.Advance(10);
    EXPECT_EQ(port.Bytes_Waiting(), 2);
    ASSERT_GE(rx_counts.size(), 2u);
    EXPECT_EQ(rx_counts.back(), 2);
}

TEST_F(Serial_Base, Read_Of_Bytes_Already_Queued_Completes_At_Once)
{
    port.Port_Open();
    Queue_From_Peer(Pattern(6));
    std::optional<Read_Result> result;
    Start_Read(4, result);
    ASSERT_TRUE(result) << "the read waited although the bytes were there";
    EXPECT_EQ(result->bytes, Pattern(4));
    EXPECT_EQ(port.Bytes_Waiting(), 2);
    EXPECT_FALSE(port.Read_Active());
}

// ---- the receive event ----------------------------------------------------

TEST_F(Serial_Base, Rx_Event_Counts_The_Bytes_Waiting)
{
    port.Port_Open();
    port.Send_To_Host(Pattern(4));
    clock.Advance(100);
    EXPECT_EQ(rx_counts, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(port.Bytes_Waiting(), 4);
}

TEST_F(Serial_Base, No_Rx_Event_While_A_Read_Collects)
{
    std::optional<Read_Result> result;
    port.On_Rx_Char = [&](int count) {
        rx_counts.push_back(count);
        rx_times.push_back(clock.Now_Ms());
        if (rx_counts.size() == 1)
            Start_Read(3, result);
    };
    port.Port_Open();
    port.Send_To_Host(Pattern(5));
    clock.Advance(100);

    ASSERT_TRUE(result);
    EXPECT_EQ(result->bytes, Pattern(3));
    EXPECT_EQ(result->time_ms, Serial_Port::Wire_Time_Ms(3));
    // first byte, then nothing until the read is done, then bytes 4 and 5
    EXPECT_EQ(rx_counts, (std::vector<int>{1, 1, 2}));
    ASSERT_EQ(rx_times.size(), 3u);
    EXPECT_EQ(rx_times[0], Serial_Port::Wire_Time_Ms(1));
    EXPECT_EQ(rx_times[1], Serial_Port::Wire_Time_Ms(4));
    EXPECT_EQ(rx_times[2], Serial_Port::Wire_Time_Ms(5));
}

TEST_F(Serial_Base, Close_Ends_A_Collecting_Read_With_What_It_Got)
{
    std::optional<Read_Result> result;
    port.On_Rx_Char = [&](int) {
        if (!result && !port.Read_Active())
            Start_Read(10, result);
    };
    port.Port_Open();
    port.Send_To_Host(Pattern(3));
    clock.Advance(Serial_Port::Wire_Time_Ms(3) + 10);
    ASSERT_FALSE(result);
    port.Port_Close();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->bytes, Pattern(3));
    EXPECT_FALSE(port.Read_Active());
    clock.Advance(1000);
    EXPECT_EQ(result->time_ms, Serial_Port::Wire_Time_Ms(3) + 10);
}

// ---- the sticky Port_Error --------------------------------------------------

TEST_F(Serial_Base, Read_With_Port_Error_Returns_Nothing_And_Keeps_The_Bytes)
{
    port.Port_Open();
    Queue_From_Peer(Pattern(4));
    port.Set_Port_Error();

    std::optional<Read_Result> result;
    const qint64 start = clock.Now_Ms();
    Start_Read(10, result);
    ASSERT_TRUE(result) << "a read with Port_Error must end at once";
    EXPECT_TRUE(result->bytes.isEmpty());
    EXPECT_EQ(result->time_ms, start);
    EXPECT_FALSE(port.Read_Active());
    EXPECT_EQ(port.Bytes_Waiting(), 4);

    port.Port_Clear(true, true);
    EXPECT_EQ(port.Bytes_Waiting(), 4) << "Port_Clear must do nothing while Port_Error is set";
    EXPECT_TRUE(port.Port_Error()) << "the layer never clears the flag itself";

    // once the caller clears it, the bytes are still there
    port.Clear_Port_Error();
    result.reset();
    Start_Read(4, result);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->bytes, Pattern(4));
}

TEST_F(Serial_Base, Write_With_Port_Error_Returns_Zero_And_Sends_Nothing)
{
    port.Port_Open();
    port.Set_Port_Error();
    const QByteArray frame = Pattern(5);
    EXPECT_EQ(port.Port_Write(reinterpret_cast<const quint8*>(frame.constData()), 5), 0);
    clock.Advance(100);
    EXPECT_TRUE(peer.received.isEmpty());
    EXPECT_TRUE(port.Writes().empty());
}

struct Vanished_Case
{
    const char* name;
    bool present;
    QString device_name;
};

class Serial_Vanished : public Serial_Base, public ::testing::WithParamInterface<Vanished_Case>
{};

TEST_P(Serial_Vanished, Open_Raises_After_Open_With_Port_Error_And_Writes_Nothing)
{
    port.Set_Present(GetParam().present);
    port.Set_Device_Name(GetParam().device_name);
    port.Port_Open();
    EXPECT_EQ(events, QStringList{"open is_open=1 error=1"});
    EXPECT_TRUE(port.Port_Is_Open());
    EXPECT_TRUE(port.Port_Error());
    const QByteArray frame = Pattern(3);
    EXPECT_EQ(port.Port_Write(reinterpret_cast<const quint8*>(frame.constData()), 3), 0);
    clock.Advance(100);
    EXPECT_TRUE(peer.received.isEmpty());
    EXPECT_EQ(port.Open_Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Devices, Serial_Vanished,
                         ::testing::Values(Vanished_Case{"device_gone", false, QString()},
                                           Vanished_Case{"other_device_name", true, "ttyOTHER"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Serial_Base, Device_Vanishing_While_Open_Fails_The_Next_Write)
{
    port.Port_Open();
    ASSERT_FALSE(port.Port_Error());
    port.Set_Present(false);
    const QByteArray frame = Pattern(3);
    EXPECT_EQ(port.Port_Write(reinterpret_cast<const quint8*>(frame.constData()), 3), 0);
    EXPECT_TRUE(port.Port_Error());
    EXPECT_TRUE(port.Port_Is_Open());
}

// ---- port name and open state -----------------------------------------------

TEST_F(Serial_Base, Set_Port_Reopens_Only_For_A_Different_Name)
{
    port.Port_Open();
    port.Port_Open();  // already open: nothing
    EXPECT_EQ(events, QStringList{"open is_open=1 error=0"});
    events.clear();

    port.Set_Port("ttyVIRT0");
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(port.Open_Count(), 1);

    port.Set_Port("ttyVIRT1");
    EXPECT_EQ(events, (QStringList{"close is_open=0", "open is_open=1 error=0"}));
    EXPECT_EQ(port.Open_Count(), 2);
    EXPECT_EQ(port.Port(), "ttyVIRT1");

    events.clear();
    port.Port_Close();
    port.Port_Close();  // already closed: nothing
    port.Set_Port("ttyVIRT2");  // closed: only the name changes
    EXPECT_EQ(events, QStringList{"close is_open=0"});
    EXPECT_FALSE(port.Port_Is_Open());
    EXPECT_EQ(port.Open_Count(), 2);
}

// ---- purge ---------------------------------------------------------------------

TEST_F(Serial_Base, Clear_Input_Drops_Queued_Bytes_Only)
{
    port.Port_Open();
    Queue_From_Peer(Pattern(4));
    port.Port_Clear(false, false);
    EXPECT_EQ(port.Bytes_Waiting(), 4);
    port.Port_Clear(true, false);
    EXPECT_EQ(port.Bytes_Waiting(), 0);
    EXPECT_FALSE(port.Port_Error());

    // what comes later is read as usual
    port.Send_To_Host(QByteArray("\x55\x66"));
    clock.Advance(10);
    std::optional<Read_Result> result;
    Start_Read(2, result);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->bytes, QByteArray("\x55\x66"));
}

TEST_F(Serial_Base, Clear_Output_Drops_What_Is_Not_On_The_Wire_Yet)
{
    port.Port_Open();
    const QByteArray frame = Pattern(10);
    ASSERT_EQ(port.Port_Write(reinterpret_cast<const quint8*>(frame.constData()), 10), 10);
    clock.Advance_To(Serial_Port::Wire_Time_Ms(3));
    ASSERT_EQ(peer.received.size(), 3);
    port.Port_Clear(false, true);
    clock.Advance(100);
    EXPECT_EQ(peer.received, frame.left(3));
}

// ---- wire timing ------------------------------------------------------------------

class Serial_Wire_Time : public Serial_Base, public ::testing::WithParamInterface<int>
{};

TEST_P(Serial_Wire_Time, Written_Frame_Reaches_The_Peer_At_9600_Baud)
{
    const int count = GetParam();
    port.Port_Open();
    clock.Advance(7);
    const qint64 start = clock.Now_Ms();
    const QByteArray frame = Pattern(count);
    ASSERT_EQ(port.Port_Write(reinterpret_cast<const quint8*>(frame.constData()), count), count);
    clock.Advance(Serial_Port::Wire_Time_Ms(count) + 10);
    ASSERT_EQ(peer.received, frame);
    ASSERT_EQ(int(peer.times.size()), count);
    for (int k = 1; k <= count; ++k)
        ASSERT_EQ(peer.times[size_t(k - 1)] - start, Serial_Port::Wire_Time_Ms(k)) << "byte " << k;
}

INSTANTIATE_TEST_SUITE_P(Frame_Lengths, Serial_Wire_Time, ::testing::Values(1, 3, 70, 1024));

TEST_F(Serial_Base, Back_To_Back_Writes_Queue_Behind_Each_Other)
{
    EXPECT_EQ(Serial_Port::Wire_Time_Ms(96), 100);  // 10 bits a byte at 9600 bit/s
    port.Port_Open();
    const QByteArray a = Pattern(10), b = Pattern(20);
    port.Port_Write(reinterpret_cast<const quint8*>(a.constData()), 10);
    clock.Advance(5);
    port.Port_Write(reinterpret_cast<const quint8*>(b.constData()), 20);
    clock.Advance(1000);
    ASSERT_EQ(peer.received, a + b);
    EXPECT_EQ(peer.times.back(), Serial_Port::Wire_Time_Ms(30));
    ASSERT_EQ(port.Writes().size(), 2u);
    EXPECT_EQ(port.Writes()[1].time_ms, 5);
}

} // namespace
