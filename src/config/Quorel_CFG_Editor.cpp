#include "config/Quorel_CFG_Editor.h"

#include "config/Quorel_Config_Codec.h"

#include "app/Quorel_Context.h"
#include "config/Quorel_Config_Codec.h"
#include "config/Quorel_Config_Fields.h"
#include "config/Quorel_Config_Pairs.h"
#include "config/Quorel_Config_Select.h"
#include "config/Quorel_Version.h"
#include "files/Quorel_CFG_Names.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Sequencer.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

using C = Configuration_Class;

constexpr quint32 Magenta = 0xFF00FF;
constexpr int Request_Accident_Clear = 22;
constexpr int Request_ST_Write = 23;
constexpr int Request_ST_Read = 24;
constexpr int Code_Level = '^';
constexpr int Filter_Gap = 100;   // µs between the filter time and the shown delay
constexpr int ST_Set_Max = 32000;
constexpr int ST_Speed_Max = 200;

struct Int_Code
{
    int C::*Member;
    int Code;
};

constexpr Int_Code Int_Codes[] = {
    {&C::RPM_Sensitiv, 'F'},       {&C::RPM_Filter, 'G'},           {&C::PG_PressInject, 'H'},
    {&C::PG_RPM, 'I'},             {&C::PG_Time, '_'},              {&C::PG_Delay, '_'},
    {&C::PG_PrimingTime, 96},      {&C::PG_GAS_Accident_Num, 96},   {&C::GP_PressMore, 'J'},
    {&C::GP_PressLess, 'K'},       {&C::GP_Time, 'd'},              {&C::GP_PressDrop, 'L'},
    {&C::GP_PressRise, 'M'},       {&C::GP_PressInit, 'N'},         {&C::GP_MinPetTime, 'a'},
    {&C::GP_MinGasTime, 'a'},      {&C::GP_MaxPetTime, 'b'},        {&C::GP_StoreInterval, 'c'},
    {&C::GP_BackStepNum, 'c'},     {&C::GPG_RPM_Petrol, 'O'},       {&C::GPG_RPM_Gas, 'P'},
    {&C::GPG_RPM_Idle, 'Q'},       {&C::GPG_CutOff_Cycles, 'd'},    {&C::GPG_2Fuel_Temp, 'n'},
    {&C::GPG_2Fuel_Period, 'o'},   {&C::GPG_2Fuel_Delay, 'o'},      {&C::GPG_2Fuel_RPM_1, 'p'},
    {&C::GPG_2Fuel_RPM_2, 'q'},    {&C::GPG_2Fuel_Petrol_1, 'r'},   {&C::GPG_2Fuel_Petrol_2, 's'},
    {&C::GPG_2Fuel_Time_11, 't'},  {&C::GPG_2Fuel_Time_12, 't'},    {&C::GPG_2Fuel_Time_21, 'u'},
    {&C::GPG_2Fuel_Time_22, 'u'},  {&C::Inject_Num, 'e'},           {&C::Inject_Range, 'R'},
    {&C::Inject_Start, 'S'},       {&C::Inject_Duty, 'T'},          {&C::Inject_Period, 'U'},
    {&C::Inject_Delay, 'm'},       {&C::Petrol_Filter_Time, 'V'},   {&C::Petrol_Filter_Factor, 'f'},
    {&C::MAZDA_Mode_Factor, 'f'},  {&C::Pump_MeasureDelay, 'b'},    {&C::Pump_PressRise, 'W'},
    {&C::Pump_Time, 'g'},          {&C::Pump_Hydr_Cond_Time_On, 'l'}, {&C::Pump_Hydr_Cond_Time_Off, 'l'},
    {&C::Level1, 'X'},             {&C::Level2, 'Y'},               {&C::Level3, 'Z'},
    {&C::Level4, '['},             {&C::Level5, '\\'},              {&C::MAP_Sensor_C1, 'C'},
    {&C::MAP_Sensor_C2, 'D'},
};

struct Flag_Code
{
    bool C::*Member;
    int Code;
};

