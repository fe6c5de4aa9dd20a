#include "config/Quorel_Config_Codec.h"
#include "config/Quorel_Config_Defaults.h"
#include "config/Quorel_Config_Fields.h"
#include "config/Quorel_Configuration.h"

#include "Test_Print.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

Configuration_Class Defaults(int version_number = 417)
{
    Configuration_Class config;
    Set_Config_Defaults(config, false, Model_Names{});
    config.Inject_Num = 4;
    config.MAP_OffSet = 500;
    config.GF_ETALON = 1288;
    config.Version_Number = version_number;
    return config;
}

std::vector<quint8> Bytes(const QByteArray& bytes) { return {bytes.begin(), bytes.end()}; }

// A reply frame as the ECU gives it back: one slot per code, a 16-bit value
// low byte first, flags and two 8-bit values in their written order.
std::vector<quint8> Reply_Of(const QByteArray& payload)
{
    const QByteArray in_written_order = "AB^_`abcdefghijklotu";
    std::vector<quint8> frame{0x1D, 0x35};
    for (int i = 0; i + 2 < payload.size(); i += 3) {
        const bool keep = in_written_order.contains(payload[i]);
        frame.push_back(quint8(payload[keep ? i + 1 : i + 2]));
        frame.push_back(quint8(payload[keep ? i + 2 : i + 1]));
    }
    frame.push_back(0);   // checksum place
    return frame;
}

}   // namespace

TEST(Config_Codec_Layout, Bytes_Of_Each_Kind)
{
    Configuration_Class config = Defaults();
    config.PG_RPM = 600;
    config.RPM_Sensitiv = 250;
    config.PG_Time = 0;
    config.PG_Delay = 5;
    config.PG_PrimingTime = 41;
    config.PG_GAS_Accident_Num = 7;
    config.Petrol_Filter_Factor = 50;
    config.MAZDA_Mode_Factor = 199;
    config.Level1 = 0x301;
    config.Level_Invert = true;
    config.GP_Buzzer_ON = true;
    config.Level_90 = false;
    config.Level_Buzzer_ON = false;
    config.Inject_Range = 32;
    config.GP_PressMore = 20;
    config.RPM_Divider = "1:3";
    config.Level_Type = "HANA";
    config.Inject_Type = "ANOTHER";
    config.Inject_Num = 6;
    config.Lambda_Type = "no such sensor";

    struct Case { char code; int byte_1; int byte_2; };
    const Encode_Inputs inputs;
    const Case cases[] = {
        {'C', 0x19, 0xC8},                       // 6600, high byte first
        {'D', 0x05, 0x1B},                       // 1307
        {'F', 0, 103},                           // 2.50 V
        {'G', 0, 250},                           // filter 10
        {'I', 50000 >> 8, 50000 & 0xFF},         // 600 rpm
        {'R', 32000 >> 8, 32000 & 0xFF},         // 32 ms in µs
        {'X', 0x03 | 0x10 | 0x80, 0x01},         // Level1 with its flags
        {'^', 3, 3},                             // "1:3", "HANA"
        {'_', 128, 5},                           // 0 sent as 128
        {'`', 20, 7},                            // half, byte
        {'e', 2, 6},                             // "ANOTHER", Inject_Num
        {'f', 64, 255},                          // factors
        {'h', 1, 0},                             // unknown text: index 0
    };
    for (const Case& c : cases) {
        const auto [byte_1, byte_2] = Encode_Code(quint8(c.code), config, inputs);
        EXPECT_EQ(byte_1, c.byte_1) << c.code;
        EXPECT_EQ(byte_2, c.byte_2) << c.code;
    }
    // 'J' carries whole bar: 20 bar as 2000 (0.01 bar).
    const auto [j_1, j_2] = Encode_Code('J', config, inputs);
    EXPECT_EQ(Decode_Pressure(j_2 | (j_1 << 8), 6600, 1307) / 100, 20);
    // The measuring flag rides on bit 7 of 'F'.
    Encode_Inputs measuring;
    measuring.RPM_Measuring = true;
    EXPECT_EQ(Encode_Code('F', config, measuring).first, 0x80);
}

