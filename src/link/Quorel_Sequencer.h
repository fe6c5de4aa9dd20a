#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <vector>

class Quorel_Context;

// The interpreter of Instruction_List: runs entries until one of them has
// finished a request frame, and is run again after the valid answer.
class Sequencer
{
public:
    static constexpr int List_Size = 100;

    // The lists of instruction 5 (and of the connection list, number -1).
    static constexpr int Connection_List = -1;

    explicit Sequencer(Quorel_Context& context);

    std::array<qint32, List_Size> Instruction_List{};
    int Instruction_Pointer = 0;
    bool Sequencer_Stop = false;
    int Block_Length = 0;
    bool Script_Error_Shown = false;

    // Set by the owning modules.
    int Forced_Injector_Mask = 0;   // bit 0 .. 7: injector 1 .. 8 forced onto gas
    int Error_Clear_Bits = 0;       // errors instruction 27 clears
    int RPM_Sensitivity_Code = 0;   // value of instruction 80
    bool RPM_Measuring = false;     // bit 7 of instruction 80's high byte
    int Map_Last_Point = 8;         // the calibration map's last point index
    // N of the identification answer: the block of 0x30 is N + 3 bytes.
    int Identification_N = 0;

    // Flags that the live-data decoding sets (conditions 209, 211, 212).
    bool Data_Saved_209 = false;
    bool Data_Saved_211 = false;
    bool Sensitivity_Reported_212 = false;

    void Run_Sequencer();
    void Load_Connection_List();
    // Moves back n entries and runs again (resend of an overdue request).
    void Step_Back(int n);
    void Append_Instruction(qint32 value);
    // Builds list n of instruction 5 from index 0; Instruction_Pointer is
    // left behind its last entry.
    void Build_List(int n);
    void Build_Entries(std::initializer_list<qint32> entries);

    // Entry points of the modules that own commands and conditions. A code
    // without an owner does nothing; its call is recorded, so a test sees it.
    std::map<int, std::function<void()>> Command_Owners;
    std::map<int, std::function<bool()>> Condition_Owners;
    // Non-list requests (9, 11) and the assistants' request lists (26, 28).
    std::map<int, std::function<void()>> Request_Owners;
    // Payload of a long write (0x38 .. 0x3D): bytes 2 .. Block_Length - 2.
    std::map<int, std::function<QByteArray()>> Payload_Owners;
    // Instruction 66 / 91: prepare a value list, giving its number of entries.
    std::function<int()> Prepare_All_Values;
    std::function<int(int code)> Prepare_Parameter_Values;
    // Status message list (instructions 26, 40, 94).
    std::function<void(const QString& text, quint32 rgb)> Post_Status;
    std::function<void(const QString& text)> Drop_Status;
    std::vector<int> Unowned_Calls;

    // Called with message kind 4 and the script-error text.
    std::function<void(int kind, const QString& text, int colour)> Show_Message;

private:
    void Run_Sequencer(bool restart_loss_timer);
    void Execute(qint32 entry, int index);
    bool Control(qint32 entry, int index);
    void Command(int code);
    bool Condition(int code);
    void Dispatch_Pending_Request();
    void Script_Error(int index, qint32 value);
    bool Length_Usable(int length, const char* what);
    void Skip_Decode_Of(int read_code);
    void Long_Write(int code, quint8 command);
    void Owner(int code);

    // Reads and writes refused for the connected ECU, reported once each.
    std::vector<QString> refused_;
    QString identification_signature_;
    int prepared_entries_ = 0;

    Quorel_Context& context_;
};

// Whether the firmware has a password block (condition 204) and a
// service-time counter (condition 201).
bool ECU_Has_Password_Block(int version_number);
bool ECU_Has_Service_Time(int version_number);
