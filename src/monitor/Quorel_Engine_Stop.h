#pragma once

#include "monitor/Quorel_Live_Data.h"

#include <array>

class Quorel_Timer;

// The ECU keeps sending the last injection times after the engine stops.
// Timer_Cut_Off (2000 ms, running from program start, switching itself
// off when it fires) restarts whenever a petrol time of injectors 1..4
// changes; once it has run out with injector 1 unchanged, the engine counts
// as stopped.
class Engine_Stop_Detector
{
public:
    explicit Engine_Stop_Detector(Quorel_Timer& timer_cut_off);

    // Returns whether the engine counts as stopped for this sample.
    bool Check(const Live_Data_Record::Injector_Times& petrol_time);

private:
    void Restart();

    Quorel_Timer& timer_;
    std::array<qint32, 4> remembered_{};
};
