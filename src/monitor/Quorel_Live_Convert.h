#pragma once

#include <QtGlobal>

class Temperature_Table;

// Conversions of live-data and configuration words, given as their two
// bytes, low byte first.
int Word_Value(quint8 lo, quint8 hi);
// The 10-bit converter reading of a word.
int Adc_Value(quint8 lo, quint8 hi);
// 0.01 V, 0..500.
int Adc_To_Volt(quint8 lo, quint8 hi);
// 0.01 bar, never negative. map_sensor_c1: slope in 0.001 bar per volt,
// map_sensor_c2: offset in 0.001 bar.
int Adc_To_Pressure(quint8 lo, quint8 hi, qint32 map_sensor_c1, qint32 map_sensor_c2);
// 0.1 °C from the temperature table.
int Adc_To_Temperature(quint8 lo, quint8 hi, const Temperature_Table& table);
// Revolutions per minute from the engine period word, 0..8000.
int Period_To_RPM(quint8 lo, quint8 hi);
// Supply voltage in 0.01 V, 0..2046.
int Adc_To_Power(quint8 lo, quint8 hi);
