#include "config/Quorel_Config_Codec.h"
#include "monitor/Quorel_Temperature_Table.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A falling NTC-like table: 150.0 °C at code 0, 0.3 °C less per code.
Temperature_Table Falling_Table(int records = Temperature_Table::Record_Count,
                                std::function<int(int)> entry = [](int i) { return 1500 - 3 * i; })
{
    QByteArray bytes;
    for (int i = 0; i < records; ++i) {
        const qint16 value = qint16(entry(i));
        bytes.append(char(value & 0xFF));
        bytes.append(char((value >> 8) & 0xFF));
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    Temperature_Table table;
    table.Load(buffer);
    return table;
}

}   // namespace

TEST(Config_Codec_List, Codes_Per_Version)
{
    struct Case { int version; int count; char last; };
    const Case cases[] = {
        {400, 43, 'k'}, {415, 43, 'k'}, {416, 45, 'm'}, {417, 53, 'u'}, {499, 53, 'u'}, {616, 45, 'm'},
        {617, 53, 'u'}, {815, 43, 'k'}, {817, 53, 'u'}, {500, 0, 0},    {0, 0, 0},      {399, 0, 0},
        {700, 0, 0},    {900, 0, 0},
    };
    for (const Case& c : cases) {
        const QVector<quint8> list = Parameter_List(c.version);
        ASSERT_EQ(list.size(), c.count) << c.version;
        if (c.count == 0)
            continue;
        EXPECT_EQ(list.front(), 'A') << c.version;
        EXPECT_EQ(list.back(), quint8(c.last)) << c.version;
        for (int k = 1; k < list.size(); ++k)
            EXPECT_EQ(list[k], list[k - 1] + 1) << c.version << " at " << k;
    }
}

TEST(Config_Codec_Pressure, Example_With_Keller_Coefficients)
{
    const Encoded_Value code = Encode_Pressure(300, 6600, 1307);
    EXPECT_EQ(code.Status, Encode_Status::Ok);
    EXPECT_EQ(code.Code, 136);
    EXPECT_EQ(Pressure_Of_Code(136, 6600, 1307), 304);
    EXPECT_LT(Pressure_Of_Code(135, 6600, 1307), 300);
    EXPECT_EQ(Decode_Pressure(136, 6600, 1307), 300);
}

TEST(Config_Codec_Pressure, Smallest_Code_Reaching_Each_Value)
{
    struct Coefficients { int c1; int c2; };
    for (const Coefficients k : {Coefficients{6600, 1307}, Coefficients{6600, 307}, Coefficients{10000, 100},
                                 Coefficients{7000, 5000}}) {
        for (int p = 10; p <= 2800; p += 10) {
            const Encoded_Value code = Encode_Pressure(p, k.c1, k.c2);
            if (code.Status == Encode_Status::Beyond_Range) {
                EXPECT_EQ(code.Code, 1023);
                EXPECT_LT(Pressure_Of_Code(1023, k.c1, k.c2), p);
                continue;
            }
            ASSERT_EQ(code.Status, Encode_Status::Ok);
            EXPECT_GE(Pressure_Of_Code(code.Code, k.c1, k.c2), p) << k.c1 << "/" << k.c2 << " p " << p;
            if (code.Code > 0 && Pressure_Of_Code(code.Code - 1, k.c1, k.c2) > 0) {
                EXPECT_LT(Pressure_Of_Code(code.Code - 1, k.c1, k.c2), p) << k.c1 << "/" << k.c2 << " p " << p;
            }
            // One code step is under 0.1 bar for these slopes: a multiple of 0.1 bar reads back unchanged.
            if (Pressure_Of_Code(code.Code - 1, k.c1, k.c2) > 0) {
                EXPECT_EQ(Decode_Pressure(code.Code, k.c1, k.c2), p) << k.c1 << "/" << k.c2 << " p " << p;
            }
        }
    }
}

TEST(Config_Codec_Pressure, Searches_End_At_The_Largest_Code)
{
    // 30 bar with C1 below about 6262 mbar/V: no code reaches it.
    const Encoded_Value low_slope = Encode_Pressure(3000, 6000, 1307);
    EXPECT_EQ(low_slope.Status, Encode_Status::Beyond_Range);
    EXPECT_EQ(low_slope.Code, 1023);
    const Encoded_Value far = Encode_Pressure(100000, 100, 10000);
    EXPECT_EQ(far.Status, Encode_Status::Beyond_Range);
    EXPECT_EQ(far.Code, 1023);
    // At or below the sensor's floor every code reaches the value.
    EXPECT_EQ(Encode_Pressure(-50, 6600, 1307).Status, Encode_Status::Ok);
    EXPECT_EQ(Encode_Pressure(-50000, 6600, 1307).Code, 0);
}

TEST(Config_Codec_Pressure, Slope_Of_Zero_Or_Less_Is_Refused)
{
    EXPECT_EQ(Encode_Pressure(300, 0, 1307).Status, Encode_Status::Refused);
    EXPECT_EQ(Encode_Pressure(300, -10, 1307).Status, Encode_Status::Refused);
}

TEST(Config_Codec_Pressure, Decoding_Masks_And_Never_Goes_Negative)
{
    EXPECT_EQ(Decode_Pressure(0, 6600, 1307), 0);
    EXPECT_EQ(Decode_Pressure(10, 6600, 1307), 0);   // below the sensor offset
    EXPECT_EQ(Decode_Pressure(0xFC00 | 136, 6600, 1307), 300);
}