TEST(Config_Codec_Layout, Flag_Bits)
{
    Configuration_Class config;
    const Encode_Inputs inputs;
    using Flag = bool Configuration_Class::*;
    struct Case { Flag flag; char code; int byte_1; int byte_2; };
    const Case cases[] = {
        {&Configuration_Class::Lambda_ON, 'A', 0x01, 0},
        {&Configuration_Class::Pump_Dry_Test_ON, 'A', 0x02, 0},
        {&Configuration_Class::MonoInject, 'A', 0x04, 0},
        {&Configuration_Class::GP_PressMore_ON, 'A', 0x08, 0},
        {&Configuration_Class::GP_PressLow_ON, 'A', 0x10, 0},
        {&Configuration_Class::NoSequentInject, 'A', 0x20, 0},
        {&Configuration_Class::Polarity_Pulse_ON, 'A', 0x40, 0},
        {&Configuration_Class::GP_PressLess_ON, 'A', 0x80, 0},
        {&Configuration_Class::GPG_RPM_Temp_ON, 'A', 0, 0x01},
        {&Configuration_Class::RPM_AutoFilter_ON, 'A', 0, 0x02},
        {&Configuration_Class::PG_DualFuelInject_ON, 'A', 0, 0x04},
        {&Configuration_Class::GPG_2Fuel_ON, 'A', 0, 0x08},
        {&Configuration_Class::Petrol_Filter_ON, 'A', 0, 0x10},
        {&Configuration_Class::Petrol_Pass_ON, 'A', 0, 0x20},
        {&Configuration_Class::Pump_Hydr_Cond_ON, 'A', 0, 0x40},
        {&Configuration_Class::Inject_Delay_ON, 'A', 0, 0x80},
        {&Configuration_Class::RPM_Virtual_ON, 'B', 0x02, 0},
        {&Configuration_Class::PG_GAS_Accident_ON, 'B', 0x40, 0},
        {&Configuration_Class::MAZDA_Mode_ON, 'B', 0x80, 0},
        {&Configuration_Class::GPG_RPM_Idle_ON, 'B', 0, 0x01},
        {&Configuration_Class::GPG_CutOff_Cycles_ON, 'B', 0, 0x02},
        {&Configuration_Class::PG_GAS_Hot_Engine_ON, 'B', 0, 0x04},
        {&Configuration_Class::ST_Block_Gas, 'B', 0, 0x10},
    };
    for (const Case& c : cases) {
        Configuration_Class one;
        one.*c.flag = true;
        const auto [byte_1, byte_2] = Encode_Code(quint8(c.code), one, inputs);
        EXPECT_EQ(byte_1, c.byte_1);
        EXPECT_EQ(byte_2, c.byte_2);
        Configuration_Class back;
        Decode_Code(quint8(c.code), byte_1, byte_2, back, nullptr);
        EXPECT_TRUE(back.*c.flag);
        // Only this flag came back.
        back.*c.flag = false;
        EXPECT_EQ(back, config);
    }
    // Bits that 'B' does not carry are ignored when read.
    Configuration_Class back;
    Decode_Code('B', 0x3D, 0xE8, back, nullptr);
    EXPECT_EQ(back, config);
}

