#include "language/Quorel_Text.h"

#include <QHash>

namespace {

bool english_menu = false;

const QHash<QString, QString>& Language_En()
{
    static const QHash<QString, QString> table = {
        {"Version", "Version"},
        {"Date", "Date"},
        {"Gas", "Gas"},
        {"GAS", "Gas"},
        {"Petrol", "Petrol"},
        {"PETROL", "Petrol"},
        {"Automat", "Automat"},
        {"Mode", "Mode"},
        {"Connect", "Connect"},
        {"Not_Connect", "Disconnect"},
        {"Open", "Open"},
        {"Close", "Closed"},
        {"No_Port", "No port"},
        {"Search_Port", "Search port"},
        {"Finds_Port", "Port found"},
        {"Receiv", "Receive"},
        {"Transmitt", "Transmit"},
        {"Save", "Save"},
        {"Load", "Load"},
        {"Default", "Default"},
        {"Clear", "Clear"},
        {"Start", "START"},
        {"Stop", "STOP"},
        {"TabSheet_General", "General"},
        {"TabSheet_Configuration", "Config"},
        {"TabSheet_Calibration", "Calibration"},
        {"TabSheet_Oscilloscope", "Oscilloscope"},
        {"TabSheet_AutoCalibration", "Autocalibr."},
        {"TabSheet_Errors", "Errors"},
        {"TabSheet_Settings", "Settings"},
        {"TabSheet_About", "About"},
        {"Error_Transmission", "Data transmission"},
        {"Error_Sure", "Are you sure"},
        {"Error_Message", "Message"},
        {"Error_Yes", "Yes"},
        {"Error_No", "No"},
        {"Error_Cancel", "Cancel"},
        {"Error_Window_Close", "The window will close after"},
        {"Error_Disk_is_full", "Disk is full"},
        {"Error_Folder_not_exist", "folder does not exist"},
        {"Error_File_not_found", "file not found"},
        {"Error_OverWrite", "The file with such name already exists. Overwrite?"},
        {"Dim_Sec_Long", "sec"},
        {"Dim_MS_Short", "ms"},
    };
    return table;
}

} // namespace

QString Text(const QString& key) { return Language_En().value(key); }

QString Menu_Text(const QString& key) { return Text(key); }

void Set_English_Menu(bool on) { english_menu = on; }
