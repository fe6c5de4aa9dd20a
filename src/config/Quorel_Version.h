#pragma once

#include <QString>

#include <array>

// The ECU's firmware version as one number: major × 100 + minor (4.17 is
// 417). The hundreds digit names the family (4, 6 or 8 cylinders), the two
// last digits (the minor) decide which parameters and features exist.

// From the version text and the model name: 0 for an empty model name or a
// text that is not a number; a text without "." is a whole number.
int Derive_Version_Number(const QString& program_name, const QString& program_version);

// 400..499, 600..699 or 800..899: the parameters 'A'..'k' are exchanged.
bool Version_In_Family(int version_number);
// True only inside a family and with at least this minor.
bool Version_Minor_At_Least(int version_number, int minor);

// Minor >= 15: GP_PressInit is the minimum restart pressure drop.
bool Version_Has_Restart_Press_Drop(int version_number);
// Minor >= 16: hydraulic conditioning and the manual injection delay.
bool Version_Has_Hydr_Cond_And_Delay(int version_number);
// Minor >= 17: the dual-fuel function.
bool Version_Has_2Fuel(int version_number);
// Minor >= 19: the dual-fuel temperature control edits GPG_2Fuel_Delay.
bool Version_Has_2Fuel_Delay(int version_number);

// Largest Inject_Num: 4 for 4xx, 6 for 6xx, 8 otherwise.
int Inject_Num_Max(int version_number);

// The three model names of App_Settings (4, 6 and 8 cylinders).
using Model_Names = std::array<QString, 3>;

inline constexpr const char* Unknown_Program_Name = "Unknow";

// Spaces removed and upper-cased, then the firmware names become the model
// names; anything else becomes "Unknow", an empty name stays empty. A model
// name itself is kept, so a name read back from a saved file survives.
QString Normalise_Program_Name(const QString& name, const Model_Names& model_names);

class Configuration_Class;
// The field the dual-fuel temperature control edits: GPG_2Fuel_Delay
// (0..255) from minor 19 on, GPG_2Fuel_Temp (30..120) below.
int Configuration_Class::*Two_Fuel_Temperature_Field(int version_number);
