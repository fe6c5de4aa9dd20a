#include "app/Quorel_Context.h"
#include "app/Quorel_Dialog_Shells_Form.h"
#include "app/Quorel_Main_Form.h"
#include "link/Quorel_Message.h"
#include "link/Quorel_Port_Search.h"
#include "link/Quorel_Port_Search_Form.h"
#include "link/Quorel_Message_Form.h"
#include "link/Quorel_Serial_Virtual.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Connect_Form_Rig
{
    QTemporaryDir dir;
    Virtual_Clock clock;
    std::unique_ptr<Quorel_Context> context;
    std::unique_ptr<TForm_QuorelGAS> window;

    Connect_Form_Rig()
    {
        auto port = std::make_unique<Virtual_Serial_Port>(clock);
        port->Set_Device_Name("vtty0");
        context = std::make_unique<Quorel_Context>(clock, std::move(port), dir.path(), "QuorelGAS");
        context->Frames.hooks.Port_Present = [](const QString& name) { return name == "vtty0"; };
        window = std::make_unique<TForm_QuorelGAS>(*context);
        window->Create_Dialogs();
    }

    ~Connect_Form_Rig()
    {
        window.reset();
        context.reset();
    }
};

TEST(Connect_Form_Test, SearchAndMessageDialogsAreTheRealOnesInTheirPlace)
{
    Connect_Form_Rig rig;
    const auto& all = rig.window->Dialogs()->All();
    ASSERT_EQ(all[6]->objectName(), "TForm_Port");
    ASSERT_EQ(all[9]->objectName(), "TForm_MSG");
    EXPECT_NE(qobject_cast<TForm_Port*>(all[6]), nullptr);
    EXPECT_NE(qobject_cast<TForm_MSG*>(all[9]), nullptr);
    EXPECT_FALSE(all[6]->isVisible());
}

TEST(Connect_Form_Test, ButtonSelectComPortOpensTheSearchWindow)
{
    Connect_Form_Rig rig;
    rig.window->show();
    auto* button = rig.window->findChild<QPushButton*>("Button_Select_ComPort");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "I");
    EXPECT_TRUE(button->isVisible());
    QDialog* search = rig.window->Dialogs()->Dialog("TForm_Port");
    ASSERT_FALSE(search->isVisible());
    button->click();
    QApplication::processEvents();
    EXPECT_TRUE(search->isVisible());
    EXPECT_TRUE(rig.context->Search->Search_Window_Shown());
    search->close();
    EXPECT_FALSE(rig.context->Search->Search_Window_Shown());
    EXPECT_FALSE(rig.context->Search->Timer_Select_ComPort.Enabled());
}

TEST(Connect_Form_Test, VersionMessageBlocksTheWindowAndItsCloseEndsIt)
{
    Connect_Form_Rig rig;
    rig.window->show();
    auto* pages = rig.window->findChild<QTabWidget*>("PageControl_QuorelGAS");
    ASSERT_NE(pages, nullptr);
    pages->setCurrentIndex(3);
    rig.context->Messages->Show_Message(Message_Window::Kind_Version, "1.25", Message_Window::Colour_Red);
    rig.clock.Advance(Message_Window::Show_Delay_Ms);
    QApplication::processEvents();
    auto* msg = qobject_cast<TForm_MSG*>(rig.window->Dialogs()->Dialog("TForm_MSG"));
    ASSERT_NE(msg, nullptr);
    EXPECT_TRUE(msg->isVisible());
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_FALSE(rig.window->centralWidget()->isEnabled());
    // The message itself stays usable: it is the only way on.
    EXPECT_TRUE(msg->Button_MSG_OK->isEnabled());
    msg->Button_MSG_OK->click();
    QApplication::processEvents();
    EXPECT_FALSE(rig.window->isVisible());
}

} // namespace
