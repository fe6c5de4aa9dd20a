#include "app/Quorel_Text_Colour_Widget.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

void Set_Text_Colour(QWidget* widget, const QColor& colour)
{
    const QWidget* parent = widget->parentWidget();
    const QColor shown = colour.isValid() ? colour
                         : parent         ? parent->palette().color(QPalette::WindowText)
                                          : QApplication::palette().color(QPalette::WindowText);
    QPalette palette = widget->palette();
    if (palette.color(QPalette::WindowText) == shown)
        return;
    palette.setColor(QPalette::WindowText, shown);
    widget->setPalette(palette);
}
