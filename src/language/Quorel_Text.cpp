#include "language/Quorel_Text.h"

#include "language/Quorel_Language_State.h"

QString Text(const QString& key) { return Language().Text(key); }

QString Menu_Text(const QString& key) { return Language().Menu_Text(key); }

void Set_English_Menu(bool on) { Language().Set_English_Menu(on); }

QString Wrap_Hint(const QString& text) { return Language().Wrap_Hint(text); }

void List_Languages() { Language().List_Languages(); }

bool Select_Language(const QString& name) { return Language().Select_Language(name); }
