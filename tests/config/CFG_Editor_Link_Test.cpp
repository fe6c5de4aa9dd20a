#include "app/Quorel_Clock.h"
#include "app/Quorel_Context.h"
#include "app/Quorel_Main_Form.h"
#include "config/Quorel_Config_Codec.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Message.h"
#include "link/Quorel_Serial_Virtual.h"
#include "sim/Quorel_Sim_Ecu.h"
#include "sim/Quorel_Sim_Virtual.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "link/Connect_Rig.h"

#include <memory>

namespace {

constexpr quint8 Length_Command = 35;

// The main window on a virtual line with the simulated ECU at its far end.
class CFG_Editor_Link_Test : public ::testing::Test
{
protected:
    CFG_Editor_Link_Test() : window(std::make_unique<TForm_QuorelGAS>(*context))
    {
        context->App_Settings.Transmit_Now = true;
    }

    ~CFG_Editor_Link_Test() override { window.reset(); }

    bool Connect()
    {
        context->ComPort->Set_Port(context->App_Settings.Port_Name);
        context->ComPort->Port_Open();
        return clock.Advance_Until([this]() { return context->ECU_Connected; }, 10000);
    }

    Connect_Rig rig;
    Virtual_Clock& clock = rig.clock;
    Virtual_Serial_Port*& port = rig.port;
    std::unique_ptr<Ecu_Simulator>& ecu = rig.ecu;
    std::unique_ptr<Quorel_Context>& context = rig.context;
    std::unique_ptr<TForm_QuorelGAS> window;
};

TEST_F(CFG_Editor_Link_Test, UnansweredTransmissionKeepsTheTypedValue)
{
    ASSERT_TRUE(context->App_Settings.Transmit_Now);
    ASSERT_TRUE(Connect());
    // Let the connection list read the configuration.
    clock.Advance(8000);
    ASSERT_TRUE(context->ECU_Connected);
    auto* rpm = window->findChild<QSpinBox*>("UpDown_CFG_PG_RPM");
    ASSERT_NE(rpm, nullptr);
    const int typed = rpm->value() + 300;
    rpm->setValue(typed);
    EXPECT_EQ(context->Config_Data.PG_RPM, typed);

    // The ECU falls silent once the write has begun with its length announcement.
    const size_t before = port->Writes().size();
    const auto write_sent = [this, before]() {
        const auto& writes = port->Writes();
        for (size_t i = before; i < writes.size(); ++i)
            if (writes[i].bytes.size() > 1 && quint8(writes[i].bytes[1]) == Length_Command)
                return true;
        return false;
    };
    ASSERT_TRUE(clock.Advance_Until(write_sent, 3000));
    Sim_Faults faults;
    faults.Silence = true;
    ecu->Set_Faults(faults);
    EXPECT_FALSE(rpm->isEnabled()) << "locked while the write is under way";
    clock.Advance(6000);
    EXPECT_EQ(context->Config_Data.PG_RPM, typed);
    EXPECT_EQ(rpm->value(), typed);
    EXPECT_TRUE(rpm->isEnabled()) << "the controls come back after the send period";
}


TEST_F(CFG_Editor_Link_Test, ChangedValueIsSentWithItsCompanionsAfterTheWait)
{
    ASSERT_TRUE(Connect());
    clock.Advance(8000);
    auto* rpm = window->findChild<QSpinBox*>("UpDown_CFG_PG_RPM");
    ASSERT_NE(rpm, nullptr);
    const int typed = rpm->value() + 300;
    const size_t before = port->Writes().size();
    const qint64 changed_at = clock.Now_Ms();
    rpm->setValue(typed);

    const auto first_of = [this, before](quint8 command) -> const Virtual_Serial_Port::Write_Record* {
        for (size_t i = before; i < port->Writes().size(); ++i)
            if (port->Writes()[i].bytes.size() > 1 && quint8(port->Writes()[i].bytes[1]) == command)
                return &port->Writes()[i];
        return nullptr;
    };
    ASSERT_TRUE(clock.Advance_Until([&]() { return first_of(0x3B) != nullptr; }, 3000));
    const auto* announcement = first_of(Length_Command);
    ASSERT_NE(announcement, nullptr);
    // the wait of 700 ms, then the next free slot of the polling
    EXPECT_GE(announcement->time_ms - changed_at, 700);
    EXPECT_LE(announcement->time_ms - changed_at, 700 + 400);

    const QVector<quint8> codes = Companion_List('I', context->Config_Data);
    const QByteArray list = first_of(0x3B)->bytes;
    ASSERT_EQ(list.size(), Write_Frame_Length(int(codes.size())));
    EXPECT_EQ(quint8(announcement->bytes[3]), list.size());
    for (int k = 0; k < codes.size(); ++k)
        EXPECT_EQ(quint8(list[2 + 3 * k]), codes[k]) << k;
    ASSERT_TRUE(clock.Advance_Until([&]() { return ecu->Store().Parameters.at('I') == Encode_RPM(typed); }, 2000));
}

TEST_F(CFG_Editor_Link_Test, LossDuringTheWriteShowsTheTransmitMessageAndKeepsTheValue)
{
    ASSERT_TRUE(Connect());
    clock.Advance(8000);
    auto* rpm = window->findChild<QSpinBox*>("UpDown_CFG_PG_RPM");
    const int typed = rpm->value() + 200;
    const size_t before = port->Writes().size();
    rpm->setValue(typed);
    ASSERT_TRUE(clock.Advance_Until(
        [&]() {
            const auto& writes = port->Writes();
            return writes.size() > before && writes.back().bytes.size() > 1 && quint8(writes.back().bytes[1]) == 0x3B;
        },
        3000));
    Sim_Faults faults;
    faults.Silence = true;
    ecu->Set_Faults(faults);
    // resent until the loss timer, 5 s after the last answer, ends the link
    ASSERT_TRUE(clock.Advance_Until([this]() { return context->Messages->Shown(); }, 8000));
    EXPECT_EQ(context->Messages->Message_Text(), Text("Error_CFG_Transmitt"));
    EXPECT_FALSE(context->ECU_Connected);
    EXPECT_EQ(context->Config_Data.PG_RPM, typed);
    EXPECT_EQ(rpm->value(), typed);
}

// T and S act on what the boxes show, also a number typed but not yet
// confirmed with Return.
TEST_F(CFG_Editor_Link_Test, TypedNumberCountsWhenTIsPressedInItsBox)
{
    context->App_Settings.Transmit_Now = false;
    ASSERT_TRUE(Connect());
    clock.Advance(8000);
    window->show();
    QApplication::setActiveWindow(window.get());
    window->findChild<QTabWidget*>("PageControl_QuorelGAS")->setCurrentIndex(1);
    auto* rpm = window->findChild<QSpinBox*>("UpDown_CFG_PG_RPM");
    ASSERT_NE(rpm, nullptr);
    rpm->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), rpm);
    const int typed = rpm->value() + 100;
    rpm->findChild<QLineEdit*>()->setText(QString::number(typed));
    ASSERT_NE(context->Config_Data.PG_RPM, typed) << "not taken before it is confirmed";

    QKeyEvent down(QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, "t");
    QApplication::sendEvent(rpm, &down);
    EXPECT_EQ(context->Config_Data.PG_RPM, typed);
    EXPECT_EQ(context->Pending_Request, 2);
    EXPECT_EQ(rpm->value(), typed);
    EXPECT_EQ(rpm->text(), QString::number(typed)) << "the letter itself is no number";
    ASSERT_TRUE(clock.Advance_Until([&]() { return ecu->Store().Parameters.at('I') == Encode_RPM(typed); }, 20000));
}

