// Link benchmark: the program's link stack against QuorelSim on a
// pseudo-terminal at 9600 bit/s. After the connection list it polls live
// data for a while of real time and reports polls per second against the
// protocol's bound, and the CPU time the program spends per poll.
//
//   QuorelLinkBench [path/to/QuorelSim] [--seconds s] [--latency ms]
//                   [--version profile] [--reply-delay ms] [--local-loop]
//
// Without a path the simulator is taken from QUOREL_BINARY_DIR. With
// --local-loop the benchmark drives the polling itself instead of the
// instruction sequencer (identification, block, then live data only).

#include "app/Quorel_Clock.h"
#include "app/Quorel_Context.h"
#include "link/Quorel_Serial.h"
#include "link/Quorel_Serial_Qt.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <sys/resource.h>

namespace
{
struct Options
{
    QString sim_path;
    int seconds = 10;
    int latency_ms = 5;
    int reply_delay_ms = -1;   // the settings default
    QString profile = "4.19";
    bool local_loop = false;
};

double Cpu_Seconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool Parse(const QStringList& args, Options& options)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto number = [&](int& value, int min, int max) {
            bool ok = false;
            value = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || value < min || value > max)
                std::fprintf(stderr, "QuorelLinkBench: %s needs a number from %d to %d\n", qPrintable(a), min, max);
            return ok && value >= min && value <= max;
        };
        if (a == "--seconds") {
            if (!number(options.seconds, 1, 3600))
                return false;
        } else if (a == "--latency") {
            if (!number(options.latency_ms, 0, 1000))
                return false;
        } else if (a == "--reply-delay") {
            if (!number(options.reply_delay_ms, 1, 999))
                return false;
        } else if (a == "--version" && i + 1 < args.size()) {
            options.profile = args[++i];
        } else if (a == "--local-loop") {
            options.local_loop = true;
        } else if (!a.startsWith("--") && options.sim_path.isEmpty()) {
            options.sim_path = a;
        } else {
            std::fprintf(stderr, "QuorelLinkBench: unknown argument %s\n", qPrintable(a));
            return false;
        }
    }
    if (options.sim_path.isEmpty()) {
        const QByteArray dir = qgetenv("QUOREL_BINARY_DIR");
        if (dir.isEmpty()) {
            std::fprintf(stderr, "QuorelLinkBench: give the QuorelSim path or set QUOREL_BINARY_DIR\n");
            return false;
        }
        options.sim_path = QString::fromLocal8Bit(dir) + "/QuorelSim";
    }
    if (!QFileInfo(options.sim_path).isExecutable()) {
        std::fprintf(stderr, "QuorelLinkBench: %s is not an executable\n", qPrintable(options.sim_path));
        return false;
    }
    return true;
}

