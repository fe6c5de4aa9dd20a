#include "app/Quorel_Clock.h"
#include "app/Quorel_Context.h"
#include "link/Quorel_Sequencer.h"
#include "link/Quorel_Serial_Virtual.h"
#include "monitor/Quorel_Live_Decode.h"
#include "monitor/Quorel_Live_Monitor.h"

#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A context on a line with nothing at its far end: the dashboard's
// requests stay in Pending_Request.
struct Board_Rig
{
    QTemporaryDir dir;
    Virtual_Clock clock;
    std::unique_ptr<Quorel_Context> context;

    Board_Rig()
    {
        context = std::make_unique<Quorel_Context>(clock, std::make_unique<Virtual_Serial_Port>(clock), dir.path(),
                                                   "QuorelGAS");
    }
    Live_Monitor& Monitor() { return *context->Monitor; }
    Dashboard& Board() { return context->Monitor->Board; }
    void Set_Injectors(int n)
    {
        context->Config_Data.Inject_Num = n;
        context->Config_Changed();
    }
    std::vector<bool> Enabled()
    {
        std::vector<bool> on;
        for (int i = 0; i < 8; ++i)
            on.push_back(Board().Button_Enabled(i));
        return on;
    }
    int Down_Mask()
    {
        int mask = 0;
        for (int i = 0; i < 8; ++i)
            mask |= Board().Button_Down(i) << i;
        return mask;
    }
};

using Leds = std::array<bool, Dashboard::Led_Count>;   // Red, Green1..5, Yellow

Leds Shown_Leds(const Dashboard& board)
{
    Leds leds{};
    for (int i = 0; i < Dashboard::Led_Count; ++i)
        leds[size_t(i)] = board.Led_On(Dashboard::Led(i));
    return leds;
}

TEST(Dashboard, Work_Mode_Sets_Panel_Buttons_And_Mimic)
{
    struct Case
    {
        int mode;
        QString text;
        QColor colour;
        Leds leds;
        bool blinking;
    };
    const std::vector<Case> cases = {
        {1, "Petrol", QColor(255, 255, 0), {false, false, false, false, false, false, true}, false},
        {2, "Automat", QColor(0, 255, 255), {false, false, false, false, false, false, true}, true},
        {4, "Gas", QColor(0, 255, 0), {false, true, true, true, true, true, false}, false},
    };
    for (const Case& c : cases) {
        Board_Rig rig;
        rig.context->ECU_Connected = true;
        rig.context->Live->Gas_Button_Down.fill(true);
        rig.context->Live_Data.Work_Mode = c.mode;
        rig.context->Live_Data.Gas_Mask = 0x05;
        rig.Board().Show_Work_Mode(c.mode);
        EXPECT_EQ(rig.Board().Work_Mode_Text(), c.text);
        EXPECT_EQ(rig.Board().Work_Mode_Colour(), c.colour);
        EXPECT_EQ(Shown_Leds(rig.Board()), c.leds) << c.mode;
        EXPECT_EQ(rig.context->Timer_Led_Automat.Enabled(), c.blinking);
        EXPECT_EQ(rig.Down_Mask(), c.mode == 4 ? 0x05 : 0) << c.mode;
    }
}

TEST(Dashboard, Automat_Blinks_Green5_Every_Half_Second)
{
    Board_Rig rig;
    rig.context->Live_Data.Work_Mode = 2;
    rig.Board().Show_Work_Mode(2);
    std::vector<bool> green5;
    for (int i = 0; i < 4; ++i) {
        rig.clock.Advance(500);
        green5.push_back(rig.Board().Led_On(Dashboard::Green5));
    }
    EXPECT_EQ(green5, (std::vector<bool>{true, false, true, false}));
    rig.context->Live_Data.Work_Mode = 1;
    rig.Board().Show_Work_Mode(1);
    EXPECT_FALSE(rig.context->Timer_Led_Automat.Enabled());
}

