#include "sim/Quorel_Sim_Blocks.h"

namespace Sim_Blocks
{

quint8 Checksum(const QByteArray& bytes)
{
    quint8 sum = 0;
    for (char c : bytes)
        sum = quint8(sum + quint8(c));
    return sum;
}

QByteArray Make_Frame(quint8 command, const QByteArray& data, quint8 frame_class)
{
    QByteArray frame;
    frame.reserve(data.size() + 3);
    frame.append(char(frame_class));
    frame.append(char(command));
    frame.append(data);
    frame.append(char(Checksum(frame)));
    return frame;
}

namespace
{
// Latin-1 text cut or blank padded to width.
QByteArray Fixed_Text(const QString& text, int width)
{
    QByteArray bytes = text.toLatin1().left(width);
    bytes.append(QByteArray(width - bytes.size(), ' '));
    return bytes;
}

void Put_24_Msb(QByteArray& block, int at, quint32 value)
{
    block[at] = char((value >> 16) & 0xFF);
    block[at + 1] = char((value >> 8) & 0xFF);
    block[at + 2] = char(value & 0xFF);
}

void Put_16_Lsb(QByteArray& block, int at, quint16 value)
{
    block[at] = char(value & 0xFF);
    block[at + 1] = char(value >> 8);
}
}

QByteArray Identification_Block(const Sim_Ecu_Config& config)
{
    // byte positions of the whole answer, data from byte 2
    QByteArray block(2 + config.Ident_Data_Length(), '\0');
    block[0] = char(Class_ECU);
    block[1] = char(0x30);
    block[2] = char(config.Ident_Code);
    block.replace(3, 16, Fixed_Text(config.Program_Name, 16));
    block.replace(19, 10, Fixed_Text(config.Program_Date, 10));
    block.replace(29, 4, Fixed_Text(config.Program_Version, 4));
    Put_24_Msb(block, 33, config.Work_Gas);
    Put_24_Msb(block, 36, config.Work_Petrol);
    block[39] = char(config.Live_Length);
    block[40] = char(config.Config_Length);
    block[42] = char(config.Gas_Accident_Count);
    for (int n = 1; n <= 12; ++n)
        Put_16_Lsb(block, 44 + 2 * (n - 1), config.Word(n));
    if (config.Has_W13)
        Put_16_Lsb(block, 68, quint16(config.W13));
    block.append(char(Checksum(block)));
    return block;
}

int Correction_Length(const Sim_Ecu_Config& config)
{
    const int w4 = config.Word(4), w7 = config.Word(7), w12 = config.Word(12);
    return (w4 + 1) * (w7 + w12 + 2) + w12 + 4;
}

int Answer_Length(const Sim_Ecu_Config& config, quint8 command)
{
    switch (command) {
    case 0x21: return 4;
    case 0x30: return config.Ident_Data_Length() + 3;
    case 0x31: return config.Live_Length + 3;
    case 0x32: return 67;
    case 0x33: return 11;
    case 0x34: return 11;
    case 0x35: return config.Config_Length + 3;
    case 0x36: return 57;
    case 0x37: return Correction_Length(config);
    case 0x22:
    case 0x23:
    case 0x24: return 3;
    default: break;
    }
    if (Is_Long_Write(command) || Is_Parameter_Write(command))
        return 3;
    return -1;
}

}