// Identification, block, then live data for ever: the least the link needs
// to poll, for comparison with the sequencer.
void Local_Poll_Loop(Frame_Exchange& frames, int& live_length)
{
    const auto request = [&frames](quint8 code, int expected) {
        frames.Tx_Frame[0] = Frame_Exchange::Class_ECU;
        frames.Tx_Frame[1] = frames.Tx_Frame[2] = frames.Tx_Frame[3] = code;
        frames.Tx_Length = 5;
        frames.Rx_Expected = expected;
        frames.Finish_Request();
    };
    switch (frames.Rx_Frame[1]) {
    case 0x21: request(0x30, frames.Rx_Frame[2] + 3); break;
    case 0x30:
        live_length = frames.Rx_Frame[39] + 3;
        request(0x31, live_length);
        break;
    default: request(0x31, live_length); break;
    }
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!Parse(app.arguments(), options))
        return 2;

    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(options.sim_path,
              {"--version", options.profile, "--latency", QString::number(options.latency_ms)});
    if (!sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "QuorelLinkBench: QuorelSim did not start: %s\n", qPrintable(sim.errorString()));
        sim.kill();
        sim.waitForFinished(2000);
        return 1;
    }
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();

    QTemporaryDir folder;   // the settings file stays out of the way
    Real_Clock clock;
    Quorel_Context context(clock, std::make_unique<Qt_Serial_Port>(clock), folder.path(), "QuorelGAS");
    context.App_Settings.Port_Name = path;
    if (options.reply_delay_ms > 0)
        context.App_Settings.Reply_Delay = options.reply_delay_ms;

    int live_length = 0;
    if (options.local_loop) {
        context.Frames.hooks.Sequencer_Run = [&context, &live_length]() { Local_Poll_Loop(context.Frames, live_length); };
        context.Frames.hooks.Sequencer_Step_Back = [&context](int) { context.Frames.Finish_Request(); };
    }

    // Answers taken during the connection list, per command. The list ends
    // with the correction factors (the local loop with the identification
    // block); polling is measured from the first live data after it.
    std::map<int, int> connection_answers;
    bool list_done = false;
    const quint8 last_of_list = options.local_loop ? 0x30 : 0x37;
    QElapsedTimer since_open;
    qint64 connection_ms = 0;
    context.Frames.Receive_Hooks.push_back([&]() {
        const Frame_Exchange& f = context.Frames;
        if (connection_ms == 0 && f.Rx_Length >= 3 && f.Rx_Frame[0] == Frame_Exchange::Class_ECU
            && f.Rx_Frame[f.Rx_Length - 1] == Frame_Exchange::Checksum(f.Rx_Frame.data(), f.Rx_Length - 1))
        {
            ++connection_answers[f.Rx_Frame[1]];
            if (f.Rx_Frame[1] == last_of_list && f.Sent_Frame[1] == last_of_list)
                list_done = true;
        }
    });
    // Accepted live-data answers, counted from the first one on.
    qint64 polls = 0;
    int answer_length = 0;
    bool measuring = false, done = false;
    QElapsedTimer wall;
    double cpu_start = 0, cpu_s = 0, wall_s = 0;
    context.Frames.Receive_Hooks.push_back([&]() {
        const Frame_Exchange& f = context.Frames;
        const bool accepted = f.Rx_Length >= 3 && f.Sent_Frame[1] == 0x31 && f.Rx_Frame[0] == Frame_Exchange::Class_ECU
                              && f.Rx_Frame[1] == 0x31
                              && f.Rx_Frame[f.Rx_Length - 1] == Frame_Exchange::Checksum(f.Rx_Frame.data(), f.Rx_Length - 1);
        if (!accepted || done || !list_done)
            return;
        if (!measuring) {
            measuring = true;
            connection_ms = std::max<qint64>(1, since_open.elapsed());
            answer_length = f.Rx_Length;
            wall.start();
            cpu_start = Cpu_Seconds();
            return;
        }
        ++polls;
        // the window closes with the first answer after its end
        if (wall.elapsed() >= options.seconds * 1000) {
            done = true;
            wall_s = double(wall.nsecsElapsed()) / 1e9;
            cpu_s = Cpu_Seconds() - cpu_start;
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        }
    });

    QTimer give_up;
    give_up.setSingleShot(true);
    QObject::connect(&give_up, &QTimer::timeout, &app, [&]() {
        if (!done)
            app.quit();
    });
    give_up.start(30000 + options.seconds * 1000);

    since_open.start();
    context.ComPort->Set_Port(path);
    context.ComPort->Port_Open();
    if (context.ComPort->Port_Error()) {
        std::fprintf(stderr, "QuorelLinkBench: cannot open %s\n", qPrintable(path));
        sim.terminate();
        sim.waitForFinished(5000);
        return 1;
    }
    app.exec();

    context.ComPort->Port_Close();
    sim.terminate();
    if (!sim.waitForFinished(5000))
        sim.kill();

    if (!done || polls == 0) {
        std::fprintf(stderr, "QuorelLinkBench: live data stopped or never came (polls %lld, connected: %s)\n",
                     static_cast<long long>(polls),
                     context.ECU_Connected ? "yes" : "no");
        return 1;
    }
    const int reply_delay = context.App_Settings.Reply_Delay;
    const int bound_ms = reply_delay + Serial_Port::Wire_Time_Ms(5) + Serial_Port::Wire_Time_Ms(answer_length)
                         + options.latency_ms;
    const double rate = double(polls) / wall_s;
    const double bound_rate = 1000.0 / bound_ms;
    std::printf("driver            %s\n", options.local_loop ? "local polling loop" : "instruction sequencer");
    std::printf("profile           %s, ECU latency %d ms, reply delay %d ms\n", qPrintable(options.profile),
                options.latency_ms, reply_delay);
    std::printf("connection list   %lld ms to the first poll after it; answers:", static_cast<long long>(connection_ms));
    for (const auto& [command, count] : connection_answers)
        std::printf(" %02X x%d", command, count);
    std::printf("\n");
    std::printf("polls             %lld in %.2f s\n", static_cast<long long>(polls), wall_s);
    std::printf("polls per second  %.2f\n", rate);
    std::printf("bound             %d ms per poll (%d + %d + %d + %d) = %.2f polls/s\n", bound_ms, reply_delay,
                Serial_Port::Wire_Time_Ms(5), Serial_Port::Wire_Time_Ms(answer_length), options.latency_ms,
                bound_rate);
    std::printf("ratio to bound    %.3f\n", rate / bound_rate);
    std::printf("CPU per poll      %.3f ms\n", cpu_s * 1000.0 / double(polls));
    std::printf("CPU of one core   %.2f %%\n", 100.0 * cpu_s / wall_s);
    return 0;
}
