#include "link/Quorel_Sequencer.h"

#include "app/Quorel_Context.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Command.h"

#include <algorithm>

namespace {

// The lists of instruction 5, the connection list and the request lists.
const std::initializer_list<qint32> Connection_Entries = {21, 30, 50, 206, 4, 71, 5, 0, 204, 3, 32, 76, 74, 71, 31, 51,
                                                          196, 201, 3, 33, 53, 34, 54, 36, 56, 35, 55, 37, 57, 75, 5, 0};
const std::initializer_list<qint32> List_0 = {72, 31, 51, 198, 1, 1};
const std::initializer_list<qint32> List_2 = {74, 34, 54, 36, 56, 37, 57, 207, 3, 35, 55, 201, 3, 33, 53, 75, 5, 0};
const std::initializer_list<qint32> List_3 = {202, 5, 73, 64, 26, 41, 66, 26, 42, 208, 11, 205, 4, 67,
                                              26,  44, 207, 4, 65, 26, 43, 203, 2, 77, 197, 5, 0};
const std::initializer_list<qint32> List_4 = {94, 97, 90, 80, 31, 51, 198, 212, -4, 98, 5, 0};
const std::initializer_list<qint32> List_5 = {102, 89, 26, 42, 31, 51, 198, 211, -4, 103, 5, 0};
const std::initializer_list<qint32> List_6 = {94, 105, 90, 80,  31, 51, 198, 212, -4, 215, 5,  3,
                                              11, 3,   0,  108, 94, 106, 90, 80, 31, 51, 198, 212,
                                              -4, 215, 5,  3,   11, 3,  0,  107, 101, 5, 5};

constexpr int Entries_Per_Run_Limit = 10 * Sequencer::List_Size;
constexpr quint32 Cyan = 0x00FFFF;
constexpr int Red = 255;   // message colour, as 0x00BBGGRR

// The decode instruction that belongs to each block read.
int Decode_Of(int read_code)
{
    switch (read_code) {
    case 30: return 50;
    case 31: return 51;
    case 32: return 52;
    case 33: return 53;
    case 34: return 54;
    case 35: return 55;
    case 36: return 56;
    case 37: return 57;
    }
    return 0;
}

} // namespace

bool ECU_Has_Password_Block(int version_number)
{
    // Every firmware of the 4xx, 6xx and 8xx families.
    const int family = version_number / 100;
    return family == 4 || family == 6 || family == 8;
}

bool ECU_Has_Service_Time(int version_number) { return ECU_Has_Password_Block(version_number); }

Sequencer::Sequencer(Quorel_Context& context) : context_(context) {}

void Sequencer::Append_Instruction(qint32 value)
{
    if (Instruction_Pointer >= 0 && Instruction_Pointer < List_Size)
        Instruction_List[size_t(Instruction_Pointer)] = value;
    ++Instruction_Pointer;
}

void Sequencer::Build_Entries(std::initializer_list<qint32> entries)
{
    Instruction_Pointer = 0;
    for (qint32 e : entries)
        Append_Instruction(e);
}

void Sequencer::Build_List(int n)
{
    switch (n) {
    case Connection_List: Build_Entries(Connection_Entries); return;
    case 0: Build_Entries(List_0); return;
    case 2: Build_Entries(List_2); return;
    case 3: Build_Entries(List_3); return;
    case 4: Build_Entries(List_4); return;
    case 5: Build_Entries(List_5); return;
    case 6: Build_Entries(List_6); return;
    }
    // An unknown list number leaves nothing to run but polling.
    Build_Entries(List_0);
}

void Sequencer::Load_Connection_List()
{
    Build_List(Connection_List);
    Instruction_Pointer = 0;
    Run_Sequencer();
}

void Sequencer::Step_Back(int n)
{
    Instruction_Pointer = std::max(0, Instruction_Pointer - n);
    // A resend is no sign of life: the loss timer keeps counting from the
    // last answer, so an ECU that stopped answering in the middle of a write
    // is still declared lost.
    Run_Sequencer(false);
}

void Sequencer::Run_Sequencer() { Run_Sequencer(true); }

void Sequencer::Run_Sequencer(bool restart_loss_timer)
{
    context_.Timer_Sending.Set_Enabled(false);
    if (restart_loss_timer)
        context_.Timer_Connect.Set_Enabled(false);
    int executed = 0;
    do {
        if (Instruction_Pointer < 0 || Instruction_Pointer >= List_Size) {
            Script_Error(std::clamp(Instruction_Pointer, 0, List_Size - 1), Instruction_Pointer);
            Build_List(0);
            Instruction_Pointer = 0;
        }
        const int index = Instruction_Pointer++;
        const qint32 entry = Instruction_List[size_t(index)];
        if (entry >= 1 && entry <= 5) {
            Control(entry, index);
        } else {
            Execute(entry, index);
        }
        // A list that never finishes a request must not hold the program.
        if (++executed >= Entries_Per_Run_Limit)
            break;
    } while (!Sequencer_Stop);
    Sequencer_Stop = false;
    if (restart_loss_timer || !context_.Timer_Connect.Enabled())
        context_.Timer_Connect.Set_Enabled(true);
}

