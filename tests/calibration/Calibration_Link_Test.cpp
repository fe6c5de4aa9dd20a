#include "app/Quorel_Context.h"
#include "calibration/Quorel_Calibration_Actions.h"
#include "calibration/Quorel_Calibration_Map.h"
#include "calibration/Quorel_Calibration_Owners.h"
#include "link/Quorel_Sequencer.h"
#include "link/Quorel_Serial_Virtual.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A context on a virtual clock with the frame engine bypassed: each finished
// request is answered by the test, then the sequencer runs again.
struct Calibration_Rig
{
    QTemporaryDir dir;
    Virtual_Clock clock;
    std::unique_ptr<Quorel_Context> context;
    Sequencer* seq = nullptr;
    Calibration_Map map;
    std::vector<QByteArray> requests;   // every finished request frame

    Calibration_Rig()
    {
        context = std::make_unique<Quorel_Context>(clock, std::make_unique<Virtual_Serial_Port>(clock), dir.path(),
                                                   "QuorelGAS");
        context->App_Settings.Settings_Create();
        seq = context->Sequence.get();
        seq->Show_Message = [](int, const QString&, int) {};
        context->Frames.Sent_Frame[0] = 0x1D;
        context->ECU_Connected = true;
        Install_Calibration_Owners(*seq, map, context->Frames);
    }

    Frame_Exchange& Frames() { return context->Frames; }
    quint8 Last_Command() const { return requests.empty() ? 0 : quint8(requests.back()[1]); }

    void Record()
    {
        if (Frames().Tx_Pending)
            requests.push_back(QByteArray(reinterpret_cast<const char*>(Frames().Tx_Frame.data()), Frames().Tx_Length));
    }

    // Polling list, stopped at its live-data request.
    void Start_Polling()
    {
        seq->Build_List(0);
        seq->Instruction_Pointer = 0;
        seq->Run_Sequencer();
        Record();
    }

    void Answer(const QByteArray& answer)
    {
        for (int i = 0; i < answer.size(); ++i)
            Frames().Rx_Frame[size_t(i)] = quint8(answer[i]);
        Frames().Rx_Length = int(answer.size());
        Frames().Sent_Frame[0] = Frames().Tx_Frame[0];
        Frames().Sent_Frame[1] = Frames().Tx_Frame[1];
        Frames().Tx_Pending = false;
        seq->Run_Sequencer();
        Record();
    }

    // An answer of the expected length, data bytes filled with zeros.
    void Answer_Plain()
    {
        QByteArray a(qMax(3, Frames().Rx_Expected), '\0');
        a[0] = char(0x1D);
        a[1] = char(Frames().Tx_Frame[1]);
        a[a.size() - 1] = char(Frame_Exchange::Checksum(reinterpret_cast<const quint8*>(a.constData()),
                                                         int(a.size()) - 1));
        Answer(a);
    }
};

QByteArray Map_Answer(const std::array<int, 9>& raw, const std::array<int, 9>& petrol)
{
    QByteArray a(57, '\0');
    a[0] = char(0x1D);
    a[1] = char(0x36);
    for (int k = 0; k < 9; ++k) {
        a[4 + 6 * k] = char(raw[size_t(k)] & 0xFF);
        a[5 + 6 * k] = char(raw[size_t(k)] >> 8);
        a[6 + 6 * k] = char(petrol[size_t(k)] & 0xFF);
        a[7 + 6 * k] = char(petrol[size_t(k)] >> 8);
    }
    a[56] = char(Frame_Exchange::Checksum(reinterpret_cast<const quint8*>(a.constData()), 56));
    return a;
}

TEST(Calibration_Owners, Read_Map_Request_Decodes_The_Answer)
{
    Calibration_Rig rig;
    rig.context->App_Settings.Save_Load_Data = false;
    int cleared = 0;
    rig.map.Clear_Selection = [&cleared]() { ++cleared; };
    Calibration_Actions actions(*rig.context, rig.map);

    rig.Start_Polling();
    ASSERT_EQ(rig.Last_Command(), 0x31);
    ASSERT_TRUE(actions.Receive());
    EXPECT_EQ(rig.context->Pending_Request, 5);
    rig.Answer_Plain();   // live data; 198 dispatches request 5
    ASSERT_EQ(rig.Last_Command(), 0x36);
    EXPECT_EQ(rig.requests.back(), QByteArray::fromHex("1D363636BF"));
    EXPECT_EQ(rig.Frames().Rx_Expected, 57);

    const std::array<int, 9> raw = {128, 172, 64, 0, 256, 200, 100, 150, 128};
    const std::array<int, 9> petrol = {0, 1800, 4100, 6000, 9000, 12500, 16000, 20000, 25000};
    rig.Answer(Map_Answer(raw, petrol));
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(rig.map.Factor[size_t(k)], Factor_From_Raw(raw[size_t(k)]));
        EXPECT_EQ(rig.map.Petrol_Time[size_t(k)], petrol[size_t(k)]);
    }
    EXPECT_EQ(rig.map.Factor[1], 13438);
    EXPECT_EQ(cleared, 1);
    // back to polling
    EXPECT_EQ(rig.Last_Command(), 0x31);
}

