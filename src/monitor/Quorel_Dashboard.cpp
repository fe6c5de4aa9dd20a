#include "monitor/Quorel_Dashboard.h"

#include "app/Quorel_Context.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Sequencer.h"
#include "monitor/Quorel_Live_Convert.h"
#include "monitor/Quorel_Live_Decode.h"
#include "monitor/Quorel_Status_Handling.h"

#include <QLocale>
#include <QPainter>

namespace {

constexpr int Request_Work_Mode = 1;
constexpr int Request_Forcing = 6;
constexpr int Request_Forcing_Off = 7;
constexpr int Request_Pump_Test = 25;

const QColor Yellow_Colour{255, 255, 0};
const QColor Aqua_Colour{0, 255, 255};
const QColor Green_Colour{0, 255, 0};
const QColor Blue_Colour{0, 0, 255};
const QColor Red_Colour{255, 0, 0};
const QColor Black_Colour{0, 0, 0};
const QColor White_Colour{255, 255, 255};

QString Fixed(double value, int decimals) { return QLocale().toString(value, 'f', decimals); }

} // namespace

Dashboard::Dashboard(Quorel_Context& context) : context_(context)
{
    context_.Timer_Led_Automat.Set_Handler([this]() { Automat_Blink(); });
    rows_ = Injectors();
}

int Dashboard::Injectors() const
{
    const int n = qBound(2, context_.Live->Config.Inject_Num, 8);
    return n == 7 ? 6 : n;
}

bool Dashboard::Button_Down(int index) const { return context_.Live->Gas_Button_Down[size_t(index)]; }

int Dashboard::Down_Mask() const
{
    int mask = 0;
    for (int i = 0; i < Injector_Count; ++i)
        if (Button_Down(i))
            mask |= 1 << i;
    return mask;
}

QString Dashboard::Milliseconds(int time_us) { return Fixed((time_us / 10) / 100.0, 2); }

int Dashboard::Petrol_Bar_Max() const
{
    int largest = 0;
    const Calibration_Map& map = context_.Calibration;
    for (int i = 0; i <= map.Last_Index && i < Calibration_Map::Point_Count; ++i)
        largest = qMax(largest, int(map.Petrol_Time[size_t(i)]));
    return largest > 0 ? largest : 25000;
}

// ---------------------------------------------------------------- work mode

void Dashboard::Show_Work_Mode(int mode)
{
    switch (mode) {
    case Live_Data_Record::Mode_Petrol:
        work_mode_text_ = Text("Petrol");
        work_mode_colour_ = Yellow_Colour;
        break;
    case Live_Data_Record::Mode_Automat:
        work_mode_text_ = Text("Automat");
        work_mode_colour_ = Aqua_Colour;
        break;
    case Live_Data_Record::Mode_Gas:
        work_mode_text_ = Text("Gas");
        work_mode_colour_ = Green_Colour;
        break;
    default: return;
    }
    work_mode_shown_ = mode;
    Call(On_Work_Mode_Changed);
    if (mode == Live_Data_Record::Mode_Gas)
        Show_Gas_Mask(context_.Live_Data.Gas_Mask);
    else
        All_Up();
    if (mode == Live_Data_Record::Mode_Automat) {
        blink_ = false;
        context_.Timer_Led_Automat.Set_Enabled(true);
    } else {
        context_.Timer_Led_Automat.Set_Enabled(false);
    }
    Set_Mimic_For_Mode();
}

void Dashboard::All_Up()
{
    context_.Live->Gas_Button_Down.fill(false);
    all_down_ = false;
    Call(On_Buttons_Changed);
}

void Dashboard::Show_Gas_Mask(int mask)
{
    if (!context_.ECU_Connected) {
        All_Up();
        return;
    }
    for (int i = 0; i < Injector_Count; ++i)
        context_.Live->Gas_Button_Down[size_t(i)] = (mask >> i) & 1;
    Refresh_Gas_Mean_Button();
}

void Dashboard::Refresh_Gas_Mean_Button()
{
    bool any = false;
    for (int i = 0; i < Injectors(); ++i)
        any = any || Button_Down(i);
    all_down_ = any;
    Call(On_Buttons_Changed);
}

void Dashboard::Show_Info(int flags, int value)
{
    info_flags_ = flags;
    info_value_ = value;
    if (flags == 0) {
        info_visible_ = false;
    } else {
        info_visible_ = true;
        if (flags & 1)
            info_text_ = Fixed(value / 10.0, 1) + ' ' + Text("Dim_Sec_Long");
        if (flags & 2)
            info_text_ = QString::number(value) + ' ' + Text("Dim_Sec_Long");
        if ((flags & 4) && value == 1)
            info_text_ = Text("Petrol") + ' ' + Text("Injection");
    }
    Call(On_Info_Changed);
}

