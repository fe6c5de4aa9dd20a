#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// One lambda strip chart: the last 150 sample positions in image
// coordinates, with the vertical scale of the lambda type.
class Lambda_Chart
{
public:
    static constexpr int History = 150;

    // Scale code of a lambda type name ("0 - 1 V" 5, "0 - 5 V +" 1,
    // "0,8 - 1,6 V" 3); unknown names take the first type's code.
    static int Scale_Code(const QString& lambda_type);

    // Clears the history and recomputes scale and step for an image of
    // width x height pixels.
    void Reset(int width, int height, int scale_code);
    // Adds a lambda voltage (0.01 V).
    void Sample(int lambda);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Index() const { return index_; }
    int Entry(int k) const { return entries_[size_t(k)]; }
    // x of entry k on the image: 0 for the first, trunc((k + 1) * step) after.
    int X(int k) const;
    double Scale() const { return scale_; }
    double Step() const { return step_; }

private:
    int width_ = 0;
    int height_ = 0;
    double scale_ = 0;
    double step_ = 0;
    int index_ = 0;
    std::array<int, History> entries_{};
};
