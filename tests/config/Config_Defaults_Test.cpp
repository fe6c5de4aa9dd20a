#include "config/Quorel_Config_Defaults.h"
#include "config/Quorel_Config_Fields.h"

#include "Test_Print.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const Model_Names Models = {"KYT-4", "KYT-6", "KYT-8"};

// A record with every field off its default, as an ECU or a file leaves it.
Configuration_Class Used_Record()
{
    Configuration_Class config;
    config.Set_Program_Name("QGstreamLG6", Models);
    config.Set_Program_Version("6.19");
    config.Program_Date = "2013.05.01";
    config.Work_Gas = 600;
    config.Work_Petrol = 1;
    for (const auto& field : Int_Fields())
        config.*field.Member = 7777;
    for (const auto& field : Flag_Fields())
        config.*field.Member = !field.Default;
    for (const auto& field : Text_Fields())
        if (field.Rule != Field_Default::Identity)
            config.*field.Member = "used";
    config.Work_Gas = 600;
    config.Work_Petrol = 1;
    config.Inject_Num = 6;
    return config;
}

TEST(Config_Defaults, WithoutEcuEveryDefaultIsSet)
{
    Configuration_Class config = Used_Record();
    Set_Config_Defaults(config, false, Models);

    EXPECT_EQ(config.Program_Name, "Unknow");
    EXPECT_EQ(config.Program_Version, "");
    EXPECT_EQ(config.Program_Date, "");
    EXPECT_EQ(config.Work_Gas, 0);
    EXPECT_EQ(config.Work_Petrol, 0);
    EXPECT_EQ(config.Version_Number, 0);
    EXPECT_FALSE(config.Operating_Hours_Shown());

    EXPECT_EQ(config.RPM_Divider, "1:1");
    EXPECT_EQ(config.Inject_Type, "Dresko Alternative Fuel System");
    EXPECT_EQ(config.Pump_Type, "Ostra-40");
    EXPECT_EQ(config.Level_Type, "Dresko");
    EXPECT_EQ(config.MAP_Sensor_Type, "KELLER 30 BAR");
    EXPECT_EQ(config.Lambda_Type, "0 - 1 V");

    EXPECT_EQ(config.RPM_Sensitiv, 250);
    EXPECT_EQ(config.RPM_Filter, 10);
    EXPECT_TRUE(config.RPM_AutoFilter_ON);
    EXPECT_FALSE(config.RPM_Virtual_ON);
    EXPECT_EQ(config.PG_PressInject, 300);
    EXPECT_EQ(config.PG_RPM, 600);
    EXPECT_EQ(config.PG_Time, 20);
    EXPECT_EQ(config.PG_Delay, 5);
    EXPECT_EQ(config.PG_PrimingTime, 40);
    EXPECT_EQ((std::vector<int>{config.PG_PrimingTime_1, config.PG_PrimingTime_2, config.PG_PrimingTime_3,
                                config.PG_PrimingTime_4, config.PG_PrimingTime_5, config.PG_PrimingTime_6}),
              (std::vector<int>{240, 210, 120, 40, 16, 10}));
    EXPECT_TRUE(config.PG_GAS_Accident_ON);
    EXPECT_EQ(config.PG_GAS_Accident_Num, 0);
    EXPECT_TRUE(config.GP_PressMore_ON);
    EXPECT_EQ(config.GP_PressMore, 30);
    EXPECT_EQ(config.GP_PressLess, 300);
    EXPECT_TRUE(config.GP_PressLow_ON);
    EXPECT_EQ(config.GP_PressDrop, 240);
    EXPECT_EQ(config.GP_PressRise, 200);
    EXPECT_EQ(config.GP_PressInit, 50);
    EXPECT_EQ(config.GP_MinPetTime, 50);
    EXPECT_EQ(config.GP_MinGasTime, 10);
    EXPECT_EQ(config.GP_MaxPetTime, 100);
    EXPECT_EQ(config.GP_StoreInterval, 10);
    EXPECT_EQ(config.GP_BackStepNum, 6);
    EXPECT_TRUE(config.GPG_RPM_Temp_ON);
    EXPECT_EQ(config.GPG_RPM_Petrol, 5000);
    EXPECT_EQ(config.GPG_RPM_Gas, 4900);
    EXPECT_EQ(config.GPG_RPM_Idle, 500);
    EXPECT_EQ(config.GPG_CutOff_Cycles, 20);
    EXPECT_FALSE(config.GPG_2Fuel_ON);
    EXPECT_EQ(config.GPG_2Fuel_Temp, 70);
    EXPECT_EQ(config.GPG_2Fuel_Period, 30);
    EXPECT_EQ(config.GPG_2Fuel_RPM_1, 1500);
    EXPECT_EQ(config.GPG_2Fuel_RPM_2, 4000);
    EXPECT_EQ(config.GPG_2Fuel_Petrol_1, 3000);
    EXPECT_EQ(config.GPG_2Fuel_Petrol_2, 6500);
    EXPECT_EQ((std::vector<int>{config.GPG_2Fuel_Time_11, config.GPG_2Fuel_Time_12, config.GPG_2Fuel_Time_21,
                                config.GPG_2Fuel_Time_22}),
              (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(config.GPG_2Fuel_Delay, 30);
    EXPECT_EQ(config.Inject_Range, 32);
    EXPECT_FALSE(config.Inject_Delay_ON);
    EXPECT_EQ(config.Inject_Delay, 800);
    EXPECT_TRUE(config.Petrol_Filter_ON);
    EXPECT_EQ(config.Petrol_Filter_Time, 1200);
    EXPECT_EQ(config.Petrol_Filter_Factor, 50);
    EXPECT_EQ(config.MAZDA_Mode_Factor, 100);
    EXPECT_FALSE(config.NoSequentInject);
    EXPECT_FALSE(config.MonoInject);
    EXPECT_TRUE(config.Pump_Dry_Test_ON);
    EXPECT_EQ(config.Pump_MeasureDelay, 25);
    EXPECT_EQ(config.Pump_PressRise, 130);
    EXPECT_EQ(config.Pump_Time, 95);
    EXPECT_TRUE(config.Pump_Hydr_Cond_ON);
    EXPECT_EQ(config.Pump_Hydr_Cond_Time_On, 150);
    EXPECT_EQ(config.Pump_Hydr_Cond_Time_Off, 30);
    EXPECT_FALSE(config.Level_Invert);
    EXPECT_TRUE(config.Level_90);
    EXPECT_EQ((std::vector<int>{config.Level1, config.Level2, config.Level3, config.Level4, config.Level5}),
              (std::vector<int>{28, 103, 177, 244, 614}));
    EXPECT_TRUE(config.Level_Buzzer_ON);
    EXPECT_FALSE(config.MAP_Sensor_C2_Absolute);
    EXPECT_EQ(config.MAP_Sensor_C1, 6600);
    EXPECT_EQ(config.MAP_Sensor_C2, 1307);
    EXPECT_EQ(config.MAP_Sensor_Aver_Freq, 100);
    EXPECT_EQ(config.Lambda_Scale, 5);
    EXPECT_TRUE(config.Lambda_ON);
}

TEST(Config_Defaults, LeaveTheFieldsWithoutDefaultAlone)
{
    const Configuration_Class used = Used_Record();
    Configuration_Class config = used;
    Set_Config_Defaults(config, false, Models);
    EXPECT_EQ(config.Inject_Num, 6);
    EXPECT_EQ(config.Inject_Start, 7777);
    EXPECT_EQ(config.Inject_Duty, 7777);
    EXPECT_EQ(config.Inject_Period, 7777);
    EXPECT_EQ(config.GF_ETALON, 7777);
    EXPECT_EQ(config.MAP_OffSet, 7777);
    EXPECT_EQ(config.ST_Set, 7777);
    EXPECT_EQ(config.ST_Remains, 7777);
    EXPECT_EQ(config.ST_Speed, 7777);
    EXPECT_EQ(config.ST_Block_Gas, used.ST_Block_Gas);
    for (QString Configuration_Class::*member :
         {&Configuration_Class::Car_Num, &Configuration_Class::Car_Model, &Configuration_Class::Car_Engine,
          &Configuration_Class::Car_Jet, &Configuration_Class::Date_Save, &Configuration_Class::Date_Mounting,
          &Configuration_Class::User_Name, &Configuration_Class::User_Phone, &Configuration_Class::User_Address,
          &Configuration_Class::Car_Comments})
        EXPECT_EQ(config.*member, "used");
}

TEST(Config_Defaults, WithEcuConnectedKeepTheIdentity)
{
    Configuration_Class config = Used_Record();
    Set_Config_Defaults(config, true, Models);
    EXPECT_EQ(config.Program_Name, "KYT-6");
    EXPECT_EQ(config.Program_Version, "6.19");
    EXPECT_EQ(config.Program_Date, "2013.05.01");
    EXPECT_EQ(config.Work_Gas, 600);
    EXPECT_EQ(config.Work_Petrol, 1);
    EXPECT_EQ(config.Version_Number, 619);
    EXPECT_TRUE(config.Operating_Hours_Shown());
    EXPECT_EQ(config.PG_RPM, 600) << "the parameters still take their defaults";
}

TEST(Config_Defaults, RunTwiceGivesTheSameRecord)
{
    Configuration_Class first = Used_Record();
    Set_Config_Defaults(first, false, Models);
    Configuration_Class second = first;
    Set_Config_Defaults(second, false, Models);
    EXPECT_TRUE(first == second);
}

TEST(Config_Start_Up, DefaultsThenTheFileThenTheFixedValues)
{
    Configuration_Class config = Used_Record();
    int loads = 0;
    Start_Up_Config(config, Models, [&](Configuration_Class& loading) {
        ++loads;
        // The loader sees a fresh record with the defaults set.
        EXPECT_EQ(loading.PG_RPM, 600);
        EXPECT_EQ(loading.Inject_Num, 0);
        EXPECT_EQ(loading.GF_ETALON, 0);
        EXPECT_EQ(loading.Car_Num, "");
        EXPECT_EQ(loading.Program_Name, "Unknow");
        loading.PG_RPM = 1200;
        loading.Car_Num = "AB123";
        loading.Inject_Num = 8;
        loading.MAP_OffSet = 0;
        loading.GF_ETALON = 9;
    });
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(config.PG_RPM, 1200);
    EXPECT_EQ(config.Car_Num, "AB123");
    EXPECT_EQ(config.Inject_Num, 4);
    EXPECT_EQ(config.MAP_OffSet, 500);
    EXPECT_EQ(config.GF_ETALON, 1288);
}

TEST(Config_Start_Up, WithoutAFile)
{
    Configuration_Class config;
    Start_Up_Config(config, Models, [](Configuration_Class&) {});
    Configuration_Class expected;
    Set_Config_Defaults(expected, false, Models);
    expected.Inject_Num = 4;
    expected.MAP_OffSet = 500;
    expected.GF_ETALON = 1288;
    EXPECT_TRUE(config == expected);
    EXPECT_EQ(config.Inject_Start, 0);
    EXPECT_EQ(config.Inject_Period, 0);
}

}   // namespace
