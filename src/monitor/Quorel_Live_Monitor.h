#pragma once

#include "monitor/Quorel_Dashboard.h"
#include "monitor/Quorel_Status_Handling.h"
#include "monitor/Quorel_Status_Messages.h"

#include <functional>

class Quorel_Context;

// The live monitoring behind the General and Errors pages: the status
// message list, the status and error handling and the dashboard, plugged
// into the live-data decoder's consumers and the sequencer's status hooks.
class Live_Monitor
{
public:
    explicit Live_Monitor(Quorel_Context& context);

    // Service requests of the Errors page; both only queue while the link is up.
    void Button_ERR_ClearClick();
    void Button_ERR_Change_FreqClick();
    // Copies what the decoding reads from the configuration record.
    void Config_To_Decoder();

    // Processor clock the ECU reported, 0 before the first answer.
    int CPU_Freq_MHz() const { return cpu_freq_; }
    void Reset_CPU_Freq();

    QuorelMSG_Class Messages;
    Status_Handling Status;
    Dashboard Board;

    // Page displays; each decides itself whether its page is visible.
    std::function<void()> On_Page_Display;
    std::function<void()> On_Errors_Changed;
    std::function<void()> On_CPU_Freq_Changed;
    // The ECU reported its RPM sensitivity threshold set.
    std::function<void()> On_Threshold_Set;

private:
    Quorel_Context& context_;
    int cpu_freq_ = 0;
    QString lambda_type_;
};
