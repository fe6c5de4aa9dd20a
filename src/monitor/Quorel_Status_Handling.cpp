#include "monitor/Quorel_Status_Handling.h"

#include "app/Quorel_Timer.h"
#include "language/Quorel_Text.h"
#include "monitor/Quorel_Live_Data.h"
#include "monitor/Quorel_Live_Inputs.h"
#include "monitor/Quorel_Status_Messages.h"

#include <QLocale>

#include <algorithm>

namespace {

template <class Fn, class... Args>
void Call(const Fn& fn, Args... args)
{
    if (fn)
        fn(args...);
}

struct Error_Line
{
    int bit;
    const char* key;
};

// The errors the ECU reports, in the order they are listed.
constexpr Error_Line Error_Lines_By_Bit[] = {
    {Error_Bit::TempAUX1, "Memo_ERR_TempAUX1"},
    {Error_Bit::PressInject, "Memo_ERR_PressInject"},
    {Error_Bit::Short_Circuit, "Memo_ERR_ShortCircuit"},
};

} // namespace

Status_Handling::Status_Handling(QuorelMSG_Class& messages, Live_Data_Record& live, const Live_Config& config,
                                 Quorel_Timer& timer_short_pulse)
    : messages_(messages), live_(live), config_(config), timer_short_pulse_(timer_short_pulse)
{
    timer_short_pulse_.Set_Handler([this]() {
        timer_short_pulse_.Set_Enabled(false);
        messages_.Drop_Message(pulse_text_);
    });
    Rebuild_Errors(0);
}

void Status_Handling::Status_Changed(int word)
{
    word &= 0xFFFF;
    Call(hooks.Pump_Refresh, word);
    const int running = word & Status_Bit::Engine_Running ? 1 : 0;
    if (running != engine_told_) {
        engine_told_ = running;
        Call(hooks.Engine_State, running != 0);
    }
    const int prev = live_.Status_Prev;
    if (word == prev)
        return;
    auto rises = [&](int bit) { return (word & bit) && !(prev & bit); };
    auto falls = [&](int bit) { return !(word & bit) && (prev & bit); };
    using namespace Status_Bit;
    using namespace Status_Colours;

    if (rises(Engine_Running)) {
        messages_.Drop_Message(Text("Error_Engine_off"));
        messages_.Flash_Message(Text("Error_Engine_on"), Green);
        Call(hooks.Gas_Buttons_Enabled, true);
    } else if (falls(Engine_Running)) {
        messages_.Post_Message(Text("Error_Engine_off"), Red);
        Call(hooks.Gas_Buttons_Enabled, false);
    }
    if (rises(Pressure_Normal)) {
        messages_.Drop_Message(Text("Error_Low_pressure"));
        messages_.Drop_Message(Text("Error_High_pressure"));
        messages_.Flash_Message(Text("Error_Normal_pressure"), Green);
        Call(hooks.Gas_Buttons_Enabled, true);
    } else if (falls(Pressure_Normal)) {
        messages_.Post_Message(Text((word & Pressure_High) ? "Error_High_pressure" : "Error_Low_pressure"), Red);
        Call(hooks.Gas_Buttons_Enabled, false);
    }
    if (rises(Hold_Idle_To_Save))
        messages_.Post_Message(Text("Error_Not_Save_Data"), Red);
    else if (falls(Hold_Idle_To_Save))
        messages_.Drop_Message(Text("Error_Not_Save_Data"));
    if (rises(Data_Saved)) {
        messages_.Drop_Message(Text("Error_Transmission"));
        messages_.Flash_Message(Text("Error_Save_Data"), Green);
        Call(hooks.Data_Saved);
    }
    if (rises(Pump_Test_Running))
        Call(hooks.Pump_Test_Start);
    if (rises(Pump_Test_Finished))
        Call(hooks.Pump_Test_Result, (word & Pump_Test_Passed) != 0);
    else if (falls(Pump_Test_Finished) && (word & Gas_Pump_On))
        Call(hooks.Pump_Test_Start);
    if (rises(Start_Pressure_End))
        Call(hooks.Pump_Label_Hide);
    if (rises(Gas_Pumping))
        Call(hooks.Pumping_Started);
    if (rises(Gas_Pump_On))
        messages_.Flash_Message(Text("Error_Gas_Pump_ON"), Green);
    else if (falls(Gas_Pump_On))
        messages_.Flash_Message(Text("Error_Gas_Pump_OFF"), Aqua);
    if (rises(Pressure_Drop))
        messages_.Post_Message(Text("Error_Pressure_Drop"), Red);
    else if (falls(Pressure_Drop))
        messages_.Drop_Message(Text("Error_Pressure_Drop"));
    if (rises(Sensitivity_Set)) {
        messages_.Flash_Message(Text("Error_Sensitivity"), Green);
        Call(hooks.Threshold_Set);
    }
    live_.Status_Prev = word;
}

void Status_Handling::Errors_Changed(int word)
{
    word &= 0xFFFF;
    if (word == last_errors_) {
        if (errors_shown_)
            return;
        errors_shown_ = true;
    } else {
        last_errors_ = word;
    }
    Rebuild_Errors(word);
}

void Status_Handling::Rebuild_Errors(int word)
{
    error_lines_.clear();
    if (word == 0)
        error_lines_ << Text("Memo_ERR_OK");
    for (const Error_Line& line : Error_Lines_By_Bit) {
        if (!(word & line.bit))
            continue;
        error_lines_ << Text(QLatin1String(line.key));
        if (std::find(history_bits_.begin(), history_bits_.end(), line.bit) == history_bits_.end())
            history_bits_.push_back(line.bit);
    }
    temperature_valid_ = !(word & Error_Bit::TempAUX1);
    Call(hooks.Errors_Rebuilt);
}

QStringList Status_Handling::History_Lines() const
{
    QStringList lines;
    for (int bit : history_bits_)
        for (const Error_Line& line : Error_Lines_By_Bit)
            if (line.bit == bit)
                lines << Text(QLatin1String(line.key));
    return lines;
}

void Status_Handling::Drop_Short_Pulse()
{
    if (!timer_short_pulse_.Enabled())
        return;
    timer_short_pulse_.Set_Enabled(false);
    messages_.Drop_Message(pulse_text_);
}

void Status_Handling::Check_Short_Pulse(int time_us)
{
    if (time_us <= 0 || time_us >= Short_Pulse_Limit_Us)
        return;
    if (config_.Petrol_Filter_ON && time_us <= config_.Petrol_Filter_Time) {
        Drop_Short_Pulse();
        return;
    }
    QString text = pulse_text_;
    const int v = time_us / 100;
    // A pulse below 0.1 ms as the very first one still needs a text.
    if (v > largest_pulse_ || pulse_text_.isEmpty()) {
        largest_pulse_ = qMax(largest_pulse_, v);
        text = Text("Error_Short_Pulse_ON") + ' ' + QLocale().toString(largest_pulse_ / 10.0, 'f', 1) + ' '
               + Text("Dim_MS_Short");
    }
    if (timer_short_pulse_.Enabled()) {
        timer_short_pulse_.Set_Enabled(false);
        if (text != pulse_text_) {
            messages_.Drop_Message(pulse_text_);
            pulse_text_ = text;
            messages_.Post_Message(pulse_text_, Status_Colours::Red);
        }
        timer_short_pulse_.Set_Enabled(true);
    } else {
        pulse_text_ = text;
        timer_short_pulse_.Set_Enabled(true);
        messages_.Post_Message(pulse_text_, Status_Colours::Red);
    }
}
