#include "monitor/Quorel_Strip_Chart_Widget.h"

#include "monitor/Quorel_Lambda_Chart.h"

#include <QPainter>
#include <QPaintEvent>

const QColor Strip_Chart_Widget::Line_Colour{128, 0, 128};

Strip_Chart_Widget::Strip_Chart_Widget(const Lambda_Chart& chart, QWidget* parent) : QWidget(parent), chart_(chart)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    Redraw();
}

void Strip_Chart_Widget::Redraw()
{
    const QSize size(qMax(1, chart_.Width()), qMax(1, chart_.Height()));
    picture_ = QImage(size, QImage::Format_RGB32);
    picture_.fill(palette().color(QPalette::Window));
    QPainter painter(&picture_);
    painter.setPen(QPen(Line_Colour, 2, Qt::SolidLine));
    QPoint last(0, chart_.Entry(0));
    for (int k = 1; k <= chart_.Index(); ++k) {
        const QPoint next(chart_.X(k), chart_.Entry(k));
        painter.drawLine(last, next);
        last = next;
    }
}

void Strip_Chart_Widget::Chart_Changed(const QString& value_text)
{
    const int index = chart_.Index();
    const bool one_more = index == drawn_index_ + 1 && index > 0 && picture_.size() == QSize(chart_.Width(), chart_.Height());
    if (one_more) {
        // Only the new segment: the rest of the picture is unchanged.
        QPainter painter(&picture_);
        painter.setPen(QPen(Line_Colour, 2, Qt::SolidLine));
        const QPoint from(chart_.X(index - 1), drawn_last_entry_);
        const QPoint to(chart_.X(index), chart_.Entry(index));
        painter.drawLine(from, to);
        last_update_ = To_Widget(QRect(from, to).normalized().adjusted(-2, -2, 2, 2));
        update(last_update_);
    } else {
        Redraw();
        last_update_ = rect();
        update();
    }
    drawn_index_ = index;
    drawn_last_entry_ = chart_.Entry(index);
    if (accessibleName() != value_text)
        setAccessibleName(value_text);
}

QRect Strip_Chart_Widget::To_Widget(const QRect& picture_rect) const
{
    if (size() == picture_.size())
        return picture_rect;
    // The window was rescaled: the picture keeps its size and is stretched.
    const double sx = double(width()) / picture_.width(), sy = double(height()) / picture_.height();
    return QRectF(picture_rect.x() * sx, picture_rect.y() * sy, picture_rect.width() * sx, picture_rect.height() * sy)
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

void Strip_Chart_Widget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (size() == picture_.size()) {
        for (const QRect& r : event->region())
            painter.drawImage(r.topLeft(), picture_, r);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture_);
    }
}
