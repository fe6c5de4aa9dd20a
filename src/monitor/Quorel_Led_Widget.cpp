#include "monitor/Quorel_Led_Widget.h"

#include "language/Quorel_Text.h"

#include <QPainter>

Led_Widget::Led_Widget(const QString& lamp_name, QWidget* parent) : QWidget(parent), lamp_name_(lamp_name)
{
    setAccessibleName(lamp_name_ + ' ' + Text("Off"));
}

bool Led_Widget::Set_Lit(bool lit, const QColor& colour)
{
    lit_ = lit;
    if (colour == colour_)
        return false;
    colour_ = colour;
    setAccessibleName(lamp_name_ + ' ' + (lit ? Text("On") : Text("Off")));
    ++repaints_asked_;
    update();
    return true;
}

void Led_Widget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.setBrush(colour_);
    const int d = qMin(width(), height()) - 2;
    painter.drawEllipse(QRect((width() - d) / 2, (height() - d) / 2, d, d));
}

std::array<Led_Widget*, 7> Build_Led_Mimic(QWidget* parent, QPoint origin, int size)
{
    static const char* const lamps[7] = {"Red", "Green 1", "Green 2", "Green 3", "Green 4", "Green 5", "Yellow"};
    std::array<Led_Widget*, 7> leds{};
    for (int i = 0; i < 7; ++i) {
        leds[size_t(i)] = new Led_Widget(QLatin1String(lamps[i]), parent);
        leds[size_t(i)]->setObjectName(QLatin1String(Led_Names[size_t(i)]));
        leds[size_t(i)]->setGeometry(origin.x() + i * (size + 4), origin.y(), size, size);
    }
    return leds;
}
