#include "config/Quorel_Config_Defaults.h"

#include "config/Quorel_Config_Fields.h"

void Set_Config_Defaults(Configuration_Class& config, bool ecu_connected, const Model_Names& model_names)
{
    if (!ecu_connected) {
        config.Program_Version.clear();
        config.Program_Date.clear();
        config.Work_Gas = 0;
        config.Work_Petrol = 0;
        config.Set_Program_Name(QStringLiteral("Mirabo"), model_names);
    }
    for (const Text_Field_Description& field : Text_Fields())
        if (field.Rule == Field_Default::Defaults)
            config.*field.Member = QString::fromUtf8(field.Default);
    for (const Int_Field_Description& field : Int_Fields())
        if (field.Rule == Field_Default::Defaults)
            config.*field.Member = field.Default;
    for (const Flag_Field_Description& field : Flag_Fields())
        if (field.Rule == Field_Default::Defaults)
            config.*field.Member = field.Default;
}

void Start_Up_Config(Configuration_Class& config, const Model_Names& model_names,
                     const std::function<void(Configuration_Class&)>& load_last_file)
{
    config = Configuration_Class{};
    Set_Config_Defaults(config, false, model_names);
    if (load_last_file)
        load_last_file(config);
    config.Inject_Num = Start_Up_Inject_Num;
    config.MAP_OffSet = Start_Up_MAP_OffSet;
    config.GF_ETALON = Start_Up_GF_ETALON;
}
