// QuorelGAS: the workshop program for the gas ECU.

#include "app/Quorel_Clock.h"
#include "app/Quorel_Context.h"
#include "app/Quorel_Main_Form.h"
#include "app/Quorel_Single_Instance.h"
#include "link/Quorel_Serial_Qt.h"
#include "sim/Quorel_Sim_Ecu.h"
#include "sim/Quorel_Sim_Pty.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

int signal_pipe[2] = {-1, -1};

void On_Signal(int)
{
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(signal_pipe[1], &c, 1);
}

// The executable's file name without its extension: the text up to the
// last "."; the whole name when it has none.
QString Program_Name_Of(const QString& executable)
{
    const QString file = QFileInfo(executable).fileName();
    const int dot = file.lastIndexOf(QChar('.'));
    return dot > 0 ? file.left(dot) : file;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QuorelGAS"));
    QApplication::setApplicationVersion(QLatin1String(Quorel_Context::Program_Version));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Workshop program for sequential gas injection ECUs."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo_option(QStringLiteral("demo"),
                                         QStringLiteral("Connect to a simulated ECU on a pseudo-terminal."));
    parser.addOption(demo_option);
    parser.process(app);

    const QString program_folder = QDir::currentPath();
    const QString program_name = Program_Name_Of(QString::fromLocal8Bit(argv[0]));

    Single_Instance instance(program_name);
    instance.Start();

    Real_Clock clock;
    auto port = std::make_unique<Qt_Serial_Port>(clock);
    Quorel_Context context(clock, std::move(port), program_folder, program_name);

    auto* window = new TForm_QuorelGAS(context);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->Create_Dialogs();
    QPointer<TForm_QuorelGAS> window_guard(window);
    instance.On_Close_Requested = [window_guard]() {
        if (window_guard)
            window_guard->close();
    };

    // The demo's simulated ECU answers on a pseudo-terminal in this process.
    std::unique_ptr<Ecu_Simulator> demo_ecu;
    std::unique_ptr<Sim_Pty_Server> demo_server;
    if (parser.isSet(demo_option)) {
        demo_ecu = std::make_unique<Ecu_Simulator>(clock);
        demo_server = std::make_unique<Sim_Pty_Server>(*demo_ecu, clock);
        if (demo_server->Start()) {
            // The demo's device is not kept as the user's port.
            window->Before_Settings_Write = [&context, port_name = context.App_Settings.Port_Name,
                                             search = context.App_Settings.Search_Port]() {
                context.App_Settings.Port_Name = port_name;
                context.App_Settings.Search_Port = search;
            };
            context.App_Settings.Port_Name = demo_server->Slave_Path();
            context.App_Settings.Search_Port = false;
            demo_server->On_Slave_Path_Changed = [&context](const QString& path) {
                context.App_Settings.Port_Name = path;
            };
        } else {
            std::fprintf(stderr, "QuorelGAS: cannot start the demo ECU: %s\n",
                         qPrintable(demo_server->Error_Text()));
        }
    }

    // SIGTERM and SIGINT close the window like its user would (settings saved).
    std::unique_ptr<QSocketNotifier> signal_notifier;
    if (::pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        signal_notifier = std::make_unique<QSocketNotifier>(signal_pipe[0], QSocketNotifier::Read);
        QObject::connect(signal_notifier.get(), &QSocketNotifier::activated, &app, [window_guard]() {
            char c;
            while (::read(signal_pipe[0], &c, 1) > 0) {
            }
            if (window_guard)
                window_guard->close();
        });
        struct sigaction action{};
        action.sa_handler = On_Signal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
    }

    window->Start_Up();
    window->show();
    const int rc = app.exec();

    delete window;   // runs the exit sequence if the window was not closed
    if (demo_server)
        demo_server->Stop();
    return rc;
}
