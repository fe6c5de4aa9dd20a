#pragma once

#include <QtGlobal>

#include <array>

// Live_Data: the one snapshot of the ECU's live values, overwritten by every
// decode of a live-data answer. Injector arrays are indexed 0..7 for
// injectors 1..8.
struct Live_Data_Record
{
    static constexpr int Injector_Count = 8;
    static constexpr int Mode_Petrol = 1, Mode_Automat = 2, Mode_Gas = 4;
    using Injector_Times = std::array<qint32, Injector_Count>;

    qint32 Work_Mode = Mode_Automat;
    qint32 CPU_Freq_MHz = 0;          // 8 or 64
    qint32 Gas_Mask = 0;              // bit i: injector i + 1 runs on gas
    qint32 Status = 0;
    qint32 Status_Prev = 3;           // engine running, pressure normal
    qint32 Errors = 0;
    qint32 Info_Flags = 0;
    qint32 Info_Value = 0;
    Injector_Times Petrol_Time{};     // µs, as received
    Injector_Times Gas_Time{};
    Injector_Times Petrol_Time_Avg{}; // µs, after averaging
    Injector_Times Gas_Time_Avg{};
    qint32 Petrol_Mean = 0;           // µs over the active injectors
    qint32 Gas_Mean = 0;
    quint16 Petrol_Mean10 = 0;        // units of 10 µs
    quint16 Gas_Mean10 = 0;
    qint32 RPM = 0;                   // 0..8000
    qint32 Power = 0;                 // 0.01 V
    qint32 Lambda = 0;                // 0.01 V
    qint32 Press_Volt = 0;            // 0.01 V
    qint32 PressInject = 0;           // 0.01 bar
    qint32 TempAUX1 = 0;              // 0.1 °C
    qint32 TempAUX2 = 0;              // not carried by the answer
    qint32 Level = 0;
    qint32 Level_Mode = 0;            // 0, 16, 32, 64, 128
    quint32 Level_Counter = 0;
    qint32 Factor = 0;                // 1/128, 0 unless on gas
    qint32 Pump_Value = 0;
};
