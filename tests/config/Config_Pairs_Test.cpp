#include "config/Quorel_Config_Defaults.h"
#include "config/Quorel_Config_Pairs.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const Model_Names Models = {"KYT-4", "KYT-6", "KYT-8"};

Configuration_Class Defaults()
{
    Configuration_Class config;
    Set_Config_Defaults(config, false, Models);
    return config;
}

TEST(Config_Pairs, PressureSwitchOverAboveLowPressureLimit)
{
    Configuration_Class config = Defaults();   // inject 300, less 300: broken, as a file may leave it
    Set_GP_PressLess(config, 200);
    EXPECT_EQ(config.GP_PressLess, 200);
    EXPECT_EQ(config.PG_PressInject, 300) << "unchanged while the rule holds";
    Set_GP_PressLess(config, 300);
    EXPECT_EQ(config.PG_PressInject, 350);
    Set_GP_PressLess(config, 500);
    EXPECT_EQ(config.PG_PressInject, 550);
    Set_PG_PressInject(config, 600);
    EXPECT_EQ(config.GP_PressLess, 500);
    Set_PG_PressInject(config, 500);
    EXPECT_EQ(config.GP_PressLess, 450);
    Set_PG_PressInject(config, 100);
    EXPECT_EQ(config.GP_PressLess, 50);
    EXPECT_LT(config.GP_PressLess, config.PG_PressInject);
}

TEST(Config_Pairs, SwitchOverRpmAboveIdle)
{
    Configuration_Class config = Defaults();   // PG_RPM 600, idle 500
    Set_PG_RPM(config, 500);
    EXPECT_EQ(config.PG_RPM, 600) << "limited to its range";
    EXPECT_EQ(config.GPG_RPM_Idle, 500);
    Set_GPG_RPM_Idle(config, 600);
    EXPECT_EQ(config.PG_RPM, 700);
    Set_GPG_RPM_Idle(config, 1500);
    EXPECT_EQ(config.PG_RPM, 1600);
    Set_PG_RPM(config, 1000);
    EXPECT_EQ(config.GPG_RPM_Idle, 900);
    Set_PG_RPM(config, 3000);
    EXPECT_EQ(config.GPG_RPM_Idle, 900);
}

TEST(Config_Pairs, TemporaryRpmNeverEqual)
{
    Configuration_Class config = Defaults();   // petrol 5000, gas 4900
    Set_GPG_RPM_Petrol(config, 4900);
    EXPECT_EQ(config.GPG_RPM_Petrol, 4900);
    EXPECT_EQ(config.GPG_RPM_Gas, 4800);
    Set_GPG_RPM_Gas(config, 4900);
    EXPECT_EQ(config.GPG_RPM_Petrol, 5000);
    Set_GPG_RPM_Gas(config, 3000);
    EXPECT_EQ(config.GPG_RPM_Petrol, 5000);
}

struct Bounds_Pair
{
    const char* name;
    std::function<void(Configuration_Class&, int)> set_lower;
    std::function<void(Configuration_Class&, int)> set_upper;
    int Configuration_Class::*lower;
    int Configuration_Class::*upper;
    int lower_min;
    int upper_max;
};

class Dual_Fuel_Bounds : public ::testing::TestWithParam<Bounds_Pair>
{
};

