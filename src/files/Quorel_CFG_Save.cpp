#include "files/Quorel_CFG_Save.h"

#include "calibration/Quorel_Calibration_Map.h"
#include "config/Quorel_Config_Fields.h"
#include "config/Quorel_Configuration.h"
#include "files/Quorel_CFG_Keys.h"
#include "language/Quorel_Language_En.h"
#include "language/Quorel_Text.h"
#include "settings/Quorel_Ini.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

namespace {

QString Lookup(const CFG_Save_Options& options, const QString& key)
{
    return options.Text ? options.Text(key) : English_Text(key);
}

void Set_Record_Key(Ini_File& ini, const Configuration_Class& config, const CFG_Key& key,
                    const CFG_Save_Options& options)
{
    const QString name = QLatin1String(key.Key);
    // Only the identity rows carry language remarks.
    const QString remark = key.Row <= CFG_Row_Identity_Last ? Lookup(options, name + QStringLiteral("_Rem")) : QString();
    if (const Int_Field_Description* field = Find_Int_Field(name)) {
        ini.Ini_Set(name, config.*field->Member, remark);
    } else if (const Flag_Field_Description* flag = Find_Flag_Field(name)) {
        ini.Ini_Set(name, config.*flag->Member, remark);
    } else if (const Text_Field_Description* text = Find_Text_Field(name)) {
        ini.Ini_Set(name, config.*text->Member, remark);
    } else {
        Q_ASSERT_X(false, "Set_Record_Key", key.Key);
    }
}

struct Error_Key
{
    int Bit;
    const char* Key;
    const char* Text_Key;
    const char* Remark;
};

const Error_Key Error_Keys[] = {
    {0, "ERROR_TempAUX1", "Memo_ERR_TempAUX1", "AUX-1 temperature sensor"},
    {1, "ERROR_PressInject", "Memo_ERR_PressInject", "Injection pressure sensor"},
    {3, "ERROR_Short_Circuit", "Memo_ERR_ShortCircuit", "Short circuit gas injectors"},
};

CFG_Save_Result Save_Atomic(const Ini_File& ini, const QString& path)
{
    CFG_Save_Result result;
    result.Path = path;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.Error = file.errorString();
        return result;
    }
    const QByteArray bytes = ini.Serialise();
    if (file.write(bytes) != bytes.size()) {
        result.Error = file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.Error = file.errorString();
        return result;
    }
    result.Ok = true;
    return result;
}

}   // namespace

std::function<QString(const QString&)> CFG_Text_Lookup(bool english_menu)
{
    if (english_menu)
        return [](const QString& key) { return English_Text(key); };
    return [](const QString& key) { return Text(key); };
}

void Write_CFG_Keys(Ini_File& ini, const Configuration_Class& config, const Calibration_Map& map,
                    const CFG_Save_Options& options)
{
    const auto keys = CFG_Keys();
    auto it = keys.begin();
    // Rows 1 .. 16.
    for (; it != keys.end() && it->Row <= 16; ++it)
        Set_Record_Key(ini, config, *it, options);
    // Row 17: the errors of the last live data.
    for (const Error_Key& error : Error_Keys)
        if (options.Error_Word & (1 << error.Bit))
            ini.Ini_Set(QLatin1String(error.Key), Lookup(options, QLatin1String(error.Text_Key)),
                        QLatin1String(error.Remark));
    // Row 18: the correction grids.
    for (const CFG_Grid_Cell& cell : options.Grids)
        ini.Ini_Set(cell.Key, cell.Value, QString());
    // Row 19.
    for (; it != keys.end(); ++it)
        Set_Record_Key(ini, config, *it, options);
    // Row 20: the calibration points.
    for (const Calibration_Map::Map_Key& point : map.Map_Keys())
        ini.Ini_Set(point.Key, int(point.Value), point.Comment);
}

CFG_Save_Result Save_CFG_File(const QString& path, Configuration_Class& config, const Calibration_Map& map,
                              const QString& date_save, const CFG_Save_Options& options)
{
    Ini_File ini;
    if (!ini.Ini_Open_For_Write(path)) {
        // The file exists but cannot be read: writing would lose its keys.
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        CFG_Save_Result result;
        result.Path = path;
        result.Error = file.errorString();
        return result;
    }
    Configuration_Class saved = config;
    saved.Date_Save = date_save;
    Write_CFG_Keys(ini, saved, map, options);
    CFG_Save_Result result = Save_Atomic(ini, path);
    if (result.Ok)
        config.Date_Save = date_save;
    return result;
}

QString CFG_Save_Folder(const QString& cfg_file_path, const QString& program_folder, QString* error)
{
    if (!cfg_file_path.isEmpty() && QFileInfo(cfg_file_path).isDir())
        return cfg_file_path;
    const QString folder = program_folder + QStringLiteral("/Config");
    std::error_code code;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdString()), code);
    if (!code && QFileInfo(folder).isDir())
        return folder;
    if (error)
        *error = QString::fromStdString(code ? code.message() : std::string("Not a directory"));
    return QString();
}

CFG_Save_Result Write_Temp_CFG(const QString& cfg_file_path, const QString& program_folder,
                               const Configuration_Class& config, const Calibration_Map& map,
                               const CFG_Save_Options& options)
{
    CFG_Save_Result result;
    // The set folder is created when missing; without one the program's own.
    QString folder;
    if (!cfg_file_path.isEmpty() && QDir().mkpath(cfg_file_path))
        folder = cfg_file_path;
    else
        folder = CFG_Save_Folder(QString(), program_folder, &result.Error);
    if (folder.isEmpty())
        return result;
    Ini_File ini;
    Write_CFG_Keys(ini, config, map, options);
    return Save_Atomic(ini, folder + QLatin1Char('/') + QLatin1String(Temp_CFG_Name));
}

QString CFG_Date_Today() { return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat); }
