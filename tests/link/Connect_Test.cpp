#include "app/Quorel_Context.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Connect.h"
#include "link/Quorel_Link_Quality.h"
#include "link/Quorel_Message.h"
#include "link/Quorel_Port_Permission.h"
#include "link/Quorel_Port_Search.h"
#include "link/Quorel_Sequencer.h"
#include "link/Quorel_Serial_Virtual.h"
#include "sim/Quorel_Sim_Ecu.h"
#include "sim/Quorel_Sim_Virtual.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

#include <grp.h>
#include <unistd.h>

#include "Connect_Rig.h"

namespace {

// ---------------------------------------------------------------- connection list

TEST(Connect_Test, ConnectionListRunsInOrderThenPollsLiveData)
{
    struct Case
    {
        const char* version;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"4.19", {0x21, 0x30, 0x32, 0x31, 0x33, 0x34, 0x35, 0x36, 0x37, 0x31, 0x31, 0x31}},
        {"6.05", {0x21, 0x30, 0x32, 0x31, 0x33, 0x34, 0x35, 0x36, 0x37, 0x31, 0x31, 0x31}},
        {"3.02", {0x21, 0x30, 0x31, 0x34, 0x35, 0x36, 0x37, 0x31, 0x31, 0x31}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Connect_Rig rig(Firmware(c.version));
        rig.Open();
        ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.port->Writes().size() >= c.expected.size(); }, 10000));
        EXPECT_EQ(rig.Commands(), c.expected);
        EXPECT_EQ(ECU_Has_Password_Block(rig.context->Identification.Version_Number),
                  QString(c.version) != "3.02");
        EXPECT_TRUE(rig.context->ECU_Connected);
        EXPECT_FALSE(rig.context->Sequence->Script_Error_Shown);
    }
}

TEST(Connect_Test, EachRequestGoesOutReplyDelayAfterThePreviousAnswer)
{
    Connect_Rig rig;
    rig.Open();
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.port->Writes().size() >= 16; }, 10000));
    const auto& writes = rig.port->Writes();
    ASSERT_GE(rig.answer_times.size(), 15u);
    for (size_t k = 1; k < 16; ++k)
        EXPECT_EQ(writes[k].time_ms - rig.answer_times[k - 1], 60) << "request " << k;
}

TEST(Connect_Test, DeclaredConnectedShowsTheModelInLime)
{
    Connect_Rig rig;
    rig.context->Panel_ProtokolStatus.visible = false;
    ASSERT_TRUE(rig.Connect());
    const Quorel_Context& c = *rig.context;
    EXPECT_EQ(c.Panel_ConnectStatus.caption, "KYT-4");
    EXPECT_EQ(c.Panel_ConnectStatus.background, Panel_Colours::Lime);
    EXPECT_EQ(c.Panel_ConnectStatus.text, Panel_Colours::Blue);
    EXPECT_EQ(c.Panel_ConnectStatus_PerCent.background, Panel_Colours::Lime);
    EXPECT_TRUE(c.Panel_ProtokolStatus.visible);
    EXPECT_EQ(c.Panel_PortStatus.caption, Line_Name);
    EXPECT_EQ(c.Panel_PortStatus.background, Panel_Colours::Lime);
    EXPECT_TRUE(c.Timer_Check_Tx.Enabled());
    EXPECT_TRUE(c.Timer_Connect.Enabled());
    EXPECT_FALSE(c.Search->Search_Window_Shown());
}

// ---------------------------------------------------------------- loss

TEST(Connect_Test, SilentEcuRepeatsThePollFallsToZeroAndIdentifiesAgainAfterFiveSeconds)
{
    Connect_Rig rig;
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.Silence_At(0x31));
    const qint64 last_answer = rig.answer_times.back();
    const size_t silent_from = rig.port->Writes().size() - 1;

    qint64 zero_at = -1;
    ASSERT_TRUE(rig.clock.Advance_Until(
        [&]() {
            if (zero_at < 0 && rig.context->Panel_ConnectStatus_PerCent.caption == "0%")
                zero_at = rig.clock.Now_Ms();
            return !rig.context->ECU_Connected;
        },
        6000));
    const qint64 lost_at = rig.clock.Now_Ms();
    EXPECT_EQ(lost_at - last_answer, 5000);
    ASSERT_GE(zero_at, 0);
    EXPECT_GE(zero_at - last_answer, 4500);
    EXPECT_LE(zero_at - last_answer, 5000);

    // Unanswered polls were repeated every 500 ms after the last byte.
    const auto& writes = rig.port->Writes();
    const std::vector<int> polls = rig.Commands(silent_from);
    ASSERT_GE(polls.size(), 9u);
    for (size_t i = silent_from + 1; i < writes.size(); ++i) {
        EXPECT_EQ(quint8(writes[i].bytes[1]), 0x31);
        EXPECT_EQ(writes[i].time_ms - writes[i - 1].time_ms, 506);
    }

    EXPECT_EQ(rig.context->Panel_ConnectStatus.caption, Text("Not_Connect"));
    EXPECT_EQ(rig.context->Panel_ConnectStatus.background, Panel_Colours::Red);
    const int opens = rig.port->Open_Count();
    const size_t before = writes.size();
    rig.clock.Advance(100);
    ASSERT_GT(rig.port->Writes().size(), before);
    EXPECT_EQ(quint8(rig.port->Writes()[before].bytes[1]), 0x21);
    EXPECT_EQ(rig.port->Writes()[before].time_ms, lost_at + 60);
    EXPECT_EQ(rig.context->ComPort->Port(), Line_Name);
    EXPECT_EQ(rig.port->Open_Count(), opens);
    // A loss during polling says nothing.
    EXPECT_EQ(rig.Shown_Message(), QString());

    rig.Silence(false);
    EXPECT_TRUE(rig.clock.Advance_Until([&]() { return rig.context->ECU_Connected; }, 5000));
}

