#include "Frame_Test_Support.h"

#include "app/Quorel_Context.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Command.h"
#include "link/Quorel_Port_Search.h"
#include "link/Quorel_Port_Search_Form.h"

#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

// ---------------------------------------------------------------- candidates

struct Candidate_Case
{
    const char* name;
    QStringList ports;
    QStringList previous;
    QString remembered;
    QStringList expected;
    QString expected_port_name;   // empty: no preferred port
};

TEST(Port_Search_Candidates, OrderAndRepetitions)
{
    const Candidate_Case cases[] = {
        {"new port P among A, B", {"A", "B", "P"}, {"A", "B"}, "A", {"P", "A", "P", "B"}, "P"},
        {"remembered COM4 of two", {"COM1", "COM4"}, {}, "COM4", {"COM4", "COM1"}, "COM4"},
        {"remembered COM4 of three", {"COM1", "COM3", "COM4"}, {}, "COM4", {"COM4", "COM1", "COM4", "COM3"}, "COM4"},
        {"remembered port absent", {"COM1", "COM3"}, {}, "COM4", {"COM1", "COM3"}, ""},
        {"nothing remembered", {"COM1", "COM3"}, {}, "", {"COM1", "COM3"}, ""},
        {"known ports only: remembered one not preferred", {"COM1", "COM4"}, {"COM1", "COM4"}, "COM4",
         {"COM1", "COM4"}, ""},
        {"single preferred port", {"ttyUSB0"}, {}, "ttyUSB0", {"ttyUSB0"}, "ttyUSB0"},
        {"two new ports: the last one is tried between", {"A", "N1", "N2"}, {"A"}, "", {"N2", "N1", "N2", "A"},
         "N2"},
        {"a vanished port is no reason to prefer", {"A"}, {"A", "B"}, "", {"A"}, ""},
    };
    for (const Candidate_Case& c : cases) {
        const Port_Order order = Order_Ports(c.ports, c.previous, c.remembered);
        EXPECT_EQ(order.preferred_found, !c.expected_port_name.isEmpty()) << c.name;
        EXPECT_EQ(order.preferred_port, c.expected_port_name) << c.name;
        const QString port_name = order.preferred_found ? order.preferred_port : QStringLiteral("unrelated");
        EXPECT_EQ(Build_Candidates(order.ordered, order.preferred_found, port_name), c.expected) << c.name;
    }
}

// ---------------------------------------------------------------- search rig

// A context on a virtual line whose device the selected candidate opens, with
// the machine's port list in `ports`, and the identification builder counting
// its tries the way the link supervision wires it.
struct Search_Rig
{
    QTemporaryDir dir;
    Virtual_Clock clock;
    Virtual_Serial_Port* port = nullptr;
    std::unique_ptr<Quorel_Context> context;
    std::unique_ptr<Scripted_Peer> peer;
    std::unique_ptr<Port_Search> search;

    QStringList ports;
    int enumerations = 0;
    QStringList opened;      // port name at every successful open
    QStringList frames_on;   // port name of every frame that reached the far end
    std::optional<bool> button_select_shown;
    std::optional<QString> edit_port_name;
    std::optional<bool> button_setup_enabled;

    Search_Rig()
    {
        auto line = std::make_unique<Virtual_Serial_Port>(clock);
        port = line.get();
        context = std::make_unique<Quorel_Context>(clock, std::move(line), dir.path(), "QuorelGAS");
        context->App_Settings.Settings_Create();
        auto present = [this](const QString& name) { return ports.contains(name); };
        context->Frames.hooks.Port_Present = present;
        search = std::make_unique<Port_Search>(
            *context,
            [this]() {
                ++enumerations;
                return ports;
            },
            present);
        context->Frames.hooks.Build_Identification = [this]() {
            search->Identification_Try();
            Build_Identification(context->Frames);
        };
        port->On_After_Open = [this]() {
            context->Supervisor->ComPortAfterOpen();   // builds the first request, counting a try
            if (context->Link_Open && !port->Port_Error())
                opened.append(port->Port());
        };
        peer = std::make_unique<Scripted_Peer>(clock, *port);
        peer->on_byte = [this](Scripted_Peer& p) {
            if (p.received.size() % 5 == 0)
                frames_on.append(p.line.Port());
        };
        search->Show_Button_Select_ComPort = [this](bool on) { button_select_shown = on; };
        search->Set_Edit_Port_Name = [this](const QString& text) { edit_port_name = text; };
        search->Enable_Button_Setup_Port = [this](bool on) { button_setup_enabled = on; };
    }

    ~Search_Rig()
    {
        search.reset();
        context.reset();
        peer.reset();
    }

