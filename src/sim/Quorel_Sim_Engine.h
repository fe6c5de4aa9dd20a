#pragma once

#include "sim/Quorel_Sim_Store.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>

// A small petrol engine at idle behind the simulated ECU: speed, injection
// times, battery, lambda, gas pressure, a warming reducer, and the work
// mode with its switch-over. It moves only when told the time, so it runs
// on whatever clock the simulator is given.
//
// On gas the car's own closed-loop petrol controller sees the mixture the
// gas injectors deliver and trims the petrol time by the ratio between the
// injectors' true gas factor and the factor the map applies.
class Sim_Engine
{
public:
    static constexpr int Injector_Count = 8;
    static constexpr int Step_Ms = 20;
    // Reducer temperature the ECU needs before it switches to gas; the
    // configuration has no field for it.
    static constexpr double Switch_Temperature_C = 35.0;
    static constexpr double Warm_Temperature_C = 88.0;
    static constexpr double Warm_Up_Tau_S = 150.0;
    // Response time of the car's fuel trim.
    static constexpr double Trim_Tau_S = 1.5;
    // Range the car's fuel trim can reach.
    static constexpr double Trim_Min = 0.5, Trim_Max = 2.0;
    // Gauge pressure of the reducer over the manifold, 0.01 bar.
    static constexpr int Rail_Pressure = 110;

    explicit Sim_Engine(qint64 start_ms, quint32 seed = 0x5EED1234u);

    double Ambient_C = 20.0;

    // Runs the model forward to now_ms with the ECU memory as it is now.
    void Advance_To(qint64 now_ms, const Sim_Ecu_Store& store);
    // The data bytes of the live-data answer (answer bytes 2 onwards),
    // exactly length bytes. Draws fresh sensor noise.
    QByteArray Live_Data(const Sim_Ecu_Store& store, int length);

    // A work-mode request: byte 2 (injector mask) and byte 3 (mode, bit 7
    // ignored). Gas with a mask forces those injectors; gas without one
    // runs all of them.
    void Request_Work_Mode(quint8 mask, quint8 mode);

    // The service command 0x24: bit 2 clears the error memory, bit 3
    // starts the pump test, bit 4 switches the processor clock. The test
    // lasts the pump time stored with 'g' (0.1 s, at least 0.1 s).
    void Service(quint16 bits, const Sim_Ecu_Store& store);
    // How long the pump test result stays.
    static constexpr qint64 Pump_Result_Ms = 3000;
    // After this much running time the ECU notes a gas injector short
    // circuit in its error memory, once.
    static constexpr qint64 Short_Circuit_At_Ms = 25'000;
    // On gas the rail pressure dips for Pressure_Drop_Ms in every
    // Pressure_Drop_Period_Ms.
    static constexpr qint64 Pressure_Drop_Period_Ms = 45'000, Pressure_Drop_Ms = 3000;
    // After clearing its errors or changing its clock the ECU reports its
    // data saved for this long.
    static constexpr qint64 Data_Saved_Ms = 1000;
    // On gas the ECU stores what it has learned once in every
    // Learn_Period_Ms of gas time: it asks for idle speed for Hold_Idle_Ms
    // from Hold_Idle_At_Ms on, then reports its data saved.
    static constexpr qint64 Learn_Period_Ms = 120'000, Hold_Idle_At_Ms = 60'000, Hold_Idle_Ms = 6000;
    quint16 Error_Memory() const { return error_memory_; }
    void Set_Error_Memory(quint16 errors) { error_memory_ = errors; }
    bool Clock_8_MHz() const { return clock_8mhz_; }
    bool Pump_Test_Running() const { return pump_test_start_ms_ >= 0 && now_ms_ < Pump_Test_End_Ms(); }
    // Level sensor code: the tank empties slowly while on gas.
    int Level_Code() const;
    // Level type "SOFTWARE" (the '^' level index 7): no sensor; the ECU
    // counts the gas injectors' work time against the full-cylinder
    // reference (']') and reports its level mode: waiting without a
    // reference, measuring it for Level_Reference_Ms after a new one, then
    // working on gas and pausing on petrol. Tank_Gas_Ms of gas time use up
    // one reference.
    static constexpr int Level_Type_Software = 7;
    static constexpr int Level_Mode_Wait = 16, Level_Mode_Reference = 32, Level_Mode_Pause = 64,
                         Level_Mode_Work = 128;
    static constexpr qint64 Level_Reference_Ms = 3000, Tank_Gas_Ms = 600'000;
    // The status word the live data carry now.
    quint16 Status_Word() const;
    // Info line of the live data (flags, value): while automat waits for
    // gas, the seconds of the switch-over delay left, then "petrol" until
    // the reducer is warm, then the tenths of a second until the last
    // injector is on gas.
    struct Info_Line
    {
        quint8 Flags = 0;
        quint8 Value = 0;
    };
    Info_Line Info(const Sim_Ecu_Store& store) const;

