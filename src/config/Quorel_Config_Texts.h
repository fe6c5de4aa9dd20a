#pragma once

#include <QString>

// Car_Comments keeps its line breaks as code 29 (CR) and code 26 (LF) so
// that the text stays on one line of the configuration file. A line break
// of the editor (LF, or CR LF) is stored as 29 26; a lone CR as 29.
QString Comments_Stored(const QString& shown);
// Back for the editor: 29 26 and a lone 26 become a line break (LF), a
// lone 29 a CR.
QString Comments_Shown(const QString& stored);

// An operating counter in minutes as hours with two decimals ("10.50").
QString Hours_Text(qint64 minutes);
