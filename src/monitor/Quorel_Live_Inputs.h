#pragma once

#include <QString>
#include <QtGlobal>

// The configuration values the live-data decoding reads, named as in the
// configuration record so that they can be filled from it.
struct Live_Config
{
    qint32 Inject_Num = 4;          // 2..8; sizes the injector loop clamped
    qint32 MAP_Sensor_C1 = 0;       // 0.001 bar per volt
    qint32 MAP_Sensor_C2 = 0;       // 0.001 bar
    bool Lambda_ON = false;
    QString Level_Type;
    quint16 GF_ETALON = 0;
    bool Petrol_Filter_ON = false;
    qint32 Petrol_Filter_Time = 1200;   // µs
};

// The settings keys the decoding reads, with their defaults.
struct Live_Settings
{
    static constexpr int Averaging_Num_Min = 1, Averaging_Num_Max = 100;

    bool GEN_Averaging = true;
    int GEN_Averaging_Num = 20;     // clamped to 1..100 when read
    bool PRESS_Averaging = false;

    int Averaging_Num() const { return qBound(Averaging_Num_Min, GEN_Averaging_Num, Averaging_Num_Max); }
};

inline const QString Level_Type_Software_Text = QStringLiteral("SOFTWARE");
