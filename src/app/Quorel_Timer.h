#pragma once

#include "app/Quorel_Clock.h"

#include <QObject>

#include <functional>

// A periodic timer with the semantics the program relies on: switching a
// running timer on again keeps its count; switching it off and on restarts
// the count; a different interval restarts the count, the same one does not.
// An interval of 0 never fires.
class Quorel_Timer : public QObject
{
    Q_OBJECT
public:
    Quorel_Timer(Quorel_Clock& clock, const QString& name, int interval_ms, bool enabled,
                 QObject* parent = nullptr);
    ~Quorel_Timer() override;

    void Set_Handler(std::function<void()> handler) { handler_ = std::move(handler); }

    bool Enabled() const { return enabled_; }
    void Set_Enabled(bool on);
    int Interval() const { return interval_; }
    void Set_Interval(int interval_ms);
    // Time of the next firing on the clock, or -1 when none is due.
    qint64 Next_Due() const { return armed_ ? due_ : -1; }

private:
    void Arm();
    void Disarm();
    void Fire();

    Quorel_Clock& clock_;
    std::function<void()> handler_;
    int interval_;
    bool enabled_ = false;
    bool armed_ = false;
    qint64 due_ = 0;
    Quorel_Clock::Handle handle_ = 0;
};
