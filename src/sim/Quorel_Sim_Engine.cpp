#include "sim/Quorel_Sim_Engine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
// Idle petrol time of a warm engine, and the extra fraction a cold one gets.
constexpr double Warm_Idle_Us = 2850.0;
constexpr double Cold_Enrichment = 0.18;
constexpr double Idle_Rpm = 800.0;
constexpr double Cold_Idle_Extra_Rpm = 40.0;
constexpr double Battery_V = 14.0;
// Narrow-band lambda sensor: switches about every 0.6 s around 0.45 V.
constexpr double Lambda_Period_S = 1.2;
// How far each cylinder's injector sits from the mean.
constexpr std::array<double, Sim_Engine::Injector_Count> Injector_Spread{0.015, -0.010, 0.005, -0.020,
                                                                        0.010, -0.005, 0.020, -0.015};
// Reducer NTC on a pull-up to the 5 V converter reference.
constexpr double Ntc_R25 = 2200.0, Ntc_Beta = 3950.0, Ntc_T25 = 298.15, Ntc_Pull_Up = 2200.0;
// Above this gap the model is settled; older time is skipped, not stepped.
constexpr qint64 Max_Stepped_Ms = 600'000;
constexpr int Full_Tank_Level_Code = 700, Empty_Tank_Level_Code = 100;

quint16 Word_At(const QByteArray& bytes, int at)
{
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

quint16 Parameter(const Sim_Ecu_Store& store, char code, quint16 fallback)
{
    const auto it = store.Parameters.find(quint8(code));
    return it == store.Parameters.end() ? fallback : it->second;
}

// 128 travels for 0 in the switch-over timing bytes.
int Zero128(int byte) { return byte == 128 ? 0 : byte; }
}

Sim_Engine::Sim_Engine(qint64 start_ms, quint32 seed) : start_ms_(start_ms), now_ms_(start_ms), rng_(seed) {}

Sim_Engine::Settings Sim_Engine::Read_Settings(const Sim_Ecu_Store& store)
{
    Settings s;
    s.Injectors = qBound(1, int(Parameter(store, 'e', 0x0104) & 0xFF), Injector_Count);
    const quint16 timing = Parameter(store, '_', 0x8080);
    s.Injector_Step_Ms = 100 * qint64(Zero128(timing >> 8));
    s.Switch_Delay_Ms = 1000 * qint64(Zero128(timing & 0xFF));
    s.C1 = qint16(Parameter(store, 'C', 0));
    s.C2 = qint16(Parameter(store, 'D', 0));
    s.Pump_Time_Tenths = qMax(1, int(Parameter(store, 'g', 0x015F) & 0xFF));
    s.Software_Level = (Parameter(store, '^', 0x0101) & 0xFF) == Level_Type_Software;
    s.Level_Reference = Parameter(store, ']', 0);
    return s;
}

double Sim_Engine::Noise()
{
    rng_ = rng_ * 1664525u + 1013904223u;
    return double(rng_ >> 8) / double(1u << 23) - 1.0;
}

double Sim_Engine::Temperature_C() const
{
    const double t = double(Run_Time_Ms()) / 1000.0;
    return Warm_Temperature_C - (Warm_Temperature_C - Ambient_C) * std::exp(-t / Warm_Up_Tau_S);
}

double Sim_Engine::Base_Petrol_Time(int injector) const
{
    const double span = Warm_Temperature_C - std::min(Ambient_C, Warm_Temperature_C - 1.0);
    const double cold = qBound(0.0, (Warm_Temperature_C - Temperature_C()) / span, 1.0);
    return Warm_Idle_Us * (1.0 + Cold_Enrichment * cold) * (1.0 + Injector_Spread[size_t(injector)]);
}

double Sim_Engine::True_Gas_Factor(double petrol_us) const
{
    if (fixed_true_factor_ > 0.0)
        return fixed_true_factor_;
    // Short pulses need relatively more gas: the injector's opening time
    // weighs more.
    return 1.22 + 0.18 * std::exp(-petrol_us / 4000.0);
}

quint8 Sim_Engine::Reported_Mode() const { return selected_mode_ == 2 && switching_ ? 4 : selected_mode_; }

