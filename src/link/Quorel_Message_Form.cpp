#include "link/Quorel_Message_Form.h"

#include "language/Quorel_Apply_Texts.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Message.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TForm_MSG::TForm_MSG(Message_Window& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      model_(model)
{
    setObjectName("Form_MSG");
    setModal(false);
    setMinimumWidth(360);

    Label_MSG = new QLabel(this);
    Label_MSG->setObjectName("Label_MSG");
    Label_MSG->setAlignment(Qt::AlignCenter);
    Label_MSG->setWordWrap(true);
    QFont font = Label_MSG->font();
    font.setPointSize(16);
    Label_MSG->setFont(font);

    Label_MSG_Close = new QLabel(this);
    Label_MSG_Close->setObjectName("Label_MSG_Close");
    Label_MSG_Close->setAlignment(Qt::AlignCenter);
    Label_MSG_Close->setWordWrap(true);
    Label_MSG_Close->hide();

    Button_MSG_OK = new QPushButton("OK", this);
    Button_MSG_OK->setObjectName("Button_MSG_OK");
    Button_MSG_OK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label_MSG, 1);
    layout->addWidget(Label_MSG_Close);
    layout->addWidget(Button_MSG_OK, 0, Qt::AlignHCenter);

    connect(Button_MSG_OK, &QPushButton::clicked, this, [this]() { model_.Close(); });
    connect(&model_, &Message_Window::Changed, this, &TForm_MSG::Model_Changed);
    Model_Changed();
}

void TForm_MSG::Model_Changed()
{
    if (!model_.Shown()) {
        hide();
        return;
    }
    // The English table has no title of its own for this window.
    Set_Window_Title(this, Caption_Text("Window_MSG", Menu_Text("Error_Message"), true));
    Label_MSG->setText(model_.Message_Text());
    QPalette palette = Label_MSG->palette();
    palette.setColor(QPalette::WindowText, model_.Colour());
    Label_MSG->setPalette(palette);
    Label_MSG_Close->setText(model_.Countdown_Text());
    Label_MSG_Close->setVisible(!model_.Countdown_Text().isEmpty());
    if (!isVisible()) {
        adjustSize();
        Centre_On_Parent();
        show();
        raise();
        activateWindow();
    }
}

void TForm_MSG::Centre_On_Parent()
{
    const QWidget* host = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (host && host->isVisible())
        area = host->frameGeometry();
    else if (const QScreen* screen = this->screen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

void TForm_MSG::closeEvent(QCloseEvent* event)
{
    // The close box acts as "OK"; the model decides what closing means.
    event->accept();
    model_.Close();
}

void TForm_MSG::keyPressEvent(QKeyEvent* event)
{
    // Escape would only hide the dialog behind the model's back.
    if (event->key() == Qt::Key_Escape) {
        model_.Close();
        return;
    }
    QDialog::keyPressEvent(event);
}
