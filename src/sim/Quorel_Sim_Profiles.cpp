#include "sim/Quorel_Sim_Profiles.h"

#include "sim/Quorel_Sim_Parameters.h"

namespace Sim_Profiles
{

namespace
{
struct Profile_Entry
{
    const char* version;
    const char* name;
    const char* date;
    std::array<quint16, 12> w;
};

// Geometries stay within one 1024-byte frame.
const Profile_Entry profiles[] = {
    {"4.15", "QGstreamLG4", "05.06.2016", {1, 500, 125, 19, 0, 1000, 23, 0, 0, 600, 100, 11}},
    {"4.19", "QGstreamLG4", "12.03.2019", {1, 500, 125, 19, 0, 1000, 23, 0, 0, 600, 100, 11}},
    {"6.05", "QGstreamLG6", "17.01.2017", {1, 400, 100, 15, 0, 1250, 19, 0, 0, 800, 100, 9}},
    {"6.16", "QGstreamLG6", "22.09.2018", {1, 400, 100, 15, 500, 1000, 19, 0, 0, 800, 100, 9}},
    {"8.20", "QGstreamLG8", "30.04.2020", {1, 500, 125, 19, 0, 750, 27, 0, 0, 600, 100, 11}},
};
}

QStringList Names()
{
    QStringList names;
    for (const auto& p : profiles)
        names << QString::fromLatin1(p.version);
    return names;
}

int Config_Length_For(const QString& version_text)
{
    return 2 * int(Sim_Parameters::Codes(Sim_Parameters::Version_Number(version_text)).size());
}

std::optional<Sim_Ecu_Config> Profile(const QString& name)
{
    for (const auto& p : profiles) {
        if (name != QLatin1String(p.version))
            continue;
        Sim_Ecu_Config config;
        config.Program_Version = QString::fromLatin1(p.version);
        config.Program_Name = QString::fromLatin1(p.name);
        config.Program_Date = QString::fromLatin1(p.date);
        config.Config_Length = quint8(Config_Length_For(config.Program_Version));
        config.W = p.w;
        return config;
    }
    return std::nullopt;
}

void Make_Too_New(Sim_Ecu_Config& config)
{
    if (config.Ident_Code < 7)
        config.Ident_Code = 7;
}

}
