#pragma once

#include <QString>
#include <QStringList>

// First three letters of a language name: the suffix of help documents and
// diagram pictures ("Deutsch" -> "Deu").
QString Language_Prefix(const QString& language);

// Help folder + "/F" + (tab + 1) + ("-1" on tab 4) + "_" + prefix + ".pdf".
QString Help_Document_Path(const QString& help_folder, int tab, const QString& language);

// The installation diagram files to try, in order: the model's picture in
// the selected language, then in English.
QStringList Diagram_Candidates(const QString& language_folder, const QString& model, const QString& language);

// Turns a "description|mask|description|mask" filter into Qt's
// "description (mask);;..." form; "*.*" becomes "*".
QString Qt_File_Filter(const QString& pipe_filter);