TEST(Dashboard, Software_Level_Mode_Sets_The_Gas_Mimic)
{
    struct Case
    {
        int level_mode;
        QString text;
        Leds leds;
    };
    const std::vector<Case> cases = {
        {32, "Reference", {true, true, true, true, true, true, false}},
        {64, "Pause", {true, false, false, false, false, false, false}},
        {128, "Work", {false, true, true, true, true, true, true}},
        {16, "Waiting", {false, true, true, true, true, true, false}},
        {0, "", {false, false, false, false, false, false, false}},
    };
    Board_Rig rig;
    rig.context->Config_Data.Level_Type = "SOFTWARE";
    rig.context->Config_Changed();
    rig.context->Live_Data.Work_Mode = 4;
    rig.Board().Show_Level_Mode(16);   // the last shown differs from 0 below
    for (const Case& c : cases) {
        rig.context->Live_Data.Level_Mode = c.level_mode;
        rig.Board().Show_Level_Mode(c.level_mode);
        EXPECT_EQ(rig.Board().Level_Mode_Text(), c.text);
        EXPECT_EQ(Shown_Leds(rig.Board()), c.leds) << c.level_mode;
    }
    EXPECT_EQ(rig.Board().Level_Mode_Hint(), "");
    rig.Board().Show_Level_Mode(128);
    EXPECT_EQ(rig.Board().Level_Mode_Hint(), "Level mode work");
}

TEST(Dashboard, Info_Line_Last_Applicable_Flag_Wins)
{
    struct Case
    {
        int flags, value;
        bool visible;
        QString text;
    };
    const std::vector<Case> cases = {
        {1, 25, true, "2.5 sec"}, {2, 25, true, "25 sec"}, {3, 25, true, "25 sec"},
        {4, 1, true, "Petrol Injection"}, {7, 1, true, "Petrol Injection"}, {0, 25, false, ""},
    };
    for (const Case& c : cases) {
        Board_Rig rig;
        rig.Board().Show_Info(c.flags, c.value);
        EXPECT_EQ(rig.Board().Info_Visible(), c.visible) << c.flags;
        if (c.visible) {
            EXPECT_EQ(rig.Board().Info_Text(), c.text) << c.flags;
        }
    }
}

TEST(Dashboard, Buttons_Beyond_The_Injectors_Stay_Disabled)
{
    Board_Rig rig;
    rig.Set_Injectors(5);
    rig.Board().Set_Gas_Buttons_Enabled(true);
    EXPECT_EQ(rig.Enabled(), (std::vector<bool>{true, true, true, true, true, false, false, false}));
    EXPECT_TRUE(rig.Board().All_Enabled());
    rig.Board().Set_Gas_Buttons_Enabled(false);
    EXPECT_EQ(rig.Enabled(), std::vector<bool>(8, false));
    EXPECT_FALSE(rig.Board().All_Enabled());
}

TEST(Dashboard, Injector_Count_Change_Enables_By_Link_And_Engine)
{
    Board_Rig rig;
    rig.context->ECU_Connected = true;
    rig.context->Live_Data.Status_Prev = 1;   // engine runs, pressure not normal
    rig.Set_Injectors(6);
    EXPECT_EQ(rig.Enabled(), (std::vector<bool>{true, true, false, false, false, false, false, false}));
    rig.context->Live_Data.Status_Prev = 3;
    rig.Set_Injectors(5);
    EXPECT_EQ(rig.Enabled(), (std::vector<bool>{true, true, true, true, true, false, false, false}));
    rig.context->Config_Data.MonoInject = true;
    rig.Set_Injectors(4);
    EXPECT_EQ(rig.Enabled(), std::vector<bool>(8, false));
}