    const Port_Search_Display& Display() const { return search->Display(); }
};

TEST(Port_Search, NoPortWaitsEnumeratingThenTriesThePortThatAppears)
{
    Search_Rig rig;
    rig.search->Start_Port_Search();

    const Quorel_Timer& timer = rig.search->Timer_Select_ComPort;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 100);
    EXPECT_EQ(rig.context->Panel_PortStatus.caption, Text("No_Port"));
    EXPECT_EQ(rig.context->Panel_PortStatus.background, Panel_Colours::Red);
    EXPECT_FALSE(rig.context->Panel_ProtokolStatus.visible);
    EXPECT_TRUE(rig.Display().Shown);
    EXPECT_TRUE(rig.Display().Panel_Port_Search_Visible);
    EXPECT_FALSE(rig.Display().Panel_Port_Visible);
    EXPECT_EQ(rig.Display().Label_Port_Search, Text("Search_Port"));
    EXPECT_EQ(rig.Display().Label_Port_Search_Colour, Port_Search::Searching_Colour);
    EXPECT_EQ(rig.Display().Panel_Port_Quantity, "0");
    EXPECT_EQ(rig.button_select_shown, true);
    EXPECT_EQ(rig.edit_port_name, QString());
    EXPECT_EQ(rig.button_setup_enabled, false);

    const int enumerations = rig.enumerations;
    const int frame = rig.Display().Image_Port_Wait_Frame;
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.enumerations - enumerations, 10) << "the machine is enumerated every 100 ms";
    EXPECT_EQ(rig.Display().Image_Port_Wait_Frame, (frame + 10) % Port_Search::Busy_Frames);
    EXPECT_EQ(rig.port->Open_Count(), 0);

    rig.ports = {"ttyUSB0"};
    rig.clock.Advance(100);
    EXPECT_EQ(rig.Display().Label_Port_Search, Text("Finds_Port"));
    EXPECT_EQ(rig.Display().Label_Port_Search_Colour, QColor(0x00, 0x80, 0x00));
    EXPECT_EQ(rig.Display().Memo_Ports_Name, QStringList{"ttyUSB0"});
    EXPECT_EQ(rig.Display().Panel_Port_Quantity, "1");
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_EQ(rig.button_setup_enabled, true);
    EXPECT_EQ(rig.port->Open_Count(), 0) << "the found port is tried on the next tick";
    const int frame_found = rig.Display().Image_Port_Wait_Frame;

    rig.clock.Advance(999);
    EXPECT_EQ(rig.port->Open_Count(), 0);
    rig.clock.Advance(1);
    EXPECT_EQ(rig.port->Port(), "ttyUSB0");
    EXPECT_TRUE(rig.context->Link_Open);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_TRUE(rig.Display().Panel_Port_Visible);
    EXPECT_FALSE(rig.Display().Panel_Port_Search_Visible);
    EXPECT_EQ(rig.Display().Panel_Port_Name, "ttyUSB0");
    EXPECT_EQ(rig.Display().Label_Port_Number, "1");
    EXPECT_EQ(rig.Display().ProgressBar_Port_Max, 1);
    EXPECT_EQ(rig.Display().ProgressBar_Port_Position, 1);
    EXPECT_EQ(rig.Display().Image_Port_Wait_Frame, frame_found) << "no busy picture once ports exist";
    EXPECT_EQ(rig.context->Panel_PortStatus.caption, "ttyUSB0");
    EXPECT_EQ(rig.context->Panel_PortStatus.background, Panel_Colours::Lime);
    EXPECT_EQ(rig.edit_port_name, "ttyUSB0");
    EXPECT_EQ(rig.context->App_Settings.Port_Name, "ttyUSB0");
}

