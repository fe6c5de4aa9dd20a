#include "app/Quorel_Clock.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Message.h"
#include "link/Quorel_Message_Form.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// Counts the emissions of a signal.
struct Counter
{
    int n = 0;
    template <typename Signal> Counter(Message_Window* model, Signal signal)
    {
        QObject::connect(model, signal, [this]() { ++n; });
    }
    int count() const { return n; }
};

struct Message_Test : ::testing::Test
{
    Virtual_Clock clock;
    Message_Window model{clock};
    QLocale saved_locale;

    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(saved_locale); }
};

TEST_F(Message_Test, ShownAbout100MsLaterNeverInsideTheRequest)
{
    Counter changed(&model, &Message_Window::Changed);
    model.Show_Message(Message_Window::Kind_Text, "Port lost", Message_Window::Colour_Red);
    EXPECT_FALSE(model.Shown());
    EXPECT_TRUE(model.Pending());
    EXPECT_EQ(changed.count(), 0);
    clock.Advance(99);
    EXPECT_FALSE(model.Shown());
    clock.Advance(1);
    ASSERT_TRUE(model.Shown());
    EXPECT_FALSE(model.Pending());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model.Kind(), 4);
    EXPECT_EQ(model.Message_Text(), "Port lost");
    EXPECT_EQ(model.Colour(), QColor(0xFF, 0x00, 0x00));
    EXPECT_EQ(model.Countdown_Text(), "");
    clock.Advance(10000);
    EXPECT_TRUE(model.Shown()) << "kind 4 waits for OK";
    model.Close();
    EXPECT_FALSE(model.Shown());
    EXPECT_FALSE(model.Program_Ending());
}

TEST_F(Message_Test, NewerRequestReplacesThePendingOneAndWaitsItsOwnDelay)
{
    model.Show_Message(Message_Window::Kind_Text, "first", Message_Window::Colour_Red);
    clock.Advance(60);
    model.Show_Message(Message_Window::Kind_Key, "Error_CFG_Receiv", Message_Window::Colour_Red);
    clock.Advance(60);
    EXPECT_FALSE(model.Shown()) << "the newer request restarted the delay";
    clock.Advance(40);
    ASSERT_TRUE(model.Shown());
    EXPECT_EQ(model.Kind(), 7);
    EXPECT_EQ(model.Message_Text(), Text("Error_CFG_Receiv"));
    EXPECT_NE(model.Message_Text(), "first");
}

TEST_F(Message_Test, LoaderSaveCountsDownAndClosesItselfAfterThreeSeconds)
{
    Counter changed(&model, &Message_Window::Changed);
    model.Show_Message(Message_Window::Kind_Loader_Save, QString(), Message_Window::Colour_Blue);
    clock.Advance(100);
    ASSERT_TRUE(model.Shown());
    EXPECT_EQ(model.Message_Text(), Text("Loader_Save_CFG") + " \"Temp.cfg\"");
    EXPECT_EQ(model.Colour(), QColor(0x00, 0x00, 0xFF));
    const QString head = Text("Error_Window_Close") + " ";
    const QString tail = " " + Text("Dim_Sec_Long");
    EXPECT_EQ(model.Countdown_Text(), head + "3.0" + tail);
    clock.Advance(100);
    EXPECT_EQ(model.Countdown_Text(), head + "2.9" + tail);
    clock.Advance(1400);
    EXPECT_EQ(model.Countdown_Text(), head + "1.5" + tail);
    clock.Advance(1400);
    EXPECT_EQ(model.Countdown_Text(), head + "0.1" + tail);
    clock.Advance(99);
    EXPECT_TRUE(model.Shown());
    const int updates = int(changed.count());
    EXPECT_GE(updates, 29);
    clock.Advance(1);   // 3 s after it was shown
    EXPECT_FALSE(model.Shown());
    EXPECT_FALSE(model.Program_Ending());
    EXPECT_FALSE(clock.Has_Pending()) << "the countdown stops with the window";
}

