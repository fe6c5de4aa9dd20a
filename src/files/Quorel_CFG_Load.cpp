#include "files/Quorel_CFG_Load.h"

#include "calibration/Quorel_Calibration_Map.h"
#include "config/Quorel_Config_Fields.h"
#include "config/Quorel_Config_Select.h"
#include "config/Quorel_Configuration.h"
#include "config/Quorel_Option_Lists.h"
#include "files/Quorel_CFG_Keys.h"

#include <optional>

namespace {

// The option list a text field must match, if any.
std::optional<Option_List> List_Of(const QString& key)
{
    static const struct
    {
        const char* Key;
        Option_List List;
    } lists[] = {
        {"RPM_Divider", Option_List::RPM_Divider}, {"Inject_Type", Option_List::Inject_Type},
        {"Pump_Type", Option_List::Pump_Type},     {"Level_Type", Option_List::Level_Type},
        {"MAP_Sensor_Type", Option_List::MAP_Sensor_Type}, {"Lambda_Type", Option_List::Lambda_Type},
    };
    for (const auto& entry : lists)
        if (key == QLatin1String(entry.Key))
            return entry.List;
    return std::nullopt;
}

void Read_Identity(const Ini_File& ini, Configuration_Class& config, const Model_Names& model_names)
{
    config.Program_Date = ini.Ini_Read_Text(QStringLiteral("Program_Date")).value_or(QString());
    config.Work_Gas = ini.Ini_Read_Int(QStringLiteral("Work_Gas")).value_or(0);
    config.Work_Petrol = ini.Ini_Read_Int(QStringLiteral("Work_Petrol")).value_or(0);
    config.Program_Version = ini.Ini_Read_Text(QStringLiteral("Program_Version")).value_or(QString());
    config.Set_Program_Name(ini.Ini_Read_Text(QStringLiteral("Program_Name")).value_or(QString()), model_names);
}

void Read_Field(const Ini_File& ini, Configuration_Class& config, const QString& key)
{
    if (const Int_Field_Description* field = Find_Int_Field(key)) {
        if (const std::optional<int> value = ini.Ini_Read_Int(key))
            config.*field->Member = field->Member == &Configuration_Class::GF_ETALON ? (*value & 0xFFFF) : *value;
    } else if (const Flag_Field_Description* flag = Find_Flag_Field(key)) {
        if (const std::optional<bool> value = ini.Ini_Read_Bool(key))
            config.*flag->Member = *value;
    } else if (const Text_Field_Description* text = Find_Text_Field(key)) {
        const std::optional<QString> value = ini.Ini_Read_Text(key);
        if (!value)
            return;
        if (const std::optional<Option_List> list = List_Of(key); list && Option_Position(*list, *value) <= 0)
            return;
        config.*text->Member = *value;
    }
}

void Clear_Car_Data(Configuration_Class& config)
{
    for (const CFG_Key& key : CFG_Keys())
        if (key.Row == CFG_Row_Car)
            if (const Text_Field_Description* text = Find_Text_Field(QLatin1String(key.Key)))
                (config.*text->Member).clear();
}

// The values not stored in the file follow the loaded ones.
void Derive_After_Load(Configuration_Class& config)
{
    Derive_MAP_Sensor_C2_Absolute(config);
    if (const Lambda_Type_Box_Class* lambda =
            Lambda_Type_Entry(Option_Position(Option_List::Lambda_Type, config.Lambda_Type)))
        config.Lambda_Scale = lambda->Scale;
}

}   // namespace

CFG_Load_Scope CFG_Load_Scope_For(bool save_load_data, CFG_Load_Tab visible_tab)
{
    if (save_load_data)
        return CFG_Load_Scope::Everything;
    switch (visible_tab) {
    case CFG_Load_Tab::Configuration:
        return CFG_Load_Scope::Configuration;
    case CFG_Load_Tab::Calibration:
        return CFG_Load_Scope::Calibration;
    case CFG_Load_Tab::Other:
        break;
    }
    return CFG_Load_Scope::Nothing;
}

void Read_CFG_Keys(const Ini_File& ini, Configuration_Class& config, Calibration_Map& map, CFG_Load_Scope scope,
                   bool ecu_connected, const Model_Names& model_names, CFG_Load_Result& result)
{
    if (scope == CFG_Load_Scope::Nothing)
        return;
    if (!ecu_connected)
        Read_Identity(ini, config, model_names);
    const bool read_config = scope == CFG_Load_Scope::Everything || scope == CFG_Load_Scope::Configuration;
    const bool read_map = scope == CFG_Load_Scope::Everything || scope == CFG_Load_Scope::Calibration;
    if (read_config) {
        Clear_Car_Data(config);
        for (const CFG_Key& key : CFG_Keys())
            if (key.Row > CFG_Row_Identity_Last)
                Read_Field(ini, config, QLatin1String(key.Key));
        Derive_After_Load(config);
        result.Config_Read = true;
    }
    if (read_map) {
        map.Read_Map_Keys([&ini](const QString& key) { return ini.Ini_Read_Text(key); });
        result.Map_Read = true;
    }
    // The identity alone still changes what the editor shows.
    if (!ecu_connected)
        result.Config_Read = true;
}

CFG_Load_Result Load_CFG_File(const QString& path, Configuration_Class& config, Calibration_Map& map,
                              CFG_Load_Scope scope, bool ecu_connected, const Model_Names& model_names)
{
    CFG_Load_Result result;
    if (!result.File.Ini_Load(path))
        return result;
    result.Found = true;
    Read_CFG_Keys(result.File, config, map, scope, ecu_connected, model_names, result);
    return result;
}

bool Load_CFG_Car_Data(const QString& path, Configuration_Class& config)
{
    Clear_Car_Data(config);
    Ini_File ini;
    if (!ini.Ini_Load(path))
        return false;
    for (const CFG_Key& key : CFG_Keys())
        if (key.Row == CFG_Row_Car)
            Read_Field(ini, config, QLatin1String(key.Key));
    return true;
}
