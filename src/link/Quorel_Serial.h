#pragma once

#include "app/Quorel_Clock.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Quorel_Timer;

// The one serial port of the program (ComPort). Line settings are fixed:
// 9600 bit/s, 8 data bits, no parity, 1 stop bit, no flow control.
//
// Failures never raise: they set the sticky Port_Error, which only callers
// clear. While it is set, writes, reads and purges do nothing.
//
// Reading does not block the event loop: Port_Read collects bytes as they
// arrive and completes when count bytes are in, or 300 ms after the last
// byte, exactly as a blocking read with a 300 ms inter-byte limit would end.
// No receive event is raised while a read is collecting.
class Serial_Port
{
public:
    static constexpr int Baud_Rate = 9600;
    static constexpr int Read_Interval_Ms = 300;
    static constexpr int Buffer_Size = 1024;

    using Read_Done = std::function<void(const QByteArray&)>;

    explicit Serial_Port(Quorel_Clock& clock);
    virtual ~Serial_Port();

    // Events, raised in the user-interface thread.
    std::function<void()> On_After_Open;
    std::function<void()> On_After_Close;
    std::function<void(int)> On_Rx_Char;

    QString Port() const { return port_; }
    // A different name on an open port closes and reopens it.
    void Set_Port(const QString& name);

    void Port_Open();
    void Port_Close();
    bool Port_Is_Open() const { return open_; }

    bool Port_Error() const { return port_error_; }
    void Set_Port_Error() { port_error_ = true; }
    void Clear_Port_Error() { port_error_ = false; }
    // The last open failed because this user may not open the device, and
    // the system's text for the failure of the last open (empty after success).
    virtual bool Open_Denied() const { return false; }
    virtual QString Open_Error_Text() const { return QString(); }

    // Hands count bytes to the device; returns the number written.
    int Port_Write(const quint8* bytes, int count);
    void Port_Read(int count, Read_Done done);
    void Port_Clear(bool input, bool output);

    int Bytes_Waiting() const { return int(rx_queue_.size()); }
    bool Read_Active() const { return bool(read_done_); }

    // Time in ms that count bytes take on the wire (10 bits per byte).
    static int Wire_Time_Ms(int count) { return (count * 10 * 1000 + Baud_Rate - 1) / Baud_Rate; }
    // Write time limit: 100 ms per byte plus 1000 ms per write.
    static int Write_Limit_Ms(int count) { return 100 * count + 1000; }

protected:
    // Device side, implemented by the real and the virtual line.
    virtual bool Device_Open(const QString& name) = 0;
    virtual void Device_Close() = 0;
    virtual bool Device_Write(const QByteArray& bytes) = 0;
    virtual bool Device_Purge(bool input, bool output) = 0;

    // Called by the device side with every chunk it received.
    void Bytes_Arrived(const QByteArray& bytes);
    // Called by the device side on a failure it detects on its own.
    void Device_Failed() { port_error_ = true; }

    Quorel_Clock& clock_;

private:
    void Take_Queued();
    void Finish_Read();
    void Raise_Rx();

    QString port_;
    bool open_ = false;
    bool port_error_ = false;
    QByteArray rx_queue_;
    QByteArray read_buffer_;
    int read_count_ = 0;
    Read_Done read_done_;
    std::unique_ptr<Quorel_Timer> gap_timer_;
    Quorel_Clock::Handle rx_event_ = 0;
};

// Serial devices present on this machine, in the system's order.
QStringList List_Serial_Ports();
// True if name is one of List_Serial_Ports(), or a full path to an existing
// terminal device (pseudo-terminals and socat bridges).
bool Port_Present(const QString& name);