void Sim_Engine::Request_Work_Mode(quint8 mask, quint8 mode)
{
    mode &= 0x7F;
    if (mode != 1 && mode != 2 && mode != 4)
        return;
    selected_mode_ = mode;
    switching_ = false;
    const quint8 all = quint8((1u << injectors_) - 1);
    if (mode == 4)
        gas_mask_ = mask != 0 ? quint8(mask & all) : all;
    else
        gas_mask_ = 0;
}

void Sim_Engine::Service(quint16 bits, const Sim_Ecu_Store& store)
{
    if (bits & 0x04) {
        error_memory_ = 0;
        short_circuit_noted_ = true;   // noted once; cleared, it stays away
    }
    if ((bits & 0x08) && !Pump_Test_Running()) {
        pump_test_start_ms_ = now_ms_;
        pump_test_tenths_ = Read_Settings(store).Pump_Time_Tenths;
        pump_start_pressure_ = Rail_Pressure;
    }
    if (bits & 0x10)
        clock_8mhz_ = !clock_8mhz_;
    if (bits & 0x14)
        saved_until_ms_ = now_ms_ + Data_Saved_Ms;   // the ECU stores its memory
}

void Sim_Engine::Update_Service_State()
{
    if (!short_circuit_noted_ && Run_Time_Ms() >= Short_Circuit_At_Ms) {
        short_circuit_noted_ = true;
        error_memory_ |= 0x08;
    }
}

int Sim_Engine::Level_Code() const
{
    return qMax(Empty_Tank_Level_Code, Full_Tank_Level_Code - int(gas_ms_ / 3000));
}

int Sim_Engine::Level_Mode(const Settings& settings) const
{
    if (!settings.Software_Level)
        return 0;
    if (settings.Level_Reference == 0)
        return Level_Mode_Wait;
    if (settings.Level_Reference != level_reference_ || now_ms_ - level_reference_ms_ < Level_Reference_Ms)
        return Level_Mode_Reference;
    return Reported_Mode() == 4 ? Level_Mode_Work : Level_Mode_Pause;
}

quint32 Sim_Engine::Level_Counter(const Settings& settings) const
{
    if (!settings.Software_Level)
        return 0;
    // The counter shifted right by 21 reaches the reference when the tank is empty.
    const double used = double(gas_ms_ - level_gas_ms_) / double(Tank_Gas_Ms);
    const double counter = used * double(settings.Level_Reference) * double(1u << 21);
    return quint32(std::clamp(counter, 0.0, 4294967295.0));
}

quint16 Sim_Engine::Status_Word() const
{
    quint16 word = 0x0003;   // engine running, gas pressure normal
    const bool on_gas = Reported_Mode() == 4;
    if (on_gas || Pump_Test_Running())
        word |= 0x0080;      // gas pump on
    if (on_gas && Run_Time_Ms() % Pressure_Drop_Period_Ms >= Pressure_Drop_Period_Ms - Pressure_Drop_Ms)
        word |= 0x0020;      // pressure drop
    if (now_ms_ < saved_until_ms_)
        word |= 0x0008;      // data saved
    if (on_gas) {
        const qint64 learned = gas_ms_ % Learn_Period_Ms - Hold_Idle_At_Ms;
        if (learned >= 0 && learned < Hold_Idle_Ms)
            word |= 0x0004;  // hold idle: the ECU is about to save
        else if (learned >= Hold_Idle_Ms && learned < Hold_Idle_Ms + Data_Saved_Ms)
            word |= 0x0008;
    }
    if (pump_test_start_ms_ >= 0) {
        if (Pump_Test_Running())
            word |= 0x0100;
        else if (now_ms_ < Pump_Test_End_Ms() + Pump_Result_Ms)
            word |= 0x0200 | 0x0400;   // finished, passed
    }
    return word;
}

Sim_Engine::Info_Line Sim_Engine::Info(const Sim_Ecu_Store& store) const
{
    if (selected_mode_ != 2)
        return {};
    const Settings settings = Read_Settings(store);
    if (!switching_) {
        const qint64 left_ms = settings.Switch_Delay_Ms - Run_Time_Ms();
        if (left_ms > 0)
            return {0x02, quint8(std::min<qint64>((left_ms + 999) / 1000, 255))};
        return {0x04, 1};
    }
    const qint64 left_ms = switch_start_ms_ + (settings.Injectors - 1) * settings.Injector_Step_Ms - now_ms_;
    if (left_ms > 0)
        return {0x01, quint8(std::min<qint64>((left_ms + 99) / 100, 255))};
    return {};
}

