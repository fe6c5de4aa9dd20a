#pragma once

#include <QString>

#include <functional>
#include <vector>

class Calibration_Map;
class Configuration_Class;
class Ini_File;

// One cell of a correction grid as the file holds it ("Cor_Factor_c_r" and
// the like); the grid owner supplies them.
struct CFG_Grid_Cell
{
    QString Key;
    QString Value;
};

struct CFG_Save_Options
{
    // Language lookup for this save: remarks and error texts. English while
    // "English_Menu" is on (see CFG_Text_Lookup). Null: English.
    std::function<QString(const QString&)> Text;
    // Error word of the last live data: bits 0, 1 and 3 add the error keys.
    int Error_Word = 0;
    std::vector<CFG_Grid_Cell> Grids;
};

// The lookup a save uses: English while "English_Menu" is on, else the
// selected language.
std::function<QString(const QString&)> CFG_Text_Lookup(bool english_menu);

// Sets every key of a configuration file in order: existing keys are
// replaced in place, new ones appended, unknown ones left alone.
void Write_CFG_Keys(Ini_File& ini, const Configuration_Class& config, const Calibration_Map& map,
                    const CFG_Save_Options& options);

struct CFG_Save_Result
{
    bool Ok = false;
    QString Error;   // the system's error text when not Ok
    QString Path;    // the file written
};

// Saves the record into path, keeping what the file held (unknown keys in
// place). The old file is replaced atomically: on failure it stays as it
// was, and config is unchanged. On success config.Date_Save becomes
// date_save. The caller makes the history copy only after a success.
CFG_Save_Result Save_CFG_File(const QString& path, Configuration_Class& config, const Calibration_Map& map,
                              const QString& date_save, const CFG_Save_Options& options);

// The configuration folder a save uses: the set folder when it exists,
// otherwise program folder + "/Config", created when missing. Empty with
// error set when it cannot be created.
QString CFG_Save_Folder(const QString& cfg_file_path, const QString& program_folder, QString* error);

inline constexpr const char* Temp_CFG_Name = "Temp.cfg";

// Before a firmware upload: a fresh "Temp.cfg" in the configuration folder
// (created when missing) from the record as it is, nothing merged. An old
// "Temp.cfg" is replaced only once the new one is complete.
CFG_Save_Result Write_Temp_CFG(const QString& cfg_file_path, const QString& program_folder,
                               const Configuration_Class& config, const Calibration_Map& map,
                               const CFG_Save_Options& options);

// Today's date as the file's Date_Save: the system's short date format.
QString CFG_Date_Today();
