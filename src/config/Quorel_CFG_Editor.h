#pragma once

#include "config/Quorel_Configuration.h"
#include "config/Quorel_Option_Lists.h"

#include <QObject>
#include <QString>

#include <functional>

class Quorel_Context;

// The Configuration tab's behaviour without its widgets: every user change
// is limited to its range, keeps its coupled partner, lands in Config_Data
// and, with "Transmit_Now", is sent shortly afterwards with its companion
// codes. Transfers are asked for through Pending_Request only.

// Injection modes of the three radio buttons.
enum class Injection_Mode
{
    Sequential,
    Non_Sequential,
    Mono,
};
Injection_Mode Injection_Mode_Of(const Configuration_Class& config);

// Which controls the state of the record lets the user edit. A disabled
// control keeps its value.
struct CFG_Enabling
{
    bool RPM_Threshold = true;     // threshold, its label, the RPM diagnostics
    bool RPM_Filter = true;        // filter time
    bool GP_PressMore = true;
    bool GP_PressLess = true;
    bool GP_PressLow_Fields = true;
    bool GPG_RPM_Temp_Fields = true;
    bool GPG_RPM_Idle = true;
    bool GPG_CutOff_Cycles = true;
    bool GPG_2Fuel_Box = true;
    bool GPG_2Fuel_Fields = true;
    bool GPG_2Fuel_Temperature = true;
    bool PG_GAS_Accident_Num = true;
    bool Pump_Dry_Fields = true;
    bool Pump_Hydr_Cond_Box = true;
    bool Pump_Hydr_Cond_Times = true;
    bool Sequential_Boxes = true;   // short pulse processing, Mazda mode, manual delay
    bool Petrol_Pass_Box = true;
    bool Petrol_Filter_Fields = true;
    bool MAZDA_Factor = true;
    bool Inject_Delay_Box = true;
    bool Inject_Delay_Value = true;
    bool Inject_Another_Fields = true;   // start pulse, duty cycle, frequency
    bool Level_Sliders = true;
    bool Level_Software = false;
    bool Priming_Table = true;
    bool Priming_Time = true;
};
CFG_Enabling Enabling_Rules(const Configuration_Class& config, bool temperature_sensor_valid);

// The temperature sensor is valid while bit 0 of the live error word is clear.
inline bool Temperature_Sensor_Valid(int live_errors) { return (live_errors & 1) == 0; }

// The parameter code an immediate transmission sends for a field; 0: none.
int Parameter_Code_Of(int Configuration_Class::*member);
int Parameter_Code_Of(bool Configuration_Class::*member);

// Injector number one step on: by 2 with pairs in parallel, never 7
// (6 up gives 8, otherwise 6), within 2 .. the family's maximum.
int Next_Inject_Num(int current, int direction, bool pairs_in_parallel, int version_number);

// The software level reference p of a GF_ETALON, and the GF_ETALON that
// gives p back.
int Level_Reference_Of(int gf_etalon);
int GF_ETALON_For_Reference(int reference);
inline constexpr int Level_Reference_Max = 12216;   // p of GF_ETALON 65535

// Pressure in 0.01 bar of a sensor voltage in 0.01 V, with C1 (mbar per
// volt) and C2 (mbar); never negative.
int Pressure_From_Volt(int volt, int c1, int c2);

// The file status label beside the car number box.
enum class CFG_File_Status
{
    Hidden,    // box empty
    Current,   // "Error_CurrentWrite", green
    Exists,    // "Error_ExistWrite", red
    New,       // "Error_NewWrite", blue
};
const char* File_Status_Key(CFG_File_Status status);
quint32 File_Status_Colour(CFG_File_Status status);

class CFG_Editor : public QObject
{
    Q_OBJECT
public:
    explicit CFG_Editor(Quorel_Context& context);
    ~CFG_Editor() override;

    // Immediate transmission: waiting while Timer_Transmit_Now runs (only
    // the changed code stays editable), sending while Timer_Transmit_Save
    // runs (no parameter editable).
    enum class Transmit_State
    {
        Idle,
        Waiting,
        Sending,
    };
    Transmit_State State() const { return state_; }
    int Transmit_Code() const { return code_; }
    // Whether controls that send `code` may be edited now; controls that
    // send nothing (code 0) are never locked.
    bool Code_Unlocked(int code) const;

    // Whether the main window takes input; unset: it does.
    std::function<bool()> Window_Enabled;

    // User edits. Values are limited to the control's range.
    void Edit_Int(int Configuration_Class::*member, int value);
    void Edit_Flag(bool Configuration_Class::*member, bool on);
    void Edit_Injection_Mode(Injection_Mode mode);
    void Edit_Polarity(bool positive);
    // False, and nothing changes, when the text is not an entry of its list.
    bool Edit_List(Option_List list, const QString& text);
    void Edit_Inject_Num(int value);
    void Edit_Inject_Duty_Percent(int percent);
    // The delay as shown: Inject_Delay plus the filter time while the filter is on.
    void Edit_Inject_Delay_Shown(int shown);
    void Edit_C2_Absolute(bool absolute);

    // Service time.
    void Edit_ST_Set(int hours);
    void Edit_ST_Speed(int speed);
    void Edit_ST_Mileage(int mileage);
    int ST_Mileage() const { return mileage_; }
    void Edit_ST_Block_Gas(bool on);
    void ST_Set();
    void ST_Clear();
    void ST_Refresh();

    // Gas emergency counter: request 22 while connected.
    void Accident_Clear();

    // Software level reference.
    void Edit_Level_Reference(int reference);
    void Level_Reference_Set();
    void Level_Reference_Clear();
    // The level display waits for the ECU's working level mode after the
    // "SOFTWARE" type was chosen.
    bool Level_Setup() const { return level_setup_; }
    void Set_Level_Setup(bool on) { level_setup_ = on; }

    // Car number box: cut to 8 characters, names the current file.
    QString Edit_Car_Num(const QString& text);
    CFG_File_Status File_Status(const QString& box_text) const;

    // Sensor output with the record's current C1 and C2, 0.01 bar.
    int Pressure_Preview() const;

    // After every identification, load, defaults and at start-up.
    void Apply_Version_Layout();
    // After a whole-record change: mileage follows the record again.
    void Record_Shown();

Q_SIGNALS:
    // The lock of the immediate transmission changed.
    void Lock_Changed();

private:
    void Schedule(int code);
    void Send_Now(int code);
    void Transmit_Now_Fired();
    void Transmit_Save_Fired();
    void Request(int code);
    void Drop_Status(const char* key);
    void Post_Status(const char* key, quint32 rgb);

    Quorel_Context& context_;
    Configuration_Class& config_;
    Transmit_State state_ = Transmit_State::Idle;
    int code_ = 0;
    int mileage_ = 0;
    bool level_setup_ = false;
};