constexpr Flag_Code Flag_Codes[] = {
    {&C::Lambda_ON, 'A'},          {&C::Pump_Dry_Test_ON, 'A'},     {&C::MonoInject, 'A'},
    {&C::GP_PressMore_ON, 'A'},    {&C::GP_PressLow_ON, 'A'},       {&C::NoSequentInject, 'A'},
    {&C::Polarity_Pulse_ON, 'A'},  {&C::GP_PressLess_ON, 'A'},      {&C::GPG_RPM_Temp_ON, 'A'},
    {&C::RPM_AutoFilter_ON, 'A'},  {&C::PG_DualFuelInject_ON, 'A'}, {&C::GPG_2Fuel_ON, 'A'},
    {&C::Petrol_Filter_ON, 'A'},   {&C::Petrol_Pass_ON, 'A'},       {&C::Pump_Hydr_Cond_ON, 'A'},
    {&C::Inject_Delay_ON, 'A'},    {&C::RPM_Virtual_ON, 'B'},       {&C::PG_GAS_Accident_ON, 'B'},
    {&C::MAZDA_Mode_ON, 'B'},      {&C::GPG_RPM_Idle_ON, 'B'},      {&C::GPG_CutOff_Cycles_ON, 'B'},
    {&C::PG_GAS_Hot_Engine_ON, 'B'}, {&C::GP_Buzzer_ON, 'X'},       {&C::Level_Invert, 'X'},
    {&C::Level_90, 'X'},           {&C::Level_Buzzer_ON, 'X'},
};

int In_Range(int C::*member, int value)
{
    const Int_Field_Description* field = Find_Int_Field(member);
    return field ? Clamp_To_Range(*field, value) : value;
}

bool Is_Another(const C& config) { return Option_Position(Option_List::Inject_Type, config.Inject_Type) == 2; }
bool Is_Software_Level(const C& config)
{
    return Option_Position(Option_List::Level_Type, config.Level_Type) == Level_Type_Software;
}

}   // namespace

Injection_Mode Injection_Mode_Of(const Configuration_Class& config)
{
    if (config.MonoInject)
        return Injection_Mode::Mono;
    return config.NoSequentInject ? Injection_Mode::Non_Sequential : Injection_Mode::Sequential;
}

CFG_Enabling Enabling_Rules(const Configuration_Class& config, bool temperature_sensor_valid)
{
    const int version = config.Version_Number;
    const Injection_Mode mode = Injection_Mode_Of(config);
    CFG_Enabling on;
    on.RPM_Threshold = !config.RPM_Virtual_ON;
    on.RPM_Filter = config.RPM_Virtual_ON || !config.RPM_AutoFilter_ON;
    on.GP_PressMore = config.GP_PressMore_ON;
    on.GP_PressLess = config.GP_PressLess_ON;
    on.GP_PressLow_Fields = config.GP_PressLow_ON;
    on.GPG_RPM_Temp_Fields = config.GPG_RPM_Temp_ON;
    on.GPG_RPM_Idle = config.GPG_RPM_Idle_ON;
    on.GPG_CutOff_Cycles = config.GPG_CutOff_Cycles_ON;
    on.GPG_2Fuel_Box = Version_Has_2Fuel(version);
    on.GPG_2Fuel_Fields = on.GPG_2Fuel_Box && config.GPG_2Fuel_ON;
    on.GPG_2Fuel_Temperature = on.GPG_2Fuel_Fields && temperature_sensor_valid;
    on.PG_GAS_Accident_Num = config.PG_GAS_Accident_ON;
    on.Pump_Dry_Fields = config.Pump_Dry_Test_ON;
    on.Pump_Hydr_Cond_Box = config.Pump_Dry_Test_ON && Version_Has_Hydr_Cond_And_Delay(version);
    on.Pump_Hydr_Cond_Times = on.Pump_Hydr_Cond_Box && config.Pump_Hydr_Cond_ON;
    on.Sequential_Boxes = mode == Injection_Mode::Sequential;
    on.Petrol_Pass_Box = mode == Injection_Mode::Non_Sequential;
    on.Petrol_Filter_Fields = config.Petrol_Filter_ON;
    on.MAZDA_Factor = config.MAZDA_Mode_ON;
    on.Inject_Delay_Box = on.Sequential_Boxes && Version_Has_Hydr_Cond_And_Delay(version);
    on.Inject_Delay_Value = config.Inject_Delay_ON && Version_Has_Hydr_Cond_And_Delay(version);
    on.Inject_Another_Fields = Is_Another(config);
    on.Level_Software = Is_Software_Level(config);
    on.Level_Sliders = !on.Level_Software;
    on.Priming_Table = temperature_sensor_valid;
    on.Priming_Time = !temperature_sensor_valid;
    return on;
}

