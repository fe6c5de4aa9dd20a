#include "monitor/Quorel_Value_Box_Widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

Value_Box_Widget::Value_Box_Widget(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QString());
}

QFont Value_Box_Widget::Box_Font() const
{
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(qMax(1, pixel_size_));
    return f;
}

void Value_Box_Widget::Set_Text(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    setAccessibleName(text);
    update();
}

void Value_Box_Widget::Set_Pixel_Size(int pixels)
{
    if (pixels == pixel_size_)
        return;
    pixel_size_ = pixels;
    update();
}

bool Value_Box_Widget::Text_Fits() const
{
    const QFontMetrics metrics(Box_Font());
    return metrics.horizontalAdvance(text_) <= width() - 4 && metrics.height() <= height() + 2;
}

void Value_Box_Widget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = 1;
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    painter.fillRect(rect(), palette().color(QPalette::Window));
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    painter.setFont(Box_Font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignCenter, text_);
}

void Value_Box_Widget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT Pressed();
    QWidget::mousePressEvent(event);
}
