#include "link/Quorel_Port_Search.h"

#include "app/Quorel_Context.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Serial.h"

Port_Order Order_Ports(const QStringList& ports, const QStringList& previous, const QString& remembered_port)
{
    Port_Order order;
    order.ordered.reserve(ports.size());
    for (const QString& port : ports) {
        // With a previous search, a port it did not know has just appeared
        // (a USB adapter plugged in); on a first search, the remembered one.
        const bool preferred = previous.isEmpty() ? (!remembered_port.isEmpty() && port == remembered_port)
                                                  : !previous.contains(port);
        if (preferred) {
            order.ordered.prepend(port);
            order.preferred_found = true;
            order.preferred_port = port;
        } else {
            order.ordered.append(port);
        }
    }
    return order;
}

QStringList Build_Candidates(const QStringList& ordered, bool preferred_found, const QString& port_name)
{
    qsizetype count = ordered.size();
    if (preferred_found && count > 1)
        count = (count - 1) * 2;
    QStringList candidates;
    candidates.reserve(count);
    for (qsizetype i = 0; i < ordered.size() && candidates.size() < count; ++i) {
        candidates.append(ordered[i]);
        if (candidates.size() < count && preferred_found && ordered[i] != port_name && i + 1 < ordered.size())
            candidates.append(port_name);
    }
    return candidates;
}

Port_Search::Port_Search(Quorel_Context& context, Port_Lister list, Port_Tester present)
    : Timer_Select_ComPort(context.Clock, QStringLiteral("Timer_Select_ComPort"), 500, false),
      context_(context),
      list_(list ? std::move(list) : Port_Lister([]() { return List_Serial_Ports(); })),
      present_(present ? std::move(present) : Port_Tester([](const QString& name) { return Port_Present(name); }))
{
    Timer_Select_ComPort.Set_Handler([this]() { Timer_Select_ComPortTimer(); });
}

Port_Search::~Port_Search() { Timer_Select_ComPort.Set_Enabled(false); }

QString Port_Search::Remembered_Port() const { return context_.App_Settings.Preferred_Port; }

void Port_Search::Changed() { Call(Display_Changed); }

void Port_Search::Start_Port_Search()
{
    // Without any port this runs every 100 ms: the display is only touched
    // (and its watchers only told) when something changed.
    const Port_Search_Display before = display_;
    Settings_Class& settings = context_.App_Settings;

    const QStringList ports = list_();
    const int base = candidate_count_;
    ports_present_ = !ports.isEmpty();
    candidate_count_ = 0;
    if (!display_.Memo_Ports_Name.isEmpty())
        display_.Memo_Ports_Name.clear();

    if (ports_present_) {
        const Port_Order order =
            Order_Ports(ports, base > 0 ? candidates_.mid(0, base) : QStringList(), Remembered_Port());
        display_.Memo_Ports_Name = ports;
        if (order.preferred_found) {
            preferred_port_ = order.preferred_port;
            settings.Port_Name = order.preferred_port;
        }

        Timer_Select_ComPort.Set_Enabled(false);
        Call(Enable_Button_Setup_Port, true);

        candidates_ = Build_Candidates(order.ordered, order.preferred_found, settings.Port_Name);
        candidate_count_ = int(candidates_.size());
        display_.Panel_Port_Quantity = QString::number(ports.size());
        display_.ProgressBar_Port_Max = candidate_count_;
        display_.ProgressBar_Port_Position = 0;
        candidate_index_ = -1;
        Show_Search_Window();

        if (Timer_Select_ComPort.Interval() == Wait_For_Port_Ms) {
            // A port has appeared after waiting for one: say so, try it a
            // second later.
            display_.Label_Port_Search = Text(QStringLiteral("Finds_Port"));
            display_.Label_Port_Search_Colour = Found_Colour;
            Timer_Select_ComPort.Set_Interval(Retry_Ms);
            Timer_Select_ComPort.Set_Enabled(true);
            Changed();
            return;
        }
        display_.Panel_Port_Visible = true;
        display_.Panel_Port_Search_Visible = false;
        Changed();
        Try_Next_Candidate();
        return;
    }

    if (display_.Panel_Port_Quantity != QLatin1String("0"))
        display_.Panel_Port_Quantity = QStringLiteral("0");
    if (!display_.Panel_Port_Search_Visible || display_.Label_Port_Search_Colour == Found_Colour) {
        display_.Panel_Port_Visible = false;
        display_.Panel_Port_Search_Visible = true;
        Timer_Select_ComPort.Set_Interval(Wait_For_Port_Ms);
        Timer_Select_ComPort.Set_Enabled(true);
        display_.Label_Port_Search = Text(QStringLiteral("Search_Port"));
        display_.Label_Port_Search_Colour = Searching_Colour;
        Show_Search_Window();

        context_.Panel_PortStatus.caption = Text(QStringLiteral("No_Port"));
        context_.Panel_PortStatus.background = Panel_Colours::Red;
        context_.Panel_PortStatus.text = Panel_Colours::Black;
        context_.Panel_ProtokolStatus.visible = false;
        context_.Panels_Changed();
        Call(Show_Button_Select_ComPort, true);
        Call(Set_Edit_Port_Name, QString());
        Call(Enable_Button_Setup_Port, false);
    }
    if (!(display_ == before))
        Changed();
}