int Parameter_Code_Of(int Configuration_Class::*member)
{
    for (const Int_Code& entry : Int_Codes)
        if (entry.Member == member)
            return entry.Code;
    return 0;
}

int Parameter_Code_Of(bool Configuration_Class::*member)
{
    for (const Flag_Code& entry : Flag_Codes)
        if (entry.Member == member)
            return entry.Code;
    return 0;
}

int Next_Inject_Num(int current, int direction, bool pairs_in_parallel, int version_number)
{
    const int step = pairs_in_parallel ? 2 : 1;
    int next = current + (direction > 0 ? step : -step);
    if (next == 7)
        next = current == 6 ? 8 : 6;
    return std::clamp(next, 2, Inject_Num_Max(version_number));
}

int Level_Reference_Of(int gf_etalon) { return int(std::trunc(double(gf_etalon) * 0.1864135)); }

int GF_ETALON_For_Reference(int reference)
{
    reference = std::clamp(reference, 0, Level_Reference_Max);
    int gf = int(std::trunc(double(reference) * 5.3644));
    while (Level_Reference_Of(gf) < reference && gf < 65535)
        ++gf;
    return gf;
}

int Pressure_From_Volt(int volt, int c1, int c2)
{
    const qint64 p = (qint64(volt) * c1 - qint64(c2) * 100) / 1000;
    return p < 0 ? 0 : int(p);
}

const char* File_Status_Key(CFG_File_Status status)
{
    switch (status) {
    case CFG_File_Status::Current: return "Error_CurrentWrite";
    case CFG_File_Status::Exists: return "Error_ExistWrite";
    case CFG_File_Status::New: return "Error_NewWrite";
    case CFG_File_Status::Hidden: break;
    }
    return "";
}

quint32 File_Status_Colour(CFG_File_Status status)
{
    switch (status) {
    case CFG_File_Status::Current: return 0x008000;
    case CFG_File_Status::Exists: return 0xFF0000;
    case CFG_File_Status::New: return 0x0000FF;
    case CFG_File_Status::Hidden: break;
    }
    return 0;
}

// ---------------------------------------------------------------- editor

CFG_Editor::CFG_Editor(Quorel_Context& context) : context_(context), config_(context.Config_Data)
{
    context_.Timer_Transmit_Now.Set_Handler([this]() { Transmit_Now_Fired(); });
    context_.Timer_Transmit_Save.Set_Handler([this]() { Transmit_Save_Fired(); });
    Record_Shown();
}

CFG_Editor::~CFG_Editor()
{
    context_.Timer_Transmit_Now.Set_Handler({});
    context_.Timer_Transmit_Save.Set_Handler({});
}

bool CFG_Editor::Code_Unlocked(int code) const
{
    if (code == 0)
        return true;
    switch (state_) {
    case Transmit_State::Idle: return true;
    case Transmit_State::Waiting: return code == code_;
    case Transmit_State::Sending: return false;
    }
    return true;
}

void CFG_Editor::Schedule(int code)
{
    if (code == 0 || !context_.App_Settings.Transmit_Now || !context_.ECU_Connected)
        return;
    if (Window_Enabled && !Window_Enabled())
        return;
    code_ = code;
    state_ = Transmit_State::Waiting;
    // Every further change restarts the wait.
    context_.Timer_Transmit_Now.Set_Enabled(false);
    context_.Timer_Transmit_Now.Set_Enabled(true);
    Q_EMIT Lock_Changed();
}

void CFG_Editor::Send_Now(int code)
{
    if (context_.ECU_Connected)
        context_.Pending_Request = code;
}

void CFG_Editor::Transmit_Now_Fired()
{
    context_.Timer_Transmit_Now.Set_Enabled(false);
    if (state_ != Transmit_State::Waiting)
        return;
    context_.Pending_Request = code_;
    state_ = Transmit_State::Sending;
    context_.Timer_Transmit_Save.Set_Enabled(false);
    context_.Timer_Transmit_Save.Set_Enabled(true);
    Q_EMIT Lock_Changed();
}

