#include "monitor/Quorel_General_Form.h"

#include "app/Quorel_Context.h"
#include "app/Quorel_Text_Colour_Widget.h"
#include "language/Quorel_Text.h"
#include "monitor/Quorel_Bar_Gauge_Widget.h"
#include "monitor/Quorel_Live_Decode.h"
#include "monitor/Quorel_Live_Monitor.h"
#include "monitor/Quorel_Strip_Chart_Widget.h"
#include "monitor/Quorel_Value_Box_Widget.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QColor Gas_Fore{0, 128, 0};
const QColor Petrol_Fore{128, 128, 0};
const QColor White{255, 255, 255};
const QColor Red{255, 0, 0};
const QColor Black{0, 0, 0};
// Colours of the values and their captions.
const QColor RPM_Colour{0, 0, 255};
const QColor Power_Colour{0, 0, 128};
const QColor Pressure_Colour{0, 128, 128};
const QColor Temperature_Colour{128, 0, 0};
const QColor Lambda_Colour{128, 0, 128};

QLabel* Make_Label(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

QLabel* Make_Panel(QWidget* parent, const char* name, const QRect& geometry)
{
    QLabel* panel = Make_Label(parent, name, geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setAutoFillBackground(true);
    return panel;
}

// A font of the control's own: its size and weight; the window scaling
// grows it with the page.
void Set_Font(QWidget* widget, int point_size, bool bold)
{
    QFont font;
    font.setPointSize(point_size);
    font.setBold(bold);
    widget->setFont(font);
}

void Set_Caption(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
    if (label->accessibleName() != text)
        label->setAccessibleName(text);
}

void Set_Colours(QWidget* widget, const QColor& background, const QColor& text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background.isValid() ? background
                                                            : widget->parentWidget()->palette().color(QPalette::Window));
    palette.setColor(QPalette::WindowText, text);
    if (palette != widget->palette())
        widget->setPalette(palette);
}

QString Fixed(double value, int decimals) { return QLocale().toString(value, 'f', decimals); }

// Font size of the injector numbers by injector count.
int Row_Font_Size(int n)
{
    switch (n) {
    case 2: return 35;
    case 3: return 32;
    case 4: return 28;
    case 5: return 24;
    case 6: return 20;
    default: return 16;
    }
}

int Number_Percent(int n)
{
    switch (n) {
    case 2: return 45;
    case 3: return 40;
    case 4: return 35;
    case 5: return 30;
    case 6: return 25;
    default: return 20;
    }
}

} // namespace

