#pragma once

#include <QImage>
#include <QWidget>

class Lambda_Chart;

// Shows a lambda strip chart. The history is drawn into an off-screen
// picture; while the chart fills, a new sample repaints only its segment,
// once it scrolls the whole picture is copied.
class Strip_Chart_Widget : public QWidget
{
    Q_OBJECT
public:
    Strip_Chart_Widget(const Lambda_Chart& chart, QWidget* parent = nullptr);

    // The chart changed (sample or reset); value_text names the last value.
    void Chart_Changed(const QString& value_text);
    const QImage& Picture() const { return picture_; }
    QRect Last_Update() const { return last_update_; }

    static const QColor Line_Colour;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Redraw();
    QRect To_Widget(const QRect& picture_rect) const;

    const Lambda_Chart& chart_;
    QImage picture_;
    int drawn_index_ = -1;
    int drawn_last_entry_ = 0;
    QRect last_update_;
};
