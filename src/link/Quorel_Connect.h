#pragma once

#include <functional>

class Quorel_Context;

// Reacts to the port opening, closing and getting lost, and keeps the
// port and connection panels up to date.
class Link_Supervisor
{
public:
    explicit Link_Supervisor(Quorel_Context& context);

    void ComPortAfterOpen();
    void ComPortAfterClose();
    void Port_Lost();
    void Declare_Disconnected();
    // Starts the dialogue on a fresh port: the identification request goes
    // out after "Reply_Delay".
    void Load_Connection_List();
    void Start_Port_Search();

    // Set by the main window.
    std::function<void(bool)> Enable_ECU_Controls;

private:
    Quorel_Context& context_;
};