General_Tab_Form::General_Tab_Form(QWidget* page, Quorel_Context& context)
    : QWidget(page), context_(context), monitor_(*context.Monitor)
{
    setObjectName(QStringLiteral("General_Tab_Form"));
    setGeometry(0, 0, Designed_Width, Designed_Height);

    // Injector rows, petrol above gas.
    Label_GEN_PETROL = Make_Label(this, "Label_GEN_PETROL", QRect(8, 2, 200, 24));
    Label_GEN_Petrol_A = Make_Label(this, "Label_GEN_Petrol_A", QRect(360, 2, 16, 24));
    Panel_GEN_Petrol_Injectors = new QFrame(this);
    Panel_GEN_Petrol_Injectors->setObjectName(QStringLiteral("Panel_GEN_Petrol_Injectors"));
    Panel_GEN_Petrol_Injectors->setGeometry(8, 26, 370, 180);
    Label_GEN_GAS = Make_Label(this, "Label_GEN_GAS", QRect(8, 209, 200, 24));
    Label_GEN_Gas_A = Make_Label(this, "Label_GEN_Gas_A", QRect(360, 209, 16, 24));
    Panel_GEN_Gas_Injectors = new QFrame(this);
    Panel_GEN_Gas_Injectors->setObjectName(QStringLiteral("Panel_GEN_Gas_Injectors"));
    Panel_GEN_Gas_Injectors->setGeometry(8, 234, 370, 180);
    for (QFrame* panel : {Panel_GEN_Petrol_Injectors, Panel_GEN_Gas_Injectors}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->installEventFilter(this);
    }
    Set_Font(Label_GEN_PETROL, 14, false);
    Set_Text_Colour(Label_GEN_PETROL, Petrol_Fore);
    Set_Font(Label_GEN_GAS, 14, false);
    Set_Text_Colour(Label_GEN_GAS, Gas_Fore);

    // Value panels: caption on the left, value on the right, each in its
    // own colour; the speed above the others in larger type.
    constexpr int Caption_X = 392, Caption_Width = 168, Value_X = 564, Value_Width = 116;
    Label_GEN_RPM = Make_Label(this, "Label_GEN_RPM", QRect(Caption_X, 4, Caption_Width, 36));
    Panel_GEN_RPM = Make_Panel(this, "Panel_GEN_RPM", QRect(Value_X, 4, Value_Width, 36));
    Label_GEN_Power = Make_Label(this, "Label_GEN_Power", QRect(Caption_X, 44, Caption_Width, 26));
    Panel_GEN_Power = Make_Panel(this, "Panel_GEN_Power", QRect(Value_X, 44, Value_Width, 26));
    Label_GEN_Pressure = Make_Label(this, "Label_GEN_Pressure", QRect(Caption_X, 72, 64, 26));
    Label_GEN_PressInject = Make_Label(this, "Label_GEN_PressInject", QRect(Caption_X + 66, 72, Caption_Width - 66, 26));
    Panel_GEN_PressInject = Make_Panel(this, "Panel_GEN_PressInject", QRect(Value_X, 72, Value_Width, 26));
    Label_GEN_Temp = Make_Label(this, "Label_GEN_Temp", QRect(Caption_X, 100, 92, 26));
    Label_GEN_TempAUX1 = Make_Label(this, "Label_GEN_TempAUX1", QRect(Caption_X + 94, 100, Caption_Width - 94, 26));
    Panel_GEN_TempAUX1 = Make_Panel(this, "Panel_GEN_TempAUX1", QRect(Value_X, 100, Value_Width, 26));
    Label_GEN_Lambda = Make_Label(this, "Label_GEN_Lambda", QRect(Caption_X, 128, Caption_Width, 26));
    Panel_GEN_Lambda = Make_Panel(this, "Panel_GEN_Lambda", QRect(Value_X, 128, Value_Width, 26));
    Set_Font(Label_GEN_RPM, 14, false);
    Set_Font(Panel_GEN_RPM, 20, true);
    for (QLabel* panel : {Panel_GEN_Power, Panel_GEN_PressInject, Panel_GEN_TempAUX1, Panel_GEN_Lambda})
        Set_Font(panel, 14, true);
    const std::pair<QLabel*, QColor> colours[] = {
        {Label_GEN_RPM, RPM_Colour},
        {Panel_GEN_RPM, RPM_Colour},
        {Label_GEN_Power, Power_Colour},
        {Panel_GEN_Power, Power_Colour},
        {Label_GEN_Pressure, Pressure_Colour},
        {Label_GEN_PressInject, Pressure_Colour},
        {Panel_GEN_PressInject, Pressure_Colour},
        {Label_GEN_Temp, Temperature_Colour},
        {Label_GEN_TempAUX1, Temperature_Colour},
        {Panel_GEN_TempAUX1, Temperature_Colour},
        {Label_GEN_Lambda, Lambda_Colour},
        {Panel_GEN_Lambda, Lambda_Colour},
    };
    for (const auto& [widget, colour] : colours)
        Set_Text_Colour(widget, colour);
    Label_GEN_Press_A = Make_Label(this, "Label_GEN_Press_A", QRect(Value_X + Value_Width + 4, 72, 16, 26));
    Label_GEN_Averaging = Make_Label(this, "Label_GEN_Averaging", QRect(Value_X + Value_Width + 4, 4, 78, 36));
    for (QLabel* mark : {Label_GEN_Petrol_A, Label_GEN_Gas_A, Label_GEN_Press_A, Label_GEN_Averaging}) {
        mark->installEventFilter(this);
        mark->setCursor(Qt::PointingHandCursor);
    }
    // Only the weight is their own: the size follows the page.
    QFont mark_font;
    mark_font.setBold(true);
    for (QLabel* mark : {Label_GEN_Petrol_A, Label_GEN_Gas_A, Label_GEN_Press_A})
        mark->setFont(mark_font);

    // Lambda chart.
    Image_GEN_Lambda = new Strip_Chart_Widget(monitor_.Board.Chart(0), this);
    Image_GEN_Lambda->setObjectName(QStringLiteral("Image_GEN_Lambda"));
    Image_GEN_Lambda->setGeometry(392, 160, 370, 92);
    monitor_.Board.Set_Chart_Size(0, 370, 92);
    Image_GEN_Lambda->Chart_Changed(Fixed(0, 2));

    // Pump status.
    Label_GEN_Pump_Status = Make_Label(this, "Label_GEN_Pump_Status", QRect(392, 258, 200, 20));
    Panel_GEN_Pump_Status = Make_Panel(this, "Panel_GEN_Pump_Status", QRect(392, 280, 370, 134));
    Label_GEN_Pump_OK = Make_Label(Panel_GEN_Pump_Status, "Label_GEN_Pump_OK", QRect(8, 4, 200, 38));
    Set_Font(Label_GEN_Pump_OK, 24, false);   // the test's result in large type
    Button_GEN_Pump_Run = new QPushButton(Panel_GEN_Pump_Status);
    Button_GEN_Pump_Run->setObjectName(QStringLiteral("Button_GEN_Pump_Run"));
    Button_GEN_Pump_Run->setGeometry(242, 8, 120, 28);
    Button_GEN_Pump_Run->setFocusPolicy(Qt::TabFocus);
    {
        // The button keeps its own face and text whatever colours the panel takes.
        const QPalette standard = QApplication::palette(Button_GEN_Pump_Run);
        QPalette own;
        for (QPalette::ColorRole role : {QPalette::Button, QPalette::ButtonText, QPalette::Window, QPalette::WindowText})
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                own.setColor(group, role, standard.color(group, role));
        Button_GEN_Pump_Run->setPalette(own);
    }
    connect(Button_GEN_Pump_Run, &QPushButton::clicked, this, [this]() { monitor_.Board.Pump_Run_Click(); });
    Gauge_GEN_Pump_Status = new Bar_Gauge_Widget(QColor(0, 0, 128), White, 0, Panel_GEN_Pump_Status);
    Gauge_GEN_Pump_Status->setObjectName(QStringLiteral("Gauge_GEN_Pump_Status"));
    Gauge_GEN_Pump_Status->setGeometry(8, 44, 354, 18);
    Label_GEN_Pump_Press = Make_Label(Panel_GEN_Pump_Status, "Label_GEN_Pump_Press", QRect(8, 68, 354, 58));
    Label_GEN_Pump_Press->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Apply_Texts();
    Layout_Injector_Rows();
    Show_Pump();
    Show_Averaging_Marks();
    Update_General_Page();
}

