#include "monitor/Quorel_Live_Decode.h"

#include "monitor/Quorel_Live_Convert.h"
#include "monitor/Quorel_Temperature_Table.h"

namespace {

// The answer's bytes 0..Last_Position, zero beyond the received length.
struct Answer_Bytes
{
    explicit Answer_Bytes(std::span<const quint8> answer)
    {
        const size_t n = qMin(answer.size(), bytes.size());
        for (size_t i = 0; i < n; ++i)
            bytes[i] = answer[i];
    }
    quint8 operator[](int i) const { return bytes[size_t(i)]; }
    int Word(int i) const { return Word_Value(bytes[size_t(i)], bytes[size_t(i) + 1]); }

    std::array<quint8, Live_Decoder::Last_Position + 1> bytes{};
};

// Injectors whose petrol time is read for n injectors: 1 and 2 always, 3..6
// up to n, 7 and 8 only with 8.
int Decoded_Injectors(int inject_num)
{
    const int n = qBound(2, inject_num, 8);
    return n == 7 ? 6 : n;
}

}   // namespace

Live_Decoder::Live_Decoder(Live_Data_Record& live_data, const Temperature_Table& table, Quorel_Timer& timer_cut_off)
    : live_(live_data), table_(table), engine_stop_(timer_cut_off)
{
}

void Live_Decoder::Decode_Live_Data(std::span<const quint8> answer)
{
    const Answer_Bytes b(answer);
    const bool software_level = Config.Level_Type == Level_Type_Software_Text;

    // 1. Work mode and processor clock
    live_.CPU_Freq_MHz = (b[2] & 0x80) ? 8 : 64;
    Consumers.Call(Live_Consumers::CPU_Freq_Display, Consumers.On_CPU_Freq, int(live_.CPU_Freq_MHz));
    const int mode = b[2] & 0x7F;
    if (mode != live_.Work_Mode) {
        live_.Work_Mode = mode;
        if (mode == Live_Data_Record::Mode_Petrol || mode == Live_Data_Record::Mode_Automat
            || mode == Live_Data_Record::Mode_Gas)
            Consumers.Call(Live_Consumers::Work_Mode_Display, Consumers.On_Work_Mode, mode);
    }
    live_.Gas_Mask = b[3];
    const bool on_gas = live_.Work_Mode == Live_Data_Record::Mode_Gas;
    if (on_gas) {
        for (int i = 0; i < Live_Data_Record::Injector_Count; ++i)
            Gas_Button_Down[i] = (live_.Gas_Mask >> i) & 1;
        Consumers.Call(Live_Consumers::Injector_Buttons, Consumers.On_Injector_Buttons, int(live_.Gas_Mask));
    }

    // 2. Level mode
    live_.Level_Mode = b[57] & 0xF0;
    if (software_level)
        Consumers.Call(Live_Consumers::Level_Mode_Display, Consumers.On_Level_Mode, int(live_.Level_Mode));

    // 3..5. Status, errors, info line
    live_.Status = b.Word(4);
    if (Consumers.On_Status)
        Consumers.On_Status(live_.Status);
    else {
        ++Consumers.Unset_Calls[Live_Consumers::Status_Handling];
        live_.Status_Prev = live_.Status;
    }
    live_.Errors = b.Word(6);
    Consumers.Call(Live_Consumers::Error_Handling, Consumers.On_Errors, int(live_.Errors));
    live_.Info_Flags = b[8];
    live_.Info_Value = b[9];
    Consumers.Call(Live_Consumers::Info_Line, Consumers.On_Info, int(live_.Info_Flags), int(live_.Info_Value));

    // 6. Injection times
    live_.Petrol_Time.fill(0);
    live_.Gas_Time.fill(0);
    const int injectors = Decoded_Injectors(Config.Inject_Num);
    for (int i = 0; i < injectors; ++i) {
        live_.Petrol_Time[i] = b.Word(10 + 2 * i);
        Consumers.Call(Live_Consumers::Short_Pulse_Check, Consumers.On_Short_Pulse_Check, i + 1,
                       int(live_.Petrol_Time[i]));
        if (Gas_Button_Down[i])
            live_.Gas_Time[i] = b.Word(26 + 2 * i);
    }

    // 7..13. Factor, engine speed, sensors
    live_.Factor = on_gas ? b[62] : 0;
    live_.RPM = Period_To_RPM(b[44], b[45]);
    live_.TempAUX1 = Adc_To_Temperature(b[54], b[55], table_);
    live_.Press_Volt = Adc_To_Volt(b[52], b[53]);
    live_.PressInject = Settings.PRESS_Averaging
                            ? Adc_To_Pressure(b[52], b[53], Config.MAP_Sensor_C1, Config.MAP_Sensor_C2)
                            : Adc_To_Pressure(b[60], b[61], Config.MAP_Sensor_C1, Config.MAP_Sensor_C2);
    live_.Level = b[56] + 256 * (b[57] & 3);
    live_.Lambda = Adc_To_Volt(b[48], b[49]);
    live_.Power = Adc_To_Power(b[46], b[47]);
    live_.Pump_Value = b[63];
    live_.Level_Counter = (quint32(b.Word(64)) << 16) | quint32(b.Word(66));

    // 14. Averaging
    if (Settings.GEN_Averaging) {
        if (!averaging_was_on_) {
            for (auto& buffer : petrol_buffers_)
                buffer.Reset();
            for (auto& buffer : gas_buffers_)
                buffer.Reset();
        }
        Average(Settings.Averaging_Num());
    } else {
        live_.Petrol_Time_Avg = live_.Petrol_Time;
        live_.Gas_Time_Avg = live_.Gas_Time;
    }
    averaging_was_on_ = Settings.GEN_Averaging;

    // 15. Engine stop
    if (engine_stop_.Check(live_.Petrol_Time))
        Clear_Stopped_Engine();

    // 16. Means
    Means();

    // 17..23. Consumers of the sample
    Consumers.Call(Live_Consumers::Auto_Calibration_Sample, Consumers.On_Auto_Calibration_Sample,
                   int(live_.Petrol_Mean));
    Consumers.Call(Live_Consumers::Recording_Sample, Consumers.On_Recording_Sample);
    if (Config.Lambda_ON)
        Consumers.Call(Live_Consumers::Lambda_Charts, Consumers.On_Lambda_Charts);
    Consumers.Call(Live_Consumers::Priming_Display, Consumers.On_Priming_Display);
    Consumers.Call(Live_Consumers::Page_Display, Consumers.On_Page_Display);
    Consumers.Call(Live_Consumers::Indicator_Windows, Consumers.On_Indicator_Windows);
    Consumers.Call(Live_Consumers::Correction_Grids, Consumers.On_Correction_Grids);
    Consumers.Call(Live_Consumers::RPM_Dialog, Consumers.On_RPM_Dialog, int(live_.RPM));
    Consumers.Call(Live_Consumers::Wizard_RPM, Consumers.On_Wizard_RPM, int(live_.RPM));
}

