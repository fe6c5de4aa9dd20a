#pragma once

#include <functional>

class Calibration_Map;
class Quorel_Context;

// The Calibration tab's buttons and hot keys (R, T, S, L, D) without their
// widgets.
class Calibration_Actions
{
public:
    // Requests posted for the sequencer's dispatch.
    static constexpr int Request_Write_Configuration = 2;
    static constexpr int Request_Read_Configuration = 3;
    static constexpr int Request_Write_Map = 4;
    static constexpr int Request_Read_Map = 5;

    Calibration_Actions(Quorel_Context& context, Calibration_Map& map);

    // Entry points of the configuration file and of the graph editor; unset
    // hooks do nothing.
    std::function<void()> Save_Configuration;   // the Configuration tab's Save
    std::function<bool()> Load_Configuration;   // the Configuration tab's Load; true when a file was loaded
    std::function<void()> Clear_Selection;
    std::function<void()> Redraw_Graph;

    // Each returns whether it did anything.
    bool Receive();
    bool Transmit();
    bool Save();
    bool Load();
    void Default();

private:
    Quorel_Context& context_;
    Calibration_Map& map_;
};
