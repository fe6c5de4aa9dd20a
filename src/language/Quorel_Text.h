#pragma once

#include <QString>

// The text of a key in the selected language; English is built in.
QString Text(const QString& key);
// As Text, but in English while "English_Menu" is on (window frame texts).
QString Menu_Text(const QString& key);
// English_Menu switch read by Menu_Text; re-applies the frame texts.
void Set_English_Menu(bool on);
// A hint broken into lines of about "Hint_Length" characters.
QString Wrap_Hint(const QString& text);
// Rebuilds the language list from the language folder.
void List_Languages();
// Makes a listed language the selected one and re-applies all texts.
bool Select_Language(const QString& name);
