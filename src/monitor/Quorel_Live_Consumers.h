#pragma once

#include <QtGlobal>

#include <array>
#include <functional>

// Where a decoded live-data sample goes. Each entry is filled by the part
// that owns the consumer; the decoder counts the calls of entries that are
// still empty. All of them read Live_Data for anything beyond their
// arguments, and each decides itself whether it is active (dialog open,
// recording running, page visible).
struct Live_Consumers
{
    enum Id {
        CPU_Freq_Display,        // CPU_Freq_MHz changed or refreshed
        Work_Mode_Display,       // Work_Mode became 1, 2 or 4
        Injector_Buttons,        // on gas: Gas_Mask sets the buttons
        Level_Mode_Display,      // level type "SOFTWARE": byte 57 and 0xF0
        Status_Handling,         // compares Status with Status_Prev, then stores it
        Error_Handling,
        Info_Line,
        Short_Pulse_Check,       // each petrol time read
        Gas_Mean_Button,         // the "*" button, on gas
        Auto_Calibration_Sample,
        Recording_Sample,
        Lambda_Charts,           // only called while Lambda_ON
        Priming_Display,
        Page_Display,            // the visible page shows its values
        Indicator_Windows,
        Correction_Grids,        // active cells follow Petrol_Mean, PressInject, Power
        RPM_Dialog,
        Wizard_RPM,
        Count
    };

    std::function<void(int cpu_freq_mhz)> On_CPU_Freq;
    std::function<void(int work_mode)> On_Work_Mode;
    std::function<void(int gas_mask)> On_Injector_Buttons;
    std::function<void(int level_mode)> On_Level_Mode;
    // When empty, the decoder stores Status in Status_Prev itself.
    std::function<void(int status)> On_Status;
    std::function<void(int errors)> On_Errors;
    std::function<void(int info_flags, int info_value)> On_Info;
    std::function<void(int injector, int petrol_time)> On_Short_Pulse_Check;   // injector 1..8
    std::function<void()> On_Gas_Mean_Button;
    std::function<void(int petrol_mean)> On_Auto_Calibration_Sample;
    std::function<void()> On_Recording_Sample;
    std::function<void()> On_Lambda_Charts;
    std::function<void()> On_Priming_Display;
    std::function<void()> On_Page_Display;
    std::function<void()> On_Indicator_Windows;
    std::function<void()> On_Correction_Grids;
    std::function<void(int rpm)> On_RPM_Dialog;
    std::function<void(int rpm)> On_Wizard_RPM;

    // Calls made while the entry was empty.
    std::array<quint64, Count> Unset_Calls{};

    template <class Fn, class... Args>
    void Call(Id id, const Fn& fn, Args... args)
    {
        if (fn)
            fn(args...);
        else
            ++Unset_Calls[id];
    }
};
