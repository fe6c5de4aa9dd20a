#pragma once

#include <QString>

// File names and folders of configuration files. Pure functions: the
// dialogs and the editor call them, nothing here touches the disk except
// where a function says it looks for a file.

inline constexpr const char* CFG_Extension = ".cfg";
inline constexpr const char* History_Folder_Name = "History";

// A car number as a file name stem: "/" and "\" (path separators here and
// on the workshops' other systems), NUL and other control characters become
// "_", and leading dots become "_" so that the name never means "." or ".."
// or a hidden file. Every other character, blanks included, is kept, so a
// normal car number is unchanged.
QString Car_Num_File_Stem(const QString& car_num);
// The client file name of a car number: safe stem + ".cfg".
QString CFG_Name_For_Car_Num(const QString& car_num);

// Splits a path at its last "/" into folder and name.
struct Path_Parts
{
    QString Folder;
    QString Name;
};
Path_Parts Split_Path(const QString& path);
// A name without its extension (from the last ".").
QString Strip_Extension(const QString& name);

// The Save dialog's choice as it is stored: the name without its extension
// cut to the car number's 8 characters, made safe, plus ".cfg".
QString Save_Name_For_Choice(const QString& chosen_name);

// The current file after a choice in the Load dialog, and the file to read.
struct Load_Choice
{
    QString CFG_File_Path;   // the configuration folder from now on
    QString CFG_File_Name;   // the current file name from now on
    QString Load_Path;       // the file that is read
};
// A history copy (a file in cfg_folder/History/<car>/...) makes <car>.cfg
// in cfg_folder current; "Temp.cfg" leaves the current file as it was, so
// the car keeps its own name; otherwise the chosen folder and name become
// current.
Load_Choice Decide_Load_Choice(const QString& cfg_folder, const QString& current_name, const QString& chosen_path);

// Whether the Save dialog must ask before writing: the stored name differs
// from the chosen one (cut) and a file of the stored name exists. The
// dialog itself asked for the chosen name already.
bool Save_Needs_Overwrite_Question(const QString& folder, const QString& chosen_name, const QString& stored_name);

// The overwrite question before an auto-calibration: the car number was
// edited since the last load or save and its file exists.
bool Overwrite_Question_Needed(bool car_num_edited, const QString& folder, const QString& name);
// Its text: the full file path, then Text("Error_OverWrite").
QString Overwrite_Question_Text(const QString& path, const QString& error_overwrite_text);

// The name the Load dialog proposes: the current name, or "Temp.cfg" when
// the current name is ".cfg" (no car number); empty when that file is not
// in the folder.
QString Load_Dialog_Proposal(const QString& cfg_folder, const QString& current_name);
