#pragma once

#include <QString>

#include <array>
#include <functional>

class Ini_File;

// App_Settings: the one settings record, kept in program name + ".ini" in
// the program folder.
class Settings_Class
{
public:
    // Program folder and name, fixed at start (the folder is the working
    // folder at the moment the main window is created).
    Settings_Class(const QString& program_folder, const QString& program_name);

    QString Program_Folder() const { return program_folder_; }
    QString Program_Name() const { return program_name_; }
    QString File_Path() const;   // program folder + "/" + program name + ".ini"
    bool Is_Ambrisol() const;    // program name equals "Ambrisol", letter case ignored

    // Ranges of the Settings tab controls; file values are clamped to them.
    static constexpr int Reply_Delay_Min = 1, Reply_Delay_Max = 999;
    static constexpr int Delay_Compensation_Min = 1, Delay_Compensation_Max = 999;
    static constexpr int Delay_Step = 5;
    static constexpr int Hint_Length_Min = 10, Hint_Length_Max = 200;
    static constexpr int Page_Number_Min = 0, Page_Number_Max = 7;
    static constexpr int Reply_Delay_Default = 60;

    // Core keys
    QString Port_Name = "COM1";
    bool Search_Port = false;
    int Reply_Delay = Reply_Delay_Default;   // 1 .. 999 ms
    int Delay_Compensation = 100;   // 1 .. 999 ms
    bool Save_Load_Data = true;
    bool Transmit_Now = false;
    int Position_Top = 0;
    int Position_Left = 0;
    bool Full_Screen = true;
    int Page_Number = 0;            // 0 .. 7
    bool Form_Style = false;
    bool CheckPassword = false;
    QString CFG_File_Path;
    QString CFG_File_Name;
    QString OSC_File_Path;
    QString OSC_File_Name;

    // Language keys
    QString Language = "English";
    bool English_Menu = false;
    bool Show_Hint = true;
    int Hint_Length = 30;

    // Branding, edited by hand only
    QString Title_Text;
    int Logo_Top = 2;
    int Logo_Width = 20;
    int Logo_Height = 30;
    std::array<QString, 3> Name_Block_PIC = {"KYT-4", "KYT-6", "KYT-8"};

    // The port name read at start: the preferred port of the first search.
    QString Preferred_Port;
    // False after a load found no file; true again after the next write.
    bool Load_Available = true;

    // Text of a remark key (key + "_Rem") in the selected language. Not
    // asked while "English_Menu" is on: English has no remark texts.
    std::function<QString(const QString&)> Remark_Text;

    // All defaults, then the file.
    void Settings_Create();
    // Every default except "Port_Name", "CheckPassword", "Language" and the
    // branding values.
    void Settings_Defaults();
    // Returns whether the file existed.
    bool Settings_Read();
    // At exit: every key of the exit list. Returns false when the file
    // could not be written.
    bool Settings_Write();
    // The Settings tab's "Save": adds the file keys.
    bool Settings_Save();

private:
    void Read_From(const Ini_File& ini);
    bool Write(bool with_file_keys);
    QString Remark(const QString& key) const;

    QString program_folder_;
    QString program_name_;
};
