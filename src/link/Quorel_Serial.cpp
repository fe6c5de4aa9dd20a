#include "link/Quorel_Serial.h"

#include "app/Quorel_Timer.h"

Serial_Port::Serial_Port(Quorel_Clock& clock)
    : clock_(clock), gap_timer_(std::make_unique<Quorel_Timer>(clock, "Timer_Read_Interval", Read_Interval_Ms, false))
{
    gap_timer_->Set_Handler([this]() { Finish_Read(); });
}

Serial_Port::~Serial_Port()
{
    if (rx_event_)
        clock_.Cancel(rx_event_);
}

void Serial_Port::Set_Port(const QString& name)
{
    if (name == port_)
        return;
    port_ = name;
    if (open_) {
        Port_Close();
        Port_Open();
    }
}

void Serial_Port::Port_Open()
{
    if (open_)
        return;
    rx_queue_.clear();
    if (!Device_Open(port_))
        port_error_ = true;
    open_ = true;
    if (On_After_Open)
        On_After_Open();
}

void Serial_Port::Port_Close()
{
    if (!open_)
        return;
    gap_timer_->Set_Enabled(false);
    if (rx_event_) {
        clock_.Cancel(rx_event_);
        rx_event_ = 0;
    }
    Device_Close();
    rx_queue_.clear();
    open_ = false;
    // A read cut off by the close ends with what it got.
    if (read_done_)
        Finish_Read();
    if (On_After_Close)
        On_After_Close();
}

int Serial_Port::Port_Write(const quint8* bytes, int count)
{
    if (port_error_ || !open_ || count <= 0)
        return 0;
    if (!Device_Write(QByteArray(reinterpret_cast<const char*>(bytes), count))) {
        port_error_ = true;
        return 0;
    }
    return count;
}

void Serial_Port::Port_Read(int count, Read_Done done)
{
    if (port_error_ || !open_ || count <= 0) {
        done(QByteArray());
        return;
    }
    read_buffer_.clear();
    read_count_ = count;
    read_done_ = std::move(done);
    Take_Queued();
}

void Serial_Port::Take_Queued()
{
    const int take = qMin<int>(read_count_ - read_buffer_.size(), rx_queue_.size());
    if (take > 0) {
        read_buffer_.append(rx_queue_.left(take));
        rx_queue_.remove(0, take);
    }
    if (read_buffer_.size() >= read_count_) {
        Finish_Read();
        return;
    }
    if (take > 0 || !gap_timer_->Enabled()) {
        // restart the 300 ms inter-byte limit
        gap_timer_->Set_Enabled(false);
        gap_timer_->Set_Enabled(true);
    }
}

void Serial_Port::Finish_Read()
{
    gap_timer_->Set_Enabled(false);
    Read_Done done = std::move(read_done_);
    read_done_ = nullptr;
    const QByteArray got = read_buffer_;
    read_buffer_.clear();
    if (done)
        done(got);
    // Bytes that came in meanwhile and were not purged raise a fresh event.
    if (open_ && !rx_queue_.isEmpty() && !read_done_)
        Raise_Rx();
}

void Serial_Port::Port_Clear(bool input, bool output)
{
    if (port_error_ || !open_)
        return;
    if (input)
        rx_queue_.clear();
    if (!Device_Purge(input, output))
        port_error_ = true;
}

void Serial_Port::Bytes_Arrived(const QByteArray& bytes)
{
    if (!open_ || bytes.isEmpty())
        return;
    rx_queue_.append(bytes);
    if (read_done_)
        Take_Queued();
    else
        Raise_Rx();
}

void Serial_Port::Raise_Rx()
{
    // Deliver from the event loop, never from inside a device callback or a
    // read completion, so that handlers do not nest.
    if (rx_event_)
        return;
    rx_event_ = clock_.Call_After(0, [this]() {
        rx_event_ = 0;
        if (open_ && !read_done_ && !rx_queue_.isEmpty() && On_Rx_Char)
            On_Rx_Char(int(rx_queue_.size()));
    });
}