void Dashboard::Retranslate()
{
    switch (work_mode_shown_) {
    case Live_Data_Record::Mode_Petrol: work_mode_text_ = Text("Petrol"); break;
    case Live_Data_Record::Mode_Automat: work_mode_text_ = Text("Automat"); break;
    case Live_Data_Record::Mode_Gas: work_mode_text_ = Text("Gas"); break;
    default: break;
    }
    if (work_mode_shown_ != 0)
        Call(On_Work_Mode_Changed);
    if (info_flags_ != 0)
        Show_Info(info_flags_, info_value_);
    if (level_mode_shown_ != 0) {
        const int mode = level_mode_shown_;
        level_mode_shown_ = -1;
        Show_Level_Mode(mode);
    }
}

void Dashboard::Show_Level_Mode(int mode)
{
    if (context_.Live->Config.Level_Type != Level_Type_Software_Text || mode == level_mode_shown_)
        return;
    level_mode_shown_ = mode;
    switch (mode) {
    case 16: level_text_ = Text("Mode_Level_Wait"); level_hint_ = Text("Level_Mode_Wait_Hint"); break;
    case 32: level_text_ = Text("Mode_Level_Etalon"); level_hint_ = Text("Level_Mode_Etalon_Hint"); break;
    case 64: level_text_ = Text("Mode_Level_Pause"); level_hint_ = Text("Level_Mode_Pause_Hint"); break;
    case 128: level_text_ = Text("Mode_Level_Work"); level_hint_ = Text("Level_Mode_Work_Hint"); break;
    default: level_text_.clear(); level_hint_.clear(); break;
    }
    Call(On_Level_Mode_Changed);
    if (context_.Live_Data.Work_Mode == Live_Data_Record::Mode_Gas)
        Set_Mimic_For_Mode();
}

// ---------------------------------------------------------------- mimic

QColor Dashboard::Led_Colour(Led led, bool on)
{
    if (!on)
        return QColor(192, 192, 192);
    if (led == Red)
        return Red_Colour;
    if (led == Yellow)
        return Yellow_Colour;
    return Green_Colour;
}

void Dashboard::Set_Leds(std::array<bool, Led_Count> leds)
{
    leds_ = leds;
    Call(On_Leds_Changed);
}

void Dashboard::Set_Mimic_For_Mode()
{
    const int mode = context_.Live_Data.Work_Mode;
    auto pattern = [](bool red, bool greens, bool yellow) {
        return std::array<bool, Led_Count>{red, greens, greens, greens, greens, greens, yellow};
    };
    if (mode == Live_Data_Record::Mode_Petrol) {
        Set_Leds(pattern(false, false, true));
    } else if (mode == Live_Data_Record::Mode_Automat) {
        auto leds = pattern(false, false, true);
        leds[Green5] = blink_;
        Set_Leds(leds);
    } else if (mode == Live_Data_Record::Mode_Gas) {
        if (context_.Live->Config.Level_Type != Level_Type_Software_Text) {
            Set_Leds(pattern(false, true, false));
            return;
        }
        switch (context_.Live_Data.Level_Mode) {
        case 0: Set_Leds(pattern(false, false, false)); break;
        case 32: Set_Leds(pattern(true, true, false)); break;
        case 64: Set_Leds(pattern(true, false, false)); break;
        case 128: Set_Leds(pattern(false, true, true)); break;
        default: Set_Leds(pattern(false, true, false)); break;
        }
    }
}

void Dashboard::Automat_Blink()
{
    blink_ = !blink_;
    if (context_.Live_Data.Work_Mode == Live_Data_Record::Mode_Automat) {
        auto leds = leds_;
        leds[Green5] = blink_;
        Set_Leds(leds);
    }
}

// ---------------------------------------------------------------- gas buttons

void Dashboard::Set_Gas_Buttons_Enabled(bool on)
{
    const int n = Injectors();
    for (int i = 0; i < Injector_Count; ++i)
        enabled_[size_t(i)] = on && i < n;
    all_enabled_ = on;
    Call(On_Buttons_Changed);
}

void Dashboard::Inject_Num_Changed()
{
    const int n = Injectors();
    const bool base = context_.ECU_Connected && !context_.Config_Data.MonoInject;
    const int prev = context_.Live_Data.Status_Prev;
    const bool running = (prev & Status_Bit::Engine_Running) && (prev & Status_Bit::Pressure_Normal);
    for (int i = 0; i < Injector_Count; ++i)
        enabled_[size_t(i)] = i < 2 ? base : (i < n && base && running);
    all_enabled_ = base;
    if (rows_ != n) {
        rows_ = n;
        Call(On_Rows_Changed);
    }
    Refresh_Gas_Mean_Button();
}

