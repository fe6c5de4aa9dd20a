#pragma once

#include "files/Quorel_CFG_Names.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;
class Settings_Class;

// The Load and Save dialogs of configuration files. Each makes the chosen
// file current (settings written); the caller then loads or saves.

// What the dialogs show; the defaults are a QFileDialog with the filter
// "configuration files (*.cfg)" and a warning box with Yes and No.
struct CFG_Dialog_Shell
{
    // The chosen full path, or nothing when cancelled.
    std::function<std::optional<QString>(QWidget* parent, const QString& folder, const QString& proposal, bool save)>
        Choose_File;
    // True for Yes.
    std::function<bool(QWidget* parent, const QString& question)> Ask;
};
CFG_Dialog_Shell Default_CFG_Dialog_Shell();

// Returns the choice, or nothing when cancelled. Read choice.Load_Path.
std::optional<Load_Choice> Run_CFG_Load_Dialog(QWidget* parent, Settings_Class& settings,
                                               const CFG_Dialog_Shell& shell = Default_CFG_Dialog_Shell());

// Returns the stored name (cut to the car number's length, ".cfg"), or
// nothing when cancelled. When the cut name is another existing file, the
// overwrite question is asked first; No opens the dialog again.
std::optional<QString> Run_CFG_Save_Dialog(QWidget* parent, Settings_Class& settings,
                                           const CFG_Dialog_Shell& shell = Default_CFG_Dialog_Shell());

// Before an auto-calibration: asks Text("Error_OverWrite") when the car
// number was edited and its file exists; No opens the Save dialog. The
// current folder and name are written to the settings in either case.
// False when the Save dialog was cancelled.
bool Confirm_CFG_Overwrite(QWidget* parent, Settings_Class& settings, bool car_num_edited,
                           const CFG_Dialog_Shell& shell = Default_CFG_Dialog_Shell());
