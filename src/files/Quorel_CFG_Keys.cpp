#include "files/Quorel_CFG_Keys.h"



namespace {

const CFG_Key Key_Table[] = {
    {"Program_Name", 1}, {"Program_Version", 1}, {"Program_Date", 1},
    {"Work_Gas", 2}, {"Work_Petrol", 2},
    {"RPM_Divider", 3}, {"RPM_Sensitiv", 3}, {"RPM_Filter", 3}, {"RPM_AutoFilter_ON", 3}, {"RPM_Virtual_ON", 3},
    {"PG_DualFuelInject_ON", 4}, {"PG_PressInject", 4}, {"PG_RPM", 4}, {"PG_Time", 4}, {"PG_Delay", 4},
    {"PG_PrimingTime", 4}, {"PG_GAS_Accident_ON", 4}, {"PG_GAS_Accident_Num", 4}, {"PG_GAS_Hot_Engine_ON", 4},
    {"GP_Buzzer_ON", 5}, {"GP_PressMore_ON", 5}, {"GP_PressMore", 5}, {"GP_PressLess_ON", 5}, {"GP_PressLess", 5},
    {"GP_Time", 5}, {"GP_PressLow_ON", 5}, {"GP_PressDrop", 5}, {"GP_PressRise", 5}, {"GP_PressInit", 5},
    {"GP_MinPetTime", 5}, {"GP_MinGasTime", 5}, {"GP_MaxPetTime", 5}, {"GP_StoreInterval", 5}, {"GP_BackStepNum", 5},
    {"GPG_RPM_Temp_ON", 6}, {"GPG_RPM_Petrol", 6}, {"GPG_RPM_Gas", 6}, {"GPG_RPM_Idle_ON", 6}, {"GPG_RPM_Idle", 6},
    {"GPG_CutOff_Cycles_ON", 6}, {"GPG_CutOff_Cycles", 6},
    {"Inject_Type", 7}, {"Inject_Num", 7}, {"Inject_Range", 7}, {"Inject_Start", 7}, {"Inject_Duty", 7},
    {"Inject_Period", 7},
    {"Polarity_Pulse_ON", 8}, {"NoSequentInject", 8}, {"MonoInject", 8}, {"Petrol_Filter_ON", 8},
    {"Petrol_Filter_Time", 8}, {"Petrol_Filter_Factor", 8}, {"Petrol_Pass_ON", 8}, {"MAZDA_Mode_ON", 8},
    {"MAZDA_Mode_Factor", 8},
    {"Pump_Type", 9}, {"Pump_Dry_Test_ON", 9}, {"Pump_MeasureDelay", 9}, {"Pump_PressRise", 9}, {"Pump_Time", 9},
    {"Level_Type", 10}, {"Level_Invert", 10}, {"Level_90", 10}, {"Level1", 10}, {"Level2", 10}, {"Level3", 10},
    {"Level4", 10}, {"Level5", 10}, {"Level_Buzzer_ON", 10}, {"GF_ETALON", 10},
    {"MAP_Sensor_Type", 11}, {"MAP_Sensor_C1", 11}, {"MAP_Sensor_C2", 11}, {"MAP_OffSet", 11},
    {"MAP_Sensor_Aver_Freq", 11},
    {"Lambda_Type", 12}, {"Lambda_ON", 12},
    {"Car_Model", 13}, {"Car_Engine", 13}, {"Car_Jet", 13}, {"Date_Mounting", 13}, {"User_Name", 13},
    {"User_Phone", 13}, {"User_Address", 13}, {"Car_Comments", 13}, {"Date_Save", 13},
    {"Pump_Hydr_Cond_ON", 14}, {"Pump_Hydr_Cond_Time_On", 14}, {"Pump_Hydr_Cond_Time_Off", 14},
    {"Inject_Delay_ON", 15}, {"Inject_Delay", 15},
    {"GPG_2Fuel_ON", 16}, {"GPG_2Fuel_Temp", 16}, {"GPG_2Fuel_Period", 16}, {"GPG_2Fuel_RPM_1", 16},
    {"GPG_2Fuel_RPM_2", 16}, {"GPG_2Fuel_Petrol_1", 16}, {"GPG_2Fuel_Petrol_2", 16}, {"GPG_2Fuel_Time_11", 16},
    {"GPG_2Fuel_Time_12", 16}, {"GPG_2Fuel_Time_21", 16}, {"GPG_2Fuel_Time_22", 16}, {"GPG_2Fuel_Delay", 16},
    {"PG_PrimingTime_1", 19}, {"PG_PrimingTime_2", 19}, {"PG_PrimingTime_3", 19}, {"PG_PrimingTime_4", 19},
    {"PG_PrimingTime_5", 19}, {"PG_PrimingTime_6", 19},
};

}   // namespace

std::span<const CFG_Key> CFG_Keys() { return Key_Table; }