TEST(Dashboard, Star_Presses_The_Existing_Injectors_Only)
{
    Board_Rig rig;
    rig.context->ECU_Connected = true;
    rig.Set_Injectors(4);
    rig.Board().Gas_All_Toggled(true);
    EXPECT_EQ(rig.Down_Mask(), 0x0F);
    EXPECT_EQ(rig.context->Sequence->Forced_Injector_Mask, 0x0F);
    EXPECT_EQ(rig.context->Pending_Request, 6);
    EXPECT_TRUE(rig.Board().All_Down());

    rig.Board().Gas_All_Toggled(false);
    EXPECT_EQ(rig.Down_Mask(), 0);
    EXPECT_EQ(rig.context->Pending_Request, 7);
    EXPECT_FALSE(rig.Board().All_Down());
}

TEST(Dashboard, Single_Buttons_Force_And_Release)
{
    Board_Rig rig;
    rig.context->ECU_Connected = true;
    rig.Board().Gas_Button_Toggled(2, true);
    EXPECT_EQ(rig.context->Sequence->Forced_Injector_Mask, 0x04);
    EXPECT_EQ(rig.context->Pending_Request, 6);
    EXPECT_TRUE(rig.Board().All_Down());
    rig.Board().Gas_Button_Toggled(0, true);
    EXPECT_EQ(rig.context->Sequence->Forced_Injector_Mask, 0x05);

    // Without the link forcing posts nothing, but the release of the last
    // button still asks for forcing off.
    rig.context->ECU_Connected = false;
    rig.context->Pending_Request = 0;
    rig.Board().Gas_Button_Toggled(2, false);
    EXPECT_EQ(rig.context->Pending_Request, 0);
    rig.Board().Gas_Button_Toggled(0, false);
    EXPECT_EQ(rig.context->Pending_Request, 7);
    EXPECT_FALSE(rig.Board().All_Down());
}

TEST(Dashboard, Gas_Mask_Follows_The_Link)
{
    Board_Rig rig;
    rig.context->ECU_Connected = true;
    rig.Board().Show_Gas_Mask(0x81);
    EXPECT_EQ(rig.Down_Mask(), 0x81);
    rig.context->ECU_Connected = false;
    rig.Board().Show_Gas_Mask(0x81);
    EXPECT_EQ(rig.Down_Mask(), 0);
}

TEST(Dashboard, Requests_Wait_For_The_Link)
{
    Board_Rig rig;
    rig.Board().Work_Mode_Click();
    rig.Monitor().Button_ERR_ClearClick();
    rig.Monitor().Button_ERR_Change_FreqClick();
    EXPECT_EQ(rig.context->Pending_Request, 0);
    EXPECT_EQ(rig.Monitor().Messages.Count(), 0);

    rig.context->ECU_Connected = true;
    rig.Board().Work_Mode_Click();
    EXPECT_EQ(rig.context->Pending_Request, 1);
    rig.Board().Pump_Run_Click();
    EXPECT_EQ(rig.context->Pending_Request, 25);
    EXPECT_EQ(rig.context->Sequence->Error_Clear_Bits, 0x08);
    rig.context->Sequence->Error_Clear_Bits = 0;
    rig.Monitor().Button_ERR_ClearClick();
    EXPECT_EQ(rig.context->Pending_Request, 22);
    EXPECT_EQ(rig.context->Sequence->Error_Clear_Bits, 0x04);
    rig.Monitor().Button_ERR_Change_FreqClick();
    EXPECT_EQ(rig.context->Sequence->Error_Clear_Bits, 0x14);
    ASSERT_EQ(rig.Monitor().Messages.Count(), 1);
    EXPECT_EQ(rig.Monitor().Messages.At(0).Text, "Data transmission");
    EXPECT_EQ(rig.Monitor().Messages.At(0).Colour, QColor(0, 255, 255));
}