void CFG_Editor::Transmit_Save_Fired()
{
    context_.Timer_Transmit_Save.Set_Enabled(false);
    state_ = Transmit_State::Idle;
    Q_EMIT Lock_Changed();
}

void CFG_Editor::Request(int code)
{
    if (context_.ECU_Connected)
        context_.Pending_Request = code;
}

void CFG_Editor::Drop_Status(const char* key)
{
    if (context_.Sequence && context_.Sequence->Drop_Status)
        context_.Sequence->Drop_Status(Text(QLatin1String(key)));
}

void CFG_Editor::Post_Status(const char* key, quint32 rgb)
{
    if (context_.Sequence && context_.Sequence->Post_Status)
        context_.Sequence->Post_Status(Text(QLatin1String(key)), rgb);
}

void CFG_Editor::Edit_Int(int Configuration_Class::*member, int value)
{
    if (member == &C::PG_PressInject)
        Set_PG_PressInject(config_, value);
    else if (member == &C::GP_PressLess)
        Set_GP_PressLess(config_, value);
    else if (member == &C::PG_RPM)
        Set_PG_RPM(config_, value);
    else if (member == &C::GPG_RPM_Idle)
        Set_GPG_RPM_Idle(config_, value);
    else if (member == &C::GPG_RPM_Petrol)
        Set_GPG_RPM_Petrol(config_, value);
    else if (member == &C::GPG_RPM_Gas)
        Set_GPG_RPM_Gas(config_, value);
    else if (member == &C::GPG_2Fuel_RPM_1)
        Set_GPG_2Fuel_RPM_1(config_, value);
    else if (member == &C::GPG_2Fuel_RPM_2)
        Set_GPG_2Fuel_RPM_2(config_, value);
    else if (member == &C::GPG_2Fuel_Petrol_1)
        Set_GPG_2Fuel_Petrol_1(config_, value);
    else if (member == &C::GPG_2Fuel_Petrol_2)
        Set_GPG_2Fuel_Petrol_2(config_, value);
    else if (member == &C::Inject_Period)
        Set_Inject_Period(config_, std::clamp(value, Inject_Period_Edit_Min, 32000));
    else if (member == &C::Inject_Num) {
        Edit_Inject_Num(value);
        return;
    } else if (member == &C::Inject_Delay) {
        Edit_Inject_Delay_Shown(value);
        return;
    } else if (member == &C::Petrol_Filter_Time) {
        const int shown = Inject_Delay_Shown(config_);
        config_.Petrol_Filter_Time = In_Range(member, value);
        if (config_.Petrol_Filter_ON) {
            if (shown < config_.Petrol_Filter_Time + Filter_Gap)
                config_.Inject_Delay = Filter_Gap;
            else
                config_.Inject_Delay = shown - config_.Petrol_Filter_Time;
        }
    } else if (member == &C::MAP_Sensor_C2) {
        config_.MAP_Sensor_C2 = In_Range(member, value);
        Derive_MAP_Sensor_C2_Absolute(config_);
    } else
        config_.*member = In_Range(member, value);
    Schedule(Parameter_Code_Of(member));
}

void CFG_Editor::Edit_Flag(bool Configuration_Class::*member, bool on)
{
    if (member == &C::RPM_Virtual_ON) {
        Set_RPM_Virtual(config_, on);
    } else if (member == &C::Petrol_Filter_ON) {
        const int shown = Inject_Delay_Shown(config_);
        const bool was_on = config_.Petrol_Filter_ON;
        config_.Petrol_Filter_ON = on;
        if (on && !was_on) {
            if (shown < config_.Petrol_Filter_Time + Filter_Gap)
                config_.Inject_Delay = Filter_Gap;
            else
                config_.Inject_Delay = shown - config_.Petrol_Filter_Time;
        } else if (!on && was_on) {
            // The shown delay stays as it was.
            config_.Inject_Delay += config_.Petrol_Filter_Time;
        }
    } else if (member == &C::Inject_Delay_ON) {
        config_.Inject_Delay_ON = on;
        if (on && config_.Petrol_Filter_ON) {
            const int shown = Inject_Delay_Shown(config_);
            if (config_.Petrol_Filter_Time + Filter_Gap >= shown) {
                config_.Petrol_Filter_Time = In_Range(&C::Petrol_Filter_Time, config_.Petrol_Filter_Time - 100);
                config_.Inject_Delay = std::max(Filter_Gap, shown - config_.Petrol_Filter_Time);
            }
        }
    } else if (member == &C::Petrol_Pass_ON) {
        config_.Petrol_Pass_ON = on;
    } else {
        config_.*member = on;
    }
    Schedule(Parameter_Code_Of(member));
}

