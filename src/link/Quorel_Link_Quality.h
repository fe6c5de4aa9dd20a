#pragma once

#include "app/Quorel_Status_Panels.h"

class Quorel_Context;

// The link-quality percentage: 100 on every accepted answer, then falling in
// steps so that it reaches 0 about when Timer_Connect declares the link lost.
// Drives Timer_Connect_Stabil (its handler is installed by the constructor);
// the frame exchange's Link_Quality_Answer hook is to call Link_Quality_Answer().
class Link_Quality
{
public:
    explicit Link_Quality(Quorel_Context& context);

    // Decay step in percent and tick interval in ms.
    struct Decay
    {
        int Step = 1;
        int Interval = 1;
        bool operator==(const Decay&) const = default;
    };
    // The step and interval for a loss time-out of timer_connect_ms and a reply
    // delay of reply_delay_ms. Always a step of 1 .. 100 and an interval of at
    // least the step, whatever the inputs.
    static Decay Decay_For(int timer_connect_ms, int reply_delay_ms);
    // Colours and caption of the percentage panel for a quality of 0 .. 100.
    static Panel_State Percent_Panel(int quality);

    void Link_Quality_Answer();
    void Timer_Connect_StabilTimer();

    int Quality() const { return quality_; }
    int Step() const { return step_; }

    // The boot-loader window's percentage panel, painted by that window.
    Panel_State Panel_Connect_Loader_PerCent{"0%", Panel_Colours::Red, Panel_Colours::White, true};

private:
    Quorel_Context& context_;
    int quality_ = 0;
    int step_ = 1;
    // The next tick is the first after an answer: it only sets the decay.
    bool first_tick_ = false;
};
