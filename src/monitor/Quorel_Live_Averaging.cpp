#include "monitor/Quorel_Live_Averaging.h"

qint32 Averaging_Buffer::Step(qint32 value, int n)
{
    n = qBound(1, n, Capacity);
    if (count_ < n) {
        if (value != 0)
            slots_[count_++] = value;
        return value;
    }
    qint64 sum = 0;
    for (int i = 0; i < n; ++i)
        sum += slots_[i];
    for (int i = 1; i < n; ++i)
        slots_[i - 1] = slots_[i];
    slots_[n - 1] = value;
    return qint32(sum / n);
}
