#include "sim/Quorel_Sim_Pty.h"

#include <algorithm>

#include "sim/Quorel_Sim_Ecu.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace
{
// 10 bits per byte on the wire
constexpr qint64 Byte_Time_Us = 10'000'000 / Sim_Pty_Server::Baud_Rate;
// When the master cannot take bytes or reports an error, try again later.
constexpr int Retry_Ms = 20;
}

Sim_Pty_Server::Sim_Pty_Server(Ecu_Simulator& ecu, Quorel_Clock& clock, QObject* parent)
    : QObject(parent), ecu_(ecu), clock_(clock)
{
    ecu_.Set_Output([this](const QByteArray& bytes) { Queue_Output(bytes); });
    ecu_.On_Presence_Changed = [this](bool present) { Presence_Changed(present); };
}

Sim_Pty_Server::~Sim_Pty_Server()
{
    Stop();
    ecu_.Set_Output(nullptr);
    ecu_.On_Presence_Changed = nullptr;
}

void Sim_Pty_Server::Fail(const QString& what)
{
    error_text_ = what + ": " + QString::fromLocal8Bit(std::strerror(errno));
    Stop();
}

bool Sim_Pty_Server::Start()
{
    if (Running())
        return true;
    error_text_.clear();
    master_fd_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_fd_ < 0) {
        Fail("posix_openpt");
        return false;
    }
    if (grantpt(master_fd_) != 0 || unlockpt(master_fd_) != 0) {
        Fail("grantpt/unlockpt");
        return false;
    }
    char name[128];
    if (ptsname_r(master_fd_, name, sizeof name) != 0) {
        Fail("ptsname");
        return false;
    }
    const int flags = fcntl(master_fd_, F_GETFL);
    if (flags < 0 || fcntl(master_fd_, F_SETFL, flags | O_NONBLOCK) != 0) {
        Fail("fcntl");
        return false;
    }
    slave_keep_fd_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave_keep_fd_ < 0) {
        Fail(QStringLiteral("open %1").arg(QString::fromLocal8Bit(name)));
        return false;
    }
    termios tio{};
    if (tcgetattr(slave_keep_fd_, &tio) != 0) {
        Fail("tcgetattr");
        return false;
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tio.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(slave_keep_fd_, TCSANOW, &tio) != 0) {
        Fail("tcsetattr");
        return false;
    }
    fcntl(master_fd_, F_SETFD, FD_CLOEXEC);
    slave_path_ = QString::fromLocal8Bit(name);
    notifier_ = new QSocketNotifier(master_fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this]() { Master_Readable(); });
    tx_queue_.clear();
    wire_free_us_ = 0;
    return true;
}

void Sim_Pty_Server::Stop()
{
    if (pump_handle_) {
        clock_.Cancel(pump_handle_);
        pump_handle_ = 0;
    }
    if (resume_handle_) {
        clock_.Cancel(resume_handle_);
        resume_handle_ = 0;
    }
    if (notifier_) {
        // may be inside the notifier's own signal
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (slave_keep_fd_ >= 0)
        ::close(slave_keep_fd_);
    if (master_fd_ >= 0)
        ::close(master_fd_);
    slave_keep_fd_ = master_fd_ = -1;
    tx_queue_.clear();
    ++generation_;   // bytes still on their way in are lost with the line
}

void Sim_Pty_Server::Master_Readable()
{
    char buffer[256];
    for (;;) {
        const ssize_t got = ::read(master_fd_, buffer, sizeof buffer);
        if (got > 0) {
            // The bytes reach the ECU when they would have come off a 9600
            // bit/s line, not when the program handed them to the terminal.
            const qint64 now_us = clock_.Now_Ms() * 1000;
            rx_free_us_ = std::max(rx_free_us_, now_us) + got * Byte_Time_Us;
            const QByteArray bytes(buffer, int(got));
            const quint64 generation = generation_;
            clock_.Call_At((rx_free_us_ + 999) / 1000, [this, bytes, generation]() {
                if (generation != generation_ || !Running())
                    return;
                for (char b : bytes) {
                    ecu_.Byte_From_Host(quint8(b));
                    if (!Running())
                        return;  // the device vanished while handling a byte
                }
            });
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // EIO (no slave open) or end of file: keep serving, but do not let the
        // notifier spin on a condition that stays; look again a little later.
        if (notifier_)
            notifier_->setEnabled(false);
        if (!resume_handle_)
            resume_handle_ = clock_.Call_After(Retry_Ms, [this]() {
                resume_handle_ = 0;
                if (notifier_)
                    notifier_->setEnabled(true);
            });
        return;
    }
}

void Sim_Pty_Server::Queue_Output(const QByteArray& bytes)
{
    if (!Running())
        return;
    // An idle wire starts now; a busy one goes on where its last byte ends.
    if (tx_queue_.isEmpty() && !pump_handle_)
        wire_free_us_ = std::max(wire_free_us_, clock_.Now_Ms() * 1000);
    tx_queue_.append(bytes);
    if (!pump_handle_)
        Pump();
}

void Sim_Pty_Server::Pump()
{
    pump_handle_ = 0;
    if (!Running() || tx_queue_.isEmpty())
        return;
    // A late wake-up sends every byte whose time has come, so the line keeps
    // its rate instead of falling behind by each delay.
    const qint64 now_us = clock_.Now_Ms() * 1000;
    qint64 free_us = wire_free_us_;
    int count = 0;
    // a byte is handed over when its last bit has left the wire
    while (count < tx_queue_.size() && free_us + Byte_Time_Us <= now_us) {
        free_us += Byte_Time_Us;
        ++count;
    }
    qint64 next_ms = (free_us + Byte_Time_Us + 999) / 1000;
    if (count > 0) {
        const ssize_t written = ::write(master_fd_, tx_queue_.constData(), size_t(count));
        if (written > 0) {
            tx_queue_.remove(0, written);
            wire_free_us_ += written * Byte_Time_Us;
            next_ms = (wire_free_us_ + Byte_Time_Us + 999) / 1000;
        } else if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR
                   && errno != EIO) {
            // the master is unusable: what is on the wire is lost
            tx_queue_.clear();
            return;
        } else {
            next_ms = clock_.Now_Ms() + Retry_Ms;
        }
    }
    if (!tx_queue_.isEmpty())
        pump_handle_ = clock_.Call_At(next_ms, [this]() { Pump(); });
}

void Sim_Pty_Server::Presence_Changed(bool present)
{
    if (!present) {
        // the device is unplugged: the program's port fails
        Stop();
        slave_path_.clear();
        return;
    }
    if (Start() && On_Slave_Path_Changed)
        On_Slave_Path_Changed(slave_path_);
}