void General_Tab_Form::Apply_Texts()
{
    Set_Caption(Label_GEN_PETROL, Text("Petrol"));
    Set_Caption(Label_GEN_GAS, Text("Gas"));
    for (QLabel* mark : {Label_GEN_Petrol_A, Label_GEN_Gas_A, Label_GEN_Press_A})
        Set_Caption(mark, QStringLiteral("A"));
    Set_Caption(Label_GEN_Averaging, Text("Label_GEN_Averaging"));
    // Each caption names its unit after a comma and two blanks.
    const QString unit = QStringLiteral(",  ");
    Set_Caption(Label_GEN_RPM, Text("RPM") + unit + Text("Dim_RPM_Short"));
    Set_Caption(Label_GEN_Power, Text("Power") + unit + Text("Dim_Volt_Long"));
    Set_Caption(Label_GEN_Pressure, Text("Pressure"));
    Set_Caption(Label_GEN_PressInject, Text("Label_GEN_PressInject") + unit + Text("Dim_Bar_Long"));
    Set_Caption(Label_GEN_Temp, Text("Temperature"));
    Set_Caption(Label_GEN_TempAUX1, QStringLiteral("AUX1") + unit + Text("Dim_Degree_Short"));
    Set_Caption(Label_GEN_Lambda, Text("Lambda") + unit + Text("Dim_Volt_Long"));
    Set_Caption(Label_GEN_Pump_Status, Text("Label_GEN_Pump_Status"));
    const QString run = Text("Button_GEN_Pump_Run");
    if (Button_GEN_Pump_Run->text() != run)
        Button_GEN_Pump_Run->setText(run);
    Button_GEN_Pump_Run->setAccessibleName(run);
    Label_GEN_Averaging->setToolTip(Text("GEN_Averaging_Hint"));
    Show_Pump();
}

