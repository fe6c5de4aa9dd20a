#include "link/Quorel_Message.h"

#include "language/Quorel_Text.h"

#include <QLocale>

QColor Message_Window::To_QColor(int colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Message_Window::Message_Window(Quorel_Clock& clock, QObject* parent)
    : QObject(parent),
      Timer_Show(clock, "Timer_Show_Message", Show_Delay_Ms, false, this),
      Timer_Auto_Close(clock, "Timer_MSG_Close", Countdown_Step_Ms, false, this)
{
    Timer_Show.Set_Handler([this]() { Timer_ShowTimer(); });
    Timer_Auto_Close.Set_Handler([this]() { Timer_Auto_CloseTimer(); });
}

void Message_Window::Show_Message(int kind, const QString& text, int colour)
{
    // Once the ECU was found too new the only way on is closing the program:
    // no later message may take that one's place.
    if ((Timer_Show.Enabled() && pending_.kind == Kind_Version) || Ends_Program())
        if (kind != Kind_Version)
            return;
    pending_ = {kind, text, colour};
    // Off and on: a newer request waits its own 100 ms.
    Timer_Show.Set_Enabled(false);
    Timer_Show.Set_Enabled(true);
}

void Message_Window::Timer_ShowTimer()
{
    Timer_Show.Set_Enabled(false);
    const Request request = pending_;
    Timer_Auto_Close.Set_Enabled(false);
    countdown_.clear();
    kind_ = request.kind;
    colour_ = To_QColor(request.colour);
    switch (request.kind) {
    case Kind_Loader_Save:
        text_ = Text("Loader_Save_CFG") + " \"Temp.cfg\"";
        remaining_ms_ = Auto_Close_Ms;
        Update_Countdown();
        Timer_Auto_Close.Set_Enabled(true);
        break;
    case Kind_Key:
        text_ = Text(request.text);
        break;
    case Kind_Version:
        text_ = Text("Error_Version") + " " + request.text + " " + Text("Error_Version_New");
        break;
    default:
        text_ = request.text;
        break;
    }
    shown_ = true;
    Q_EMIT Changed();
    if (kind_ == Kind_Version)
        Q_EMIT Program_Blocked();
}

void Message_Window::Update_Countdown()
{
    const double seconds = remaining_ms_ / 1000.0;
    countdown_ = Text("Error_Window_Close") + " " + QLocale().toString(seconds, 'f', 1) + " " + Text("Dim_Sec_Long");
}

void Message_Window::Timer_Auto_CloseTimer()
{
    remaining_ms_ -= Countdown_Step_Ms;
    if (remaining_ms_ <= 0) {
        Close();
        return;
    }
    Update_Countdown();
    Q_EMIT Changed();
}

void Message_Window::Close()
{
    if (!shown_)
        return;
    const bool ends_program = Ends_Program();
    Timer_Auto_Close.Set_Enabled(false);
    shown_ = false;
    countdown_.clear();
    Q_EMIT Changed();
    if (ends_program) {
        program_ending_ = true;
        Q_EMIT Program_End_Requested();
    }
}
