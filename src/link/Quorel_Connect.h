#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Quorel_Context;

// Decides when the program is connected to an ECU: reacts to the port
// opening, closing and getting lost, declares the connection made
// (instruction 71) and lost (5 s without an accepted answer), and keeps
// the port and connection panels up to date. Installs the handlers of
// Timer_Connect and Timer_Check_Tx.
class Link_Supervisor
{
public:
    explicit Link_Supervisor(Quorel_Context& context);
    ~Link_Supervisor();
    Link_Supervisor(const Link_Supervisor&) = delete;
    Link_Supervisor& operator=(const Link_Supervisor&) = delete;

    void ComPortAfterOpen();
    void ComPortAfterClose();
    void Port_Lost();
    void Declare_Connected();
    void Declare_Disconnected();
    void Timer_ConnectTimer();
    void Timer_Check_TxTimer();
    // Starts the dialogue on a fresh port: the identification request goes
    // out after "Reply_Delay".
    void Load_Connection_List();
    void Start_Port_Search();

    // The request a loss of connection interrupted: what the message says.
    // Empty when the loss needs no message.
    static QString Loss_Message_Key(quint8 last_command);

    // Set by the main window and the modules behind these steps; unset hooks
    // do nothing.
    std::function<void(bool)> Enable_ECU_Controls;
    struct Hooks
    {
        std::function<void()> Clear_Status_Messages;   // empty the list, hide Panel_ErrorStatus
        std::function<void()> Connected_Display;       // main window after a connection is declared
        std::function<void()> Disconnected_Display;    // main window after the link went down
        std::function<void()> Stop_Auto_Calibration;   // if one was running
        std::function<void()> Reset_Live_Data;         // live-data state and the pump display
        std::function<void()> Disconnected_Tools;      // auto-calibration prompt, RPM dialogs, wizard
        std::function<void()> Clear_Car_Number_Flag;   // condition 203
        std::function<void()> Leave_Loader_Mode;
        std::function<void()> Loader_Connection_Lost;  // shows the loader disconnected, sends its query
        std::function<void()> Loader_Transfer_Lost;    // closes the firmware file, gauge to 0
        std::function<void()> Build_Loader_Query;      // identification request in loader mode
    };
    Hooks hooks;

    // Ports refused for lack of permission whose message was shown.
    const QStringList& Denied_Ports_Told() const { return denied_told_; }

private:
    void Port_Denied();
    void Build_Identification_Request();
    void Connection_Loss_Reactions(quint8 last_class, quint8 last_command);

    Quorel_Context& context_;
    QStringList denied_told_;
};
