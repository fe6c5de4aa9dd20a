#pragma once

#include <QString>

#include <functional>

class QObject;

// Captions and hints of a window's named controls, from their text keys:
// a control's key is its object name, its hint key that name + "_Hint".
struct Apply_Texts_Options
{
    // Frame texts (window titles, tool hints) through Menu_Text.
    bool Frame_In_Menu_Text = true;
    // Captions through Menu_Text as well (tab captions and the like).
    bool Captions_In_Menu_Text = false;
    bool Hints = true;
};

// Sets, for root and every descendant whose object name has a text: the
// "windowTitle" of a "Form_..." object, else its "title" (group boxes),
// else its "text"; and the "toolTip" from the hint key, wrapped, or empty
// while hints are off. Objects without a text keep what they show.
// Returns how many objects got a caption or hint.
int Apply_Object_Texts(QObject* root, const Apply_Texts_Options& options = {});

// Helpers for a window's own Apply_Texts.

// The text of key (Menu_Text for frame texts), or fallback when neither the
// language file nor the English table has one.
QString Caption_Text(const QString& key, const QString& fallback, bool frame = false);
// Shows caption on a control: its "title" (group boxes) or else its "text";
// the accessible name follows, without the '&' mnemonic marks.
void Set_Caption(QObject* control, const QString& caption);
// Window title and accessible name of a window or dialog.
void Set_Window_Title(QObject* window, const QString& title);
// The hint of key: prefix + text, wrapped; empty while "Show_Hint" is off.
// Frame hints go through Menu_Text.
QString Hint_Text(const QString& key, const QString& prefix = {}, bool frame = true);
void Set_Hint(QObject* control, const QString& key, const QString& prefix = {}, bool frame = true);
// Switches all tool hints on or off and re-applies the texts.
void Set_Show_Hint(bool on);

// Runs apply after every change of language or "English_Menu" for as long
// as it lives; a window keeps one beside its Apply_Texts.
class Texts_Listener
{
public:
    explicit Texts_Listener(std::function<void()> apply);
    ~Texts_Listener();
    Texts_Listener(const Texts_Listener&) = delete;
    Texts_Listener& operator=(const Texts_Listener&) = delete;

private:
    int id_;
};
