#pragma once

#include <functional>

// What the hot keys of the main window start in the modules that own the
// tabs. An empty entry does nothing.
struct Hot_Key_Actions
{
    // Z X C V B N M , : injector 0..7 toggled; A / numpad *: all injectors
    std::function<void(int)> Gas_Fors;
    std::function<void()> Gas_Fors_All;

    // Configuration tab (1)
    std::function<void()> CFG_Defaults, CFG_Load, CFG_Save, CFG_Receive, CFG_Transmit;
    std::function<void(int)> CFG_Option_Scroll;   // -1 up, +1 down

    // Calibration tab (2)
    std::function<void()> CLB_Defaults, CLB_Load, CLB_Save, CLB_Receive, CLB_Transmit;
    std::function<void(int, int)> CLB_Move_Point;  // dx, dy: arrows
    std::function<void()> CLB_Release_Point;       // Esc
    std::function<void(int)> CLB_Select_Point;     // 0 .. 8
    std::function<void(bool)> CLB_Point_Mode_P;    // P pressed / released
    std::function<void()> CLB_Point_Mode_O;

    // Oscilloscope (3) and AutoCalibration (4): S after the button toggled
    std::function<void()> OSC_StartStop, ACB_StartStop;

    // Whether a cell of the correction-factor grid is being edited.
    std::function<bool()> Grid_Cell_Editing;
};
