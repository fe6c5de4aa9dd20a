#include "Sim_Fixture.h"

#include "sim/Quorel_Sim_Blocks.h"
#include "sim/Quorel_Sim_Pty.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The program's end: the slave device opened raw and non-blocking.
struct Pty_Client
{
    int fd = -1;
    explicit Pty_Client(const QString& path)
    {
        fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return;
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        tcsetattr(fd, TCSANOW, &tio);
    }
    ~Pty_Client()
    {
        if (fd >= 0)
            ::close(fd);
    }
    bool Write(const QByteArray& bytes) const { return ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size(); }

    // Runs the event loop until count bytes came in or limit_ms passed.
    QByteArray Read(int count, int limit_ms) const
    {
        QByteArray got;
        QEventLoop loop;
        QSocketNotifier notifier(fd, QSocketNotifier::Read);
        QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
            char buffer[256];
            ssize_t n;
            while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
                got.append(buffer, n);
            if (got.size() >= count)
                loop.quit();
        });
        QTimer::singleShot(limit_ms, &loop, &QEventLoop::quit);
        loop.exec();
        return got;
    }
};

struct Pty_Fixture : ::testing::Test
{
    Real_Clock clock;
    Ecu_Simulator ecu{clock};
    Sim_Pty_Server server{ecu, clock};
    void SetUp() override { ASSERT_TRUE(server.Start()) << server.Error_Text().toStdString(); }
};

TEST_F(Pty_Fixture, IdentificationOverARealPseudoTerminal)
{
    ASSERT_TRUE(QFileInfo::exists(server.Slave_Path()));
    Pty_Client client(server.Slave_Path());
    ASSERT_GE(client.fd, 0);
    ASSERT_TRUE(client.Write(Read_Request(0x21)));
    EXPECT_EQ(client.Read(4, 2000), Frame({0x1D, 0x21, 68}));
}

TEST_F(Pty_Fixture, ReopenedPortIsServedAndLongAnswersArePaced)
{
    {
        Pty_Client first(server.Slave_Path());
        ASSERT_GE(first.fd, 0);
        ASSERT_TRUE(first.Write(Read_Request(0x21)));
        ASSERT_EQ(first.Read(4, 2000).size(), 4);
    }
    // the program closed its port; it opens it again
    Pty_Client client(server.Slave_Path());
    ASSERT_GE(client.fd, 0);
    const int length = Sim_Blocks::Correction_Length(ecu.Config());
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_TRUE(client.Write(Read_Request(0x37)));
    const QByteArray answer = client.Read(length, 3000);
    ASSERT_EQ(answer.size(), length);
    EXPECT_TRUE(Checksum_Ok(answer));
    // the bytes take length ms and a bit at 9600 bit/s; allow for coarse timers
    EXPECT_GE(elapsed.elapsed(), length * 85 / 100);
}

TEST_F(Pty_Fixture, RequestBytesTakeTheirWireTimeBeforeTheEcuAnswers)
{
    // The terminal takes the 5 request bytes at once; a real line needs
    // about 5 ms for them before the ECU's latency even starts.
    Pty_Client client(server.Slave_Path());
    ASSERT_GE(client.fd, 0);
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_TRUE(client.Write(Read_Request(0x21)));
    ASSERT_EQ(client.Read(4, 2000).size(), 4);
    const int line_ms = Serial_Port::Wire_Time_Ms(5) + ecu.Config().Latency_Ms + Serial_Port::Wire_Time_Ms(4);
    EXPECT_GE(elapsed.elapsed(), line_ms - 2);
}

TEST_F(Pty_Fixture, VanishedDeviceComesBackAndItsPathIsAnnounced)
{
    QString announced;
    server.On_Slave_Path_Changed = [&](const QString& path) { announced = path; };
    Sim_Faults f;
    f.Port_Vanished = true;
    ecu.Set_Faults(f);
    EXPECT_FALSE(server.Running());
    f.Port_Vanished = false;
    ecu.Set_Faults(f);
    ASSERT_TRUE(server.Running());
    EXPECT_EQ(announced, server.Slave_Path());
    Pty_Client client(server.Slave_Path());
    ASSERT_GE(client.fd, 0);
    ASSERT_TRUE(client.Write(Read_Request(0x21)));
    EXPECT_EQ(client.Read(4, 2000).size(), 4);
}

TEST_F(Pty_Fixture, SerialPortOpenedClosedAndReopenedLikeTheProgramDoes)
{
    QSerialPort serial;
    serial.setPortName(server.Slave_Path());
    serial.setBaudRate(QSerialPort::Baud9600);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(serial.open(QIODevice::ReadWrite)) << serial.errorString().toStdString();
        const QByteArray request = Read_Request(0x33);
        ASSERT_EQ(serial.write(request), request.size());
        QByteArray got;
        QEventLoop loop;
        QObject::connect(&serial, &QSerialPort::readyRead, &loop, [&] {
            got += serial.readAll();
            if (got.size() >= 11)
                loop.quit();
        });
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(&serial, &QSerialPort::readyRead, &loop, nullptr);
        EXPECT_EQ(got.size(), 11);
        EXPECT_TRUE(Checksum_Ok(got));
        serial.close();
    }
    EXPECT_TRUE(server.Running());
}

