#include "config/Quorel_Config_Fields.h"
#include "config/Quorel_Option_Lists.h"

#include "Test_Print.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(Config_Fields, KeysAreUniqueAndMembersDistinct)
{
    QSet<QString> keys;
    for (const auto& field : Int_Fields()) {
        EXPECT_FALSE(keys.contains(field.Key)) << field.Key;
        keys.insert(field.Key);
        for (const auto& other : Int_Fields())
            if (&other != &field) {
                EXPECT_NE(other.Member, field.Member) << field.Key << " " << other.Key;
            }
    }
    for (const auto& field : Flag_Fields()) {
        EXPECT_FALSE(keys.contains(field.Key)) << field.Key;
        keys.insert(field.Key);
    }
    for (const auto& field : Text_Fields()) {
        if (!field.Key)
            continue;
        EXPECT_FALSE(keys.contains(field.Key)) << field.Key;
        keys.insert(field.Key);
    }
    EXPECT_TRUE(keys.contains("PG_PrimingTime_6"));
    EXPECT_TRUE(keys.contains("Level5"));
    EXPECT_TRUE(keys.contains("Car_Comments"));
}

TEST(Config_Fields, RangedDefaultsLieInTheirRangesAndOnTheirSteps)
{
    for (const auto& field : Int_Fields()) {
        if (!field.Ranged)
            continue;
        EXPECT_LT(field.Min, field.Max) << field.Key;
        EXPECT_GE(field.Default, field.Min) << field.Key;
        EXPECT_LE(field.Default, field.Max) << field.Key;
        // The pump's measurement delay defaults to 25 ms between its 10 ms steps.
        if (field.Rule == Field_Default::Defaults && QLatin1String(field.Key) != QLatin1String("Pump_MeasureDelay")) {
            EXPECT_EQ((field.Default - field.Min) % field.Step, 0) << field.Key;
        }
    }
}

