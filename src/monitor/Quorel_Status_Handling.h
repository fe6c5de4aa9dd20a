#pragma once

#include <QColor>
#include <QStringList>

#include <functional>
#include <vector>

class QuorelMSG_Class;
class Quorel_Timer;
struct Live_Config;
struct Live_Data_Record;

namespace Status_Colours {
inline const QColor Red{255, 0, 0};
inline const QColor Green{0, 255, 0};
inline const QColor Aqua{0, 255, 255};
inline const QColor Fuchsia{255, 0, 255};
inline const QColor Light_Green{149, 255, 149};
} // namespace Status_Colours

// Bits of the status word.
namespace Status_Bit {
constexpr int Engine_Running = 1 << 0;
constexpr int Pressure_Normal = 1 << 1;
constexpr int Hold_Idle_To_Save = 1 << 2;
constexpr int Data_Saved = 1 << 3;
constexpr int Pressure_High = 1 << 4;
constexpr int Pressure_Drop = 1 << 5;
constexpr int Gas_Pump_On = 1 << 7;
constexpr int Pump_Test_Running = 1 << 8;
constexpr int Pump_Test_Finished = 1 << 9;
constexpr int Pump_Test_Passed = 1 << 10;
constexpr int Gas_Pumping = 1 << 11;
constexpr int Start_Pressure_End = 1 << 12;
constexpr int Sensitivity_Set = 1 << 13;
} // namespace Status_Bit

// Bits of the error word.
namespace Error_Bit {
constexpr int TempAUX1 = 1 << 0;
constexpr int PressInject = 1 << 1;
constexpr int Short_Circuit = 1 << 3;
} // namespace Error_Bit

// Bits of the service byte that the service command carries.
namespace Service_Bit {
constexpr int Inject_Detect = 1 << 0;
constexpr int Clear_Errors = 1 << 2;
constexpr int Pump_Test = 1 << 3;
constexpr int Change_Clock = 1 << 4;
} // namespace Service_Bit

// What the status and error words of the live data mean to the installer:
// the warnings of the status message list, the ECU's error list, the
// short-pulse warning and the flags with which requests wait for the ECU.
class Status_Handling
{
public:
    struct Hooks
    {
        std::function<void(int status)> Pump_Refresh;   // every call: bits 8 and 11
        std::function<void(bool running)> Engine_State;   // bit 0 differs from what was last told
        std::function<void(bool on)> Gas_Buttons_Enabled;
        std::function<void()> Pump_Test_Start;
        std::function<void(bool passed)> Pump_Test_Result;
        std::function<void()> Pump_Label_Hide;
        std::function<void()> Pumping_Started;
        std::function<void()> Data_Saved;        // both data-saved flags
        std::function<void()> Threshold_Set;
        std::function<void()> Errors_Rebuilt;    // Error_Lines and Temperature_Valid are new
    };

    static constexpr int Short_Pulse_Limit_Us = 1200;

    Status_Handling(QuorelMSG_Class& messages, Live_Data_Record& live, const Live_Config& config,
                    Quorel_Timer& timer_short_pulse);

    void Status_Changed(int word);
    void Errors_Changed(int word);
    void Check_Short_Pulse(int time_us);
    // The error list again in the selected language.
    void Retranslate() { Rebuild_Errors(last_errors_); }
    // The next error word rebuilds the list even if it is unchanged.
    void Errors_Not_Shown() { errors_shown_ = false; }

    // Lines of Memo_ERR_Current.
    const QStringList& Error_Lines() const { return error_lines_; }
    // Every error the ECU reported since start, once each, in the order it
    // first appeared; clearing the ECU's memory leaves it.
    QStringList History_Lines() const;
    bool Temperature_Valid() const { return temperature_valid_; }
    // Largest short pulse since start, 0.1 ms.
    int Largest_Short_Pulse() const { return largest_pulse_; }
    const QString& Short_Pulse_Text() const { return pulse_text_; }

    Hooks hooks;

private:
    void Rebuild_Errors(int word);
    void Drop_Short_Pulse();

    QuorelMSG_Class& messages_;
    Live_Data_Record& live_;
    const Live_Config& config_;
    Quorel_Timer& timer_short_pulse_;
    int last_errors_ = 0;
    bool errors_shown_ = false;
    QStringList error_lines_;
    std::vector<int> history_bits_;
    bool temperature_valid_ = true;
    int largest_pulse_ = 0;
    QString pulse_text_;
    int engine_told_ = -1;
};
