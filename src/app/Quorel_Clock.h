#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
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
    QElapsedTimer elapsed_;
    Handle next_handle_ = 1;
    QHash<Handle, QObject*> pending_;
};

class Virtual_Clock : public Quorel_Clock
{
public:
    qint64 Now_Ms() const override { return now_; }
    Handle Call_At(qint64 due_ms, Callback fn) override;
    void Cancel(Handle handle) override;

    // Moves time forward by delta_ms, running every callback that falls due,
    // in order of due time (and of scheduling for equal times).
    void Advance(qint64 delta_ms);
    void Advance_To(qint64 target_ms);
    // Advances in 1 ms steps until pred() holds or limit_ms has passed.
    // Returns whether pred() held.
    bool Advance_Until(const std::function<bool()>& pred, qint64 limit_ms);
    bool Has_Pending() const { return !queue_.empty(); }

private:
    struct Key
    {
        qint64 due;
        Handle seq;
        bool operator<(const Key& o) const { return due != o.due ? due < o.due : seq < o.seq; }
    };
    qint64 now_ = 0;
    Handle next_handle_ = 1;
    std::map<Key, Callback> queue_;
    std::map<Handle, Key> keys_;
};
