#pragma once

#include "link/Quorel_Serial.h"

#include <QObject>
#include <QSerialPort>

// Line settings of the real port. The program runs at 9600 8N1 without
// flow control; the setup dialog may change them for the running port.
struct Serial_Line_Settings
{
    qint32 baud_rate = Serial_Port::Baud_Rate;
    QSerialPort::DataBits data_bits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stop_bits = QSerialPort::OneStop;
    QSerialPort::FlowControl flow_control = QSerialPort::NoFlowControl;

    bool operator==(const Serial_Line_Settings&) const = default;
};

// The serial port on a system serial device (QSerialPort). DTR and RTS are
// held inactive. A name is a device under /dev ("ttyUSB0", "pts/3"); a full
// path is used as it is (pseudo-terminals, socat bridges).
class Qt_Serial_Port : public QObject, public Serial_Port
{
    Q_OBJECT
public:
    explicit Qt_Serial_Port(Quorel_Clock& clock, QObject* parent = nullptr);
    ~Qt_Serial_Port() override;

    static QString Device_Path(const QString& name);

    Serial_Line_Settings Line_Settings() const { return line_; }
    // Takes effect at once on an open port; a failure sets Port_Error.
    void Set_Line_Settings(const Serial_Line_Settings& line);

    bool Open_Denied() const override { return open_error_ == QSerialPort::PermissionError; }
    QString Open_Error_Text() const override { return open_error_text_; }

protected:
    bool Device_Open(const QString& name) override;
    void Device_Close() override;
    bool Device_Write(const QByteArray& bytes) override;
    bool Device_Purge(bool input, bool output) override;

private:
    bool Apply_Line_Settings();
    void Hold_Control_Lines_Inactive();
    void Ready_Read();
    void Error_Occurred(QSerialPort::SerialPortError error);

    QSerialPort serial_;
    Serial_Line_Settings line_;
    // Failures that must not count as a port error (control lines on a pty).
    bool ignore_errors_ = false;
    QSerialPort::SerialPortError open_error_ = QSerialPort::NoError;
    QString open_error_text_;
};
