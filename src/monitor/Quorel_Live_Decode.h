#pragma once

#include "monitor/Quorel_Engine_Stop.h"
#include "monitor/Quorel_Live_Averaging.h"
#include "monitor/Quorel_Live_Consumers.h"
#include "monitor/Quorel_Live_Data.h"
#include "monitor/Quorel_Live_Inputs.h"

#include <array>
#include <span>

class Quorel_Timer;
class Temperature_Table;

// Turns an accepted live-data answer into Live_Data and hands the sample to
// its consumers.
class Live_Decoder
{
public:
    // Highest byte position the answer layout uses.
    static constexpr int Last_Position = 69;

    Live_Decoder(Live_Data_Record& live_data, const Temperature_Table& table, Quorel_Timer& timer_cut_off);

    // The decode step. `answer` is the received answer (echo, data,
    // checksum); positions beyond it read as 0, so a short answer or an
    // empty buffer decodes to consistent values.
    void Decode_Live_Data(std::span<const quint8> answer);

    Live_Config Config;
    Live_Settings Settings;
    Live_Consumers Consumers;

    // Injector buttons 1..8 (index 0..7): down = running on gas. On gas
    // the ECU's injector mask sets them.
    std::array<bool, Live_Data_Record::Injector_Count> Gas_Button_Down{};

    const Averaging_Buffer& Petrol_Buffer(int index) const { return petrol_buffers_[index]; }
    const Averaging_Buffer& Gas_Buffer(int index) const { return gas_buffers_[index]; }

private:
    void Average(int n);
    void Clear_Stopped_Engine();
    void Means();

    Live_Data_Record& live_;
    const Temperature_Table& table_;
    Engine_Stop_Detector engine_stop_;
    std::array<Averaging_Buffer, Live_Data_Record::Injector_Count> petrol_buffers_{};
    std::array<Averaging_Buffer, Live_Data_Record::Injector_Count> gas_buffers_{};
    bool averaging_was_on_ = false;
};
