#pragma once

#include <QColor>
#include <QWidget>

#include <array>

// One round lamp of the driver's switch-panel mimic. It repaints only when
// its colour changes.
class Led_Widget : public QWidget
{
    Q_OBJECT
public:
    Led_Widget(const QString& lamp_name, QWidget* parent = nullptr);

    // Returns whether the colour changed (and a repaint was asked for).
    bool Set_Lit(bool lit, const QColor& colour);
    bool Lit() const { return lit_; }
    const QColor& Colour() const { return colour_; }
    int Repaints_Asked() const { return repaints_asked_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString lamp_name_;
    QColor colour_{192, 192, 192};
    bool lit_ = false;
    int repaints_asked_ = 0;
};

inline constexpr std::array<const char*, 7> Led_Names = {"Image_CFG_Red",    "Image_CFG_Green1", "Image_CFG_Green2",
                                                         "Image_CFG_Green3", "Image_CFG_Green4", "Image_CFG_Green5",
                                                         "Image_CFG_Yellow"};

// The seven lamps Image_CFG_Red, Image_CFG_Green1..5, Image_CFG_Yellow in a
// row from origin, each size x size pixels, in the order of Dashboard::Led.
std::array<Led_Widget*, 7> Build_Led_Mimic(QWidget* parent, QPoint origin, int size);
