#pragma once

#include "app/Quorel_Timer.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>

class Quorel_Context;

// Present ports put in search order: newly appeared ports (or, on a first
// search, the remembered port) at the front.
struct Port_Order
{
    QStringList ordered;
    bool preferred_found = false;
    QString preferred_port;   // the last preferred port put at the front
};

// previous: the candidates of the last search (empty on a first search).
Port_Order Order_Ports(const QStringList& ports, const QStringList& previous, const QString& remembered_port);

// The candidates to try, in order: with a preferred port found, port_name
// (the preferred port) is tried again after every other one, so ports P, A, B
// give P, A, P, B.
QStringList Build_Candidates(const QStringList& ordered, bool preferred_found, const QString& port_name);

// What the search window shows; TForm_Port paints it.
struct Port_Search_Display
{
    bool Shown = false;   // from FormShow until FormClose
    bool Panel_Port_Search_Visible = false;
    QString Label_Port_Search;
    QColor Label_Port_Search_Colour;
    int Image_Port_Wait_Frame = 0;
    bool Panel_Port_Visible = true;
    QStringList Memo_Ports_Name;
    QString Panel_Port_Quantity;
    QString Panel_Port_Name;
    QString Label_Port_Number;
    int ProgressBar_Port_Max = 0;
    int ProgressBar_Port_Position = 0;

    bool operator==(const Port_Search_Display&) const = default;
};

// The automatic port search: enumerates the ports, tries each candidate
// with identification requests and starts over when none answered.
class Port_Search
{
public:
    using Port_Lister = std::function<QStringList()>;
    using Port_Tester = std::function<bool(const QString&)>;

    static constexpr int Busy_Frames = 12;
    static constexpr int Wait_For_Port_Ms = 100;
    static constexpr int Retry_Ms = 1000;
    static inline const QColor Found_Colour{0x00, 0x80, 0x00};
    static inline const QColor Searching_Colour{0x00, 0x00, 0xFF};

    // list and present default to List_Serial_Ports and Port_Present.
    explicit Port_Search(Quorel_Context& context, Port_Lister list = {}, Port_Tester present = {});
    ~Port_Search();
    Port_Search(const Port_Search&) = delete;
    Port_Search& operator=(const Port_Search&) = delete;

    void Start_Port_Search();
    void Try_Next_Candidate();
    void Timer_Select_ComPortTimer();
    // Called by the identification builder before it builds: counts the
    // unanswered tries on the current candidate while the window is shown;
    // the third moves on to the next candidate.
    void Identification_Try();

    // The window's show and close events.
    void FormShow();
    void FormClose();
    // Closes the window (when the connection is declared).
    void Close_Search_Window();
    bool Search_Window_Shown() const { return display_.Shown; }

    Quorel_Timer Timer_Select_ComPort;

    const Port_Search_Display& Display() const { return display_; }
    const QStringList& Candidates() const { return candidates_; }
    int Candidate_Count() const { return candidate_count_; }
    int Candidate_Index() const { return candidate_index_; }
    int Identification_Tries() const { return identification_tries_; }
    QString Preferred_Port() const { return preferred_port_; }
    // "Port_Name" as read at start, or the port last chosen in the setup.
    QString Remembered_Port() const;

    // Set by the search window.
    std::function<void()> Display_Changed;
    std::function<void()> Show_Window;
    std::function<void()> Close_Window;

    // Set by the main window.
    std::function<void(bool)> Show_Button_Select_ComPort;
    std::function<void(const QString&)> Set_Edit_Port_Name;
    std::function<void(bool)> Enable_Button_Setup_Port;

private:
    void Show_Search_Window();
    void Changed();
    bool Open_Candidate(const QString& name);
    template <typename F, typename... A> static void Call(const F& f, A&&... a)
    {
        if (f)
            f(std::forward<A>(a)...);
    }

    Quorel_Context& context_;
    Port_Lister list_;
    Port_Tester present_;
    Port_Search_Display display_;
    QStringList candidates_;
    int candidate_count_ = 0;
    int candidate_index_ = -1;
    int identification_tries_ = 0;
    QString preferred_port_;
    bool ports_present_ = true;   // at the last enumeration
};
