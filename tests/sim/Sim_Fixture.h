#pragma once

#include "app/Quorel_Clock.h"
#include "link/Quorel_Serial_Virtual.h"
#include "sim/Quorel_Sim_Ecu.h"
#include "sim/Quorel_Sim_Virtual.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <initializer_list>
#include <optional>

inline quint8 Sum8(const QByteArray& bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += quint8(bytes[i]);
    return quint8(sum);
}

inline bool Checksum_Ok(const QByteArray& frame)
{
    return frame.size() >= 3 && Sum8(frame, int(frame.size()) - 1) == quint8(frame.back());
}

// A request frame of the given bytes with its checksum appended.
inline QByteArray Frame(std::initializer_list<int> bytes)
{
    QByteArray f;
    for (int b : bytes)
        f.append(char(b));
    f.append(char(Sum8(f, int(f.size()))));
    return f;
}

inline QByteArray Bytes(std::initializer_list<int> bytes)
{
    QByteArray f;
    for (int b : bytes)
        f.append(char(b));
    return f;
}

// Read request: class, code, code, code, checksum.
inline QByteArray Read_Request(int code) { return Frame({0x1D, code, code, code}); }

// The program's end of a virtual line with the simulator at the far end.
struct Sim_Line_Fixture : ::testing::Test
{
    Virtual_Clock clock;
    Virtual_Serial_Port port{clock};
    std::optional<Ecu_Simulator> ecu;

    void SetUp() override { Join({}); }

    void Join(const Sim_Ecu_Config& config)
    {
        if (port.Port_Is_Open())
            port.Port_Close();
        port.Attach(nullptr);
        ecu.emplace(clock, config);
        Sim_Attach_Virtual(*ecu, port);
        port.Set_Port("ttySIM0");
        port.Clear_Port_Error();
        port.Port_Open();
        ASSERT_FALSE(port.Port_Error());
    }

    void Write(const QByteArray& bytes)
    {
        port.Port_Write(reinterpret_cast<const quint8*>(bytes.constData()), int(bytes.size()));
    }

    // Reads up to count bytes; ends after count bytes or the 300 ms gap.
    QByteArray Read(int count)
    {
        bool done = false;
        QByteArray got;
        port.Port_Read(count, [&](const QByteArray& bytes) {
            got = bytes;
            done = true;
        });
        EXPECT_TRUE(clock.Advance_Until([&] { return done; }, 5000));
        return got;
    }

    // Writes a request and reads what comes back, asking for count bytes.
    QByteArray Exchange(const QByteArray& request, int count)
    {
        Write(request);
        return Read(count);
    }

    void Set_Faults(const std::function<void(Sim_Faults&)>& change)
    {
        Sim_Faults f = ecu->Faults();
        change(f);
        ecu->Set_Faults(f);
    }
};
