#include "calibration/Quorel_Calibration_Map.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The built-in map: petrol times in whole milliseconds, factors in hundredths.
constexpr std::array<quint8, Calibration_Map::Point_Count> Default_Petrol_Ms = {0, 2, 4, 6, 9, 12, 16, 20, 25};
constexpr std::array<quint8, Calibration_Map::Point_Count> Default_Factor_Hundredths = {100, 100, 100, 100, 100,
                                                                                        100, 100, 100, 100};

void Put_16(quint8* at, int value)
{
    at[0] = quint8(value & 0xFF);
    at[1] = quint8((value >> 8) & 0xFF);
}

int Get_16(const quint8* at) { return int(at[0]) | (int(at[1]) << 8); }

qint32 Petrol_For_Field(qint32 petrol) { return std::clamp<qint32>(petrol, 0, Calibration_Map::Petrol_Field_Max); }

} // namespace

int Factor_To_Raw(qint32 factor)
{
    factor = std::clamp<qint32>(factor, 0, Calibration_Map::Factor_Max);
    return int((qint64(factor) * 128) / 10000);
}

qint32 Factor_From_Raw(int raw)
{
    // ceil(raw * 10000 / 128) for raw >= 0; the field is unsigned.
    return qint32((qint64(raw) * 10000 + 127) / 128);
}

quint16 Map_Slope(int raw_previous, int raw_current, qint32 petrol_previous, qint32 petrol_current)
{
    const qint64 dt = qint64(petrol_current) - petrol_previous;
    if (dt == 0)
        return 1;
    // A received or loaded map may run backwards in time: the slope is the
    // steepness of the segment either way.
    const double slope = double(std::abs(raw_current - raw_previous)) / double(std::llabs(dt)) * 32768.0;
    if (slope >= double(Calibration_Map::Slope_Max))
        return quint16(Calibration_Map::Slope_Max);
    return quint16(std::trunc(slope));
}

Calibration_Map::Calibration_Map() { Set_Default_Map(); }

void Calibration_Map::Set_Default_Map()
{
    Last_Index = Point_Count - 1;
    Petrol_Range = 25000;
    Factor_Range = 20000;
    for (int k = 0; k < Point_Count; ++k) {
        Petrol_Time[size_t(k)] = qint32(Default_Petrol_Ms[size_t(k)]) * 1000;
        Factor[size_t(k)] = qint32(Default_Factor_Hundredths[size_t(k)]) * 100;
    }
}

void Calibration_Map::Encode_Map(Map_Frame& frame) const
{
    for (int k = 0; k < Point_Count; ++k) {
        quint8* point = frame.data() + 2 + 6 * k;
        const int raw = Factor_To_Raw(Factor[size_t(k)]);
        const qint32 petrol = Petrol_For_Field(Petrol_Time[size_t(k)]);
        int slope = 0;
        if (k > 0)
            slope = Map_Slope(Factor_To_Raw(Factor[size_t(k - 1)]), raw, Petrol_For_Field(Petrol_Time[size_t(k - 1)]),
                              petrol);
        Put_16(point, slope);
        Put_16(point + 2, raw);
        Put_16(point + 4, petrol);
    }
}

QByteArray Calibration_Map::Map_Payload() const
{
    Map_Frame frame{};
    Encode_Map(frame);
    return QByteArray(reinterpret_cast<const char*>(frame.data() + 2), Frame_Length - 3);
}

void Calibration_Map::Decode_Map(const quint8* frame, int length)
{
    // The last byte received is the checksum, never data.
    const int data_end = std::min(length, Frame_Length) - 1;
    for (int k = 0; k < Point_Count; ++k) {
        const int factor_at = 4 + 6 * k;
        const int petrol_at = 6 + 6 * k;
        if (factor_at + 2 <= data_end)
            Factor[size_t(k)] = Factor_From_Raw(Get_16(frame + factor_at));
        if (petrol_at + 2 <= data_end)
            Petrol_Time[size_t(k)] = Get_16(frame + petrol_at);
    }
    if (Clear_Selection)
        Clear_Selection();
}

std::vector<Calibration_Map::Map_Key> Calibration_Map::Map_Keys() const
{
    std::vector<Map_Key> keys;
    keys.reserve(2 * Point_Count);
    for (int k = 0; k < Point_Count; ++k) {
        const QString n = QString::number(k);
        keys.push_back({QStringLiteral("Petrol_Point_") + n, Petrol_Time[size_t(k)], QStringLiteral("Petrol point ") + n});
        keys.push_back({QStringLiteral("Factor_Point_") + n, Factor[size_t(k)], QStringLiteral("Petrol factor ") + n});
    }
    return keys;
}

void Calibration_Map::Read_Map_Keys(const std::function<std::optional<QString>(const QString& key)>& lookup)
{
    auto read = [&lookup](const QString& key, qint32& field) {
        const std::optional<QString> text = lookup(key);
        if (!text)
            return;
        bool ok = false;
        const int value = text->trimmed().toInt(&ok, 10);
        if (ok)
            field = value;
    };
    for (int k = 0; k < Point_Count; ++k) {
        const QString n = QString::number(k);
        read(QStringLiteral("Petrol_Point_") + n, Petrol_Time[size_t(k)]);
        read(QStringLiteral("Factor_Point_") + n, Factor[size_t(k)]);
    }
}
