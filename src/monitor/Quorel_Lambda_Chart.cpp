#include "monitor/Quorel_Lambda_Chart.h"

#include "config/Quorel_Option_Lists.h"


int Lambda_Chart::Scale_Code(const QString& lambda_type)
{
    for (const Lambda_Type_Box_Class& entry : Lambda_Type_List)
        if (lambda_type == QLatin1String(entry.Name))
            return entry.Scale;
    return Lambda_Type_List[0].Scale;
}

void Lambda_Chart::Reset(int width, int height, int scale_code)
{
    width_ = width;
    height_ = height;
    const int code = scale_code > 0 ? scale_code : Lambda_Type_List[0].Scale;
    scale_ = double(height - 4) / double(500 / code);
    step_ = double(width) / History;
    index_ = 0;
    entries_.fill(height - 2);   // lambda 0
}

void Lambda_Chart::Sample(int lambda)
{
    if (index_ + 1 >= History) {
        index_ = History - 1;
        for (int k = 0; k + 1 < History; ++k)
            entries_[size_t(k)] = entries_[size_t(k) + 1];
    } else {
        ++index_;
    }
    entries_[size_t(index_)] = height_ - int(lambda * scale_) - 2;
}

int Lambda_Chart::X(int k) const { return k == 0 ? 0 : int((k + 1) * step_); }
