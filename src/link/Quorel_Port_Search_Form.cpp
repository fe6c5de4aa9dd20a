#include "link/Quorel_Port_Search_Form.h"

#include "language/Quorel_Apply_Texts.h"
#include "link/Quorel_Port_Search.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QVBoxLayout>

#include <cmath>

// A ring of dots, the brightest one moving on by one dot per frame.
class Port_Wait_Picture : public QWidget
{
public:
    explicit Port_Wait_Picture(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Image_Port_Wait"));
        setFixedSize(48, 48);
    }

    void Set_Frame(int frame)
    {
        if (frame == frame_)
            return;
        frame_ = frame;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), palette().window());
        const int count = Port_Search::Busy_Frames;
        const QPointF centre(width() / 2.0, height() / 2.0);
        const double radius = std::min(width(), height()) / 2.0 - 6.0;
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < count; ++i) {
            const double angle = 2.0 * M_PI * i / count - M_PI / 2.0;
            // Dots fade behind the leading one.
            const int age = (frame_ - i + count) % count;
            QColor colour(0x00, 0x00, 0xFF);
            colour.setAlpha(255 - age * 200 / count);
            painter.setBrush(colour);
            const QPointF dot(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
            const double size = age == 0 ? 4.5 : 3.5;
            painter.drawEllipse(dot, size, size);
        }
    }

private:
    int frame_ = 0;
};

namespace {

QLabel* Make_Panel_Label(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(60);
    return label;
}

void Set_Shown_Text(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

} // namespace

TForm_Port::TForm_Port(Port_Search& search, QWidget* parent) : QDialog(parent), search_(search)
{
    setObjectName(QStringLiteral("Form_Port"));
    setModal(false);

    auto* layout = new QVBoxLayout(this);

    Panel_Port_Search = new QFrame(this);
    Panel_Port_Search->setObjectName(QStringLiteral("Panel_Port_Search"));
    Panel_Port_Search->setFrameShape(QFrame::StyledPanel);
    auto* search_layout = new QHBoxLayout(Panel_Port_Search);
    Image_Port_Wait = new Port_Wait_Picture(Panel_Port_Search);
    Label_Port_Search = new QLabel(Panel_Port_Search);
    Label_Port_Search->setObjectName(QStringLiteral("Label_Port_Search"));
    QFont big = Label_Port_Search->font();
    big.setPointSize(14);
    big.setBold(true);
    Label_Port_Search->setFont(big);
    search_layout->addWidget(Image_Port_Wait);
    search_layout->addWidget(Label_Port_Search, 1);
    layout->addWidget(Panel_Port_Search);

    Panel_Port = new QFrame(this);
    Panel_Port->setObjectName(QStringLiteral("Panel_Port"));
    Panel_Port->setFrameShape(QFrame::StyledPanel);
    auto* port_layout = new QVBoxLayout(Panel_Port);
    Memo_Ports_Name = new QPlainTextEdit(Panel_Port);
    Memo_Ports_Name->setObjectName(QStringLiteral("Memo_Ports_Name"));
    Memo_Ports_Name->setReadOnly(true);
    Memo_Ports_Name->setMinimumHeight(80);
    auto* line = new QHBoxLayout;
    Panel_Port_Quantity = Make_Panel_Label(Panel_Port, "Panel_Port_Quantity");
    Label_Port_Number = Make_Panel_Label(Panel_Port, "Label_Port_Number");
    Panel_Port_Name = Make_Panel_Label(Panel_Port, "Panel_Port_Name");
    Panel_Port_Name->setMinimumWidth(140);
    line->addWidget(Panel_Port_Quantity);
    line->addWidget(Label_Port_Number);
    line->addWidget(Panel_Port_Name, 1);
    ProgressBar_Port = new QProgressBar(Panel_Port);
    ProgressBar_Port->setObjectName(QStringLiteral("ProgressBar_Port"));
    ProgressBar_Port->setTextVisible(false);
    port_layout->addWidget(Memo_Ports_Name, 1);
    port_layout->addLayout(line);
    port_layout->addWidget(ProgressBar_Port);
    layout->addWidget(Panel_Port, 1);

    resize(320, 240);

    search_.Display_Changed = [this]() { Refresh(); };
    search_.Show_Window = [this]() { show(); };
    search_.Close_Window = [this]() { close(); };
    Apply_Texts();
    texts_listener_ = std::make_unique<Texts_Listener>([this]() { Apply_Texts(); });
}

void TForm_Port::Apply_Texts()
{
    Set_Window_Title(this, Caption_Text(QStringLiteral("Form_Port"), QStringLiteral("Search COM ports"), true));
    Refresh();   // the search's texts are fetched as they are shown
}

TForm_Port::~TForm_Port()
{
    search_.Display_Changed = nullptr;
    search_.Show_Window = nullptr;
    search_.Close_Window = nullptr;
}

void TForm_Port::Refresh()
{
    const Port_Search_Display& d = search_.Display();
    Panel_Port_Search->setVisible(d.Panel_Port_Search_Visible);
    Set_Shown_Text(Label_Port_Search, d.Label_Port_Search);
    QPalette palette = Label_Port_Search->palette();
    palette.setColor(QPalette::WindowText, d.Label_Port_Search_Colour.isValid() ? d.Label_Port_Search_Colour
                                                                               : QColor(Qt::black));
    Label_Port_Search->setPalette(palette);
    Image_Port_Wait->Set_Frame(d.Image_Port_Wait_Frame);

    Panel_Port->setVisible(d.Panel_Port_Visible);
    const QString ports = d.Memo_Ports_Name.join(QLatin1Char('\n'));
    if (Memo_Ports_Name->toPlainText() != ports)
        Memo_Ports_Name->setPlainText(ports);
    Memo_Ports_Name->setAccessibleName(ports);
    Set_Shown_Text(Panel_Port_Quantity, d.Panel_Port_Quantity);
    Set_Shown_Text(Panel_Port_Name, d.Panel_Port_Name);
    Set_Shown_Text(Label_Port_Number, d.Label_Port_Number);
    ProgressBar_Port->setMaximum(std::max(d.ProgressBar_Port_Max, 1));
    ProgressBar_Port->setValue(std::min(d.ProgressBar_Port_Position, ProgressBar_Port->maximum()));

    if (d.Shown && !isVisible())
        show();
}

void TForm_Port::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm_Port::closeEvent(QCloseEvent* event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TForm_Port::hideEvent(QHideEvent* event)
{
    // Escape hides a dialog without a close event.
    if (!event->spontaneous())
        FormClose();
    QDialog::hideEvent(event);
}

void TForm_Port::FormShow() { search_.FormShow(); }

void TForm_Port::FormClose() { search_.FormClose(); }