bool Port_Search::Open_Candidate(const QString& name)
{
    Serial_Port& port = *context_.ComPort;
    port.Port_Close();
    port.Set_Port(name);
    // An error left by an earlier candidate would fail this one too.
    port.Clear_Port_Error();
    // The tries count on this candidate alone, from its first request.
    identification_tries_ = 0;
    port.Port_Open();   // its After_Open handler sets Link_Open and starts identification
    if (context_.Link_Open && !port.Port_Error())
        return true;
    context_.Link_Open = false;
    return false;
}

void Port_Search::Try_Next_Candidate()
{
    identification_tries_ = 0;
    if (candidate_count_ == 0)
        return;
    context_.Link_Open = false;

    Settings_Class& settings = context_.App_Settings;
    bool opened = false;
    // A candidate that is gone or will not open (held by another program)
    // does not end the round: the next one is tried at once.
    while (!opened && candidate_index_ < candidate_count_ - 1) {
        ++candidate_index_;
        const QString name = candidates_[candidate_index_];
        settings.Port_Name = name;
        display_.Label_Port_Number = QString::number(candidate_index_ + 1);
        display_.Panel_Port_Name = name;
        display_.ProgressBar_Port_Position = candidate_index_ + 1;
        Changed();
        Call(Set_Edit_Port_Name, name);
        if (present_(name))
            opened = Open_Candidate(name);
    }
    if (opened)
        return;

    // Nothing answered: a fresh enumeration in a second.
    display_.Panel_Port_Name.clear();
    display_.Label_Port_Number.clear();
    display_.ProgressBar_Port_Position = 0;
    Timer_Select_ComPort.Set_Interval(Retry_Ms);
    Timer_Select_ComPort.Set_Enabled(true);
    context_.Panel_PortStatus.caption.clear();
    context_.Panels_Changed();
    Call(Set_Edit_Port_Name, QString());
    Changed();
}

void Port_Search::Timer_Select_ComPortTimer()
{
    if (!ports_present_) {
        display_.Image_Port_Wait_Frame = (display_.Image_Port_Wait_Frame + 1) % Busy_Frames;
        Changed();
    }
    Start_Port_Search();
}

void Port_Search::Identification_Try()
{
    if (!display_.Shown)
        return;
    if (identification_tries_ < 2) {
        ++identification_tries_;
        return;
    }
    Try_Next_Candidate();
}

void Port_Search::Show_Search_Window()
{
    if (display_.Shown)
        return;
    display_.Shown = true;
    Call(Show_Window);
}

void Port_Search::FormShow()
{
    if (display_.Shown)
        return;
    display_.Shown = true;
    Changed();
}

void Port_Search::FormClose()
{
    Timer_Select_ComPort.Set_Enabled(false);
    if (!display_.Shown)
        return;
    display_.Shown = false;
    Changed();
}

void Port_Search::Close_Search_Window()
{
    if (display_.Shown)
        Call(Close_Window);
    FormClose();
}
