#pragma once

#include <QColor>
#include <QString>

// What a status panel of the main window shows. The link layer owns these;
// the window only paints them.
struct Panel_State
{
    QString caption;
    QColor background;
    QColor text = QColor(0, 0, 0);
    bool visible = true;

    bool operator==(const Panel_State&) const = default;
};

namespace Panel_Colours {
inline const QColor Red{0xFF, 0x00, 0x00};
inline const QColor Lime{0x00, 0xFF, 0x00};
inline const QColor Blue{0x00, 0x00, 0xFF};
inline const QColor White{0xFF, 0xFF, 0xFF};
inline const QColor Black{0x00, 0x00, 0x00};
} // namespace Panel_Colours
