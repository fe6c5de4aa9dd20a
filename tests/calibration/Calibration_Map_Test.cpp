#include "calibration/Quorel_Calibration_Map.h"

#include "link/Quorel_Frame.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using Frame = Calibration_Map::Map_Frame;

int Le16(const Frame& f, int at) { return int(f[size_t(at)]) | (int(f[size_t(at + 1)]) << 8); }

// A map frame as the ECU answers a read: class, echoed command, the points
// (slope, raw factor, petrol time, little-endian) and the checksum.
Frame Ecu_Answer(const std::array<int, 9>& raw, const std::array<int, 9>& petrol)
{
    Frame f{};
    f[0] = 0x1D;
    f[1] = 0x36;
    for (int k = 0; k < 9; ++k) {
        const int at = 2 + 6 * k;
        f[size_t(at)] = 0xEE;   // slope fields are never read
        f[size_t(at + 1)] = 0xEE;
        f[size_t(at + 2)] = quint8(raw[size_t(k)] & 0xFF);
        f[size_t(at + 3)] = quint8(raw[size_t(k)] >> 8);
        f[size_t(at + 4)] = quint8(petrol[size_t(k)] & 0xFF);
        f[size_t(at + 5)] = quint8(petrol[size_t(k)] >> 8);
    }
    f[56] = Frame_Exchange::Checksum(f.data(), 56);
    return f;
}

Frame Encoded(const Calibration_Map& map)
{
    Frame f{};
    map.Encode_Map(f);
    return f;
}

TEST(Calibration_Map, Default_Map)
{
    Calibration_Map map;
    const std::array<qint32, 9> petrol = {0, 2000, 4000, 6000, 9000, 12000, 16000, 20000, 25000};
    EXPECT_EQ(map.Last_Index, 8);
    EXPECT_EQ(map.Petrol_Range, 25000);
    EXPECT_EQ(map.Factor_Range, 20000);
    EXPECT_EQ(map.Petrol_Time, petrol);
    for (qint32 f : map.Factor)
        EXPECT_EQ(f, 10000);

    map.Petrol_Time[3] = 7777;
    map.Factor[5] = 1;
    map.Petrol_Range = 1;
    map.Factor_Range = 1;
    map.Set_Default_Map();
    EXPECT_EQ(map.Petrol_Time, petrol);
    EXPECT_EQ(map.Factor[5], 10000);
    EXPECT_EQ(map.Petrol_Range, 25000);
    EXPECT_EQ(map.Factor_Range, 20000);
}

TEST(Calibration_Map, Default_Map_Encodes_Flat)
{
    const Frame f = Encoded(Calibration_Map());
    const std::array<int, 9> petrol = {0, 2000, 4000, 6000, 9000, 12000, 16000, 20000, 25000};
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(Le16(f, 2 + 6 * k), 0);
        EXPECT_EQ(Le16(f, 4 + 6 * k), 128);
        EXPECT_EQ(Le16(f, 6 + 6 * k), petrol[size_t(k)]);
    }
    // Encoding leaves class, command and checksum to the frame builder.
    EXPECT_EQ(f[0], 0);
    EXPECT_EQ(f[1], 0);
    EXPECT_EQ(f[56], 0);
    const QByteArray payload = Calibration_Map().Map_Payload();
    ASSERT_EQ(payload.size(), 54);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(f.data() + 2), 54), payload);
}

TEST(Calibration_Map, Fields_Are_Little_Endian)
{
    Calibration_Map map;
    map.Petrol_Time[8] = 25000;   // 0x61A8
    map.Factor[8] = 20000;        // raw 256 = 0x0100
    const Frame f = Encoded(map);
    EXPECT_EQ(f[52], 0x00);
    EXPECT_EQ(f[53], 0x01);
    EXPECT_EQ(f[54], 0xA8);
    EXPECT_EQ(f[55], 0x61);
    // slope into point 8: raw 128 -> 256 over 5000 us = 838.86 -> 838 = 0x0346
    EXPECT_EQ(f[50], 0x46);
    EXPECT_EQ(f[51], 0x03);

    std::array<int, 9> raw{};
    raw.fill(128);
    raw[4] = 0x0102;
    std::array<int, 9> petrol = {0, 2000, 4000, 6000, 0x1234, 12000, 16000, 20000, 25000};
    Calibration_Map read;
    const Frame answer = Ecu_Answer(raw, petrol);
    read.Decode_Map(answer.data(), 57);
    EXPECT_EQ(read.Petrol_Time[4], 0x1234);
    EXPECT_EQ(read.Factor[4], Factor_From_Raw(0x0102));
}

