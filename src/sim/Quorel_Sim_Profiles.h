#pragma once

#include "sim/Quorel_Sim_Config.h"

#include <QStringList>

#include <optional>

// Ready-made firmware versions: model name, parameter count and correction
// table geometry that belong together.
namespace Sim_Profiles
{
QStringList Names();
// The profile of that version text ("4.15", "4.19", "6.05", "6.16", "8.20").
std::optional<Sim_Ecu_Config> Profile(const QString& name);
// Configuration length byte of a version: two bytes per parameter code.
int Config_Length_For(const QString& version_text);
// An ECU whose firmware needs a newer program (identification code 7).
void Make_Too_New(Sim_Ecu_Config& config);
}
