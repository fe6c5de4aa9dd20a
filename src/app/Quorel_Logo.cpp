#include "app/Quorel_Logo.h"

#include <QPainter>
#include <QPainterPath>

QImage Built_In_Logo(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // Ring
    painter.setPen(QPen(QColor(0x00, 0x3C, 0x8C), s * 0.08));
    painter.setBrush(QColor(0xFF, 0xFF, 0xFF));
    painter.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    // Flame
    QPainterPath flame;
    flame.moveTo(s * 0.50, s * 0.18);
    flame.cubicTo(s * 0.74, s * 0.42, s * 0.74, s * 0.62, s * 0.64, s * 0.74);
    flame.cubicTo(s * 0.58, s * 0.82, s * 0.42, s * 0.82, s * 0.36, s * 0.74);
    flame.cubicTo(s * 0.26, s * 0.62, s * 0.30, s * 0.46, s * 0.50, s * 0.18);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x00, 0x78, 0xD7));
    painter.drawPath(flame);
    QPainterPath core;
    core.moveTo(s * 0.50, s * 0.44);
    core.cubicTo(s * 0.62, s * 0.58, s * 0.60, s * 0.70, s * 0.50, s * 0.74);
    core.cubicTo(s * 0.40, s * 0.70, s * 0.40, s * 0.58, s * 0.50, s * 0.44);
    painter.setBrush(QColor(0x7F, 0xD8, 0xFF));
    painter.drawPath(core);
    painter.end();
    return image;
}
