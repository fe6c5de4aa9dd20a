#include "app/Quorel_Clock.h"
#include "app/Quorel_Timer.h"
#include "monitor/Quorel_Live_Data.h"
#include "monitor/Quorel_Live_Inputs.h"
#include "monitor/Quorel_Status_Handling.h"
#include "monitor/Quorel_Status_Messages.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Status_Rig
{
    Virtual_Clock clock;
    Quorel_Timer timer_error{clock, "Timer_Error", 2000, false};
    Quorel_Timer timer_short_pulse{clock, "Timer_Short_Pulse", 10000, false};
    QuorelMSG_Class list{timer_error};
    Live_Data_Record live;
    Live_Config config;
    Status_Handling status{list, live, config, timer_short_pulse};
    std::vector<QString> calls;

    Status_Rig()
    {
        auto& h = status.hooks;
        h.Gas_Buttons_Enabled = [this](bool on) { calls.push_back(on ? "gas on" : "gas off"); };
        h.Pump_Test_Start = [this]() { calls.push_back("pump start"); };
        h.Pump_Test_Result = [this](bool passed) { calls.push_back(passed ? "pump passed" : "pump failed"); };
        h.Pump_Label_Hide = [this]() { calls.push_back("label hide"); };
        h.Pumping_Started = [this]() { calls.push_back("pumping"); };
        h.Data_Saved = [this]() { calls.push_back("saved"); };
        h.Threshold_Set = [this]() { calls.push_back("threshold"); };
    }
    QString Shown() const { return list.Shown().Visible ? list.Shown().Text : QStringLiteral("<hidden>"); }
    QStringList Listed() const
    {
        QStringList texts;
        for (int i = 0; i < list.Count(); ++i)
            texts << list.At(i).Text;
        return texts;
    }
};

TEST(Status_Handling, Engine_Stopping_With_Low_Pressure_Alternates_Both_Warnings)
{
    Status_Rig rig;
    rig.status.Status_Changed(0);
    EXPECT_EQ(rig.Listed(), QStringList({"Engine off", "Low pressure"}));
    EXPECT_EQ(rig.list.Shown().Colour, QColor(255, 0, 0));
    EXPECT_EQ(rig.calls, (std::vector<QString>{"gas off", "gas off"}));
    EXPECT_EQ(rig.live.Status_Prev, 0);
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        rig.clock.Advance(2000);
        seen << rig.Shown();
    }
    EXPECT_EQ(seen, QStringList({"Engine off", "Low pressure", "Engine off", "Low pressure"}));
}

TEST(Status_Handling, Engine_Start_Drops_The_Warning_And_Flashes_Good_News)
{
    Status_Rig rig;
    rig.live.Status_Prev = Status_Bit::Pressure_Normal;
    rig.status.Status_Changed(Status_Bit::Pressure_Normal);   // equal: nothing
    EXPECT_EQ(rig.list.Count(), 0);
    rig.list.Post_Message("Engine off", QColor(255, 0, 0));
    rig.status.Status_Changed(Status_Bit::Pressure_Normal | Status_Bit::Engine_Running);
    EXPECT_EQ(rig.list.Count(), 0);
    EXPECT_EQ(rig.Shown(), "Engine on");
    EXPECT_EQ(rig.list.Shown().Colour, QColor(0, 255, 0));
    EXPECT_EQ(rig.calls, (std::vector<QString>{"gas on"}));
    rig.clock.Advance(2000);
    EXPECT_EQ(rig.Shown(), "<hidden>");
}

struct Bit_Case
{
    int prev;
    int word;
    QStringList listed;      // the list afterwards
    QString shown;           // the panel afterwards
    std::vector<QString> calls;
};

