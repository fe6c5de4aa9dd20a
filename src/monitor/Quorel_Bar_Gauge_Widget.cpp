#include "monitor/Quorel_Bar_Gauge_Widget.h"

#include <QPainter>
#include <QPaintEvent>

Bar_Gauge_Widget::Bar_Gauge_Widget(const QColor& fore, const QColor& back, int maximum, QWidget* parent)
    : QWidget(parent), fore_(fore), back_(back), maximum_(maximum)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("0"));
}

int Bar_Gauge_Widget::Bar_End_For(int value) const
{
    const int inner = qMax(0, width() - 2);
    if (maximum_ <= 0 || value <= 0)
        return 0;
    return int(qint64(qMin(value, maximum_)) * inner / maximum_);
}

void Bar_Gauge_Widget::Set_Value(int value)
{
    if (value == value_)
        return;
    const int old_end = Bar_End_For(value_);
    value_ = value;
    const int new_end = Bar_End_For(value_);
    if (old_end == new_end)
        return;
    const int left = 1 + qMin(old_end, new_end);
    last_update_ = QRect(left, 1, qAbs(new_end - old_end), qMax(0, height() - 2));
    update(last_update_);
}

void Bar_Gauge_Widget::Set_Maximum(int maximum)
{
    if (maximum == maximum_)
        return;
    maximum_ = maximum;
    last_update_ = rect();
    update();
}

void Bar_Gauge_Widget::Set_Value_Text(const QString& text)
{
    if (accessibleName() != text)
        setAccessibleName(text);
}

void Bar_Gauge_Widget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int end = Bar_End();
    painter.fillRect(QRect(inner.left(), inner.top(), end, inner.height()), fore_);
    painter.fillRect(QRect(inner.left() + end, inner.top(), inner.width() - end, inner.height()), back_);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