TEST(Dashboard, Pump_Test_Start_And_Result)
{
    Board_Rig rig;
    rig.context->Config_Data.Pump_Time = 100;
    rig.context->Config_Data.MAP_Sensor_C1 = 6600;
    rig.context->Config_Data.MAP_Sensor_C2 = 307;
    rig.context->Config_Changed();
    rig.context->Identification.Version_Number = 416;   // newer firmware: start pressure at 68..69
    rig.context->Live_Data.Pump_Value = 30;
    auto& rx = rig.context->Frames.Rx_Frame;
    rx[68] = 0x00;
    rx[69] = 0x02;   // ADC 512: 2.50 V -> 16.19 bar
    rig.context->Frames.Rx_Length = 71;
    bool enabled = false;
    rig.Board().Enable_ECU_Controls = [&](bool on) { enabled = on; };
    rig.Board().Set_Gas_Buttons_Enabled(true);

    rig.Board().Pump_Test_Start();
    const Dashboard::Pump_Display& pump = rig.Board().Pump();
    EXPECT_TRUE(pump.Gauge_Visible);
    EXPECT_FALSE(pump.Run_Visible);
    EXPECT_EQ(pump.OK_Text, "Test");
    EXPECT_EQ(pump.Gauge_Max, 100);
    EXPECT_EQ(pump.Gauge_Value, 70);
    EXPECT_EQ(pump.Press_Text, "Pump pressure\n\r16.19 bar");
    EXPECT_EQ(rig.Enabled(), std::vector<bool>(8, false));

    rig.context->Live_Data.Pump_Value = 10;
    rig.Board().Pump_Refresh(0x103);
    EXPECT_EQ(pump.Gauge_Value, 90);

    rig.Board().Pump_Test_Result(true);
    EXPECT_EQ(pump.Panel_Colour, QColor(0, 0, 255));
    EXPECT_EQ(pump.OK_Text, "OK");
    EXPECT_TRUE(pump.Run_Visible);
    EXPECT_FALSE(pump.Gauge_Visible);
    EXPECT_EQ(pump.Panel_Text_Colour, QColor(255, 255, 255));
    EXPECT_TRUE(enabled);

    rig.Board().Pump_Test_Result(false);
    EXPECT_EQ(pump.Panel_Colour, QColor(255, 0, 0));
    EXPECT_EQ(pump.OK_Text, "");
}

TEST(Dashboard, Gas_Pumping_Shows_Its_Time_And_Captures_It)
{
    Board_Rig rig;
    rig.context->Live_Data.Pump_Value = 7;
    rig.Board().Pumping_Started();
    EXPECT_EQ(rig.Board().Captured_Pumping_Time(), 14);
    rig.Board().Pump_Refresh(0x800);
    EXPECT_TRUE(rig.Board().Pump().Press_Visible);
    EXPECT_EQ(rig.Board().Pump().Press_Text, "Pump leveling\n\r14 sec");
    EXPECT_EQ(rig.Board().Pump().Press_Text_Colour, QColor(255, 255, 255));
    rig.Board().Pump_Label_Hide();
    EXPECT_FALSE(rig.Board().Pump().Press_Visible);
}

TEST(Lambda_Chart, Keeps_The_Last_150_Positions)
{
    Lambda_Chart chart;
    chart.Reset(300, 104, 5);   // scale (104 - 4) / (500 div 5) = 1.0, step 2.0
    EXPECT_DOUBLE_EQ(chart.Scale(), 1.0);
    EXPECT_DOUBLE_EQ(chart.Step(), 2.0);
    for (int i = 1; i <= 200; ++i)
        chart.Sample(i % 100);
    EXPECT_EQ(chart.Index(), 149);
    // entry k holds sample 51 + k
    EXPECT_EQ(chart.Entry(149), 104 - (200 % 100) - 2);
    EXPECT_EQ(chart.Entry(0), 104 - (51 % 100) - 2);
    EXPECT_EQ(chart.X(0), 0);
    EXPECT_EQ(chart.X(1), 4);
    EXPECT_EQ(chart.X(149), 300);
}

