#pragma once

#include "files/Quorel_CFG_Load.h"
#include "files/Quorel_CFG_Save.h"

#include <QString>

#include <functional>

class Quorel_Context;

// The configuration file as the program uses it: saving and loading the
// current file, the car number read from the ECU naming the client file,
// and the sequencer's file steps (commands 54, 70, 73, 77, conditions 202
// and 203, requests 9 and 11). Errors go to the message window.
class CFG_Actions
{
public:
    explicit CFG_Actions(Quorel_Context& context);
    CFG_Actions(const CFG_Actions&) = delete;
    CFG_Actions& operator=(const CFG_Actions&) = delete;

    // Saves Config_Data and the map into the current file.
    CFG_Save_Result Save();
    // Loads a file (the current one when path is empty) with the scope the
    // settings and the visible tab give. True when the file was there.
    bool Load(const QString& path = QString());
    // The file the Load dialog chose: at once without an ECU, through the
    // sequencer (request 9) with one, then transmitted when "Transmit_Now"
    // is on.
    void Load_Chosen(const QString& path);
    // Save key and button: at once without an ECU, request 11 with one.
    // Without a current file name (no car number) the Save dialog asks for
    // one first; cancelled, nothing is saved.
    void Save_Requested();
    // The Save dialog: true when a name was chosen and made current.
    std::function<bool()> Choose_Save_Name;

    // At start-up, after the defaults: the last used file.
    void Load_Last_File(Configuration_Class& config);

    // The car number read from the ECU: empty clears the current file name,
    // otherwise the client file of that number becomes current and its car
    // and owner data are read again.
    void Car_Number_Read(const QString& car_num);

    // A configuration value has been sent to the ECU in this run.
    bool Values_Written = false;

    // Which tab is visible (loading with "Save_Load_Data" off); the date a
    // save stamps. Tests replace them.
    std::function<CFG_Load_Tab()> Visible_Tab;
    std::function<QString()> Date_Today;
    // Error word of the last live data (the error keys of a save).
    std::function<int()> Error_Word;

private:
    QString Current_Stem() const;
    // Condition 203: a file name is set and values were written this run.
    bool Save_After_Write() const;
    CFG_Load_Scope Load_Scope() const;
    void Report(const QString& error);

    Quorel_Context& context_;
    QString chosen_path_;
};
