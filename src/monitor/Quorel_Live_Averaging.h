#pragma once

#include <QtGlobal>

#include <array>

// Moving average of one injection time channel. While fewer than N values
// are stored, non-zero values are collected and shown as they are; after
// that the shown value is the mean of the N stored values before the new
// one, which then enters the window (so the average lags one sample).
class Averaging_Buffer
{
public:
    static constexpr int Capacity = 100;

    // Takes a new value with depth n (1..Capacity) and returns the value to
    // show.
    qint32 Step(qint32 value, int n);
    void Reset() { count_ = 0; }
    int Count() const { return count_; }

private:
    int count_ = 0;
    std::array<qint32, Capacity> slots_{};
};
