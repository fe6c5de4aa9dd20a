#include "config/Quorel_Option_Lists.h"

#include "Test_Print.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(Option_Lists, ProtocolOrderOfEveryList)
{
    EXPECT_EQ(Option_Texts(Option_List::RPM_Divider), QStringList({"1:1", "1:2", "1:3", "1:4", "1:5", "1:6"}));
    EXPECT_EQ(Option_Texts(Option_List::Inject_Type), QStringList({"Dresko Alternative Fuel System", "ANOTHER"}));
    EXPECT_EQ(Option_Texts(Option_List::Pump_Type), QStringList({"Ostra-40", "Ostra-45"}));
    EXPECT_EQ(Option_Texts(Option_List::Level_Type),
              QStringList({"Dresko", "AEB 1050", "HANA", "90 - 0 Om", "AEB 806", "0 - 90 Om", "SOFTWARE"}));
    EXPECT_EQ(Option_Texts(Option_List::MAP_Sensor_Type), QStringList({"KELLER 30 BAR", "ANOTHER"}));
    EXPECT_EQ(Option_Texts(Option_List::Lambda_Type), QStringList({"0 - 1 V", "0 - 5 V +", "0,8 - 1,6 V"}));
}

struct Text_Case
{
    Option_List list;
    int position;
    const char* text;
};

std::ostream& operator<<(std::ostream& out, const Text_Case& c)
{
    return out << "list " << int(c.list) << " position " << c.position;
}

class Option_Text_At : public ::testing::TestWithParam<Text_Case>
{
};

