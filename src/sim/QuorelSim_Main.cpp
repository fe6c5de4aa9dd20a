// QuorelSim: a simulated gas ECU on a pseudo-terminal. Prints the device
// path on stdout and serves until SIGINT or SIGTERM.

#include "app/Quorel_Clock.h"
#include "sim/Quorel_Sim_Ecu.h"
#include "sim/Quorel_Sim_Profiles.h"
#include "sim/Quorel_Sim_Pty.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{
int signal_pipe[2] = {-1, -1};

void On_Signal(int)
{
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(signal_pipe[1], &c, 1);
}

void Print_Line(const QString& text)
{
    std::fputs(qPrintable(text + '\n'), stdout);
    std::fflush(stdout);
}

bool Parse_Int(const QCommandLineParser& parser, const QString& name, int min, int max, int& value)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int v = parser.value(name).toInt(&ok);
    if (!ok || v < min || v > max) {
        std::fprintf(stderr, "QuorelSim: --%s needs a number from %d to %d\n", qPrintable(name), min, max);
        return false;
    }
    value = v;
    return true;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("QuorelSim");
    QCoreApplication::setApplicationVersion(QStringLiteral("1.19"));

    QCommandLineParser parser;
    parser.setApplicationDescription("Simulated gas ECU on a pseudo-terminal. Prints the device path and serves "
                                     "until interrupted.");
    parser.addHelpOption();
    const Sim_Ecu_Config defaults;
    const QString profiles = Sim_Profiles::Names().join(", ");
    parser.addOptions({
        {"version", "Firmware profile: " + profiles + ". Sets model name, parameter count and correction "
                    "table geometry together.", "profile", defaults.Program_Version},
        {"model", "ECU firmware name reported in the identification block (overrides the profile's).", "name"},
        {"firmware", "ECU firmware version text, for example 4.19 (overrides the profile's; the parameter "
                     "count follows it).", "version"},
        {"date", "ECU firmware date text (10 characters).", "date"},
        {"too-new", "Answer as an ECU that needs a newer program (identification code 7)."},
        {"password", "Configuration password held by the ECU (at most 8 characters; default none).", "text"},
        {"password-owner", "Date and owner text stored with the password, e.g. \"01.02.2024/Name//Phone\".",
         "text"},
        {"car", "Car number held by the ECU (at most 8 characters; default none).", "text"},
        {"id-code", "Identification code (0 to 255).", "code", QString::number(defaults.Ident_Code)},
        {"latency", "Answer latency in milliseconds.", "ms", QString::number(defaults.Latency_Ms)},
        {"no-w13", "Send the identification block without W13 (two bytes shorter)."},
        {"silence", "Never answer."},
        {"bad-checksum", "Answer with a checksum off by one."},
        {"wrong-echo", "Answer with a wrong command echo."},
        {"short-answer", "Cut n bytes from the end of every answer.", "n"},
        {"drop-every", "Lose every n-th answer byte.", "n"},
        {"answer-every", "Answer only every n-th request.", "n"},
        {"vanish-after", "The device vanishes after s seconds...", "s"},
        {"vanish-for", "...and comes back after s seconds as a new device (default 5).", "s"},
    });
    parser.process(app);

    const auto profile = Sim_Profiles::Profile(parser.value("version"));
    if (!profile) {
        std::fprintf(stderr, "QuorelSim: --version needs one of %s\n", qPrintable(profiles));
        return 2;
    }
    Sim_Ecu_Config config = *profile;
    if (parser.isSet("model"))
        config.Program_Name = parser.value("model");
    if (parser.isSet("firmware")) {
        config.Program_Version = parser.value("firmware");
        config.Config_Length = quint8(qMin(255, Sim_Profiles::Config_Length_For(config.Program_Version)));
    }
    if (parser.isSet("date"))
        config.Program_Date = parser.value("date");
    for (const char* name : {"password", "car"}) {
        if (parser.value(name).toLatin1().size() > 8) {
            std::fprintf(stderr, "QuorelSim: --%s takes at most 8 characters\n", name);
            return 2;
        }
    }
    config.Password = parser.value("password");
    config.Password_Owner = parser.value("password-owner");
    config.Car_Num = parser.value("car");
    config.Has_W13 = !parser.isSet("no-w13");
    int id_code = config.Ident_Code;
    Sim_Faults faults;
    int vanish_after = -1, vanish_for = 5;
    if (!Parse_Int(parser, "id-code", 0, 255, id_code) || !Parse_Int(parser, "latency", 0, 10000, config.Latency_Ms)
        || !Parse_Int(parser, "short-answer", 0, 1024, faults.Short_Answer)
        || !Parse_Int(parser, "drop-every", 0, 1024, faults.Drop_Every)
        || !Parse_Int(parser, "answer-every", 1, 1000000, faults.Answer_Every)
        || !Parse_Int(parser, "vanish-after", 0, 86400, vanish_after)
        || !Parse_Int(parser, "vanish-for", 0, 86400, vanish_for))
        return 2;
    config.Ident_Code = quint8(id_code);
    if (parser.isSet("too-new"))
        Sim_Profiles::Make_Too_New(config);
    faults.Silence = parser.isSet("silence");
    faults.Bad_Checksum = parser.isSet("bad-checksum");
    faults.Wrong_Echo = parser.isSet("wrong-echo");

    Real_Clock clock;
    Ecu_Simulator ecu(clock, config);
    ecu.Set_Faults(faults);
    Sim_Pty_Server server(ecu, clock);
    if (!server.Start()) {
        std::fprintf(stderr, "QuorelSim: cannot create a pseudo-terminal: %s\n", qPrintable(server.Error_Text()));
        return 1;
    }
    server.On_Slave_Path_Changed = [](const QString& path) { Print_Line(path); };

    if (::pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("QuorelSim: pipe");
        return 1;
    }
    QSocketNotifier signal_notifier(signal_pipe[0], QSocketNotifier::Read);
    QObject::connect(&signal_notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    struct sigaction action{};
    action.sa_handler = On_Signal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    if (vanish_after >= 0) {
        clock.Call_After(qint64(vanish_after) * 1000, [&]() {
            Sim_Faults f = ecu.Faults();
            f.Port_Vanished = true;
            ecu.Set_Faults(f);
            clock.Call_After(qint64(vanish_for) * 1000, [&]() {
                Sim_Faults g = ecu.Faults();
                g.Port_Vanished = false;
                ecu.Set_Faults(g);
            });
        });
    }

    Print_Line(server.Slave_Path());
    const int rc = app.exec();
    server.Stop();
    return rc;
}
