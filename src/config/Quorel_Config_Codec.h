#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>

#include <utility>

class Configuration_Class;
class Temperature_Table;

// The ECU's configuration parameters on the wire: the codes each firmware
// knows, the value conversions, the two bytes of every code, the companion
// codes, and the car-number and service-time blocks. Sends nothing itself.

// The codes of the connected firmware, in the order of the block: 0, 43
// ('A'..'k'), 45 (.. 'm') or 53 (.. 'u') codes.
QVector<quint8> Parameter_List(int version_number);

// How an encoding went. Beyond_Range: no code reaches the value, the
// largest one (or, for temperatures, code 0) is sent. Refused: the value
// has no code at all (pressure with C1 <= 0) and must not be sent.
enum class Encode_Status { Ok, Beyond_Range, Refused };

struct Encoded_Value
{
    int Code = 0;
    Encode_Status Status = Encode_Status::Ok;
};

// Pressure in 0.01 bar; c1 in mbar per volt, c2 in mbar.
int Pressure_Of_Code(int word, int c1, int c2);          // as measured, never negative
int Decode_Pressure(int word, int c1, int c2);           // reduced to a multiple of 10
Encoded_Value Encode_Pressure(int pressure, int c1, int c2);   // smallest 10-bit code reaching it

int Encode_RPM(int rpm);   // period word
int Decode_RPM(int word);

int Decode_Volts25(int word);           // 0.01 V
Encoded_Value Encode_Volts25(int volts);

inline int Encode_Filter(int value) { return value * 25; }
inline int Decode_Filter(int word) { return word * 4 / 100; }

int Decode_Factor(int byte);           // 0.01
Encoded_Value Encode_Factor(int factor);

// Temperatures in °C through the table of 0.1 °C per 10-bit code. A code
// beyond the records read decodes as 0.
int Decode_Temperature(int word, const Temperature_Table& table);
Encoded_Value Encode_Temperature(int temperature, const Temperature_Table& table);

inline int Encode_Half(int value) { return (value / 2) & 0xFF; }
inline int Decode_Half(int byte) { return byte * 2; }
inline int Encode_Zero128(int value) { return value == 0 ? 128 : value & 0xFF; }
inline int Decode_Zero128(int byte) { return byte == 128 ? 0 : byte; }

// What encoding needs besides the record.
struct Encode_Inputs
{
    const Temperature_Table* Table = nullptr;   // nullptr: no table, as a missing file
    bool RPM_Measuring = false;                 // bit 7 of byte 1 of 'F'
};

// One problem met while encoding: the code and what went wrong.
struct Encode_Problem
{
    quint8 Code = 0;
    Encode_Status Status = Encode_Status::Ok;
};

// Byte 1 and byte 2 of a code as written. Values are limited to their
// editing ranges first; the record is left alone. A code that is not a
// parameter gives two zero bytes.
std::pair<quint8, quint8> Encode_Code(quint8 code, const Configuration_Class& config, const Encode_Inputs& inputs,
                                      Encode_Problem* problem = nullptr);

// Sets the fields of one code from its slot, b0 and b1 as read.
void Decode_Code(quint8 code, quint8 b0, quint8 b1, Configuration_Class& config, const Temperature_Table* table);

// The changed code followed by the codes that must travel with it.
QVector<quint8> Companion_List(quint8 code, const Configuration_Class& config);

// Bytes 2 onwards of a write-parameters frame: code, byte 1, byte 2 per
// code. Codes whose value is refused are left out and reported.
QByteArray Write_Parameters_Payload(const QVector<quint8>& codes, const Configuration_Class& config,
                                    const Encode_Inputs& inputs, QVector<Encode_Problem>* problems = nullptr);

inline int Write_Frame_Length(int code_count) { return 3 * code_count + 3; }

// Decodes the configuration reply (whole frame, checksum last) slot by
// slot, as far as the reply reaches. Returns the number of codes decoded.
int Decode_Configuration_Block(const quint8* frame, int length, Configuration_Class& config,
                               const Temperature_Table* table);

// Texts that travel to the ECU (the car number, the password) use one fixed
// code page, ISO 8859-1: one byte a character. A character outside it, NUL
// and U+00FF (0xFF, the block's padding) would cut or change the text in
// the ECU, so input refuses them.
bool ECU_Text_Char_Acceptable(QChar c);
bool ECU_Text_Acceptable(const QString& text);

// Car number block: bytes 2..9, one Latin-1 character a byte, padded with 255.
QByteArray Car_Number_Payload(const QString& car_num);
// The characters up to the first 255 or 0; empty for a short frame.
QString Decode_Car_Number(const quint8* frame, int length);

// Service time block, bytes 2..9.
QByteArray Service_Time_Payload(const Configuration_Class& config);
// Sets ST_Speed, ST_Set, ST_Remains and ST_Block_Gas; false (nothing set)
// for a frame shorter than 11 bytes.
bool Decode_Service_Time(const quint8* frame, int length, Configuration_Class& config);
