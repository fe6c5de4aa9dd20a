#include "link/Quorel_Port_Setup_Dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

QComboBox* Combo(QWidget& dialog, const char* name)
{
    auto* box = dialog.findChild<QComboBox*>(QString::fromLatin1(name));
    EXPECT_NE(box, nullptr) << name;
    return box;
}

QStringList Items(QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// Runs action on the setup window once the modal loop shows it.
void When_Shown(std::function<void(Form_PortSetup&)> action)
{
    auto* poll = new QTimer(qApp);
    auto tries_left = std::make_shared<int>(200);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, tries_left, action = std::move(action)]() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<Form_PortSetup*>(w);
            if (form && form->isVisible()) {
                poll->stop();
                poll->deleteLater();
                action(*form);
                return;
            }
        }
        if (--*tries_left <= 0) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "setup window never shown";
        }
    });
    poll->start(10);
}

TEST(Serial_Setup_Dialog, Shows_The_Ports_And_The_Current_Line_Settings)
{
    const QStringList ports{"ttyS0", "ttyUSB0", "ttyACM0"};
    Form_PortSetup form("ttyUSB0", ports, Serial_Line_Settings());
    QComboBox* port = Combo(form, "ComboBox_Port");
    ASSERT_TRUE(port);
    EXPECT_EQ(Items(port), ports);
    EXPECT_EQ(port->currentText(), "ttyUSB0");
    EXPECT_TRUE(port->isEditable());
    EXPECT_FALSE(port->accessibleName().isEmpty());

    struct Shown
    {
        const char* name;
        QString text;
    };
    for (const Shown& s : {Shown{"ComboBox_BaudRate", "9600"}, Shown{"ComboBox_DataBits", "8"},
                           Shown{"ComboBox_StopBits", "1"}, Shown{"ComboBox_Parity", "None"},
                           Shown{"ComboBox_FlowControl", "None"}}) {
        QComboBox* box = Combo(form, s.name);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->currentText(), s.text) << s.name;
        EXPECT_FALSE(box->accessibleName().isEmpty()) << s.name;
    }
    EXPECT_EQ(form.Line_Settings(), Serial_Line_Settings());
    EXPECT_EQ(form.Port_Name(), "ttyUSB0");
}

TEST(Serial_Setup_Dialog, A_Port_Not_In_The_List_Can_Be_Typed)
{
    Form_PortSetup form("/dev/pts/4", {"ttyS0"}, Serial_Line_Settings());
    QComboBox* port = Combo(form, "ComboBox_Port");
    ASSERT_TRUE(port);
    EXPECT_EQ(form.Port_Name(), "/dev/pts/4");
    auto* ok = form.findChild<QPushButton*>("Button_OK");
    ASSERT_TRUE(ok);
    EXPECT_TRUE(ok->isEnabled());
    port->setCurrentText("  ");
    EXPECT_FALSE(ok->isEnabled()) << "a port without a name cannot be accepted";
    port->setCurrentText(" ttyUSB1 ");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(form.Port_Name(), "ttyUSB1");
}

TEST(Serial_Setup_Dialog, Accepting_Returns_The_Chosen_Port_And_Settings)
{
    Serial_Line_Settings line;
    QStringList shown_ports;
    When_Shown([&](Form_PortSetup& form) {
        QComboBox* port = Combo(form, "ComboBox_Port");
        QComboBox* baud = Combo(form, "ComboBox_BaudRate");
        QComboBox* parity = Combo(form, "ComboBox_Parity");
        if (!port || !baud || !parity) {
            form.reject();
            return;
        }
        shown_ports = Items(port);
        port->setCurrentText("ttyUSB7");
        baud->setCurrentText("19200");
        parity->setCurrentIndex(parity->findData(int(QSerialPort::EvenParity)));
        form.findChild<QPushButton*>("Button_OK")->click();
    });
    const std::optional<QString> chosen = Port_Setup_Dialog("ttyS0", &line);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, "ttyUSB7");
    EXPECT_EQ(shown_ports, List_Serial_Ports());
    EXPECT_EQ(line.baud_rate, 19200);
    EXPECT_EQ(line.parity, QSerialPort::EvenParity);
    EXPECT_EQ(line.data_bits, QSerialPort::Data8);
}

TEST(Serial_Setup_Dialog, Cancel_Returns_Nothing_And_Keeps_The_Settings)
{
    Serial_Line_Settings line;
    line.baud_rate = 4800;
    const Serial_Line_Settings before = line;
    When_Shown([&](Form_PortSetup& form) {
        if (QComboBox* port = Combo(form, "ComboBox_Port"))
            port->setCurrentText("ttyUSB9");
        if (QComboBox* baud = Combo(form, "ComboBox_BaudRate")) {
            EXPECT_EQ(baud->currentText(), "4800");
            baud->setCurrentText("115200");
        }
        form.findChild<QPushButton*>("Button_Cancel")->click();
    });
    EXPECT_FALSE(Port_Setup_Dialog("ttyS0", &line));
    EXPECT_EQ(line, before);
}

TEST(Serial_Setup_Dialog, Real_Port_Takes_The_Chosen_Line_Settings)
{
    Virtual_Clock clock;
    Qt_Serial_Port port(clock);
    port.Set_Port("ttyS3");
    Serial_Line_Settings line;
    line.baud_rate = 4800;
    port.Set_Line_Settings(line);
    QString shown_port;
    When_Shown([&](Form_PortSetup& form) {
        shown_port = form.Port_Name();
        if (QComboBox* baud = Combo(form, "ComboBox_BaudRate")) {
            EXPECT_EQ(baud->currentText(), "4800");
            baud->setCurrentText("9600");
        }
        if (QComboBox* stop = Combo(form, "ComboBox_StopBits"))
            stop->setCurrentText("2");
        form.accept();
    });
    EXPECT_EQ(Port_Setup_Dialog(port), std::optional<QString>("ttyS3"));
    EXPECT_EQ(shown_port, "ttyS3");
    EXPECT_EQ(port.Line_Settings().baud_rate, 9600);
    EXPECT_EQ(port.Line_Settings().stop_bits, QSerialPort::TwoStop);
    EXPECT_EQ(port.Port(), "ttyS3") << "the name is the caller's to keep";
}

} // namespace
