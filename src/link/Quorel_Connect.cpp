#include "link/Quorel_Connect.h"

#include "app/Quorel_Context.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Command.h"
#include "link/Quorel_Link_Quality.h"
#include "link/Quorel_Message.h"
#include "link/Quorel_Port_Permission.h"
#include "link/Quorel_Port_Search.h"
#include "link/Quorel_Sequencer.h"
#include "link/Quorel_Serial_Qt.h"

namespace {

constexpr int Declare_Connected_Code = 71;

template <typename F, typename... A> void Call(const F& f, A&&... a)
{
    if (f)
        f(std::forward<A>(a)...);
}

} // namespace

Link_Supervisor::Link_Supervisor(Quorel_Context& context) : context_(context)
{
    Serial_Port& port = *context_.ComPort;
    port.On_After_Open = [this]() { ComPortAfterOpen(); };
    port.On_After_Close = [this]() { ComPortAfterClose(); };
    context_.Frames.hooks.Port_Lost = [this]() { Port_Lost(); };
    context_.Frames.hooks.Build_Identification = [this]() { Build_Identification_Request(); };
    context_.Timer_Connect.Set_Handler([this]() { Timer_ConnectTimer(); });
    context_.Timer_Check_Tx.Set_Handler([this]() { Timer_Check_TxTimer(); });
    context_.Sequence->Command_Owners[Declare_Connected_Code] = [this]() { Declare_Connected(); };
}

Link_Supervisor::~Link_Supervisor()
{
    context_.Timer_Connect.Set_Handler(nullptr);
    context_.Timer_Check_Tx.Set_Handler(nullptr);
    if (context_.Sequence)
        context_.Sequence->Command_Owners.erase(Declare_Connected_Code);
}

void Link_Supervisor::Build_Identification_Request()
{
    if (context_.Loader_Mode && hooks.Build_Loader_Query) {
        hooks.Build_Loader_Query();
        return;
    }
    if (context_.Search) {
        // The third unanswered try moves the search on to the next
        // candidate, whose opening has built its own request.
        const int candidate = context_.Search->Candidate_Index();
        context_.Search->Identification_Try();
        if (context_.Search->Candidate_Index() != candidate)
            return;
    }
    Build_Identification(context_.Frames);
}

void Link_Supervisor::ComPortAfterOpen()
{
    Serial_Port& port = *context_.ComPort;
    if (!port.Port_Is_Open()) {
        ComPortAfterClose();
        return;
    }
    if (port.Port_Error() && port.Open_Denied()) {
        Port_Denied();
        return;
    }
    Declare_Disconnected();
    context_.Link_Open = true;
    context_.Panel_PortStatus.caption = port.Port();
    context_.Panel_PortStatus.background = Panel_Colours::Lime;
    context_.Panel_PortStatus.text = Panel_Colours::Blue;
    context_.Panels_Changed();
    Call(hooks.Clear_Status_Messages);
    Load_Connection_List();
}

void Link_Supervisor::Port_Denied()
{
    // The device is there, so the port is not reported as absent: the panel
    // says why it stays closed and the message names the fix, once a port.
    ComPortAfterClose();
    const QString name = context_.ComPort->Port();
    context_.Panel_PortStatus.caption = Port_Denied_Caption(name);
    context_.Panel_PortStatus.background = Panel_Colours::Red;
    context_.Panel_PortStatus.text = Panel_Colours::White;
    context_.Panels_Changed();
    if (denied_told_.contains(name))
        return;
    denied_told_.append(name);
    const QString path = Qt_Serial_Port::Device_Path(name);
    context_.Messages->Show_Message(Message_Window::Kind_Text, Port_Denied_Message(name, path, Device_Group(path)),
                                    Message_Window::Colour_Red);
}

void Link_Supervisor::ComPortAfterClose()
{
    context_.Link_Open = false;
    Declare_Disconnected();
    context_.Timer_Check_Tx.Set_Enabled(false);
    context_.Timer_Connect.Set_Enabled(false);
    // The send timer's reopen rule brings the port back when it is present.
    context_.Timer_Sending.Set_Enabled(true);
}

void Link_Supervisor::Port_Lost()
{
    ComPortAfterClose();
    if (context_.Loader_Mode)
        Call(hooks.Leave_Loader_Mode);
    if (!(context_.Search && context_.Search->Search_Window_Shown()))
        Load_Connection_List();
    context_.Timer_Connect_Stabil.Set_Enabled(false);
    if (context_.App_Settings.Search_Port && context_.Search)
        context_.Search->Timer_Select_ComPort.Set_Enabled(true);
}