TEST(Port_Search, TwoUnansweredTriesThenTheNextCandidateThenAFreshRound)
{
    Search_Rig rig;
    rig.ports = {"ttyS0", "ttyS1"};
    rig.search->Start_Port_Search();
    EXPECT_EQ(rig.search->Candidates(), (QStringList{"ttyS0", "ttyS1"}));
    EXPECT_EQ(rig.port->Port(), "ttyS0");
    EXPECT_EQ(rig.search->Identification_Tries(), 1);
    EXPECT_EQ(rig.search->Candidate_Index(), 0);

    // The second build counts up; the third moves on.
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.search->Identification_Tries() == 2; }, 1000));
    EXPECT_EQ(rig.port->Port(), "ttyS0");
    const qint64 second_try = rig.clock.Now_Ms();
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.port->Port() == "ttyS1"; }, 2000));
    EXPECT_GE(rig.clock.Now_Ms() - second_try, 500) << "an unanswered request has its full answer time";
    EXPECT_EQ(rig.frames_on.count("ttyS0"), 1);
    EXPECT_EQ(rig.search->Identification_Tries(), 1);
    EXPECT_EQ(rig.search->Candidate_Index(), 1);
    EXPECT_EQ(rig.Display().Label_Port_Number, "2");
    EXPECT_EQ(rig.Display().Panel_Port_Name, "ttyS1");
    EXPECT_EQ(rig.Display().ProgressBar_Port_Position, 2);
    EXPECT_EQ(rig.edit_port_name, "ttyS1");
    EXPECT_TRUE(rig.context->Link_Open);

    // ttyS1 unanswered as well: no candidate left, the search starts over
    // with a fresh enumeration a second later.
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.search->Timer_Select_ComPort.Enabled(); }, 2000));
    EXPECT_EQ(rig.search->Timer_Select_ComPort.Interval(), 1000);
    EXPECT_TRUE(rig.Display().Panel_Port_Name.isEmpty());
    EXPECT_TRUE(rig.Display().Label_Port_Number.isEmpty());
    EXPECT_EQ(rig.Display().ProgressBar_Port_Position, 0);
    const int enumerations = rig.enumerations;
    rig.clock.Advance(999);
    EXPECT_EQ(rig.enumerations, enumerations);
    rig.clock.Advance(1);
    EXPECT_EQ(rig.enumerations, enumerations + 1);
    EXPECT_EQ(rig.port->Port(), "ttyS0");
    EXPECT_EQ(rig.search->Candidate_Index(), 0);
}

TEST(Port_Search, NoCandidateLeftRestartsInOneSecondWithEmptyPortPanel)
{
    Search_Rig rig;
    rig.ports = {"ttyS0"};
    rig.search->Start_Port_Search();
    ASSERT_TRUE(rig.context->Link_Open);
    ASSERT_EQ(rig.context->Panel_PortStatus.caption, "ttyS0");

    rig.search->Try_Next_Candidate();
    EXPECT_FALSE(rig.context->Link_Open);
    EXPECT_TRUE(rig.context->Panel_PortStatus.caption.isEmpty());
    EXPECT_EQ(rig.edit_port_name, QString());
    EXPECT_EQ(rig.search->Identification_Tries(), 0);
    EXPECT_TRUE(rig.search->Timer_Select_ComPort.Enabled());
    EXPECT_EQ(rig.search->Timer_Select_ComPort.Interval(), 1000);

    const int enumerations = rig.enumerations;
    rig.clock.Advance(999);
    EXPECT_EQ(rig.enumerations, enumerations);
    rig.clock.Advance(1);
    EXPECT_EQ(rig.enumerations, enumerations + 1);
    EXPECT_EQ(rig.search->Candidate_Index(), 0);
}

TEST(Port_Search, NewlyAppearedAdapterIsTriedFirstAndBetweenAllOthers)
{
    Search_Rig rig;
    rig.context->App_Settings.Preferred_Port = "ttyS1";
    rig.ports = {"ttyS0", "ttyS1"};
    rig.search->Start_Port_Search();
    EXPECT_EQ(rig.search->Candidates(), (QStringList{"ttyS1", "ttyS0"})) << "first search: the remembered port";

    rig.ports = {"ttyS0", "ttyS1", "ttyUSB0"};
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.search->Candidates().value(0) == "ttyUSB0"; }, 5000));
    EXPECT_EQ(rig.search->Candidates(), (QStringList{"ttyUSB0", "ttyS0", "ttyUSB0", "ttyS1"}));
    EXPECT_EQ(rig.search->Preferred_Port(), "ttyUSB0");
    EXPECT_EQ(rig.Display().Memo_Ports_Name, rig.ports);
    EXPECT_EQ(rig.Display().Panel_Port_Quantity, "3");
    EXPECT_EQ(rig.Display().ProgressBar_Port_Max, 4);

    const qsizetype first = rig.opened.size() - 1;
    ASSERT_EQ(rig.opened.value(first), "ttyUSB0");
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.opened.size() >= first + 4; }, 5000));
    EXPECT_EQ(rig.opened.mid(first, 4), rig.search->Candidates());

    // Known from now on: the next round keeps the machine's order.
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.search->Candidate_Count() == 3; }, 5000));
    EXPECT_EQ(rig.search->Candidates(), rig.ports);
}