TEST(Calibration_Factor, Conversions)
{
    struct Case
    {
        qint32 factor;
        int raw;
    };
    for (const Case c : {Case{10000, 128}, Case{20000, 256}, Case{13500, 172}, Case{0, 0}, Case{5000, 64},
                         Case{78, 0}, Case{79, 1}}) {
        SCOPED_TRACE(c.factor);
        EXPECT_EQ(Factor_To_Raw(c.factor), c.raw);
    }
    // Out-of-range factors from a file are clamped, never wrapped.
    EXPECT_EQ(Factor_To_Raw(-100), 0);
    EXPECT_EQ(Factor_To_Raw(25000), 256);
    EXPECT_EQ(Factor_To_Raw(1 << 30), 256);

    EXPECT_EQ(Factor_From_Raw(0), 0);
    EXPECT_EQ(Factor_From_Raw(128), 10000);
    EXPECT_EQ(Factor_From_Raw(256), 20000);
    EXPECT_EQ(Factor_From_Raw(172), 13438);
    EXPECT_EQ(Factor_From_Raw(1), 79);
    EXPECT_EQ(Factor_From_Raw(65535), 5119922);
}

TEST(Calibration_Factor, Decoding_Is_The_Exact_Inverse_Over_The_Whole_Range)
{
    for (int raw = 0; raw <= 256; ++raw) {
        SCOPED_TRACE(raw);
        const qint32 factor = Factor_From_Raw(raw);
        EXPECT_EQ(Factor_To_Raw(factor), raw);
        // the smallest factor of its grid step
        if (raw > 0) {
            EXPECT_EQ(Factor_To_Raw(factor - 1), raw - 1);
        }
        EXPECT_LE(factor, 20000);
    }
}

TEST(Calibration_Factor, One_Point_Three_Five_Survives_A_Cycle)
{
    Calibration_Map map;
    map.Factor[2] = 13500;
    Frame f = Encoded(map);
    EXPECT_EQ(Le16(f, 4 + 12), 172);
    f[0] = 0x1D;
    f[56] = Frame_Exchange::Checksum(f.data(), 56);
    map.Decode_Map(f.data(), 57);
    EXPECT_EQ(map.Factor[2], 13438);
    EXPECT_EQ(Le16(Encoded(map), 4 + 12), 172);
}

TEST(Calibration_Map, Ten_Read_Write_Cycles_Leave_Ecu_And_File_Unchanged)
{
    // Raw factors spread over the whole 0..256 range, uneven petrol times.
    const std::array<int, 9> raw = {0, 1, 63, 127, 171, 172, 199, 255, 256};
    const std::array<int, 9> petrol = {0, 1500, 2999, 6001, 9100, 12345, 16000, 21000, 25000};
    Frame ecu = Ecu_Answer(raw, petrol);

    Calibration_Map map;
    map.Decode_Map(ecu.data(), 57);
    const auto keys_after_first_read = map.Map_Keys();
    const std::array<qint32, 9> factors = map.Factor;
    for (int cycle = 0; cycle < 10; ++cycle) {
        SCOPED_TRACE(cycle);
        // write: the ECU stores the points of the frame it is sent
        const Frame written = Encoded(map);
        for (int k = 0; k < 9; ++k) {
            EXPECT_EQ(Le16(written, 4 + 6 * k), raw[size_t(k)]);
            EXPECT_EQ(Le16(written, 6 + 6 * k), petrol[size_t(k)]);
        }
        const Frame again = Ecu_Answer(raw, petrol);
        for (int i = 4; i < 56; ++i)
            if ((i - 2) % 6 >= 2) {   // every factor and petrol byte, slopes aside
                EXPECT_EQ(written[size_t(i)], again[size_t(i)]) << "byte " << i;
            }
        // read back what was written
        Frame answer = written;
        answer[0] = 0x1D;
        answer[1] = 0x36;
        answer[56] = Frame_Exchange::Checksum(answer.data(), 56);
        map.Decode_Map(answer.data(), 57);
        EXPECT_EQ(map.Factor, factors);
        const auto keys = map.Map_Keys();
        for (size_t i = 0; i < keys.size(); ++i)
            EXPECT_EQ(keys[i].Value, keys_after_first_read[i].Value) << keys[i].Key.toStdString();
    }
    // and the frame itself is byte for byte what the first write sent
    const QByteArray first = [&] {
        Calibration_Map m;
        m.Decode_Map(ecu.data(), 57);
        return m.Map_Payload();
    }();
    EXPECT_EQ(map.Map_Payload(), first);
}

