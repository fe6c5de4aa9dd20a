#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Language_Table: the entries of one language file, in file order. Keys are
// upper-cased (ASCII letters) and trimmed; texts are trimmed and may be empty.
struct Language_Table
{
    QStringList Keys;
    QStringList Values;

    bool Empty() const { return Keys.isEmpty(); }
    // Text of the first entry whose key equals the upper-cased key; none
    // when no entry has that key (an entry without text gives "").
    std::optional<QString> Find(const QString& key) const;
};

// ASCII letters upper-cased, everything else left as it is.
QString Upper_Ascii(const QString& text);

// Builds the table from a file's text, already decoded. The first line is a
// title and never an entry; lines may end in CR LF or LF.
Language_Table Parse_Language_Text(const QString& text);

// Decodes the bytes by the language's font character set, then parses.
Language_Table Parse_Language_File(const QByteArray& bytes, int charset);
