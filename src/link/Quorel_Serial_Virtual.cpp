#include "link/Quorel_Serial_Virtual.h"

#include <algorithm>

Virtual_Serial_Port::Virtual_Serial_Port(Quorel_Clock& clock) : Serial_Port(clock) {}

Virtual_Serial_Port::~Virtual_Serial_Port()
{
    Cancel_All(tx_pending_);
    Cancel_All(rx_pending_);
}

void Virtual_Serial_Port::Cancel_All(std::vector<Quorel_Clock::Handle>& handles)
{
    for (auto h : handles)
        clock_.Cancel(h);
    handles.clear();
}

void Virtual_Serial_Port::Set_Present(bool present)
{
    present_ = present;
    if (!present && device_open_) {
        Cancel_All(tx_pending_);
        Cancel_All(rx_pending_);
        device_open_ = false;
    }
}

bool Virtual_Serial_Port::Device_Open(const QString& name)
{
    denied_ = false;
    if (!present_ || (!device_name_.isEmpty() && name != device_name_))
        return false;
    if (deny_open_) {
        denied_ = true;
        return false;
    }
    device_open_ = true;
    ++open_count_;
    tx_free_ = rx_free_ = Now_Units();
    if (peer_)
        peer_->Host_Opened();
    return true;
}

void Virtual_Serial_Port::Device_Close()
{
    Cancel_All(tx_pending_);
    Cancel_All(rx_pending_);
    if (device_open_ && peer_)
        peer_->Host_Closed();
    device_open_ = false;
}

bool Virtual_Serial_Port::Device_Write(const QByteArray& bytes)
{
    if (!device_open_ || !present_)
        return false;
    writes_.push_back({clock_.Now_Ms(), bytes});
    qint64 t = std::max(tx_free_, Now_Units());
    for (char c : bytes) {
        t += Byte_Units;
        const quint8 byte = quint8(c);
        auto handle = std::make_shared<Quorel_Clock::Handle>(0);
        *handle = clock_.Call_At(Due_Ms(t), [this, byte, handle]() {
            tx_pending_.erase(std::remove(tx_pending_.begin(), tx_pending_.end(), *handle), tx_pending_.end());
            if (peer_ && device_open_)
                peer_->Byte_From_Host(byte);
        });
        tx_pending_.push_back(*handle);
    }
    tx_free_ = t;
    return true;
}

bool Virtual_Serial_Port::Device_Purge(bool /*input*/, bool output)
{
    if (!device_open_ || !present_)
        return false;
    if (output) {
        // what has not left the transmit queue yet never reaches the wire
        Cancel_All(tx_pending_);
        tx_free_ = Now_Units();
    }
    return true;
}

void Virtual_Serial_Port::Send_To_Host(const QByteArray& bytes)
{
    if (!device_open_ || !present_)
        return;
    qint64 t = std::max(rx_free_, Now_Units());
    for (char c : bytes) {
        t += Byte_Units;
        const char byte = c;
        auto handle = std::make_shared<Quorel_Clock::Handle>(0);
        *handle = clock_.Call_At(Due_Ms(t), [this, byte, handle]() {
            rx_pending_.erase(std::remove(rx_pending_.begin(), rx_pending_.end(), *handle), rx_pending_.end());
            if (device_open_)
                Bytes_Arrived(QByteArray(1, byte));
        });
        rx_pending_.push_back(*handle);
    }
    rx_free_ = t;
}