bool Sequencer::Control(qint32 entry, int index)
{
    auto operand = [this, index](int k) {
        const int at = index + k;
        return at >= 0 && at < List_Size ? Instruction_List[size_t(at)] : 0;
    };
    int target = index + 1;
    switch (entry) {
    case 1: target = operand(1) - 1; break;
    case 2: target = index + operand(1); break;
    case 3: {
        const int back = operand(1);
        const int count = operand(2);
        const int counter_at = index + 3;
        if (counter_at >= List_Size) {
            Script_Error(index, entry);
            return false;
        }
        qint32& counter = Instruction_List[size_t(counter_at)];
        if (counter < count) {
            ++counter;
            target = index - back;
        } else {
            counter = 0;
            target = index + 4;
        }
        break;
    }
    case 4:
        context_.Timer_Wait.Set_Enabled(false);
        context_.Timer_Wait.Set_Interval(operand(1) * 1000);
        context_.Timer_Wait.Set_Enabled(true);
        target = index + 2;
        break;
    case 5:
        Build_List(operand(1));
        target = 0;
        break;
    }
    if (target < 0 || target >= List_Size) {
        Script_Error(index, entry);
        return false;
    }
    // The entry reached is executed as a command or condition only.
    Instruction_Pointer = target + 1;
    const qint32 reached = Instruction_List[size_t(target)];
    if (reached >= 1 && reached <= 5)
        Script_Error(target, reached);
    else
        Execute(reached, target);
    return true;
}

void Sequencer::Execute(qint32 entry, int index)
{
    if (entry == 0)
        return;
    if (entry >= 20 && entry <= 199) {
        Command(entry);
        return;
    }
    if (entry >= 200 && entry <= 254) {
        const int d = index + 1 < List_Size ? Instruction_List[size_t(index + 1)] : 0;
        // An unknown condition takes no jump.
        const bool holds = (entry >= 201 && entry <= 218) ? Condition(entry) : (Script_Error(index, entry), true);
        Instruction_Pointer = holds ? index + 2 : index + 1 + d;
        Sequencer_Stop = false;
        return;
    }
    Script_Error(index, entry);
}

void Sequencer::Script_Error(int index, qint32 value)
{
    if (Script_Error_Shown)
        return;
    Script_Error_Shown = true;
    const QString text = QStringLiteral("Error In Script\n\rScript number : %1\n\rScript : %2").arg(index + 1).arg(value);
    if (Show_Message)
        Show_Message(4, text, Red);
}

void Sequencer::Owner(int code)
{
    auto it = Command_Owners.find(code);
    if (it != Command_Owners.end() && it->second)
        it->second();
    else
        Unowned_Calls.push_back(code);
}

bool Sequencer::Length_Usable(int length, const char* what)
{
    if (length >= 3 && length <= Frame_Exchange::Frame_Size)
        return true;
    const QString key = QString::fromLatin1(what);
    if (std::find(refused_.begin(), refused_.end(), key) == refused_.end()) {
        refused_.push_back(key);
        if (Show_Message)
            Show_Message(4,
                         QStringLiteral("The ECU announces a %1 of %2 bytes, which this program cannot take. "
                                        "It is not read or written for this ECU.")
                             .arg(key)
                             .arg(length),
                         Red);
    }
    return false;
}

void Sequencer::Skip_Decode_Of(int read_code)
{
    if (Instruction_Pointer < List_Size && Instruction_List[size_t(Instruction_Pointer)] == Decode_Of(read_code))
        ++Instruction_Pointer;
}

void Sequencer::Long_Write(int code, quint8 command)
{
    auto payload = Payload_Owners.find(command);
    if (payload == Payload_Owners.end() || !payload->second) {
        Unowned_Calls.push_back(code);
        return;
    }
    if (!Length_Usable(Block_Length, "block to write"))
        return;
    Build_Long_Write(context_.Frames, command, payload->second(), Block_Length);
    if (command == 0x39 && Drop_Status)
        Drop_Status(Text("Error_Transmission"));
}

