#include "config/Quorel_Config_Codec.h"

#include "config/Quorel_Config_Fields.h"
#include "config/Quorel_Configuration.h"
#include "config/Quorel_Option_Lists.h"
#include "config/Quorel_Version.h"
#include "monitor/Quorel_Live_Convert.h"
#include "monitor/Quorel_Temperature_Table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using C = Configuration_Class;

constexpr int Largest_Adc_Code = 1023;
constexpr int Largest_Byte = 255;

int Value(const C& config, int C::*member)
{
    const Int_Field_Description* field = Find_Int_Field(member);
    return field ? Clamped_Value(config, *field) : config.*member;
}

int Word(quint8 b0, quint8 b1) { return b0 | (b1 << 8); }

std::pair<quint8, quint8> Word_Bytes(int word) { return {quint8((word >> 8) & 0xFF), quint8(word & 0xFF)}; }

quint8 Bits(std::initializer_list<bool> flags)
{
    quint8 byte = 0;
    int bit = 0;
    for (bool flag : flags) {
        if (flag)
            byte |= quint8(1 << bit);
        ++bit;
    }
    return byte;
}

bool Bit(quint8 byte, int bit) { return (byte >> bit) & 1; }

int Index_Of(Option_List list, const QString& text) { return Option_Position(list, text) & 0xFF; }

}   // namespace

QVector<quint8> Parameter_List(int version_number)
{
    QVector<quint8> list;
    if (!Version_In_Family(version_number))
        return list;
    for (int code = 'A'; code <= 'k'; ++code)
        list.append(quint8(code));
    if (Version_Minor_At_Least(version_number, 16))
        list << quint8('l') << quint8('m');
    if (Version_Minor_At_Least(version_number, 17))
        for (int code = 'n'; code <= 'u'; ++code)
            list.append(quint8(code));
    return list;
}

int Pressure_Of_Code(int word, int c1, int c2)
{
    return Adc_To_Pressure(quint8(word & 0xFF), quint8((word >> 8) & 0xFF), c1, c2);
}

int Decode_Pressure(int word, int c1, int c2) { return Pressure_Of_Code(word, c1, c2) / 10 * 10; }

Encoded_Value Encode_Pressure(int pressure, int c1, int c2)
{
    if (c1 <= 0)
        return {0, Encode_Status::Refused};
    const double start = ((pressure / 100.0 + c2 / 1000.0) / (c1 / 1000.0)) * 204.6;
    int code = int(std::clamp(std::trunc(start), 0.0, double(Largest_Adc_Code)));
    // Bounded at the largest 10-bit code: a low C1 may never reach the value.
    while (code < Largest_Adc_Code && Pressure_Of_Code(code, c1, c2) < pressure)
        ++code;
    if (Pressure_Of_Code(code, c1, c2) < pressure)
        return {code, Encode_Status::Beyond_Range};
    return {code, Encode_Status::Ok};
}

int Encode_RPM(int rpm)
{
    if (rpm <= 0)
        return 0;
    return std::min(30000000 / rpm, 0xFFFF);
}

int Decode_RPM(int word) { return Period_To_RPM(quint8(word & 0xFF), quint8((word >> 8) & 0xFF)); }

int Decode_Volts25(int word)
{
    if (word == 0)
        return 0;
    return (word & Largest_Adc_Code) * 2500 / 1023;
}

Encoded_Value Encode_Volts25(int volts)
{
    int code = std::clamp(volts * 1023 / 2500, 0, Largest_Adc_Code);
    // Bounded at the largest 10-bit code (2500 decodes from 1023 only).
    while (code < Largest_Adc_Code && Decode_Volts25(code) < volts)
        ++code;
    if (Decode_Volts25(code) < volts)
        return {code, Encode_Status::Beyond_Range};
    return {code, Encode_Status::Ok};
}

int Decode_Factor(int byte) { return byte * 100 / 128; }

Encoded_Value Encode_Factor(int factor)
{
    int byte = std::clamp(factor * 128 / 100, 0, Largest_Byte);
    // Bounded at 255, which decodes to 199.
    while (byte < Largest_Byte && Decode_Factor(byte) < factor)
        ++byte;
    if (Decode_Factor(byte) < factor)
        return {byte, Encode_Status::Beyond_Range};
    return {byte, Encode_Status::Ok};
}

