#include "link/Quorel_Connect.h"

#include "app/Quorel_Context.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Command.h"
#include "link/Quorel_Sequencer.h"

Link_Supervisor::Link_Supervisor(Quorel_Context& context) : context_(context)
{
    Serial_Port& port = *context_.ComPort;
    port.On_After_Open = [this]() { ComPortAfterOpen(); };
    port.On_After_Close = [this]() { ComPortAfterClose(); };
    context_.Frames.hooks.Port_Lost = [this]() { Port_Lost(); };
    context_.Frames.hooks.Build_Identification = [this]() { Build_Identification(context_.Frames); };
}

void Link_Supervisor::ComPortAfterOpen()
{
    if (!context_.ComPort->Port_Is_Open()) {
        ComPortAfterClose();
        return;
    }
    Declare_Disconnected();
    context_.Link_Open = true;
    context_.Panel_PortStatus.caption = context_.ComPort->Port();
    context_.Panel_PortStatus.background = Panel_Colours::Lime;
    context_.Panel_PortStatus.text = Panel_Colours::Blue;
    context_.Panels_Changed();
    Load_Connection_List();
}

void Link_Supervisor::ComPortAfterClose()
{
    context_.Link_Open = false;
    Declare_Disconnected();
    context_.Timer_Check_Tx.Set_Enabled(false);
    context_.Timer_Connect.Set_Enabled(false);
    context_.Timer_Sending.Set_Enabled(true);
}

void Link_Supervisor::Port_Lost()
{
    ComPortAfterClose();
    Load_Connection_List();
    context_.Timer_Connect_Stabil.Set_Enabled(false);
}

void Link_Supervisor::Declare_Disconnected()
{
    context_.ECU_Connected = false;
    context_.Timer_Connect.Set_Enabled(false);
    context_.Panel_ConnectStatus.caption = Text("Not_Connect");
    context_.Panel_ConnectStatus.background = Panel_Colours::Red;
    context_.Panel_ConnectStatus.text = Panel_Colours::White;
    context_.Panel_PortStatus.caption = context_.App_Settings.Port_Name;
    context_.Panel_ConnectStatus_PerCent.background = Panel_Colours::Red;
    context_.Panel_ConnectStatus_PerCent.text = Panel_Colours::White;
    context_.Panel_ConnectStatus_PerCent.caption = "0%";
    context_.Panel_ProtokolStatus.visible = false;
    context_.Pending_Request = 0;
    if (Enable_ECU_Controls)
        Enable_ECU_Controls(false);
    context_.Panels_Changed();
}

void Link_Supervisor::Load_Connection_List() { context_.Sequence->Load_Connection_List(); }

void Link_Supervisor::Start_Port_Search()
{
    // The search over all ports arrives with the connection supervision;
    // until then the configured port is tried.
    Load_Connection_List();
}
