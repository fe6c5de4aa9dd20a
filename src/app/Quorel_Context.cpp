#include "app/Quorel_Context.h"

#include "calibration/Quorel_Calibration_Actions.h"
#include "calibration/Quorel_Calibration_Owners.h"
#include "config/Quorel_Config_Codec_Owners.h"
#include "files/Quorel_CFG_Actions.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Link_Quality.h"
#include "link/Quorel_Message.h"
#include "link/Quorel_Port_Search.h"
#include "link/Quorel_Sequencer.h"
#include "monitor/Quorel_Live_Decode.h"
#include "monitor/Quorel_Live_Monitor.h"

Quorel_Context::Quorel_Context(Quorel_Clock& clock, std::unique_ptr<Serial_Port> port, const QString& program_folder,
                               const QString& program_name)
    : Clock(clock),
      App_Settings(program_folder, program_name),
      ComPort(std::move(port)),
      Timer_Sending(clock, "Timer_Sending", 100, false, this),
      Timer_Connect(clock, "Timer_Connect", 5000, false, this),
      Timer_Check_Tx(clock, "Timer_Check_Tx", 500, false, this),
      Timer_Connect_Stabil(clock, "Timer_Connect_Stabil", 1000, false, this),
      Timer_Wait(clock, "Timer_Wait", 1000, false, this),
      Timer_Resize(clock, "Timer_Resize", 10, false, this),
      Timer_Error(clock, "Timer_Error", 2000, false, this),
      Timer_Short_Pulse(clock, "Timer_Short_Pulse", 10000, false, this),
      Timer_Led_Automat(clock, "Timer_Led_Automat", 500, false, this),
      Timer_Transmit_Now(clock, "Timer_Transmit_Now", 700, false, this),
      Timer_Transmit_Save(clock, "Timer_Transmit_Save", 1000, false, this),
      Timer_OSC_Record(clock, "Timer_OSC_Record", 2000, false, this),
      Timer_ACB_View(clock, "Timer_ACB_View", 2000, false, this),
      Timer_Cut_Off(clock, "Timer_Cut_Off", 2000, true, this),
      Timer_KnikPoint(clock, "Timer_KnikPoint", 200, false, this),
      Frames(*ComPort, Timer_Sending, Timer_Connect)
{
    Panel_PortStatus = {"Port close", Panel_Colours::Red, Panel_Colours::Black, true};
    Panel_ConnectStatus = {"Not connect", Panel_Colours::Red, Panel_Colours::Black, true};
    Panel_ProtokolStatus = {QString(), QColor(), Panel_Colours::Black, false};
    Panel_ConnectStatus_PerCent = {"0%", Panel_Colours::Red, Panel_Colours::White, true};

    // Timers that switch themselves off when they fire.
    Timer_Cut_Off.Set_Handler([this]() { Timer_Cut_Off.Set_Enabled(false); });
    Timer_KnikPoint.Set_Handler([this]() { Timer_KnikPoint.Set_Enabled(false); });
    Timer_Wait.Set_Handler([this]() { Timer_Wait.Set_Enabled(false); });

    Frames.hooks.Link_Open = [this]() { return Link_Open; };
    Frames.hooks.Reply_Delay = [this]() { return App_Settings.Reply_Delay; };
    Frames.hooks.Port_Name = [this]() { return App_Settings.Port_Name; };
    Frames.hooks.Port_Present = [](const QString& name) { return Port_Present(name); };
    Frames.hooks.Protokol_Changed = [this](Frame_Exchange::Protokol_Colour c) {
        Panel_ProtokolStatus.background = Frame_Exchange::Protokol_Color(c);
        Panels_Changed();
    };
    Timer_Sending.Set_Handler([this]() { Frames.Timer_SendingTimer(); });
    ComPort->On_Rx_Char = [this](int count) { Frames.ComPortRxChar(count); };
    Sequence = std::make_unique<Sequencer>(*this);
    Messages = std::make_unique<Message_Window>(clock);
    Supervisor = std::make_unique<Link_Supervisor>(*this);
    Search = std::make_unique<Port_Search>(*this);

    Frames.hooks.Sequencer_Stop = [this]() { Sequence->Sequencer_Stop = true; };
    Frames.hooks.Sequencer_Run = [this]() { Sequence->Run_Sequencer(); };
    Frames.hooks.Sequencer_Step_Back = [this](int n) { Sequence->Step_Back(n); };
    Sequence->Show_Message = [this](int kind, const QString& text, int colour) {
        Messages->Show_Message(kind, text, colour);
    };
    Quality = std::make_unique<Link_Quality>(*this);
    Frames.hooks.Link_Quality_Answer = [this]() { Quality->Link_Quality_Answer(); };

    // A missing table is not fatal: temperatures then read 0 and the
    // table says why.
    Temperatures.Load_Or_Builtin(Temperature_Table::File_Path(program_folder, program_name));
    Live = std::make_unique<Live_Decoder>(Live_Data, Temperatures, Timer_Cut_Off);
    Sequence->Command_Owners[51] = [this]() {
        Live->Decode_Live_Data({Frames.Rx_Frame.data(), size_t(std::max(0, Frames.Rx_Length))});
        Work_Mode = Live_Data.Work_Mode;
    };
    Install_Calibration_Owners(*Sequence, Calibration, Frames);
    Codec_Hooks codec_hooks;
    codec_hooks.Configuration_Read = [this]() { Config_Changed(); };
    codec_hooks.Service_Time_Read = [this]() { Config_Changed(); };
    codec_hooks.Car_Number_Read = [this](const QString& car_num) {
        CFG_Files->Car_Number_Read(car_num);
        Config_Changed();
    };
    Install_Codec_Owners(*Sequence, Config_Data, Frames, Temperatures, codec_hooks);
    // The connected ECU names the configuration's firmware and version,
    // which select its parameter list.
    Sequence->Command_Owners[50] = [this]() {
        Config_Data.Set_Program_Name(Identification.ECU_Model_Name, App_Settings.Name_Block_PIC);
        Config_Data.Set_Program_Version(Identification.Program_Version);
    };
    // After a configuration write: the cut-off watch starts again and the
    // transmission note leaves the status line.
    Sequence->Command_Owners[197] = [this]() {
        Timer_Cut_Off.Set_Enabled(false);
        Timer_Cut_Off.Set_Enabled(true);
        if (Sequence->Drop_Status)
            Sequence->Drop_Status(Text("Error_Transmission"));
        if (After_Configuration_Write)
            After_Configuration_Write();
    };
    CLB_Actions = std::make_unique<Calibration_Actions>(*this, Calibration);
    CFG_Files = std::make_unique<CFG_Actions>(*this);
    Monitor = std::make_unique<Live_Monitor>(*this);
}

Quorel_Context::~Quorel_Context()
{
    if (ComPort) {
        ComPort->On_After_Open = nullptr;
        ComPort->On_After_Close = nullptr;
        ComPort->Port_Close();
    }
    // The parts point at each other: take them down while all still exist.
    Search.reset();
    CLB_Actions.reset();
    CFG_Files.reset();
    Monitor.reset();
    Live.reset();
    Supervisor.reset();
    Quality.reset();
    Sequence.reset();
    Messages.reset();
}

QString Quorel_Context::Help_Folder() const { return App_Settings.Program_Folder() + "/Help"; }
QString Quorel_Context::Language_Folder() const { return App_Settings.Program_Folder() + "/Language"; }