int Decode_Temperature(int word, const Temperature_Table& table)
{
    const int index = word & Largest_Adc_Code;
    if (index >= table.Valid_Count())
        return 0;
    return table.At(index) / 10;
}

Encoded_Value Encode_Temperature(int temperature, const Temperature_Table& table)
{
    const int target = temperature * 10;
    const int entries = std::min(table.Valid_Count(), Largest_Adc_Code);
    int code = 0;
    if (entries > 0) {
        int distance = std::abs(table.At(0) - target);
        for (int i = 1; i < entries; ++i) {
            const int next = std::abs(table.At(i) - target);
            if (next > distance)
                break;
            code = i;
            distance = next;
        }
    }
    // The table falls as the code rises, so stepping down raises the
    // temperature. The walk stops at code 0, the warmest entry: a table
    // (or a missing file) that never reaches the value sends code 0.
    while (code > 0 && Decode_Temperature(code, table) < temperature)
        --code;
    if (Decode_Temperature(code, table) < temperature)
        return {code, Encode_Status::Beyond_Range};
    return {code, Encode_Status::Ok};
}

std::pair<quint8, quint8> Encode_Code(quint8 code, const C& config, const Encode_Inputs& inputs,
                                      Encode_Problem* problem)
{
    Encode_Status status = Encode_Status::Ok;
    auto note = [&](const Encoded_Value& value) {
        if (value.Status != Encode_Status::Ok && status != Encode_Status::Refused)
            status = value.Status;
        return value.Code;
    };
    const int c1 = Value(config, &C::MAP_Sensor_C1);
    const int c2 = Value(config, &C::MAP_Sensor_C2);
    auto pressure = [&](int value) { return Word_Bytes(note(Encode_Pressure(value, c1, c2))); };
    auto word = [&](int C::*member) { return Word_Bytes(Value(config, member) & 0xFFFF); };
    auto rpm = [&](int C::*member) { return Word_Bytes(Encode_RPM(Value(config, member))); };
    auto bytes = [&](int first, int second) { return std::pair<quint8, quint8>{quint8(first & 0xFF), quint8(second & 0xFF)}; };
    auto byte_pair = [&](int C::*first, int C::*second) { return bytes(Value(config, first), Value(config, second)); };
    auto half_pair = [&](int C::*first, int C::*second) {
        return bytes(Encode_Half(Value(config, first)), Encode_Half(Value(config, second)));
    };

    std::pair<quint8, quint8> result{0, 0};
    switch (code) {
    case 'A':
        result = {Bits({config.Lambda_ON, config.Pump_Dry_Test_ON, config.MonoInject, config.GP_PressMore_ON,
                        config.GP_PressLow_ON, config.NoSequentInject, config.Polarity_Pulse_ON, config.GP_PressLess_ON}),
                  Bits({config.GPG_RPM_Temp_ON, config.RPM_AutoFilter_ON, config.PG_DualFuelInject_ON,
                        config.GPG_2Fuel_ON, config.Petrol_Filter_ON, config.Petrol_Pass_ON, config.Pump_Hydr_Cond_ON,
                        config.Inject_Delay_ON})};
        break;
    case 'B':
        result = {Bits({false, config.RPM_Virtual_ON, false, false, false, false, config.PG_GAS_Accident_ON,
                        config.MAZDA_Mode_ON}),
                  Bits({config.GPG_RPM_Idle_ON, config.GPG_CutOff_Cycles_ON, config.PG_GAS_Hot_Engine_ON, false,
                        config.ST_Block_Gas})};
        break;
    case 'C': result = Word_Bytes(c1); break;
    case 'D': result = Word_Bytes(c2); break;
    case 'E': result = pressure(config.MAP_OffSet); break;
    case 'F':
        result = Word_Bytes(note(Encode_Volts25(Value(config, &C::RPM_Sensitiv))));
        if (inputs.RPM_Measuring)
            result.first |= 0x80;
        break;
    case 'G': result = Word_Bytes(Encode_Filter(Value(config, &C::RPM_Filter)) & 0xFFFF); break;
    case 'H': result = pressure(Value(config, &C::PG_PressInject)); break;
    case 'I': result = rpm(&C::PG_RPM); break;
    case 'J': result = pressure(Value(config, &C::GP_PressMore) * 100); break;
    case 'K': result = pressure(Value(config, &C::GP_PressLess)); break;
    case 'L': result = pressure(Value(config, &C::GP_PressDrop)); break;
    case 'M': result = pressure(Value(config, &C::GP_PressRise)); break;
    case 'N': result = pressure(Value(config, &C::GP_PressInit)); break;
    case 'O': result = rpm(&C::GPG_RPM_Petrol); break;
    case 'P': result = rpm(&C::GPG_RPM_Gas); break;
    case 'Q': result = rpm(&C::GPG_RPM_Idle); break;
    case 'R': result = Word_Bytes((Value(config, &C::Inject_Range) * 1000) & 0xFFFF); break;
    case 'S': result = word(&C::Inject_Start); break;
    case 'T': result = word(&C::Inject_Duty); break;
    case 'U': result = word(&C::Inject_Period); break;
    case 'V': result = word(&C::Petrol_Filter_Time); break;
    case 'W': result = pressure(Value(config, &C::Pump_PressRise)); break;
    case 'X':
        result = word(&C::Level1);
        result.first |= quint8((config.Level_Invert ? 0x10 : 0) | (config.Level_90 ? 0x20 : 0) |
                               (config.Level_Buzzer_ON ? 0x40 : 0) | (config.GP_Buzzer_ON ? 0x80 : 0));
        break;
    case 'Y': result = word(&C::Level2); break;
    case 'Z': result = word(&C::Level3); break;
    case '[': result = word(&C::Level4); break;
    case '\\': result = word(&C::Level5); break;
    case ']': result = word(&C::GF_ETALON); break;
    case '^':
        result = bytes(Index_Of(Option_List::RPM_Divider, config.RPM_Divider),
                       Index_Of(Option_List::Level_Type, config.Level_Type));
        break;
    case '_':
        result = bytes(Encode_Zero128(Value(config, &C::PG_Time)), Encode_Zero128(Value(config, &C::PG_Delay)));
        break;
    case '`':
        result = bytes(Encode_Half(Value(config, &C::PG_PrimingTime)), Value(config, &C::PG_GAS_Accident_Num));
        break;
    case 'a': result = byte_pair(&C::GP_MinPetTime, &C::GP_MinGasTime); break;
    case 'b': result = byte_pair(&C::GP_MaxPetTime, &C::Pump_MeasureDelay); break;
    case 'c': result = byte_pair(&C::GP_StoreInterval, &C::GP_BackStepNum); break;
    case 'd': result = byte_pair(&C::GP_Time, &C::GPG_CutOff_Cycles); break;
    case 'e':
        result = bytes(Index_Of(Option_List::Inject_Type, config.Inject_Type), Value(config, &C::Inject_Num));
        break;
    case 'f':
        result = bytes(note(Encode_Factor(Value(config, &C::Petrol_Filter_Factor))),
                       note(Encode_Factor(Value(config, &C::MAZDA_Mode_Factor))));
        break;
    case 'g':
        result = bytes(Index_Of(Option_List::Pump_Type, config.Pump_Type), Value(config, &C::Pump_Time));
        break;
    case 'h':
        result = bytes(Index_Of(Option_List::MAP_Sensor_Type, config.MAP_Sensor_Type),
                       Index_Of(Option_List::Lambda_Type, config.Lambda_Type));
        break;
    case 'i': result = half_pair(&C::PG_PrimingTime_1, &C::PG_PrimingTime_2); break;
    case 'j': result = half_pair(&C::PG_PrimingTime_3, &C::PG_PrimingTime_4); break;
    case 'k': result = half_pair(&C::PG_PrimingTime_5, &C::PG_PrimingTime_6); break;
    case 'l': result = byte_pair(&C::Pump_Hydr_Cond_Time_On, &C::Pump_Hydr_Cond_Time_Off); break;
    case 'm': result = word(&C::Inject_Delay); break;
    case 'n': {
        const int temperature = Value(config, &C::GPG_2Fuel_Temp);
        Temperature_Table none;
        result = Word_Bytes(note(Encode_Temperature(temperature, inputs.Table ? *inputs.Table : none)));
        break;
    }
    case 'o': result = byte_pair(&C::GPG_2Fuel_Period, &C::GPG_2Fuel_Delay); break;
    case 'p': result = rpm(&C::GPG_2Fuel_RPM_1); break;
    case 'q': result = rpm(&C::GPG_2Fuel_RPM_2); break;
    case 'r': result = word(&C::GPG_2Fuel_Petrol_1); break;
    case 's': result = word(&C::GPG_2Fuel_Petrol_2); break;
    case 't': result = byte_pair(&C::GPG_2Fuel_Time_11, &C::GPG_2Fuel_Time_12); break;
    case 'u': result = byte_pair(&C::GPG_2Fuel_Time_21, &C::GPG_2Fuel_Time_22); break;
    default: break;
    }
    if (problem)
        *problem = {code, status};
    return result;
}

