#include "config/Quorel_Config_Pairs.h"

#include "config/Quorel_Config_Fields.h"

#include <algorithm>

namespace {

int In_Range(int Configuration_Class::*member, int value)
{
    const Int_Field_Description* field = Find_Int_Field(member);
    return field ? Clamp_To_Range(*field, value) : value;
}

struct Range
{
    int min;
    int max;
};

Range Range_Of(int Configuration_Class::*member)
{
    const Int_Field_Description* field = Find_Int_Field(member);
    return {field->Min, field->Max};
}

// Keeps lower + gap < upper after one of the two was edited.
void Keep_Apart(Configuration_Class& config, int Configuration_Class::*lower, int Configuration_Class::*upper,
                bool lower_edited, int value)
{
    constexpr int gap = 100;
    constexpr int step = 100;
    const Range lower_range = Range_Of(lower);
    const Range upper_range = Range_Of(upper);
    if (lower_edited) {
        int low = std::clamp(value, lower_range.min, lower_range.max);
        int up = config.*upper;
        while (low + gap >= up && up + step <= upper_range.max)
            up += step;
        if (low + gap >= up)
            low = up - gap - step;
        config.*lower = low;
        config.*upper = up;
    } else {
        int up = std::clamp(value, upper_range.min, upper_range.max);
        int low = config.*lower;
        while (up - gap <= low && low - step >= lower_range.min)
            low -= step;
        if (up - gap <= low)
            up = low + gap + step;
        config.*lower = low;
        config.*upper = up;
    }
}

}   // namespace

void Set_GP_PressLess(Configuration_Class& config, int value)
{
    config.GP_PressLess = In_Range(&Configuration_Class::GP_PressLess, value);
    if (config.GP_PressLess >= config.PG_PressInject)
        config.PG_PressInject = config.GP_PressLess + 50;
}

void Set_PG_PressInject(Configuration_Class& config, int value)
{
    config.PG_PressInject = In_Range(&Configuration_Class::PG_PressInject, value);
    if (config.PG_PressInject <= config.GP_PressLess)
        config.GP_PressLess = config.PG_PressInject - 50;
}

void Set_PG_RPM(Configuration_Class& config, int value)
{
    config.PG_RPM = In_Range(&Configuration_Class::PG_RPM, value);
    if (config.PG_RPM <= config.GPG_RPM_Idle)
        config.GPG_RPM_Idle = config.PG_RPM - 100;
}

void Set_GPG_RPM_Idle(Configuration_Class& config, int value)
{
    config.GPG_RPM_Idle = In_Range(&Configuration_Class::GPG_RPM_Idle, value);
    if (config.GPG_RPM_Idle >= config.PG_RPM)
        config.PG_RPM = config.GPG_RPM_Idle + 100;
}

void Set_GPG_RPM_Petrol(Configuration_Class& config, int value)
{
    config.GPG_RPM_Petrol = In_Range(&Configuration_Class::GPG_RPM_Petrol, value);
    if (config.GPG_RPM_Petrol == config.GPG_RPM_Gas)
        config.GPG_RPM_Gas -= 100;
}

void Set_GPG_RPM_Gas(Configuration_Class& config, int value)
{
    config.GPG_RPM_Gas = In_Range(&Configuration_Class::GPG_RPM_Gas, value);
    if (config.GPG_RPM_Gas == config.GPG_RPM_Petrol)
        config.GPG_RPM_Petrol += 100;
}

void Set_GPG_2Fuel_RPM_1(Configuration_Class& config, int value)
{
    Keep_Apart(config, &Configuration_Class::GPG_2Fuel_RPM_1, &Configuration_Class::GPG_2Fuel_RPM_2, true, value);
}

void Set_GPG_2Fuel_RPM_2(Configuration_Class& config, int value)
{
    Keep_Apart(config, &Configuration_Class::GPG_2Fuel_RPM_1, &Configuration_Class::GPG_2Fuel_RPM_2, false, value);
}

void Set_GPG_2Fuel_Petrol_1(Configuration_Class& config, int value)
{
    Keep_Apart(config, &Configuration_Class::GPG_2Fuel_Petrol_1, &Configuration_Class::GPG_2Fuel_Petrol_2, true,
               value);
}

void Set_GPG_2Fuel_Petrol_2(Configuration_Class& config, int value)
{
    Keep_Apart(config, &Configuration_Class::GPG_2Fuel_Petrol_1, &Configuration_Class::GPG_2Fuel_Petrol_2, false,
               value);
}

int Inject_Duty_Percent(int inject_duty, int inject_period)
{
    return inject_period == 0 ? 0 : int(qint64(inject_duty) * 100 / inject_period);
}

void Set_Inject_Duty_Percent(Configuration_Class& config, int percent)
{
    config.Inject_Duty = int(qint64(std::clamp(percent, 0, 100)) * config.Inject_Period / 100);
}

void Set_Inject_Period(Configuration_Class& config, int period)
{
    const int percent = Inject_Duty_Percent(config.Inject_Duty, config.Inject_Period);
    config.Inject_Period = std::clamp(period, Inject_Period_Edit_Min, 32000);
    Set_Inject_Duty_Percent(config, percent);
}

void Set_RPM_Virtual(Configuration_Class& config, bool on)
{
    config.RPM_Virtual_ON = on;
    config.RPM_AutoFilter_ON = !on;
}

void Force_Version_Flags(Configuration_Class& config, int version_number)
{
    if (!Version_Has_Hydr_Cond_And_Delay(version_number)) {
        config.Pump_Hydr_Cond_ON = false;
        config.Inject_Delay_ON = false;
    }
    if (!Version_Has_2Fuel(version_number))
        config.GPG_2Fuel_ON = false;
}
