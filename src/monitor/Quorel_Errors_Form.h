#pragma once

#include <QStringList>
#include <QWidget>

class Live_Monitor;
class QLabel;
class QPlainTextEdit;
class QPushButton;


// The Errors tab: the errors seen since start, the ECU's current errors,
// their clearing and the processor clock the ECU reports.
class Errors_Tab_Form : public QWidget
{
    Q_OBJECT
public:
    Errors_Tab_Form(QWidget* page, Live_Monitor& monitor);

    void Apply_Texts();
    void Show_Errors();
    void Show_CPU_Freq();
    void Enable_Buttons(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show_List(QPlainTextEdit* memo, const QLabel* caption, const QStringList& lines);

    Live_Monitor& monitor_;
    QLabel* Label_ERR_History = nullptr;
    QPlainTextEdit* Memo_ERR_History = nullptr;
    QLabel* Label_ERR_Current = nullptr;
    QPlainTextEdit* Memo_ERR_Current = nullptr;
    QPushButton* Button_ERR_Clear = nullptr;
    QLabel* Label_ERR_CPU_Freq = nullptr;
    QLabel* Label_ERR_CPU_Freq_MHz = nullptr;
    QLabel* Label_ERR_CPU_Freq_Dim = nullptr;
    QPushButton* Button_ERR_Change_Freq = nullptr;
};