TEST(Config_Codec_Layout, Examples_Read_Back)
{
    Configuration_Class config = Defaults();
    Decode_Code('F', 103, 0, config, nullptr);
    EXPECT_EQ(config.RPM_Sensitiv, 251);
    Decode_Code('I', 50000 & 0xFF, 50000 >> 8, config, nullptr);
    EXPECT_EQ(config.PG_RPM, 600);
    Decode_Code('_', 128, 128, config, nullptr);
    EXPECT_EQ(config.PG_Time, 0);
    EXPECT_EQ(config.PG_Delay, 0);
    Decode_Code('`', 20, 9, config, nullptr);
    EXPECT_EQ(config.PG_PrimingTime, 40);
    EXPECT_EQ(config.PG_GAS_Accident_Num, 9);
    Decode_Code('f', 64, 255, config, nullptr);
    EXPECT_EQ(config.Petrol_Filter_Factor, 50);
    EXPECT_EQ(config.MAZDA_Mode_Factor, 199);
    Decode_Code('H', 136, 0, config, nullptr);
    EXPECT_EQ(config.PG_PressInject, 300);
    Decode_Code('X', 0x01, 0xFF, config, nullptr);
    EXPECT_EQ(config.Level1, 0x301);
    EXPECT_TRUE(config.Level_Invert && config.Level_90 && config.Level_Buzzer_ON && config.GP_Buzzer_ON);
    Decode_Code('^', 0, 8, config, nullptr);
    EXPECT_EQ(config.RPM_Divider, "Error");
    EXPECT_EQ(config.Level_Type, "Error");
    // 'E' is written only.
    const int offset = config.MAP_OffSet;
    Decode_Code('E', 0xFF, 0x03, config, nullptr);
    EXPECT_EQ(config.MAP_OffSet, offset);
}

TEST(Config_Codec_Layout, Values_Are_Clamped_Before_Encoding)
{
    Configuration_Class config = Defaults();
    config.PG_RPM = 100;
    config.Petrol_Filter_Factor = -100;
    config.MAZDA_Mode_Factor = 5000;
    config.PG_Time = 300;
    const Encode_Inputs inputs;
    const auto [i_1, i_2] = Encode_Code('I', config, inputs);
    EXPECT_EQ((i_1 << 8) | i_2, 50000);   // 600 rpm
    const auto [f_1, f_2] = Encode_Code('f', config, inputs);
    EXPECT_EQ(f_1, 0);
    EXPECT_EQ(f_2, 255);
    EXPECT_EQ(Encode_Code('_', config, inputs).first, 50);
    EXPECT_EQ(config.PG_RPM, 100);   // the record is left alone
}

TEST(Config_Codec_Layout, Whole_Record_Round_Trip)
{
    Configuration_Class original = Defaults();
    original.RPM_Divider = "1:4";
    original.Inject_Type = "ANOTHER";
    original.Level_Type = "AEB 806";
    original.Lambda_Type = "0,8 - 1,6 V";
    original.Inject_Start = 1500;
    original.Inject_Duty = 240;
    original.Inject_Period = 800;
    original.RPM_Sensitiv = 251;
    original.GP_PressMore = 25;
    Encode_Inputs inputs;
    QVector<Encode_Problem> problems;
    const QByteArray payload = Write_Parameters_Payload(Parameter_List(417), original, inputs, &problems);
    ASSERT_EQ(payload.size(), 53 * 3);
    // Without a temperature table only 'n' is out of range.
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0].Code, 'n');

    const std::vector<quint8> reply = Reply_Of(payload);
    Configuration_Class back;
    back.Version_Number = 417;
    EXPECT_EQ(Decode_Configuration_Block(reply.data(), int(reply.size()), back, nullptr), 53);

    const std::set<std::string> not_carried = {"Work_Gas", "Work_Petrol", "MAP_OffSet", "MAP_Sensor_Aver_Freq",
                                               "Lambda_Scale", "ST_Set", "ST_Remains", "ST_Speed", "GPG_2Fuel_Temp"};
    for (const Int_Field_Description& field : Int_Fields()) {
        if (!not_carried.count(field.Key)) {
            EXPECT_EQ(back.*field.Member, original.*field.Member) << field.Key;
        }
    }
    for (const Flag_Field_Description& field : Flag_Fields()) {
        if (std::string(field.Key) != "MAP_Sensor_C2_Absolute") {
            EXPECT_EQ(back.*field.Member, original.*field.Member) << field.Key;
        }
    }
    for (auto member : {&Configuration_Class::RPM_Divider, &Configuration_Class::Inject_Type,
                        &Configuration_Class::Pump_Type, &Configuration_Class::Level_Type,
                        &Configuration_Class::MAP_Sensor_Type, &Configuration_Class::Lambda_Type})
        EXPECT_EQ(back.*member, original.*member);
}

