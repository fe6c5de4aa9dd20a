#pragma once

#include <QString>

// The text of a key in the selected language; English is built in.
QString Text(const QString& key);
// As Text, but in English while "English_Menu" is on (window frame texts).
QString Menu_Text(const QString& key);
// English_Menu switch read by Menu_Text.
void Set_English_Menu(bool on);
