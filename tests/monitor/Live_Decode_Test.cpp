#include "app/Quorel_Clock.h"
#include "app/Quorel_Timer.h"
#include "monitor/Quorel_Live_Decode.h"
#include "monitor/Quorel_Temperature_Table.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A live-data answer: echo, data up to byte 69, checksum.
struct Answer
{
    std::array<quint8, 71> bytes{};

    Answer& Byte(int i, int v)
    {
        bytes[size_t(i)] = quint8(v);
        return *this;
    }
    Answer& Word(int i, int v) { return Byte(i, v & 0xFF).Byte(i + 1, (v >> 8) & 0xFF); }
    Answer& Petrol(int injector, int t) { return Word(10 + 2 * (injector - 1), t); }
    Answer& Gas(int injector, int t) { return Word(26 + 2 * (injector - 1), t); }
    Answer& Mode(int m) { return Byte(2, m); }
};

struct Decode_Rig
{
    Virtual_Clock clock;
    Quorel_Timer timer_cut_off{clock, "Timer_Cut_Off", 2000, true};
    Temperature_Table table;
    Live_Data_Record live;
    Live_Decoder decoder{live, table, timer_cut_off};

    Decode_Rig()
    {
        // ADC value i reads as i - 400 tenths of a degree.
        QByteArray bytes;
        for (int i = 0; i < Temperature_Table::Record_Count; ++i) {
            const auto v = quint16(qint16(i - 400));
            bytes.append(char(v & 0xFF)).append(char(v >> 8));
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        table.Load(buffer);
        decoder.Config.MAP_Sensor_C1 = 6600;
        decoder.Config.MAP_Sensor_C2 = 307;
    }
    void Decode(const Answer& a, qint64 advance_ms = 60)
    {
        clock.Advance(advance_ms);
        decoder.Decode_Live_Data(a.bytes);
    }
};

TEST(Live_Decode, Record_Starts_In_Automat_With_Running_Status)
{
    Live_Data_Record live;
    EXPECT_EQ(live.Work_Mode, 2);
    EXPECT_EQ(live.Status_Prev, 3);
    EXPECT_EQ(live.RPM, 0);
}

TEST(Live_Decode, Empty_Buffer_Decodes_To_Zero_Values)
{
    Decode_Rig rig;
    rig.decoder.Decode_Live_Data({});
    EXPECT_EQ(rig.live.Work_Mode, 0);
    EXPECT_EQ(rig.live.CPU_Freq_MHz, 64);
    EXPECT_EQ(rig.live.RPM, 0);
    EXPECT_EQ(rig.live.Petrol_Mean, 0);
    EXPECT_EQ(rig.live.TempAUX1, -400);
    EXPECT_EQ(rig.live.Status_Prev, 0);
}

TEST(Live_Decode, Fields_Come_From_Their_Byte_Positions)
{
    Decode_Rig rig;
    Answer a;
    a.Byte(2, 0x80 | 4).Byte(3, 0x03).Word(4, 0x2083).Word(6, 0x0009).Byte(8, 0x41).Byte(9, 77);
    a.Word(44, 30000).Word(46, 700).Word(48, 0xFC00 | 205).Word(52, 512).Word(54, 0x0400 | 650);
    a.Byte(56, 0x34).Byte(57, 0x40 | 0x02 | 0x0C).Word(60, 1023).Byte(62, 160).Byte(63, 12);
    a.Word(64, 0x0001).Word(66, 0x8002);
    rig.Decode(a);
    const auto& l = rig.live;
    EXPECT_EQ(l.CPU_Freq_MHz, 8);
    EXPECT_EQ(l.Work_Mode, 4);
    EXPECT_EQ(l.Gas_Mask, 3);
    EXPECT_EQ(l.Status, 0x2083);
    EXPECT_EQ(l.Errors, 9);
    EXPECT_EQ(l.Info_Flags, 0x41);
    EXPECT_EQ(l.Info_Value, 77);
    EXPECT_EQ(l.RPM, 1000);
    EXPECT_EQ(l.Power, 1400);
    EXPECT_EQ(l.Lambda, 100);
    EXPECT_EQ(l.Press_Volt, 250);
    EXPECT_EQ(l.PressInject, 3269);   // not averaged sample at 60..61
    EXPECT_EQ(l.TempAUX1, 250);
    EXPECT_EQ(l.Level, 0x234);
    EXPECT_EQ(l.Level_Mode, 0x40);
    EXPECT_EQ(l.Factor, 160);
    EXPECT_EQ(l.Pump_Value, 12);
    EXPECT_EQ(l.Level_Counter, 0x00018002u);
    EXPECT_EQ(l.TempAUX2, 0);
}

TEST(Live_Decode, Pressure_Averaging_Takes_The_Ecu_Averaged_Sample)
{
    Decode_Rig rig;
    rig.decoder.Settings.PRESS_Averaging = true;
    rig.Decode(Answer().Word(52, 512).Word(60, 1023));
    EXPECT_EQ(rig.live.PressInject, 1619);
    rig.Decode(Answer().Word(52, 9).Word(60, 1023));
    EXPECT_EQ(rig.live.PressInject, 0);
}

TEST(Live_Decode, Factor_Only_On_Gas)
{
    Decode_Rig rig;
    rig.Decode(Answer().Mode(2).Byte(62, 140));
    EXPECT_EQ(rig.live.Factor, 0);
    rig.Decode(Answer().Mode(4).Byte(62, 140));
    EXPECT_EQ(rig.live.Factor, 140);
}

TEST(Live_Decode, Injector_Count_Selects_The_Times_Read)
{
    struct Case
    {
        int inject_num;
        std::array<qint32, 8> expected;
    };
    const Case cases[] = {
        {2, {1001, 1002, 0, 0, 0, 0, 0, 0}},
        {3, {1001, 1002, 1003, 0, 0, 0, 0, 0}},
        {4, {1001, 1002, 1003, 1004, 0, 0, 0, 0}},
        {6, {1001, 1002, 1003, 1004, 1005, 1006, 0, 0}},
        {8, {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008}},
        {0, {1001, 1002, 0, 0, 0, 0, 0, 0}},      // clamped to 2
        {99, {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008}},
    };
    for (const auto& c : cases) {
        Decode_Rig rig;
        rig.decoder.Settings.GEN_Averaging = false;
        rig.decoder.Config.Inject_Num = c.inject_num;
        Answer a;
        a.Mode(4).Byte(3, 0xFF);
        for (int i = 1; i <= 8; ++i)
            a.Petrol(i, 1000 + i).Gas(i, 2000 + i);
        rig.Decode(a);
        EXPECT_EQ(rig.live.Petrol_Time, c.expected) << "n = " << c.inject_num;
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(rig.live.Gas_Time[i], c.expected[i] ? 2001 + i : 0) << "n = " << c.inject_num << " i " << i;
    }
}

TEST(Live_Decode, Gas_Times_Only_For_Buttons_Down)
{
    Decode_Rig rig;
    rig.decoder.Settings.GEN_Averaging = false;
    Answer a;
    a.Mode(4).Byte(3, 0b0101);
    for (int i = 1; i <= 4; ++i)
        a.Petrol(i, 3000 + 100 * i).Gas(i, 4000 + 100 * i);
    rig.Decode(a);
    EXPECT_EQ(rig.live.Gas_Time, (std::array<qint32, 8>{4100, 0, 4300, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.live.Gas_Mean, (4100 + 4300) / 2);
    EXPECT_EQ(rig.live.Gas_Mean10, 420);
    EXPECT_EQ(rig.live.Petrol_Mean, (3100 + 3200 + 3300 + 3400) / 4);
    EXPECT_EQ(rig.live.Petrol_Mean10, 325);
}

TEST(Live_Decode, Petrol_Mean_Counts_Only_Non_Zero_Times)
{
    Decode_Rig rig;
    rig.decoder.Settings.GEN_Averaging = false;
    rig.Decode(Answer().Mode(1).Petrol(1, 3001).Petrol(3, 4000));
    EXPECT_EQ(rig.live.Petrol_Mean, 3500);
    EXPECT_EQ(rig.live.Petrol_Mean10, 350);
    rig.Decode(Answer().Mode(1));
    EXPECT_EQ(rig.live.Petrol_Mean, 0);
}

TEST(Live_Decode, Averaging_Depth_Three)
{
    Decode_Rig rig;
    rig.decoder.Settings.GEN_Averaging_Num = 3;
    std::vector<int> shown, received;
    for (int t : {10, 20, 30, 40, 50}) {
        rig.Decode(Answer().Mode(2).Petrol(1, t).Petrol(2, 7));
        shown.push_back(rig.live.Petrol_Time_Avg[0]);
        received.push_back(rig.live.Petrol_Time[0]);
    }
    EXPECT_EQ(shown, (std::vector<int>{10, 20, 30, 20, 30}));
    EXPECT_EQ(received, (std::vector<int>{10, 20, 30, 40, 50}));
    EXPECT_EQ(rig.live.Petrol_Mean, (50 + 7) / 2);   // means use received times
}

TEST(Live_Decode, Averaging_Depth_Is_Clamped_When_Read)
{
    struct Case
    {
        int setting;
        int filled;   // samples until the average starts lagging
    };
    for (const Case c : {Case{0, 1}, Case{-5, 1}, Case{100, 100}, Case{1000, 100}}) {
        Decode_Rig rig;
        rig.decoder.Settings.GEN_Averaging_Num = c.setting;
        for (int i = 1; i <= c.filled; ++i)
            rig.Decode(Answer().Petrol(1, i));
        EXPECT_EQ(rig.live.Petrol_Time_Avg[0], c.filled) << c.setting;
        rig.Decode(Answer().Petrol(1, 5000));
        EXPECT_NE(rig.live.Petrol_Time_Avg[0], 5000) << c.setting;
        EXPECT_EQ(rig.decoder.Petrol_Buffer(0).Count(), c.filled) << c.setting;
    }
}

TEST(Live_Decode, Averaging_Off_Shows_Received_And_Switching_On_Refills)
{
    Decode_Rig rig;
    rig.decoder.Settings.GEN_Averaging_Num = 2;
    rig.Decode(Answer().Petrol(1, 100));
    rig.Decode(Answer().Petrol(1, 200));
    rig.decoder.Settings.GEN_Averaging = false;
    rig.Decode(Answer().Petrol(1, 900));
    EXPECT_EQ(rig.live.Petrol_Time_Avg[0], 900);
    rig.decoder.Settings.GEN_Averaging = true;
    rig.Decode(Answer().Petrol(1, 300));
    EXPECT_EQ(rig.live.Petrol_Time_Avg[0], 300);   // fill phase again, not the mean of 100, 200
    EXPECT_EQ(rig.decoder.Petrol_Buffer(0).Count(), 1);
}

TEST(Live_Decode, Gas_Averaging_Follows_Mode_And_Buttons)
{
    Decode_Rig rig;
    rig.decoder.Settings.GEN_Averaging_Num = 2;
    auto gas = [](int mask, int t) { return Answer().Mode(4).Byte(3, mask).Petrol(1, 3000).Petrol(2, 3000).Gas(1, t).Gas(2, t); };
    rig.Decode(gas(0b11, 100));
    rig.Decode(gas(0b11, 200));
    rig.Decode(gas(0b11, 300));
    EXPECT_EQ(rig.live.Gas_Time_Avg[0], 150);
    // Button 2 goes up: its buffer restarts, injector 1 keeps averaging.
    rig.Decode(gas(0b01, 400));
    EXPECT_EQ(rig.live.Gas_Time_Avg[0], 250);
    EXPECT_EQ(rig.live.Gas_Time_Avg[1], 0);
    EXPECT_EQ(rig.decoder.Gas_Buffer(1).Count(), 0);
    // Gas to Petrol: gas mean and averaged gas times are 0 on the next decode.
    rig.Decode(Answer().Mode(1).Petrol(1, 3000).Gas(1, 500));
    EXPECT_EQ(rig.live.Gas_Mean, 0);
    EXPECT_EQ(rig.live.Gas_Mean10, 0);
    EXPECT_EQ(rig.live.Gas_Time_Avg, (std::array<qint32, 8>{}));
    EXPECT_EQ(rig.decoder.Gas_Buffer(0).Count(), 0);
}

TEST(Live_Decode, Engine_Stop_Clears_Times_Until_Injector_One_Changes)
{
    Decode_Rig rig;
    rig.decoder.Settings.GEN_Averaging_Num = 2;
    const Answer running = Answer().Mode(4).Byte(3, 0b11).Petrol(1, 3000).Petrol(2, 3100).Gas(1, 4000).Gas(2, 4100);
    rig.Decode(running);   // times differ from the remembered zeros: timer restarts
    for (int i = 0; i < 30; ++i)
        rig.Decode(running, 60);   // 1.8 s, timer still running
    EXPECT_EQ(rig.live.Petrol_Time[0], 3000);
    EXPECT_TRUE(rig.timer_cut_off.Enabled());
    rig.clock.Advance(300);        // the 2000 ms run out without a change
    EXPECT_FALSE(rig.timer_cut_off.Enabled());
    for (int i = 0; i < 3; ++i) {
        rig.Decode(running);
        EXPECT_EQ(rig.live.Petrol_Time, (std::array<qint32, 8>{}));
        EXPECT_EQ(rig.live.Gas_Time, (std::array<qint32, 8>{}));
        EXPECT_EQ(rig.live.Petrol_Time_Avg, (std::array<qint32, 8>{}));
        EXPECT_EQ(rig.live.Gas_Time_Avg, (std::array<qint32, 8>{}));
        EXPECT_EQ(rig.live.Petrol_Mean, 0);
        EXPECT_EQ(rig.live.Gas_Mean, 0);
        EXPECT_EQ(rig.decoder.Petrol_Buffer(0).Count(), 0);
        EXPECT_EQ(rig.decoder.Gas_Buffer(0).Count(), 0);
    }
    rig.Decode(Answer(running).Petrol(1, 3050));
    EXPECT_EQ(rig.live.Petrol_Time[0], 3050);
    EXPECT_EQ(rig.live.Petrol_Mean, (3050 + 3100) / 2);
    EXPECT_TRUE(rig.timer_cut_off.Enabled());
}

TEST(Live_Decode, Changing_Times_Keep_The_Engine_Running)
{
    Decode_Rig rig;
    rig.decoder.Settings.GEN_Averaging = false;
    for (int i = 0; i < 100; ++i) {   // 6 s; injector 4 changes every 1.2 s
        rig.Decode(Answer().Petrol(1, 3000).Petrol(4, 3000 + (i / 20) % 2));
        ASSERT_EQ(rig.live.Petrol_Time[0], 3000) << i;
    }
}

TEST(Live_Decode, Consumers_Get_Their_Values_Or_Are_Counted)
{
    Decode_Rig rig;
    auto& c = rig.decoder.Consumers;
    std::vector<int> modes, pulses, status_seen;
    int info = -1, rpm_dialog = -1, cal = -1;
    c.On_Work_Mode = [&](int m) { modes.push_back(m); };
    c.On_Short_Pulse_Check = [&](int inj, int t) { pulses.push_back(inj * 10000 + t); };
    c.On_Status = [&](int s) {
        status_seen.push_back(rig.live.Status_Prev);
        rig.live.Status_Prev = s;
    };
    c.On_Info = [&](int f, int v) { info = f * 256 + v; };
    c.On_RPM_Dialog = [&](int r) { rpm_dialog = r; };
    c.On_Auto_Calibration_Sample = [&](int m) { cal = m; };
    rig.decoder.Config.Inject_Num = 3;

    rig.Decode(Answer().Mode(1).Word(4, 1).Byte(8, 2).Byte(9, 3).Word(44, 37500).Petrol(1, 40).Petrol(2, 60));
    rig.Decode(Answer().Mode(1).Word(4, 5));
    rig.Decode(Answer().Mode(9));   // stored, no display
    rig.Decode(Answer().Mode(4));
    EXPECT_EQ(modes, (std::vector<int>{1, 4}));
    EXPECT_EQ(rig.live.Work_Mode, 4);
    EXPECT_EQ(status_seen, (std::vector<int>{3, 1, 5, 0}));
    EXPECT_EQ(std::vector<int>(pulses.begin(), pulses.begin() + 3), (std::vector<int>{10040, 20060, 30000}));
    EXPECT_EQ(pulses.size(), 12u);
    EXPECT_EQ(info, 0);
    EXPECT_EQ(rpm_dialog, 0);
    EXPECT_EQ(cal, 0);

    // Entries still empty count their calls; conditional ones are skipped.
    EXPECT_EQ(c.Unset_Calls[Live_Consumers::Page_Display], 4u);
    EXPECT_EQ(c.Unset_Calls[Live_Consumers::Error_Handling], 4u);
    EXPECT_EQ(c.Unset_Calls[Live_Consumers::Injector_Buttons], 1u);   // only on gas
    EXPECT_EQ(c.Unset_Calls[Live_Consumers::Gas_Mean_Button], 1u);
    EXPECT_EQ(c.Unset_Calls[Live_Consumers::Lambda_Charts], 0u);      // Lambda_ON off
    EXPECT_EQ(c.Unset_Calls[Live_Consumers::Level_Mode_Display], 0u); // not the software level
    EXPECT_EQ(c.Unset_Calls[Live_Consumers::Status_Handling], 0u);
    EXPECT_EQ(c.Unset_Calls[Live_Consumers::Work_Mode_Display], 0u);

    rig.decoder.Config.Lambda_ON = true;
    rig.decoder.Config.Level_Type = "SOFTWARE";
    int level_mode = -1;
    c.On_Level_Mode = [&](int m) { level_mode = m; };
    rig.Decode(Answer().Byte(57, 0x83));
    EXPECT_EQ(level_mode, 0x80);
    EXPECT_EQ(rig.live.Level, 0x300);
    EXPECT_EQ(c.Unset_Calls[Live_Consumers::Lambda_Charts], 1u);
}

TEST(Live_Decode, Unset_Status_Handling_Keeps_Status_Prev)
{
    Decode_Rig rig;
    rig.Decode(Answer().Word(4, 0x0103));
    EXPECT_EQ(rig.live.Status, 0x0103);
    EXPECT_EQ(rig.live.Status_Prev, 0x0103);
    EXPECT_EQ(rig.decoder.Consumers.Unset_Calls[Live_Consumers::Status_Handling], 1u);
}

TEST(Live_Decode, Short_Answer_Reads_Missing_Positions_As_Zero)
{
    Decode_Rig rig;
    Answer a;
    a.Word(44, 30000).Word(60, 1023).Word(64, 0x1234);
    rig.decoder.Decode_Live_Data(std::span<const quint8>(a.bytes.data(), 50));
    EXPECT_EQ(rig.live.RPM, 1000);
    EXPECT_EQ(rig.live.PressInject, 0);
    EXPECT_EQ(rig.live.Level_Counter, 0u);
}

}   // namespace
