#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The calibration map: nine points (petrol injection time, factor) joined by
// straight segments; the ECU scales the petrol time by the factor.
class Calibration_Map
{
public:
    static constexpr int Point_Count = 9;
    static constexpr int Frame_Length = 6 * (Point_Count - 1) + 9;   // 57
    static constexpr int Factor_Max = 20000;                           // 2.00
    static constexpr int Petrol_Field_Max = 65535;                     // 16-bit field, microseconds
    static constexpr int Slope_Max = 65535;

    using Map_Frame = std::array<quint8, Frame_Length>;

    Calibration_Map();

    quint8 Last_Index = Point_Count - 1;
    std::array<qint32, Point_Count> Petrol_Time{};   // microseconds
    std::array<qint32, Point_Count> Factor{};        // 1/10000
    qint32 Petrol_Range = 25000;
    qint32 Factor_Range = 20000;

    // Called by Decode_Map: the graph editor drops its point selection.
    std::function<void()> Clear_Selection;

    void Set_Default_Map();

    // Fills bytes 2 .. 55 of the map frame. Factors are clamped to 0..2.00
    // and petrol times to the 16-bit field before encoding.
    void Encode_Map(Map_Frame& frame) const;
    // Bytes 2 .. 55 alone: the payload of the 0x3C write.
    QByteArray Map_Payload() const;
    // Sets the points from a received map frame of length bytes (the last
    // one is the checksum). A short frame sets only the fields it holds.
    void Decode_Map(const quint8* frame, int length);

    // The 18 configuration file keys, in file order.
    struct Map_Key
    {
        QString Key;
        qint32 Value;
        QString Comment;
    };
    std::vector<Map_Key> Map_Keys() const;
    // Sets every field whose key the lookup finds with a decimal integer;
    // missing or malformed keys leave their field unchanged.
    void Read_Map_Keys(const std::function<std::optional<QString>(const QString& key)>& lookup);
};

// Factor in 1/10000 to the ECU's 1/128, truncated: 1.35 -> 172.
int Factor_To_Raw(qint32 factor);
// The ECU's 1/128 back to 1/10000: the smallest factor that encodes to raw
// again, so a read-write cycle never changes the map (172 -> 13438 -> 172).
qint32 Factor_From_Raw(int raw);
// Slope field into a point from the previous one, raw factors in 1/128.
quint16 Map_Slope(int raw_previous, int raw_current, qint32 petrol_previous, qint32 petrol_current);
