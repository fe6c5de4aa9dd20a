#pragma once

#include "config/Quorel_Version.h"
#include "settings/Quorel_Ini.h"

#include <QString>

class Calibration_Map;
class Configuration_Class;

// What a load reads.
enum class CFG_Load_Scope
{
    Everything,      // configuration, car and owner data, calibration points
    Configuration,   // configuration with the car and owner data
    Calibration,     // identity and calibration points
    Nothing,
};

// Tabs that decide the scope while "Save_Load_Data" is off.
enum class CFG_Load_Tab
{
    Configuration,
    Calibration,
    Other,
};

CFG_Load_Scope CFG_Load_Scope_For(bool save_load_data, CFG_Load_Tab visible_tab);

struct CFG_Load_Result
{
    bool Found = false;        // false: the file was not there, nothing changed
    bool Config_Read = false;  // the editor shows the record again
    bool Map_Read = false;     // the calibration view is redrawn
    Ini_File File;             // the file's entries, for the correction grid owner
};

// Reads the record's fields from a parsed file. The identity only while no
// ECU is connected. A missing or invalid value keeps its field, except the
// identity (cleared, or 0 for the counters) and the car and owner data
// (cleared before reading).
void Read_CFG_Keys(const Ini_File& ini, Configuration_Class& config, Calibration_Map& map, CFG_Load_Scope scope,
                   bool ecu_connected, const Model_Names& model_names, CFG_Load_Result& result);

CFG_Load_Result Load_CFG_File(const QString& path, Configuration_Class& config, Calibration_Map& map,
                              CFG_Load_Scope scope, bool ecu_connected, const Model_Names& model_names);

// The car and owner fields of a client file: cleared, then read when the
// file exists. True when it did.
bool Load_CFG_Car_Data(const QString& path, Configuration_Class& config);
