#include "app/Quorel_Context.h"
#include "link/Quorel_Command.h"
#include "link/Quorel_Sequencer.h"
#include "link/Quorel_Serial_Virtual.h"
#include "sim/Quorel_Sim_Blocks.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The sequencer with the frame engine bypassed: every request it finishes
// is answered at once with a block of the expected length.
struct Seq_Rig
{
    QTemporaryDir dir;
    Virtual_Clock clock;
    std::unique_ptr<Quorel_Context> context;
    Sequencer* seq = nullptr;
    Sim_Ecu_Config ecu;
    std::vector<int> requests;      // command byte of every finished request
    std::vector<int> owner_calls;   // owned commands in the order they ran
    std::vector<std::pair<int, QString>> messages;

    Seq_Rig()
    {
        context = std::make_unique<Quorel_Context>(clock, std::make_unique<Virtual_Serial_Port>(clock), dir.path(),
                                                   "QuorelGAS");
        context->App_Settings.Settings_Create();
        seq = context->Sequence.get();
        context->Frames.Sent_Frame[0] = 0x1D;   // as after an identification
        seq->Show_Message = [this](int kind, const QString& text, int) { messages.push_back({kind, text}); };
        for (int code : {51, 53, 54, 55, 56, 57, 71, 75, 74, 76, 77, 83, 196, 197})
            seq->Command_Owners[code] = [this, code]() { owner_calls.push_back(code); };
    }

    int Last_Request() const { return requests.empty() ? 0 : requests.back(); }

    // Answers the request just finished and runs the sequencer once more.
    void Answer()
    {
        Frame_Exchange& f = context->Frames;
        const quint8 command = f.Tx_Frame[1];
        QByteArray answer;
        if (command == 0x21)
            answer = Sim_Blocks::Make_Frame(0x21, QByteArray(1, char(ecu.Ident_Data_Length())));
        else if (command == 0x30)
            answer = Sim_Blocks::Identification_Block(ecu);
        else
            answer = Sim_Blocks::Make_Frame(command, QByteArray(qMax(0, f.Rx_Expected - 3), '\0'));
        for (int i = 0; i < answer.size(); ++i)
            f.Rx_Frame[size_t(i)] = quint8(answer[i]);
        f.Rx_Length = int(answer.size());
        f.Sent_Frame[0] = f.Tx_Frame[0];
        f.Sent_Frame[1] = f.Tx_Frame[1];
        f.Tx_Pending = false;
        seq->Run_Sequencer();
        Record();
    }

    void Record()
    {
        if (context->Frames.Tx_Pending)
            requests.push_back(context->Frames.Tx_Frame[1]);
    }

    void Start()
    {
        seq->Load_Connection_List();
        Record();
    }

    void Answer_Times(int n)
    {
        for (int i = 0; i < n; ++i)
            Answer();
    }
};

TEST(Sequencer_Test, ConnectionListReadsInOrderThenPolls)
{
    struct Case
    {
        const char* version;
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        // 4xx: password block and service time are read
        {"4.19", {0x21, 0x30, 0x32, 0x31, 0x33, 0x34, 0x35, 0x36, 0x37, 0x31, 0x31}},
        // 3xx: neither
        {"3.05", {0x21, 0x30, 0x31, 0x34, 0x35, 0x36, 0x37, 0x31, 0x31}},
    };
    for (const Case& c : cases) {
        Seq_Rig rig;
        rig.ecu.Program_Version = c.version;
        rig.Start();
        rig.Answer_Times(int(c.expected.size()) - 1);
        EXPECT_EQ(rig.requests, c.expected) << c.version;
        // 71 declares the connection after the password block and before live data
        const auto& calls = rig.owner_calls;
        ASSERT_FALSE(calls.empty()) << c.version;
        EXPECT_EQ(calls.front(), c.expected[2] == 0x32 ? 76 : 74) << c.version;
        EXPECT_NE(std::find(calls.begin(), calls.end(), 71), calls.end()) << c.version;
        EXPECT_EQ(rig.context->Identification.Version_Number, QString(c.version).remove('.').toInt()) << c.version;
    }
}

TEST(Sequencer_Test, ReadLengthsFollowTheIdentificationBlock)
{
    Seq_Rig rig;
    rig.ecu.Live_Length = 40;
    rig.ecu.Config_Length = 90;
    rig.ecu.W[3] = 5;   // W4
    rig.ecu.W[6] = 3;   // W7
    rig.ecu.W[11] = 2;  // W12
    rig.Start();
    std::map<int, int> expected_rx;
    for (int i = 0; i < 10; ++i) {
        expected_rx[rig.context->Frames.Tx_Frame[1]] = rig.context->Frames.Rx_Expected;
        rig.Answer();
    }
    EXPECT_EQ(expected_rx[0x21], 4);
    EXPECT_EQ(expected_rx[0x30], rig.ecu.Ident_Data_Length() + 3);
    EXPECT_EQ(expected_rx[0x31], 43);
    EXPECT_EQ(expected_rx[0x32], 67);
    EXPECT_EQ(expected_rx[0x33], 11);
    EXPECT_EQ(expected_rx[0x34], 11);
    EXPECT_EQ(expected_rx[0x36], 57);
    EXPECT_EQ(expected_rx[0x35], 93);
    EXPECT_EQ(expected_rx[0x37], (5 + 1) * (3 + 2 + 2) + 2 + 4);
}