void Sequencer::Command(int code)
{
    Frame_Exchange& frames = context_.Frames;
    const Identification_Class& id = context_.Identification;
    auto read = [&](int read_code, quint8 command, int rx_expected, const char* what) {
        if (Length_Usable(rx_expected, what))
            Build_Read(frames, command, rx_expected);
        else
            Skip_Decode_Of(read_code);
    };
    switch (code) {
    case 21:
        if (frames.hooks.Build_Identification)
            frames.hooks.Build_Identification();
        else
            Build_Identification(frames);
        return;
    case 22: {
        quint8 mode = frames.Tx_Frame[3];
        switch (context_.Work_Mode) {
        case 1: mode = 2; break;
        case 2: mode = 4; break;
        case 4: mode = 1; break;
        }
        Build_Work_Mode(frames, 0, mode);
        return;
    }
    case 23: Build_Work_Mode(frames, quint8(Forced_Injector_Mask), 4); return;
    case 24: Build_Work_Mode(frames, 0, Condition(208) ? 0x01 : 0x81); return;
    case 25: Build_Work_Mode(frames, 0, 0x02); return;
    case 26:
        if (Post_Status)
            Post_Status(Text("Error_Transmission"), Cyan);
        Build_Short_Write(frames, 0x23, Block_Length);
        return;
    case 27: {
        Data_Saved_209 = false;
        const int bits = Error_Clear_Bits;
        Error_Clear_Bits = 0;
        Build_Short_Write(frames, 0x24, bits);
        return;
    }
    case 30:
        if (frames.Rx_Frame[1] == 0x21)
            Identification_N = frames.Rx_Frame[2];
        read(30, 0x30, Identification_N + 3, "identification block");
        return;
    case 31: read(31, 0x31, id.Live_Data_Length + 3, "live-data block"); return;
    case 32: read(32, 0x32, 67, "password block"); return;
    case 33: read(33, 0x33, 11, "service-time block"); return;
    case 34: read(34, 0x34, 11, "car-number block"); return;
    case 35: read(35, 0x36, 6 * Map_Last_Point + 9, "calibration map"); return;
    case 36: read(36, 0x35, id.Config_Length + 3, "configuration block"); return;
    case 37: {
        const int w4 = id.W[3], w7 = id.W[6], w12 = id.W[11];
        const bool sane = w4 >= 0 && w7 >= 0 && w12 >= 0 && w4 + 1 >= 1 && w7 + w12 + 2 >= 1;
        read(37, 0x37, sane ? Correction_Block_Length(w4, w7, w12) : -1, "correction-factor block");
        return;
    }
    case 39: Long_Write(code, 0x38); return;
    case 40: Long_Write(code, 0x39); return;
    case 41: Long_Write(code, 0x3A); return;
    case 42: Long_Write(code, 0x3B); return;
    case 43: Long_Write(code, 0x3C); return;
    case 44: Long_Write(code, 0x3D); return;
    case 50:
    {
        context_.Identification = Decode_Identification(frames.Rx_Frame.data(), frames.Rx_Length, context_.App_Settings);
        // A different ECU gets its own reports of refused blocks.
        const Identification_Class& now = context_.Identification;
        const QString signature = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                                      .arg(now.Program_Name, now.Program_Version)
                                      .arg(now.Live_Data_Length)
                                      .arg(now.Config_Length)
                                      .arg(now.W[3])
                                      .arg(now.W[6])
                                      .arg(now.W[11]);
        if (signature != identification_signature_) {
            identification_signature_ = signature;
            refused_.clear();
        }
    }
        if (Command_Owners.count(50))
            Command_Owners[50]();
        return;
    case 60:
    case 63:
    case 64: Block_Length = 11; return;
    case 61: Block_Length = id.Live_Data_Length + 3; return;
    case 62: Block_Length = 67; return;
    case 65: Block_Length = 6 * Map_Last_Point + 9; return;
    case 66:
        if (Prepare_All_Values) {
            Block_Length = Prepare_All_Values() * 3 + 3;
        } else {
            Block_Length = 3;   // an empty list: nothing stale is announced
            Unowned_Calls.push_back(code);
        }
        return;
    case 67: {
        const int w4 = id.W[3], w7 = id.W[6], w12 = id.W[11];
        Block_Length = Correction_Block_Length(w4, w7, w12);
        return;
    }
    case 72: frames.Tx_Length = 5; return;
    case 80: {
        int value = RPM_Sensitivity_Code & 0xFFFF;
        if (RPM_Measuring)
            value |= 0x8000;
        Build_Short_Write(frames, 0x46, value);
        return;
    }
    case 81:
    case 82: return;
    case 83:
        Sequencer_Stop = true;
        Owner(code);
        return;
    case 85: Error_Clear_Bits &= ~1; return;
    case 88:
        if (context_.Supervisor && context_.Supervisor->Enable_ECU_Controls)
            context_.Supervisor->Enable_ECU_Controls(false);
        return;
    case 89: Data_Saved_211 = false; return;
    case 90: frames.Rx_Expected = 3; return;
    case 91:
        if (Prepare_Parameter_Values) {
            prepared_entries_ = Prepare_Parameter_Values(context_.Pending_Request);
        } else {
            prepared_entries_ = 0;
            Unowned_Calls.push_back(code);
        }
        return;
    case 92: Block_Length = prepared_entries_ * 3 + 3; return;
    case 93: context_.Pending_Request = 0; return;
    case 94:
        Sensitivity_Reported_212 = false;
        if (Drop_Status)
            Drop_Status(Text("Error_Transmission"));
        return;
    case 95: context_.Pending_Request = 70; return;
    case 198: Dispatch_Pending_Request(); return;
    case 51: case 52: case 53: case 54: case 55: case 56: case 57:
    case 70: case 71: case 73: case 74: case 75: case 76: case 77: case 86: case 87:
    case 96: case 97: case 98: case 99: case 100: case 101: case 102: case 103: case 104:
    case 105: case 106: case 107: case 108: case 109: case 196: case 197:
        Owner(code);
        return;
    }
    Script_Error(Instruction_Pointer - 1, code);
}

