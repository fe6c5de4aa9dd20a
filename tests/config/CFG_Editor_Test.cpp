#include "app/Quorel_Clock.h"
#include "app/Quorel_Context.h"
#include "config/Quorel_CFG_Editor.h"
#include "config/Quorel_Config_Defaults.h"
#include "config/Quorel_Config_Fields.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Sequencer.h"
#include "link/Quorel_Serial_Virtual.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using C = Configuration_Class;

class CFG_Editor_Test : public ::testing::Test
{
protected:
    CFG_Editor_Test()
    {
        context = std::make_unique<Quorel_Context>(clock, std::make_unique<Virtual_Serial_Port>(clock), dir.path(),
                                                   QStringLiteral("QuorelGAS"));
        Set_Config_Defaults(context->Config_Data, false, context->App_Settings.Name_Block_PIC);
        context->Config_Data.Set_Program_Version(QStringLiteral("4.19"));
        context->Config_Data.Version_Number = 419;
        editor = std::make_unique<CFG_Editor>(*context);
    }

    void Connect_With_Transmit_Now()
    {
        context->ECU_Connected = true;
        context->App_Settings.Transmit_Now = true;
    }

    C& Config() { return context->Config_Data; }

    QTemporaryDir dir;
    Virtual_Clock clock;
    std::unique_ptr<Quorel_Context> context;
    std::unique_ptr<CFG_Editor> editor;
};

TEST_F(CFG_Editor_Test, QuickChangesSendOneWriteWithTheLastValue)
{
    Connect_With_Transmit_Now();
    editor->Edit_Int(&C::PG_PressInject, 400);
    clock.Advance(300);
    editor->Edit_Int(&C::PG_PressInject, 410);
    clock.Advance(300);
    editor->Edit_Int(&C::PG_PressInject, 420);
    EXPECT_EQ(editor->State(), CFG_Editor::Transmit_State::Waiting);
    EXPECT_TRUE(editor->Code_Unlocked('H'));
    EXPECT_FALSE(editor->Code_Unlocked('K')) << "only the changed parameter stays editable";
    EXPECT_TRUE(editor->Code_Unlocked(0));

    clock.Advance(699);
    EXPECT_EQ(context->Pending_Request, 0) << "each change restarts the 700 ms wait";
    clock.Advance(1);
    EXPECT_EQ(context->Pending_Request, 'H');
    EXPECT_EQ(Config().PG_PressInject, 420);
    EXPECT_EQ(editor->State(), CFG_Editor::Transmit_State::Sending);
    EXPECT_FALSE(editor->Code_Unlocked('H'));

    context->Pending_Request = 0;   // the sequencer took it
    clock.Advance(999);
    EXPECT_EQ(editor->State(), CFG_Editor::Transmit_State::Sending);
    clock.Advance(1);
    EXPECT_EQ(editor->State(), CFG_Editor::Transmit_State::Idle);
    EXPECT_TRUE(editor->Code_Unlocked('K'));
    clock.Advance(5000);
    EXPECT_EQ(context->Pending_Request, 0) << "one write only";
}

TEST_F(CFG_Editor_Test, ImmediateTransmissionNeedsAllConditions)
{
    struct Case
    {
        bool transmit_now, connected, window_enabled, expect_send;
    };
    const Case cases[] = {
        {true, true, true, true},
        {false, true, true, false},
        {true, false, true, false},
        {true, true, false, false},
    };
    for (const Case& c : cases) {
        context->Pending_Request = 0;
        context->App_Settings.Transmit_Now = c.transmit_now;
        context->ECU_Connected = c.connected;
        editor->Window_Enabled = [&c]() { return c.window_enabled; };
        editor->Edit_Int(&C::GP_Time, 7);
        clock.Advance(2000);
        EXPECT_EQ(context->Pending_Request, c.expect_send ? 'd' : 0)
            << c.transmit_now << c.connected << c.window_enabled;
        EXPECT_EQ(Config().GP_Time, 7) << "the value is stored in every case";
    }
}