void CFG_Editor::Edit_Injection_Mode(Injection_Mode mode)
{
    const Injection_Mode before = Injection_Mode_Of(config_);
    config_.NoSequentInject = mode == Injection_Mode::Non_Sequential;
    config_.MonoInject = mode == Injection_Mode::Mono;
    if (mode != Injection_Mode::Non_Sequential)
        config_.Petrol_Pass_ON = false;
    if (mode == Injection_Mode::Mono) {
        if (config_.Petrol_Filter_ON) {
            config_.Inject_Delay += config_.Petrol_Filter_Time;
            config_.Petrol_Filter_ON = false;
        }
        config_.MAZDA_Mode_ON = false;
        config_.Inject_Delay_ON = false;
    }
    if (mode == Injection_Mode::Sequential && before != Injection_Mode::Sequential && !config_.Petrol_Filter_ON) {
        // Short pulse processing comes on with sequential injection.
        const int shown = Inject_Delay_Shown(config_);
        config_.Petrol_Filter_ON = true;
        config_.Inject_Delay = shown < config_.Petrol_Filter_Time + Filter_Gap ? Filter_Gap
                                                                                : shown - config_.Petrol_Filter_Time;
    }
    Schedule('A');
}

void CFG_Editor::Edit_Polarity(bool positive)
{
    config_.Polarity_Pulse_ON = positive;
    Schedule('A');
}

bool CFG_Editor::Edit_List(Option_List list, const QString& text)
{
    const int position = Option_Position(list, text);
    if (position == 0)
        return false;
    switch (list) {
    case Option_List::RPM_Divider:
        config_.RPM_Divider = text;
        // A new divider is sent at once whenever an ECU is connected.
        Send_Now(Code_Level);
        return true;
    case Option_List::Inject_Type:
        Select_Inject_Type(config_, position);
        Schedule('e');
        return true;
    case Option_List::Pump_Type:
        Select_Pump_Type(config_, position);
        Schedule('g');
        return true;
    case Option_List::Level_Type:
        Select_Level_Type(config_, position);
        level_setup_ = position == Level_Type_Software;
        Schedule(Code_Level);
        return true;
    case Option_List::MAP_Sensor_Type:
        Select_MAP_Sensor_Type(config_, position);
        Schedule('h');
        return true;
    case Option_List::Lambda_Type:
        Select_Lambda_Type(config_, position);
        Schedule('h');
        return true;
    }
    return false;
}

void CFG_Editor::Edit_Inject_Num(int value)
{
    int num = std::clamp(value, 2, Inject_Num_Max(config_.Version_Number));
    if (num == 7)
        num = config_.Inject_Num == 6 ? 8 : 6;
    config_.Inject_Num = num;
    Schedule('e');
}

void CFG_Editor::Edit_Inject_Duty_Percent(int percent)
{
    Set_Inject_Duty_Percent(config_, std::clamp(percent, 0, 100));
    Schedule('T');
}

void CFG_Editor::Edit_Inject_Delay_Shown(int shown)
{
    const Int_Field_Description* field = Find_Int_Field(&C::Inject_Delay);
    shown = Clamp_To_Range(*field, shown);
    if (config_.Petrol_Filter_ON) {
        if (config_.Petrol_Filter_Time + Filter_Gap >= shown)
            config_.Petrol_Filter_Time = In_Range(&C::Petrol_Filter_Time, config_.Petrol_Filter_Time - 100);
        // The stored delay never falls below its floor: the filter time
        // gives way further where one step was not enough.
        if (shown - config_.Petrol_Filter_Time < Filter_Gap)
            config_.Petrol_Filter_Time = In_Range(&C::Petrol_Filter_Time, (shown - Filter_Gap) / 100 * 100);
        config_.Inject_Delay = std::max(Filter_Gap, shown - config_.Petrol_Filter_Time);
    } else {
        config_.Inject_Delay = shown;
    }
    Schedule('m');
}

void CFG_Editor::Edit_C2_Absolute(bool absolute)
{
    // Only the offset changes; nothing is sent by itself.
    Set_MAP_Sensor_C2_Absolute(config_, absolute);
}

