#pragma once

#include "monitor/Quorel_Lambda_Chart.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <array>
#include <functional>

class Quorel_Context;

// The General page's state behind its controls: work mode, info line, gas
// buttons, pump panel, the lambda charts and the switch-panel mimic. The
// controls show it; clicks come back here as requests to the ECU.
class Dashboard
{
public:
    static constexpr int Injector_Count = 8;
    static constexpr int Gas_Bar_Max = 32000;   // µs

    enum Led { Red, Green1, Green2, Green3, Green4, Green5, Yellow, Led_Count };

    struct Pump_Display
    {
        bool Gauge_Visible = false;
        int Gauge_Max = 0;
        int Gauge_Value = 0;
        bool Press_Visible = false;
        QString Press_Text;
        QColor Press_Text_Colour{0, 0, 0};
        bool Run_Visible = true;
        QString OK_Text;
        QColor Panel_Colour;                  // invalid: window face
        QColor Panel_Text_Colour{0, 0, 0};
    };

    // The level section of the Configuration page.
    struct Level_View
    {
        bool Software = false;
        QString Current_Text;        // Edit_CFG_Level_Current: the software counter, else the sensor value
        QString Level0_Text;         // Edit_CFG_Level0
        int Level = 0;
        int Full_Scale = 1023;
        bool Picture_Visible = false;
    };

    explicit Dashboard(Quorel_Context& context);

    // Decode consumers.
    void Show_Work_Mode(int mode);
    void Show_Gas_Mask(int mask);
    void Show_Info(int flags, int value);
    void Show_Level_Mode(int mode);
    void Refresh_Gas_Mean_Button();
    void Lambda_Sample();

    // Status handling's calls for the pump panel.
    void Pump_Refresh(int status);
    void Pump_Test_Start();
    void Pump_Test_Result(bool passed);
    void Pump_Label_Hide();
    void Pumping_Started();
    void Reset_Pump_Status();

    // The shown texts again in the selected language.
    void Retranslate();

    void Set_Gas_Buttons_Enabled(bool on);
    void Inject_Num_Changed();

    // Clicks. A gas button reports the state it toggled to.
    void Gas_Button_Toggled(int index, bool down);
    void Gas_All_Toggled(bool down);
    void Work_Mode_Click();
    void Pump_Run_Click();

    // Runs on every decode while the Configuration page is visible.
    void Level_Display();
    const Level_View& Level() const { return level_view_; }
    // The level picture: a green line at height x level / full scale with
    // its arrow, on the window face colour.
    static QImage Level_Picture(QSize size, int level, int full_scale, const QColor& face);

    void Reset_Lambda_Charts();
    // Sizes of the three chart images (General, Calibration, AutoCalibration).
    void Set_Chart_Size(int chart, int width, int height);
    const Lambda_Chart& Chart(int chart) const { return charts_[size_t(chart)]; }

    // Shown state.
    int Injectors() const;   // n rows and buttons
    bool Button_Down(int index) const;
    bool Button_Enabled(int index) const { return enabled_[size_t(index)]; }
    bool All_Down() const { return all_down_; }
    bool All_Enabled() const { return all_enabled_; }
    const QString& Work_Mode_Text() const { return work_mode_text_; }
    const QColor& Work_Mode_Colour() const { return work_mode_colour_; }
    bool Info_Visible() const { return info_visible_; }
    const QString& Info_Text() const { return info_text_; }
    int Level_Mode() const { return level_mode_shown_; }
    const QString& Level_Mode_Text() const { return level_text_; }
    const QString& Level_Mode_Hint() const { return level_hint_; }
    const Pump_Display& Pump() const { return pump_; }
    int Captured_Pumping_Time() const { return captured_pumping_s_; }
    bool Led_On(Led led) const { return leds_[size_t(led)]; }
    // Largest petrol time of the calibration map: the petrol bars' maximum.
    int Petrol_Bar_Max() const;
    static QColor Led_Colour(Led led, bool on);
    static QString Milliseconds(int time_us);   // (t div 10) / 100, 2 decimals

    // Tell the controls. Each names what changed.
    std::function<void()> On_Buttons_Changed;
    std::function<void()> On_Work_Mode_Changed;
    std::function<void()> On_Info_Changed;
    std::function<void()> On_Pump_Changed;
    std::function<void()> On_Leds_Changed;
    std::function<void()> On_Level_Mode_Changed;
    std::function<void()> On_Level_Changed;
    std::function<void()> On_Charts_Changed;
    std::function<void()> On_Rows_Changed;
    // Pump test start closes the step-by-step wizard; the result enables
    // the ECU controls.
    std::function<void()> Close_Wizard;
    std::function<void(bool)> Enable_ECU_Controls;

private:
    bool Newer_Firmware() const;
    void Set_Mimic_For_Mode();
    void Set_Leds(std::array<bool, Led_Count> leds);
    void Automat_Blink();
    void All_Up();
    int Down_Mask() const;
    void Post_Forcing();
    void Fill_Start_Pressure(int lo_index);
    static void Call(const std::function<void()>& fn)
    {
        if (fn)
            fn();
    }

    Quorel_Context& context_;
    std::array<bool, Injector_Count> enabled_{};
    bool all_down_ = false;
    bool all_enabled_ = false;
    QString work_mode_text_;
    QColor work_mode_colour_;
    bool info_visible_ = false;
    QString info_text_;
    int work_mode_shown_ = 0;
    int info_flags_ = 0;
    int info_value_ = 0;
    int level_mode_shown_ = 0;
    QString level_text_;
    QString level_hint_;
    Pump_Display pump_;
    int captured_pumping_s_ = 0;
    std::array<bool, Led_Count> leds_{};
    bool blink_ = false;
    int rows_ = 0;
    std::array<Lambda_Chart, 3> charts_{};
    Level_View level_view_;
};