TEST(Config_Codec_RPM, Period_Words)
{
    EXPECT_EQ(Encode_RPM(600), 50000);
    EXPECT_EQ(Encode_RPM(0), 0);
    struct Case { int word; int rpm; };
    for (const Case c : {Case{50000, 600}, Case{3750, 8000}, Case{3749, 8000}, Case{1, 8000}, Case{65535, 0},
                         Case{0, 0}, Case{6000, 5000}, Case{7500, 4000}})
        EXPECT_EQ(Decode_RPM(c.word), c.rpm) << c.word;
    for (int rpm = 500; rpm <= 8000; rpm += 100) {
        const int back = Decode_RPM(Encode_RPM(rpm));
        EXPECT_GE(back, rpm);
        EXPECT_LE(back, rpm + 2) << rpm;   // the period word truncates
    }
}

TEST(Config_Codec_Volts25, Sensitivity_Example_And_Round_Trip)
{
    EXPECT_EQ(Encode_Volts25(250).Code, 103);
    EXPECT_EQ(Decode_Volts25(102), 249);
    EXPECT_EQ(Decode_Volts25(103), 251);
    EXPECT_EQ(Decode_Volts25(0x8000 | 103), 251);   // the measuring flag is outside the mask
    EXPECT_EQ(Decode_Volts25(0), 0);
    for (int volts = 10; volts <= 2500; volts += 10) {
        const Encoded_Value code = Encode_Volts25(volts);
        ASSERT_EQ(code.Status, Encode_Status::Ok) << volts;
        EXPECT_GE(Decode_Volts25(code.Code), volts);
        EXPECT_LT(Decode_Volts25(code.Code - 1), volts) << volts;
    }
    EXPECT_EQ(Encode_Volts25(2500).Code, 1023);
}

TEST(Config_Codec_Volts25, Above_2500_Ends_At_The_Largest_Code)
{
    for (int volts : {2501, 3000, 60000}) {
        const Encoded_Value code = Encode_Volts25(volts);
        EXPECT_EQ(code.Status, Encode_Status::Beyond_Range) << volts;
        EXPECT_EQ(code.Code, 1023);
    }
}

TEST(Config_Codec_Filter, Both_Directions)
{
    EXPECT_EQ(Encode_Filter(10), 250);
    EXPECT_EQ(Decode_Filter(250), 10);
    for (int value = 1; value <= 100; ++value)
        EXPECT_EQ(Decode_Filter(Encode_Filter(value)), value);
}

TEST(Config_Codec_Factor, Examples_Round_Trip_And_Bound)
{
    EXPECT_EQ(Encode_Factor(50).Code, 64);
    EXPECT_EQ(Decode_Factor(64), 50);
    EXPECT_EQ(Encode_Factor(199).Code, 255);
    EXPECT_EQ(Decode_Factor(255), 199);
    for (int factor = 0; factor <= 199; ++factor) {
        const Encoded_Value code = Encode_Factor(factor);
        ASSERT_EQ(code.Status, Encode_Status::Ok);
        EXPECT_EQ(Decode_Factor(code.Code), factor);
    }
    for (int factor : {200, 250, 10000}) {
        EXPECT_EQ(Encode_Factor(factor).Status, Encode_Status::Beyond_Range);
        EXPECT_EQ(Encode_Factor(factor).Code, 255);
    }
}

TEST(Config_Codec_Temperature, Round_Trip_Through_The_Table)
{
    const Temperature_Table table = Falling_Table();
    EXPECT_EQ(Decode_Temperature(266, table), 70);   // 70.2 °C
    EXPECT_EQ(Encode_Temperature(70, table).Code, 266);
    for (int t = 30; t <= 120; ++t) {
        const Encoded_Value code = Encode_Temperature(t, table);
        ASSERT_EQ(code.Status, Encode_Status::Ok) << t;
        EXPECT_EQ(Decode_Temperature(code.Code, table), t) << t;
        EXPECT_LT(Decode_Temperature(code.Code + 1, table), t) << t;
    }
    EXPECT_EQ(Decode_Temperature(0xFC00 | 266, table), 70);
}

TEST(Config_Codec_Temperature, Missing_Or_Unsuitable_Table_Ends_At_Code_0)
{
    const Temperature_Table missing;
    EXPECT_EQ(Decode_Temperature(300, missing), 0);
    EXPECT_EQ(Encode_Temperature(70, missing).Code, 0);
    EXPECT_EQ(Encode_Temperature(70, missing).Status, Encode_Status::Beyond_Range);

    const Temperature_Table cold = Falling_Table(Temperature_Table::Record_Count, [](int) { return 200; });
    EXPECT_EQ(Encode_Temperature(70, cold).Code, 0);
    EXPECT_EQ(Encode_Temperature(70, cold).Status, Encode_Status::Beyond_Range);

    const Temperature_Table hotter_than_table = Falling_Table();
    EXPECT_EQ(Encode_Temperature(151, hotter_than_table).Status, Encode_Status::Beyond_Range);
    EXPECT_EQ(Encode_Temperature(151, hotter_than_table).Code, 0);
}

TEST(Config_Codec_Temperature, Codes_Beyond_A_Short_File_Decode_As_0)
{
    const Temperature_Table short_table = Falling_Table(10);
    EXPECT_EQ(Decode_Temperature(5, short_table), 148);
    EXPECT_EQ(Decode_Temperature(10, short_table), 0);
    EXPECT_EQ(Decode_Temperature(500, short_table), 0);
}

TEST(Config_Codec_Small, Half_Zero128)
{
    EXPECT_EQ(Encode_Half(41), 20);
    EXPECT_EQ(Decode_Half(20), 40);
    EXPECT_EQ(Encode_Zero128(0), 128);
    EXPECT_EQ(Decode_Zero128(128), 0);
    EXPECT_EQ(Encode_Zero128(50), 50);
    EXPECT_EQ(Decode_Zero128(50), 50);
    for (int value = 2; value <= 500; value += 2)
        EXPECT_EQ(Decode_Half(Encode_Half(value)), value);
}