void Decode_Code(quint8 code, quint8 b0, quint8 b1, C& config, const Temperature_Table* table)
{
    const int w = Word(b0, b1);
    const int c1 = config.MAP_Sensor_C1;
    const int c2 = config.MAP_Sensor_C2;
    auto pressure = [&]() { return Decode_Pressure(w, c1, c2); };
    auto pair = [&](int C::*first, int C::*second) {
        config.*first = b0;
        config.*second = b1;
    };
    auto halves = [&](int C::*first, int C::*second) {
        config.*first = Decode_Half(b0);
        config.*second = Decode_Half(b1);
    };
    switch (code) {
    case 'A':
        config.Lambda_ON = Bit(b0, 0);
        config.Pump_Dry_Test_ON = Bit(b0, 1);
        config.MonoInject = Bit(b0, 2);
        config.GP_PressMore_ON = Bit(b0, 3);
        config.GP_PressLow_ON = Bit(b0, 4);
        config.NoSequentInject = Bit(b0, 5);
        config.Polarity_Pulse_ON = Bit(b0, 6);
        config.GP_PressLess_ON = Bit(b0, 7);
        config.GPG_RPM_Temp_ON = Bit(b1, 0);
        config.RPM_AutoFilter_ON = Bit(b1, 1);
        config.PG_DualFuelInject_ON = Bit(b1, 2);
        config.GPG_2Fuel_ON = Bit(b1, 3);
        config.Petrol_Filter_ON = Bit(b1, 4);
        config.Petrol_Pass_ON = Bit(b1, 5);
        config.Pump_Hydr_Cond_ON = Bit(b1, 6);
        config.Inject_Delay_ON = Bit(b1, 7);
        break;
    case 'B':
        config.RPM_Virtual_ON = Bit(b0, 1);
        config.PG_GAS_Accident_ON = Bit(b0, 6);
        config.MAZDA_Mode_ON = Bit(b0, 7);
        config.GPG_RPM_Idle_ON = Bit(b1, 0);
        config.GPG_CutOff_Cycles_ON = Bit(b1, 1);
        config.PG_GAS_Hot_Engine_ON = Bit(b1, 2);
        config.ST_Block_Gas = Bit(b1, 4);
        break;
    case 'C': config.MAP_Sensor_C1 = w; break;
    case 'D': config.MAP_Sensor_C2 = w; break;
    case 'E': break;
    case 'F': config.RPM_Sensitiv = Decode_Volts25(w); break;
    case 'G': config.RPM_Filter = Decode_Filter(w); break;
    case 'H': config.PG_PressInject = pressure(); break;
    case 'I': config.PG_RPM = Decode_RPM(w); break;
    case 'J': config.GP_PressMore = pressure() / 100; break;
    case 'K': config.GP_PressLess = pressure(); break;
    case 'L': config.GP_PressDrop = pressure(); break;
    case 'M': config.GP_PressRise = pressure(); break;
    case 'N': config.GP_PressInit = pressure(); break;
    case 'O': config.GPG_RPM_Petrol = Decode_RPM(w); break;
    case 'P': config.GPG_RPM_Gas = Decode_RPM(w); break;
    case 'Q': config.GPG_RPM_Idle = Decode_RPM(w); break;
    case 'R': config.Inject_Range = w / 1000; break;
    case 'S': config.Inject_Start = w; break;
    case 'T': config.Inject_Duty = w; break;
    case 'U': config.Inject_Period = w; break;
    case 'V': config.Petrol_Filter_Time = w; break;
    case 'W': config.Pump_PressRise = pressure(); break;
    case 'X':
        config.Level_Invert = Bit(b1, 4);
        config.Level_90 = Bit(b1, 5);
        config.Level_Buzzer_ON = Bit(b1, 6);
        config.GP_Buzzer_ON = Bit(b1, 7);
        config.Level1 = (b1 & 3) * 256 + b0;
        break;
    case 'Y': config.Level2 = w; break;
    case 'Z': config.Level3 = w; break;
    case '[': config.Level4 = w; break;
    case '\\': config.Level5 = w; break;
    case ']': config.GF_ETALON = w; break;
    case '^':
        config.RPM_Divider = Option_Text(Option_List::RPM_Divider, b0);
        config.Level_Type = Option_Text(Option_List::Level_Type, b1);
        break;
    case '_':
        config.PG_Time = Decode_Zero128(b0);
        config.PG_Delay = Decode_Zero128(b1);
        break;
    case '`':
        config.PG_PrimingTime = Decode_Half(b0);
        config.PG_GAS_Accident_Num = b1;
        break;
    case 'a': pair(&C::GP_MinPetTime, &C::GP_MinGasTime); break;
    case 'b': pair(&C::GP_MaxPetTime, &C::Pump_MeasureDelay); break;
    case 'c': pair(&C::GP_StoreInterval, &C::GP_BackStepNum); break;
    case 'd': pair(&C::GP_Time, &C::GPG_CutOff_Cycles); break;
    case 'e':
        config.Inject_Type = Option_Text(Option_List::Inject_Type, b0);
        config.Inject_Num = b1;
        break;
    case 'f':
        config.Petrol_Filter_Factor = Decode_Factor(b0);
        config.MAZDA_Mode_Factor = Decode_Factor(b1);
        break;
    case 'g':
        config.Pump_Type = Option_Text(Option_List::Pump_Type, b0);
        config.Pump_Time = b1;
        break;
    case 'h':
        config.MAP_Sensor_Type = Option_Text(Option_List::MAP_Sensor_Type, b0);
        config.Lambda_Type = Option_Text(Option_List::Lambda_Type, b1);
        break;
    case 'i': halves(&C::PG_PrimingTime_1, &C::PG_PrimingTime_2); break;
    case 'j': halves(&C::PG_PrimingTime_3, &C::PG_PrimingTime_4); break;
    case 'k': halves(&C::PG_PrimingTime_5, &C::PG_PrimingTime_6); break;
    case 'l': pair(&C::Pump_Hydr_Cond_Time_On, &C::Pump_Hydr_Cond_Time_Off); break;
    case 'm': config.Inject_Delay = w; break;
    case 'n': {
        Temperature_Table none;
        config.GPG_2Fuel_Temp = Decode_Temperature(w, table ? *table : none);
        break;
    }
    case 'o': pair(&C::GPG_2Fuel_Period, &C::GPG_2Fuel_Delay); break;
    case 'p': config.GPG_2Fuel_RPM_1 = Decode_RPM(w); break;
    case 'q': config.GPG_2Fuel_RPM_2 = Decode_RPM(w); break;
    case 'r': config.GPG_2Fuel_Petrol_1 = w; break;
    case 's': config.GPG_2Fuel_Petrol_2 = w; break;
    case 't': pair(&C::GPG_2Fuel_Time_11, &C::GPG_2Fuel_Time_12); break;
    case 'u': pair(&C::GPG_2Fuel_Time_21, &C::GPG_2Fuel_Time_22); break;
    default: break;
    }
}

