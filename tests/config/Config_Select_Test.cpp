#include "config/Quorel_Config_Pairs.h"
#include "config/Quorel_Config_Select.h"

#include "Test_Print.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Levels(const Configuration_Class& c) { return {c.Level1, c.Level2, c.Level3, c.Level4, c.Level5}; }

TEST(Config_Select, InjectorTypeCopiesItsTiming)
{
    Configuration_Class config;
    ASSERT_TRUE(Select_Inject_Type(config, 2));
    EXPECT_EQ(config.Inject_Type, "ANOTHER");
    EXPECT_EQ(config.Inject_Start, 1500);
    EXPECT_EQ(config.Inject_Duty, 240);
    EXPECT_EQ(config.Inject_Period, 800);
    EXPECT_EQ(16000 / config.Inject_Period, 20) << "kHz";
    EXPECT_EQ(Inject_Duty_Percent(config.Inject_Duty, config.Inject_Period), 30);
    ASSERT_TRUE(Select_Inject_Type(config, 1));
    EXPECT_EQ(config.Inject_Start, 0);
    EXPECT_EQ(config.Inject_Duty, 0);
    EXPECT_EQ(config.Inject_Period, 0);
}

TEST(Config_Select, LevelTypes)
{
    Configuration_Class config;
    config.GF_ETALON = 1288;
    ASSERT_TRUE(Select_Level_Type(config, 6));
    EXPECT_EQ(config.Level_Type, "0 - 90 Om");
    EXPECT_EQ(Levels(config), (std::vector<int>{55, 104, 147, 184, 248}));
    EXPECT_FALSE(config.Level_Invert);
    EXPECT_TRUE(config.Level_90);
    ASSERT_TRUE(Select_Level_Type(config, 4));
    EXPECT_EQ(Levels(config), (std::vector<int>{248, 184, 147, 104, 55}));
    ASSERT_TRUE(Select_Level_Type(config, 2));
    EXPECT_TRUE(config.Level_Invert);
    EXPECT_FALSE(config.Level_90);
    EXPECT_EQ(config.GF_ETALON, 1288) << "only the software type resets the reference";
    ASSERT_TRUE(Select_Level_Type(config, 7));
    EXPECT_EQ(config.Level_Type, "SOFTWARE");
    EXPECT_EQ(config.GF_ETALON, 0);
    EXPECT_EQ(Levels(config), (std::vector<int>{850, 680, 510, 340, 170}));
}

TEST(Config_Select, PumpAndLambda)
{
    Configuration_Class config;
    ASSERT_TRUE(Select_Pump_Type(config, 2));
    EXPECT_EQ(config.Pump_Type, "Ostra-45");
    EXPECT_EQ(config.Pump_PressRise, 130);
    EXPECT_EQ(config.Pump_Time, 95);
    ASSERT_TRUE(Select_Lambda_Type(config, 2));
    EXPECT_EQ(config.Lambda_Type, "0 - 5 V +");
    EXPECT_EQ(config.Lambda_Scale, 1);
    ASSERT_TRUE(Select_Lambda_Type(config, 3));
    EXPECT_EQ(config.Lambda_Scale, 3);
}

TEST(Config_Select, PositionOutsideTheListChangesNothing)
{
    Configuration_Class config;
    Select_Level_Type(config, 1);
    const Configuration_Class before = config;
    EXPECT_FALSE(Select_Inject_Type(config, 0));
    EXPECT_FALSE(Select_Pump_Type(config, 3));
    EXPECT_FALSE(Select_Level_Type(config, 8));
    EXPECT_FALSE(Select_MAP_Sensor_Type(config, -1));
    EXPECT_FALSE(Select_Lambda_Type(config, 4));
    EXPECT_TRUE(config == before);
}

TEST(Config_Select, PressureSensorOffsets)
{
    Configuration_Class config;
    config.MAP_Sensor_C2_Absolute = false;
    ASSERT_TRUE(Select_MAP_Sensor_Type(config, 1));
    EXPECT_EQ(config.MAP_Sensor_C1, 6600);
    EXPECT_EQ(config.MAP_Sensor_C2, 1307);
    Set_MAP_Sensor_C2_Absolute(config, true);
    EXPECT_EQ(config.MAP_Sensor_C2, 307);
    ASSERT_TRUE(Select_MAP_Sensor_Type(config, 2));
    EXPECT_EQ(config.MAP_Sensor_C2, 307) << "the absolute choice stays";
    Set_MAP_Sensor_C2_Absolute(config, false);
    EXPECT_EQ(config.MAP_Sensor_C2, 1307);
}

struct C2_Case
{
    int c2;
    bool absolute;
};

std::ostream& operator<<(std::ostream& out, const C2_Case& c) { return out << "C2 " << c.c2; }

class C2_Absolute_Derived : public ::testing::TestWithParam<C2_Case>
{
};

TEST_P(C2_Absolute_Derived, FromTheOffset)
{
    Configuration_Class config;
    config.MAP_Sensor_Type = "KELLER 30 BAR";
    config.MAP_Sensor_C2_Absolute = !GetParam().absolute;
    config.MAP_Sensor_C2 = GetParam().c2;
    Derive_MAP_Sensor_C2_Absolute(config);
    EXPECT_EQ(config.MAP_Sensor_C2_Absolute, GetParam().absolute) << GetParam().c2;
}

INSTANTIATE_TEST_SUITE_P(Offsets, C2_Absolute_Derived,
                         ::testing::Values(C2_Case{307, true}, C2_Case{806, true}, C2_Case{807, true},
                                           C2_Case{808, false}, C2_Case{1307, false}, C2_Case{100, true},
                                           C2_Case{10000, false}));

TEST(Config_Select, UnknownSensorTypeKeepsTheAbsoluteFlag)
{
    Configuration_Class config;
    config.MAP_Sensor_Type = "Error";
    config.MAP_Sensor_C2 = 1307;
    config.MAP_Sensor_C2_Absolute = true;
    Derive_MAP_Sensor_C2_Absolute(config);
    EXPECT_TRUE(config.MAP_Sensor_C2_Absolute);
    Set_MAP_Sensor_C2_Absolute(config, false);
    EXPECT_FALSE(config.MAP_Sensor_C2_Absolute);
    EXPECT_EQ(config.MAP_Sensor_C2, 1307);
}

}   // namespace