void Sim_Engine::Update_Switch_Over(const Settings& settings)
{
    const quint8 all = quint8((1u << settings.Injectors) - 1);
    if (selected_mode_ == 4) {
        gas_mask_ &= all;
        return;
    }
    if (selected_mode_ != 2) {
        gas_mask_ = 0;
        return;
    }
    if (!switching_ && Run_Time_Ms() >= settings.Switch_Delay_Ms && Temperature_C() >= Switch_Temperature_C) {
        switching_ = true;
        switch_start_ms_ = now_ms_;
    }
    if (!switching_)
        return;
    // injector after injector, one step apart
    quint8 mask = 0;
    for (int i = 0; i < settings.Injectors; ++i)
        if (now_ms_ >= switch_start_ms_ + i * settings.Injector_Step_Ms)
            mask |= quint8(1u << i);
    gas_mask_ = mask;
}

double Sim_Engine::Mean_Petrol_Time() const
{
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i < injectors_; ++i)
        if (gas_mask_ == 0 || (gas_mask_ >> i & 1)) {
            sum += Base_Petrol_Time(i) * trim_;
            ++count;
        }
    return count > 0 ? sum / count : 0.0;
}

void Sim_Engine::Step(qint64 dt_ms, const Sim_Ecu_Store& store, const Settings& settings)
{
    now_ms_ += dt_ms;
    injectors_ = settings.Injectors;
    Update_Switch_Over(settings);
    Update_Service_State();
    if (gas_mask_ != 0)
        gas_ms_ += dt_ms;
    if (settings.Level_Reference != level_reference_) {
        // A new full-cylinder reference: the tank counts as full from now on.
        level_reference_ = settings.Level_Reference;
        level_reference_ms_ = now_ms_;
        level_gas_ms_ = gas_ms_;
    }
    // Fuel each cylinder gets, relative to what the car asks for: petrol
    // cylinders exactly, gas cylinders map factor over true factor.
    const double factor = Map_Factor(store.Map, Mean_Petrol_Time()) / 128.0;
    double relative_sum = 0.0;
    for (int i = 0; i < injectors_; ++i) {
        const bool on_gas = gas_mask_ >> i & 1;
        relative_sum += on_gas ? factor / True_Gas_Factor(Base_Petrol_Time(i) * trim_) : 1.0;
    }
    const double relative = relative_sum / injectors_;
    mixture_error_ = trim_ * relative - 1.0;
    const double target = relative > 0.0 ? qBound(Trim_Min, 1.0 / relative, Trim_Max) : Trim_Max;
    trim_ += (target - trim_) * (1.0 - std::exp(-double(dt_ms) / 1000.0 / Trim_Tau_S));
}

void Sim_Engine::Advance_To(qint64 now_ms, const Sim_Ecu_Store& store)
{
    const Settings settings = Read_Settings(store);
    if (now_ms - now_ms_ > Max_Stepped_Ms)
        now_ms_ = now_ms - Max_Stepped_Ms;
    while (now_ms_ < now_ms)
        Step(std::min<qint64>(Step_Ms, now_ms - now_ms_), store, settings);
    injectors_ = settings.Injectors;
    Update_Switch_Over(settings);
}

int Sim_Engine::Map_Factor(const QByteArray& map, double petrol_us)
{
    constexpr int points = 9;
    if (map.size() < 6 * points)
        return 128;
    const auto factor = [&map](int k) { return int(Word_At(map, 6 * k + 2)); };
    const auto petrol = [&map](int k) { return double(Word_At(map, 6 * k + 4)); };
    if (petrol_us <= petrol(0))
        return factor(0);
    for (int k = 1; k < points; ++k) {
        if (petrol_us > petrol(k))
            continue;
        const double dt = petrol(k) - petrol(k - 1);
        if (dt <= 0.0)
            return factor(k);
        const double share = (petrol_us - petrol(k - 1)) / dt;
        return int(factor(k - 1) + (factor(k) - factor(k - 1)) * share);
    }
    return factor(points - 1);
}