QVector<quint8> Companion_List(quint8 code, const C& config)
{
    static const QByteArray Pressures = "HJLMKNW";
    QByteArray appended;
    switch (code) {
    case 'A':
        if (config.Inject_Delay_ON)
            appended += 'm';
        appended += 'V';
        break;
    case 'C': appended = Pressures + "DE"; break;
    case 'D': appended = Pressures + "CE"; break;
    case 'E':
    case 'h': appended = Pressures + "CD"; break;
    case 'H': appended = "K"; break;
    case 'K': appended = "H"; break;
    case 'I': appended = "POQ"; break;
    case 'O': appended = "IPQ"; break;
    case 'P': appended = "IOQ"; break;
    case 'Q': appended = "I"; break;
    case 'V':
        if (Version_Has_Hydr_Cond_And_Delay(config.Version_Number))
            appended = "m";
        break;
    case '^': appended = "XYZ[\\]"; break;
    case 'e': appended = "RSTU"; break;
    case 'm': appended = "V"; break;
    case 'p': appended = "q"; break;
    case 'q': appended = "p"; break;
    case 'r': appended = "s"; break;
    case 's': appended = "r"; break;
    default: break;
    }
    QVector<quint8> list{code};
    for (char c : appended)
        list.append(quint8(c));
    return list;
}

