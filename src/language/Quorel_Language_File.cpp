#include "language/Quorel_Language_File.h"

#include "language/Quorel_Code_Page.h"

namespace {

bool Is_Blank(QChar c) { return c.unicode() <= 32; }

QStringView Trim_Blanks(QStringView s)
{
    qsizetype begin = 0, end = s.size();
    while (begin < end && Is_Blank(s[begin]))
        ++begin;
    while (end > begin && Is_Blank(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin);
}

} // namespace

QString Upper_Ascii(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return result;
}

std::optional<QString> Language_Table::Find(const QString& key) const
{
    const qsizetype i = Keys.indexOf(Upper_Ascii(key));
    if (i < 0)
        return std::nullopt;
    return Values[i];
}

Language_Table Parse_Language_Text(const QString& text)
{
    Language_Table table;
    const QStringView all(text);
    qsizetype pos = all.indexOf(u'\n');
    if (pos < 0)
        return table;   // fewer than two lines
    ++pos;
    while (pos <= all.size()) {
        qsizetype end = all.indexOf(u'\n', pos);
        if (end < 0)
            end = all.size();
        QStringView line = all.sliced(pos, end - pos);
        pos = end + 1;

        qsizetype start = 0;
        while (start < line.size() && Is_Blank(line[start]))
            ++start;
        line = line.sliced(start);
        if (line.isEmpty() || line.front() == u'{')
            continue;

        qsizetype sep = 0;
        while (sep < line.size() && line[sep] != u' ' && line[sep] != u'\t')
            ++sep;
        table.Keys.append(Upper_Ascii(Trim_Blanks(line.first(sep)).toString()));
        table.Values.append(sep < line.size() ? Trim_Blanks(line.sliced(sep + 1)).toString() : QString());
    }
    return table;
}

Language_Table Parse_Language_File(const QByteArray& bytes, int charset)
{
    return Parse_Language_Text(Decode_Code_Page(bytes, charset));
}