TEST(Config_Fields, EntryValueDefaultsAreTheFirstEntries)
{
    auto default_of = [](const char* key) { return Find_Int_Field(key)->Default; };
    EXPECT_EQ(default_of("Pump_PressRise"), Pump_Type_Entry(1)->Press_Rise);
    EXPECT_EQ(default_of("Pump_Time"), Pump_Type_Entry(1)->Time);
    const char* levels[] = {"Level1", "Level2", "Level3", "Level4", "Level5"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(default_of(levels[i]), Level_Sensor_Entry(1)->Level[std::size_t(i)]);
    EXPECT_EQ(Find_Flag_Field("Level_Invert")->Default, Level_Sensor_Entry(1)->Invert);
    EXPECT_EQ(Find_Flag_Field("Level_90")->Default, Level_Sensor_Entry(1)->Low_Resistance);
    EXPECT_EQ(default_of("MAP_Sensor_C1"), MAP_Sensor_Entry(1)->C1);
    EXPECT_FALSE(Find_Flag_Field("MAP_Sensor_C2_Absolute")->Default);
    EXPECT_EQ(default_of("MAP_Sensor_C2"), MAP_Sensor_Entry(1)->C2_Relative);
    EXPECT_EQ(default_of("Lambda_Scale"), Lambda_Type_Entry(1)->Scale);
    for (Option_List list : {Option_List::RPM_Divider, Option_List::Inject_Type, Option_List::Pump_Type,
                             Option_List::Level_Type, Option_List::MAP_Sensor_Type, Option_List::Lambda_Type}) {
        const QString first = Option_Text(list, 1);
        bool found = false;
        for (const auto& field : Text_Fields())
            found = found || (field.Rule == Field_Default::Defaults && first == QString::fromUtf8(field.Default));
        EXPECT_TRUE(found) << first.toStdString();
    }
}

TEST(Config_Fields, FieldsKeptOutOfTheFile)
{
    for (const char* key : {"Lambda_Scale", "ST_Set", "ST_Remains", "ST_Speed"})
        EXPECT_FALSE(Find_Int_Field(key)->In_File) << key;
    EXPECT_FALSE(Find_Flag_Field("MAP_Sensor_C2_Absolute")->In_File);
    EXPECT_FALSE(Find_Flag_Field("ST_Block_Gas")->In_File);
    EXPECT_TRUE(Find_Int_Field("MAP_Sensor_Aver_Freq")->In_File);
    EXPECT_EQ(Find_Text_Field("Car_Num"), nullptr);
    EXPECT_EQ(Find_Int_Field("No_Such_Field"), nullptr);
}

struct Clamp_Case
{
    const char* key;
    int value;
    int clamped;
};

std::ostream& operator<<(std::ostream& out, const Clamp_Case& c) { return out << c.key << " = " << c.value; }

class Clamp_To_Editing_Range : public ::testing::TestWithParam<Clamp_Case>
{
};

TEST_P(Clamp_To_Editing_Range, Value)
{
    const Clamp_Case& c = GetParam();
    const Int_Field_Description* field = Find_Int_Field(c.key);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(Clamp_To_Range(*field, c.value), c.clamped);
    Configuration_Class config;
    config.*field->Member = c.value;
    EXPECT_EQ(Clamped_Value(config, *field), c.clamped);
    EXPECT_EQ(config.*field->Member, c.value) << "the record keeps the received value";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Clamp_To_Editing_Range,
    ::testing::Values(Clamp_Case{"PG_RPM", 100, 600}, Clamp_Case{"PG_RPM", 600, 600}, Clamp_Case{"PG_RPM", 8000, 8000},
                      Clamp_Case{"PG_RPM", 8001, 8000}, Clamp_Case{"PG_RPM", 650, 650},
                      Clamp_Case{"RPM_Sensitiv", 9, 10}, Clamp_Case{"RPM_Sensitiv", 2050, 2000},
                      Clamp_Case{"RPM_Filter", 0, 1}, Clamp_Case{"GP_PressMore", 31, 30},
                      Clamp_Case{"GP_PressMore", 14, 15}, Clamp_Case{"GP_PressInit", -10, 0},
                      Clamp_Case{"Petrol_Filter_Factor", 200, 199}, Clamp_Case{"MAZDA_Mode_Factor", 0, 1},
                      Clamp_Case{"GPG_2Fuel_Temp", 20, 30}, Clamp_Case{"GPG_2Fuel_Temp", 121, 120},
                      Clamp_Case{"GPG_2Fuel_Delay", 256, 255}, Clamp_Case{"Level3", 1024, 1023},
                      Clamp_Case{"Level1", -1, 0}, Clamp_Case{"GF_ETALON", 70000, 65535},
                      Clamp_Case{"GF_ETALON", -5, 0}, Clamp_Case{"Inject_Num", 1, 2}, Clamp_Case{"Inject_Num", 9, 8},
                      Clamp_Case{"Inject_Start", 40000, 32767}, Clamp_Case{"Inject_Period", 0, 0},
                      Clamp_Case{"MAP_Sensor_C1", 0, 100}, Clamp_Case{"MAP_Sensor_C2", 10001, 10000},
                      Clamp_Case{"ST_Speed", 300, 200}, Clamp_Case{"ST_Set", 40000, 32000},
                      // Fields without an editing range pass unchanged.
                      Clamp_Case{"MAP_OffSet", -700, -700}, Clamp_Case{"MAP_Sensor_Aver_Freq", 99999, 99999},
                      Clamp_Case{"ST_Remains", 123456, 123456}));

TEST(Config_Fields, InjectDelayIsClampedAsItsShownValue)
{
    const Int_Field_Description& field = *Find_Int_Field("Inject_Delay");
    Configuration_Class config;
    config.Petrol_Filter_ON = true;
    config.Petrol_Filter_Time = 1200;
    config.Inject_Delay = 800;
    EXPECT_EQ(Inject_Delay_Shown(config), 2000);
    EXPECT_EQ(Clamped_Value(config, field), 800);
    config.Inject_Delay = 31500;   // shown 32700
    EXPECT_EQ(Clamped_Value(config, field), 32000 - 1200);
    config.Petrol_Filter_ON = false;
    EXPECT_EQ(Clamped_Value(config, field), 31500);
    config.Inject_Delay = 100;
    EXPECT_EQ(Clamped_Value(config, field), 200);

    config.Petrol_Filter_ON = true;
    Set_Inject_Delay_Shown(config, 2500);
    EXPECT_EQ(config.Inject_Delay, 1300);
}

TEST(Config_Fields, StepsOfTheEditor)
{
    const Int_Field_Description& sensitivity = *Find_Int_Field("RPM_Sensitiv");
    EXPECT_EQ(Step_Up(sensitivity, 250), 260);
    EXPECT_EQ(Step_Up(sensitivity, 290), 300);
    EXPECT_EQ(Step_Up(sensitivity, 300), 350);
    EXPECT_EQ(Step_Down(sensitivity, 350), 300);
    EXPECT_EQ(Step_Down(sensitivity, 320), 300);
    EXPECT_EQ(Step_Down(sensitivity, 300), 290);
    EXPECT_EQ(Step_Down(sensitivity, 10), 10);
    EXPECT_EQ(Step_Up(sensitivity, 2000), 2000);
    EXPECT_EQ(Step_Up(*Find_Int_Field("PG_PrimingTime"), 40), 42);
    EXPECT_EQ(Step_Down(*Find_Int_Field("GPG_RPM_Idle"), 500), 500);
    EXPECT_EQ(Step_Up(*Find_Int_Field("PG_RPM"), 7950), 8000);
}

struct Inject_Num_Case
{
    int value;
    int version;
    int count;   // sizing and indexing
    int edit;    // as the editor offers it
};

std::ostream& operator<<(std::ostream& out, const Inject_Num_Case& c)
{
    return out << c.value << " at " << c.version;
}

class Inject_Num_Limits : public ::testing::TestWithParam<Inject_Num_Case>
{
};

TEST_P(Inject_Num_Limits, ByUseAndFamily)
{
    const Inject_Num_Case& c = GetParam();
    EXPECT_EQ(Inject_Num_Count(c.value), c.count);
    EXPECT_EQ(Inject_Num_Edit_Value(c.value, c.version), c.edit);
}

INSTANTIATE_TEST_SUITE_P(Cases, Inject_Num_Limits,
                         ::testing::Values(Inject_Num_Case{0, 417, 2, 2}, Inject_Num_Case{-3, 817, 2, 2},
                                           Inject_Num_Case{4, 417, 4, 4}, Inject_Num_Case{6, 417, 6, 4},
                                           Inject_Num_Case{6, 617, 6, 6}, Inject_Num_Case{8, 617, 8, 6},
                                           Inject_Num_Case{7, 817, 7, 6}, Inject_Num_Case{8, 817, 8, 8},
                                           Inject_Num_Case{255, 817, 8, 8}, Inject_Num_Case{8, 0, 8, 8},
                                           Inject_Num_Case{3, 417, 3, 3}));

}   // namespace
