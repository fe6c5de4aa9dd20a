#include "config/Quorel_Config_Select.h"

#include "config/Quorel_Option_Lists.h"

#include <cstdlib>

bool Select_Inject_Type(Configuration_Class& config, int position)
{
    const Inject_Type_Box_Class* entry = Inject_Type_Entry(position);
    if (!entry)
        return false;
    config.Inject_Type = QString::fromUtf8(entry->Name);
    config.Inject_Start = entry->Inject_Start;
    config.Inject_Duty = entry->Inject_Duty;
    config.Inject_Period = entry->Inject_Period;
    return true;
}

bool Select_Pump_Type(Configuration_Class& config, int position)
{
    const Pump_Type_Box_Class* entry = Pump_Type_Entry(position);
    if (!entry)
        return false;
    config.Pump_Type = QString::fromUtf8(entry->Name);
    config.Pump_PressRise = entry->Press_Rise;
    config.Pump_Time = entry->Time;
    return true;
}

bool Select_Level_Type(Configuration_Class& config, int position)
{
    const Level_Sensor_Box_Class* entry = Level_Sensor_Entry(position);
    if (!entry)
        return false;
    config.Level_Type = QString::fromUtf8(entry->Name);
    config.Level_Invert = entry->Invert;
    config.Level_90 = entry->Low_Resistance;
    config.Level1 = entry->Level[0];
    config.Level2 = entry->Level[1];
    config.Level3 = entry->Level[2];
    config.Level4 = entry->Level[3];
    config.Level5 = entry->Level[4];
    if (position == Level_Type_Software)
        config.GF_ETALON = 0;
    return true;
}

bool Select_MAP_Sensor_Type(Configuration_Class& config, int position)
{
    const MAP_Sensor_Box_Class* entry = MAP_Sensor_Entry(position);
    if (!entry)
        return false;
    config.MAP_Sensor_Type = QString::fromUtf8(entry->Name);
    config.MAP_Sensor_C1 = entry->C1;
    config.MAP_Sensor_C2 = config.MAP_Sensor_C2_Absolute ? entry->C2_Absolute : entry->C2_Relative;
    return true;
}

bool Select_Lambda_Type(Configuration_Class& config, int position)
{
    const Lambda_Type_Box_Class* entry = Lambda_Type_Entry(position);
    if (!entry)
        return false;
    config.Lambda_Type = QString::fromUtf8(entry->Name);
    config.Lambda_Scale = entry->Scale;
    return true;
}

void Set_MAP_Sensor_C2_Absolute(Configuration_Class& config, bool absolute)
{
    config.MAP_Sensor_C2_Absolute = absolute;
    if (const MAP_Sensor_Box_Class* entry =
            MAP_Sensor_Entry(Option_Position(Option_List::MAP_Sensor_Type, config.MAP_Sensor_Type)))
        config.MAP_Sensor_C2 = absolute ? entry->C2_Absolute : entry->C2_Relative;
}

void Derive_MAP_Sensor_C2_Absolute(Configuration_Class& config)
{
    const MAP_Sensor_Box_Class* entry =
        MAP_Sensor_Entry(Option_Position(Option_List::MAP_Sensor_Type, config.MAP_Sensor_Type));
    if (!entry)
        return;
    const int a = entry->C2_Absolute;
    const int r = entry->C2_Relative;
    config.MAP_Sensor_C2_Absolute = a + std::abs(r - a) / 2 >= config.MAP_Sensor_C2;
}
