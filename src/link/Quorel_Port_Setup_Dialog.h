#pragma once

#include "link/Quorel_Serial_Qt.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QPushButton;

// Port name and line settings of the serial port.
class Form_PortSetup : public QDialog
{
    Q_OBJECT
public:
    Form_PortSetup(const QString& port, const QStringList& ports, const Serial_Line_Settings& line,
                   QWidget* parent = nullptr);

    QString Port_Name() const;
    Serial_Line_Settings Line_Settings() const;

private:
    void Port_Text_Changed();

    QComboBox* ComboBox_Port;
    QComboBox* ComboBox_BaudRate;
    QComboBox* ComboBox_DataBits;
    QComboBox* ComboBox_StopBits;
    QComboBox* ComboBox_Parity;
    QComboBox* ComboBox_FlowControl;
    QPushButton* Button_OK;
};

// Shows the setup modally, the port list from List_Serial_Ports(). Returns
// the chosen port name, nothing on cancel. With line given, it starts from
// and receives the chosen line settings.
std::optional<QString> Port_Setup_Dialog(const QString& port = QString(), Serial_Line_Settings* line = nullptr,
                                         QWidget* parent = nullptr);

// The same for the running port: a real port takes the chosen line settings
// at once. The port name is left to the caller.
std::optional<QString> Port_Setup_Dialog(Serial_Port& port, QWidget* parent = nullptr);
