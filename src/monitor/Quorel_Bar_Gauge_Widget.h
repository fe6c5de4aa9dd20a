#pragma once

#include <QColor>
#include <QWidget>

// A horizontal bar gauge: value over maximum in the fore colour on the back
// colour. A new value repaints only the strip between the old and the new
// bar end.
class Bar_Gauge_Widget : public QWidget
{
    Q_OBJECT
public:
    Bar_Gauge_Widget(const QColor& fore, const QColor& back, int maximum, QWidget* parent = nullptr);

    void Set_Value(int value);
    void Set_Maximum(int maximum);
    int Value() const { return value_; }
    int Maximum() const { return maximum_; }
    // Accessible name: what the bar stands for in words.
    void Set_Value_Text(const QString& text);
    // Width of the filled part in pixels for the current size.
    int Bar_End() const { return Bar_End_For(value_); }
    // The last region asked to repaint (for the paint discipline).
    QRect Last_Update() const { return last_update_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int Bar_End_For(int value) const;

    QColor fore_;
    QColor back_;
    int maximum_;
    int value_ = 0;
    QRect last_update_;
};
