#include "monitor/Quorel_Live_Convert.h"

#include "monitor/Quorel_Temperature_Table.h"

#include <limits>

int Word_Value(quint8 lo, quint8 hi)
{
    return lo + 256 * hi;
}

int Adc_Value(quint8 lo, quint8 hi)
{
    return Word_Value(lo, hi) & 0x3FF;
}

int Adc_To_Volt(quint8 lo, quint8 hi)
{
    if (lo == 0 && hi == 0)
        return 0;
    return Adc_Value(lo, hi) * 500 / 1023;
}

int Adc_To_Pressure(quint8 lo, quint8 hi, qint32 map_sensor_c1, qint32 map_sensor_c2)
{
    const qint64 volt = Adc_To_Volt(lo, hi);
    const qint64 pressure = (volt * map_sensor_c1 - 100 * qint64(map_sensor_c2)) / 1000;
    if (pressure <= 0)
        return 0;
    return int(qMin<qint64>(pressure, std::numeric_limits<int>::max()));
}

int Adc_To_Temperature(quint8 lo, quint8 hi, const Temperature_Table& table)
{
    return table.At(Adc_Value(lo, hi));
}

int Period_To_RPM(quint8 lo, quint8 hi)
{
    int period = Word_Value(lo, hi);
    if (period == 0 || period == 0xFFFF)
        return 0;
    period = qMax(period, 3750);
    return 30000000 / period;
}

int Adc_To_Power(quint8 lo, quint8 hi)
{
    return Adc_Value(lo, hi) * 2;
}
