#pragma once

#include <QWidget>

#include <functional>
#include <vector>

class Bar_Gauge_Widget;
class Live_Monitor;
class QFrame;
class QLabel;
class QPushButton;
class Quorel_Context;
class Strip_Chart_Widget;
class Value_Box_Widget;

// The General tab: injector rows, the value panels, the lambda chart and
// the pump status panel, all showing Live_Data.
class General_Tab_Form : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Designed_Width = 768, Designed_Height = 420;

    General_Tab_Form(QWidget* page, Quorel_Context& context);

    void Apply_Texts();
    // Writes the values of the last decode into the controls.
    void Update_General_Page();
    // (Re)creates the injector rows for the current number of injectors.
    void Layout_Injector_Rows();
    void Show_Pump();
    void Show_Averaging_Marks();

    int Row_Count() const { return int(petrol_rows_.size()); }
    Value_Box_Widget* Petrol_Number(int i) const { return petrol_rows_[size_t(i)].number; }
    Bar_Gauge_Widget* Petrol_Bar(int i) const { return petrol_rows_[size_t(i)].bar; }
    Value_Box_Widget* Gas_Number(int i) const { return gas_rows_[size_t(i)].number; }
    Bar_Gauge_Widget* Gas_Bar(int i) const { return gas_rows_[size_t(i)].bar; }
    Strip_Chart_Widget* Chart() const { return Image_GEN_Lambda; }

    // Indicator windows 2 (petrol) and 3 (gas) open on a number press.
    std::function<void(int window)> On_Open_Indicator;
    // Whether the main window is maximised (also when it fills the screen
    // itself); unset: the window's own state.
    std::function<bool()> Window_Maximised;
    // Font size added to the rows (settings "Graph_Data_Size").
    int Graph_Data_Size = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row
    {
        Value_Box_Widget* number = nullptr;
        Bar_Gauge_Widget* bar = nullptr;
    };
    void Layout_Rows(QFrame* panel, std::vector<Row>& rows, bool gas);
    void Set_Value(QLabel* panel, const QString& text);

    Quorel_Context& context_;
    Live_Monitor& monitor_;
    QFrame* Panel_GEN_Petrol_Injectors = nullptr;
    QFrame* Panel_GEN_Gas_Injectors = nullptr;
    std::vector<Row> petrol_rows_;
    std::vector<Row> gas_rows_;
    QLabel* Label_GEN_PETROL = nullptr;
    QLabel* Label_GEN_GAS = nullptr;
    QLabel* Label_GEN_Petrol_A = nullptr;
    QLabel* Label_GEN_Gas_A = nullptr;
    QLabel* Label_GEN_Press_A = nullptr;
    QLabel* Label_GEN_Averaging = nullptr;
    QLabel* Label_GEN_RPM = nullptr;
    QLabel* Label_GEN_Power = nullptr;
    QLabel* Label_GEN_Pressure = nullptr;
    QLabel* Label_GEN_PressInject = nullptr;
    QLabel* Label_GEN_Temp = nullptr;
    QLabel* Label_GEN_TempAUX1 = nullptr;
    QLabel* Label_GEN_Lambda = nullptr;
    QLabel* Panel_GEN_RPM = nullptr;
    QLabel* Panel_GEN_Power = nullptr;
    QLabel* Panel_GEN_PressInject = nullptr;
    QLabel* Panel_GEN_TempAUX1 = nullptr;
    QLabel* Panel_GEN_Lambda = nullptr;
    Strip_Chart_Widget* Image_GEN_Lambda = nullptr;
    QLabel* Label_GEN_Pump_Status = nullptr;
    QLabel* Panel_GEN_Pump_Status = nullptr;
    QLabel* Label_GEN_Pump_OK = nullptr;
    Bar_Gauge_Widget* Gauge_GEN_Pump_Status = nullptr;
    QLabel* Label_GEN_Pump_Press = nullptr;
    QPushButton* Button_GEN_Pump_Run = nullptr;
};
