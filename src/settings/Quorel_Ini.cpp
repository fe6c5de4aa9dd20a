#include "settings/Quorel_Ini.h"

#include <QFile>
#include <QSaveFile>

#include <limits>

namespace {

constexpr int Key_Width = 29;

bool Is_Blank_Or_Control(QChar c)
{
    return c.unicode() <= 0x20 || c.unicode() == 0x7F;
}

bool Is_Blank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Trims blanks and control characters at both ends. QString::trimmed would
// also eat 8-bit characters such as the no-break space.
QString Trim_Blanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && Is_Blank_Or_Control(text.at(first)))
        ++first;
    while (last > first && Is_Blank_Or_Control(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

// Line breaks inside a value would split the entry on the next read.
QString One_Line(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return result;
}

void Split_Value_And_Remark(const QString& rest, QString& value, QString& remark)
{
    // A value may itself hold braces ("Filter {new} fitted {remark}"): when
    // the line ends in "}", the remark starts at the last " {".
    if (rest.endsWith(QLatin1Char('}'))) {
        const qsizetype open = rest.lastIndexOf(QLatin1String(" {"));
        if (open >= 0) {
            value = Trim_Blanks(rest.left(open));
            remark = Trim_Blanks(rest.mid(open + 2, rest.size() - (open + 2) - 1));
            return;
        }
    }
    const qsizetype open = rest.indexOf(QLatin1Char('{'));
    if (open < 0) {
        value = rest;
        remark = QStringLiteral(" ");
        return;
    }
    value = Trim_Blanks(rest.left(open));
    QString tail = rest.mid(open + 1);
    if (tail.endsWith(QLatin1Char('}')))
        tail.chop(1);
    remark = Trim_Blanks(tail);
}

} // namespace

std::optional<int> Ini_To_Int(const QString& text)
{
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-'))) {
        negative = text.at(pos) == QLatin1Char('-');
        ++pos;
    }
    if (pos >= text.size())
        return std::nullopt;

    if (text.at(pos) == QLatin1Char('$')) {
        ++pos;
        if (pos >= text.size())
            return std::nullopt;
        quint64 magnitude = 0;
        for (; pos < text.size(); ++pos) {
            const char16_t c = text.at(pos).unicode();
            int d;
            if (c >= u'0' && c <= u'9')
                d = c - u'0';
            else if (c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
            else if (c >= u'A' && c <= u'F')
                d = c - u'A' + 10;
            else
                return std::nullopt;
            magnitude = magnitude * 16 + quint64(d);
            if (magnitude > 0xFFFFFFFFull)
                return std::nullopt;
        }
        // Hexadecimal covers the full 32-bit pattern ("$FFFFFFFF" is -1).
        const qint32 bits = qint32(quint32(magnitude));
        if (negative)
            return bits == std::numeric_limits<qint32>::min() ? std::optional<int>() : std::optional<int>(-bits);
        return bits;
    }

    qint64 magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text.at(pos).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    const qint64 result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return std::nullopt;
    return int(result);
}

void Ini_File::Parse(const QByteArray& text)
{
    entries_.clear();
    const QString all = QString::fromLatin1(text);
    qsizetype start = 0;
    while (start <= all.size()) {
        qsizetype end = start;
        while (end < all.size() && all.at(end) != QLatin1Char('\r') && all.at(end) != QLatin1Char('\n'))
            ++end;
        const QString raw = all.mid(start, end - start);
        // CR LF, LF and CR each end a line.
        if (end < all.size() && all.at(end) == QLatin1Char('\r') && end + 1 < all.size()
            && all.at(end + 1) == QLatin1Char('\n'))
            ++end;
        start = end + 1;

        qsizetype first = 0;
        while (first < raw.size() && Is_Blank_Or_Control(raw.at(first)))
            ++first;
        if (first >= raw.size())
            continue;
        const QString line = raw.mid(first);
        if (line.startsWith(QLatin1Char('{')) || line.startsWith(QLatin1Char('[')))
            continue;

        qsizetype cut = 0;
        while (cut < line.size() && !Is_Blank(line.at(cut)) && line.at(cut) != QLatin1Char('='))
            ++cut;

        Entry entry;
        entry.key = Trim_Blanks(line.left(cut)).toUpper();
        QString rest;
        if (cut < line.size()) {
            const bool at_equals = line.at(cut) == QLatin1Char('=');
            rest = Trim_Blanks(line.mid(cut + 1));
            // "key = value": the "=" stands on its own after the blank.
            if (!at_equals && rest.startsWith(QLatin1Char('='))
                && (rest.size() == 1 || Is_Blank(rest.at(1))))
                rest = Trim_Blanks(rest.mid(1));
        }
        if (rest.isEmpty()) {
            entry.value = QStringLiteral(" ");
            entry.remark = QStringLiteral(" ");
        } else {
            Split_Value_And_Remark(rest, entry.value, entry.remark);
        }
        entries_.append(entry);
    }
}

QByteArray Ini_File::Serialise() const
{
    QString out;
    for (const Entry& entry : entries_) {
        const QString key = One_Line(entry.key);
        if (key.size() >= Key_Width)
            out += key.left(Key_Width) + QLatin1Char(' ');
        else
            out += key.leftJustified(Key_Width, QLatin1Char(' '));
        out += One_Line(entry.value);
        out += QLatin1String(" {");
        out += One_Line(entry.remark);
        out += QLatin1String("}\r\n");
    }
    return out.toLatin1();
}

bool Ini_File::Ini_Load(const QString& path)
{
    entries_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return Ini_Load(file);
}

bool Ini_File::Ini_Load(QIODevice& device)
{
    entries_.clear();
    const QByteArray text = device.readAll();
    Parse(text);
    return true;
}

bool Ini_File::Ini_Open_For_Write(const QString& path)
{
    entries_.clear();
    if (!QFile::exists(path))
        return true;
    return Ini_Load(path);
}

bool Ini_File::Ini_Save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!Ini_Save(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool Ini_File::Ini_Save(QIODevice& device) const
{
    const QByteArray text = Serialise();
    return device.write(text) == text.size();
}

const Ini_File::Entry* Ini_File::Ini_Find(const QString& key) const
{
    const QString wanted = Trim_Blanks(key);
    for (const Entry& entry : entries_)
        if (entry.key.compare(wanted, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

std::optional<QString> Ini_File::Ini_Read_Text(const QString& key) const
{
    const Entry* entry = Ini_Find(key);
    if (!entry)
        return std::nullopt;
    return entry->value;
}

std::optional<int> Ini_File::Ini_Read_Int(const QString& key) const
{
    const Entry* entry = Ini_Find(key);
    if (!entry)
        return std::nullopt;
    return Ini_To_Int(entry->value);
}

std::optional<bool> Ini_File::Ini_Read_Bool(const QString& key) const
{
    const Entry* entry = Ini_Find(key);
    if (!entry)
        return std::nullopt;
    const QString upper = entry->value.toUpper();
    if (upper == QLatin1String("TRUE"))
        return true;
    if (upper == QLatin1String("FALSE"))
        return false;
    return std::nullopt;
}

void Ini_File::Ini_Set(const QString& key, const QString& value, const QString& remark)
{
    for (Entry& entry : entries_) {
        if (entry.key.compare(key, Qt::CaseInsensitive) == 0) {
            entry = Entry{key, value, remark};
            return;
        }
    }
    entries_.append(Entry{key, value, remark});
}

void Ini_File::Ini_Set(const QString& key, const char* value, const QString& remark)
{
    Ini_Set(key, QString::fromUtf8(value), remark);
}

void Ini_File::Ini_Set(const QString& key, int value, const QString& remark)
{
    Ini_Set(key, QString::number(value), remark);
}

void Ini_File::Ini_Set(const QString& key, bool value, const QString& remark)
{
    Ini_Set(key, value ? QStringLiteral("True") : QStringLiteral("False"), remark);
}

void Ini_File::Ini_Delete(const QString& key)
{
    entries_.removeIf([&](const Entry& entry) { return entry.key.compare(key, Qt::CaseInsensitive) == 0; });
}

bool Ini_Set_One(const QString& path, const QString& key, const QString& value, const QString& remark)
{
    Ini_File ini;
    if (!ini.Ini_Open_For_Write(path))
        return false;
    ini.Ini_Set(key, value, remark);
    return ini.Ini_Save(path);
}
