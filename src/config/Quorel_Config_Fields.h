#pragma once

#include "config/Quorel_Configuration.h"

#include <QString>

#include <span>

// Descriptions of the fields of Configuration_Class, in the order of the
// record: key (the name in the configuration file), unit, editing range
// with its step, and default. The codec, the files and the editor iterate
// these tables.

// Who sets a field's default.
enum class Field_Default
{
    Defaults,   // the defaults procedure
    Identity,   // the defaults procedure, only while no ECU is connected
    Start_Up,   // only the start-up, after the last file
    Kept,       // no default: the defaults procedure leaves it alone
};

struct Int_Field_Description
{
    const char* Key;
    int Configuration_Class::*Member;
    const char* Unit;
    bool Ranged;   // false: any value (no editing control of its own)
    int Min;
    int Max;
    int Step;
    int Default;
    Field_Default Rule;
    bool In_File;
    // A step that grows above a value (RPM_Sensitiv: 10 up to 300, 50 above).
    int Step_Above = 0;
    int Step_Change_At = 0;
};

struct Flag_Field_Description
{
    const char* Key;
    bool Configuration_Class::*Member;
    bool Default;
    Field_Default Rule;
    bool In_File;
};

struct Text_Field_Description
{
    const char* Key;   // nullptr: no key (Car_Num names the file instead)
    QString Configuration_Class::*Member;
    const char* Default;
    Field_Default Rule;
    bool In_File;
};

std::span<const Int_Field_Description> Int_Fields();
std::span<const Flag_Field_Description> Flag_Fields();
std::span<const Text_Field_Description> Text_Fields();

// nullptr when the key is not one of the table.
const Int_Field_Description* Find_Int_Field(const QString& key);
const Int_Field_Description* Find_Int_Field(int Configuration_Class::*member);
const Flag_Field_Description* Find_Flag_Field(const QString& key);
const Text_Field_Description* Find_Text_Field(const QString& key);

// A value limited to its field's editing range (unchanged for a field
// without one). The step is not enforced: files and the ECU may hold values
// between steps, and those are valid on the wire.
int Clamp_To_Range(const Int_Field_Description& field, int value);
// The field's value in `config` limited to its editing range, for encoding;
// the record itself is left alone. Inject_Delay is limited as its shown value.
int Clamped_Value(const Configuration_Class& config, const Int_Field_Description& field);

// The editor's next value one step up or down, within the range.
int Step_Up(const Int_Field_Description& field, int value);
int Step_Down(const Int_Field_Description& field, int value);

// Inject_Num wherever it sizes or indexes anything: 2..8.
int Inject_Num_Count(int inject_num);
// Inject_Num as the editor offers it: 2 .. the family's maximum, never 7.
int Inject_Num_Edit_Value(int inject_num, int version_number);

// Inject_Period's spin box starts at 1; 0 is the value of the types without
// a hold PWM and stays valid in the record.
inline constexpr int Inject_Period_Edit_Min = 1;

// Inject_Delay as shown and edited: plus Petrol_Filter_Time while the
// petrol filter is on.
int Inject_Delay_Shown(const Configuration_Class& config);
void Set_Inject_Delay_Shown(Configuration_Class& config, int shown);
