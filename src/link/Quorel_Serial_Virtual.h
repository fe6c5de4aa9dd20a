#pragma once

#include "link/Quorel_Serial.h"

#include <vector>

class Virtual_Serial_Port;

// The far end of a virtual line: the simulated ECU or a test.
class Serial_Peer
{
public:
    virtual ~Serial_Peer() = default;
    // One byte as it comes off the wire from the program.
    virtual void Byte_From_Host(quint8 byte) = 0;
    // The program opened or closed its end.
    virtual void Host_Opened() {}
    virtual void Host_Closed() {}
};

// A serial line inside the process, timed on a clock at 9600 bit/s: every
// byte takes Wire_Time_Ms per byte in each direction, and bytes queue
// behind those still on the wire.
class Virtual_Serial_Port : public Serial_Port
{
public:
    struct Write_Record
    {
        qint64 time_ms;   // when the program handed the bytes over
        QByteArray bytes;
    };

    explicit Virtual_Serial_Port(Quorel_Clock& clock);
    ~Virtual_Serial_Port() override;

    void Attach(Serial_Peer* peer) { peer_ = peer; }

    // Peer side: bytes towards the program.
    void Send_To_Host(const QByteArray& bytes);

    // A vanished device fails every operation until it is back.
    void Set_Present(bool present);
    bool Present() const { return present_; }
    // Device names this line answers to; empty accepts any name.
    void Set_Device_Name(const QString& name) { device_name_ = name; }
    // The device is there but refuses this user: every open fails.
    void Set_Open_Denied(bool denied) { deny_open_ = denied; }
    bool Open_Denied() const override { return denied_; }
    QString Open_Error_Text() const override { return denied_ ? QStringLiteral("Permission denied") : QString(); }

    const std::vector<Write_Record>& Writes() const { return writes_; }
    void Clear_Writes() { writes_.clear(); }
    int Open_Count() const { return open_count_; }

protected:
    bool Device_Open(const QString& name) override;
    void Device_Close() override;
    bool Device_Write(const QByteArray& bytes) override;
    bool Device_Purge(bool input, bool output) override;

private:
    // Line time in units of 1/48000 s: a millisecond (48 units) and a byte
    // at 9600 bit/s (50 units) are both whole, so frames do not drift.
    static constexpr qint64 Units_Per_Second = 48000;
    static constexpr qint64 Units_Per_Ms = Units_Per_Second / 1000;
    static_assert(10 * Units_Per_Second % Baud_Rate == 0);
    static constexpr qint64 Byte_Units = 10 * Units_Per_Second / Baud_Rate;
    qint64 Now_Units() const { return clock_.Now_Ms() * Units_Per_Ms; }
    static qint64 Due_Ms(qint64 units) { return (units + Units_Per_Ms - 1) / Units_Per_Ms; }
    void Cancel_All(std::vector<Quorel_Clock::Handle>& handles);

    Serial_Peer* peer_ = nullptr;
    bool present_ = true;
    bool device_open_ = false;
    bool deny_open_ = false;
    bool denied_ = false;   // the last open was refused
    QString device_name_;
    int open_count_ = 0;
    qint64 tx_free_ = 0;  // when the outgoing wire is free again (line units)
    qint64 rx_free_ = 0;  // same for the incoming wire
    std::vector<Quorel_Clock::Handle> tx_pending_;
    std::vector<Quorel_Clock::Handle> rx_pending_;
    std::vector<Write_Record> writes_;
};
