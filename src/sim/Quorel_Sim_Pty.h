#pragma once

#include "app/Quorel_Clock.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class Ecu_Simulator;
class QSocketNotifier;

// Serves a simulated ECU on a pseudo-terminal. The program opens the slave
// side as its serial port; answers leave the master at the pace of a
// 9600 bit/s line. Nothing here blocks the event loop.
class Sim_Pty_Server : public QObject
{
    Q_OBJECT
public:
    Sim_Pty_Server(Ecu_Simulator& ecu, Quorel_Clock& clock, QObject* parent = nullptr);
    ~Sim_Pty_Server() override;

    // Creates the pseudo-terminal; false with Error_Text() on failure.
    bool Start();
    void Stop();
    bool Running() const { return master_fd_ >= 0; }
    QString Slave_Path() const { return slave_path_; }
    QString Error_Text() const { return error_text_; }

    // A vanished device comes back as a new pseudo-terminal, with a new path.
    std::function<void(const QString&)> On_Slave_Path_Changed;

    static constexpr int Baud_Rate = 9600;

private:
    void Master_Readable();
    void Queue_Output(const QByteArray& bytes);
    void Pump();
    void Presence_Changed(bool present);
    void Fail(const QString& what);

    Ecu_Simulator& ecu_;
    Quorel_Clock& clock_;
    int master_fd_ = -1;
    int slave_keep_fd_ = -1;  // keeps the slave open while the program reopens it
    QString slave_path_;
    QString error_text_;
    QSocketNotifier* notifier_ = nullptr;
    QByteArray tx_queue_;
    qint64 wire_free_us_ = 0;
    qint64 rx_free_us_ = 0;
    quint64 generation_ = 0;
    Quorel_Clock::Handle pump_handle_ = 0;
    Quorel_Clock::Handle resume_handle_ = 0;
};