void General_Tab_Form::Set_Value(QLabel* panel, const QString& text) { Set_Caption(panel, text); }

void General_Tab_Form::Update_General_Page()
{
    const Live_Data_Record& live = context_.Live_Data;
    Set_Value(Panel_GEN_RPM, QString::number(live.RPM));
    Set_Value(Panel_GEN_Power, Fixed(live.Power / 100.0, 2));
    Set_Value(Panel_GEN_PressInject, Fixed(live.PressInject / 100.0, 2));
    Set_Value(Panel_GEN_TempAUX1,
              monitor_.Status.Temperature_Valid() ? Fixed(live.TempAUX1 / 10.0, 1) : Text("Off"));
    if (context_.Live->Config.Lambda_ON)
        Set_Value(Panel_GEN_Lambda, Fixed(live.Lambda / 100.0, 2));
    if (Row_Count() != monitor_.Board.Injectors())
        Layout_Injector_Rows();
    const int petrol_max = monitor_.Board.Petrol_Bar_Max();
    for (int i = 0; i < Row_Count(); ++i) {
        Petrol_Bar(i)->Set_Maximum(petrol_max);   // follows the calibration map
        const QString petrol = Dashboard::Milliseconds(live.Petrol_Time_Avg[size_t(i)]);
        const QString gas = Dashboard::Milliseconds(live.Gas_Time_Avg[size_t(i)]);
        Petrol_Number(i)->Set_Text(petrol);
        Petrol_Bar(i)->Set_Value(live.Petrol_Time[size_t(i)]);
        Petrol_Bar(i)->Set_Value_Text(petrol);
        Gas_Number(i)->Set_Text(gas);
        Gas_Bar(i)->Set_Value(live.Gas_Time[size_t(i)]);
        Gas_Bar(i)->Set_Value_Text(gas);
    }
    Show_Averaging_Marks();
}

void General_Tab_Form::Layout_Injector_Rows()
{
    Layout_Rows(Panel_GEN_Petrol_Injectors, petrol_rows_, false);
    Layout_Rows(Panel_GEN_Gas_Injectors, gas_rows_, true);
}

void General_Tab_Form::Layout_Rows(QFrame* panel, std::vector<Row>& rows, bool gas)
{
    const int n = monitor_.Board.Injectors();
    if (int(rows.size()) != n) {
        for (Row& row : rows) {
            delete row.number;
            delete row.bar;
        }
        rows.clear();
        for (int i = 0; i < n; ++i) {
            Row row;
            row.number = new Value_Box_Widget(panel);
            row.bar = gas ? new Bar_Gauge_Widget(Gas_Fore, White, Dashboard::Gas_Bar_Max, panel)
                          : new Bar_Gauge_Widget(Petrol_Fore, White, monitor_.Board.Petrol_Bar_Max(), panel);
            row.number->Set_Text(Dashboard::Milliseconds(0));
            row.bar->Set_Value_Text(row.number->Text());
            connect(row.number, &Value_Box_Widget::Pressed, this, [this, gas]() {
                if (On_Open_Indicator)
                    On_Open_Indicator(gas ? 3 : 2);
            });
            row.number->show();
            row.bar->show();
            rows.push_back(row);
        }
    }
    const int H = panel->height(), W = panel->width();
    int size = Row_Font_Size(n);
    const QWidget* main_window = window();
    const bool maximised = Window_Maximised ? Window_Maximised()
                                            : main_window && (main_window->isMaximized() || main_window->isFullScreen());
    if (main_window && main_window != this && maximised) {
        const QWidget* client = main_window->findChild<QWidget*>(QStringLiteral("Panel_QuorelGAS"));
        const int client_height = client && client->parentWidget() ? client->parentWidget()->height()
                                                                   : main_window->height();
        size = size * 2 * client_height / 853;
    }
    size += Graph_Data_Size;
    const int number_width = W * Number_Percent(n) / 100;
    const int h = (H - (3 * n + 7)) / n;
    const int t0 = ((H % n) + 10) / 2;
    const int bar_left = 8 + number_width + 8;
    for (int i = 0; i < n; ++i) {
        const int top = t0 + (h + 3) * i;
        rows[size_t(i)].number->setGeometry(8, top, number_width, h);
        rows[size_t(i)].number->Set_Pixel_Size(qMax(6, size));
        rows[size_t(i)].bar->setGeometry(bar_left, top, W - bar_left - 8, h);
        if (!gas)
            rows[size_t(i)].bar->Set_Maximum(monitor_.Board.Petrol_Bar_Max());
    }
}

