#include "config/Quorel_Version.h"

#include "config/Quorel_Configuration.h"

#include <optional>

namespace {

// Digits only; more than six digits is not a version.
std::optional<int> Whole_Number(const QString& text)
{
    if (text.isEmpty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString Squeezed_Upper(const QString& name)
{
    QString squeezed = name;
    squeezed.remove(QLatin1Char(' '));
    return squeezed.toUpper();
}

}   // namespace

int Derive_Version_Number(const QString& program_name, const QString& program_version)
{
    if (program_name.isEmpty())
        return 0;
    const qsizetype dot = program_version.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return Whole_Number(program_version).value_or(0);
    const std::optional<int> major = Whole_Number(program_version.left(dot));
    const std::optional<int> minor = Whole_Number(program_version.mid(dot + 1));
    if (!major || !minor)
        return 0;
    return *major * 100 + *minor;
}

bool Version_In_Family(int version_number)
{
    return (version_number >= 400 && version_number <= 499) || (version_number >= 600 && version_number <= 699) ||
           (version_number >= 800 && version_number <= 899);
}

bool Version_Minor_At_Least(int version_number, int minor)
{
    return Version_In_Family(version_number) && version_number % 100 >= minor;
}

bool Version_Has_Restart_Press_Drop(int version_number) { return Version_Minor_At_Least(version_number, 15); }
bool Version_Has_Hydr_Cond_And_Delay(int version_number) { return Version_Minor_At_Least(version_number, 16); }
bool Version_Has_2Fuel(int version_number) { return Version_Minor_At_Least(version_number, 17); }
bool Version_Has_2Fuel_Delay(int version_number) { return Version_Minor_At_Least(version_number, 19); }

int Inject_Num_Max(int version_number)
{
    if (version_number >= 400 && version_number <= 499)
        return 4;
    if (version_number >= 600 && version_number <= 699)
        return 6;
    return 8;
}

QString Normalise_Program_Name(const QString& name, const Model_Names& model_names)
{
    if (name.isEmpty())
        return name;
    const QString squeezed = Squeezed_Upper(name);
    if (squeezed == QLatin1String("QGSTREAMLG4") || squeezed == QLatin1String("QGSTREAMLG44"))
        return model_names[0];
    if (squeezed == QLatin1String("QGSTREAMLG6"))
        return model_names[1];
    if (squeezed == QLatin1String("QGSTREAMLG8"))
        return model_names[2];
    for (const QString& model : model_names)
        if (!model.isEmpty() && squeezed == Squeezed_Upper(model))
            return model;
    return QString::fromLatin1(Unknown_Program_Name);
}

int Configuration_Class::*Two_Fuel_Temperature_Field(int version_number)
{
    return Version_Has_2Fuel_Delay(version_number) ? &Configuration_Class::GPG_2Fuel_Delay
                                                   : &Configuration_Class::GPG_2Fuel_Temp;
}
