#include "Sim_Fixture.h"

#include "app/Quorel_Timer.h"
#include "monitor/Quorel_Live_Decode.h"
#include "monitor/Quorel_Temperature_Table.h"
#include "sim/Quorel_Sim_Engine.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <span>

namespace {

// The reducer NTC (2200 ohm at 25 °C, beta 3950 K) on a 2200 ohm pull-up,
// as the shipped temperature table describes it.
QByteArray Ntc_Table()
{
    QByteArray bytes;
    for (int i = 0; i < Temperature_Table::Record_Count; ++i) {
        const double x = (i + 0.5) / 1024.0;
        const double r = 2200.0 * x / (1.0 - x);
        const double kelvin = 1.0 / (1.0 / 298.15 + std::log(r / 2200.0) / 3950.0);
        const auto t = quint16(qint16(qBound(-400L, std::lround((kelvin - 273.15) * 10.0), 1500L)));
        bytes.append(char(t & 0xFF)).append(char(t >> 8));
    }
    return bytes;
}

// A map with one factor (1/128) at every point.
QByteArray Flat_Map(int raw_factor)
{
    static const int petrol_ms[9] = {0, 2, 4, 6, 9, 12, 16, 20, 25};
    QByteArray map(Sim_Ecu_Store::Map_Size, '\0');
    for (int k = 0; k < 9; ++k) {
        map[6 * k + 2] = char(raw_factor & 0xFF);
        map[6 * k + 3] = char(raw_factor >> 8);
        map[6 * k + 4] = char((petrol_ms[k] * 1000) & 0xFF);
        map[6 * k + 5] = char((petrol_ms[k] * 1000) >> 8);
    }
    return map;
}

struct Engine_Test : Sim_Line_Fixture
{
    Quorel_Timer timer_cut_off{clock, "Timer_Cut_Off", 2000, true};
    Temperature_Table table;
    Live_Data_Record live;
    Live_Decoder decoder{live, table, timer_cut_off};

    void SetUp() override
    {
        Sim_Line_Fixture::SetUp();
        QByteArray bytes = Ntc_Table();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        ASSERT_TRUE(table.Load(buffer));
        Sync_Decoder();
    }

    void Sync_Decoder()
    {
        const auto& p = ecu->Store().Parameters;
        decoder.Config.MAP_Sensor_C1 = qint16(p.at('C'));
        decoder.Config.MAP_Sensor_C2 = qint16(p.at('D'));
        decoder.Config.Inject_Num = p.at('e') & 0xFF;
    }

    void Set_Parameter(char code, quint16 value)
    {
        Sim_Ecu_Store s = ecu->Store();
        s.Parameters[quint8(code)] = value;
        ecu->Set_Store(s);
        Sync_Decoder();
    }

    void Set_Map(const QByteArray& map)
    {
        Sim_Ecu_Store s = ecu->Store();
        s.Map = map;
        ecu->Set_Store(s);
    }

    void Request_Mode(int mask, int mode) { EXPECT_EQ(Exchange(Frame({0x1D, 0x22, mask, mode}), 3).size(), 3); }

    // One live-data poll, decoded by the program's decoder.
    Live_Data_Record Poll()
    {
        const int length = ecu->Config().Live_Length + 3;
        const QByteArray answer = Exchange(Read_Request(0x31), length);
        EXPECT_EQ(answer.size(), length);
        EXPECT_TRUE(Checksum_Ok(answer));
        decoder.Decode_Live_Data(std::span<const quint8>(reinterpret_cast<const quint8*>(answer.constData()),
                                                         size_t(answer.size())));
        return live;
    }