TEST_F(CFG_Editor_Test, CoupledRpmLimitsMoveTheirPartner)
{
    Connect_With_Transmit_Now();
    Config().PG_RPM = 1500;
    Config().GPG_RPM_Idle = 1100;
    editor->Edit_Int(&C::PG_RPM, 1000);
    EXPECT_EQ(Config().PG_RPM, 1000);
    EXPECT_EQ(Config().GPG_RPM_Idle, 900);
    clock.Advance(700);
    EXPECT_EQ(context->Pending_Request, 'I');

    Config().PG_RPM = 600;
    Config().GPG_RPM_Idle = 500;
    editor->Edit_Int(&C::GPG_RPM_Idle, 700);
    EXPECT_EQ(Config().GPG_RPM_Idle, 700);
    EXPECT_EQ(Config().PG_RPM, 800);
}

TEST_F(CFG_Editor_Test, TypedValuesAreClampedToTheRange)
{
    struct Case
    {
        int C::*member;
        int typed;
        int stored;
    };
    const Case cases[] = {
        {&C::RPM_Sensitiv, 5, 10},        {&C::RPM_Sensitiv, 99999, 2000}, {&C::GP_PressMore, 40, 30},
        {&C::Pump_Time, -3, 0},           {&C::MAP_Sensor_C1, 0, 100},    {&C::Inject_Period, 0, 1},
        {&C::GPG_2Fuel_Delay, 300, 255},  {&C::Level3, 2000, 1023},
    };
    for (const Case& c : cases) {
        editor->Edit_Int(c.member, c.typed);
        EXPECT_EQ(Config().*c.member, c.stored) << Find_Int_Field(c.member)->Key << " " << c.typed;
    }
}

