#include "sim/Quorel_Sim_Ecu.h"

#include "sim/Quorel_Sim_Blocks.h"

#include <algorithm>

using namespace Sim_Blocks;

namespace
{
constexpr int Max_Frame = 1024;

quint8 At(const QByteArray& bytes, int i) { return quint8(bytes[i]); }
}

Ecu_Simulator::Ecu_Simulator(Quorel_Clock& clock, const Sim_Ecu_Config& config)
    : clock_(clock), config_(config), store_(Sim_Ecu_Store::Factory(config)), engine_(clock.Now_Ms())
{
}

void Ecu_Simulator::Set_Config(const Sim_Ecu_Config& config)
{
    config_ = config;
    store_.Fit(config_);
}

Ecu_Simulator::~Ecu_Simulator() { Cancel_Pending(); }

void Ecu_Simulator::Cancel_Pending()
{
    for (auto handle : pending_)
        clock_.Cancel(handle);
    pending_.clear();
}

void Ecu_Simulator::Set_Faults(const Sim_Faults& faults)
{
    const bool was_present = Present();
    if (faults.Drop_Every != faults_.Drop_Every)
        dropped_counter_ = 0;
    if (faults.Answer_Every != faults_.Answer_Every)
        answerable_count_ = 0;
    faults_ = faults;
    if (was_present == Present())
        return;
    // a device that vanishes loses what it was doing
    Reset_Frame();
    Cancel_Pending();
    if (On_Presence_Changed)
        On_Presence_Changed(Present());
}

QByteArray Ecu_Simulator::Long_Write_Payload(quint8 command) const
{
    auto it = long_writes_.find(command);
    return it == long_writes_.end() ? QByteArray() : it->second;
}

int Ecu_Simulator::Parameter_Value(quint8 letter) const
{
    auto it = parameters_.find(letter);
    return it == parameters_.end() ? -1 : int(it->second);
}

void Ecu_Simulator::Reset_Frame()
{
    bytes_discarded_ += int(frame_.size());
    frame_.clear();
    frame_length_ = 0;
}

void Ecu_Simulator::Byte_From_Host(quint8 byte)
{
    if (!Present())
        return;
    const qint64 now = clock_.Now_Ms();
    if (!frame_.isEmpty() && now - last_byte_ms_ > Frame_Gap_Ms)
        Reset_Frame();
    last_byte_ms_ = now;
    Take_Byte(byte);
}

int Ecu_Simulator::Request_Length(quint8 command) const
{
    if (Is_Long_Write(command))
        return announced_length_ >= 3 && announced_length_ <= Max_Frame ? announced_length_ : -1;
    if (Is_Read(command) || Is_Parameter_Write(command) || (command >= 0x21 && command <= 0x24))
        return 5;
    return -1;
}

void Ecu_Simulator::Take_Byte(quint8 byte)
{
    if (frame_.isEmpty()) {
        if (byte == Class_ECU)
            frame_.append(char(byte));
        else
            ++bytes_discarded_;
        return;
    }
    if (frame_.size() == 1) {
        const int length = Request_Length(byte);
        if (length < 0) {
            // not a command: the class byte was noise; this byte may start a frame
            Reset_Frame();
            Take_Byte(byte);
            return;
        }
        frame_length_ = length;
    }
    frame_.append(char(byte));
    if (frame_.size() == frame_length_) {
        const QByteArray frame = frame_;
        frame_.clear();
        frame_length_ = 0;
        Frame_Complete(frame);
    }
}

void Ecu_Simulator::Frame_Complete(const QByteArray& frame)
{
    if (Checksum(frame.left(frame.size() - 1)) != At(frame, frame.size() - 1)) {
        ++frames_rejected_;
        // Not a frame after all: look for a start among the bytes after its class.
        ++bytes_discarded_;
        for (int i = 1; i < frame.size(); ++i)
            Take_Byte(At(frame, i));
        return;
    }
    ++frames_accepted_;
    Handle_Request(frame);
}

