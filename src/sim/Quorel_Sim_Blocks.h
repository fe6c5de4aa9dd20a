#pragma once

#include "sim/Quorel_Sim_Config.h"

#include <QByteArray>

// Frames and answer blocks as the ECU sends them.
namespace Sim_Blocks
{
constexpr quint8 Class_ECU = 0x1D;

// 8-bit sum of all bytes.
quint8 Checksum(const QByteArray& bytes);
// class, command, data, checksum
QByteArray Make_Frame(quint8 command, const QByteArray& data, quint8 frame_class = Class_ECU);
// The whole answer to 0x30: N + 3 bytes.
QByteArray Identification_Block(const Sim_Ecu_Config& config);
// Length of the answer to a request with this command, checksum included;
// -1 for a command the ECU does not know.
int Answer_Length(const Sim_Ecu_Config& config, quint8 command);
// Length of the correction-factor block: (W4 + 1) * (W7 + W12 + 2) + W12 + 4.
int Correction_Length(const Sim_Ecu_Config& config);

inline bool Is_Long_Write(quint8 command) { return command >= 0x38 && command <= 0x3D; }
inline bool Is_Parameter_Write(quint8 command) { return command >= 0x41 && command <= 0x75; }
inline bool Is_Read(quint8 command) { return command >= 0x30 && command <= 0x37; }
}
