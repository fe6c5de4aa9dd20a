#include "app/Quorel_Clock.h"
#include "app/Quorel_Timer.h"
#include "monitor/Quorel_Status_Messages.h"

#include <gtest/gtest.h>

namespace {

const QColor Red(255, 0, 0), Green(0, 255, 0), Aqua(0, 255, 255);

struct Message_Rig
{
    Virtual_Clock clock;
    Quorel_Timer timer_error{clock, "Timer_Error", 2000, false};
    QuorelMSG_Class list{timer_error};
    int changes = 0;

    Message_Rig()
    {
        list.On_Shown_Changed = [this]() { ++changes; };
    }
    QString Shown() const { return list.Shown().Visible ? list.Shown().Text : QStringLiteral("<hidden>"); }
};

TEST(Status_Messages, Posted_Texts_Take_Turns_Every_Two_Seconds)
{
    Message_Rig rig;
    rig.list.Post_Message("Engine off", Red);
    EXPECT_EQ(rig.Shown(), "Engine off");
    EXPECT_EQ(rig.list.Shown().Colour, Red);
    rig.list.Post_Message("Low pressure", Red);
    EXPECT_EQ(rig.Shown(), "Low pressure");   // a new text shows at once

    const std::vector<QString> expected = {"Engine off", "Low pressure", "Engine off", "Low pressure"};
    for (const QString& text : expected) {
        rig.clock.Advance(1999);
        EXPECT_NE(rig.Shown(), text);
        rig.clock.Advance(1);
        EXPECT_EQ(rig.Shown(), text);
    }
}

TEST(Status_Messages, A_Listed_Text_Is_Not_Added_Twice)
{
    Message_Rig rig;
    rig.list.Post_Message("Engine off", Red);
    rig.list.Post_Message("Low pressure", Red);
    rig.list.Post_Message("Engine off", Aqua);
    EXPECT_EQ(rig.list.Count(), 2);
    EXPECT_EQ(rig.list.At(0).Colour, Red);
    EXPECT_EQ(rig.Shown(), "Low pressure");
}

TEST(Status_Messages, Flash_Shows_Once_Then_The_List_Or_Nothing)
{
    Message_Rig rig;
    rig.list.Flash_Message("Engine on", Green);
    EXPECT_EQ(rig.Shown(), "Engine on");
    EXPECT_EQ(rig.list.Count(), 0);
    rig.clock.Advance(2000);
    EXPECT_EQ(rig.Shown(), "<hidden>");
    EXPECT_FALSE(rig.timer_error.Enabled());

    rig.list.Post_Message("Low pressure", Red);
    rig.list.Flash_Message("Gas pump on", Green);
    EXPECT_EQ(rig.Shown(), "Gas pump on");
    rig.clock.Advance(2000);
    EXPECT_EQ(rig.Shown(), "Low pressure");
    EXPECT_EQ(rig.list.Shown().Colour, Red);
}

TEST(Status_Messages, Drop_Removes_And_Shows_The_Next)
{
    Message_Rig rig;
    for (const char* text : {"A", "B", "C"})
        rig.list.Post_Message(text, Red);
    rig.clock.Advance(2000);   // wraps to A
    ASSERT_EQ(rig.Shown(), "A");
    rig.list.Drop_Message("A");
    EXPECT_EQ(rig.list.Count(), 2);
    EXPECT_EQ(rig.list.At(0).Text, "B");
    EXPECT_EQ(rig.list.At(1).Text, "C");
    EXPECT_EQ(rig.Shown(), "B");   // the entry that moved into A's place
    rig.clock.Advance(2000);
    EXPECT_EQ(rig.Shown(), "C");

    rig.list.Drop_Message("not listed");   // only advances
    EXPECT_EQ(rig.list.Count(), 2);
    EXPECT_EQ(rig.Shown(), "B");

    rig.list.Drop_Message("B");
    rig.list.Drop_Message("C");
    EXPECT_EQ(rig.list.Count(), 0);
    EXPECT_EQ(rig.Shown(), "<hidden>");
    EXPECT_FALSE(rig.list.Shown().Colour.isValid());   // window face
    EXPECT_FALSE(rig.timer_error.Enabled());
}

TEST(Status_Messages, Dropping_From_An_Empty_List_Lets_A_Flash_Finish)
{
    Message_Rig rig;
    rig.list.Flash_Message("Sensitivity", Green);
    rig.clock.Advance(500);
    rig.list.Drop_Message("Data transmission");
    EXPECT_EQ(rig.Shown(), "Sensitivity");
    rig.clock.Advance(1500);
    EXPECT_EQ(rig.Shown(), "<hidden>");
}

TEST(Status_Messages, The_List_Holds_Ten_Entries)
{
    Message_Rig rig;
    for (int i = 0; i < 11; ++i)
        rig.list.Post_Message(QString::number(i), Red);
    EXPECT_EQ(rig.list.Count(), QuorelMSG_Class::Capacity);
    EXPECT_FALSE(rig.list.Contains("10"));
    EXPECT_EQ(rig.Shown(), "9");
}

TEST(Status_Messages, Clear_Empties_And_Hides)
{
    Message_Rig rig;
    rig.list.Post_Message("Engine off", Red);
    rig.list.Clear();
    EXPECT_EQ(rig.list.Count(), 0);
    EXPECT_EQ(rig.Shown(), "<hidden>");
    EXPECT_FALSE(rig.timer_error.Enabled());
    rig.clock.Advance(10000);
    EXPECT_EQ(rig.Shown(), "<hidden>");
}

}   // namespace