void Ecu_Simulator::Handle_Request(const QByteArray& frame)
{
    const quint8 command = At(frame, 1);
    const auto word = [&frame]() { return quint16(At(frame, 2) << 8 | At(frame, 3)); };
    QByteArray answer;
    if (command == 0x21) {
        answer = Make_Frame(command, QByteArray(1, char(config_.Ident_Data_Length())));
    } else if (Is_Read(command)) {
        answer = Read_Answer(command);
    } else {
        switch (command) {
        case 0x22: {
            work_mode_bytes_ = frame.mid(2, 2);
            engine_.Advance_To(clock_.Now_Ms(), store_);
            engine_.Request_Work_Mode(At(frame, 2), At(frame, 3));
            break;
        }
        case 0x23: announced_length_ = word(); break;
        case 0x24:
            error_clear_bits_ = word();
            engine_.Advance_To(clock_.Now_Ms(), store_);
            engine_.Service(error_clear_bits_, store_);
            break;
        default:
            if (Is_Long_Write(command)) {
                const QByteArray data = frame.mid(2, frame.size() - 3);
                long_writes_[command] = data;
                if (!Store_Long_Write(command, data)) {
                    ++writes_refused_;
                    return;
                }
            } else if (Is_Parameter_Write(command)) {
                parameters_[command] = word();
                int ignored = 0;
                store_.Apply_Parameter_List(config_, frame.mid(1, 3), ignored);
                codes_ignored_ += ignored;
            }
            break;
        }
        answer = Make_Frame(command, QByteArray());
    }
    Schedule_Answer(answer);
}

bool Ecu_Simulator::Store_Long_Write(quint8 command, const QByteArray& data)
{
    switch (command) {
    case 0x38: return store_.Apply_Password(data);
    case 0x39: return store_.Apply_Service(data);
    case 0x3A: return store_.Apply_Car_Num(data);
    case 0x3B: return store_.Apply_Parameter_List(config_, data, codes_ignored_);
    case 0x3C: return store_.Apply_Map(data);
    case 0x3D: return store_.Apply_Factors(config_, data);
    default: return false;
    }
}

QByteArray Ecu_Simulator::Read_Answer(quint8 command)
{
    switch (command) {
    case 0x30: return Identification_Block(config_);
    case 0x31: return Make_Frame(command, Live_Data());
    case 0x32: return Make_Frame(command, store_.Password_Block);
    case 0x33: return Make_Frame(command, store_.Service_Answer());
    case 0x34: return Make_Frame(command, store_.Car_Num);
    case 0x35: return Make_Frame(command, store_.Config_Answer(config_));
    case 0x36: return Make_Frame(command, store_.Map);
    case 0x37: return Make_Frame(command, store_.Factor_Answer(config_));
    default: return Make_Frame(command, QByteArray(Answer_Length(config_, command) - 3, '\0'));
    }
}

QByteArray Ecu_Simulator::Live_Data()
{
    engine_.Advance_To(clock_.Now_Ms(), store_);
    return engine_.Live_Data(store_, config_.Live_Length);
}

void Ecu_Simulator::Schedule_Answer(const QByteArray& answer)
{
    ++answerable_count_;
    if (faults_.Answer_Every > 1 && answerable_count_ % faults_.Answer_Every != 0)
        return;
    auto handle = std::make_shared<Quorel_Clock::Handle>(0);
    *handle = clock_.Call_After(qMax(0, config_.Latency_Ms), [this, answer, handle]() {
        pending_.erase(std::remove(pending_.begin(), pending_.end(), *handle), pending_.end());
        Deliver(answer);
    });
    pending_.push_back(*handle);
}

void Ecu_Simulator::Deliver(QByteArray answer)
{
    if (!Present() || faults_.Silence)
        return;
    if (faults_.Wrong_Echo) {
        answer[1] = char(At(answer, 1) ^ 0x01);
        answer[answer.size() - 1] = char(Checksum(answer.left(answer.size() - 1)));
    }
    if (faults_.Bad_Checksum)
        answer[answer.size() - 1] = char(At(answer, answer.size() - 1) + 1);
    if (faults_.Short_Answer > 0)
        answer.chop(qMin<qsizetype>(faults_.Short_Answer, answer.size()));
    if (faults_.Drop_Every > 0) {
        QByteArray kept;
        for (char c : std::as_const(answer)) {
            if (++dropped_counter_ >= faults_.Drop_Every)
                dropped_counter_ = 0;
            else
                kept.append(c);
        }
        answer = kept;
    }
    ++answers_sent_;
    if (output_ && !answer.isEmpty())
        output_(answer);
}
