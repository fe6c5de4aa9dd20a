#pragma once

#include "app/Quorel_Clock.h"
#include "app/Quorel_Timer.h"
#include "link/Quorel_Frame.h"
#include "link/Quorel_Serial_Virtual.h"

#include <QByteArray>

#include <functional>
#include <vector>

// A far end that collects what the program sends and answers on demand.
struct Scripted_Peer : Serial_Peer
{
    Quorel_Clock& clock;
    Virtual_Serial_Port& line;
    QByteArray received;
    std::vector<qint64> byte_times;
    // Called with every byte; may answer through line.Send_To_Host.
    std::function<void(Scripted_Peer&)> on_byte;

    Scripted_Peer(Quorel_Clock& c, Virtual_Serial_Port& l) : clock(c), line(l) { line.Attach(this); }
    void Byte_From_Host(quint8 byte) override
    {
        received.append(char(byte));
        byte_times.push_back(clock.Now_Ms());
        if (on_byte)
            on_byte(*this);
    }
};

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(quint8(v)));
    return out;
}

inline QByteArray With_Checksum(QByteArray frame)
{
    frame.append(char(Frame_Exchange::Checksum(reinterpret_cast<const quint8*>(frame.constData()), int(frame.size()))));
    return frame;
}

// Frame exchange on a virtual line with its two timers, as the main window
// wires it, and a sequencer stand-in that counts its runs.
struct Frame_Rig
{
    Virtual_Clock clock;
    Virtual_Serial_Port port{clock};
    Quorel_Timer timer_sending{clock, "Timer_Sending", 100, false};
    Quorel_Timer timer_connect{clock, "Timer_Connect", 5000, false};
    Frame_Exchange frames{port, timer_sending, timer_connect};
    Scripted_Peer peer{clock, port};

    bool link_open = true;
    int reply_delay = 60;
    bool present = true;
    int sequencer_runs = 0;
    int sequencer_stops = 0;
    std::vector<int> step_backs;
    std::vector<quint8> loader_overdue;
    int ports_lost = 0;
    int quality_answers = 0;
    int identification_builds = 0;

    Frame_Rig()
    {
        port.Set_Port("ttyVIRT0");
        auto& h = frames.hooks;
        h.Link_Open = [this]() { return link_open; };
        h.Reply_Delay = [this]() { return reply_delay; };
        h.Port_Name = [this]() { return QString("ttyVIRT0"); };
        h.Port_Present = [this](const QString&) { return present; };
        h.Sequencer_Stop = [this]() { ++sequencer_stops; };
        h.Sequencer_Run = [this]() { ++sequencer_runs; };
        h.Sequencer_Step_Back = [this](int n) { step_backs.push_back(n); };
        h.Loader_Overdue = [this](quint8 c) { loader_overdue.push_back(c); };
        h.Port_Lost = [this]() { ++ports_lost; };
        h.Link_Quality_Answer = [this]() { ++quality_answers; };
        h.Build_Identification = [this]() {
            ++identification_builds;
            Prepare(Bytes({0x1D, 0x21, 0x21, 0x21}), 4);
        };
        timer_sending.Set_Handler([this]() { frames.Timer_SendingTimer(); });
        port.On_Rx_Char = [this](int n) { frames.ComPortRxChar(n); };
        port.Port_Open();
    }

    // A request builder: fills Tx_Frame (without checksum) and finishes it.
    void Prepare(const QByteArray& body, int rx_expected)
    {
        for (int i = 0; i < body.size(); ++i)
            frames.Tx_Frame[size_t(i)] = quint8(body[i]);
        frames.Tx_Length = int(body.size()) + 1;
        frames.Rx_Expected = rx_expected;
        frames.Finish_Request();
    }

    std::vector<qint64> Write_Times() const
    {
        std::vector<qint64> t;
        for (const auto& w : port.Writes())
            t.push_back(w.time_ms);
        return t;
    }
};