TEST(Status_Handling, Each_Changed_Bit_Has_Its_Action)
{
    using namespace Status_Bit;
    const int base = Engine_Running | Pressure_Normal;
    const std::vector<Bit_Case> cases = {
        {base, Engine_Running | Pressure_High, {"High pressure"}, "High pressure", {"gas off"}},
        {base, base | Hold_Idle_To_Save, {"Data not saved in ECU"}, "Data not saved in ECU", {}},
        {base | Hold_Idle_To_Save, base, {}, "<hidden>", {}},
        {base, base | Data_Saved, {}, "Data saved in ECU", {"saved"}},
        {base | Data_Saved, base, {}, "<hidden>", {}},
        {base, base | Pump_Test_Running, {}, "<hidden>", {"pump start"}},
        {base, base | Pump_Test_Finished | Pump_Test_Passed, {}, "<hidden>", {"pump passed"}},
        {base, base | Pump_Test_Finished, {}, "<hidden>", {"pump failed"}},
        {base | Gas_Pump_On | Pump_Test_Finished, base | Gas_Pump_On, {}, "<hidden>", {"pump start"}},
        {base | Pump_Test_Finished, base, {}, "<hidden>", {}},
        {base, base | Start_Pressure_End, {}, "<hidden>", {"label hide"}},
        {base, base | Gas_Pumping, {}, "<hidden>", {"pumping"}},
        {base, base | Gas_Pump_On, {}, "Gas pump on", {}},
        {base | Gas_Pump_On, base, {}, "Gas pump off", {}},
        {base, base | Pressure_Drop, {"Pressure drop"}, "Pressure drop", {}},
        {base | Pressure_Drop, base, {}, "<hidden>", {}},
        {base, base | Sensitivity_Set, {}, "Sensitivity", {"threshold"}},
        {base | Sensitivity_Set, base, {}, "<hidden>", {}},
    };
    for (const Bit_Case& c : cases) {
        Status_Rig rig;
        rig.live.Status_Prev = c.prev;
        // Warnings that the previous word stands for are listed.
        if (c.prev & Hold_Idle_To_Save)
            rig.list.Post_Message("Data not saved in ECU", QColor(255, 0, 0));
        if (c.prev & Pressure_Drop)
            rig.list.Post_Message("Pressure drop", QColor(255, 0, 0));
        if (c.word & Data_Saved)
            rig.list.Post_Message("Data transmission", QColor(0, 255, 255));
        rig.status.Status_Changed(c.word);
        SCOPED_TRACE(QString("prev %1 word %2").arg(c.prev, 0, 16).arg(c.word, 0, 16).toStdString());
        EXPECT_EQ(rig.Listed(), c.listed);
        EXPECT_EQ(rig.Shown(), c.shown);
        EXPECT_EQ(rig.calls, c.calls);
        EXPECT_EQ(rig.live.Status_Prev, c.word);
    }
}

TEST(Status_Handling, The_Pump_Display_Is_Refreshed_On_Every_Word)
{
    Status_Rig rig;
    std::vector<int> refreshed;
    rig.status.hooks.Pump_Refresh = [&](int word) { refreshed.push_back(word); };
    rig.status.Status_Changed(3);
    rig.status.Status_Changed(3 | Status_Bit::Pump_Test_Running);
    rig.status.Status_Changed(3 | Status_Bit::Pump_Test_Running);
    EXPECT_EQ(refreshed, (std::vector<int>{3, 0x103, 0x103}));
    EXPECT_EQ(rig.calls, (std::vector<QString>{"pump start"}));
}

TEST(Status_Handling, Error_Word_Lists_Each_Set_Bit)
{
    Status_Rig rig;
    int rebuilt = 0;
    rig.status.hooks.Errors_Rebuilt = [&]() { ++rebuilt; };
    EXPECT_EQ(rig.status.Error_Lines(), QStringList({"OK"}));   // from the start

    rig.status.Errors_Changed(0x000B);
    EXPECT_EQ(rig.status.Error_Lines(), QStringList({"Temperature AUX1", "Injection pressure", "Short circuit"}));
    EXPECT_FALSE(rig.status.Temperature_Valid());
    EXPECT_EQ(rebuilt, 1);

    rig.status.Errors_Changed(0x000B);
    EXPECT_EQ(rebuilt, 2);   // unchanged, not yet marked shown: rebuilt once more
    rig.status.Errors_Changed(0x000B);
    EXPECT_EQ(rebuilt, 2);   // unchanged and shown
    rig.status.Errors_Not_Shown();
    rig.status.Errors_Changed(0x000B);
    EXPECT_EQ(rebuilt, 3);   // the clear button asks for a fresh list
    rig.status.Errors_Changed(0x000B);
    EXPECT_EQ(rebuilt, 3);

    rig.status.Errors_Changed(0x0002);
    EXPECT_EQ(rig.status.Error_Lines(), QStringList({"Injection pressure"}));
    EXPECT_TRUE(rig.status.Temperature_Valid());
    rig.status.Errors_Changed(0);
    EXPECT_EQ(rig.status.Error_Lines(), QStringList({"OK"}));
}

