#include "monitor/Quorel_Errors_Form.h"

#include "language/Quorel_Text.h"
#include "monitor/Quorel_Live_Monitor.h"

#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QLabel* Make_Label(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

QPushButton* Make_Button(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void Set_Text(QWidget* widget, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text() != text)
            label->setText(text);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        if (button->text() != text)
            button->setText(text);
    }
    if (widget->accessibleName() != text)
        widget->setAccessibleName(text);
}

QString Text_Or(const char* key, const char* fallback)
{
    const QString text = Text(QLatin1String(key));
    return text.isEmpty() || text == QLatin1String(key) ? QString::fromUtf8(fallback) : text;
}

} // namespace

Errors_Tab_Form::Errors_Tab_Form(QWidget* page, Live_Monitor& monitor) : QWidget(page), monitor_(monitor)
{
    setObjectName(QStringLiteral("Errors_Tab_Form"));
    setGeometry(0, 0, 770, 424);

    Label_ERR_Current = Make_Label(this, "Label_ERR_Current", QRect(12, 10, 360, 20));
    Memo_ERR_Current = new QPlainTextEdit(this);
    Memo_ERR_Current->setObjectName(QStringLiteral("Memo_ERR_Current"));
    Memo_ERR_Current->setGeometry(12, 32, 360, 300);
    Memo_ERR_Current->setReadOnly(true);
    Memo_ERR_Current->setFocusPolicy(Qt::NoFocus);
    Memo_ERR_Current->viewport()->installEventFilter(this);
    Button_ERR_Clear = Make_Button(this, "Button_ERR_Clear", QRect(12, 342, 120, 28));
    connect(Button_ERR_Clear, &QPushButton::clicked, this, [this]() { monitor_.Button_ERR_ClearClick(); });

    Label_ERR_CPU_Freq = Make_Label(this, "Label_ERR_CPU_Freq", QRect(400, 32, 150, 22));
    Label_ERR_CPU_Freq_MHz = Make_Label(this, "Label_ERR_CPU_Freq_MHz", QRect(552, 32, 36, 22));
    Label_ERR_CPU_Freq_MHz->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label_ERR_CPU_Freq_MHz->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label_ERR_CPU_Freq_Dim = Make_Label(this, "Label_ERR_CPU_Freq_Dim", QRect(594, 32, 168, 22));
    Button_ERR_Change_Freq = Make_Button(this, "Button_ERR_Change_Freq", QRect(400, 62, 120, 28));
    connect(Button_ERR_Change_Freq, &QPushButton::clicked, this,
            [this]() { monitor_.Button_ERR_Change_FreqClick(); });

    Apply_Texts();
    Show_CPU_Freq();
}

void Errors_Tab_Form::Apply_Texts()
{
    Set_Text(Label_ERR_Current, Text("Label_ERR_Current"));
    Set_Text(Button_ERR_Clear, Text("Button_ERR_Clear"));
    Set_Text(Label_ERR_CPU_Freq, Text("Label_ERR_CPU_Freq"));
    Set_Text(Label_ERR_CPU_Freq_Dim, Text("Label_ERR_CPU_Freq_Dim"));
    Set_Text(Button_ERR_Change_Freq, Text_Or("Button_ERR_Change_Freq", "Chahge"));
    Show_Errors();
}

void Errors_Tab_Form::Show_Errors()
{
    const QStringList& lines = monitor_.Status.Error_Lines();
    const QString text = lines.join(QChar('\n'));
    if (Memo_ERR_Current->toPlainText() != text)
        Memo_ERR_Current->setPlainText(text);
    const QString name = Label_ERR_Current->text() + QStringLiteral(": ") + lines.join(QStringLiteral(", "));
    if (Memo_ERR_Current->accessibleName() != name)
        Memo_ERR_Current->setAccessibleName(name);
}

void Errors_Tab_Form::Show_CPU_Freq()
{
    Set_Text(Label_ERR_CPU_Freq_MHz, QString::number(monitor_.CPU_Freq_MHz()));
}

void Errors_Tab_Form::Enable_Buttons(bool on)
{
    Button_ERR_Clear->setEnabled(on);
    Button_ERR_Change_Freq->setEnabled(on);
}

bool Errors_Tab_Form::eventFilter(QObject* watched, QEvent* event)
{
    // The list is read-only: a click only moves the focus to the page.
    if (watched == Memo_ERR_Current->viewport() && event->type() == QEvent::MouseButtonPress) {
        if (parentWidget())
            parentWidget()->setFocus(Qt::MouseFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
