#pragma once

#include "config/Quorel_Version.h"
#include "files/Quorel_CFG_Load.h"
#include "files/Quorel_CFG_Save.h"

#include <QString>

class Settings_Class;

// The current configuration file: the settings "CFG_File_Path" and
// "CFG_File_Name".

// Makes folder and name current and writes both keys to the settings file
// with their remarks. False when the settings file could not be written
// (the record still holds the new values).
bool Store_Current_CFG(Settings_Class& settings, const QString& folder, const QString& name);

// Full path of the current file.
QString Current_CFG_Path(const Settings_Class& settings);

// Saves the record into the current file: the folder falls back to the
// program folder + "/Config" when it does not exist (and the setting
// follows), Date_Save becomes date_save on success. A current name that
// is not a plain file name is refused.
CFG_Save_Result Save_Current_CFG(Settings_Class& settings, Configuration_Class& config, const Calibration_Map& map,
                                 const QString& date_save, const CFG_Save_Options& options);

// Loads the current file (at start-up, or after the Load dialog made the
// chosen file current; then pass its Load_Path instead).
CFG_Load_Result Load_Current_CFG(const Settings_Class& settings, Configuration_Class& config, Calibration_Map& map,
                                 CFG_Load_Scope scope, bool ecu_connected, const Model_Names& model_names);