TEST(Config_Codec_Block, Short_Reply_Decodes_Only_What_It_Holds)
{
    Configuration_Class original = Defaults();
    original.MAP_Sensor_C1 = 7000;
    const QByteArray payload = Write_Parameters_Payload(Parameter_List(417), original, Encode_Inputs{});
    std::vector<quint8> reply = Reply_Of(payload);

    Configuration_Class back;
    back.Version_Number = 417;
    back.GF_ETALON = 4242;
    back.PG_RPM = 1234;
    // Frame of 2 header bytes, 'A'..'E' slots, half of 'F' and the checksum.
    reply.resize(2 + 5 * 2 + 1 + 1);
    EXPECT_EQ(Decode_Configuration_Block(reply.data(), int(reply.size()), back, nullptr), 5);
    EXPECT_EQ(back.MAP_Sensor_C1, 7000);
    EXPECT_EQ(back.RPM_Sensitiv, 0);
    EXPECT_EQ(back.PG_RPM, 1234);
    EXPECT_EQ(back.GF_ETALON, 4242);

    Configuration_Class none;
    EXPECT_EQ(Decode_Configuration_Block(reply.data(), 0, none, nullptr), 0);
    EXPECT_EQ(Decode_Configuration_Block(reply.data(), 2, none, nullptr), 0);
    none.Version_Number = 500;
    EXPECT_EQ(Decode_Configuration_Block(reply.data(), int(reply.size()), none, nullptr), 0);
    EXPECT_EQ(none, [] { Configuration_Class c; c.Version_Number = 500; return c; }());
}

TEST(Config_Codec_Companions, Lists_And_Frame_Lengths)
{
    Configuration_Class config = Defaults(416);
    config.Inject_Delay_ON = false;
    struct Case { char code; const char* list; };
    const Case cases[] = {
        {'A', "AV"},          {'C', "CHJLMKNWDE"}, {'D', "DHJLMKNWCE"}, {'E', "EHJLMKNWCD"},
        {'h', "hHJLMKNWCD"},  {'H', "HK"},         {'K', "KH"},         {'I', "IPOQ"},
        {'O', "OIPQ"},        {'P', "PIOQ"},       {'Q', "QI"},         {'V', "Vm"},
        {'^', "^XYZ[\\]"},    {'e', "eRSTU"},      {'m', "mV"},         {'p', "pq"},
        {'q', "qp"},          {'r', "rs"},         {'s', "sr"},         {'F', "F"},
        {'u', "u"},
    };
    for (const Case& c : cases) {
        const QVector<quint8> list = Companion_List(quint8(c.code), config);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(list.data()), list.size()), QByteArray(c.list)) << c.code;
    }
    config.Inject_Delay_ON = true;
    EXPECT_EQ(Companion_List('A', config), (QVector<quint8>{'A', 'm', 'V'}));
    config.Version_Number = 415;
    EXPECT_EQ(Companion_List('V', config), QVector<quint8>{'V'});

    EXPECT_EQ(Companion_List('C', config).size(), 10);
    EXPECT_EQ(Write_Frame_Length(int(Companion_List('C', config).size())), 33);
    EXPECT_EQ(Write_Frame_Length(53), 162);
}

