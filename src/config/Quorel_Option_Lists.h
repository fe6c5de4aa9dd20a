#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The six fixed option lists of the ECU configuration. The ECU knows a
// choice only as its 1-based position, so the order of every table is part
// of the protocol; the editor's drop-down lists are filled in the same order.

enum class Option_List
{
    RPM_Divider,
    Inject_Type,
    Pump_Type,
    Level_Type,
    MAP_Sensor_Type,
    Lambda_Type,
};

// Text of a position that is 0 or beyond its list (for example a bad index
// from the ECU).
inline constexpr const char* Option_Error_Text = "Error";

struct Inject_Type_Box_Class
{
    const char* Name;
    int Inject_Start;    // µs
    int Inject_Duty;     // timer ticks
    int Inject_Period;   // ticks of 1/16 µs
};

struct Pump_Type_Box_Class
{
    const char* Name;
    int Press_Rise;   // 0.01 bar
    int Time;         // 0.1 s
};

struct Level_Sensor_Box_Class
{
    const char* Name;
    bool Invert;
    bool Low_Resistance;
    std::array<int, 5> Level;   // 10-bit converter codes, Level1 .. Level5
};

struct MAP_Sensor_Box_Class
{
    const char* Name;
    int C1;            // mbar per volt
    int C2_Absolute;   // mbar
    int C2_Relative;   // mbar
};

struct Lambda_Type_Box_Class
{
    const char* Name;
    int Scale;   // scale code of the live display
};

inline constexpr std::array<const char*, 6> RPM_Divider_List = {"1:1", "1:2", "1:3", "1:4", "1:5", "1:6"};

inline constexpr std::array<Inject_Type_Box_Class, 2> Inject_Type_List = {{
    {"Dresko Alternative Fuel System", 0, 0, 0},
    {"ANOTHER", 1500, 240, 800},
}};

inline constexpr std::array<Pump_Type_Box_Class, 2> Pump_Type_List = {{
    {"Ostra-40", 130, 95},
    {"Ostra-45", 130, 95},
}};

inline constexpr std::array<Level_Sensor_Box_Class, 7> Level_Sensor_List = {{
    {"Dresko", false, true, {28, 103, 177, 244, 614}},
    {"AEB 1050", true, false, {806, 512, 306, 213, 47}},
    {"HANA", true, true, {295, 238, 183, 148, 42}},
    {"90 - 0 Om", false, true, {248, 184, 147, 104, 55}},
    {"AEB 806", true, false, {930, 773, 634, 429, 235}},
    {"0 - 90 Om", false, true, {55, 104, 147, 184, 248}},
    {"SOFTWARE", true, false, {850, 680, 510, 340, 170}},
}};

// Position of the level type measured by injector work time.
inline constexpr int Level_Type_Software = 7;

inline constexpr std::array<MAP_Sensor_Box_Class, 2> MAP_Sensor_List = {{
    {"KELLER 30 BAR", 6600, 307, 1307},
    {"ANOTHER", 6600, 307, 1307},
}};

inline constexpr std::array<Lambda_Type_Box_Class, 3> Lambda_Type_List = {{
    {"0 - 1 V", 5},
    {"0 - 5 V +", 1},
    {"0,8 - 1,6 V", 3},
}};

int Option_Count(Option_List list);
// Text at a 1-based position; "Error" for 0 or a position beyond the list.
QString Option_Text(Option_List list, int position);
// 1-based position of a text, whole text compared exactly; 0 when absent.
int Option_Position(Option_List list, const QString& text);
// All texts of a list in protocol order (for the drop-down lists).
QStringList Option_Texts(Option_List list);

// Entries of a 1-based position; nullptr for 0 or beyond the list.
const Inject_Type_Box_Class* Inject_Type_Entry(int position);
const Pump_Type_Box_Class* Pump_Type_Entry(int position);
const Level_Sensor_Box_Class* Level_Sensor_Entry(int position);
const MAP_Sensor_Box_Class* MAP_Sensor_Entry(int position);
const Lambda_Type_Box_Class* Lambda_Type_Entry(int position);
