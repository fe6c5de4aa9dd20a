#pragma once

#include <QDialog>

class Message_Window;
class QLabel;
class QPushButton;

// The message window: stays on top, centred on its parent, shows what the
// Message_Window model asks for. Never modal, so the caller's routine and
// the link keep running.
class TForm_MSG : public QDialog
{
    Q_OBJECT
public:
    explicit TForm_MSG(Message_Window& model, QWidget* parent = nullptr);

    QLabel* Label_MSG = nullptr;
    QLabel* Label_MSG_Close = nullptr;   // kind 6 countdown
    QPushButton* Button_MSG_OK = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Model_Changed();
    void Centre_On_Parent();

    Message_Window& model_;
};