void General_Tab_Form::Show_Pump()
{
    const Dashboard::Pump_Display& pump = monitor_.Board.Pump();
    Set_Colours(Panel_GEN_Pump_Status, pump.Panel_Colour, pump.Panel_Text_Colour);
    QString panel_name = Label_GEN_Pump_Status->text();
    if (!pump.OK_Text.isEmpty())
        panel_name += QStringLiteral(": ") + pump.OK_Text;
    Panel_GEN_Pump_Status->setAccessibleName(panel_name);
    Set_Caption(Label_GEN_Pump_OK, pump.OK_Text);
    Gauge_GEN_Pump_Status->setVisible(pump.Gauge_Visible);
    Gauge_GEN_Pump_Status->Set_Maximum(pump.Gauge_Max);
    Gauge_GEN_Pump_Status->Set_Value(pump.Gauge_Value);
    Gauge_GEN_Pump_Status->Set_Value_Text(QStringLiteral("%1 / %2").arg(pump.Gauge_Value).arg(pump.Gauge_Max));
    QString press = pump.Press_Text;
    press.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    Set_Caption(Label_GEN_Pump_Press, press);
    Label_GEN_Pump_Press->setAccessibleName(QString(press).replace('\n', ' '));
    Set_Colours(Label_GEN_Pump_Press, QColor(), pump.Press_Text_Colour);
    Label_GEN_Pump_Press->setVisible(pump.Press_Visible);
    Button_GEN_Pump_Run->setVisible(pump.Run_Visible);
}

void General_Tab_Form::Show_Averaging_Marks()
{
    const Live_Settings& settings = context_.Live->Settings;
    for (QLabel* mark : {Label_GEN_Petrol_A, Label_GEN_Gas_A})
        Set_Colours(mark, QColor(), settings.GEN_Averaging ? Red : Black);
    Set_Colours(Label_GEN_Press_A, QColor(), settings.PRESS_Averaging ? Red : Black);
}

bool General_Tab_Form::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && (watched == Panel_GEN_Petrol_Injectors || watched == Panel_GEN_Gas_Injectors)) {
        Layout_Rows(static_cast<QFrame*>(watched), watched == Panel_GEN_Gas_Injectors ? gas_rows_ : petrol_rows_,
                    watched == Panel_GEN_Gas_Injectors);
    } else if (event->type() == QEvent::MouseButtonPress
               && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Live_Settings& settings = context_.Live->Settings;
        if (watched == Label_GEN_Petrol_A || watched == Label_GEN_Gas_A || watched == Label_GEN_Averaging) {
            settings.GEN_Averaging = !settings.GEN_Averaging;
            Show_Averaging_Marks();
            return true;
        }
        if (watched == Label_GEN_Press_A) {
            settings.PRESS_Averaging = !settings.PRESS_Averaging;
            Show_Averaging_Marks();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
