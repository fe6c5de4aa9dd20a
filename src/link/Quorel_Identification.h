#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

class Settings_Class;

// The ECU's identification block (answer to 0x30) and the values derived
// from it. Text fields come from the ECU and are untrusted.
struct Identification_Class
{
    int Identification_Code = 0;   // 7 or more: the ECU needs a newer program
    QString Program_Name;          // firmware name, blanks trimmed
    QString Program_Date;
    QString Program_Version;       // for example "4.19"
    int Work_Gas = 0;              // hours-of-work counters
    int Work_Petrol = 0;
    int Live_Data_Length = 0;      // the answer to 0x31 is this + 3 bytes
    int Config_Length = 0;         // the answer to 0x35 is this + 3 bytes
    int Gas_Accident_Cnt = 0;
    std::array<int, 12> W{};       // W1 .. W12 at W[0] .. W[11]
    bool Has_W13 = false;
    int W13 = 0;                   // program version the ECU asks for, 125 = 1.25

    // Derived
    QString ECU_Model_Name;        // a "Name_Block_PIC_n" setting or "Unknow"
    QString ECU_Model_Quoted;      // the model name in double quotes
    int Version_Number = 0;        // major * 100 + minor
    bool About_Program_Visible = false;
    bool About_Work_Visible = false;
    int Inject_Num_Max = 8;
    QString Required_Version;      // "1.25" from W13 125; empty when none

    // False when the block was too short for the fields up to W12; the
    // missing fields then keep their defaults.
    bool Complete = false;
};

// Bytes of a block up to and including W12 and the checksum.
inline constexpr int Identification_Min_Length = 69;

// block: the whole answer from the class byte to the checksum.
Identification_Class Decode_Identification(const quint8* block, int length, const Settings_Class& settings);

// "Program_Name" to model name: blanks removed, letter case ignored.
QString ECU_Model_Name(const QString& program_name, const Settings_Class& settings);
// "Program_Version" to major * 100 + minor; 0 when not a version.
int Version_Number_Of(const QString& program_version);
// Most injectors the configuration editor offers for a firmware version.
int Inject_Num_Max_For(int version_number);
// W13 as a version text: 125 -> "1.25", 7 -> "0.07", 1000 -> "10.00"; empty when <= 0.
QString Required_Version_Text(int w13);

// Whether the ECU needs a newer program (message kind 10) and the version
// text that message names; the text is empty when it names this program's
// own version.
struct ECU_Too_New_Result
{
    bool Too_New = false;
    QString Text;
};
ECU_Too_New_Result ECU_Too_New(int identification_code, const QString& required_version);

// A text reduced to characters safe in a file name (letters, digits, "-",
// "_", "."; anything else becomes "_"; no leading "."), for building paths
// from names that came from the ECU or the settings file.
QString Path_Safe_Name(const QString& name);
