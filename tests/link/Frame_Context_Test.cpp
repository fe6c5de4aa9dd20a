#include "Frame_Test_Support.h"

#include "app/Quorel_Context.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The program's own wiring: settings, timers, frame exchange and the port
// events, over a virtual line.
struct Context_Rig
{
    QTemporaryDir dir;
    Virtual_Clock clock;
    Virtual_Serial_Port* port = nullptr;
    std::unique_ptr<Quorel_Context> context;
    std::unique_ptr<Scripted_Peer> peer;

    explicit Context_Rig(const QByteArray& ini_text = QByteArray())
    {
        if (!ini_text.isEmpty()) {
            QFile f(dir.path() + "/QuorelGAS.ini");
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(ini_text);
        }
        auto line = std::make_unique<Virtual_Serial_Port>(clock);
        port = line.get();
        context = std::make_unique<Quorel_Context>(clock, std::move(line), dir.path(), "QuorelGAS");
        context->Frames.hooks.Port_Present = [this](const QString& name) {
            return name == "ttyVIRT0" && port->Present();
        };
        peer = std::make_unique<Scripted_Peer>(clock, *port);
        context->App_Settings.Settings_Create();
    }

    ~Context_Rig()
    {
        context.reset();
        peer.reset();
    }

    void Open()
    {
        context->ComPort->Set_Port(context->App_Settings.Port_Name);
        context->ComPort->Port_Open();
    }
};

TEST(Frame_Context_Test, ReplyDelayFromTheSettingsFileTimesTheFirstRequest)
{
    Context_Rig rig("Port_Name                    ttyVIRT0 {}\r\nReply_Delay                  200 {}\r\n");
    ASSERT_EQ(rig.context->App_Settings.Reply_Delay, 200);
    rig.Open();
    EXPECT_TRUE(rig.context->Link_Open);
    EXPECT_EQ(rig.context->Panel_PortStatus.caption, "ttyVIRT0");
    EXPECT_EQ(rig.context->Panel_PortStatus.background, Panel_Colours::Lime);
    EXPECT_EQ(rig.context->Panel_PortStatus.text, Panel_Colours::Blue);
    rig.clock.Advance(199);
    EXPECT_TRUE(rig.port->Writes().empty());
    rig.clock.Advance(1);
    ASSERT_EQ(rig.port->Writes().size(), 1u);
    EXPECT_EQ(rig.port->Writes()[0].bytes, Bytes({0x1D, 0x21, 0x21, 0x21, 0x80}));
}

TEST(Frame_Context_Test, OutOfRangeReplyDelayCannotStallTheLink)
{
    for (const char* value : {"5000", "-3", "0"}) {
        Context_Rig rig(QByteArray("Port_Name ttyVIRT0\r\nReply_Delay ") + value + "\r\n");
        const int delay = rig.context->App_Settings.Reply_Delay;
        EXPECT_GE(delay, 1) << value;
        EXPECT_LE(delay, 999) << value;
        rig.Open();
        rig.clock.Advance(1000);
        EXPECT_FALSE(rig.port->Writes().empty()) << value;
    }
}

TEST(Frame_Context_Test, VanishingPortIsLostAndReopenedWhenBack)
{
    Context_Rig rig("Port_Name ttyVIRT0\r\n");
    rig.Open();
    rig.clock.Advance(100);
    ASSERT_EQ(rig.port->Writes().size(), 1u);
    rig.port->Set_Present(false);
    rig.clock.Advance(600);
    EXPECT_TRUE(rig.port->Port_Error());
    EXPECT_FALSE(rig.context->Link_Open);
    EXPECT_EQ(rig.context->Panel_ConnectStatus.background, Panel_Colours::Red);

    rig.port->Set_Present(true);
    const size_t before = rig.port->Writes().size();
    rig.clock.Advance(2000);
    EXPECT_FALSE(rig.port->Port_Error());
    EXPECT_TRUE(rig.context->Link_Open);
    EXPECT_GT(rig.port->Writes().size(), before) << "identification goes out again on the reopened port";
}

TEST(Frame_Context_Test, PortThatCannotBeOpenedNeverHangs)
{
    Context_Rig rig("Port_Name ttyVIRT0\r\n");
    rig.context->Frames.hooks.Port_Present = [](const QString&) { return true; }; // listed, but held elsewhere
    rig.port->Set_Present(false);
    rig.Open();
    EXPECT_TRUE(rig.port->Port_Is_Open());
    EXPECT_TRUE(rig.port->Port_Error());
    rig.clock.Advance(10000);
    EXPECT_TRUE(rig.port->Writes().empty());
    EXPECT_EQ(rig.port->Open_Count(), 0);
}

} // namespace

namespace {

TEST(Frame_Context_Test, LinkQualityShowsAnswersAndFallsToZeroWhenTheyStop)
{
    Context_Rig rig("Port_Name ttyVIRT0\r\n");
    int answers = 0;
    rig.peer->on_byte = [&](Scripted_Peer& p) {
        if (p.received.size() == 5 && answers++ == 0)
            p.line.Send_To_Host(With_Checksum(Bytes({0x1D, 0x21, 66})));
    };
    rig.Open();
    rig.clock.Advance(200);
    ASSERT_EQ(answers, 1);
    EXPECT_EQ(rig.context->Panel_ConnectStatus_PerCent.caption, "100%");
    EXPECT_EQ(rig.context->Panel_ConnectStatus_PerCent.background, Panel_Colours::Lime);
    rig.clock.Advance(4000);
    EXPECT_NE(rig.context->Panel_ConnectStatus_PerCent.caption, "100%");
    rig.clock.Advance(1500);
    EXPECT_EQ(rig.context->Panel_ConnectStatus_PerCent.caption, "0%");
    EXPECT_EQ(rig.context->Panel_ConnectStatus_PerCent.background, Panel_Colours::Red);
}

} // namespace