TEST(Sequencer_Test, TooNewEcuIsDeclaredConnectedAndPolledWithTheMessage)
{
    Seq_Rig rig;
    rig.ecu.Ident_Code = 7;
    rig.ecu.W13 = 125;
    rig.Start();
    rig.Answer_Times(4);
    EXPECT_EQ(rig.requests, (std::vector<int>{0x21, 0x30, 0x31, 0x31, 0x31}));
    ASSERT_EQ(rig.messages.size(), 1u);
    EXPECT_EQ(rig.messages[0].first, 10);
    EXPECT_EQ(rig.messages[0].second, "1.25");
    EXPECT_EQ(rig.owner_calls.front(), 71);
}

TEST(Sequencer_Test, PollingRunsDecodeDispatchAndJumpsBackToTheNextPoll)
{
    Seq_Rig rig;
    rig.seq->Build_List(0);
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();
    rig.Record();
    ASSERT_EQ(rig.Last_Request(), 0x31);
    EXPECT_EQ(rig.seq->Instruction_Pointer, 2);
    rig.owner_calls.clear();
    rig.Answer();
    EXPECT_EQ(rig.owner_calls, std::vector<int>{51});
    EXPECT_EQ(rig.Last_Request(), 0x31);
    EXPECT_EQ(rig.seq->Instruction_Pointer, 2) << "72 and 31 ran again from entry 0";
    EXPECT_EQ(rig.context->Frames.Tx_Length, 5);
    EXPECT_TRUE(rig.context->Timer_Connect.Enabled()) << "every run restarts the 5 s limit";
}

TEST(Sequencer_Test, BootLoaderRequestPollsEightTimesThenOpensTheLoader)
{
    Seq_Rig rig;
    rig.context->ECU_Connected = true;
    rig.seq->Build_List(0);
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();
    rig.Record();
    rig.context->Pending_Request = 16;
    rig.requests.clear();
    rig.owner_calls.clear();
    rig.Answer();   // the poll's answer: 198 builds the loader list
    for (int i = 0; i < 20 && std::find(rig.owner_calls.begin(), rig.owner_calls.end(), 83) == rig.owner_calls.end(); ++i)
        rig.Answer();
    // petrol mode, then eight live-data polls, then the loader window
    ASSERT_GE(rig.requests.size(), 9u);
    EXPECT_EQ(rig.requests[0], 0x22);
    EXPECT_EQ(rig.context->Frames.Sent_Frame[0], 0x1D);
    EXPECT_EQ(std::count(rig.requests.begin() + 1, rig.requests.end(), 0x31), 8);
    EXPECT_EQ(rig.owner_calls.back(), 83);
    EXPECT_EQ(std::count(rig.owner_calls.begin(), rig.owner_calls.end(), 51), 1 + 8);
}

TEST(Sequencer_Test, ScriptErrorIsShownOnceWithItsPositionAndCode)
{
    Seq_Rig rig;
    rig.seq->Build_Entries({7, 72, 31, 51, 198, 1, 1});
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();
    ASSERT_EQ(rig.messages.size(), 1u);
    EXPECT_EQ(rig.messages[0].first, 4);
    EXPECT_EQ(rig.messages[0].second, "Error In Script\n\rScript number : 1\n\rScript : 7");
    EXPECT_EQ(rig.context->Frames.Tx_Frame[1], 0x31) << "the interpreter goes on with the next entry";

    rig.seq->Build_Entries({255, 250, 0, 72, 31});
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();
    EXPECT_EQ(rig.messages.size(), 1u) << "later script errors show nothing";
}

TEST(Sequencer_Test, RequestPostedWhileListTwoRunsIsTakenBackInPolling)
{
    Seq_Rig rig;
    rig.context->App_Settings.Save_Load_Data = true;
    rig.context->Identification.Version_Number = 419;   // has the service-time counter
    rig.seq->Build_List(0);
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();
    rig.Record();
    rig.context->Pending_Request = 3;
    rig.requests.clear();
    rig.Answer();               // 198 builds list 2: first the car number
    ASSERT_EQ(rig.Last_Request(), 0x34);
    rig.context->Pending_Request = 5;   // posted while list 2 runs
    rig.Answer_Times(8);
    // list 2: car number, configuration values (0x35), correction factors,
    // map (0x36), service time; then polling, which takes request 5: the
    // calibration map alone
    const std::vector<int> expected = {0x34, 0x35, 0x37, 0x36, 0x33, 0x31, 0x36, 0x31, 0x31};
    EXPECT_EQ(rig.requests, expected);
    EXPECT_EQ(rig.context->Pending_Request, 0);
}