    // Mean petrol time of the running injectors over a few polls.
    double Mean_Petrol(int polls = 10)
    {
        double sum = 0;
        for (int i = 0; i < polls; ++i) {
            clock.Advance(50);
            sum += Poll().Petrol_Mean;
        }
        return sum / polls;
    }
};

TEST_F(Engine_Test, ColdIdleDecodesToPlausibleValues)
{
    clock.Advance(2000);
    const Live_Data_Record d = Poll();
    EXPECT_EQ(d.Work_Mode, Live_Data_Record::Mode_Automat);
    EXPECT_EQ(d.CPU_Freq_MHz, 64);
    EXPECT_EQ(d.Status & 1, 1) << "engine running";
    EXPECT_GE(d.RPM, 760);
    EXPECT_LE(d.RPM, 880);
    EXPECT_NEAR(d.Power, 1400, 10);
    EXPECT_NEAR(d.TempAUX1, 200, 20) << "starts at the ambient 20 °C";
    EXPECT_GE(d.PressInject, 100);
    EXPECT_LE(d.PressInject, 120);
    EXPECT_EQ(d.Factor, 0);
    for (int i = 0; i < Live_Data_Record::Injector_Count; ++i) {
        SCOPED_TRACE(i + 1);
        if (i < 4) {
            EXPECT_GE(d.Petrol_Time[i], 2500);
            EXPECT_LE(d.Petrol_Time[i], 3500);
        } else {
            EXPECT_EQ(d.Petrol_Time[i], 0) << "four injectors configured";
        }
        EXPECT_EQ(d.Gas_Time[i], 0);
    }
}

TEST_F(Engine_Test, SpeedVariesAroundIdleAndLambdaSwingsBetweenLeanAndRich)
{
    int rpm_min = 9999, rpm_max = 0, lambda_min = 999, lambda_max = 0;
    for (int i = 0; i < 60; ++i) {
        clock.Advance(60);
        const Live_Data_Record d = Poll();
        rpm_min = std::min(rpm_min, int(d.RPM));
        rpm_max = std::max(rpm_max, int(d.RPM));
        lambda_min = std::min(lambda_min, int(d.Lambda));
        lambda_max = std::max(lambda_max, int(d.Lambda));
    }
    EXPECT_GE(rpm_min, 760);
    EXPECT_LE(rpm_max, 880);
    EXPECT_GT(rpm_max, rpm_min) << "small variation";
    EXPECT_LT(lambda_min, 25) << "lean";
    EXPECT_GT(lambda_max, 65) << "rich";
}

TEST_F(Engine_Test, PressureFollowsTheSensorCoefficients)
{
    const struct
    {
        quint16 c1, c2;
    } sensors[] = {{6600, 1307}, {5000, 500}, {10000, 0}, {3500, 200}};
    for (const auto& s : sensors) {
        SCOPED_TRACE(::testing::Message() << "C1 " << s.c1 << " C2 " << s.c2);
        Set_Parameter('C', s.c1);
        Set_Parameter('D', s.c2);
        for (bool averaged : {false, true}) {
            decoder.Settings.PRESS_Averaging = averaged;
            clock.Advance(60);
            const int p = Poll().PressInject;
            EXPECT_GE(p, 100);
            EXPECT_LE(p, 120);
        }
    }
}

TEST(Sim_Engine, PressureCodeIsTheSmallestCodeReachingThePressure)
{
    EXPECT_EQ(Sim_Engine::Pressure_Code(110, 0, 1307), 0) << "no slope";
    EXPECT_EQ(Sim_Engine::Pressure_Code(110, -5, 0), 0);
    EXPECT_EQ(Sim_Engine::Pressure_Code(5000, 100, 0), 1023) << "beyond the sensor";
    const int code = Sim_Engine::Pressure_Code(110, 6600, 1307);
    const auto reads = [](int c) { return (qint64(c) * 500 / 1023 * 6600 - 130700) / 1000; };
    EXPECT_GE(reads(code), 110);
    EXPECT_LT(reads(code - 1), 110);
}

TEST_F(Engine_Test, AnswerKeepsTheAnnouncedLength)
{
    for (int length : {68, 40, 10, 120}) {
        SCOPED_TRACE(length);
        Sim_Ecu_Config config;
        config.Live_Length = quint8(length);
        Join(config);
        clock.Advance(100);
        const QByteArray answer = Exchange(Read_Request(0x31), length + 3);
        EXPECT_EQ(answer.size(), length + 3);
        EXPECT_TRUE(Checksum_Ok(answer));
        clock.Advance(400);
        EXPECT_TRUE(Exchange(Read_Request(0x31), length + 10).size() == length + 3) << "nothing more follows";
    }
}

TEST_F(Engine_Test, TemperatureWarmsUpOverMinutes)
{
    std::vector<int> temps;
    for (int s = 0; s <= 300; s += 60) {
        clock.Advance_To(s * 1000 + 10);
        temps.push_back(Poll().TempAUX1);
    }
    EXPECT_NEAR(temps.front(), 200, 20);
    for (size_t i = 1; i < temps.size(); ++i)
        EXPECT_GT(temps[i], temps[i - 1]) << "minute " << i;
    EXPECT_GT(temps.back(), 700);
    EXPECT_LT(temps.back(), 900);
}

TEST_F(Engine_Test, AutomatSwitchesToGasOnceTheReducerIsWarm)
{
    // factory timing: no delay, all injectors at once; 35 °C is reached
    // after about 37 s from 20 °C
    clock.Advance_To(34000);
    EXPECT_EQ(Poll().Work_Mode, Live_Data_Record::Mode_Automat);
    EXPECT_LT(live.TempAUX1, 350);
    clock.Advance_To(41000);
    const Live_Data_Record d = Poll();
    EXPECT_EQ(d.Work_Mode, Live_Data_Record::Mode_Gas);
    EXPECT_GE(d.TempAUX1, 345);
    EXPECT_EQ(d.Gas_Mask, 0x0F);
    EXPECT_EQ(d.Factor, 128) << "factory map 1.00";
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(d.Gas_Time[i], d.Petrol_Time[i]);
    EXPECT_EQ(ecu->Work_Mode(), 2) << "the selection stays automat";
}

TEST_F(Engine_Test, SoftwareLevelReportsItsModeAndCountsGasTime)
{
    EXPECT_EQ(Poll().Level_Mode, 0) << "a resistive sensor has no level mode";
    EXPECT_EQ(live.Level_Counter, 0u);
    Set_Parameter('^', 0x0107);   // divider 1:1, level type "SOFTWARE"
    Set_Parameter(']', 0);
    EXPECT_EQ(Poll().Level_Mode, Sim_Engine::Level_Mode_Wait) << "no reference yet";
    Set_Parameter(']', 1200);
    clock.Advance(100);
    EXPECT_EQ(Poll().Level_Mode, Sim_Engine::Level_Mode_Reference);
    clock.Advance(Sim_Engine::Level_Reference_Ms);
    EXPECT_EQ(Poll().Level_Mode, Sim_Engine::Level_Mode_Pause) << "still on petrol";
    EXPECT_EQ(live.Level_Counter, 0u);
    clock.Advance_To(45000);   // warm enough: on gas
    ASSERT_EQ(Poll().Work_Mode, Live_Data_Record::Mode_Gas);
    EXPECT_EQ(live.Level_Mode, Sim_Engine::Level_Mode_Work);
    const double before = double(live.Level_Counter >> 21);
    clock.Advance(Sim_Engine::Tank_Gas_Ms / 2);
    EXPECT_NEAR(double(Poll().Level_Counter >> 21) - before, 600.0, 3.0) << "half the reference in half the tank's gas time";
    Set_Parameter(']', 1000);
    clock.Advance(100);
    EXPECT_EQ(Poll().Level_Mode, Sim_Engine::Level_Mode_Reference);
    EXPECT_LT(live.Level_Counter >> 21, 2u) << "a new reference fills the tank";
}

TEST_F(Engine_Test, SwitchOverWaitsForTheDelayThenTakesInjectorsOneByOne)
{
    ecu->Engine().Ambient_C = 60;   // a hot engine: only the time counts
    Set_Parameter('_', 5 << 8 | 10);   // 0.5 s between injectors, 10 s after start
    clock.Advance_To(9900);
    EXPECT_EQ(Poll().Work_Mode, Live_Data_Record::Mode_Automat);
    const struct
    {
        qint64 at_ms;
        int mask;
    } steps[] = {{10100, 0x01}, {10600, 0x03}, {11100, 0x07}, {11600, 0x0F}, {15000, 0x0F}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.at_ms);
        clock.Advance_To(s.at_ms);
        const Live_Data_Record d = Poll();
        EXPECT_EQ(d.Work_Mode, Live_Data_Record::Mode_Gas);
        EXPECT_EQ(d.Gas_Mask, s.mask);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(d.Gas_Time[i] > 0, bool(s.mask >> i & 1)) << "injector " << i + 1;
    }
}