// The box being typed in is locked while its value is sent, and gets the
// focus back afterwards, so the next number can be typed at once.
TEST_F(CFG_Editor_Link_Test, FocusReturnsToTheBoxAfterItsValueWasSent)
{
    ASSERT_TRUE(Connect());
    clock.Advance(8000);
    window->show();
    QApplication::setActiveWindow(window.get());
    window->findChild<QTabWidget*>("PageControl_QuorelGAS")->setCurrentIndex(1);
    window->findChild<QListWidget*>("ListBox_CFG_Options")->setCurrentRow(1);   // petrol to gas
    auto* rpm = window->findChild<QSpinBox*>("UpDown_CFG_PG_RPM");
    ASSERT_NE(rpm, nullptr);
    rpm->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), rpm);
    ASSERT_TRUE(rpm->isVisible());
    rpm->findChild<QLineEdit*>()->setText(QString::number(rpm->value() + 100));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(rpm, &enter);
    clock.Advance(750);
    QApplication::processEvents();
    ASSERT_FALSE(rpm->isEnabled()) << "locked while its value is sent";
    EXPECT_NE(QApplication::focusWidget(), rpm);
    clock.Advance(1100);
    QApplication::processEvents();
    ASSERT_TRUE(rpm->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), rpm);
}

}   // namespace