TEST(Connect_Test, VanishedPortReconnectsWhenItIsBack)
{
    Connect_Rig rig;
    ASSERT_TRUE(rig.Connect());
    const int opens = rig.port->Open_Count();
    Sim_Faults faults;
    faults.Port_Vanished = true;
    rig.ecu->Set_Faults(faults);
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return !rig.context->ECU_Connected; }, 2000));
    EXPECT_FALSE(rig.context->Link_Open);
    rig.clock.Advance(3000);
    EXPECT_FALSE(rig.context->ECU_Connected);

    rig.ecu->Set_Faults(Sim_Faults{});
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.context->ECU_Connected; }, 5000));
    EXPECT_GT(rig.port->Open_Count(), opens);
    EXPECT_EQ(rig.context->Panel_ConnectStatus.caption, "KYT-4");
    // The connection list runs to its end and polling follows.
    const size_t now = rig.port->Writes().size();
    rig.clock.Advance(3000);
    const std::vector<int> later = rig.Commands(now);
    ASSERT_GE(later.size(), 6u);
    EXPECT_NE(std::find(later.begin(), later.end(), 0x37), later.end());
    EXPECT_EQ(std::vector<int>(later.end() - 3, later.end()), std::vector<int>(3, 0x31));
}

TEST(Connect_Test, LossDuringAConfigurationReadIsToldAtEveryLoss)
{
    Connect_Rig rig;
    ASSERT_TRUE(rig.Connect());

    // A first loss during polling: no message, and no guard for later ones.
    ASSERT_TRUE(rig.Silence_At(0x31));
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return !rig.context->ECU_Connected; }, 6000));
    EXPECT_EQ(rig.Shown_Message(), QString());

    for (int command : {0x32, 0x35, 0x37}) {
        SCOPED_TRACE(command);
        rig.Silence(false);
        ASSERT_TRUE(rig.Silence_At(command));
        ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.context->Messages->Shown(); }, 6000));
        EXPECT_EQ(rig.context->Messages->Kind(), Message_Window::Kind_Key);
        EXPECT_EQ(rig.context->Messages->Message_Text(), Text("Error_CFG_Receiv"));
        EXPECT_EQ(rig.context->Messages->Colour(), QColor(0xFF, 0x00, 0x00));
        rig.context->Messages->Close();
    }
}

TEST(Connect_Test, LossDuringAWriteIsDeclaredAlthoughTheWriteIsResent)
{
    // Each overdue write is resent; the resends must not keep the link alive.
    for (int command : {0x3B, 0x3C}) {
        SCOPED_TRACE(command);
        Connect_Rig rig;
        ASSERT_TRUE(rig.Connect());
        rig.clock.Advance(3000);
        rig.context->Pending_Request = 2;   // write the whole configuration and the map
        ASSERT_TRUE(rig.Silence_At(command));
        const qint64 silent_at = rig.clock.Now_Ms();
        ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.context->Messages->Shown(); }, 8000));
        EXPECT_FALSE(rig.context->ECU_Connected);
        EXPECT_LE(rig.clock.Now_Ms() - silent_at, 5000 + 600);
        EXPECT_EQ(rig.context->Messages->Message_Text(), Text("Error_CFG_Transmitt"));
        const std::vector<int> sent = rig.Commands();
        EXPECT_GE(std::count(sent.begin(), sent.end(), command), 3) << "resent meanwhile";
    }
}

TEST(Connect_Test, LossMessageKeyByInterruptedRequest)
{
    const std::pair<int, const char*> cases[] = {
        {0x21, ""}, {0x30, "Error_CFG_Receiv"}, {0x31, ""}, {0x32, "Error_CFG_Receiv"},
        {0x37, "Error_CFG_Receiv"}, {0x38, "Error_CFG_Transmitt"}, {0x3D, "Error_CFG_Transmitt"},
        {0x3E, ""}, {0x40, ""}, {0x41, "Error_CFG_Transmitt"}, {0x75, "Error_CFG_Transmitt"},
        {0x76, ""}, {0x23, ""}, {0x24, ""},
    };
    for (const auto& [command, key] : cases)
        EXPECT_EQ(Link_Supervisor::Loss_Message_Key(quint8(command)), QString(key)) << std::hex << command;
}