TEST_F(Engine_Test, InfoLineCountsDownTheDelayThenWaitsForWarmthThenForTheLastInjector)
{
    Set_Parameter('_', 5 << 8 | 10);   // 0.5 s between injectors, 10 s after start
    const struct
    {
        qint64 at_ms;
        int flags, value;
    } steps[] = {
        {100, 0x02, 10},   // whole seconds left of the delay
        {5500, 0x02, 5},
        {20000, 0x04, 1},   // delay over, reducer still cold: petrol
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.at_ms);
        clock.Advance_To(s.at_ms);
        const Live_Data_Record d = Poll();
        EXPECT_EQ(d.Work_Mode, Live_Data_Record::Mode_Automat);
        EXPECT_EQ(d.Info_Flags, s.flags);
        EXPECT_EQ(d.Info_Value, s.value);
    }
    // Switching injector by injector: tenths until the fourth is on gas.
    while (clock.Now_Ms() < 60000 && Poll().Gas_Mask == 0)
        clock.Advance(50);
    ASSERT_EQ(live.Gas_Mask, 0x01);
    EXPECT_EQ(live.Info_Flags, 0x01);
    EXPECT_GT(live.Info_Value, 10);
    EXPECT_LE(live.Info_Value, 15);
    clock.Advance(1600);
    EXPECT_EQ(Poll().Gas_Mask, 0x0F);
    EXPECT_EQ(live.Info_Flags, 0);

    Request_Mode(0, 1);   // petrol: no info
    clock.Advance(100);
    EXPECT_EQ(Poll().Info_Flags, 0);
}