TEST_F(Message_Test, LoaderSaveClosedEarlyStopsTheCountdown)
{
    model.Show_Message(Message_Window::Kind_Loader_Save, QString(), Message_Window::Colour_Blue);
    clock.Advance(600);
    model.Close();
    EXPECT_FALSE(model.Shown());
    // A later kind 4 is not closed by the old countdown.
    model.Show_Message(Message_Window::Kind_Text, "next", Message_Window::Colour_Red);
    clock.Advance(5000);
    EXPECT_TRUE(model.Shown());
    EXPECT_EQ(model.Countdown_Text(), "");
}

TEST_F(Message_Test, VersionMessageEndsTheProgramWhenClosed)
{
    Counter blocked(&model, &Message_Window::Program_Blocked);
    Counter end(&model, &Message_Window::Program_End_Requested);
    model.Show_Message(Message_Window::Kind_Version, "1.25", Message_Window::Colour_Red);
    clock.Advance(100);
    ASSERT_TRUE(model.Shown());
    EXPECT_EQ(model.Message_Text(), Text("Error_Version") + " 1.25 " + Text("Error_Version_New"));
    EXPECT_TRUE(model.Ends_Program());
    EXPECT_EQ(blocked.count(), 1);
    EXPECT_EQ(end.count(), 0);

    // A connection-loss message must not take its place.
    model.Show_Message(Message_Window::Kind_Key, "Error_CFG_Receiv", Message_Window::Colour_Red);
    clock.Advance(200);
    EXPECT_EQ(model.Kind(), 10);

    model.Close();
    EXPECT_FALSE(model.Shown());
    EXPECT_TRUE(model.Program_Ending());
    EXPECT_EQ(end.count(), 1);
}

TEST_F(Message_Test, PendingVersionMessageIsNotReplacedByALesserOne)
{
    model.Show_Message(Message_Window::Kind_Version, "", Message_Window::Colour_Red);
    clock.Advance(50);
    model.Show_Message(Message_Window::Kind_Text, "later", Message_Window::Colour_Red);
    clock.Advance(100);
    ASSERT_TRUE(model.Shown());
    EXPECT_EQ(model.Kind(), 10);
    EXPECT_EQ(model.Message_Text(), Text("Error_Version") + "  " + Text("Error_Version_New"));
}

TEST_F(Message_Test, FormShowsWhatTheModelAsks)
{
    QWidget main_window;
    main_window.resize(800, 600);
    main_window.show();
    TForm_MSG form(model, &main_window);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);

    model.Show_Message(Message_Window::Kind_Loader_Save, QString(), Message_Window::Colour_Blue);
    EXPECT_FALSE(form.isVisible());
    clock.Advance(100);
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "Message") << "English has no Window_MSG text: the general word stands in";
    EXPECT_EQ(form.Label_MSG->text(), model.Message_Text());
    EXPECT_TRUE(form.Label_MSG->wordWrap());
    EXPECT_TRUE(form.Label_MSG->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(form.Label_MSG->font().pointSize(), 16);
    EXPECT_EQ(form.Label_MSG->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0xFF));
    EXPECT_TRUE(form.Label_MSG_Close->isVisibleTo(&form));
    clock.Advance(500);
    EXPECT_EQ(form.Label_MSG_Close->text(), model.Countdown_Text());
    EXPECT_EQ(form.Button_MSG_OK->text(), "OK");

    form.Button_MSG_OK->click();
    EXPECT_FALSE(model.Shown());
    EXPECT_FALSE(form.isVisible());

    model.Show_Message(Message_Window::Kind_Text, "Red text", Message_Window::Colour_Red);
    clock.Advance(100);
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(form.Label_MSG->palette().color(QPalette::WindowText), QColor(0xFF, 0x00, 0x00));
    EXPECT_FALSE(form.Label_MSG_Close->isVisibleTo(&form));
    form.close();   // the close box is "OK"
    EXPECT_FALSE(model.Shown());
}

} // namespace
