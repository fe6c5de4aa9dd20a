#include "link/Quorel_Port_Setup_Dialog.h"

#include "language/Quorel_Apply_Texts.h"
#include "language/Quorel_Text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Caption(const char* key, const char* english)
{
    const QString text = Text(QString::fromLatin1(key));
    return text.isEmpty() ? QString::fromLatin1(english) : text;
}

QComboBox* Make_Combo(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(caption);
    return box;
}

// Selects the entry whose data is value; keeps the selection otherwise.
void Select_Data(QComboBox* box, const QVariant& value)
{
    const int index = box->findData(value);
    if (index >= 0)
        box->setCurrentIndex(index);
}

} // namespace

Form_PortSetup::Form_PortSetup(const QString& port, const QStringList& ports, const Serial_Line_Settings& line,
                               QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_PortSetup"));
    Set_Window_Title(this, Caption_Text(QStringLiteral("Form_PortSetup"), QStringLiteral("Port setup"), true));
    setModal(true);

    const QString port_caption = Caption("Label_Port", "Port");
    const QString baud_caption = Caption("Label_BaudRate", "Baud rate");
    const QString data_caption = Caption("Label_DataBits", "Data bits");
    const QString stop_caption = Caption("Label_StopBits", "Stop bits");
    const QString parity_caption = Caption("Label_Parity", "Parity");
    const QString flow_caption = Caption("Label_FlowControl", "Flow control");

    ComboBox_Port = Make_Combo(this, "ComboBox_Port", port_caption);
    ComboBox_Port->setEditable(true);
    ComboBox_Port->setInsertPolicy(QComboBox::NoInsert);
    ComboBox_Port->addItems(ports);
    ComboBox_Port->setCurrentText(port);

    ComboBox_BaudRate = Make_Combo(this, "ComboBox_BaudRate", baud_caption);
    for (qint32 rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        ComboBox_BaudRate->addItem(QString::number(rate), rate);
    if (ComboBox_BaudRate->findData(line.baud_rate) < 0)
        ComboBox_BaudRate->addItem(QString::number(line.baud_rate), line.baud_rate);
    Select_Data(ComboBox_BaudRate, line.baud_rate);

    ComboBox_DataBits = Make_Combo(this, "ComboBox_DataBits", data_caption);
    for (auto bits : {QSerialPort::Data5, QSerialPort::Data6, QSerialPort::Data7, QSerialPort::Data8})
        ComboBox_DataBits->addItem(QString::number(int(bits)), int(bits));
    Select_Data(ComboBox_DataBits, int(line.data_bits));

    ComboBox_StopBits = Make_Combo(this, "ComboBox_StopBits", stop_caption);
    ComboBox_StopBits->addItem(QStringLiteral("1"), int(QSerialPort::OneStop));
    ComboBox_StopBits->addItem(QStringLiteral("1.5"), int(QSerialPort::OneAndHalfStop));
    ComboBox_StopBits->addItem(QStringLiteral("2"), int(QSerialPort::TwoStop));
    Select_Data(ComboBox_StopBits, int(line.stop_bits));

    ComboBox_Parity = Make_Combo(this, "ComboBox_Parity", parity_caption);
    ComboBox_Parity->addItem(Caption("Parity_None", "None"), int(QSerialPort::NoParity));
    ComboBox_Parity->addItem(Caption("Parity_Odd", "Odd"), int(QSerialPort::OddParity));
    ComboBox_Parity->addItem(Caption("Parity_Even", "Even"), int(QSerialPort::EvenParity));
    ComboBox_Parity->addItem(Caption("Parity_Mark", "Mark"), int(QSerialPort::MarkParity));
    ComboBox_Parity->addItem(Caption("Parity_Space", "Space"), int(QSerialPort::SpaceParity));
    Select_Data(ComboBox_Parity, int(line.parity));

    ComboBox_FlowControl = Make_Combo(this, "ComboBox_FlowControl", flow_caption);
    ComboBox_FlowControl->addItem(Caption("Flow_None", "None"), int(QSerialPort::NoFlowControl));
    ComboBox_FlowControl->addItem(Caption("Flow_Hardware", "Hardware (RTS/CTS)"), int(QSerialPort::HardwareControl));
    ComboBox_FlowControl->addItem(Caption("Flow_Software", "Software (XON/XOFF)"), int(QSerialPort::SoftwareControl));
    Select_Data(ComboBox_FlowControl, int(line.flow_control));

    auto* form = new QFormLayout;
    form->addRow(port_caption, ComboBox_Port);
    form->addRow(baud_caption, ComboBox_BaudRate);
    form->addRow(data_caption, ComboBox_DataBits);
    form->addRow(stop_caption, ComboBox_StopBits);
    form->addRow(parity_caption, ComboBox_Parity);
    form->addRow(flow_caption, ComboBox_FlowControl);

    auto* buttons = new QDialogButtonBox(this);
    Button_OK = buttons->addButton(Caption("Button_OK", "OK"), QDialogButtonBox::AcceptRole);
    Button_OK->setObjectName(QStringLiteral("Button_OK"));
    Button_OK->setAccessibleName(Button_OK->text());
    Button_OK->setDefault(true);
    QPushButton* cancel = buttons->addButton(Caption("Button_Cancel", "Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Button_Cancel"));
    cancel->setAccessibleName(cancel->text());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(ComboBox_Port, &QComboBox::currentTextChanged, this, &Form_PortSetup::Port_Text_Changed);
    Port_Text_Changed();
}

void Form_PortSetup::Port_Text_Changed()
{
    // A port needs a name.
    Button_OK->setEnabled(!Port_Name().isEmpty());
}

QString Form_PortSetup::Port_Name() const { return ComboBox_Port->currentText().trimmed(); }

Serial_Line_Settings Form_PortSetup::Line_Settings() const
{
    Serial_Line_Settings line;
    line.baud_rate = ComboBox_BaudRate->currentData().toInt();
    line.data_bits = QSerialPort::DataBits(ComboBox_DataBits->currentData().toInt());
    line.stop_bits = QSerialPort::StopBits(ComboBox_StopBits->currentData().toInt());
    line.parity = QSerialPort::Parity(ComboBox_Parity->currentData().toInt());
    line.flow_control = QSerialPort::FlowControl(ComboBox_FlowControl->currentData().toInt());
    return line;
}

std::optional<QString> Port_Setup_Dialog(const QString& port, Serial_Line_Settings* line, QWidget* parent)
{
    Form_PortSetup dialog(port, List_Serial_Ports(), line ? *line : Serial_Line_Settings(), parent);
    if (dialog.exec() != QDialog::Accepted || dialog.Port_Name().isEmpty())
        return std::nullopt;
    if (line)
        *line = dialog.Line_Settings();
    return dialog.Port_Name();
}

std::optional<QString> Port_Setup_Dialog(Serial_Port& port, QWidget* parent)
{
    auto* real = dynamic_cast<Qt_Serial_Port*>(&port);
    Serial_Line_Settings line = real ? real->Line_Settings() : Serial_Line_Settings();
    const std::optional<QString> chosen = Port_Setup_Dialog(port.Port(), &line, parent);
    if (chosen && real && !(line == real->Line_Settings()))
        real->Set_Line_Settings(line);
    return chosen;
}
