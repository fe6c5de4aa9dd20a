#include "monitor/Quorel_Status_Messages.h"

#include "app/Quorel_Timer.h"

QuorelMSG_Class::QuorelMSG_Class(Quorel_Timer& timer_error) : timer_(timer_error)
{
    timer_.Set_Handler([this]() { Next_Message(); });
}

int QuorelMSG_Class::Find(const QString& text) const
{
    for (int i = 0; i < count_; ++i)
        if (entries_[size_t(i)].Text == text)
            return i;
    return -1;
}

void QuorelMSG_Class::Post_Message(const QString& text, const QColor& colour)
{
    if (Find(text) >= 0 || count_ >= Capacity)
        return;
    entries_[size_t(count_)] = {colour, text};
    index_ = count_;
    ++count_;
    Flash_Message(text, colour);
}

void QuorelMSG_Class::Flash_Message(const QString& text, const QColor& colour)
{
    Show(text, colour, true);
    timer_.Set_Enabled(false);
    timer_.Set_Enabled(true);
}

void QuorelMSG_Class::Drop_Message(const QString& text)
{
    // With an empty list a flashed text keeps its period.
    if (count_ == 0)
        return;
    timer_.Set_Enabled(false);
    const int at = Find(text);
    if (at >= 0) {
        for (int i = at; i + 1 < count_; ++i)
            entries_[size_t(i)] = entries_[size_t(i) + 1];
        --count_;
        entries_[size_t(count_)] = {};
        if (index_ >= at)
            --index_;   // the entry shown before the dropped one stays the reference
    }
    Next_Message();
}

void QuorelMSG_Class::Next_Message()
{
    timer_.Set_Enabled(false);
    if (count_ == 0) {
        index_ = -1;
        Show(QString(), QColor(), false);
        return;
    }
    ++index_;
    if (index_ >= count_ || index_ < 0)
        index_ = 0;
    const Entry& entry = entries_[size_t(index_)];
    Show(entry.Text, entry.Colour, true);
    timer_.Set_Enabled(true);
}

void QuorelMSG_Class::Clear()
{
    timer_.Set_Enabled(false);
    entries_ = {};
    count_ = 0;
    index_ = -1;
    Show(QString(), QColor(), false);
}

void QuorelMSG_Class::Show(const QString& text, const QColor& colour, bool visible)
{
    const Panel next{text, colour, visible};
    if (next.Text == shown_.Text && next.Colour == shown_.Colour && next.Visible == shown_.Visible)
        return;
    shown_ = next;
    if (On_Shown_Changed)
        On_Shown_Changed();
}
