#include "files/Quorel_CFG_Names.h"

#include "config/Quorel_Configuration.h"
#include "files/Quorel_CFG_Save.h"

#include <QDir>
#include <QFileInfo>

QString Car_Num_File_Stem(const QString& car_num)
{
    QString stem;
    stem.reserve(car_num.size());
    for (QChar c : car_num) {
        const char16_t u = c.unicode();
        const bool unsafe = u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == '/' || u == '\\';
        stem.append(unsafe ? QChar('_') : c);
    }
    for (qsizetype i = 0; i < stem.size() && stem.at(i) == QLatin1Char('.'); ++i)
        stem[i] = QLatin1Char('_');
    return stem;
}

QString CFG_Name_For_Car_Num(const QString& car_num)
{
    return Car_Num_File_Stem(car_num) + QLatin1String(CFG_Extension);
}

Path_Parts Split_Path(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {QString(), path};
    return {path.left(slash), path.mid(slash + 1)};
}

QString Strip_Extension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString Save_Name_For_Choice(const QString& chosen_name)
{
    return CFG_Name_For_Car_Num(Strip_Extension(chosen_name).left(Car_Num_Max_Length));
}

Load_Choice Decide_Load_Choice(const QString& cfg_folder, const QString& current_name, const QString& chosen_path)
{
    const QString chosen = QDir::cleanPath(chosen_path);
    const Path_Parts parts = Split_Path(chosen);
    if (parts.Name.compare(QLatin1String(Temp_CFG_Name), Qt::CaseInsensitive) == 0)
        return {cfg_folder, current_name, chosen};

    // Only the History folder directly below the configuration folder, with
    // the car's own folder inside it.
    const QString history = QDir::cleanPath(cfg_folder) + QLatin1Char('/') + QLatin1String(History_Folder_Name) +
                            QLatin1Char('/');
    if (!cfg_folder.isEmpty() && parts.Folder.startsWith(history)) {
        const QString car = parts.Folder.mid(history.size()).section(QLatin1Char('/'), 0, 0);
        if (!car.isEmpty())
            return {cfg_folder, car + QLatin1String(CFG_Extension), chosen};
    }
    return {parts.Folder, parts.Name, chosen};
}

bool Save_Needs_Overwrite_Question(const QString& folder, const QString& chosen_name, const QString& stored_name)
{
    return chosen_name != stored_name && QFileInfo::exists(folder + QLatin1Char('/') + stored_name);
}

bool Overwrite_Question_Needed(bool car_num_edited, const QString& folder, const QString& name)
{
    return car_num_edited && QFileInfo(folder + QLatin1Char('/') + name).isFile();
}

QString Overwrite_Question_Text(const QString& path, const QString& error_overwrite_text)
{
    return QDir::toNativeSeparators(path) + QLatin1Char('\n') + error_overwrite_text;
}

QString Load_Dialog_Proposal(const QString& cfg_folder, const QString& current_name)
{
    const QString name = current_name == QLatin1String(CFG_Extension) ? QString::fromLatin1(Temp_CFG_Name) : current_name;
    return QFileInfo(cfg_folder + QLatin1Char('/') + name).isFile() ? name : QString();
}
