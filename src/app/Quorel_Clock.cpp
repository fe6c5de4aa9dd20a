#include "app/Quorel_Clock.h"

Quorel_Clock::Handle Clock_Queue::Add(qint64 due_ms, Quorel_Clock::Callback fn)
{
    const Quorel_Clock::Handle handle = next_handle_++;
    const Key key{due_ms, handle};
    queue_.emplace(key, std::move(fn));
    keys_.emplace(handle, key);
    return handle;
}

void Clock_Queue::Cancel(Quorel_Clock::Handle handle)
{
    auto it = keys_.find(handle);
    if (it == keys_.end())
        return;
    queue_.erase(it->second);
    keys_.erase(it);
}

bool Clock_Queue::Take_Due(qint64 now_ms, qint64& due_ms, Quorel_Clock::Callback& fn, Quorel_Clock::Handle before)
{
    if (queue_.empty() || queue_.begin()->first.due > now_ms)
        return false;
    if (before != 0 && queue_.begin()->first.seq >= before)
        return false;
    auto first = queue_.begin();
    due_ms = first->first.due;
    fn = std::move(first->second);
    keys_.erase(first->first.seq);
    queue_.erase(first);
    return true;
}

Real_Clock::Real_Clock(QObject* parent) : QObject(parent), timer_(new QTimer(this))
{
    elapsed_.start();
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this]() { Run_Due(); });
}

Real_Clock::~Real_Clock() = default;

qint64 Real_Clock::Now_Ms() const { return elapsed_.elapsed(); }

Quorel_Clock::Handle Real_Clock::Call_At(qint64 due_ms, Callback fn)
{
    const bool earlier = queue_.Empty() || due_ms < queue_.Earliest();
    const Handle handle = queue_.Add(due_ms, std::move(fn));
    if (earlier)
        Rearm();
    return handle;
}

void Real_Clock::Cancel(Handle handle)
{
    queue_.Cancel(handle);
    // A timer left set for a cancelled callback only wakes Run_Due early.
}

void Real_Clock::Run_Due()
{
    // What callbacks schedule for now runs in the next round of the event
    // loop, so a chain of them cannot starve it.
    running_ = true;
    const Handle before = queue_.Next_Handle();
    const qint64 now = Now_Ms();
    qint64 due = 0;
    Callback fn;
    while (queue_.Take_Due(now, due, fn, before))
        fn();
    running_ = false;
    Rearm();
}

void Real_Clock::Rearm()
{
    if (running_)
        return;   // Run_Due sets the timer when it is done
    if (queue_.Empty()) {
        timer_->stop();
        return;
    }
    timer_->start(int(qBound(qint64(0), queue_.Earliest() - Now_Ms(), qint64(24 * 3600 * 1000))));
}

void Virtual_Clock::Advance_To(qint64 target_ms)
{
    qint64 due = 0;
    Callback fn;
    while (queue_.Take_Due(target_ms, due, fn)) {
        now_ = qMax(now_, due);
        fn();
    }
    now_ = qMax(now_, target_ms);
}

void Virtual_Clock::Advance(qint64 delta_ms) { Advance_To(now_ + delta_ms); }

bool Virtual_Clock::Advance_Until(const std::function<bool()>& pred, qint64 limit_ms)
{
    const qint64 end = now_ + limit_ms;
    while (!pred()) {
        if (now_ >= end)
            return false;
        Advance(1);
    }
    return true;
}