TEST(Calibration_Slope, Cases)
{
    struct Case
    {
        const char* what;
        int raw_prev, raw_cur;
        qint32 t_prev, t_cur;
        int slope;
    };
    const Case cases[] = {
        {"0.50 to 1.00 over 2 ms", 64, 128, 2000, 4000, 1048},
        {"falling factor, same steepness", 128, 64, 2000, 4000, 1048},
        {"equal factors", 128, 128, 0, 2000, 0},
        {"same petrol time", 0, 256, 5000, 5000, 1},
        {"same petrol time, equal factors", 128, 128, 5000, 5000, 1},
        {"2 raw over 1 us saturates instead of wrapping to 0", 100, 102, 10, 11, 65535},
        {"full range over 1 us saturates", 0, 256, 10, 11, 65535},
        {"just below saturation", 0, 1, 0, 1, 32768},
        {"petrol times running backwards", 64, 128, 4000, 2000, 1048},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Map_Slope(c.raw_prev, c.raw_cur, c.t_prev, c.t_cur), c.slope);
    }
}

TEST(Calibration_Slope, In_The_Frame)
{
    Calibration_Map map;
    map.Factor[1] = 5000;    // raw 64
    map.Factor[2] = 10000;   // raw 128, 2 ms after point 1
    map.Petrol_Time[4] = map.Petrol_Time[3];
    map.Factor[4] = 20000;
    map.Petrol_Time[6] = map.Petrol_Time[5] + 1;
    map.Factor[6] = 0;       // 128 -> 0 over 1 us
    const Frame f = Encoded(map);
    EXPECT_EQ(Le16(f, 2), 0);
    EXPECT_EQ(Le16(f, 2 + 6 * 2), 1048);
    EXPECT_EQ(Le16(f, 2 + 6 * 4), 1);
    EXPECT_EQ(Le16(f, 2 + 6 * 6), 65535);
}

TEST(Calibration_Map, Out_Of_Range_Values_Are_Clamped_Before_Encoding)
{
    Calibration_Map map;
    map.Factor[3] = -100;
    map.Factor[4] = 30000;
    map.Petrol_Time[7] = 70000;
    map.Petrol_Time[0] = -5;
    const Frame f = Encoded(map);
    EXPECT_EQ(Le16(f, 4 + 18), 0);
    EXPECT_EQ(Le16(f, 4 + 24), 256);
    EXPECT_EQ(Le16(f, 6 + 42), 65535);
    EXPECT_EQ(Le16(f, 6), 0);
    // the map itself keeps what was loaded
    EXPECT_EQ(map.Factor[3], -100);
    EXPECT_EQ(map.Petrol_Time[7], 70000);
}

