#pragma once

#include <QDialog>

#include <memory>

class Port_Search;
class QLabel;
class QFrame;
class QPlainTextEdit;
class QProgressBar;
class Port_Wait_Picture;
class Texts_Listener;

// The search window: shows the state the port search holds, never changes
// it, except that closing it stops the search.
class TForm_Port : public QDialog
{
    Q_OBJECT
public:
    explicit TForm_Port(Port_Search& search, QWidget* parent = nullptr);
    ~TForm_Port() override;

    // Window title and texts in the selected language.
    void Apply_Texts();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Refresh();
    void FormShow();
    void FormClose();

    Port_Search& search_;
    QFrame* Panel_Port_Search;
    QLabel* Label_Port_Search;
    Port_Wait_Picture* Image_Port_Wait;
    QFrame* Panel_Port;
    QPlainTextEdit* Memo_Ports_Name;
    QLabel* Panel_Port_Quantity;
    QLabel* Panel_Port_Name;
    QLabel* Label_Port_Number;
    QProgressBar* ProgressBar_Port;
    std::unique_ptr<Texts_Listener> texts_listener_;
};
