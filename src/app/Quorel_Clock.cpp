#include "app/Quorel_Clock.h"

#include <QTimer>

Real_Clock::Real_Clock(QObject* parent) : QObject(parent) { elapsed_.start(); }

Real_Clock::~Real_Clock()
{
    for (QObject* t : std::as_const(pending_))
        delete t;
}

qint64 Real_Clock::Now_Ms() const { return elapsed_.elapsed(); }

Quorel_Clock::Handle Real_Clock::Call_At(qint64 due_ms, Callback fn)
{
    const Handle handle = next_handle_++;
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [this, handle, timer, fn = std::move(fn)]() {
        pending_.remove(handle);
        timer->deleteLater();
        fn();
    });
    pending_.insert(handle, timer);
    timer->start(int(qMax<qint64>(0, due_ms - Now_Ms())));
    return handle;
}

void Real_Clock::Cancel(Handle handle)
{
    if (QObject* t = pending_.take(handle)) {
        static_cast<QTimer*>(t)->stop();
        t->deleteLater();
    }
}

Quorel_Clock::Handle Virtual_Clock::Call_At(qint64 due_ms, Callback fn)
{
    const Handle handle = next_handle_++;
    const Key key{qMax(due_ms, now_), handle};
    queue_.emplace(key, std::move(fn));
    keys_.emplace(handle, key);
    return handle;
}

void Virtual_Clock::Cancel(Handle handle)
{
    auto it = keys_.find(handle);
    if (it == keys_.end())
        return;
    queue_.erase(it->second);
    keys_.erase(it);
}

void Virtual_Clock::Advance_To(qint64 target_ms)
{
    while (!queue_.empty() && queue_.begin()->first.due <= target_ms) {
        auto first = queue_.begin();
        now_ = qMax(now_, first->first.due);
        Callback fn = std::move(first->second);
        keys_.erase(first->first.seq);
        queue_.erase(first);
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