TEST(Calibration_Owners, Short_Answer_Leaves_The_Rest_Of_The_Map)
{
    Calibration_Rig rig;
    rig.context->App_Settings.Save_Load_Data = false;
    rig.context->Pending_Request = 5;
    rig.Start_Polling();
    rig.Answer_Plain();
    ASSERT_EQ(rig.Last_Command(), 0x36);
    // Stale bytes of an earlier answer lie behind the short one.
    rig.Frames().Rx_Frame.fill(0x55);
    QByteArray full = Map_Answer({64, 64, 64, 64, 64, 64, 64, 64, 64}, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    QByteArray short_answer = full.left(20);   // points 0 and 1, checksum last
    short_answer[19] = char(Frame_Exchange::Checksum(reinterpret_cast<const quint8*>(short_answer.constData()), 19));
    rig.Answer(short_answer);
    EXPECT_EQ(rig.map.Factor[0], 5000);
    EXPECT_EQ(rig.map.Petrol_Time[1], 2);
    EXPECT_EQ(rig.map.Factor[2], 5000);       // bytes 16..17 arrived
    EXPECT_EQ(rig.map.Petrol_Time[2], 4000);  // bytes 18..19 did not: 19 is the checksum
    EXPECT_EQ(rig.map.Factor[3], 10000);
    EXPECT_EQ(rig.map.Petrol_Time[8], 25000);
}

TEST(Calibration_Owners, Write_Map_Request_Sends_The_Encoded_Map)
{
    Calibration_Rig rig;
    rig.context->App_Settings.Save_Load_Data = false;
    rig.map.Factor[1] = 5000;
    rig.map.Factor[2] = 13500;
    Calibration_Actions actions(*rig.context, rig.map);

    rig.Start_Polling();
    ASSERT_TRUE(actions.Transmit());
    EXPECT_EQ(rig.context->Pending_Request, 4);
    rig.Answer_Plain();   // live data; request 4: 65 26 43 ...
    ASSERT_EQ(rig.Last_Command(), 0x23);
    EXPECT_EQ(rig.requests.back(), QByteArray::fromHex("1D23003979"));
    rig.Answer_Plain();   // acknowledgement of the announcement
    ASSERT_EQ(rig.Last_Command(), 0x3C);
    const QByteArray frame = rig.requests.back();
    ASSERT_EQ(frame.size(), 57);
    EXPECT_EQ(quint8(frame[0]), 0x1D);
    EXPECT_EQ(frame.mid(2, 54), rig.map.Map_Payload());
    EXPECT_EQ(quint8(frame[56]), Frame_Exchange::Checksum(reinterpret_cast<const quint8*>(frame.constData()), 56));
    EXPECT_EQ(rig.Frames().Rx_Expected, 3);
    // point 1: slope 128 -> 64 over 2 ms, raw 64, petrol 2000; point 2: raw 172
    EXPECT_EQ(frame.mid(8, 6), QByteArray::fromHex("180440 00D007").replace(' ', ""));
    EXPECT_EQ(quint8(frame[16]), 172);
}

TEST(Calibration_Owners, Map_Sizes_The_Sequencer)
{
    Calibration_Rig rig;
    EXPECT_EQ(rig.seq->Map_Last_Point, 8);
    EXPECT_TRUE(rig.seq->Command_Owners.count(55));
    EXPECT_TRUE(rig.seq->Payload_Owners.count(0x3C));
    EXPECT_EQ(rig.seq->Payload_Owners[0x3C]().size(), 54);
}

TEST(Calibration_Actions, Receive_And_Transmit_Post_Their_Requests)
{
    struct Case
    {
        bool connected;
        bool save_load_data;
        int receive;
        int transmit;
    };
    for (const Case c : {Case{true, true, 3, 2}, Case{true, false, 5, 4}, Case{false, true, 0, 0},
                         Case{false, false, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << c.connected << c.save_load_data);
        Calibration_Rig rig;
        rig.context->ECU_Connected = c.connected;
        rig.context->App_Settings.Save_Load_Data = c.save_load_data;
        Calibration_Actions actions(*rig.context, rig.map);
        EXPECT_EQ(actions.Receive(), c.connected);
        EXPECT_EQ(rig.context->Pending_Request, c.receive);
        rig.context->Pending_Request = 0;
        EXPECT_EQ(actions.Transmit(), c.connected);
        EXPECT_EQ(rig.context->Pending_Request, c.transmit);
    }
}

TEST(Calibration_Actions, Default_Resets_The_Map_And_Redraws)
{
    Calibration_Rig rig;
    Calibration_Actions actions(*rig.context, rig.map);
    std::vector<QString> calls;
    actions.Clear_Selection = [&]() { calls.push_back("clear " + QString::number(rig.map.Factor[4])); };
    actions.Redraw_Graph = [&]() { calls.push_back("redraw " + QString::number(rig.map.Factor[4])); };
    rig.map.Factor[4] = 777;
    rig.map.Petrol_Time[4] = 9500;
    actions.Default();
    EXPECT_EQ(rig.map.Factor, Calibration_Map().Factor);
    EXPECT_EQ(rig.map.Petrol_Time, Calibration_Map().Petrol_Time);
    EXPECT_EQ(calls, (std::vector<QString>{"clear 777", "redraw 10000"}));
    rig.context->ECU_Connected = false;   // works offline too
    rig.map.Factor[0] = 1;
    actions.Default();
    EXPECT_EQ(rig.map.Factor[0], 10000);
}

TEST(Calibration_Actions, Save_And_Load_Go_Through_The_Configuration_File)
{
    Calibration_Rig rig;
    Calibration_Actions actions(*rig.context, rig.map);
    EXPECT_FALSE(actions.Save());
    EXPECT_FALSE(actions.Load());
    int saves = 0, redraws = 0;
    bool loaded = false;
    actions.Save_Configuration = [&]() { ++saves; };
    actions.Load_Configuration = [&]() { return loaded; };
    actions.Redraw_Graph = [&]() { ++redraws; };
    EXPECT_TRUE(actions.Save());
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(actions.Load());   // cancelled: nothing to redraw
    EXPECT_EQ(redraws, 0);
    loaded = true;
    EXPECT_TRUE(actions.Load());
    EXPECT_EQ(redraws, 1);
}

} // namespace