TEST_F(Engine_Test, PetrolTrimFollowsTheRatioOfTrueToMapFactor)
{
    const struct
    {
        int map_raw;
        double true_factor;
    } cases[] = {{192, 1.20}, {128, 1.30}, {154, 1.20}, {160, 1.60}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "map " << c.map_raw << " true " << c.true_factor);
        Join({});
        ecu->Engine().Ambient_C = Sim_Engine::Warm_Temperature_C;   // constant base time
        ecu->Engine().Set_True_Gas_Factor(c.true_factor);
        Set_Map(Flat_Map(c.map_raw));
        Request_Mode(0, 1);
        clock.Advance(1000);
        const double petrol = Mean_Petrol();
        Request_Mode(0, 4);
        clock.Advance(15000);
        const double on_gas = Mean_Petrol();
        const double expected = c.true_factor / (c.map_raw / 128.0);
        EXPECT_NEAR(on_gas / petrol, expected, 0.02);
        EXPECT_NEAR(ecu->Engine().Petrol_Trim(), expected, 0.005);
        const Live_Data_Record d = Poll();
        EXPECT_EQ(d.Factor, c.map_raw);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(d.Gas_Time[i], d.Petrol_Time[i] * c.map_raw / 128);
        // the gas delivered is what the engine needs on gas
        EXPECT_NEAR(d.Gas_Mean / (petrol * c.true_factor), 1.0, 0.02);
    }
}

