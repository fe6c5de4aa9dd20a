#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// What the simulated ECU reports about itself in its identification block,
// and how fast it answers.
struct Sim_Ecu_Config
{
    QString Program_Name = "QGstreamLG4";   // 16 characters on the wire, blank padded
    QString Program_Date = "12.03.2019";    // 10 characters
    QString Program_Version = "4.19";       // 4 characters
    quint8 Ident_Code = 1;                  // 7 or more asks for a newer program
    quint32 Work_Gas = 1520;                // hours on gas, 24 bits
    quint32 Work_Petrol = 310;              // hours on petrol, 24 bits
    quint8 Gas_Accident_Count = 0;
    // Data bytes of the live-data answer (its length is this + 3); 68
    // covers every live value up to the pump-test start pressure.
    quint8 Live_Length = 68;
    // Data bytes of the configuration answer: a two-byte slot for each of
    // the 53 parameter codes 'A' ... 'u' of firmware 4.19.
    quint8 Config_Length = 2 * 53;
    // W1 ... W12: geometry of the correction-factor tables: pressure start,
    // step, last column (W2 ... W4), petrol start, step, last row (W5 ... W7),
    // voltage start, step, last row (W10 ... W12). W4, W7 and W12 set the
    // length of the correction-factor block.
    std::array<quint16, 12> W{1, 500, 125, 19, 0, 1000, 23, 0, 0, 600, 100, 11};
    // W13: program version the ECU asks for (119 = 1.19); only sent when
    // Has_W13 is set, which makes the block two bytes longer.
    qint16 W13 = 119;
    bool Has_W13 = true;
    // What the ECU holds when it starts: the password with its owner text
    // (date of setting, then "/" name, "//" phone, "///" comment), empty for
    // none, and the car number, at most 8 characters.
    QString Password;
    QString Password_Owner;
    QString Car_Num;
    // Time between the last byte of a request and the first of its answer.
    int Latency_Ms = 5;

    // N of the identification answer: the data bytes of the block.
    int Ident_Data_Length() const { return Has_W13 ? 68 : 66; }
    quint16 Word(int n) const { return W[size_t(n - 1)]; }
};
