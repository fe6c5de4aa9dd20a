#include "config/Quorel_Configuration.h"

void Configuration_Class::Set_Program_Name(const QString& name, const Model_Names& model_names)
{
    Program_Name = Normalise_Program_Name(name, model_names);
    Version_Number = Derive_Version_Number(Program_Name, Program_Version);
}

void Configuration_Class::Set_Program_Version(const QString& version)
{
    Program_Version = version;
    Version_Number = Derive_Version_Number(Program_Name, Program_Version);
}