TEST(Lambda_Chart, Scale_Follows_The_Lambda_Type)
{
    EXPECT_EQ(Lambda_Chart::Scale_Code("0 - 1 V"), 5);
    EXPECT_EQ(Lambda_Chart::Scale_Code("0 - 5 V +"), 1);
    EXPECT_EQ(Lambda_Chart::Scale_Code("0,8 - 1,6 V"), 3);
    Lambda_Chart chart;
    chart.Reset(150, 170, 3);   // 166 positions of 0.01 V over 166 pixels
    EXPECT_DOUBLE_EQ(chart.Scale(), 1.0);
    chart.Sample(100);
    EXPECT_EQ(chart.Index(), 1);
    EXPECT_EQ(chart.Entry(1), 170 - 100 - 2);
    EXPECT_EQ(chart.Entry(0), 168);   // cleared history reads lambda 0
}

}   // namespace

namespace {

TEST(Dashboard_Level, Software_Level_In_Work_Mode_Lights_By_The_Counter)
{
    Board_Rig rig;
    rig.context->Config_Data.Level_Type = "SOFTWARE";
    rig.context->Config_Data.GF_ETALON = 600;
    rig.context->Config_Changed();
    Live_Data_Record& live = rig.context->Live_Data;
    live.Work_Mode = 4;
    live.Level_Mode = 128;
    live.Level_Counter = 250u << 21;
    rig.Board().Level_Display();
    EXPECT_EQ(Shown_Leds(rig.Board()), (Leds{false, true, true, true, false, false, false}));
    const Dashboard::Level_View& view = rig.Board().Level();
    EXPECT_EQ(view.Level, 250);
    EXPECT_EQ(view.Full_Scale, 600);
    EXPECT_EQ(view.Current_Text, QLocale().toString(double(250u << 21) * 32.0 / 3'600'000'000.0, 'f', 5));
    EXPECT_EQ(view.Level0_Text, "1.22");
    EXPECT_TRUE(view.Picture_Visible);

    live.Level_Counter = 500u << 21;   // 5X reached
    rig.Board().Level_Display();
    EXPECT_EQ(Shown_Leds(rig.Board()), (Leds{true, false, false, false, false, false, false}));

    live.Work_Mode = 2;   // outside gas the counter counts as 0 and the picture hides
    rig.Board().Level_Display();
    EXPECT_EQ(rig.Board().Level().Level, 0);
    EXPECT_FALSE(rig.Board().Level().Picture_Visible);
}

TEST(Dashboard_Level, Sensor_Level_Follows_The_Thresholds)
{
    struct Case
    {
        bool invert;
        int level;
        Leds leds;   // Red, Green1..5, Yellow
    };
    const std::vector<Case> cases = {
        {false, 50, {true, false, false, false, false, false, false}},
        {false, 600, {false, true, true, true, false, false, false}},
        {false, 950, {false, true, true, true, true, true, false}},
        {true, 600, {false, false, false, false, true, true, false}},
        {true, 950, {true, false, false, false, false, false, false}},
        {true, 50, {false, true, true, true, true, true, false}},
    };
    for (const Case& c : cases) {
        Board_Rig rig;
        Configuration_Class& config = rig.context->Config_Data;
        config.Level_Type = "ANALOG";
        config.Level1 = 100, config.Level2 = 300, config.Level3 = 500, config.Level4 = 700, config.Level5 = 900;
        config.Level_Invert = c.invert;
        rig.context->Config_Changed();
        rig.context->Live_Data.Work_Mode = 4;
        rig.context->Live_Data.Level = c.level;
        rig.Board().Level_Display();
        EXPECT_EQ(Shown_Leds(rig.Board()), c.leds) << c.invert << " " << c.level;
        EXPECT_EQ(rig.Board().Level().Full_Scale, 1023);
        EXPECT_EQ(rig.Board().Level().Current_Text, QString::number(c.level));   // the sensor value itself
    }
}

TEST(Dashboard_Level, Zero_Full_Scale_Hides_The_Picture)
{
    Board_Rig rig;
    rig.context->Config_Data.Level_Type = "SOFTWARE";
    rig.context->Config_Data.GF_ETALON = 0;
    rig.context->Config_Changed();
    rig.context->Live_Data.Work_Mode = 4;
    rig.context->Live_Data.Level_Counter = 1u << 21;
    rig.Board().Level_Display();
    EXPECT_FALSE(rig.Board().Level().Picture_Visible);

    const QImage picture = Dashboard::Level_Picture(QSize(40, 100), 25, 100, Qt::gray);
    EXPECT_EQ(picture.pixelColor(20, 25), QColor(0, 255, 0));
    EXPECT_EQ(picture.pixelColor(20, 60), QColor(Qt::gray));
}

}   // namespace

namespace {

TEST(Dashboard_Charts, A_New_Lambda_Type_Clears_And_Rescales_The_Charts)
{
    Board_Rig rig;
    rig.Board().Set_Chart_Size(0, 150, 104);
    rig.context->Config_Data.Lambda_Type = "0 - 1 V";
    rig.context->Config_Changed();
    rig.context->Live_Data.Lambda = 50;
    rig.Board().Lambda_Sample();
    rig.Board().Lambda_Sample();
    EXPECT_EQ(rig.Board().Chart(0).Index(), 2);
    EXPECT_DOUBLE_EQ(rig.Board().Chart(0).Scale(), 1.0);
    rig.context->Config_Data.Lambda_Type = "0 - 5 V +";
    rig.context->Config_Changed();
    EXPECT_EQ(rig.Board().Chart(0).Index(), 0);
    EXPECT_DOUBLE_EQ(rig.Board().Chart(0).Scale(), 100.0 / 500.0);
    rig.context->Config_Changed();   // same type: the history stays
    rig.Board().Lambda_Sample();
    rig.context->Config_Changed();
    EXPECT_EQ(rig.Board().Chart(0).Index(), 1);
}

}   // namespace

namespace {

TEST(Live_Monitor, Status_Bits_Set_The_Flags_The_Sequencer_Waits_For)
{
    Board_Rig rig;
    Sequencer& seq = *rig.context->Sequence;
    rig.Monitor().Status.Status_Changed(0x0003 | 0x0008);
    EXPECT_TRUE(seq.Data_Saved_209);
    EXPECT_TRUE(seq.Data_Saved_211);
    EXPECT_FALSE(seq.Sensitivity_Reported_212);
    rig.Monitor().Status.Status_Changed(0x0003 | 0x2000);
    EXPECT_TRUE(seq.Sensitivity_Reported_212);
}

TEST(Live_Monitor, Sequencer_Status_Messages_Reach_The_List)
{
    Board_Rig rig;
    Sequencer& seq = *rig.context->Sequence;
    ASSERT_TRUE(seq.Post_Status);
    seq.Post_Status("Receiving data", 0x00FFFF);
    seq.Post_Status("Service", 0xFF00FF);
    ASSERT_EQ(rig.Monitor().Messages.Count(), 2);
    EXPECT_EQ(rig.Monitor().Messages.At(0).Colour, QColor(0, 255, 255));
    EXPECT_EQ(rig.Monitor().Messages.At(1).Colour, QColor(255, 0, 255));
    seq.Drop_Status("Receiving data");
    EXPECT_EQ(rig.Monitor().Messages.Count(), 1);
}

TEST(Live_Monitor, Status_Is_Handled_Only_While_The_Link_Is_Up)
{
    Board_Rig rig;
    Live_Consumers& consumers = rig.context->Live->Consumers;
    consumers.On_Status(0);
    EXPECT_EQ(rig.context->Live_Data.Status_Prev, 3);   // kept for the first real answer
    EXPECT_EQ(rig.Monitor().Messages.Count(), 0);
    rig.context->ECU_Connected = true;
    consumers.On_Status(0);
    EXPECT_EQ(rig.Monitor().Messages.Count(), 2);   // engine off, low pressure
}

}   // namespace
