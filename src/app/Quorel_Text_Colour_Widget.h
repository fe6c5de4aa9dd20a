#pragma once

#include <QColor>

class QWidget;

// Text colour of a label or panel through its palette, so the font the
// window scaling gives it stays its own; an invalid colour returns to the
// colour of its parent.
void Set_Text_Colour(QWidget* widget, const QColor& colour);
