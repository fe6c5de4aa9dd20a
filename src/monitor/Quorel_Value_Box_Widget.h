#pragma once

#include <QWidget>

// A number panel of the injector rows: bold text centred in a lowered
// bevel. Its font size is its own (the rows set it by their count), so the
// window's rescale leaves it alone.
class Value_Box_Widget : public QWidget
{
    Q_OBJECT
public:
    explicit Value_Box_Widget(QWidget* parent = nullptr);

    void Set_Text(const QString& text);
    const QString& Text() const { return text_; }
    void Set_Pixel_Size(int pixels);
    int Pixel_Size() const { return pixel_size_; }
    // Whether the text fits inside the bevel at the current size.
    bool Text_Fits() const;

Q_SIGNALS:
    void Pressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QFont Box_Font() const;

    QString text_;
    int pixel_size_ = 16;
};