bool Sequencer::Condition(int code)
{
    auto owned = [this, code](bool otherwise) {
        auto it = Condition_Owners.find(code);
        if (it != Condition_Owners.end() && it->second)
            return it->second();
        Unowned_Calls.push_back(code);
        return otherwise;
    };
    switch (code) {
    case 201: return ECU_Has_Service_Time(context_.Identification.Version_Number);
    case 204: return ECU_Has_Password_Block(context_.Identification.Version_Number);
    case 206: {
        const auto too_new = ECU_Too_New(context_.Identification.Identification_Code,
                                         context_.Identification.Required_Version);
        if (too_new.Too_New && Show_Message)
            Show_Message(10, too_new.Text, Red);
        return too_new.Too_New;
    }
    case 207: return context_.App_Settings.Save_Load_Data;
    case 208: return owned(true);   // no auto-calibration without its module
    case 209: return Data_Saved_209;
    case 210: return !context_.Timer_Wait.Enabled();
    case 211: return Data_Saved_211;
    case 212: return Sensitivity_Reported_212;
    }
    return owned(false);
}

void Sequencer::Dispatch_Pending_Request()
{
    const int request = context_.Pending_Request;
    if (request == 0)
        return;
    auto list = [this](std::initializer_list<qint32> entries) { Build_Entries(entries); };
    auto owned = [this, request]() {
        auto it = Request_Owners.find(request);
        if (it != Request_Owners.end() && it->second)
            it->second();
        else
            Unowned_Calls.push_back(1000 + request);
    };
    switch (request) {
    case 1: if (context_.ECU_Connected) list({22, 5, 0}); break;
    case 2: if (context_.ECU_Connected) Build_List(3); break;
    case 3: Build_List(2); break;
    case 4: list({65, 26, 43, 208, 7, 202, 5, 73, 64, 26, 41, 203, 2, 77, 197, 5, 0}); break;
    case 5: list({74, 35, 55, 75, 5, 0}); break;
    case 6: list({23, 5, 0}); break;
    case 7: list({24, 5, 0}); break;
    case 9:
    case 11:
    case 26:
    case 28: owned(); break;
    case 14: list({81, 80, 82, 203, 2, 77, 5, 0}); break;
    case 16: if (context_.ECU_Connected) list({72, 24, 31, 51, 3, 2, 7, 0, 83}); break;
    case 18:
        list({72, 24, 66, 26, 42, 197, 72, 27, 31, 51, 209, -3, 85, 27, 36, 56, 35, 55, 87, 203, 2, 77, 5, 0});
        break;
    case 20: list({24, 62, 26, 39, 86, 5, 0}); break;
    case 21: list({24, 62, 26, 39, 86, 66, 26, 42, 67, 26, 44, 65, 26, 43, 203, 2, 77, 197, 5, 0}); break;
    case 22: list({72, 27, 5, 0}); break;
    case 23: list({63, 26, 40, 203, 2, 77, 5, 0}); break;
    case 24: list({33, 53, 5, 0}); break;
    case 25: list({88, 72, 24, 4, 3, 31, 51, 210, -3, 27, 5, 0}); break;
    case 27: Build_List(4); break;
    case 29: Build_List(5); break;
    default:
        if (request >= 65 && request <= 117) {
            if (Prepare_Parameter_Values) {
                Block_Length = Prepare_Parameter_Values(request) * 3 + 3;
            } else {
                Block_Length = 3;
                Unowned_Calls.push_back(91);
            }
            list({26, 42, 203, 2, 77, 197, 5, 0});
        }
        break;
    }
    context_.Pending_Request = 0;
    Instruction_Pointer = 0;
}
