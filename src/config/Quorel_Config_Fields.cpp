#include "config/Quorel_Config_Fields.h"

#include <algorithm>
#include <array>

namespace {

using D = Field_Default;
using C = Configuration_Class;

// Ranged field, stored in the file.
#define QUOREL_INT(name, unit, min, max, step, def, rule) \
    Int_Field_Description { #name, &C::name, unit, true, min, max, step, def, rule, true }
// Field without an editing range.
#define QUOREL_FREE(name, unit, def, rule, in_file) \
    Int_Field_Description { #name, &C::name, unit, false, 0, 0, 1, def, rule, in_file }
#define QUOREL_FLAG(name, def, rule, in_file) \
    Flag_Field_Description { #name, &C::name, def, rule, in_file }
#define QUOREL_TEXT(name, def, rule, in_file) \
    Text_Field_Description { #name, &C::name, def, rule, in_file }

const std::array Int_Table = {
    QUOREL_FREE(Work_Gas, "minutes", 0, D::Identity, true),
    QUOREL_FREE(Work_Petrol, "minutes", 0, D::Identity, true),
    Int_Field_Description{"RPM_Sensitiv", &C::RPM_Sensitiv, "0.01 V", true, 10, 2000, 10, 250, D::Defaults, true, 50, 300},
    QUOREL_INT(RPM_Filter, "0.1 ms", 1, 100, 1, 10, D::Defaults),
    QUOREL_INT(PG_PressInject, "0.01 bar", 100, 1500, 10, 300, D::Defaults),
    QUOREL_INT(PG_RPM, "rpm", 600, 8000, 100, 600, D::Defaults),
    QUOREL_INT(PG_Time, "0.1 s", 0, 50, 1, 20, D::Defaults),
    QUOREL_INT(PG_Delay, "s", 1, 60, 1, 5, D::Defaults),
    QUOREL_INT(PG_PrimingTime, "s", 2, 500, 2, 40, D::Defaults),
    QUOREL_INT(PG_PrimingTime_1, "s", 2, 500, 2, 240, D::Defaults),
    QUOREL_INT(PG_PrimingTime_2, "s", 2, 500, 2, 210, D::Defaults),
    QUOREL_INT(PG_PrimingTime_3, "s", 2, 500, 2, 120, D::Defaults),
    QUOREL_INT(PG_PrimingTime_4, "s", 2, 500, 2, 40, D::Defaults),
    QUOREL_INT(PG_PrimingTime_5, "s", 2, 500, 2, 16, D::Defaults),
    QUOREL_INT(PG_PrimingTime_6, "s", 2, 500, 2, 10, D::Defaults),
    QUOREL_INT(PG_GAS_Accident_Num, "starts", 0, 255, 1, 0, D::Defaults),
    QUOREL_INT(GP_PressMore, "bar", 15, 30, 1, 30, D::Defaults),
    QUOREL_INT(GP_PressLess, "0.01 bar", 10, 1000, 10, 300, D::Defaults),
    QUOREL_INT(GP_Time, "s", 1, 20, 1, 5, D::Defaults),
    QUOREL_INT(GP_PressDrop, "0.01 bar", 10, 500, 10, 240, D::Defaults),
    QUOREL_INT(GP_PressRise, "0.01 bar", 10, 500, 10, 200, D::Defaults),
    QUOREL_INT(GP_PressInit, "0.01 bar", 0, 1000, 10, 50, D::Defaults),
    QUOREL_INT(GP_MinPetTime, "0.1 s", 0, 50, 1, 50, D::Defaults),
    QUOREL_INT(GP_MinGasTime, "0.1 s", 0, 50, 1, 10, D::Defaults),
    QUOREL_INT(GP_MaxPetTime, "0.1 s", 0, 200, 1, 100, D::Defaults),
    QUOREL_INT(GP_StoreInterval, "0.1 s", 0, 20, 1, 10, D::Defaults),
    QUOREL_INT(GP_BackStepNum, "intervals", 1, 15, 1, 6, D::Defaults),
    QUOREL_INT(GPG_RPM_Petrol, "rpm", 3000, 7000, 100, 5000, D::Defaults),
    QUOREL_INT(GPG_RPM_Gas, "rpm", 2000, 6000, 100, 4900, D::Defaults),
    QUOREL_INT(GPG_RPM_Idle, "rpm", 500, 1500, 100, 500, D::Defaults),
    QUOREL_INT(GPG_CutOff_Cycles, "cycles", 1, 255, 1, 20, D::Defaults),
    QUOREL_INT(GPG_2Fuel_Temp, "°C", 30, 120, 1, 70, D::Defaults),
    QUOREL_INT(GPG_2Fuel_Period, "s", 1, 255, 1, 30, D::Defaults),
    QUOREL_INT(GPG_2Fuel_RPM_1, "rpm", 1000, 5000, 100, 1500, D::Defaults),
    QUOREL_INT(GPG_2Fuel_RPM_2, "rpm", 1100, 8000, 100, 4000, D::Defaults),
    QUOREL_INT(GPG_2Fuel_Petrol_1, "µs", 1000, 31000, 100, 3000, D::Defaults),
    QUOREL_INT(GPG_2Fuel_Petrol_2, "µs", 1100, 32000, 100, 6500, D::Defaults),
    QUOREL_INT(GPG_2Fuel_Time_11, "s", 1, 255, 1, 1, D::Defaults),
    QUOREL_INT(GPG_2Fuel_Time_12, "s", 1, 255, 1, 2, D::Defaults),
    QUOREL_INT(GPG_2Fuel_Time_21, "s", 1, 255, 1, 3, D::Defaults),
    QUOREL_INT(GPG_2Fuel_Time_22, "s", 1, 255, 1, 4, D::Defaults),
    QUOREL_INT(GPG_2Fuel_Delay, "s", 0, 255, 1, 30, D::Defaults),
    QUOREL_INT(Inject_Num, "injectors", 2, 8, 1, 4, D::Start_Up),
    QUOREL_INT(Inject_Range, "ms", 20, 32, 1, 32, D::Defaults),
    QUOREL_INT(Inject_Start, "µs", 0, 32767, 100, 0, D::Kept),
    QUOREL_INT(Inject_Duty, "timer ticks", 0, 32000, 1, 0, D::Kept),
    QUOREL_INT(Inject_Period, "1/16 µs", 0, 32000, 1, 0, D::Kept),
    QUOREL_INT(Inject_Delay, "µs", 200, 32000, 100, 800, D::Defaults),
    QUOREL_INT(Petrol_Filter_Time, "µs", 100, 2500, 100, 1200, D::Defaults),
    QUOREL_INT(Petrol_Filter_Factor, "0.01", 0, 199, 1, 50, D::Defaults),
    QUOREL_INT(MAZDA_Mode_Factor, "0.01", 1, 199, 1, 100, D::Defaults),
    QUOREL_INT(Pump_MeasureDelay, "ms", 0, 250, 10, 25, D::Defaults),
    QUOREL_INT(Pump_PressRise, "0.01 bar", 10, 1000, 10, 130, D::Defaults),
    QUOREL_INT(Pump_Time, "0.1 s", 0, 100, 1, 95, D::Defaults),
    QUOREL_INT(Pump_Hydr_Cond_Time_On, "0.1 s", 0, 200, 1, 150, D::Defaults),
    QUOREL_INT(Pump_Hydr_Cond_Time_Off, "0.1 s", 0, 200, 1, 30, D::Defaults),
    QUOREL_INT(Level1, "10-bit code", 0, 1023, 1, 28, D::Defaults),
    QUOREL_INT(Level2, "10-bit code", 0, 1023, 1, 103, D::Defaults),
    QUOREL_INT(Level3, "10-bit code", 0, 1023, 1, 177, D::Defaults),
    QUOREL_INT(Level4, "10-bit code", 0, 1023, 1, 244, D::Defaults),
    QUOREL_INT(Level5, "10-bit code", 0, 1023, 1, 614, D::Defaults),
    QUOREL_INT(GF_ETALON, "injector work time", 0, 65535, 1, 1288, D::Start_Up),
    QUOREL_INT(MAP_Sensor_C1, "mbar/V", 100, 10000, 10, 6600, D::Defaults),
    QUOREL_INT(MAP_Sensor_C2, "mbar", 100, 10000, 1, 1307, D::Defaults),
    QUOREL_FREE(MAP_OffSet, "0.01 bar", 500, D::Start_Up, true),
    QUOREL_FREE(MAP_Sensor_Aver_Freq, "ms", 100, D::Defaults, true),
    QUOREL_FREE(Lambda_Scale, "scale code", 5, D::Defaults, false),
    Int_Field_Description{"ST_Set", &C::ST_Set, "hours", true, 0, 32000, 1, 0, D::Kept, false},
    QUOREL_FREE(ST_Remains, "minutes", 0, D::Kept, false),
    Int_Field_Description{"ST_Speed", &C::ST_Speed, "km/h", true, 0, 200, 1, 0, D::Kept, false},
};

const std::array Flag_Table = {
    QUOREL_FLAG(RPM_AutoFilter_ON, true, D::Defaults, true),
    QUOREL_FLAG(RPM_Virtual_ON, false, D::Defaults, true),
    QUOREL_FLAG(PG_DualFuelInject_ON, false, D::Defaults, true),
    QUOREL_FLAG(PG_GAS_Accident_ON, true, D::Defaults, true),
    QUOREL_FLAG(PG_GAS_Hot_Engine_ON, false, D::Defaults, true),
    QUOREL_FLAG(GP_Buzzer_ON, false, D::Defaults, true),
    QUOREL_FLAG(GP_PressMore_ON, true, D::Defaults, true),
    QUOREL_FLAG(GP_PressLess_ON, false, D::Defaults, true),
    QUOREL_FLAG(GP_PressLow_ON, true, D::Defaults, true),
    QUOREL_FLAG(GPG_RPM_Temp_ON, true, D::Defaults, true),
    QUOREL_FLAG(GPG_RPM_Idle_ON, false, D::Defaults, true),
    QUOREL_FLAG(GPG_CutOff_Cycles_ON, false, D::Defaults, true),
    QUOREL_FLAG(GPG_2Fuel_ON, false, D::Defaults, true),
    QUOREL_FLAG(Inject_Delay_ON, false, D::Defaults, true),
    QUOREL_FLAG(Polarity_Pulse_ON, false, D::Defaults, true),
    QUOREL_FLAG(NoSequentInject, false, D::Defaults, true),
    QUOREL_FLAG(MonoInject, false, D::Defaults, true),
    QUOREL_FLAG(Petrol_Filter_ON, true, D::Defaults, true),
    QUOREL_FLAG(Petrol_Pass_ON, false, D::Defaults, true),
    QUOREL_FLAG(MAZDA_Mode_ON, false, D::Defaults, true),
    QUOREL_FLAG(Pump_Dry_Test_ON, true, D::Defaults, true),
    QUOREL_FLAG(Pump_Hydr_Cond_ON, true, D::Defaults, true),
    QUOREL_FLAG(Level_Invert, false, D::Defaults, true),
    QUOREL_FLAG(Level_90, true, D::Defaults, true),
    QUOREL_FLAG(Level_Buzzer_ON, true, D::Defaults, true),
    QUOREL_FLAG(MAP_Sensor_C2_Absolute, false, D::Defaults, false),
    QUOREL_FLAG(Lambda_ON, true, D::Defaults, true),
    QUOREL_FLAG(ST_Block_Gas, false, D::Kept, false),
};

const std::array Text_Table = {
    QUOREL_TEXT(Program_Name, "Mirabo", D::Identity, true),
    QUOREL_TEXT(Program_Version, "", D::Identity, true),
    QUOREL_TEXT(Program_Date, "", D::Identity, true),
    QUOREL_TEXT(RPM_Divider, "1:1", D::Defaults, true),
    QUOREL_TEXT(Inject_Type, "Dresko Alternative Fuel System", D::Defaults, true),
    QUOREL_TEXT(Pump_Type, "Ostra-40", D::Defaults, true),
    QUOREL_TEXT(Level_Type, "Dresko", D::Defaults, true),
    QUOREL_TEXT(MAP_Sensor_Type, "KELLER 30 BAR", D::Defaults, true),
    QUOREL_TEXT(Lambda_Type, "0 - 1 V", D::Defaults, true),
    Text_Field_Description{nullptr, &C::Car_Num, "", D::Kept, false},
    QUOREL_TEXT(Car_Model, "", D::Kept, true),
    QUOREL_TEXT(Car_Engine, "", D::Kept, true),
    QUOREL_TEXT(Car_Jet, "", D::Kept, true),
    QUOREL_TEXT(Date_Save, "", D::Kept, true),
    QUOREL_TEXT(Date_Mounting, "", D::Kept, true),
    QUOREL_TEXT(User_Name, "", D::Kept, true),
    QUOREL_TEXT(User_Phone, "", D::Kept, true),
    QUOREL_TEXT(User_Address, "", D::Kept, true),
    QUOREL_TEXT(Car_Comments, "", D::Kept, true),
};

#undef QUOREL_INT
#undef QUOREL_FREE
#undef QUOREL_FLAG
#undef QUOREL_TEXT

template <typename Table>
auto Find_By_Key(const Table& table, const QString& key) -> decltype(&table[0])
{
    for (const auto& field : table)
        if (field.Key && key == QLatin1String(field.Key))
            return &field;
    return nullptr;
}

}   // namespace

std::span<const Int_Field_Description> Int_Fields() { return Int_Table; }
std::span<const Flag_Field_Description> Flag_Fields() { return Flag_Table; }
std::span<const Text_Field_Description> Text_Fields() { return Text_Table; }

const Int_Field_Description* Find_Int_Field(const QString& key) { return Find_By_Key(Int_Table, key); }
const Flag_Field_Description* Find_Flag_Field(const QString& key) { return Find_By_Key(Flag_Table, key); }
const Text_Field_Description* Find_Text_Field(const QString& key) { return Find_By_Key(Text_Table, key); }

const Int_Field_Description* Find_Int_Field(int Configuration_Class::*member)
{
    for (const auto& field : Int_Table)
        if (field.Member == member)
            return &field;
    return nullptr;
}

int Clamp_To_Range(const Int_Field_Description& field, int value)
{
    return field.Ranged ? std::clamp(value, field.Min, field.Max) : value;
}

int Clamped_Value(const Configuration_Class& config, const Int_Field_Description& field)
{
    if (field.Member == &Configuration_Class::Inject_Delay) {
        const int shown = Clamp_To_Range(field, Inject_Delay_Shown(config));
        return config.Petrol_Filter_ON ? shown - config.Petrol_Filter_Time : shown;
    }
    return Clamp_To_Range(field, config.*field.Member);
}

int Step_Up(const Int_Field_Description& field, int value)
{
    const int step = field.Step_Above > 0 && value >= field.Step_Change_At ? field.Step_Above : field.Step;
    return Clamp_To_Range(field, value + step);
}

int Step_Down(const Int_Field_Description& field, int value)
{
    const int step = field.Step_Above > 0 && value > field.Step_Change_At ? field.Step_Above : field.Step;
    int next = value - step;
    // Coming down across the change point lands on it.
    if (field.Step_Above > 0 && value > field.Step_Change_At && next < field.Step_Change_At)
        next = field.Step_Change_At;
    return Clamp_To_Range(field, next);
}

int Inject_Num_Count(int inject_num) { return std::clamp(inject_num, 2, 8); }

int Inject_Num_Edit_Value(int inject_num, int version_number)
{
    const int value = std::clamp(inject_num, 2, Inject_Num_Max(version_number));
    return value == 7 ? 6 : value;
}

int Inject_Delay_Shown(const Configuration_Class& config)
{
    return config.Petrol_Filter_ON ? config.Inject_Delay + config.Petrol_Filter_Time : config.Inject_Delay;
}

void Set_Inject_Delay_Shown(Configuration_Class& config, int shown)
{
    config.Inject_Delay = config.Petrol_Filter_ON ? shown - config.Petrol_Filter_Time : shown;
}
