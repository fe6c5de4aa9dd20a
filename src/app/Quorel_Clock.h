#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QtGlobal>

#include <functional>
#include <map>

// The time source of everything that waits. The real clock runs on Qt's
// event loop; the virtual clock only moves when a test advances it.
class Quorel_Clock
{
public:
    using Callback = std::function<void()>;
    using Handle = quint64;

    virtual ~Quorel_Clock() = default;
    virtual qint64 Now_Ms() const = 0;
    // Calls fn once at due_ms (or as soon as possible when that has passed).
    virtual Handle Call_At(qint64 due_ms, Callback fn) = 0;
    virtual void Cancel(Handle handle) = 0;

    Handle Call_After(qint64 delay_ms, Callback fn) { return Call_At(Now_Ms() + delay_ms, std::move(fn)); }
};

// Callbacks ordered by due time, then by order of scheduling.
class Clock_Queue
{
public:
    Quorel_Clock::Handle Add(qint64 due_ms, Quorel_Clock::Callback fn);
    void Cancel(Quorel_Clock::Handle handle);
    bool Empty() const { return queue_.empty(); }
    qint64 Earliest() const { return queue_.begin()->first.due; }
    // Takes the earliest callback if it is due at or before now_ms and was
    // scheduled before handle `before` (0: any).
    bool Take_Due(qint64 now_ms, qint64& due_ms, Quorel_Clock::Callback& fn, Quorel_Clock::Handle before = 0);
    Quorel_Clock::Handle Next_Handle() const { return next_handle_; }

private:
    struct Key
    {
        qint64 due;
        Quorel_Clock::Handle seq;
        bool operator<(const Key& o) const { return due != o.due ? due < o.due : seq < o.seq; }
    };
    Quorel_Clock::Handle next_handle_ = 1;
    std::map<Key, Quorel_Clock::Callback> queue_;
    std::map<Quorel_Clock::Handle, Key> keys_;
};

// One Qt timer, always set for the earliest callback.
class Real_Clock : public QObject, public Quorel_Clock
{
    Q_OBJECT
public:
    explicit Real_Clock(QObject* parent = nullptr);
    ~Real_Clock() override;
    qint64 Now_Ms() const override;
    Handle Call_At(qint64 due_ms, Callback fn) override;
    void Cancel(Handle handle) override;

private:
    void Run_Due();
    void Rearm();

    QElapsedTimer elapsed_;
    Clock_Queue queue_;
    QTimer* timer_;
    bool running_ = false;
};

class Virtual_Clock : public Quorel_Clock
{
public:
    qint64 Now_Ms() const override { return now_; }
    Handle Call_At(qint64 due_ms, Callback fn) override { return queue_.Add(qMax(due_ms, now_), std::move(fn)); }
    void Cancel(Handle handle) override { queue_.Cancel(handle); }

    // Moves time forward by delta_ms, running every callback that falls due,
    // in order of due time (and of scheduling for equal times).
    void Advance(qint64 delta_ms);
    void Advance_To(qint64 target_ms);
    // Advances in 1 ms steps until pred() holds or limit_ms has passed.
    // Returns whether pred() held.
    bool Advance_Until(const std::function<bool()>& pred, qint64 limit_ms);
    bool Has_Pending() const { return !queue_.Empty(); }

private:
    qint64 now_ = 0;
    Clock_Queue queue_;
};