const QString sim_binary = QStringLiteral(QUOREL_BINARY_DIR "/QuorelSim");

TEST(QuorelSim_Tool, HelpListsTheOptions)
{
    ASSERT_TRUE(QFileInfo(sim_binary).isExecutable()) << "build the QuorelSim target";
    QProcess sim;
    sim.start(sim_binary, {"--help"});
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    const QString out = QString::fromLocal8Bit(sim.readAllStandardOutput());
    for (const char* option : {"--model", "--firmware", "--id-code", "--latency", "--no-w13", "--silence",
                               "--bad-checksum", "--wrong-echo", "--version", "--too-new", "--password", "--car", "4.15", "8.20"})
        EXPECT_TRUE(out.contains(option)) << option;
}

TEST(QuorelSim_Tool, ServesOnThePrintedPathUntilTerminated)
{
    ASSERT_TRUE(QFileInfo(sim_binary).isExecutable()) << "build the QuorelSim target";
    QProcess sim;
    sim.start(sim_binary, {"--no-w13", "--model", "QGstreamLG8"});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(path.startsWith("/dev/")) << path.toStdString();
    {
        Pty_Client client(path);
        ASSERT_GE(client.fd, 0);
        ASSERT_TRUE(client.Write(Read_Request(0x21)));
        EXPECT_EQ(client.Read(4, 2000), Frame({0x1D, 0x21, 66}));
        ASSERT_TRUE(client.Write(Read_Request(0x30)));
        const QByteArray block = client.Read(69, 2000);
        ASSERT_EQ(block.size(), 69);
        EXPECT_EQ(block.mid(3, 16), QByteArray("QGstreamLG8     "));
    }
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
}

TEST(QuorelSim_Tool, ProfileTooNewPasswordAndCarNumberFlagsShapeTheAnswers)
{
    ASSERT_TRUE(QFileInfo(sim_binary).isExecutable()) << "build the QuorelSim target";
    QProcess sim;
    sim.start(sim_binary, {"--version", "6.16", "--too-new", "--password", "abc", "--password-owner",
                           "01.02.2024/Ann", "--car", "XY1", "--latency", "1"});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    {
        Pty_Client client(path);
        ASSERT_GE(client.fd, 0);
        ASSERT_TRUE(client.Write(Read_Request(0x30)));
        const QByteArray block = client.Read(71, 2000);
        ASSERT_EQ(block.size(), 71);
        EXPECT_EQ(block.mid(3, 16), QByteArray("QGstreamLG6     "));
        EXPECT_EQ(block.mid(29, 4), QByteArray("6.16"));
        EXPECT_GE(quint8(block[2]), 7);
        EXPECT_EQ(quint8(block[40]), 90);   // 45 codes
        ASSERT_TRUE(client.Write(Read_Request(0x32)));
        const QByteArray password = client.Read(67, 2000);
        ASSERT_EQ(password.size(), 67);
        EXPECT_EQ(password.mid(2, 8), Bytes({'a', 'b', 'c', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
        EXPECT_EQ(password.mid(10, 14), QByteArray("01.02.2024/Ann"));
        ASSERT_TRUE(client.Write(Read_Request(0x34)));
        EXPECT_EQ(client.Read(11, 2000), Frame({0x1D, 0x34, 'X', 'Y', '1', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
        ASSERT_TRUE(client.Write(Read_Request(0x35)));
        EXPECT_EQ(client.Read(93 + 8, 1000).size(), 93);
    }
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
}

TEST(QuorelSim_Tool, RejectsAnUnknownProfileAndOverlongTexts)
{
    const struct
    {
        QStringList args;
        const char* named;
    } cases[] = {
        {{"--version", "5.00"}, "--version"},
        {{"--password", "123456789"}, "--password"},
        {{"--car", "ABCDEFGHI"}, "--car"},
    };
    for (const auto& c : cases) {
        QProcess sim;
        sim.start(sim_binary, c.args);
        ASSERT_TRUE(sim.waitForFinished(10000));
        EXPECT_NE(sim.exitCode(), 0) << c.named;
        EXPECT_TRUE(sim.readAllStandardError().contains(c.named)) << c.named;
    }
}

TEST(QuorelSim_Tool, RejectsABadNumber)
{
    QProcess sim;
    sim.start(sim_binary, {"--latency", "soon"});
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_NE(sim.exitCode(), 0);
    EXPECT_TRUE(sim.readAllStandardError().contains("--latency"));
}

}
