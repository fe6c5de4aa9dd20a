#include "language/Quorel_Language_State.h"

#include "language/Quorel_Language_En.h"
#include "settings/Quorel_Ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

QString Language_State::File_Path() const
{
    return Folder + QLatin1Char('/') + Language_Name + QStringLiteral(".lng");
}

const Language_Table& Language_State::Table()
{
    static const Language_Table no_table;
    if (Is_English())
        return no_table;

    const QString path = File_Path();
    const QFileInfo info(path);
    if (!info.isFile()) {
        Drop_Table();
        return no_table;
    }
    const QDateTime time = info.lastModified();
    const qint64 size = info.size();
    if (table_valid_ && table_path_ == path && table_time_ == time && table_size_ == size
        && table_charset_ == Font_Charset)
        return table_;

    Drop_Table();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return no_table;   // unreadable: English, like a missing file
    table_ = Parse_Language_File(file.readAll(), Font_Charset);
    table_path_ = path;
    table_time_ = time;
    table_size_ = size;
    table_charset_ = Font_Charset;
    table_valid_ = true;
    ++table_loads_;
    return table_;
}

void Language_State::Drop_Table()
{
    table_ = {};
    table_path_.clear();
    table_time_ = {};
    table_size_ = -1;
    table_valid_ = false;
}

QString Language_State::Text(const QString& key)
{
    if (Is_English())
        return English_Text(key);
    const std::optional<QString> text = Table().Find(key);
    if (text && !text->isEmpty())
        return *text;
    return English_Text(key);
}

QString Language_State::Menu_Text(const QString& key)
{
    return English_Menu ? English_Text(key) : Text(key);
}

QString Language_State::Wrap_Hint(const QString& text) const
{
    return ::Wrap_Hint(text, Hint_Length);
}

void Language_State::List_Languages()
{
    Languages = {QStringLiteral("English")};
    QDir dir(Folder);
    dir.setNameFilters({QStringLiteral("*.lng")});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    for (const QString& file : dir.entryList()) {
        if (Languages.size() >= Max_Languages)
            break;
        const QString name = file.section(QLatin1Char('.'), 0, 0);
        if (!name.isEmpty())
            Languages.append(name);
    }
}

bool Language_State::Select_Language(const QString& name)
{
    const auto listed = std::find_if(Languages.cbegin(), Languages.cend(), [&](const QString& entry) {
        return entry.compare(name, Qt::CaseInsensitive) == 0;
    });
    const bool found = listed != Languages.cend();
    if (found) {
        English_Menu = false;
        Language_Name = *listed;
    }
    if (Load_Font_Keys)
        Load_Font_Keys(*this);
    Notify(false);
    return found;
}

void Language_State::Set_English_Menu(bool on)
{
    English_Menu = on;
    Notify(true);
}

int Language_State::Add_Listener(Apply_Listener listener)
{
    const int id = next_listener_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void Language_State::Remove_Listener(int id)
{
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void Language_State::Notify(bool frame_only)
{
    // A listener may add or remove listeners while it runs.
    const auto listeners = listeners_;
    for (const auto& entry : listeners)
        if (entry.second)
            entry.second(frame_only);
}

void Language_State::Read_Font_Keys(const Ini_File& ini)
{
    Font_Name = QStringLiteral("Tahoma");
    Font_Charset = 1;
    if (const auto name = ini.Ini_Read_Text(Language_Name + QStringLiteral("_N")))
        Font_Name = *name;
    if (const auto charset = ini.Ini_Read_Int(Language_Name + QStringLiteral("_C")))
        Font_Charset = *charset;
}

void Language_State::Write_Font_Keys(Ini_File& ini)
{
    ini.Ini_Set(Language_Name + QStringLiteral("_N"), Font_Name,
                Menu_Text(QStringLiteral("Language_FontName_Rem")));
    ini.Ini_Set(Language_Name + QStringLiteral("_C"), Font_Charset,
                Menu_Text(QStringLiteral("Language_FontChar_Rem")));
}

QString Wrap_Hint(const QString& text, int width)
{
    if (width <= 0)
        return text;   // no line length to aim at
    QString s = text;
    qsizetype length = s.size();
    const qsizetype lines = length / width + 1;
    const qsizetype target = length / lines;
    QString result;
    while (length > target) {
        // First space at a 1-based position >= target, else the whole rest.
        qsizetype i = s.indexOf(QLatin1Char(' '), std::max<qsizetype>(target, 1) - 1);
        i = i < 0 ? length : i + 1;
        result += s.left(i);
        if (i < length) {
            result += QLatin1Char('\n');
            s.remove(0, i);
        } else {
            s.clear();
        }
        length = s.size();
    }
    return result + s;
}

namespace {

Language_State& Instance()
{
    static Language_State state;
    return state;
}

} // namespace

Language_State& Language() { return Instance(); }

void Reset_Language_State() { Instance() = Language_State(); }

void Set_Language_Folder(const QString& folder)
{
    Instance().Folder = folder;
    Instance().Drop_Table();
}

void Set_Program_Folder(const QString& program_folder)
{
    Set_Language_Folder(program_folder + QStringLiteral("/Language"));
}
