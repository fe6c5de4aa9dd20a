#pragma once

#include "app/Quorel_Timer.h"

#include <QColor>
#include <QObject>
#include <QString>

// The message window's model: what TForm_MSG shows, when, and for how long.
// A request is shown about 100 ms later, never inside the routine that asks;
// a newer request before that replaces it.
class Message_Window : public QObject
{
    Q_OBJECT
public:
    // Kinds of message.
    static constexpr int Kind_Text = 4;          // the given text
    static constexpr int Kind_Loader_Save = 6;   // configuration saved to "Temp.cfg"; closes after 3 s
    static constexpr int Kind_Key = 7;           // the text of a key
    static constexpr int Kind_Version = 10;      // ECU needs a newer program; closing ends the program

    // Colours as the system gives them: 0x00BBGGRR.
    static constexpr int Colour_Red = 0x0000FF;
    static constexpr int Colour_Blue = 0xFF0000;
    static QColor To_QColor(int colour);

    static constexpr int Show_Delay_Ms = 100;
    static constexpr int Auto_Close_Ms = 3000;
    static constexpr int Countdown_Step_Ms = 100;

    explicit Message_Window(Quorel_Clock& clock, QObject* parent = nullptr);

    void Show_Message(int kind, const QString& text, int colour);
    // The "OK" button, the window's close box, or the kind 6 time-out.
    void Close();

    bool Pending() const { return Timer_Show.Enabled(); }
    bool Shown() const { return shown_; }
    int Kind() const { return kind_; }
    QString Message_Text() const { return text_; }
    QColor Colour() const { return colour_; }
    // Kind 6 only: the auto-close countdown line; empty otherwise.
    QString Countdown_Text() const { return countdown_; }
    // The shown message ends the program when closed (kind 10).
    bool Ends_Program() const { return shown_ && kind_ == Kind_Version; }
    // Set for good when a kind 10 message was closed.
    bool Program_Ending() const { return program_ending_; }

    Quorel_Timer Timer_Show;
    Quorel_Timer Timer_Auto_Close;

Q_SIGNALS:
    // Shown, text changed (countdown) or closed.
    void Changed();
    // A kind 10 message was shown: the main window goes to tab 0 and is disabled.
    void Program_Blocked();
    // A kind 10 message was closed: the program ends.
    void Program_End_Requested();

private:
    void Timer_ShowTimer();
    void Timer_Auto_CloseTimer();
    void Update_Countdown();

    struct Request
    {
        int kind = 0;
        QString text;
        int colour = Colour_Red;
    };
    Request pending_;
    bool shown_ = false;
    int kind_ = 0;
    QString text_;
    QColor colour_;
    QString countdown_;
    int remaining_ms_ = 0;
    bool program_ending_ = false;
};