void Dashboard::Post_Forcing()
{
    const int mask = Down_Mask();
    context_.Sequence->Forced_Injector_Mask = mask;
    if (!all_down_)
        context_.Pending_Request = Request_Forcing_Off;
    else if (context_.ECU_Connected)
        context_.Pending_Request = Request_Forcing;
}

void Dashboard::Gas_Button_Toggled(int index, bool down)
{
    if (index < 0 || index >= Injector_Count)
        return;
    context_.Live->Gas_Button_Down[size_t(index)] = down;
    Refresh_Gas_Mean_Button();
    Post_Forcing();
}

void Dashboard::Gas_All_Toggled(bool down)
{
    if (context_.ECU_Connected) {
        for (int i = 0; i < Injectors(); ++i)
            context_.Live->Gas_Button_Down[size_t(i)] = down;
        all_down_ = down;
        const int mask = Down_Mask();
        context_.Sequence->Forced_Injector_Mask = mask;
        context_.Pending_Request = down ? Request_Forcing : Request_Forcing_Off;
    }
    Refresh_Gas_Mean_Button();
}

void Dashboard::Work_Mode_Click()
{
    if (context_.ECU_Connected)
        context_.Pending_Request = Request_Work_Mode;
}

void Dashboard::Pump_Run_Click()
{
    context_.Sequence->Error_Clear_Bits |= Service_Bit::Pump_Test;
    if (context_.ECU_Connected)
        context_.Pending_Request = Request_Pump_Test;
}

// ---------------------------------------------------------------- pump panel

bool Dashboard::Newer_Firmware() const
{
    const int v = context_.Identification.Version_Number;
    return (v >= 415 && v < 500) || (v >= 615 && v < 700) || (v >= 815 && v < 900);
}

void Dashboard::Fill_Start_Pressure(int lo_index)
{
    const auto& rx = context_.Frames.Rx_Frame;
    const bool present = lo_index + 1 < context_.Frames.Rx_Length;
    const quint8 lo = present ? rx[size_t(lo_index)] : 0;
    const quint8 hi = present ? rx[size_t(lo_index) + 1] : 0;
    const Live_Config& config = context_.Live->Config;
    const int pressure = Adc_To_Pressure(lo, hi, config.MAP_Sensor_C1, config.MAP_Sensor_C2);
    pump_.Press_Text = Text("Label_GEN_Pump_Press") + "\n\r" + Fixed(pressure / 100.0, 2) + ' ' + Text("Dim_Bar_Long");
    pump_.Press_Text_Colour = Black_Colour;
}

void Dashboard::Pump_Refresh(int status)
{
    bool changed = false;
    if (status & Status_Bit::Pump_Test_Running) {
        pump_.Gauge_Max = context_.Config_Data.Pump_Time;
        pump_.Gauge_Value = pump_.Gauge_Max - context_.Live_Data.Pump_Value;
        if (Newer_Firmware())
            Fill_Start_Pressure(68);
        changed = true;
    }
    if (status & Status_Bit::Gas_Pumping) {
        pump_.Press_Visible = true;
        pump_.Press_Text_Colour = White_Colour;
        pump_.Press_Text = Text("Label_GEN_Pump_Leveling") + "\n\r" + QString::number(context_.Live_Data.Pump_Value * 2)
                           + ' ' + Text("Dim_Sec_Long");
        changed = true;
    }
    if (changed)
        Call(On_Pump_Changed);
}

void Dashboard::Pump_Test_Start()
{
    pump_.Gauge_Visible = true;
    pump_.Press_Visible = true;
    pump_.Run_Visible = false;
    pump_.OK_Text = Text("Test");
    pump_.Gauge_Max = context_.Config_Data.Pump_Time;
    pump_.Gauge_Value = pump_.Gauge_Max - context_.Live_Data.Pump_Value;
    pump_.Panel_Colour = QColor();
    pump_.Panel_Text_Colour = Black_Colour;
    if (Newer_Firmware())
        Fill_Start_Pressure(68);
    else
        Fill_Start_Pressure(60);
    Set_Gas_Buttons_Enabled(false);
    Call(Close_Wizard);
    Call(On_Pump_Changed);
}

