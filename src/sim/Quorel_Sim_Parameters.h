#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// The configuration parameters of the simulated firmware, as the ECU keeps
// them: one two-byte slot per letter code.
namespace Sim_Parameters
{
// major x 100 + minor of a version text such as "4.19"; 0 when not a number.
int Version_Number(const QString& version_text);
// Letter codes the firmware of this version understands, in block order:
// 'A' ... 'k' for 4xx, 6xx and 8xx, then 'l', 'm' from minor 16, then
// 'n' ... 'u' from minor 17.
std::vector<quint8> Codes(int version_number);
// Codes that carry one 16-bit value. The ECU keeps it as a number: written
// high byte first, read back low byte first. The other codes carry two
// separate bytes (or flag bytes) that read back in the order written.
bool Is_Word(quint8 code);
// Factory wire value of a code: byte 1 << 8 | byte 2 as a write carries it.
quint16 Factory_Value(quint8 code);
}