void Link_Supervisor::Declare_Connected()
{
    if (context_.Search)
        context_.Search->Close_Search_Window();
    context_.Timer_Check_Tx.Set_Enabled(true);
    context_.ECU_Connected = true;
    context_.Timer_Connect.Set_Enabled(true);

    context_.Panel_ConnectStatus.caption = context_.Identification.ECU_Model_Name;
    context_.Panel_ConnectStatus.background = Panel_Colours::Lime;
    context_.Panel_ConnectStatus.text = Panel_Colours::Blue;
    context_.Panel_ConnectStatus_PerCent.background = Panel_Colours::Lime;
    context_.Panel_ConnectStatus_PerCent.text = Panel_Colours::Blue;
    context_.Panel_ProtokolStatus.visible = true;
    context_.Panels_Changed();

    Call(hooks.Stop_Auto_Calibration);
    Call(hooks.Connected_Display);
}

void Link_Supervisor::Declare_Disconnected()
{
    context_.ECU_Connected = false;
    Call(hooks.Reset_Live_Data);
    context_.Timer_Connect.Set_Enabled(false);

    context_.Panel_ConnectStatus.caption = Text("Not_Connect");
    context_.Panel_ConnectStatus.background = Panel_Colours::Red;
    context_.Panel_ConnectStatus.text = Panel_Colours::White;
    context_.Panel_PortStatus.caption = context_.App_Settings.Port_Name;
    context_.Panel_ConnectStatus_PerCent.background = Panel_Colours::Red;
    context_.Panel_ConnectStatus_PerCent.text = Panel_Colours::White;
    context_.Panel_ConnectStatus_PerCent.caption = QStringLiteral("0%");
    context_.Panel_ProtokolStatus.visible = false;

    Call(Enable_ECU_Controls, false);
    context_.Pending_Request = 0;
    if (!context_.Loader_Mode)
        Call(hooks.Clear_Car_Number_Flag);
    context_.Panels_Changed();
    Call(hooks.Disconnected_Tools);
    Call(hooks.Disconnected_Display);
}

void Link_Supervisor::Timer_ConnectTimer()
{
    // 5 s without a run of the sequencer, i.e. without an accepted answer.
    const quint8 last_class = context_.Frames.Sent_Frame[0];
    const quint8 last_command = context_.Frames.Sent_Frame[1];
    context_.Timer_Sending.Set_Enabled(false);
    context_.Pending_Request = 0;
    if (context_.ECU_Connected) {
        ComPortAfterOpen();
    } else if (context_.Loader_Mode) {
        Call(hooks.Loader_Connection_Lost);
    } else {
        Load_Connection_List();
    }
    Connection_Loss_Reactions(last_class, last_command);
}

QString Link_Supervisor::Loss_Message_Key(quint8 last_command)
{
    if (last_command == 0x30 || (last_command >= 0x32 && last_command <= 0x37))
        return QStringLiteral("Error_CFG_Receiv");
    if ((last_command >= 0x38 && last_command <= 0x3D) || (last_command >= 0x41 && last_command <= 0x75))
        return QStringLiteral("Error_CFG_Transmitt");
    return QString();
}

void Link_Supervisor::Connection_Loss_Reactions(quint8 last_class, quint8 last_command)
{
    // At every loss: a first loss during polling must not hide the
    // message of a later one during a configuration transfer.
    if (context_.Loader_Mode) {
        Call(hooks.Loader_Transfer_Lost);
        return;
    }
    if (last_class != Frame_Exchange::Class_ECU)
        return;
    const QString key = Loss_Message_Key(last_command);
    if (!key.isEmpty())
        context_.Messages->Show_Message(Message_Window::Kind_Key, key, Message_Window::Colour_Red);
}

void Link_Supervisor::Timer_Check_TxTimer()
{
    if (!context_.Timer_Sending.Enabled())
        context_.Timer_Sending.Set_Enabled(true);
    if (!context_.Timer_Connect.Enabled())
        context_.Timer_Connect.Set_Enabled(true);
}

void Link_Supervisor::Load_Connection_List() { context_.Sequence->Load_Connection_List(); }

void Link_Supervisor::Start_Port_Search()
{
    if (context_.Search)
        context_.Search->Start_Port_Search();
}