    // 1 petrol, 2 automat, 4 gas: what the installer selected.
    quint8 Selected_Mode() const { return selected_mode_; }
    // What the live data reports: automat turns into gas at the switch-over.
    quint8 Reported_Mode() const;
    quint8 Gas_Mask() const { return gas_mask_; }

    // The gas injectors' hidden property: gas time over petrol time for the
    // same fuel, at a petrol time in µs. A fixed value replaces the curve.
    double True_Gas_Factor(double petrol_us) const;
    void Set_True_Gas_Factor(double factor) { fixed_true_factor_ = factor; }

    double Temperature_C() const;
    // The car's fuel trim: 1.0 on petrol.
    double Petrol_Trim() const { return trim_; }
    // Petrol time the car computes for a cylinder before its fuel trim, µs.
    double Base_Petrol_Time(int injector) const;
    qint64 Run_Time_Ms() const { return now_ms_ - start_ms_; }

    // Interpolated map factor (1/128) at a petrol time, as the ECU applies it.
    static int Map_Factor(const QByteArray& map, double petrol_us);
    // Smallest pressure-sensor code that reads as at least pressure
    // (0.01 bar) with these coefficients; 0 when the slope is not positive.
    static int Pressure_Code(int pressure, qint32 c1, qint32 c2);
    // Temperature-sensor code of the reducer's NTC on its pull-up.
    static int Temperature_Code(double celsius);

private:
    struct Settings
    {
        int Injectors = 4;
        qint64 Switch_Delay_Ms = 0;     // after the engine started
        qint64 Injector_Step_Ms = 0;    // between successive injectors
        qint32 C1 = 0, C2 = 0;
        int Pump_Time_Tenths = 1;
        bool Software_Level = false;
        quint16 Level_Reference = 0;   // GF_ETALON
    };
    static Settings Read_Settings(const Sim_Ecu_Store& store);
    // Software level type: the mode of byte 57 and the counter of bytes 64..67.
    int Level_Mode(const Settings& settings) const;
    quint32 Level_Counter(const Settings& settings) const;
    void Step(qint64 dt_ms, const Sim_Ecu_Store& store, const Settings& settings);
    void Update_Switch_Over(const Settings& settings);
    double Mean_Petrol_Time() const;
    double Noise();   // -1 .. 1

    qint64 Pump_Test_End_Ms() const { return pump_test_start_ms_ + 100 * qint64(pump_test_tenths_); }
    void Update_Service_State();

    qint64 start_ms_;
    qint64 now_ms_;
    qint64 pump_test_start_ms_ = -1;
    int pump_start_pressure_ = 0;   // 0.01 bar
    int pump_test_tenths_ = 1;
    quint16 error_memory_ = 0;
    bool short_circuit_noted_ = false;
    bool clock_8mhz_ = false;
    qint64 saved_until_ms_ = -1;
    qint64 gas_ms_ = 0;
    // The reference last seen, since when, and the gas time then.
    quint16 level_reference_ = 0;
    qint64 level_reference_ms_ = -1'000'000;
    qint64 level_gas_ms_ = 0;
    quint32 rng_;
    quint8 selected_mode_ = 2;
    quint8 gas_mask_ = 0;
    bool switching_ = false;
    qint64 switch_start_ms_ = 0;
    double trim_ = 1.0;
    double mixture_error_ = 0.0;
    double fixed_true_factor_ = 0.0;
    int injectors_ = 4;
};