TEST(Sequencer_Test, OverdueLongWriteIsRebuiltOneEntryBack)
{
    Seq_Rig rig;
    rig.seq->Payload_Owners[0x3A] = []() { return QByteArray("AB12"); };
    rig.seq->Build_Entries({64, 26, 41, 5, 0});
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();
    EXPECT_EQ(rig.context->Frames.Tx_Frame[1], 0x23);
    rig.Answer();
    ASSERT_EQ(rig.context->Frames.Tx_Frame[1], 0x3A);
    const std::vector<quint8> car(rig.context->Frames.Tx_Frame.begin(), rig.context->Frames.Tx_Frame.begin() + 11);
    EXPECT_EQ(car, (std::vector<quint8>{0x1D, 0x3A, 0x41, 0x42, 0x31, 0x32, 0xFF, 0xFF, 0xFF, 0xFF, 0x39}));
    rig.context->Frames.Tx_Frame[1] = 0;   // as if another frame had been built
    rig.seq->Step_Back(1);
    EXPECT_EQ(rig.context->Frames.Tx_Frame[1], 0x3A);
    EXPECT_EQ(rig.context->Frames.Tx_Length, 11);
}

TEST(Sequencer_Test, WaitPollsUntilTimerWaitHasElapsed)
{
    Seq_Rig rig;
    // pump test: wait 3 s while polling, then clear errors
    rig.context->ECU_Connected = true;
    rig.seq->Build_Entries({4, 3, 31, 51, 210, -3, 27, 5, 0});
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();
    rig.Record();
    EXPECT_TRUE(rig.context->Timer_Wait.Enabled());
    rig.Answer_Times(3);
    EXPECT_EQ(rig.Last_Request(), 0x31) << "still waiting";
    rig.clock.Advance(3000);
    EXPECT_FALSE(rig.context->Timer_Wait.Enabled());
    rig.Answer();
    EXPECT_EQ(rig.Last_Request(), 0x24);
}

TEST(Sequencer_Test, AbsurdLengthsAreSkippedAndReportedOnce)
{
    Seq_Rig rig;
    rig.ecu.W[3] = 200;   // W4: a correction block far beyond 1024 bytes
    rig.ecu.W[6] = 200;
    rig.Start();
    rig.Answer_Times(10);
    EXPECT_EQ(std::count(rig.requests.begin(), rig.requests.end(), 0x37), 0);
    EXPECT_EQ(std::count(rig.owner_calls.begin(), rig.owner_calls.end(), 57), 0) << "nothing stale is decoded";
    ASSERT_EQ(rig.messages.size(), 1u);
    EXPECT_EQ(rig.messages[0].first, 4);
    // the same ECU again: no second report
    rig.requests.clear();
    rig.Start();
    rig.Answer_Times(10);
    EXPECT_EQ(rig.messages.size(), 1u);
    EXPECT_EQ(rig.Last_Request(), 0x31);
}

TEST(Sequencer_Test, ListThatNeverSendsDoesNotHang)
{
    Seq_Rig rig;
    rig.seq->Build_Entries({0, 1, 1});
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();   // returns instead of spinning
    EXPECT_FALSE(rig.context->Frames.Tx_Pending);
    EXPECT_FALSE(rig.seq->Sequencer_Stop);
}

TEST(Sequencer_Test, UnownedEntriesAreObservableNoOps)
{
    Seq_Rig rig;
    rig.seq->Command_Owners.clear();
    rig.seq->Condition_Owners.clear();
    rig.seq->Build_Entries({52, 70, 202, 1, 72, 31});
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();
    EXPECT_EQ(rig.seq->Unowned_Calls, (std::vector<int>{52, 70, 202}));
    EXPECT_EQ(rig.context->Frames.Tx_Frame[1], 0x31);
}

TEST(Sequencer_Test, SplitOfSixteenBitNumbers)
{
    EXPECT_EQ(Split_16(78), (std::pair<quint8, quint8>{0x00, 0x4E}));
    EXPECT_EQ(Split_16(0x1234), (std::pair<quint8, quint8>{0x12, 0x34}));
    EXPECT_EQ(Split_16(-1), (std::pair<quint8, quint8>{0x00, 0xFF}));
    EXPECT_EQ(Split_16(-256), (std::pair<quint8, quint8>{0xFF, 0x00}));
}

TEST(Sequencer_Test, CapabilityRuleCoversTheThreeFamilies)
{
    for (int v : {400, 419, 605, 899})
        EXPECT_TRUE(ECU_Has_Password_Block(v) && ECU_Has_Service_Time(v)) << v;
    for (int v : {0, 302, 501, 700, 900})
        EXPECT_FALSE(ECU_Has_Password_Block(v) || ECU_Has_Service_Time(v)) << v;
}

} // namespace