TEST_P(Dual_Fuel_Bounds, KeptMoreThanOneStepApart)
{
    const Bounds_Pair& p = GetParam();
    Configuration_Class config = Defaults();
    config.*p.lower = 2000;
    config.*p.upper = 2200;
    p.set_lower(config, 2100);
    EXPECT_EQ(config.*p.lower, 2100);
    EXPECT_EQ(config.*p.upper, 2300) << "raised by one step";
    p.set_upper(config, 2200);
    EXPECT_EQ(config.*p.upper, 2200);
    EXPECT_EQ(config.*p.lower, 2000) << "lowered by one step";
    p.set_upper(config, 2500);
    EXPECT_EQ(config.*p.lower, 2000) << "unchanged while the rule holds";

    // A jump of several steps keeps the rule too.
    p.set_lower(config, 4000);
    EXPECT_LT(config.*p.lower + 100, config.*p.upper);
    EXPECT_EQ(config.*p.upper, 4200);

    // The lower bound cannot go below its range: the upper one stops.
    config.*p.lower = p.lower_min + 100;
    config.*p.upper = p.lower_min + 300;
    p.set_upper(config, p.lower_min + 100);
    EXPECT_EQ(config.*p.lower, p.lower_min);
    EXPECT_EQ(config.*p.upper, p.lower_min + 200);

    p.set_upper(config, p.upper_max + 5000);
    EXPECT_EQ(config.*p.upper, p.upper_max);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, Dual_Fuel_Bounds,
    ::testing::Values(Bounds_Pair{"rpm", Set_GPG_2Fuel_RPM_1, Set_GPG_2Fuel_RPM_2, &Configuration_Class::GPG_2Fuel_RPM_1,
                                  &Configuration_Class::GPG_2Fuel_RPM_2, 1000, 8000},
                      Bounds_Pair{"petrol", Set_GPG_2Fuel_Petrol_1, Set_GPG_2Fuel_Petrol_2,
                                  &Configuration_Class::GPG_2Fuel_Petrol_1, &Configuration_Class::GPG_2Fuel_Petrol_2,
                                  1000, 32000}),
    [](const ::testing::TestParamInfo<Bounds_Pair>& info) { return std::string(info.param.name); });

TEST(Config_Pairs, HoldPwmDutyFollowsPercentAndPeriod)
{
    Configuration_Class config;
    config.Inject_Period = 800;
    Set_Inject_Duty_Percent(config, 30);
    EXPECT_EQ(config.Inject_Duty, 240);
    Set_Inject_Period(config, 1000);
    EXPECT_EQ(config.Inject_Period, 1000);
    EXPECT_EQ(config.Inject_Duty, 300) << "the percentage stays 30";
    Set_Inject_Period(config, 333);
    EXPECT_EQ(config.Inject_Duty, 99) << "integer division";
    EXPECT_EQ(Inject_Duty_Percent(0, 0), 0);
    EXPECT_EQ(Inject_Duty_Percent(240, 800), 30);
    Set_Inject_Period(config, 0);
    EXPECT_EQ(config.Inject_Period, 1) << "the editor's period starts at 1";
}

TEST(Config_Pairs, VirtualRpmNegatesAutoFilter)
{
    Configuration_Class config = Defaults();
    Set_RPM_Virtual(config, true);
    EXPECT_TRUE(config.RPM_Virtual_ON);
    EXPECT_FALSE(config.RPM_AutoFilter_ON);
    Set_RPM_Virtual(config, false);
    EXPECT_TRUE(config.RPM_AutoFilter_ON);
}

TEST(Config_Pairs, FeatureFlagsForcedOffByVersion)
{
    struct Case
    {
        int version;
        bool hydr_and_delay;
        bool two_fuel;
    };
    for (const Case& c : {Case{415, false, false}, Case{416, true, false}, Case{417, true, true},
                          Case{619, true, true}, Case{517, false, false}, Case{8, false, false}}) {
        Configuration_Class config;
        config.Pump_Hydr_Cond_ON = true;
        config.Inject_Delay_ON = true;
        config.GPG_2Fuel_ON = true;
        Force_Version_Flags(config, c.version);
        EXPECT_EQ(config.Pump_Hydr_Cond_ON, c.hydr_and_delay) << c.version;
        EXPECT_EQ(config.Inject_Delay_ON, c.hydr_and_delay) << c.version;
        EXPECT_EQ(config.GPG_2Fuel_ON, c.two_fuel) << c.version;
    }
}

}   // namespace