QByteArray Write_Parameters_Payload(const QVector<quint8>& codes, const C& config, const Encode_Inputs& inputs,
                                    QVector<Encode_Problem>* problems)
{
    QByteArray payload;
    for (quint8 code : codes) {
        Encode_Problem problem;
        const auto [byte_1, byte_2] = Encode_Code(code, config, inputs, &problem);
        if (problem.Status != Encode_Status::Ok && problems)
            problems->append(problem);
        if (problem.Status == Encode_Status::Refused)
            continue;
        payload.append(char(code));
        payload.append(char(byte_1));
        payload.append(char(byte_2));
    }
    return payload;
}

int Decode_Configuration_Block(const quint8* frame, int length, C& config, const Temperature_Table* table)
{
    const QVector<quint8> list = Parameter_List(config.Version_Number);
    // The last byte of the reply is its checksum, not a slot byte.
    const int data_end = length - 1;
    int decoded = 0;
    for (int k = 0; k < list.size(); ++k) {
        const int at = 2 + 2 * k;
        if (at + 1 >= data_end)
            break;
        Decode_Code(list[k], frame[at], frame[at + 1], config, table);
        ++decoded;
    }
    return decoded;
}

bool ECU_Text_Char_Acceptable(QChar c) { return c.unicode() > 0 && c.unicode() < 0xFF; }

