#include "app/Quorel_Timer.h"

Quorel_Timer::Quorel_Timer(Quorel_Clock& clock, const QString& name, int interval_ms, bool enabled,
                           QObject* parent)
    : QObject(parent), clock_(clock), interval_(interval_ms)
{
    setObjectName(name);
    Set_Enabled(enabled);
}

Quorel_Timer::~Quorel_Timer() { Disarm(); }

void Quorel_Timer::Set_Enabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    if (on)
        Arm();
    else
        Disarm();
}

void Quorel_Timer::Set_Interval(int interval_ms)
{
    if (interval_ms == interval_)
        return;
    interval_ = interval_ms;
    if (enabled_) {
        Disarm();
        Arm();
    }
}

void Quorel_Timer::Arm()
{
    if (interval_ <= 0)
        return;
    due_ = clock_.Now_Ms() + interval_;
    armed_ = true;
    handle_ = clock_.Call_At(due_, [this]() { Fire(); });
}

void Quorel_Timer::Disarm()
{
    if (armed_)
        clock_.Cancel(handle_);
    armed_ = false;
}

void Quorel_Timer::Fire()
{
    armed_ = false;
    if (!enabled_)
        return;
    Arm(); // next period; the handler may switch off or re-time it
    if (handler_)
        handler_();
}