int Sim_Engine::Pressure_Code(int pressure, qint32 c1, qint32 c2)
{
    if (c1 <= 0)
        return 0;
    for (int code = 1; code <= 1023; ++code) {
        const qint64 volts = qint64(code) * 500 / 1023;
        if ((volts * c1 - 100 * qint64(c2)) / 1000 >= pressure)
            return code;
    }
    return 1023;
}

int Sim_Engine::Temperature_Code(double celsius)
{
    const double kelvin = celsius + 273.15;
    const double r = Ntc_R25 * std::exp(Ntc_Beta * (1.0 / kelvin - 1.0 / Ntc_T25));
    const double x = r / (r + Ntc_Pull_Up);
    return qBound(0, int(std::lround(x * 1024.0 - 0.5)), 1023);
}

QByteArray Sim_Engine::Live_Data(const Sim_Ecu_Store& store, int length)
{
    const Settings settings = Read_Settings(store);
    injectors_ = settings.Injectors;
    QByteArray data(qMax(0, length), '\0');
    const auto put_byte = [&data](int answer_byte, quint8 value) {
        if (answer_byte - 2 < data.size())
            data[answer_byte - 2] = char(value);
    };
    const auto put = [&put_byte](int answer_byte, int value) {
        const auto word = quint16(qBound(0, value, 0xFFFF));
        put_byte(answer_byte, quint8(word & 0xFF));
        put_byte(answer_byte + 1, quint8(word >> 8));
    };

    const quint8 mode = Reported_Mode();
    const bool on_gas = mode == 4;
    const double seconds = double(Run_Time_Ms()) / 1000.0;
    put_byte(2, quint8(mode | (clock_8mhz_ ? 0x80 : 0)));   // bit 7: 8 MHz clock
    put_byte(3, on_gas ? gas_mask_ : 0);
    put(4, Status_Word());
    put(6, error_memory_);
    const Info_Line info = Info(store);
    put_byte(8, info.Flags);
    put_byte(9, info.Value);

    const int factor = qBound(0, Map_Factor(store.Map, Mean_Petrol_Time()), 255);
    const double wobble = std::sin(2.0 * std::numbers::pi * seconds / 2.3);
    for (int i = 0; i < injectors_; ++i) {
        const int petrol = int(std::lround(Base_Petrol_Time(i) * trim_ * (1.0 + 0.004 * wobble) + 15.0 * Noise()));
        put(10 + 2 * i, petrol);
        if (on_gas && (gas_mask_ >> i & 1))
            put(26 + 2 * i, petrol * factor / 128);
    }

    const double cold = qBound(0.0, (Warm_Temperature_C - Temperature_C()) / Warm_Temperature_C, 1.0);
    const double rpm = Idle_Rpm + Cold_Idle_Extra_Rpm * cold + 10.0 * wobble + 5.0 * Noise();
    put(44, int(std::lround(30'000'000.0 / rpm)));
    // supply: 0.02 V per converter count
    put(46, int(std::lround((Battery_V + 0.05 * Noise()) * 50.0)));
    // lambda in volts, leaning towards rich while the gas mixture is rich
    const double swing = std::tanh(3.0 * std::sin(2.0 * std::numbers::pi * seconds / Lambda_Period_S));
    const double lambda_v = qBound(0.02, 0.45 + 0.35 * swing + 3.0 * mixture_error_, 0.95);
    put(48, int(std::lround(lambda_v * 1023.0 / 5.0)));
    put(52, Pressure_Code(Rail_Pressure + int(std::lround(2.0 * Noise())), settings.C1, settings.C2));
    put(54, Temperature_Code(Temperature_C()));
    put(56, Level_Code());
    if (settings.Software_Level) {
        put_byte(57, quint8((Level_Code() >> 8 & 0x03) | Level_Mode(settings)));
        const quint32 counter = Level_Counter(settings);
        put(64, int(counter >> 16));
        put(66, int(counter & 0xFFFF));
    }
    put(60, Pressure_Code(Rail_Pressure + int(std::lround(6.0 * Noise())), settings.C1, settings.C2));
    put_byte(62, on_gas ? quint8(factor) : 0);
    if (Pump_Test_Running())
        put_byte(63, quint8(std::clamp<qint64>((Pump_Test_End_Ms() - now_ms_ + 99) / 100, 0, 255)));
    if (pump_test_start_ms_ >= 0)
        put(68, Pressure_Code(pump_start_pressure_, settings.C1, settings.C2));
    return data;
}
