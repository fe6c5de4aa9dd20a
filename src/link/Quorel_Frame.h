#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class Quorel_Timer;
class Serial_Port;

// The request-answer dialogue with the ECU: one request outstanding, written
// "Reply_Delay" after it was finished, answered within 500 ms of its last
// byte leaving the line, accepted by class, command and checksum, and
// resent until the connection supervision gives up.
class Frame_Exchange
{
public:
    static constexpr int Frame_Size = 1024;
    static constexpr int Answer_Limit_Ms = 500;
    static constexpr quint8 Class_ECU = 0x1D;
    static constexpr quint8 Class_Loader = 0xFD;

    enum class Protokol_Colour { None, Blue, Lime };

    // What the dialogue calls on its neighbours. Unset hooks do nothing.
    struct Hooks
    {
        std::function<void()> Sequencer_Stop;          // sets the sequencer's stop flag
        std::function<void()> Sequencer_Run;           // after an accepted 0x1D answer
        std::function<void(int)> Sequencer_Step_Back;  // step back n instructions and run
        std::function<void()> Loader_Answer;           // after an accepted 0xFD answer
        std::function<void(quint8)> Loader_Overdue;    // 0x81, 0x83, 0x86 unanswered
        std::function<void()> Port_Lost;
        std::function<void()> Link_Quality_Answer;
        // Rebuilds the identification request (boot-loader query in loader mode).
        std::function<void()> Build_Identification;
        std::function<bool()> Link_Open;
        std::function<int()> Reply_Delay;
        std::function<QString()> Port_Name;
        std::function<bool(const QString&)> Port_Present;
        std::function<void(Protokol_Colour)> Protokol_Changed;
    };

    Frame_Exchange(Serial_Port& port, Quorel_Timer& timer_sending, Quorel_Timer& timer_connect);

    Hooks hooks;

    std::array<quint8, Frame_Size> Tx_Frame{};
    std::array<quint8, Frame_Size> Sent_Frame{};
    std::array<quint8, Frame_Size> Rx_Frame{};
    int Tx_Length = 0;
    int Rx_Expected = 0;
    int Rx_Length = 0;   // bytes of Rx_Frame filled by the last read
    bool Tx_Pending = false;

    // Receive hooks: run after every receive event handled while the port
    // is usable, accepted or not, in the order added.
    std::vector<std::function<void()>> Receive_Hooks;

    void Finish_Request();
    void Send_Request();
    void Timer_SendingTimer();
    void ComPortRxChar(int count);

    Protokol_Colour Protokol() const { return protokol_; }
    static QColor Protokol_Color(Protokol_Colour c);

    // 8-bit sum of the first count bytes.
    static quint8 Checksum(const quint8* bytes, int count);

private:
    void Answer_Read(const QByteArray& bytes);
    void Reopen_Configured_Port();
    void Set_Protokol(Protokol_Colour c);
    void Run_Receive_Hooks();
    bool Link_Open() const { return hooks.Link_Open && hooks.Link_Open(); }
    void Call(const std::function<void()>& f) { if (f) f(); }

    Serial_Port& port_;
    Quorel_Timer& timer_sending_;
    Quorel_Timer& timer_connect_;
    Protokol_Colour protokol_ = Protokol_Colour::None;
};
