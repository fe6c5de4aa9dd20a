#include "link/Quorel_Frame.h"

#include "app/Quorel_Timer.h"
#include "link/Quorel_Serial.h"

#include <algorithm>
#include <cstring>

Frame_Exchange::Frame_Exchange(Serial_Port& port, Quorel_Timer& timer_sending, Quorel_Timer& timer_connect)
    : port_(port), timer_sending_(timer_sending), timer_connect_(timer_connect)
{
}

quint8 Frame_Exchange::Checksum(const quint8* bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return quint8(sum & 0xFF);
}

QColor Frame_Exchange::Protokol_Color(Protokol_Colour c)
{
    switch (c) {
    case Protokol_Colour::Blue: return QColor(0x00, 0x00, 0xFF);
    case Protokol_Colour::Lime: return QColor(0x00, 0xFF, 0x00);
    case Protokol_Colour::None: break;
    }
    return QColor();
}

void Frame_Exchange::Set_Protokol(Protokol_Colour c)
{
    protokol_ = c;
    if (hooks.Protokol_Changed)
        hooks.Protokol_Changed(c);
}

void Frame_Exchange::Finish_Request()
{
    Call(hooks.Sequencer_Stop);
    timer_sending_.Set_Enabled(false);
    Tx_Length = std::clamp(Tx_Length, 3, Frame_Size);
    Tx_Frame[Tx_Length - 1] = Checksum(Tx_Frame.data(), Tx_Length - 1);
    timer_sending_.Set_Interval(hooks.Reply_Delay ? hooks.Reply_Delay() : 60);
    timer_sending_.Set_Enabled(true);
    Tx_Pending = true;
}

void Frame_Exchange::Send_Request()
{
    Tx_Pending = false;
    std::memcpy(Sent_Frame.data(), Tx_Frame.data(), size_t(Tx_Length));
    if (Link_Open()) {
        Set_Protokol(Protokol_Colour::Blue);
        if (port_.Port_Is_Open())
            port_.Port_Write(Sent_Frame.data(), Tx_Length);
        if (port_.Port_Error()) {
            Call(hooks.Port_Lost);
            return;
        }
        // The answer limit counts from the last byte on the wire.
        timer_sending_.Set_Interval(Answer_Limit_Ms + Serial_Port::Wire_Time_Ms(Tx_Length));
        timer_sending_.Set_Enabled(true);
    } else {
        Reopen_Configured_Port();
    }
}

void Frame_Exchange::Reopen_Configured_Port()
{
    const QString name = hooks.Port_Name ? hooks.Port_Name() : port_.Port();
    if (!(hooks.Port_Present && hooks.Port_Present(name)))
        return;
    port_.Port_Close();
    port_.Set_Port(name);
    port_.Clear_Port_Error();
    port_.Port_Open();
}

void Frame_Exchange::Timer_SendingTimer()
{
    // An answer is coming in: a blocking read would hold this tick back.
    if (port_.Read_Active())
        return;

    if (port_.Port_Error() && !timer_connect_.Enabled()) {
        Reopen_Configured_Port();
        return;
    }

    if (Tx_Frame[1] == 0x21 || Tx_Frame[1] == 0x81) {
        if (hooks.Build_Identification)
            hooks.Build_Identification();
        Send_Request();
        return;
    }

    timer_sending_.Set_Enabled(false);
    if (Tx_Pending) {
        Send_Request();
        return;
    }

    const quint8 frame_class = Sent_Frame[0];
    const quint8 command = Sent_Frame[1];
    if (frame_class == Class_ECU) {
        if (command == 0x23 || (command >= 0x38 && command <= 0x3D)) {
            if (hooks.Sequencer_Step_Back)
                hooks.Sequencer_Step_Back(1);
        } else if (command >= 0x41 && command <= 0x75) {
            if (hooks.Sequencer_Step_Back)
                hooks.Sequencer_Step_Back(2);
        } else {
            Send_Request();
        }
    } else if (frame_class == Class_Loader) {
        if ((command == 0x81 || command == 0x83 || command == 0x86) && hooks.Loader_Overdue)
            hooks.Loader_Overdue(command);
    }
}

void Frame_Exchange::ComPortRxChar(int /*count*/)
{
    if (!Link_Open())
        return;
    timer_sending_.Set_Enabled(false);
    port_.Port_Read(std::clamp(Rx_Expected, 1, Frame_Size), [this](const QByteArray& bytes) { Answer_Read(bytes); });
}

void Frame_Exchange::Answer_Read(const QByteArray& bytes)
{
    Rx_Length = int(bytes.size());
    std::memcpy(Rx_Frame.data(), bytes.constData(), size_t(Rx_Length));
    if (port_.Port_Error()) {
        Call(hooks.Port_Lost);
        return;
    }
    if (Rx_Length == Rx_Expected) {
        const bool accepted = Rx_Frame[0] == Sent_Frame[0] && Rx_Frame[1] == Sent_Frame[1]
            && Rx_Frame[Rx_Length - 1] == Checksum(Rx_Frame.data(), Rx_Length - 1);
        if (accepted) {
            Set_Protokol(Protokol_Colour::Lime);
            const quint8 frame_class = Rx_Frame[0];
            if (frame_class == Class_ECU || frame_class == Class_Loader)
                Call(hooks.Link_Quality_Answer);
            if (frame_class == Class_ECU)
                Call(hooks.Sequencer_Run);
            else if (frame_class == Class_Loader)
                Call(hooks.Loader_Answer);
        }
        port_.Port_Clear(true, true);
        if (port_.Port_Error()) {
            Call(hooks.Port_Lost);
            return;
        }
    }
    timer_sending_.Set_Enabled(true);
    Run_Receive_Hooks();
}

void Frame_Exchange::Run_Receive_Hooks()
{
    for (const auto& hook : Receive_Hooks)
        if (hook)
            hook();
}
