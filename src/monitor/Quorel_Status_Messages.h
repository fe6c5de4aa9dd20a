#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <functional>

class Quorel_Timer;

// The rotating status message list behind Panel_ErrorStatus: warnings stay
// in the list and take turns every period of Timer_Error; good news is
// flashed once without entering the list.
class QuorelMSG_Class
{
public:
    static constexpr int Capacity = 10;

    struct Entry
    {
        QColor Colour;
        QString Text;
    };

    // What Panel_ErrorStatus shows; an invalid colour is the window face.
    struct Panel
    {
        QString Text;
        QColor Colour;
        bool Visible = false;
    };

    explicit QuorelMSG_Class(Quorel_Timer& timer_error);

    // Appends a new text and shows it at once; a text already listed changes
    // nothing. An eleventh text is ignored.
    void Post_Message(const QString& text, const QColor& colour);
    // Shows a text for one period without listing it.
    void Flash_Message(const QString& text, const QColor& colour);
    // Removes a text and shows the next entry.
    void Drop_Message(const QString& text);
    // The action of Timer_Error.
    void Next_Message();
    // Empties the list and hides the panel (connection lost).
    void Clear();

    int Count() const { return count_; }
    const Entry& At(int index) const { return entries_[size_t(index)]; }
    bool Contains(const QString& text) const { return Find(text) >= 0; }
    const Panel& Shown() const { return shown_; }

    // Runs whenever Shown() changed.
    std::function<void()> On_Shown_Changed;

private:
    int Find(const QString& text) const;
    void Show(const QString& text, const QColor& colour, bool visible);

    Quorel_Timer& timer_;
    std::array<Entry, Capacity> entries_{};
    int count_ = 0;
    int index_ = -1;
    Panel shown_;
};