TEST(CFG_Editor_Inject_Num, StepsSkipSevenAndFollowPairsAndFamily)
{
    struct Case
    {
        int current, direction;
        bool pairs;
        int version, next;
    };
    const Case cases[] = {
        {6, +1, false, 819, 8}, {8, -1, false, 819, 6}, {5, +1, false, 819, 6}, {4, +1, true, 819, 6},
        {8, +1, false, 819, 8}, {2, -1, false, 819, 2}, {4, +1, false, 419, 4}, {6, +1, false, 619, 6},
        {2, +1, true, 619, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Next_Inject_Num(c.current, c.direction, c.pairs, c.version), c.next)
            << c.current << " " << c.direction << " " << c.pairs << " " << c.version;
}

TEST_F(CFG_Editor_Test, FilterOffKeepsTheShownDelay)
{
    Config().Petrol_Filter_ON = true;
    Config().Petrol_Filter_Time = 1200;
    editor->Edit_Inject_Delay_Shown(2000);
    EXPECT_EQ(Config().Inject_Delay, 800);
    editor->Edit_Flag(&C::Petrol_Filter_ON, false);
    EXPECT_EQ(Config().Inject_Delay, 2000);
    EXPECT_EQ(Inject_Delay_Shown(Config()), 2000);
}

TEST_F(CFG_Editor_Test, FilterOnWithShortDelaySetsTheFloor)
{
    Config().Petrol_Filter_ON = false;
    Config().Petrol_Filter_Time = 1200;
    Config().Inject_Delay = 1000;
    editor->Edit_Flag(&C::Petrol_Filter_ON, true);
    EXPECT_EQ(Config().Inject_Delay, 100);
    EXPECT_EQ(Inject_Delay_Shown(Config()), 1300);

    editor->Edit_Int(&C::Petrol_Filter_Time, 1000);   // shown 1300 >= 1000 + 100
    EXPECT_EQ(Config().Inject_Delay, 300);
    EXPECT_EQ(Inject_Delay_Shown(Config()), 1300);
}

TEST_F(CFG_Editor_Test, EditedDelayNeverStoresBelowItsFloor)
{
    struct Case
    {
        int filter_time, shown, filter_after, delay_after;
    };
    const Case cases[] = {
        {1200, 1300, 1100, 200},   // one step of the filter time is enough
        {1200, 1200, 1100, 100},
        {1200, 200, 100, 100},     // the filter time gives way to its minimum
        {1200, 3000, 1200, 1800},
    };
    for (const Case& c : cases) {
        Config().Petrol_Filter_ON = true;
        Config().Petrol_Filter_Time = c.filter_time;
        editor->Edit_Inject_Delay_Shown(c.shown);
        EXPECT_EQ(Config().Petrol_Filter_Time, c.filter_after) << c.shown;
        EXPECT_EQ(Config().Inject_Delay, c.delay_after) << c.shown;
        EXPECT_EQ(Inject_Delay_Shown(Config()), c.shown);
    }
}

TEST_F(CFG_Editor_Test, ListTextNotAnEntryChangesNothing)
{
    context->ECU_Connected = true;
    Config().RPM_Divider = "1:2";
    EXPECT_FALSE(editor->Edit_List(Option_List::RPM_Divider, QStringLiteral("1:9")));
    EXPECT_EQ(Config().RPM_Divider, "1:2");
    EXPECT_EQ(context->Pending_Request, 0);
    EXPECT_FALSE(editor->Edit_List(Option_List::Pump_Type, QStringLiteral("Ostra")));

    // A divider goes out at once, without "Transmit_Now".
    EXPECT_TRUE(editor->Edit_List(Option_List::RPM_Divider, QStringLiteral("1:3")));
    EXPECT_EQ(Config().RPM_Divider, "1:3");
    EXPECT_EQ(context->Pending_Request, '^');
}

TEST_F(CFG_Editor_Test, InjectorTypeAnotherCopiesItsTiming)
{
    ASSERT_TRUE(editor->Edit_List(Option_List::Inject_Type, QStringLiteral("ANOTHER")));
    EXPECT_EQ(Config().Inject_Start, 1500);
    EXPECT_EQ(Config().Inject_Duty, 240);
    EXPECT_EQ(Config().Inject_Period, 800);
    EXPECT_TRUE(Enabling_Rules(Config(), true).Inject_Another_Fields);
    ASSERT_TRUE(editor->Edit_List(Option_List::Inject_Type, QStringLiteral("Dresko Alternative Fuel System")));
    EXPECT_EQ(Config().Inject_Period, 0);
    EXPECT_FALSE(Enabling_Rules(Config(), true).Inject_Another_Fields);
}

TEST_F(CFG_Editor_Test, CarNumberNamesTheFileAndItsStatus)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Config")));
    context->App_Settings.CFG_File_Path = dir.filePath(QStringLiteral("Config"));
    QFile existing(dir.filePath(QStringLiteral("Config/OLD1.cfg")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    Config().Car_Num = "AB123";

    EXPECT_EQ(editor->Edit_Car_Num(QStringLiteral("ABCDEFGHI")), "ABCDEFGH");
    EXPECT_EQ(context->App_Settings.CFG_File_Name, "ABCDEFGH.cfg");
    // characters the ECU's block cannot carry are refused, the rest kept
    EXPECT_EQ(editor->Edit_Car_Num(QString::fromUtf8("AЖ1€") + QChar(0xFF) + QChar(0) + "Ü2"), QString::fromUtf8("A1Ü2"));
    EXPECT_EQ(context->App_Settings.CFG_File_Name, QString::fromUtf8("A1Ü2.cfg"));

    struct Case
    {
        const char* text;
        CFG_File_Status status;
    };
    const Case cases[] = {
        {"", CFG_File_Status::Hidden},
        {"ab123", CFG_File_Status::Current},
        {"OLD1", CFG_File_Status::Exists},
        {"NEW9", CFG_File_Status::New},
    };
    for (const Case& c : cases)
        EXPECT_EQ(editor->File_Status(QLatin1String(c.text)), c.status) << c.text;
    EXPECT_STREQ(File_Status_Key(CFG_File_Status::Exists), "Error_ExistWrite");
}

TEST_F(CFG_Editor_Test, ServiceTimeMileageAndSpeed)
{
    context->ECU_Connected = true;
    Config().ST_Speed = 50;
    editor->Edit_ST_Set(200);
    EXPECT_EQ(editor->ST_Mileage(), 10000);
    editor->Edit_ST_Mileage(15000);
    EXPECT_EQ(Config().ST_Set, 300);
    editor->Edit_ST_Speed(60);
    EXPECT_EQ(Config().ST_Speed, 60);
    EXPECT_EQ(Config().ST_Set, 250);
    editor->Edit_ST_Speed(0);
    editor->Edit_ST_Mileage(9000);
    EXPECT_EQ(Config().ST_Set, 250) << "speed 0 leaves the interval";

    editor->ST_Set();
    EXPECT_EQ(Config().ST_Remains, 250 * 60);
    EXPECT_EQ(context->Pending_Request, 23);
    editor->ST_Refresh();
    EXPECT_EQ(context->Pending_Request, 24);
    editor->ST_Clear();
    EXPECT_EQ(Config().ST_Set, 0);
    EXPECT_EQ(Config().ST_Remains, 0);
    EXPECT_FALSE(Config().ST_Block_Gas);
    EXPECT_EQ(context->Pending_Request, 23);
}

TEST_F(CFG_Editor_Test, RequestsNeedAConnectedEcu)
{
    context->ECU_Connected = false;
    editor->ST_Set();
    editor->ST_Refresh();
    editor->Accident_Clear();
    editor->Level_Reference_Set();
    EXPECT_TRUE(editor->Edit_List(Option_List::RPM_Divider, QStringLiteral("1:4")));
    EXPECT_EQ(context->Pending_Request, 0);
    context->ECU_Connected = true;
    editor->Accident_Clear();
    EXPECT_EQ(context->Pending_Request, 22);
}

TEST(CFG_Editor_Level, ReferenceRoundTrip)
{
    for (int p : {0, 1, 10, 240, 1000, 5000, Level_Reference_Max}) {
        const int gf = GF_ETALON_For_Reference(p);
        EXPECT_EQ(Level_Reference_Of(gf), p) << p;
        EXPECT_TRUE(gf == 0 || Level_Reference_Of(gf - 1) < p) << "smallest GF_ETALON for " << p;
        EXPECT_LE(gf, 65535);
    }
    EXPECT_EQ(Level_Reference_Of(1288), 240);
}

TEST(CFG_Editor_Enabling, FollowsVersionAndSensorState)
{
    Configuration_Class config;
    Set_Config_Defaults(config, false, {"KYT-4", "KYT-6", "KYT-8"});
    config.Pump_Dry_Test_ON = true;
    config.GPG_2Fuel_ON = true;
    config.Inject_Delay_ON = true;
    struct Case
    {
        int version;
        bool hydr_box, delay_value, two_fuel_box;
    };
    const Case cases[] = {{415, false, false, false}, {416, true, true, false}, {417, true, true, true},
                          {419, true, true, true},    {516, false, false, false}};
    for (const Case& c : cases) {
        config.Version_Number = c.version;
        const CFG_Enabling on = Enabling_Rules(config, true);
        EXPECT_EQ(on.Pump_Hydr_Cond_Box, c.hydr_box) << c.version;
        EXPECT_EQ(on.Inject_Delay_Value, c.delay_value) << c.version;
        EXPECT_EQ(on.GPG_2Fuel_Box, c.two_fuel_box) << c.version;
    }
    config.Version_Number = 419;
    EXPECT_TRUE(Enabling_Rules(config, true).GPG_2Fuel_Temperature);
    EXPECT_FALSE(Enabling_Rules(config, false).GPG_2Fuel_Temperature) << "needs a valid temperature sensor";
    EXPECT_TRUE(Enabling_Rules(config, false).Priming_Time);
    EXPECT_FALSE(Enabling_Rules(config, false).Priming_Table);

    config.MonoInject = true;
    EXPECT_FALSE(Enabling_Rules(config, true).Sequential_Boxes);
    EXPECT_FALSE(Enabling_Rules(config, true).Petrol_Pass_Box);
    config.MonoInject = false;
    config.NoSequentInject = true;
    EXPECT_TRUE(Enabling_Rules(config, true).Petrol_Pass_Box);
}

TEST_F(CFG_Editor_Test, MonoInjectionUnticksItsBoxes)
{
    Config().Petrol_Filter_ON = true;
    Config().Petrol_Filter_Time = 1200;
    Config().Inject_Delay = 800;
    Config().MAZDA_Mode_ON = true;
    Config().Inject_Delay_ON = true;
    editor->Edit_Injection_Mode(Injection_Mode::Mono);
    EXPECT_TRUE(Config().MonoInject);
    EXPECT_FALSE(Config().NoSequentInject);
    EXPECT_FALSE(Config().Petrol_Filter_ON);
    EXPECT_FALSE(Config().MAZDA_Mode_ON);
    EXPECT_FALSE(Config().Inject_Delay_ON);
    EXPECT_EQ(Config().Inject_Delay, 2000) << "the shown delay is kept";

    editor->Edit_Injection_Mode(Injection_Mode::Sequential);
    EXPECT_FALSE(Config().MonoInject);
    EXPECT_TRUE(Config().Petrol_Filter_ON) << "ticked when the injection becomes sequential";
    EXPECT_EQ(Inject_Delay_Shown(Config()), 2000);
}

TEST_F(CFG_Editor_Test, PressurePreviewUsesTheNewCoefficients)
{
    context->Live_Data.Press_Volt = 250;   // 2.50 V
    Config().MAP_Sensor_C1 = 6600;
    Config().MAP_Sensor_C2 = 1307;
    EXPECT_EQ(editor->Pressure_Preview(), (250 * 6600 - 130700) / 1000);
    editor->Edit_Int(&C::MAP_Sensor_C1, 10000);
    EXPECT_EQ(editor->Pressure_Preview(), (250 * 10000 - 130700) / 1000);
    EXPECT_EQ(Pressure_From_Volt(0, 6600, 1307), 0) << "never negative";
}

TEST_F(CFG_Editor_Test, C2EditingDerivesAbsolute)
{
    ASSERT_TRUE(editor->Edit_List(Option_List::MAP_Sensor_Type, QStringLiteral("KELLER 30 BAR")));
    editor->Edit_Int(&C::MAP_Sensor_C2, 807);
    EXPECT_TRUE(Config().MAP_Sensor_C2_Absolute);
    editor->Edit_Int(&C::MAP_Sensor_C2, 808);
    EXPECT_FALSE(Config().MAP_Sensor_C2_Absolute);
    editor->Edit_C2_Absolute(true);
    EXPECT_EQ(Config().MAP_Sensor_C2, 307);
}

}   // namespace

namespace {

TEST_F(CFG_Editor_Test, BlockGasShowsItsMessageOnlyWhenTheTimeIsOver)
{
    QStringList posted, dropped;
    context->Sequence->Post_Status = [&posted](const QString& text, quint32) { posted.append(text); };
    context->Sequence->Drop_Status = [&dropped](const QString& text) { dropped.append(text); };
    Config().ST_Set = 10;
    Config().ST_Remains = 0;
    editor->Edit_ST_Block_Gas(true);
    EXPECT_EQ(posted, QStringList{Text("ST_Message_Block_Indic")});
    editor->Edit_ST_Block_Gas(false);
    EXPECT_EQ(dropped, QStringList{Text("ST_Message_Block_Indic")});
    Config().ST_Remains = 60;
    editor->Edit_ST_Block_Gas(true);
    EXPECT_EQ(posted.size(), 1) << "time not over: no message";
    EXPECT_TRUE(Config().ST_Block_Gas);
}

}   // namespace
