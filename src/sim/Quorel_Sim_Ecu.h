#pragma once

#include "app/Quorel_Clock.h"
#include "link/Quorel_Serial_Virtual.h"
#include "sim/Quorel_Sim_Config.h"
#include "sim/Quorel_Sim_Engine.h"
#include "sim/Quorel_Sim_Faults.h"
#include "sim/Quorel_Sim_Store.h"

#include <QByteArray>

#include <functional>
#include <map>
#include <memory>
#include <vector>

// The ECU's side of the wire. Bytes from the program come in one at a time;
// complete requests of class 0x1D are answered through the output function
// after the configured latency, scheduled on the clock. The object owns no
// port: the virtual line or a pseudo-terminal server carries its bytes.
class Ecu_Simulator : public Serial_Peer
{
public:
    using Output = std::function<void(const QByteArray&)>;
    // A pause longer than this between two bytes starts a new frame.
    static constexpr int Frame_Gap_Ms = 50;

    explicit Ecu_Simulator(Quorel_Clock& clock, const Sim_Ecu_Config& config = {});
    ~Ecu_Simulator() override;
    Ecu_Simulator(const Ecu_Simulator&) = delete;
    Ecu_Simulator& operator=(const Ecu_Simulator&) = delete;

    void Set_Output(Output output) { output_ = std::move(output); }
    // Told when the device vanishes (false) or comes back (true).
    std::function<void(bool)> On_Presence_Changed;

    void Byte_From_Host(quint8 byte) override;
    void Host_Opened() override { Reset_Frame(); }
    void Host_Closed() override { Reset_Frame(); }

    const Sim_Ecu_Config& Config() const { return config_; }
    // Another identity or geometry; the memory is kept and fitted to it.
    void Set_Config(const Sim_Ecu_Config& config);
    // The ECU's memory: what reads return and writes change.
    const Sim_Ecu_Store& Store() const { return store_; }
    void Set_Store(const Sim_Ecu_Store& store) { store_ = store; }
    const Sim_Faults& Faults() const { return faults_; }
    void Set_Faults(const Sim_Faults& faults);
    bool Present() const { return !faults_.Port_Vanished; }

    // What the ECU was told.
    // Bytes 2 ... n-2 of the last long write with this command; empty if none.
    QByteArray Long_Write_Payload(quint8 command) const;
    // Bytes 2 and 3 of the last work-mode request (injector mask, mode).
    QByteArray Work_Mode_Bytes() const { return work_mode_bytes_; }
    // Work mode selected by the last request: 1 petrol, 2 automat, 4 gas.
    // In automat the live data report gas once the engine has switched over.
    quint8 Work_Mode() const { return engine_.Selected_Mode(); }
    // The engine behind the live data.
    Sim_Engine& Engine() { return engine_; }
    const Sim_Engine& Engine() const { return engine_; }
    int Announced_Length() const { return announced_length_; }
    quint16 Error_Clear_Bits() const { return error_clear_bits_; }
    // Last value written to a parameter letter, -1 if never written.
    int Parameter_Value(quint8 letter) const;

    int Frames_Accepted() const { return frames_accepted_; }
    int Frames_Rejected() const { return frames_rejected_; }
    int Bytes_Discarded() const { return bytes_discarded_; }
    int Answers_Sent() const { return answers_sent_; }
    // Long writes whose data did not fit their block; they got no answer.
    int Writes_Refused() const { return writes_refused_; }
    // Parameter codes in value lists that the firmware does not know.
    int Codes_Ignored() const { return codes_ignored_; }

private:
    void Reset_Frame();
    void Take_Byte(quint8 byte);
    int Request_Length(quint8 command) const;
    void Frame_Complete(const QByteArray& frame);
    void Handle_Request(const QByteArray& frame);
    QByteArray Read_Answer(quint8 command);
    QByteArray Live_Data();
    bool Store_Long_Write(quint8 command, const QByteArray& data);
    void Schedule_Answer(const QByteArray& answer);
    void Deliver(QByteArray answer);
    void Cancel_Pending();

    Quorel_Clock& clock_;
    Sim_Ecu_Config config_;
    Sim_Faults faults_;
    Sim_Ecu_Store store_;
    Output output_;

    QByteArray frame_;
    int frame_length_ = 0;
    qint64 last_byte_ms_ = 0;

    int announced_length_ = 0;
    QByteArray work_mode_bytes_;
    Sim_Engine engine_;
    quint16 error_clear_bits_ = 0;
    std::map<quint8, QByteArray> long_writes_;
    std::map<quint8, quint16> parameters_;

    int frames_accepted_ = 0;
    int frames_rejected_ = 0;
    int bytes_discarded_ = 0;
    int answers_sent_ = 0;
    int writes_refused_ = 0;
    int codes_ignored_ = 0;
    int answerable_count_ = 0;
    int dropped_counter_ = 0;
    std::vector<Quorel_Clock::Handle> pending_;
};
