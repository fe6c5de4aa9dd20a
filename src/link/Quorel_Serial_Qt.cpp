#include "link/Quorel_Serial_Qt.h"

#include <QElapsedTimer>

Qt_Serial_Port::Qt_Serial_Port(Quorel_Clock& clock, QObject* parent) : QObject(parent), Serial_Port(clock)
{
    connect(&serial_, &QSerialPort::readyRead, this, &Qt_Serial_Port::Ready_Read);
    connect(&serial_, &QSerialPort::errorOccurred, this, &Qt_Serial_Port::Error_Occurred);
}

Qt_Serial_Port::~Qt_Serial_Port()
{
    // Release the device quietly: no events are raised from a destructor.
    disconnect(&serial_, nullptr, this, nullptr);
    if (serial_.isOpen()) {
        serial_.clear();
        serial_.close();
    }
}

QString Qt_Serial_Port::Device_Path(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return name;
    return QStringLiteral("/dev/") + name;
}

bool Qt_Serial_Port::Device_Open(const QString& name)
{
    if (serial_.isOpen())
        serial_.close();
    open_error_ = QSerialPort::NoError;
    open_error_text_.clear();
    const QString path = Device_Path(name);
    if (path.isEmpty())
        return false;
    serial_.setPortName(path);
    serial_.setReadBufferSize(Buffer_Size);
    // Opens exclusively: a device held by another program fails here.
    if (!serial_.open(QIODevice::ReadWrite)) {
        open_error_ = serial_.error();
        open_error_text_ = serial_.errorString();
        return false;
    }
    const bool settings_ok = Apply_Line_Settings();
    Hold_Control_Lines_Inactive();
    return settings_ok;
}

bool Qt_Serial_Port::Apply_Line_Settings()
{
    bool ok = serial_.setBaudRate(line_.baud_rate);
    ok = serial_.setDataBits(line_.data_bits) && ok;
    ok = serial_.setParity(line_.parity) && ok;
    ok = serial_.setStopBits(line_.stop_bits) && ok;
    ok = serial_.setFlowControl(line_.flow_control) && ok;
    return ok;
}

void Qt_Serial_Port::Hold_Control_Lines_Inactive()
{
    // Devices without modem control lines (pseudo-terminals, some adapters)
    // reject these; there is nothing to hold inactive then.
    ignore_errors_ = true;
    serial_.setDataTerminalReady(false);
    if (line_.flow_control != QSerialPort::HardwareControl)
        serial_.setRequestToSend(false);
    ignore_errors_ = false;
    serial_.clearError();
}

void Qt_Serial_Port::Set_Line_Settings(const Serial_Line_Settings& line)
{
    line_ = line;
    if (!serial_.isOpen())
        return;
    if (!Apply_Line_Settings())
        Set_Port_Error();
    Hold_Control_Lines_Inactive();
}

void Qt_Serial_Port::Device_Close()
{
    if (!serial_.isOpen())
        return;
    // Abort what is still queued in either direction; a failure shows up
    // through errorOccurred.
    serial_.clear(QSerialPort::AllDirections);
    serial_.close();
}

bool Qt_Serial_Port::Device_Write(const QByteArray& bytes)
{
    if (!serial_.isOpen())
        return false;
    if (serial_.write(bytes) != bytes.size())
        return false;
    // QSerialPort hands its buffer to the system from the event loop; wait
    // for that here, within the write time limit. A small frame fits the
    // system's buffer at once, so this returns at once.
    const int limit_ms = Write_Limit_Ms(int(bytes.size()));
    QElapsedTimer elapsed;
    elapsed.start();
    while (serial_.bytesToWrite() > 0) {
        const qint64 left_ms = limit_ms - elapsed.elapsed();
        if (left_ms <= 0)
            return false;
        if (!serial_.waitForBytesWritten(int(left_ms)) && serial_.bytesToWrite() > 0)
            return false;
    }
    return true;
}

bool Qt_Serial_Port::Device_Purge(bool input, bool output)
{
    if (!serial_.isOpen())
        return false;
    QSerialPort::Directions directions;
    if (input)
        directions |= QSerialPort::Input;
    if (output)
        directions |= QSerialPort::Output;
    if (!directions)
        return true;
    // clear() drops QSerialPort's own buffers as well as the system's queues.
    return serial_.clear(directions);
}

void Qt_Serial_Port::Ready_Read()
{
    const QByteArray bytes = serial_.readAll();
    if (!bytes.isEmpty())
        Bytes_Arrived(bytes);
}

void Qt_Serial_Port::Error_Occurred(QSerialPort::SerialPortError error)
{
    if (ignore_errors_ || error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    Device_Failed();
}
