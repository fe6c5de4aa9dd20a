#include "files/Quorel_CFG_Current.h"

#include "files/Quorel_CFG_Names.h"
#include "settings/Quorel_Ini.h"
#include "settings/Quorel_Settings.h"

#include <QCoreApplication>

namespace {

QString Remark_Of(const Settings_Class& settings, const QString& key)
{
    if (settings.English_Menu || !settings.Remark_Text)
        return QString();
    return settings.Remark_Text(key + QStringLiteral("_Rem"));
}

bool Plain_File_Name(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0)) &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

}   // namespace

bool Store_Current_CFG(Settings_Class& settings, const QString& folder, const QString& name)
{
    settings.CFG_File_Path = folder;
    settings.CFG_File_Name = name;
    Ini_File ini;
    if (!ini.Ini_Open_For_Write(settings.File_Path()))
        return false;
    ini.Ini_Set(QStringLiteral("CFG_File_Path"), folder, Remark_Of(settings, QStringLiteral("CFG_File_Path")));
    ini.Ini_Set(QStringLiteral("CFG_File_Name"), name, Remark_Of(settings, QStringLiteral("CFG_File_Name")));
    return ini.Ini_Save(settings.File_Path());
}

QString Current_CFG_Path(const Settings_Class& settings)
{
    return settings.CFG_File_Path + QLatin1Char('/') + settings.CFG_File_Name;
}

CFG_Save_Result Save_Current_CFG(Settings_Class& settings, Configuration_Class& config, const Calibration_Map& map,
                                 const QString& date_save, const CFG_Save_Options& options)
{
    CFG_Save_Result result;
    if (!Plain_File_Name(settings.CFG_File_Name)) {
        result.Error = QCoreApplication::translate("CFG", "Not a file name: %1").arg(settings.CFG_File_Name);
        return result;
    }
    const QString folder = CFG_Save_Folder(settings.CFG_File_Path, settings.Program_Folder(), &result.Error);
    if (folder.isEmpty())
        return result;
    settings.CFG_File_Path = folder;
    return Save_CFG_File(folder + QLatin1Char('/') + settings.CFG_File_Name, config, map, date_save, options);
}

CFG_Load_Result Load_Current_CFG(const Settings_Class& settings, Configuration_Class& config, Calibration_Map& map,
                                 CFG_Load_Scope scope, bool ecu_connected, const Model_Names& model_names)
{
    return Load_CFG_File(Current_CFG_Path(settings), config, map, scope, ecu_connected, model_names);
}
