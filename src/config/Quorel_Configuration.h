#pragma once

#include "config/Quorel_Version.h"

#include <QString>

#include <array>
#include <functional>

// Config_Data: every parameter of the gas ECU in the ECU's own units, plus
// the identity, the client's car and owner data and the service time. A
// plain record; a new one has every field 0, false or empty.
class Configuration_Class
{
public:
    // Identity and operating counters (from the identification reply).
    // Set Program_Name and Program_Version through the setters below so
    // that the name is normalised and Version_Number follows.
    QString Program_Name;
    QString Program_Version;   // "4.17"
    QString Program_Date;      // 10 characters
    int Work_Gas = 0;          // minutes, 24-bit counter
    int Work_Petrol = 0;       // minutes, 24-bit counter
    int Version_Number = 0;    // derived: major × 100 + minor

    // RPM source
    QString RPM_Divider;
    int RPM_Sensitiv = 0;   // 0.01 V
    int RPM_Filter = 0;     // 0.1 ms
    bool RPM_AutoFilter_ON = false;
    bool RPM_Virtual_ON = false;

    // Switching from petrol to gas
    bool PG_DualFuelInject_ON = false;
    int PG_PressInject = 0;   // 0.01 bar
    int PG_RPM = 0;           // rpm
    int PG_Time = 0;          // 0.1 s
    int PG_Delay = 0;         // s
    int PG_PrimingTime = 0;   // labelled seconds
    // By engine temperature band: below -20 °C, -20..0, 0..20, 20..40, 40..60, above 60 °C
    int PG_PrimingTime_1 = 0;
    int PG_PrimingTime_2 = 0;
    int PG_PrimingTime_3 = 0;
    int PG_PrimingTime_4 = 0;
    int PG_PrimingTime_5 = 0;
    int PG_PrimingTime_6 = 0;
    bool PG_GAS_Accident_ON = false;
    int PG_GAS_Accident_Num = 0;   // starts
    bool PG_GAS_Hot_Engine_ON = false;

    // Automatic switching from gas to petrol
    bool GP_Buzzer_ON = false;
    bool GP_PressMore_ON = false;
    int GP_PressMore = 0;   // bar
    bool GP_PressLess_ON = false;
    int GP_PressLess = 0;   // 0.01 bar
    int GP_Time = 0;        // s
    bool GP_PressLow_ON = false;
    int GP_PressDrop = 0;       // 0.01 bar
    int GP_PressRise = 0;       // 0.01 bar
    int GP_PressInit = 0;       // 0.01 bar
    int GP_MinPetTime = 0;      // 0.1 s
    int GP_MinGasTime = 0;      // 0.1 s
    int GP_MaxPetTime = 0;      // 0.1 s
    int GP_StoreInterval = 0;   // 0.1 s
    int GP_BackStepNum = 0;     // intervals

    // Temporary switching and the dual-fuel function
    bool GPG_RPM_Temp_ON = false;
    int GPG_RPM_Petrol = 0;   // rpm
    int GPG_RPM_Gas = 0;      // rpm
    bool GPG_RPM_Idle_ON = false;
    int GPG_RPM_Idle = 0;   // rpm
    bool GPG_CutOff_Cycles_ON = false;
    int GPG_CutOff_Cycles = 0;   // cycles
    bool GPG_2Fuel_ON = false;
    int GPG_2Fuel_Temp = 0;       // °C
    int GPG_2Fuel_Period = 0;     // s
    int GPG_2Fuel_RPM_1 = 0;      // rpm
    int GPG_2Fuel_RPM_2 = 0;      // rpm
    int GPG_2Fuel_Petrol_1 = 0;   // µs
    int GPG_2Fuel_Petrol_2 = 0;   // µs
    int GPG_2Fuel_Time_11 = 0;    // s
    int GPG_2Fuel_Time_12 = 0;
    int GPG_2Fuel_Time_21 = 0;
    int GPG_2Fuel_Time_22 = 0;
    int GPG_2Fuel_Delay = 0;   // s

    // Gas injectors
    QString Inject_Type;
    int Inject_Num = 0;      // may hold anything from a file or the ECU; see Inject_Num_Count()
    int Inject_Range = 0;    // ms
    int Inject_Start = 0;    // µs
    int Inject_Duty = 0;     // timer ticks
    int Inject_Period = 0;   // ticks of 1/16 µs
    bool Inject_Delay_ON = false;
    int Inject_Delay = 0;   // µs

    // Petrol injection
    bool Polarity_Pulse_ON = false;
    bool NoSequentInject = false;
    bool MonoInject = false;
    bool Petrol_Filter_ON = false;
    int Petrol_Filter_Time = 0;     // µs
    int Petrol_Filter_Factor = 0;   // 0.01
    bool Petrol_Pass_ON = false;
    bool MAZDA_Mode_ON = false;
    int MAZDA_Mode_Factor = 0;   // 0.01

    // Gas pump
    QString Pump_Type;
    bool Pump_Dry_Test_ON = false;
    int Pump_MeasureDelay = 0;   // ms
    int Pump_PressRise = 0;      // 0.01 bar
    int Pump_Time = 0;           // 0.1 s
    bool Pump_Hydr_Cond_ON = false;
    int Pump_Hydr_Cond_Time_On = 0;    // 0.1 s
    int Pump_Hydr_Cond_Time_Off = 0;   // 0.1 s

    // Gas level sensor
    QString Level_Type;
    bool Level_Invert = false;
    bool Level_90 = false;
    // Thresholds of the five level lamps, 10-bit converter codes
    int Level1 = 0;
    int Level2 = 0;
    int Level3 = 0;
    int Level4 = 0;
    int Level5 = 0;
    bool Level_Buzzer_ON = false;
    int GF_ETALON = 0;   // unsigned 16-bit on the wire, injector work time units

    // Pressure sensor: Pressure = C1 × Volt − C2
    QString MAP_Sensor_Type;
    bool MAP_Sensor_C2_Absolute = false;
    int MAP_Sensor_C1 = 0;          // mbar per volt
    int MAP_Sensor_C2 = 0;          // mbar
    int MAP_OffSet = 0;             // 0.01 bar
    int MAP_Sensor_Aver_Freq = 0;   // ms

    // Lambda sensor
    QString Lambda_Type;
    int Lambda_Scale = 0;   // scale code of the live display
    bool Lambda_ON = false;

    // Car and owner data
    QString Car_Num;   // at most 8 characters; names the client's file
    QString Car_Model;
    QString Car_Engine;
    QString Car_Jet;
    QString Date_Save;
    QString Date_Mounting;
    QString User_Name;
    QString User_Phone;
    QString User_Address;
    QString Car_Comments;   // line breaks stored as code 29 (CR) and 26 (LF)

    // Service time
    int ST_Set = 0;       // hours, 0: no reminder
    int ST_Remains = 0;   // minutes
    int ST_Speed = 0;     // km/h
    bool ST_Block_Gas = false;

    // The identity setters keep the name normalised and Version_Number derived.
    void Set_Program_Name(const QString& name, const Model_Names& model_names);
    void Set_Program_Version(const QString& version);
    // Whether the About tab shows the operating-hours box.
    bool Operating_Hours_Shown() const { return Work_Gas != 0 || Work_Petrol != 0; }

    bool operator==(const Configuration_Class&) const = default;
};

inline constexpr int Car_Num_Max_Length = 8;