TEST(Port_Search, CandidateThatWillNotOpenDoesNotStopTheRound)
{
    Search_Rig rig;
    rig.port->Set_Device_Name("ttyS1");   // ttyS0 is listed but held elsewhere
    rig.port->Set_Port_Error();           // left over from an earlier port
    rig.ports = {"ttyS0", "ttyS1"};
    rig.search->Start_Port_Search();
    EXPECT_EQ(rig.port->Port(), "ttyS1");
    EXPECT_TRUE(rig.context->Link_Open);
    EXPECT_FALSE(rig.port->Port_Error());
    EXPECT_EQ(rig.search->Candidate_Index(), 1);
    EXPECT_EQ(rig.Display().Label_Port_Number, "2");
    EXPECT_FALSE(rig.search->Timer_Select_ComPort.Enabled());
    rig.clock.Advance(70);
    EXPECT_EQ(rig.frames_on, QStringList{"ttyS1"});
}

TEST(Port_Search, ClosedWindowStopsTheSearchAndTheTryCount)
{
    Search_Rig rig;
    int close_requests = 0;
    rig.search->Close_Window = [&]() { ++close_requests; };
    rig.ports = {"ttyS0", "ttyS1"};
    rig.search->Start_Port_Search();
    ASSERT_TRUE(rig.search->Search_Window_Shown());

    rig.search->Close_Search_Window();
    EXPECT_EQ(close_requests, 1);
    EXPECT_FALSE(rig.search->Search_Window_Shown());
    EXPECT_FALSE(rig.search->Timer_Select_ComPort.Enabled());

    // A connected ECU keeps its port: the builder no longer moves on.
    for (int i = 0; i < 5; ++i)
        rig.search->Identification_Try();
    EXPECT_EQ(rig.port->Port(), "ttyS0");
    EXPECT_EQ(rig.search->Candidate_Index(), 0);
    rig.clock.Advance(3000);
    EXPECT_EQ(rig.port->Port(), "ttyS0");
}

// ---------------------------------------------------------------- window

TEST(Port_Search_Form, ShowsTheSearchAndClosingStopsIt)
{
    Search_Rig rig;
    TForm_Port form(*rig.search);
    EXPECT_EQ(form.windowTitle(), "Search COM ports");
    EXPECT_FALSE(form.isVisible());

    rig.search->Start_Port_Search();   // no port yet
    ASSERT_TRUE(form.isVisible());
    auto* label = form.findChild<QLabel*>("Label_Port_Search");
    auto* panel_search = form.findChild<QWidget*>("Panel_Port_Search");
    auto* panel_port = form.findChild<QWidget*>("Panel_Port");
    auto* wait = form.findChild<QWidget*>("Image_Port_Wait");
    ASSERT_TRUE(label && panel_search && panel_port && wait);
    EXPECT_EQ(label->text(), Text("Search_Port"));
    EXPECT_EQ(label->accessibleName(), Text("Search_Port"));
    EXPECT_TRUE(panel_search->isVisible());
    EXPECT_FALSE(panel_port->isVisible());

    // The busy picture turns with the timer.
    const QImage before = wait->grab().toImage();
    rig.clock.Advance(100);
    EXPECT_NE(wait->grab().toImage(), before);

    rig.ports = {"ttyS0", "ttyS1"};
    rig.clock.Advance(100);
    EXPECT_EQ(label->text(), Text("Finds_Port"));
    rig.clock.Advance(1000);
    EXPECT_TRUE(panel_port->isVisible());
    EXPECT_FALSE(panel_search->isVisible());
    auto* memo = form.findChild<QPlainTextEdit*>("Memo_Ports_Name");
    auto* quantity = form.findChild<QLabel*>("Panel_Port_Quantity");
    auto* name = form.findChild<QLabel*>("Panel_Port_Name");
    auto* number = form.findChild<QLabel*>("Label_Port_Number");
    auto* progress = form.findChild<QProgressBar*>("ProgressBar_Port");
    ASSERT_TRUE(memo && quantity && name && number && progress);
    EXPECT_EQ(memo->toPlainText(), "ttyS0\nttyS1");
    EXPECT_EQ(quantity->text(), "2");
    EXPECT_EQ(name->text(), "ttyS0");
    EXPECT_EQ(name->accessibleName(), "ttyS0");
    EXPECT_EQ(number->text(), "1");
    EXPECT_EQ(progress->maximum(), 2);
    EXPECT_EQ(progress->value(), 1);

    form.close();
    EXPECT_FALSE(rig.search->Search_Window_Shown());
    EXPECT_FALSE(rig.search->Timer_Select_ComPort.Enabled());

    // Declaring the connection closes a shown window.
    rig.search->Start_Port_Search();
    ASSERT_TRUE(form.isVisible());
    rig.search->Close_Search_Window();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(rig.search->Search_Window_Shown());
}

} // namespace