TEST(Calibration_Map, Short_Answers_Decode_Only_What_They_Hold)
{
    std::array<int, 9> raw{};
    std::array<int, 9> petrol{};
    for (int k = 0; k < 9; ++k) {
        raw[size_t(k)] = 10 + k;
        petrol[size_t(k)] = 100 + k;
    }
    const Frame answer = Ecu_Answer(raw, petrol);
    for (int length = 0; length <= 57; ++length) {
        SCOPED_TRACE(length);
        Calibration_Map map;
        const Calibration_Map before;
        map.Decode_Map(answer.data(), length);
        const int data_end = length - 1;   // the last byte is the checksum
        for (int k = 0; k < 9; ++k) {
            const bool factor_in = 4 + 6 * k + 2 <= data_end;
            const bool petrol_in = 6 + 6 * k + 2 <= data_end;
            EXPECT_EQ(map.Factor[size_t(k)], factor_in ? Factor_From_Raw(10 + k) : before.Factor[size_t(k)]);
            EXPECT_EQ(map.Petrol_Time[size_t(k)], petrol_in ? 100 + k : before.Petrol_Time[size_t(k)]);
        }
    }
    // A full answer sets every point.
    Calibration_Map map;
    map.Decode_Map(answer.data(), 57);
    EXPECT_EQ(map.Factor[8], Factor_From_Raw(18));
    EXPECT_EQ(map.Petrol_Time[8], 108);
}

TEST(Calibration_Map, Decode_Clears_The_Selection_And_Ignores_Slopes)
{
    std::array<int, 9> raw{};
    raw.fill(128);
    Frame a = Ecu_Answer(raw, {0, 1, 2, 3, 4, 5, 6, 7, 8});
    Frame b = a;
    for (int k = 0; k < 9; ++k)
        b[size_t(2 + 6 * k)] = quint8(k * 17);
    int cleared = 0;
    Calibration_Map ma, mb;
    ma.Clear_Selection = [&cleared]() { ++cleared; };
    ma.Decode_Map(a.data(), 57);
    mb.Decode_Map(b.data(), 57);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(ma.Factor, mb.Factor);
    EXPECT_EQ(ma.Petrol_Time, mb.Petrol_Time);
}

TEST(Calibration_Map_Keys, Order_Names_And_Comments)
{
    Calibration_Map map;
    map.Factor[3] = 13438;
    const auto keys = map.Map_Keys();
    ASSERT_EQ(keys.size(), 18u);
    EXPECT_EQ(keys[0].Key, "Petrol_Point_0");
    EXPECT_EQ(keys[0].Comment, "Petrol point 0");
    EXPECT_EQ(keys[1].Key, "Factor_Point_0");
    EXPECT_EQ(keys[1].Comment, "Petrol factor 0");
    EXPECT_EQ(keys[7].Key, "Factor_Point_3");
    EXPECT_EQ(keys[7].Value, 13438);
    EXPECT_EQ(keys[16].Key, "Petrol_Point_8");
    EXPECT_EQ(keys[16].Value, 25000);
    EXPECT_EQ(keys[17].Comment, "Petrol factor 8");
}

TEST(Calibration_Map_Keys, Reading_Keeps_Fields_Of_Missing_Or_Malformed_Keys)
{
    std::map<QString, QString> file;
    for (int k = 0; k < 9; ++k) {
        file["Petrol_Point_" + QString::number(k)] = QString::number(1000 * k + 7);
        file["Factor_Point_" + QString::number(k)] = QString::number(9000 + k);
    }
    file.erase("Factor_Point_3");
    file["Factor_Point_5"] = "12a";
    file["Petrol_Point_6"] = "";
    file["Factor_Point_7"] = "-100";   // accepted as it is; clamped only on the way to the ECU

    Calibration_Map map;
    map.Factor[3] = 4321;
    map.Read_Map_Keys([&file](const QString& key) -> std::optional<QString> {
        auto it = file.find(key);
        if (it == file.end())
            return std::nullopt;
        return it->second;
    });
    EXPECT_EQ(map.Factor[3], 4321);
    EXPECT_EQ(map.Factor[5], 10000);
    EXPECT_EQ(map.Petrol_Time[6], 16000);
    EXPECT_EQ(map.Factor[7], -100);
    EXPECT_EQ(map.Factor[0], 9000);
    EXPECT_EQ(map.Factor[8], 9008);
    EXPECT_EQ(map.Petrol_Time[2], 2007);
    EXPECT_EQ(map.Petrol_Time[8], 8007);
}

} // namespace
