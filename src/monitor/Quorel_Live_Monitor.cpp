#include "monitor/Quorel_Live_Monitor.h"

#include "app/Quorel_Context.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Sequencer.h"
#include "monitor/Quorel_Live_Decode.h"

namespace {

constexpr int Request_Service = 22;

} // namespace

Live_Monitor::Live_Monitor(Quorel_Context& context)
    : Messages(context.Timer_Error),
      Status(Messages, context.Live_Data, context.Live->Config, context.Timer_Short_Pulse),
      Board(context),
      context_(context)
{
    Live_Consumers& consumers = context_.Live->Consumers;
    consumers.On_CPU_Freq = [this](int mhz) {
        if (mhz == cpu_freq_)
            return;
        cpu_freq_ = mhz;
        if (On_CPU_Freq_Changed)
            On_CPU_Freq_Changed();
    };
    consumers.On_Work_Mode = [this](int mode) { Board.Show_Work_Mode(mode); };
    consumers.On_Injector_Buttons = [this](int mask) { Board.Show_Gas_Mask(mask); };
    consumers.On_Level_Mode = [this](int mode) { Board.Show_Level_Mode(mode); };
    consumers.On_Status = [this](int word) {
        // Without a link Status_Prev keeps its value, so that the first
        // real answer reports what differs.
        if (context_.ECU_Connected)
            Status.Status_Changed(word);
    };
    consumers.On_Errors = [this](int word) { Status.Errors_Changed(word); };
    consumers.On_Info = [this](int flags, int value) { Board.Show_Info(flags, value); };
    consumers.On_Short_Pulse_Check = [this](int, int time_us) { Status.Check_Short_Pulse(time_us); };
    consumers.On_Gas_Mean_Button = [this]() { Board.Refresh_Gas_Mean_Button(); };
    consumers.On_Lambda_Charts = [this]() { Board.Lambda_Sample(); };
    consumers.On_Page_Display = [this]() {
        if (On_Page_Display)
            On_Page_Display();
    };

    Status_Handling::Hooks& hooks = Status.hooks;
    hooks.Pump_Refresh = [this](int word) { Board.Pump_Refresh(word); };
    hooks.Gas_Buttons_Enabled = [this](bool on) { Board.Set_Gas_Buttons_Enabled(on); };
    hooks.Pump_Test_Start = [this]() { Board.Pump_Test_Start(); };
    hooks.Pump_Test_Result = [this](bool passed) { Board.Pump_Test_Result(passed); };
    hooks.Pump_Label_Hide = [this]() { Board.Pump_Label_Hide(); };
    hooks.Pumping_Started = [this]() { Board.Pumping_Started(); };
    hooks.Data_Saved = [this]() {
        context_.Sequence->Data_Saved_209 = true;
        context_.Sequence->Data_Saved_211 = true;
    };
    hooks.Threshold_Set = [this]() {
        context_.Sequence->Sensitivity_Reported_212 = true;
        if (On_Threshold_Set)
            On_Threshold_Set();
    };
    hooks.Errors_Rebuilt = [this]() {
        if (On_Errors_Changed)
            On_Errors_Changed();
    };

    context_.Sequence->Post_Status = [this](const QString& text, quint32 rgb) {
        Messages.Post_Message(text, QColor::fromRgb(QRgb(rgb)));
    };
    context_.Sequence->Drop_Status = [this](const QString& text) { Messages.Drop_Message(text); };
    // A full read of the ECU's data: noted while it runs, then flashed as
    // done. The ECU's controls are usable from then on.
    context_.Sequence->Command_Owners[74] = [this]() {
        Messages.Post_Message(Text("Error_Receiv_Data_On"), QColor(0, 255, 255));
    };
    context_.Sequence->Command_Owners[75] = [this]() {
        Messages.Drop_Message(Text("Error_Receiv_Data_On"));
        Messages.Flash_Message(Text("Error_Receiv_Data_Off"), QColor(0, 255, 0));
        if (context_.Supervisor->Enable_ECU_Controls)
            context_.Supervisor->Enable_ECU_Controls(context_.ECU_Connected);
    };
    context_.Supervisor->hooks.Clear_Status_Messages = [this]() { Messages.Clear(); };
    context_.Supervisor->hooks.Reset_Live_Data = [this]() {
        Board.Reset_Pump_Status();
        Board.Show_Gas_Mask(0);
        Reset_CPU_Freq();
    };
    Board.Enable_ECU_Controls = [this](bool on) {
        if (context_.Supervisor->Enable_ECU_Controls)
            context_.Supervisor->Enable_ECU_Controls(on);
    };
    // With mono injection no injector can be forced: after the ECU's
    // configuration has been read the gas buttons follow MonoInject.
    auto& decode_configuration = context_.Sequence->Command_Owners[56];
    decode_configuration = [this, decode = decode_configuration]() {
        if (decode)
            decode();
        Config_To_Decoder();
        Board.Set_Gas_Buttons_Enabled(!context_.Config_Data.MonoInject);
    };
    QObject::connect(&context_, &Quorel_Context::Config_Updated, &context_, [this]() { Config_To_Decoder(); });
    Config_To_Decoder();
}

void Live_Monitor::Config_To_Decoder()
{
    const Configuration_Class& config = context_.Config_Data;
    Live_Config& live = context_.Live->Config;
    const int old_n = live.Inject_Num;
    if (config.Inject_Num >= 2 && config.Inject_Num <= 8)
        live.Inject_Num = config.Inject_Num;
    live.MAP_Sensor_C1 = config.MAP_Sensor_C1;
    live.MAP_Sensor_C2 = config.MAP_Sensor_C2;
    live.Lambda_ON = config.Lambda_ON;
    live.Level_Type = config.Level_Type;
    live.GF_ETALON = quint16(config.GF_ETALON);
    live.Petrol_Filter_ON = config.Petrol_Filter_ON;
    live.Petrol_Filter_Time = config.Petrol_Filter_Time;
    if (live.Inject_Num != old_n)
        Board.Inject_Num_Changed();
    if (config.Lambda_Type != lambda_type_) {
        lambda_type_ = config.Lambda_Type;
        Board.Reset_Lambda_Charts();
    }
}

void Live_Monitor::Reset_CPU_Freq()
{
    cpu_freq_ = 0;
    if (On_CPU_Freq_Changed)
        On_CPU_Freq_Changed();
}

void Live_Monitor::Button_ERR_ClearClick()
{
    if (!context_.ECU_Connected)
        return;
    context_.Sequence->Error_Clear_Bits |= Service_Bit::Clear_Errors;
    context_.Pending_Request = Request_Service;
    Status.Errors_Not_Shown();
}

void Live_Monitor::Button_ERR_Change_FreqClick()
{
    if (!context_.ECU_Connected)
        return;
    Messages.Post_Message(Text("Error_Transmission"), Status_Colours::Aqua);
    context_.Sequence->Error_Clear_Bits |= Service_Bit::Change_Clock;
    context_.Pending_Request = Request_Service;
}