// ---------------------------------------------------------------- too new

TEST(Connect_Test, TooNewEcuShowsTheVersionMessageAndStillPolls)
{
    Sim_Ecu_Config config;
    config.Ident_Code = 7;
    config.W13 = 125;
    Connect_Rig rig(config);
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.context->Messages->Shown(); }, 500));
    EXPECT_EQ(rig.context->Messages->Kind(), Message_Window::Kind_Version);
    EXPECT_TRUE(rig.context->Messages->Message_Text().contains("1.25"));
    const size_t from = rig.port->Writes().size();
    rig.clock.Advance(2000);
    const std::vector<int> later = rig.Commands(from);
    ASSERT_GE(later.size(), 5u);
    for (int command : later)
        EXPECT_EQ(command, 0x31);
    EXPECT_TRUE(rig.context->ECU_Connected);
}

// ---------------------------------------------------------------- permission

TEST(Connect_Test, RefusedPortIsNamedAndItsFixToldOnce)
{
    Connect_Rig rig;
    rig.port->Set_Open_Denied(true);
    rig.Open();
    EXPECT_EQ(rig.context->Panel_PortStatus.caption, Line_Name + " (no permission)");
    EXPECT_EQ(rig.context->Panel_PortStatus.background, Panel_Colours::Red);
    EXPECT_FALSE(rig.context->Link_Open);
    const QString text = rig.Shown_Message();
    EXPECT_EQ(rig.context->Messages->Kind(), Message_Window::Kind_Text);
    EXPECT_TRUE(text.contains("/dev/" + Line_Name)) << text.toStdString();
    EXPECT_TRUE(text.contains("log in again")) << text.toStdString();
    rig.context->Messages->Close();

    // The send timer keeps trying the port; the message is not repeated.
    rig.clock.Advance(3000);
    EXPECT_FALSE(rig.context->Messages->Shown());
    EXPECT_FALSE(rig.context->Messages->Pending());
    EXPECT_EQ(rig.context->Panel_PortStatus.caption, Line_Name + " (no permission)");
    EXPECT_EQ(rig.context->Supervisor->Denied_Ports_Told(), QStringList{Line_Name});

    // Permission granted: the port opens by itself and the ECU connects.
    rig.port->Set_Open_Denied(false);
    EXPECT_TRUE(rig.clock.Advance_Until([&]() { return rig.context->ECU_Connected; }, 5000));
    EXPECT_EQ(rig.context->Panel_PortStatus.caption, Line_Name);
}

TEST(Connect_Test, PermissionMessageNamesTheGroupAndTheNewLogin)
{
    const QString text = Port_Denied_Message("ttyUSB0", "/dev/ttyUSB0", "dialout");
    EXPECT_TRUE(text.contains("ttyUSB0"));
    EXPECT_TRUE(text.contains("/dev/ttyUSB0"));
    EXPECT_TRUE(text.contains("group \"dialout\""));
    EXPECT_TRUE(text.contains("usermod -aG dialout $USER"));
    EXPECT_TRUE(text.contains("log out and log in again"));

    const QString unknown = Port_Denied_Message("ttyS1", "/dev/ttyS1", QString());
    EXPECT_TRUE(unknown.contains("the group that owns /dev/ttyS1"));
    EXPECT_FALSE(unknown.contains("\"\""));
    EXPECT_TRUE(unknown.contains("log in again"));

    EXPECT_EQ(Port_Denied_Caption("ttyACM0"), "ttyACM0 (no permission)");
}

TEST(Connect_Test, DeviceGroupIsTheFilesOwningGroup)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("device"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const struct group* own = getgrgid(getegid());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(Device_Group(file.fileName()), QString::fromLocal8Bit(own->gr_name));
    EXPECT_EQ(Device_Group(dir.filePath("absent")), QString());
    EXPECT_EQ(Device_Group(QString()), QString());
}

} // namespace

namespace {

TEST(Connect_Data_Test, ConnectionDecodesTheMapAndPollingDecodesLiveData)
{
    Connect_Rig rig;
    ASSERT_TRUE(rig.Connect());
    rig.clock.Advance(3000);
    // the map read on connection is the ECU's, byte for byte
    EXPECT_EQ(rig.context->Calibration.Map_Payload(), rig.ecu->Store().Map);
    // live data decoded from the polls: the simulated engine idles
    EXPECT_GT(rig.context->Live_Data.RPM, 0);
    EXPECT_EQ(rig.context->Work_Mode, rig.context->Live_Data.Work_Mode);
    EXPECT_TRUE(std::find(rig.context->Sequence->Unowned_Calls.begin(), rig.context->Sequence->Unowned_Calls.end(),
                          51) == rig.context->Sequence->Unowned_Calls.end());
}

} // namespace
