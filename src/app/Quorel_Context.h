#pragma once

#include "app/Quorel_Clock.h"
#include "app/Quorel_Status_Panels.h"
#include "app/Quorel_Timer.h"
#include "link/Quorel_Connect.h"
#include "link/Quorel_Frame.h"
#include "link/Quorel_Identification.h"
#include "calibration/Quorel_Calibration_Map.h"
#include "config/Quorel_Configuration.h"
#include "monitor/Quorel_Live_Data.h"
#include "monitor/Quorel_Temperature_Table.h"
#include "link/Quorel_Serial.h"
#include "settings/Quorel_Settings.h"

#include <QObject>

#include <functional>
#include <memory>

// The program's single records, created once by the main window's creation
// step and handed by reference to everything else. A test makes its own.
class CFG_Actions;
class Calibration_Actions;
class Link_Quality;
class Live_Decoder;
class Live_Monitor;
class Message_Window;
class Port_Search;
class Sequencer;

class Quorel_Context : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* Program_Version = "1.19";
    static constexpr const char* Program_Date = "2014.02.11";

    Quorel_Context(Quorel_Clock& clock, std::unique_ptr<Serial_Port> port, const QString& program_folder,
                   const QString& program_name);
    ~Quorel_Context() override;

    Quorel_Clock& Clock;
    Settings_Class App_Settings;
    std::unique_ptr<Serial_Port> ComPort;

    // Main-window timers with their designed intervals.
    Quorel_Timer Timer_Sending;
    Quorel_Timer Timer_Connect;
    Quorel_Timer Timer_Check_Tx;
    Quorel_Timer Timer_Connect_Stabil;
    Quorel_Timer Timer_Wait;
    Quorel_Timer Timer_Resize;
    Quorel_Timer Timer_Error;
    Quorel_Timer Timer_Short_Pulse;
    Quorel_Timer Timer_Led_Automat;
    Quorel_Timer Timer_Transmit_Now;
    Quorel_Timer Timer_Transmit_Save;
    Quorel_Timer Timer_OSC_Record;
    Quorel_Timer Timer_ACB_View;
    Quorel_Timer Timer_Cut_Off;
    Quorel_Timer Timer_KnikPoint;

    Frame_Exchange Frames;
    std::unique_ptr<Link_Supervisor> Supervisor;
    std::unique_ptr<Link_Quality> Quality;
    std::unique_ptr<Sequencer> Sequence;
    std::unique_ptr<Message_Window> Messages;
    std::unique_ptr<Port_Search> Search;

    // The connected ECU as its identification block describes it.
    Identification_Class Identification;

    // Live values of the last answer to 0x31, and their decoding.
    Live_Data_Record Live_Data;
    Temperature_Table Temperatures;
    std::unique_ptr<Live_Decoder> Live;
    // Status messages, error list and dashboard fed by the decoding.
    std::unique_ptr<Live_Monitor> Monitor;

    Calibration_Map Calibration;
    std::unique_ptr<Calibration_Actions> CLB_Actions;
    Configuration_Class Config_Data;
    // The current configuration file: saving, loading, the car number.
    std::unique_ptr<CFG_Actions> CFG_Files;
    // The auto-calibration's entry after each configuration write.
    std::function<void()> After_Configuration_Write;

    // Link state
    bool Link_Open = false;
    bool ECU_Connected = false;
    bool Loader_Mode = false;
    int Pending_Request = 0;
    int Work_Mode = 2;   // "Automat"

    // Status panels
    Panel_State Panel_PortStatus;
    Panel_State Panel_ConnectStatus;
    Panel_State Panel_ProtokolStatus;
    Panel_State Panel_ConnectStatus_PerCent;
    void Panels_Changed() { Q_EMIT Panels_Updated(); }

    QString Help_Folder() const;
    QString Language_Folder() const;

    // Config_Data changed as a whole (read from the ECU, loaded, defaults):
    // whoever shows it refreshes.
    void Config_Changed() { Q_EMIT Config_Updated(); }

Q_SIGNALS:
    void Panels_Updated();
    void Config_Updated();
};