TEST(Config_Codec_Payload, Triplets_High_Byte_First)
{
    Configuration_Class config = Defaults();
    const QByteArray payload = Write_Parameters_Payload(Companion_List('H', config), config, Encode_Inputs{});
    // 'H' 3.00 bar is code 136, 'K' 3.00 bar likewise.
    EXPECT_EQ(Bytes(payload), (std::vector<quint8>{'H', 0x00, 136, 'K', 0x00, 136}));
    const QByteArray c = Write_Parameters_Payload({'C', 'I'}, config, Encode_Inputs{});
    EXPECT_EQ(Bytes(c), (std::vector<quint8>{'C', 0x19, 0xC8, 'I', 0xC3, 0x50}));
}

TEST(Config_Codec_Payload, Unreachable_Pressure_Is_Sent_As_The_Largest_Code_And_Reported)
{
    Configuration_Class config = Defaults();
    config.MAP_Sensor_C1 = 6000;
    config.GP_PressMore = 30;
    QVector<Encode_Problem> problems;
    const QByteArray payload = Write_Parameters_Payload({'J'}, config, Encode_Inputs{}, &problems);
    EXPECT_EQ(Bytes(payload), (std::vector<quint8>{'J', 0x03, 0xFF}));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0].Status, Encode_Status::Beyond_Range);
}

TEST(Config_Codec_Messages, Car_Number)
{
    EXPECT_EQ(Bytes(Car_Number_Payload("AB123")), (std::vector<quint8>{'A', 'B', '1', '2', '3', 255, 255, 255}));
    EXPECT_EQ(Bytes(Car_Number_Payload("")), std::vector<quint8>(8, 255));
    EXPECT_EQ(Car_Number_Payload("ABCDEFGHIJ"), QByteArray("ABCDEFGH"));

    struct Case { std::vector<quint8> frame; const char* car_num; };
    const Case cases[] = {
        {{0x1D, 0x34, 'A', 'B', '1', '2', '3', 255, 255, 255, 0}, "AB123"},
        {{0x1D, 0x34, 'X', 'Y', 0, 'Z', 'Z', 'Z', 'Z', 'Z', 0}, "XY"},
        {{0x1D, 0x34, 255, 'Y', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 0}, ""},
        {{0x1D, 0x34, 0, 'Y', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 0}, ""},
        {{0x1D, 0x34, '1', '2', '3', '4', '5', '6', '7', '8', 0x77}, "12345678"},
        {{0x1D, 0x34, 'A', 'B', 'C'}, "AB"},   // short: the last byte is the checksum
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode_Car_Number(c.frame.data(), int(c.frame.size())), QString(c.car_num));
}

TEST(Config_Codec_Messages, Service_Time)
{
    Configuration_Class config;
    config.ST_Speed = 90;
    config.ST_Set = 100;
    config.ST_Block_Gas = true;
    // 6000 minutes, gas-block flag on bit 7 of the first byte.
    EXPECT_EQ(Bytes(Service_Time_Payload(config)), (std::vector<quint8>{0, 90, 0x00, 0x64, 0x80, 0x00, 0x17, 0x70}));
    config.ST_Block_Gas = false;
    config.ST_Set = 32000;   // 1 920 000 minutes = 0x1D4C00
    config.ST_Speed = 300;   // limited to 200
    EXPECT_EQ(Bytes(Service_Time_Payload(config)), (std::vector<quint8>{0, 200, 0x7D, 0x00, 0x00, 0x1D, 0x4C, 0x00}));

    const std::vector<quint8> reply{0x1D, 0x33, 0, 80, 0x64, 0x00, 0x12, 0x85, 0x78, 0x56, 0};
    Configuration_Class read;
    ASSERT_TRUE(Decode_Service_Time(reply.data(), int(reply.size()), read));
    EXPECT_EQ(read.ST_Speed, 80);
    EXPECT_EQ(read.ST_Set, 100);
    EXPECT_EQ(read.ST_Remains, 0x05125678);
    EXPECT_TRUE(read.ST_Block_Gas);

    Configuration_Class untouched;
    EXPECT_FALSE(Decode_Service_Time(reply.data(), 10, untouched));
    EXPECT_EQ(untouched, Configuration_Class{});
}