TEST_P(Option_Text_At, GivesEntryOrError)
{
    const Text_Case& c = GetParam();
    EXPECT_EQ(Option_Text(c.list, c.position), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(Positions, Option_Text_At,
                         ::testing::Values(Text_Case{Option_List::RPM_Divider, 1, "1:1"},
                                           Text_Case{Option_List::RPM_Divider, 6, "1:6"},
                                           Text_Case{Option_List::RPM_Divider, 0, "Error"},
                                           Text_Case{Option_List::RPM_Divider, 7, "Error"},
                                           Text_Case{Option_List::RPM_Divider, -1, "Error"},
                                           Text_Case{Option_List::Inject_Type, 2, "ANOTHER"},
                                           Text_Case{Option_List::Inject_Type, 3, "Error"},
                                           Text_Case{Option_List::Pump_Type, 2, "Ostra-45"},
                                           Text_Case{Option_List::Pump_Type, 255, "Error"},
                                           Text_Case{Option_List::Level_Type, 7, "SOFTWARE"},
                                           Text_Case{Option_List::Level_Type, 8, "Error"},
                                           Text_Case{Option_List::MAP_Sensor_Type, 1, "KELLER 30 BAR"},
                                           Text_Case{Option_List::MAP_Sensor_Type, 0, "Error"},
                                           Text_Case{Option_List::Lambda_Type, 3, "0,8 - 1,6 V"},
                                           Text_Case{Option_List::Lambda_Type, 4, "Error"}));

TEST(Option_Lists, PositionComparesWholeTextsExactly)
{
    EXPECT_EQ(Option_Position(Option_List::MAP_Sensor_Type, "KELLER 30 BAR"), 1);
    EXPECT_EQ(Option_Position(Option_List::MAP_Sensor_Type, "keller 30 bar"), 0);
    EXPECT_EQ(Option_Position(Option_List::MAP_Sensor_Type, "KELLER 30"), 0);
    EXPECT_EQ(Option_Position(Option_List::MAP_Sensor_Type, "KELLER 30 BAR "), 0);
    EXPECT_EQ(Option_Position(Option_List::MAP_Sensor_Type, "ANOTHER"), 2);
    EXPECT_EQ(Option_Position(Option_List::Level_Type, "0 - 90 Om"), 6);
    EXPECT_EQ(Option_Position(Option_List::Lambda_Type, "0,8 - 1,6 V"), 3);
    EXPECT_EQ(Option_Position(Option_List::RPM_Divider, ""), 0);
    EXPECT_EQ(Option_Position(Option_List::RPM_Divider, "Error"), 0);
}

TEST(Option_Lists, PositionAndTextAreInverse)
{
    for (Option_List list : {Option_List::RPM_Divider, Option_List::Inject_Type, Option_List::Pump_Type,
                             Option_List::Level_Type, Option_List::MAP_Sensor_Type, Option_List::Lambda_Type}) {
        ASSERT_GT(Option_Count(list), 0);
        for (int position = 1; position <= Option_Count(list); ++position) {
            const QString text = Option_Text(list, position);
            EXPECT_EQ(Option_Position(list, text), position) << int(list) << " " << text.toStdString();
        }
    }
}

TEST(Option_Lists, EntryValues)
{
    ASSERT_NE(Inject_Type_Entry(2), nullptr);
    EXPECT_EQ(Inject_Type_Entry(2)->Inject_Start, 1500);
    EXPECT_EQ(Inject_Type_Entry(2)->Inject_Duty, 240);
    EXPECT_EQ(Inject_Type_Entry(2)->Inject_Period, 800);
    EXPECT_EQ(Inject_Type_Entry(1)->Inject_Period, 0);

    EXPECT_EQ(Pump_Type_Entry(2)->Press_Rise, 130);
    EXPECT_EQ(Pump_Type_Entry(2)->Time, 95);

    const Level_Sensor_Box_Class* aeb = Level_Sensor_Entry(2);
    ASSERT_NE(aeb, nullptr);
    EXPECT_TRUE(aeb->Invert);
    EXPECT_FALSE(aeb->Low_Resistance);
    EXPECT_EQ(aeb->Level, (std::array<int, 5>{806, 512, 306, 213, 47}));
    const Level_Sensor_Box_Class* software = Level_Sensor_Entry(Level_Type_Software);
    EXPECT_STREQ(software->Name, "SOFTWARE");
    EXPECT_EQ(software->Level, (std::array<int, 5>{850, 680, 510, 340, 170}));

    EXPECT_EQ(MAP_Sensor_Entry(1)->C1, 6600);
    EXPECT_EQ(MAP_Sensor_Entry(1)->C2_Absolute, 307);
    EXPECT_EQ(MAP_Sensor_Entry(1)->C2_Relative, 1307);

    EXPECT_EQ(Lambda_Type_Entry(1)->Scale, 5);
    EXPECT_EQ(Lambda_Type_Entry(2)->Scale, 1);
    EXPECT_EQ(Lambda_Type_Entry(3)->Scale, 3);
}

TEST(Option_Lists, ZeroRisingAndFallingLevelSensorsMirrorEachOther)
{
    const Level_Sensor_Box_Class* falling = Level_Sensor_Entry(4);
    const Level_Sensor_Box_Class* rising = Level_Sensor_Entry(6);
    ASSERT_STREQ(falling->Name, "90 - 0 Om");
    ASSERT_STREQ(rising->Name, "0 - 90 Om");
    EXPECT_EQ(rising->Level, (std::array<int, 5>{55, 104, 147, 184, 248}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(falling->Level[std::size_t(i)], rising->Level[std::size_t(4 - i)]);
}

TEST(Option_Lists, EntriesOutsideTheListAreNull)
{
    for (int position : {0, -1, 100}) {
        EXPECT_EQ(Inject_Type_Entry(position), nullptr);
        EXPECT_EQ(Pump_Type_Entry(position), nullptr);
        EXPECT_EQ(Level_Sensor_Entry(position), nullptr);
        EXPECT_EQ(MAP_Sensor_Entry(position), nullptr);
        EXPECT_EQ(Lambda_Type_Entry(position), nullptr);
    }
    EXPECT_EQ(Inject_Type_Entry(3), nullptr);
    EXPECT_EQ(Level_Sensor_Entry(8), nullptr);
    EXPECT_EQ(Lambda_Type_Entry(4), nullptr);
}

}   // namespace
