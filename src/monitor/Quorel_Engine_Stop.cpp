#include "monitor/Quorel_Engine_Stop.h"

#include "app/Quorel_Timer.h"

Engine_Stop_Detector::Engine_Stop_Detector(Quorel_Timer& timer_cut_off) : timer_(timer_cut_off)
{
    timer_.Set_Handler([this]() { timer_.Set_Enabled(false); });
}

void Engine_Stop_Detector::Restart()
{
    timer_.Set_Enabled(false);
    timer_.Set_Enabled(true);
}

bool Engine_Stop_Detector::Check(const Live_Data_Record::Injector_Times& petrol_time)
{
    if (timer_.Enabled()) {
        bool changed = false;
        for (int i = 0; i < 4; ++i)
            changed = changed || petrol_time[i] != remembered_[i];
        if (changed) {
            Restart();
            for (int i = 0; i < 4; ++i)
                remembered_[i] = petrol_time[i];
        }
        return false;
    }
    if (petrol_time[0] == remembered_[0])
        return true;
    remembered_[0] = petrol_time[0];
    Restart();
    return false;
}
