#include "app/Quorel_Clock.h"
#include "link/Quorel_Serial_Qt.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTemporaryFile>
#include <QTimer>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace {

// Runs the event loop until pred() holds or limit_ms has passed.
bool Run_Until(const std::function<bool()>& pred, int limit_ms)
{
    if (pred())
        return true;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&]() {
        if (pred())
            loop.quit();
    });
    check.start(2);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(limit_ms);
    loop.exec();
    return pred();
}

// Runs the event loop for ms, whatever happens.
void Run_For(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A pseudo-terminal pair: the test holds the master as the far end of the
// line; the port under test opens the slave. The test keeps a slave
// descriptor of its own so that the master stays usable across reopens.
class Pty_Pair
{
public:
    Pty_Pair()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            return;
        char name[128] = {};
        if (ptsname_r(master_, name, sizeof name) != 0)
            return;
        slave_path_ = QString::fromLocal8Bit(name);
        slave_keep_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (slave_keep_ < 0)
            return;
        termios tio{};
        if (tcgetattr(slave_keep_, &tio) != 0)
            return;
        cfmakeraw(&tio);
        if (tcsetattr(slave_keep_, TCSANOW, &tio) != 0)
            return;
        notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this]() { Drain_Master(); });
        ok_ = true;
    }
    ~Pty_Pair()
    {
        notifier_.reset();
        Close_Master();
        if (slave_keep_ >= 0)
            ::close(slave_keep_);
    }

    bool Ok() const { return ok_; }
    QString Slave_Path() const { return slave_path_; }
    int Slave_Fd() const { return slave_keep_; }
    const QByteArray& From_Port() const { return from_port_; }

    bool Send_To_Port(const QByteArray& bytes)
    {
        return ::write(master_, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    void Close_Master()
    {
        notifier_.reset();
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    void Drain_Master()
    {
        char buffer[256];
        for (;;) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            from_port_.append(buffer, int(n));
        }
    }

    int master_ = -1;
    int slave_keep_ = -1;
    bool ok_ = false;
    QString slave_path_;
    QByteArray from_port_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// Bytes a terminal in cooked mode or with XON/XOFF would eat or change.
const QByteArray Line_Sensitive_Bytes("\x1d\x21\x00\x11\x13\x03\x0a\x0d\x7f\xff\x04\x1a", 12);

class Serial_Pty : public ::testing::Test
{
protected:
    Real_Clock clock;
    Pty_Pair pty;
    Qt_Serial_Port port{clock};
    QByteArray received;
    std::vector<int> rx_counts;
    int after_open = 0;

    void SetUp() override
    {
        ASSERT_TRUE(pty.Ok()) << "no pseudo-terminal available";
        port.On_After_Open = [this]() { ++after_open; };
        // The frame exchange's way: read what the event announces.
        port.On_Rx_Char = [this](int count) {
            rx_counts.push_back(count);
            port.Port_Read(count, [this](const QByteArray& got) { received.append(got); });
        };
    }

    void Open(const QString& name)
    {
        port.Set_Port(name);
        port.Port_Open();
    }
};

TEST_F(Serial_Pty, Bytes_From_The_Line_Arrive_Unchanged)
{
    Open(pty.Slave_Path());
    ASSERT_EQ(after_open, 1);
    ASSERT_TRUE(port.Port_Is_Open());
    ASSERT_FALSE(port.Port_Error()) << "DTR/RTS on a pseudo-terminal must not count as a failure";

    ASSERT_TRUE(pty.Send_To_Port(Line_Sensitive_Bytes));
    ASSERT_TRUE(Run_Until([&]() { return received.size() >= Line_Sensitive_Bytes.size(); }, 3000));
    Run_For(20);
    EXPECT_EQ(received, Line_Sensitive_Bytes);
    ASSERT_FALSE(rx_counts.empty());
    for (int count : rx_counts)
        EXPECT_GE(count, 1);
    EXPECT_FALSE(port.Port_Error());
}

TEST_F(Serial_Pty, Written_Bytes_Reach_The_Line_Unchanged)
{
    Open(pty.Slave_Path());
    ASSERT_FALSE(port.Port_Error());
    const auto* bytes = reinterpret_cast<const quint8*>(Line_Sensitive_Bytes.constData());
    EXPECT_EQ(port.Port_Write(bytes, int(Line_Sensitive_Bytes.size())), Line_Sensitive_Bytes.size());
    EXPECT_EQ(port.Port_Write(bytes, 3), 3);
    const QByteArray expected = Line_Sensitive_Bytes + Line_Sensitive_Bytes.left(3);
    ASSERT_TRUE(Run_Until([&]() { return pty.From_Port().size() >= expected.size(); }, 3000));
    EXPECT_EQ(pty.From_Port(), expected);
    EXPECT_FALSE(port.Port_Error());
}

TEST_F(Serial_Pty, Short_Device_Name_Is_Looked_Up_Under_Dev)
{
    ASSERT_TRUE(pty.Slave_Path().startsWith("/dev/"));
    const QString short_name = pty.Slave_Path().mid(5);  // "pts/N"
    EXPECT_EQ(Qt_Serial_Port::Device_Path(short_name), pty.Slave_Path());
    EXPECT_EQ(Qt_Serial_Port::Device_Path("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(Qt_Serial_Port::Device_Path("/tmp/ttyV0"), "/tmp/ttyV0");

    Open(short_name);
    ASSERT_FALSE(port.Port_Error());
    ASSERT_TRUE(pty.Send_To_Port("\x1d\x21"));
    EXPECT_TRUE(Run_Until([&]() { return received == "\x1d\x21"; }, 3000));
}

TEST_F(Serial_Pty, Incomplete_Read_Ends_About_300_Ms_After_The_Last_Byte)
{
    std::optional<QByteArray> result;
    QElapsedTimer since_first;
    port.On_Rx_Char = [&](int) {
        if (result || port.Read_Active())
            return;
        since_first.start();
        port.Port_Read(10, [&](const QByteArray& got) { result = got; });
    };
    Open(pty.Slave_Path());
    ASSERT_FALSE(port.Port_Error());
    ASSERT_TRUE(pty.Send_To_Port("\x01\x02\x03\x04"));
    ASSERT_TRUE(Run_Until([&]() { return result.has_value(); }, 3000));
    const qint64 took = since_first.elapsed();
    EXPECT_EQ(*result, QByteArray("\x01\x02\x03\x04"));
    EXPECT_GE(took, 250);
    EXPECT_LE(took, 800);
}

TEST_F(Serial_Pty, Clear_Input_Drops_What_Came_In)
{
    port.On_Rx_Char = [&](int count) { rx_counts.push_back(count); };
    Open(pty.Slave_Path());
    ASSERT_TRUE(pty.Send_To_Port("\x01\x02\x03"));
    ASSERT_TRUE(Run_Until([&]() { return port.Bytes_Waiting() == 3; }, 3000));
    port.Port_Clear(true, true);
    EXPECT_EQ(port.Bytes_Waiting(), 0);
    EXPECT_FALSE(port.Port_Error());
}

TEST_F(Serial_Pty, Missing_Device_Sets_Port_Error_But_Raises_After_Open)
{
    Open("/nonexistent/tty");
    EXPECT_EQ(after_open, 1);
    EXPECT_TRUE(port.Port_Is_Open());
    EXPECT_TRUE(port.Port_Error());
    const quint8 frame[] = {0x1d, 0x21, 0x3e};
    EXPECT_EQ(port.Port_Write(frame, 3), 0);
    port.Port_Close();
    EXPECT_FALSE(port.Port_Is_Open());
}

TEST_F(Serial_Pty, Device_Held_By_Another_Port_Sets_Port_Error)
{
    Qt_Serial_Port holder(clock);
    holder.Set_Port(pty.Slave_Path());
    holder.Port_Open();
    ASSERT_FALSE(holder.Port_Error());

    Open(pty.Slave_Path());
    EXPECT_EQ(after_open, 1);
    EXPECT_TRUE(port.Port_Is_Open());
    EXPECT_TRUE(port.Port_Error());
    const quint8 frame[] = {0x1d, 0x21, 0x3e};
    EXPECT_EQ(port.Port_Write(frame, 3), 0);

    // released, it opens again
    holder.Port_Close();
    port.Port_Close();
    port.Clear_Port_Error();
    port.Port_Open();
    EXPECT_FALSE(port.Port_Error());
    EXPECT_EQ(port.Port_Write(frame, 3), 3);
    EXPECT_TRUE(Run_Until([&]() { return pty.From_Port().size() == 3; }, 3000));
}

TEST_F(Serial_Pty, Device_Going_Away_Sets_Port_Error)
{
    Open(pty.Slave_Path());
    ASSERT_FALSE(port.Port_Error());
    pty.Close_Master();
    const quint8 frame[] = {0x1d, 0x21, 0x3e};
    EXPECT_TRUE(Run_Until([&]() { return port.Port_Error() || port.Port_Write(frame, 3) == 0; }, 3000));
    EXPECT_TRUE(port.Port_Error());
}

TEST_F(Serial_Pty, Line_Settings_Are_9600_8N1_And_Changes_Apply_To_The_Open_Port)
{
    Open(pty.Slave_Path());
    ASSERT_FALSE(port.Port_Error());
    termios tio{};
    ASSERT_EQ(tcgetattr(pty.Slave_Fd(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), tcflag_t(0));

    Serial_Line_Settings line;
    line.baud_rate = 19200;
    line.stop_bits = QSerialPort::TwoStop;
    port.Set_Line_Settings(line);
    EXPECT_FALSE(port.Port_Error());
    ASSERT_EQ(tcgetattr(pty.Slave_Fd(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B19200));
    EXPECT_NE(tio.c_cflag & CSTOPB, tcflag_t(0));

    // a reopen keeps them
    port.Port_Close();
    port.Port_Open();
    EXPECT_FALSE(port.Port_Error());
    ASSERT_EQ(tcgetattr(pty.Slave_Fd(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B19200));
}

TEST_F(Serial_Pty, Line_Settings_The_Device_Refuses_Set_Port_Error)
{
    // a pseudo-terminal has no parity
    Serial_Line_Settings line;
    line.parity = QSerialPort::EvenParity;
    port.Set_Line_Settings(line);
    Open(pty.Slave_Path());
    EXPECT_EQ(after_open, 1);
    EXPECT_TRUE(port.Port_Is_Open());
    EXPECT_TRUE(port.Port_Error());

    port.Port_Close();
    port.Set_Line_Settings(Serial_Line_Settings());
    port.Clear_Port_Error();
    port.Port_Open();
    ASSERT_FALSE(port.Port_Error());
    port.Set_Line_Settings(line);  // on the open port
    EXPECT_TRUE(port.Port_Error());
}

// ---- ports present ------------------------------------------------------------

TEST_F(Serial_Pty, Port_Present_Knows_Terminals_By_Path)
{
    QTemporaryFile regular;
    ASSERT_TRUE(regular.open());
    struct Case
    {
        QString name;
        bool present;
    };
    const Case cases[] = {
        {pty.Slave_Path(), true},
        {"/nonexistent/tty", false},
        {regular.fileName(), false},
        {"/dev/null", false},  // a character device, but no terminal
        {"/dev", false},
        {"ttyNOSUCHPORT", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Port_Present(c.name), c.present) << c.name.toStdString();

    // present while this program holds it open
    Open(pty.Slave_Path());
    EXPECT_TRUE(Port_Present(pty.Slave_Path()));
}

TEST(Serial_Ports, Every_Listed_Port_Is_Present)
{
    const QStringList ports = List_Serial_Ports();
    for (const QString& name : ports) {
        EXPECT_FALSE(name.isEmpty());
        EXPECT_FALSE(name.startsWith('/')) << "names are device names, not paths";
        EXPECT_TRUE(Port_Present(name)) << name.toStdString();
        // the name is exact
        if (name.toLower() != name) {
            EXPECT_FALSE(Port_Present(name.toLower())) << name.toStdString();
        }
    }
}

} // namespace
