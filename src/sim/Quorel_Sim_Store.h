#pragma once

#include "sim/Quorel_Sim_Config.h"

#include <QByteArray>

#include <map>

// What the simulated ECU keeps in its memory, block by block, as the wire
// carries it. Reads are built from here and writes land here.
struct Sim_Ecu_Store
{
    static constexpr int Password_Size = 64;
    static constexpr int Car_Num_Size = 8;
    static constexpr int Map_Size = 54;   // bytes 2 ... 55 of the map frame

    // Wire value of each parameter code: byte 1 << 8 | byte 2 as written.
    std::map<quint8, quint16> Parameters;
    // 8 password bytes, then date and owner text, 0xFF padded; all 0xFF
    // when no password is set.
    QByteArray Password_Block;
    // Service time: flag byte, interval, remaining minutes (31 bits) and the
    // block-gas bit.
    quint8 ST_Speed = 0;
    quint16 ST_Set = 0;
    quint32 ST_Remains = 0;
    bool ST_Block_Gas = false;
    // Car number characters, 0xFF padded to 8 bytes.
    QByteArray Car_Num;
    // The calibration map as its frame carries it (slopes, factors, times).
    QByteArray Map;
    // Pressure factors, gas offsets, petrol offsets, one byte per cell.
    QByteArray Factors;

    // The store of a factory-fresh ECU of that firmware, with the password
    // and car number the configuration asks for.
    static Sim_Ecu_Store Factory(const Sim_Ecu_Config& config);
    // Fits the store to another firmware or geometry: codes it lacks get
    // factory values, the correction tables take the new size.
    void Fit(const Sim_Ecu_Config& config);

    static QByteArray Make_Password_Block(const QString& password, const QString& owner);
    static QByteArray Make_Car_Num(const QString& car_num);

    // Data bytes of the read answers (between command byte and checksum).
    QByteArray Config_Answer(const Sim_Ecu_Config& config) const;
    QByteArray Service_Answer() const;
    QByteArray Factor_Answer(const Sim_Ecu_Config& config) const;

    // Stores the data bytes of a write; false when they do not fit the block
    // (the ECU then does not acknowledge). Codes the firmware does not know
    // are skipped and counted in ignored_codes.
    bool Apply_Parameter_List(const Sim_Ecu_Config& config, const QByteArray& data, int& ignored_codes);
    bool Apply_Service(const QByteArray& data);
    bool Apply_Password(const QByteArray& data);
    bool Apply_Car_Num(const QByteArray& data);
    bool Apply_Map(const QByteArray& data);
    bool Apply_Factors(const Sim_Ecu_Config& config, const QByteArray& data);
};