void Live_Decoder::Average(int n)
{
    for (int i = 0; i < Live_Data_Record::Injector_Count; ++i)
        live_.Petrol_Time_Avg[i] = petrol_buffers_[i].Step(live_.Petrol_Time[i], n);
    if (live_.Work_Mode == Live_Data_Record::Mode_Gas) {
        for (int i = 0; i < Live_Data_Record::Injector_Count; ++i) {
            if (!Gas_Button_Down[i])
                gas_buffers_[i].Reset();
            live_.Gas_Time_Avg[i] = gas_buffers_[i].Step(live_.Gas_Time[i], n);
        }
    } else {
        live_.Gas_Time_Avg = live_.Gas_Time;
        for (auto& buffer : gas_buffers_)
            buffer.Reset();
    }
}

void Live_Decoder::Clear_Stopped_Engine()
{
    live_.Petrol_Time.fill(0);
    live_.Gas_Time.fill(0);
    live_.Petrol_Time_Avg.fill(0);
    live_.Gas_Time_Avg.fill(0);
    for (auto& buffer : petrol_buffers_)
        buffer.Reset();
    for (auto& buffer : gas_buffers_)
        buffer.Reset();
}

void Live_Decoder::Means()
{
    qint64 sum = 0;
    int k = 0;
    for (qint32 t : live_.Petrol_Time) {
        sum += t;
        k += t != 0;
    }
    live_.Petrol_Mean = k > 0 ? qint32(sum / k) : 0;
    live_.Petrol_Mean10 = quint16(live_.Petrol_Mean / 10);

    if (live_.Work_Mode == Live_Data_Record::Mode_Gas) {
        sum = 0;
        k = 0;
        for (int i = 0; i < Live_Data_Record::Injector_Count; ++i) {
            sum += live_.Gas_Time[i];
            k += Gas_Button_Down[i] && live_.Gas_Time[i] != 0;
        }
        live_.Gas_Mean = k > 0 ? qint32(sum / k) : 0;
        Consumers.Call(Live_Consumers::Gas_Mean_Button, Consumers.On_Gas_Mean_Button);
        live_.Gas_Mean10 = quint16(live_.Gas_Mean / 10);
    } else {
        live_.Gas_Mean = 0;
        live_.Gas_Mean10 = 0;
        live_.Gas_Time_Avg.fill(0);
    }
}
