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

    // Both lists are read-only: a click only moves the focus to the page.
    auto make_memo = [this](const char* name, const QRect& geometry) {
        auto* memo = new QPlainTextEdit(this);
        memo->setObjectName(QLatin1String(name));
        memo->setGeometry(geometry);
        memo->setReadOnly(true);
        memo->setFocusPolicy(Qt::NoFocus);
        memo->viewport()->installEventFilter(this);
        return memo;
    };
    Label_ERR_Current = Make_Label(this, "Label_ERR_Current", QRect(12, 10, 360, 20));
    Memo_ERR_Current = make_memo("Memo_ERR_Current", QRect(12, 32, 360, 150));
    Label_ERR_History = Make_Label(this, "Label_ERR_History", QRect(12, 192, 360, 20));
    Memo_ERR_History = make_memo("Memo_ERR_History", QRect(12, 214, 360, 150));
    Button_ERR_Clear = Make_Button(this, "Button_ERR_Clear", QRect(12, 378, 120, 28));
    connect(Button_ERR_Clear, &QPushButton::clicked, this, [this]() { monitor_.Button_ERR_ClearClick(); });

    // Caption, clock value in its frame, unit: side by side with a gap. The
    // frame is drawn as a whole outline: a bevel's light edges vanish on the
    // page.
    Label_ERR_CPU_Freq = Make_Label(this, "Label_ERR_CPU_Freq", QRect(400, 32, 150, 22));
    Label_ERR_CPU_Freq_MHz = Make_Label(this, "Label_ERR_CPU_Freq_MHz", QRect(554, 32, 44, 22));
    Label_ERR_CPU_Freq_MHz->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label_ERR_CPU_Freq_MHz->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    Label_ERR_CPU_Freq_MHz->setIndent(4);
    Label_ERR_CPU_Freq_Dim = Make_Label(this, "Label_ERR_CPU_Freq_Dim", QRect(606, 32, 156, 22));
    Button_ERR_Change_Freq = Make_Button(this, "Button_ERR_Change_Freq", QRect(400, 62, 120, 28));
    connect(Button_ERR_Change_Freq, &QPushButton::clicked, this,
            [this]() { monitor_.Button_ERR_Change_FreqClick(); });

    Apply_Texts();
    Show_CPU_Freq();
}

void Errors_Tab_Form::Apply_Texts()
{
    Set_Text(Label_ERR_History, Text("Label_ERR_History"));
    Set_Text(Label_ERR_Current, Text("Label_ERR_Current"));
    Set_Text(Button_ERR_Clear, Text("Button_ERR_Clear"));
    Set_Text(Label_ERR_CPU_Freq, Text("Label_ERR_CPU_Freq"));
    Set_Text(Label_ERR_CPU_Freq_Dim, Text("Label_ERR_CPU_Freq_Dim"));
    Set_Text(Button_ERR_Change_Freq, Text_Or("Button_ERR_Change_Freq", "Chahge"));
    Show_Errors();
}

void Errors_Tab_Form::Show_Errors()
{
    Show_List(Memo_ERR_Current, Label_ERR_Current, monitor_.Status.Error_Lines());
    Show_List(Memo_ERR_History, Label_ERR_History, monitor_.Status.History_Lines());
}

void Errors_Tab_Form::Show_List(QPlainTextEdit* memo, const QLabel* caption, const QStringList& lines)
{
    const QString text = lines.join(QChar('\n'));
    if (memo->toPlainText() != text)
        memo->setPlainText(text);
    QString name = caption->text();
    if (!lines.isEmpty())
        name += QStringLiteral(": ") + lines.join(QStringLiteral(", "));
    if (memo->accessibleName() != name)
        memo->setAccessibleName(name);
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
    if ((watched == Memo_ERR_Current->viewport() || watched == Memo_ERR_History->viewport())
        && event->type() == QEvent::MouseButtonPress) {
        if (parentWidget())
            parentWidget()->setFocus(Qt::MouseFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