void Dashboard::Pump_Test_Result(bool passed)
{
    if (passed) {
        pump_.Panel_Colour = Blue_Colour;
        pump_.OK_Text = QStringLiteral("OK");
    } else {
        pump_.Panel_Colour = Red_Colour;
        pump_.OK_Text.clear();
        pump_.Press_Text.clear();
    }
    pump_.Run_Visible = true;
    pump_.Gauge_Visible = false;
    pump_.Press_Visible = false;
    pump_.Panel_Text_Colour = White_Colour;
    pump_.Press_Text_Colour = White_Colour;
    Call(On_Pump_Changed);
    if (Enable_ECU_Controls)
        Enable_ECU_Controls(true);
}

void Dashboard::Pump_Label_Hide()
{
    pump_.Press_Visible = false;
    Call(On_Pump_Changed);
}

void Dashboard::Pumping_Started() { captured_pumping_s_ = context_.Live_Data.Pump_Value * 2; }

void Dashboard::Reset_Pump_Status()
{
    pump_ = Pump_Display{};
    Call(On_Pump_Changed);
}

// ---------------------------------------------------------------- lambda charts

void Dashboard::Set_Chart_Size(int chart, int width, int height)
{
    charts_[size_t(chart)].Reset(width, height, Lambda_Chart::Scale_Code(context_.Config_Data.Lambda_Type));
}

void Dashboard::Reset_Lambda_Charts()
{
    const int code = Lambda_Chart::Scale_Code(context_.Config_Data.Lambda_Type);
    for (Lambda_Chart& chart : charts_)
        chart.Reset(chart.Width(), chart.Height(), code);
    Call(On_Charts_Changed);
}

void Dashboard::Lambda_Sample()
{
    for (Lambda_Chart& chart : charts_)
        chart.Sample(context_.Live_Data.Lambda);
    Call(On_Charts_Changed);
}

// ---------------------------------------------------------------- level

void Dashboard::Level_Display()
{
    const Live_Data_Record& live = context_.Live_Data;
    const Configuration_Class& config = context_.Config_Data;
    const bool on_gas = live.Work_Mode == Live_Data_Record::Mode_Gas;
    Level_View view;
    view.Software = context_.Live->Config.Level_Type == Level_Type_Software_Text;
    auto leds = leds_;
    bool leds_changed = false;
    if (!view.Software) {
        view.Full_Scale = 1023;
        view.Level = live.Level;
        view.Current_Text = QString::number(view.Level);
    } else {
        view.Current_Text = Fixed(double(live.Level_Counter) * 32.0 / 3'600'000'000.0, 5);
        const quint32 shifted = on_gas ? live.Level_Counter >> 21 : 0;
        if (on_gas && live.Level_Mode == 128) {
            const quint32 x = quint32(config.GF_ETALON) / 6;
            leds[Yellow] = false;
            leds[Green5] = shifted < x;
            leds[Green4] = shifted < 2 * x;
            leds[Green3] = shifted < 3 * x;
            leds[Green2] = shifted < 4 * x;
            leds[Green1] = shifted < 5 * x;
            leds[Red] = shifted >= 5 * x;
            leds_changed = true;
        }
        view.Full_Scale = config.GF_ETALON;
        view.Level = int(shifted);
    }
    view.Level0_Text = Fixed(view.Level * 5.0 / 1023.0, 2);
    view.Picture_Visible = on_gas && view.Full_Scale != 0;
    if (view.Picture_Visible && !view.Software) {
        const std::array<int, 5> thresholds = {config.Level1, config.Level2, config.Level3, config.Level4,
                                               config.Level5};
        bool below_all = true, above_all = true;
        for (int i = 0; i < 5; ++i) {
            const int li = thresholds[size_t(i)];
            leds[size_t(Green1 + i)] = config.Level_Invert ? view.Level < li : view.Level >= li;
            below_all = below_all && view.Level < li;
            above_all = above_all && view.Level > li;
        }
        leds[Red] = config.Level_Invert ? above_all : below_all;
        leds_changed = true;
    }
    level_view_ = view;
    if (leds_changed && leds != leds_)
        Set_Leds(leds);
    Call(On_Level_Changed);
}

QImage Dashboard::Level_Picture(QSize size, int level, int full_scale, const QColor& face)
{
    QImage picture(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture.fill(face);
    if (full_scale == 0)
        return picture;
    const int y = int(qint64(size.height()) * level / full_scale);
    QPainter painter(&picture);
    painter.setPen(QPen(QColor(0, 255, 0), 3));
    painter.drawLine(0, y, size.width(), y);
    painter.drawLine(0, y, 9, y - 3);
    painter.drawLine(0, y, 9, y + 3);
    return picture;
}