// ---------------------------------------------------------------- service time

void CFG_Editor::Edit_ST_Set(int hours)
{
    config_.ST_Set = std::clamp(hours, 0, ST_Set_Max);
    mileage_ = config_.ST_Set * config_.ST_Speed;
}

void CFG_Editor::Edit_ST_Speed(int speed)
{
    config_.ST_Speed = std::clamp(speed, 0, ST_Speed_Max);
    if (config_.ST_Speed > 0)
        config_.ST_Set = std::clamp(mileage_ / config_.ST_Speed, 0, ST_Set_Max);
}

void CFG_Editor::Edit_ST_Mileage(int mileage)
{
    mileage_ = std::max(0, mileage);
    if (config_.ST_Speed > 0)
        config_.ST_Set = std::clamp(mileage_ / config_.ST_Speed, 0, ST_Set_Max);
}

void CFG_Editor::Edit_ST_Block_Gas(bool on)
{
    config_.ST_Block_Gas = on;
    if (config_.ST_Set > 0 && config_.ST_Remains == 0 && on)
        Post_Status("ST_Message_Block_Indic", Magenta);
    else
        Drop_Status("ST_Message_Block_Indic");
}

void CFG_Editor::ST_Set()
{
    config_.ST_Remains = config_.ST_Set * 60;
    Request(Request_ST_Write);
    Drop_Status("ST_Message_Din_Indic");
    Drop_Status("ST_Message_Block_Indic");
}

void CFG_Editor::ST_Clear()
{
    config_.ST_Set = 0;
    config_.ST_Remains = 0;
    config_.ST_Block_Gas = false;
    mileage_ = 0;
    Request(Request_ST_Write);
    Drop_Status("ST_Message_Din_Indic");
    Drop_Status("ST_Message_Block_Indic");
}

void CFG_Editor::ST_Refresh() { Request(Request_ST_Read); }

void CFG_Editor::Accident_Clear() { Request(Request_Accident_Clear); }

// ---------------------------------------------------------------- level reference

void CFG_Editor::Edit_Level_Reference(int reference) { config_.GF_ETALON = GF_ETALON_For_Reference(reference); }

void CFG_Editor::Level_Reference_Set() { Send_Now(Code_Level); }

void CFG_Editor::Level_Reference_Clear()
{
    config_.GF_ETALON = 0;
    Send_Now(Code_Level);
}

// ---------------------------------------------------------------- car number

QString CFG_Editor::Edit_Car_Num(const QString& text)
{
    // The number travels to the ECU: characters its block cannot carry are
    // refused as they are typed.
    QString accepted;
    for (QChar c : text)
        if (ECU_Text_Char_Acceptable(c))
            accepted.append(c);
    const QString cut = accepted.left(Car_Num_Max_Length);
    context_.App_Settings.CFG_File_Name = CFG_Name_For_Car_Num(cut);
    return cut;
}

CFG_File_Status CFG_Editor::File_Status(const QString& box_text) const
{
    if (box_text.isEmpty())
        return CFG_File_Status::Hidden;
    if (box_text.compare(config_.Car_Num, Qt::CaseInsensitive) == 0)
        return CFG_File_Status::Current;
    QString folder = context_.App_Settings.CFG_File_Path;
    if (folder.isEmpty())
        folder = context_.App_Settings.Program_Folder() + QStringLiteral("/Config");
    return QFileInfo(QDir(folder).filePath(CFG_Name_For_Car_Num(box_text))).isFile() ? CFG_File_Status::Exists
                                                                                      : CFG_File_Status::New;
}

// ---------------------------------------------------------------- display support

int CFG_Editor::Pressure_Preview() const
{
    return Pressure_From_Volt(context_.Live_Data.Press_Volt, config_.MAP_Sensor_C1, config_.MAP_Sensor_C2);
}

void CFG_Editor::Apply_Version_Layout()
{
    Force_Version_Flags(config_, config_.Version_Number);
    // From minor 15 on the field is the minimum restart pressure drop.
    if (Version_Has_Restart_Press_Drop(config_.Version_Number))
        config_.GP_PressInit = 50;
}

void CFG_Editor::Record_Shown() { mileage_ = config_.ST_Set * config_.ST_Speed; }