TEST(Status_Handling, History_Keeps_Each_Error_Once_In_The_Order_Seen)
{
    Status_Rig rig;
    EXPECT_TRUE(rig.status.History_Lines().isEmpty());
    rig.status.Errors_Changed(0x0008);
    rig.status.Errors_Changed(0);          // cleared in the ECU
    EXPECT_EQ(rig.status.Error_Lines(), QStringList({"OK"}));
    EXPECT_EQ(rig.status.History_Lines(), QStringList({"Short circuit"}));
    rig.status.Errors_Changed(0x0009);     // short circuit again, and the sensor
    rig.status.Errors_Changed(0x0002);
    EXPECT_EQ(rig.status.History_Lines(), QStringList({"Short circuit", "Temperature AUX1", "Injection pressure"}));
    rig.status.Errors_Changed(0x00F4);     // bits without a meaning leave no line
    EXPECT_EQ(rig.status.History_Lines().size(), 3);
}

TEST(Status_Handling, Short_Pulse_Warning_Keeps_The_Largest_And_Expires)
{
    Status_Rig rig;
    rig.status.Check_Short_Pulse(850);
    const QString text = "Gas injection time too short: 0.8 ms";
    EXPECT_EQ(rig.Listed(), QStringList({text}));
    EXPECT_EQ(rig.list.At(0).Colour, QColor(255, 0, 0));
    EXPECT_EQ(rig.status.Largest_Short_Pulse(), 8);

    rig.clock.Advance(6000);
    rig.status.Check_Short_Pulse(700);   // smaller: same text, timer restarted
    EXPECT_EQ(rig.Listed(), QStringList({text}));
    rig.clock.Advance(9999);
    EXPECT_EQ(rig.Listed(), QStringList({text}));
    rig.clock.Advance(1);
    EXPECT_EQ(rig.list.Count(), 0);
    EXPECT_FALSE(rig.timer_short_pulse.Enabled());

    rig.status.Check_Short_Pulse(1100);
    EXPECT_EQ(rig.Listed(), QStringList({"Gas injection time too short: 1.1 ms"}));
    rig.status.Check_Short_Pulse(960);   // the larger value stays
    EXPECT_EQ(rig.Listed(), QStringList({"Gas injection time too short: 1.1 ms"}));
}

TEST(Status_Handling, A_First_Pulse_Below_A_Tenth_Millisecond_Posts_A_Real_Text)
{
    Status_Rig rig;
    rig.status.Check_Short_Pulse(50);
    EXPECT_EQ(rig.Listed(), QStringList({"Gas injection time too short: 0.0 ms"}));
    rig.status.Check_Short_Pulse(350);
    EXPECT_EQ(rig.Listed(), QStringList({"Gas injection time too short: 0.3 ms"}));
}

TEST(Status_Handling, A_Larger_Pulse_Replaces_The_Posted_Text)
{
    Status_Rig rig;
    rig.status.Check_Short_Pulse(850);
    rig.status.Check_Short_Pulse(1050);
    EXPECT_EQ(rig.Listed(), QStringList({"Gas injection time too short: 1.0 ms"}));
}

struct Pulse_Case
{
    bool filter_on;
    int filter_time;
    int pulse;
    bool posted;
};

TEST(Status_Handling, Pulses_Outside_The_Range_Or_Filtered_Post_Nothing)
{
    const std::vector<Pulse_Case> cases = {
        {false, 1000, 0, false},   {false, 1000, 1200, false}, {false, 1000, 5000, false},
        {false, 1000, 1199, true}, {true, 1000, 900, false},   {true, 1000, 1000, false},
        {true, 1000, 1100, true},
    };
    for (const Pulse_Case& c : cases) {
        Status_Rig rig;
        rig.config.Petrol_Filter_ON = c.filter_on;
        rig.config.Petrol_Filter_Time = c.filter_time;
        rig.status.Check_Short_Pulse(c.pulse);
        EXPECT_EQ(rig.list.Count() == 1, c.posted) << c.pulse;
        EXPECT_EQ(rig.timer_short_pulse.Enabled(), c.posted) << c.pulse;
    }
}

TEST(Status_Handling, A_Filtered_Pulse_Removes_The_Warning)
{
    Status_Rig rig;
    rig.config.Petrol_Filter_ON = true;
    rig.config.Petrol_Filter_Time = 1000;
    rig.status.Check_Short_Pulse(1100);
    ASSERT_EQ(rig.list.Count(), 1);
    rig.status.Check_Short_Pulse(900);
    EXPECT_EQ(rig.list.Count(), 0);
    EXPECT_FALSE(rig.timer_short_pulse.Enabled());
}

}   // namespace