TEST_F(Engine_Test, FactorByteComesFromTheMapAtThePetrolTime)
{
    ecu->Engine().Ambient_C = Sim_Engine::Warm_Temperature_C;
    ecu->Engine().Set_True_Gas_Factor(1.25);
    QByteArray map = Flat_Map(128);
    // 2 ms: 1.00, 4 ms: 1.50; idle sits in between
    map[6 * 2 + 2] = char(192);
    Set_Map(map);
    Request_Mode(0, 4);
    clock.Advance(20000);
    const Live_Data_Record d = Poll();
    const int petrol = d.Petrol_Mean;
    const int expected = 128 + (192 - 128) * (petrol - 2000) / 2000;
    EXPECT_NEAR(d.Factor, expected, 2);
    EXPECT_NEAR(d.Gas_Mean, petrol * d.Factor / 128, 8);
}

TEST(Sim_Engine, MapFactorInterpolatesBetweenPoints)
{
    QByteArray map = Flat_Map(100);
    map[6 * 1 + 2] = char(200);   // 2 ms: 200
    const struct
    {
        double petrol_us;
        int factor;
    } cases[] = {{0, 100}, {1000, 150}, {2000, 200}, {3000, 150}, {4000, 100}, {30000, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(Sim_Engine::Map_Factor(map, c.petrol_us), c.factor) << c.petrol_us;
    EXPECT_EQ(Sim_Engine::Map_Factor(QByteArray(), 3000), 128) << "no map";
}

TEST_F(Engine_Test, WorkModeRequestsSelectPetrolAutomatGasAndForcedInjectors)
{
    ecu->Engine().Ambient_C = Sim_Engine::Warm_Temperature_C;
    ecu->Engine().Set_True_Gas_Factor(1.20);
    Set_Map(Flat_Map(192));
    clock.Advance(2000);
    EXPECT_EQ(Poll().Work_Mode, Live_Data_Record::Mode_Gas) << "warm engine in automat";

    Request_Mode(0, 0x81);   // petrol, auto-calibration bit set
    clock.Advance(15000);
    Live_Data_Record d = Poll();
    EXPECT_EQ(d.Work_Mode, Live_Data_Record::Mode_Petrol);
    EXPECT_EQ(d.Gas_Mean, 0);
    EXPECT_NEAR(ecu->Engine().Petrol_Trim(), 1.0, 0.005) << "trim relaxes on petrol";

    // injectors 1 and 3 forced; bits beyond the four injectors are dropped
    Request_Mode(0xF5, 4);
    clock.Advance(15000);
    d = Poll();
    EXPECT_EQ(d.Work_Mode, Live_Data_Record::Mode_Gas);
    EXPECT_EQ(d.Gas_Mask, 0x05);
    EXPECT_GT(d.Gas_Time[0], 0);
    EXPECT_EQ(d.Gas_Time[1], 0);
    EXPECT_GT(d.Gas_Time[2], 0);
    EXPECT_EQ(d.Gas_Time[3], 0);
    // half the cylinders get 1.5 / 1.2 of their fuel: trim 1 / 1.125
    EXPECT_NEAR(ecu->Engine().Petrol_Trim(), 1.0 / 1.125, 0.005);

    Request_Mode(0, 2);
    clock.Advance(2500);   // one injector after the other, 0.5 s apart
    d = Poll();
    EXPECT_EQ(d.Work_Mode, Live_Data_Record::Mode_Gas);
    EXPECT_EQ(d.Gas_Mask, 0x0F) << "automat switches all injectors again";

    Request_Mode(0, 3);   // not a mode: nothing changes
    EXPECT_EQ(ecu->Work_Mode(), 2);
}

}