bool ECU_Text_Acceptable(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return ECU_Text_Char_Acceptable(c); });
}

QByteArray Car_Number_Payload(const QString& car_num)
{
    QByteArray payload = car_num.left(Car_Num_Max_Length).toLatin1();
    while (payload.size() < Car_Num_Max_Length)
        payload.append(char(0xFF));
    return payload;
}

QString Decode_Car_Number(const quint8* frame, int length)
{
    QByteArray text;
    for (int i = 2; i < std::min(length - 1, 2 + Car_Num_Max_Length); ++i) {
        if (frame[i] == 0xFF || frame[i] == 0)
            break;
        text.append(char(frame[i]));
    }
    return QString::fromLatin1(text);
}

QByteArray Service_Time_Payload(const C& config)
{
    const int set = Value(config, &C::ST_Set) & 0xFFFF;
    const quint32 minutes = quint32(Value(config, &C::ST_Set)) * 60u;
    QByteArray payload;
    payload.append(char(0));
    payload.append(char(Value(config, &C::ST_Speed) & 0xFF));
    payload.append(char(set >> 8));
    payload.append(char(set & 0xFF));
    payload.append(char(((minutes >> 24) & 0x7F) | (config.ST_Block_Gas ? 0x80 : 0)));
    payload.append(char((minutes >> 16) & 0xFF));
    payload.append(char((minutes >> 8) & 0xFF));
    payload.append(char(minutes & 0xFF));
    return payload;
}

bool Decode_Service_Time(const quint8* frame, int length, C& config)
{
    if (length < 11)
        return false;
    config.ST_Speed = frame[3];
    config.ST_Set = Word(frame[4], frame[5]);
    config.ST_Remains = int((quint32(frame[7] & 0x7F) << 24) | (quint32(frame[6]) << 16) | (quint32(frame[9]) << 8) |
                            quint32(frame[8]));
    config.ST_Block_Gas = Bit(frame[7], 7);
    return true;
}
