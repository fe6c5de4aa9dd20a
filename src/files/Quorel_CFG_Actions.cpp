#include "files/Quorel_CFG_Actions.h"

#include "app/Quorel_Context.h"
#include "files/Quorel_CFG_Current.h"
#include "files/Quorel_CFG_Names.h"
#include "link/Quorel_Message.h"
#include "link/Quorel_Sequencer.h"

namespace {

constexpr int Car_Num_Length = 8;

}   // namespace

CFG_Actions::CFG_Actions(Quorel_Context& context) : context_(context)
{
    Visible_Tab = []() { return CFG_Load_Tab::Configuration; };
    Date_Today = []() { return CFG_Date_Today(); };
    Error_Word = [&context]() { return context.Live_Data.Errors; };

    Sequencer& seq = *context.Sequence;
    auto enable_controls = [&context]() {
        if (context.Supervisor && context.Supervisor->Enable_ECU_Controls)
            context.Supervisor->Enable_ECU_Controls(context.ECU_Connected);
    };
    seq.Command_Owners[70] = [this]() { Save(); };
    seq.Command_Owners[73] = [this]() { context_.Config_Data.Car_Num = Current_Stem().left(Car_Num_Length); };
    seq.Condition_Owners[202] = [this]() { return Current_Stem() != context_.Config_Data.Car_Num; };
    seq.Condition_Owners[203] = [this]() { return Save_After_Write(); };
    seq.Command_Owners[77] = [this, enable_controls]() {
        if (!Save_After_Write())
            return;
        context_.Pending_Request = 0;
        Save();
        enable_controls();
    };
    seq.Request_Owners[9] = [this, enable_controls]() {
        const QString path = chosen_path_;
        chosen_path_.clear();
        if (!path.isEmpty())
            Load(path);
        enable_controls();
        if (!path.isEmpty() && context_.App_Settings.Transmit_Now && context_.ECU_Connected)
            context_.Sequence->Build_List(3);
    };
    seq.Request_Owners[11] = [this, enable_controls]() {
        context_.Pending_Request = 0;
        Save();
        enable_controls();
    };
    // Every value list sent counts as a configuration written in this run.
    auto list_payload = seq.Payload_Owners[0x3B];
    if (list_payload)
        seq.Payload_Owners[0x3B] = [this, list_payload]() {
            Values_Written = true;
            return list_payload();
        };
}

QString CFG_Actions::Current_Stem() const { return Strip_Extension(context_.App_Settings.CFG_File_Name); }

bool CFG_Actions::Save_After_Write() const { return !Current_Stem().isEmpty() && Values_Written; }

CFG_Load_Scope CFG_Actions::Load_Scope() const
{
    return CFG_Load_Scope_For(context_.App_Settings.Save_Load_Data,
                              Visible_Tab ? Visible_Tab() : CFG_Load_Tab::Configuration);
}

void CFG_Actions::Report(const QString& error)
{
    if (context_.Messages)
        context_.Messages->Show_Message(Message_Window::Kind_Text, error, Message_Window::Colour_Red);
}

CFG_Save_Result CFG_Actions::Save()
{
    CFG_Save_Options options;
    options.Text = CFG_Text_Lookup(context_.App_Settings.English_Menu);
    options.Error_Word = Error_Word ? Error_Word() : 0;
    const CFG_Save_Result result =
        Save_Current_CFG(context_.App_Settings, context_.Config_Data, context_.Calibration, Date_Today(), options);
    if (!result.Ok)
        Report(result.Error);
    else
        context_.Config_Changed();   // the date of saving
    return result;
}

bool CFG_Actions::Load(const QString& path)
{
    const CFG_Load_Result result =
        Load_CFG_File(path.isEmpty() ? Current_CFG_Path(context_.App_Settings) : path, context_.Config_Data,
                      context_.Calibration, Load_Scope(), context_.ECU_Connected, context_.App_Settings.Name_Block_PIC);
    if (result.Config_Read || result.Map_Read)
        context_.Config_Changed();
    return result.Found;
}

void CFG_Actions::Load_Chosen(const QString& path)
{
    if (!context_.ECU_Connected) {
        Load(path);
        return;
    }
    chosen_path_ = path;
    context_.Pending_Request = 9;
}

void CFG_Actions::Save_Requested()
{
    if (Current_Stem().isEmpty() && (!Choose_Save_Name || !Choose_Save_Name()))
        return;
    if (context_.ECU_Connected)
        context_.Pending_Request = 11;
    else
        Save();
}

void CFG_Actions::Load_Last_File(Configuration_Class& config)
{
    Load_CFG_File(Current_CFG_Path(context_.App_Settings), config, context_.Calibration, Load_Scope(), false,
                  context_.App_Settings.Name_Block_PIC);
}

void CFG_Actions::Car_Number_Read(const QString& car_num)
{
    Settings_Class& settings = context_.App_Settings;
    if (car_num.isEmpty()) {
        settings.CFG_File_Name.clear();
        return;
    }
    settings.CFG_File_Name = CFG_Name_For_Car_Num(car_num);
    Load_CFG_Car_Data(Current_CFG_Path(settings), context_.Config_Data);
}
