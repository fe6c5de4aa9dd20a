#include "sim/Quorel_Sim_Store.h"

#include "sim/Quorel_Sim_Blocks.h"
#include "sim/Quorel_Sim_Parameters.h"

#include <algorithm>

namespace
{
void Put_16_Lsb(QByteArray& bytes, int at, quint16 value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
}

quint8 At(const QByteArray& bytes, int i) { return quint8(bytes[i]); }

// Nine points of 0, 2, 4, 6, 9, 12, 16, 20, 25 ms, factor 1.00 (128/128)
// everywhere, so every slope is 0.
QByteArray Factory_Map()
{
    static const int petrol_ms[9] = {0, 2, 4, 6, 9, 12, 16, 20, 25};
    QByteArray map(Sim_Ecu_Store::Map_Size, '\0');
    for (int k = 0; k < 9; ++k) {
        Put_16_Lsb(map, 6 * k, 0);
        Put_16_Lsb(map, 6 * k + 2, 128);
        Put_16_Lsb(map, 6 * k + 4, quint16(petrol_ms[k] * 1000));
    }
    return map;
}

// Pressure factors from 1.35 at low pressure down to about 0.56, gas
// offsets 0.70, petrol offsets 1.00.
QByteArray Factory_Factors(const Sim_Ecu_Config& config)
{
    const int c = config.Word(4) + 1, p = config.Word(7) + 1, v = config.Word(12) + 1;
    QByteArray bytes;
    bytes.reserve(c * (p + v) + v);
    for (int row = 0; row < p; ++row)
        for (int col = 0; col < c; ++col)
            bytes.append(char(qMax(72, 173 - col * 5)));
    bytes.append(QByteArray(c * v, char(70)));
    bytes.append(QByteArray(v, char(100)));
    return bytes;
}
}

QByteArray Sim_Ecu_Store::Make_Password_Block(const QString& password, const QString& owner)
{
    if (password.isEmpty())
        return QByteArray(Password_Size, char(0xFF));
    QByteArray block = password.toLatin1().left(8);
    block.append(QByteArray(8 - block.size(), char(0xFF)));
    block.append(owner.toLatin1());
    block = block.left(Password_Size);
    block.append(QByteArray(Password_Size - block.size(), char(0xFF)));
    return block;
}

QByteArray Sim_Ecu_Store::Make_Car_Num(const QString& car_num)
{
    QByteArray bytes = car_num.toLatin1().left(Car_Num_Size);
    bytes.append(QByteArray(Car_Num_Size - bytes.size(), char(0xFF)));
    return bytes;
}

Sim_Ecu_Store Sim_Ecu_Store::Factory(const Sim_Ecu_Config& config)
{
    Sim_Ecu_Store store;
    store.Password_Block = Make_Password_Block(config.Password, config.Password_Owner);
    store.Car_Num = Make_Car_Num(config.Car_Num);
    store.Map = Factory_Map();
    store.Fit(config);
    return store;
}

void Sim_Ecu_Store::Fit(const Sim_Ecu_Config& config)
{
    for (quint8 code : Sim_Parameters::Codes(Sim_Parameters::Version_Number(config.Program_Version)))
        Parameters.try_emplace(code, Sim_Parameters::Factory_Value(code));
    const int length = Sim_Blocks::Correction_Length(config) - 3;
    if (Factors.size() != length)
        Factors = Factory_Factors(config);
}

QByteArray Sim_Ecu_Store::Config_Answer(const Sim_Ecu_Config& config) const
{
    // one slot per code in list order; an ECU that announces another length
    // sends its slots cut or zero padded to it
    QByteArray data;
    for (quint8 code : Sim_Parameters::Codes(Sim_Parameters::Version_Number(config.Program_Version))) {
        const auto it = Parameters.find(code);
        const quint16 value = it == Parameters.end() ? 0 : it->second;
        const char byte1 = char(value >> 8), byte2 = char(value & 0xFF);
        if (Sim_Parameters::Is_Word(code))
            data.append(byte2).append(byte1);
        else
            data.append(byte1).append(byte2);
    }
    data = data.left(config.Config_Length);
    data.append(QByteArray(config.Config_Length - data.size(), '\0'));
    return data;
}

QByteArray Sim_Ecu_Store::Service_Answer() const
{
    QByteArray data(8, '\0');
    data[1] = char(ST_Speed);
    Put_16_Lsb(data, 2, ST_Set);
    // high half low byte first with the block bit on top, then the low half
    data[4] = char((ST_Remains >> 16) & 0xFF);
    data[5] = char(((ST_Remains >> 24) & 0x7F) | (ST_Block_Gas ? 0x80 : 0));
    Put_16_Lsb(data, 6, quint16(ST_Remains & 0xFFFF));
    return data;
}

QByteArray Sim_Ecu_Store::Factor_Answer(const Sim_Ecu_Config& config) const
{
    const int length = Sim_Blocks::Correction_Length(config) - 3;
    QByteArray data = Factors.left(length);
    data.append(QByteArray(length - data.size(), '\0'));
    return data;
}

bool Sim_Ecu_Store::Apply_Parameter_List(const Sim_Ecu_Config& config, const QByteArray& data, int& ignored_codes)
{
    if (data.isEmpty() || data.size() % 3 != 0)
        return false;
    const auto codes = Sim_Parameters::Codes(Sim_Parameters::Version_Number(config.Program_Version));
    for (int i = 0; i < data.size(); i += 3) {
        const quint8 code = At(data, i);
        if (std::find(codes.begin(), codes.end(), code) == codes.end()) {
            ++ignored_codes;
            continue;
        }
        Parameters[code] = quint16(At(data, i + 1) << 8 | At(data, i + 2));
    }
    return true;
}

bool Sim_Ecu_Store::Apply_Service(const QByteArray& data)
{
    if (data.size() != 8)
        return false;
    ST_Speed = At(data, 1);
    ST_Set = quint16(At(data, 2) << 8 | At(data, 3));
    ST_Block_Gas = (At(data, 4) & 0x80) != 0;
    ST_Remains = quint32(At(data, 4) & 0x7F) << 24 | quint32(At(data, 5)) << 16 | quint32(At(data, 6)) << 8
                 | At(data, 7);
    return true;
}

bool Sim_Ecu_Store::Apply_Password(const QByteArray& data)
{
    if (data.size() != Password_Size)
        return false;
    Password_Block = data;
    return true;
}

bool Sim_Ecu_Store::Apply_Car_Num(const QByteArray& data)
{
    if (data.size() != Car_Num_Size)
        return false;
    Car_Num = data;
    return true;
}

bool Sim_Ecu_Store::Apply_Map(const QByteArray& data)
{
    if (data.size() != Map_Size)
        return false;
    Map = data;
    return true;
}

bool Sim_Ecu_Store::Apply_Factors(const Sim_Ecu_Config& config, const QByteArray& data)
{
    if (data.size() != Sim_Blocks::Correction_Length(config) - 3)
        return false;
    Factors = data;
    return true;
}
