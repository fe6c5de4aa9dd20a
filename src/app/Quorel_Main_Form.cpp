#include "app/Quorel_Main_Form.h"

#include "app/Quorel_Context.h"
#include "app/Quorel_Dialog_Shells_Form.h"
#include "app/Quorel_Help_Files.h"
#include "app/Quorel_Jpeg.h"
#include "app/Quorel_Launcher_Replace.h"
#include "app/Quorel_Logo.h"
#include "calibration/Quorel_Calibration_Actions.h"
#include "config/Quorel_CFG_Editor_Form.h"
#include "config/Quorel_Config_Defaults.h"
#include "files/Quorel_CFG_Actions.h"
#include "files/Quorel_CFG_Current.h"
#include "files/Quorel_CFG_Dialog.h"
#include "files/Quorel_CFG_Save.h"
#include "language/Quorel_Apply_Texts.h"
#include "language/Quorel_Language_State.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Message.h"
#include "link/Quorel_Message_Form.h"
#include "link/Quorel_Port_Search.h"
#include "link/Quorel_Port_Search_Form.h"
#include "link/Quorel_Port_Setup_Dialog.h"
#include "link/Quorel_Serial_Qt.h"
#include "monitor/Quorel_Errors_Form.h"
#include "monitor/Quorel_General_Form.h"
#include "monitor/Quorel_Led_Widget.h"
#include "monitor/Quorel_Live_Decode.h"
#include "monitor/Quorel_Live_Monitor.h"
#include "monitor/Quorel_Strip_Chart_Widget.h"
#include "settings/Quorel_Ini.h"
#include "settings/Quorel_Settings_Form.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

#include <array>

namespace {

constexpr std::array<const char*, TForm_QuorelGAS::Tab_Count> Tab_Names = {
    "TabSheet_General", "TabSheet_Configuration", "TabSheet_Calibration", "TabSheet_Oscilloscope",
    "TabSheet_AutoCalibration", "TabSheet_Errors", "TabSheet_Settings", "TabSheet_About"};

// Controls that need a connected ECU.
constexpr std::array<const char*, 19> ECU_Controls = {
    "Button_WorkMode",       "Button_CFG_Receiv",          "Button_CFG_Transmitt",      "Button_CLB_Receiv",
    "Button_CLB_Transmitt",  "Button_OSC_StartStop",       "Button_OSC_Test_Drive",     "Button_ACB_StartStop",
    "Button_ERR_Clear",      "Button_GEN_Pump_Run",        "Button_CFG_RPM_set",        "Button_CFG_RPM_Scaler",
    "Button_Inject_Detect",  "Button_CFG_LevelSensor_Clr", "Button_CFG_LevelSensor_Set", "Button_CFG_ST_Refresh",
    "Button_CFG_ST_Clr",     "Button_CFG_ST_Set",          "Button_CFG_Car_Password"};

// Text inputs during whose editing the hot keys are off.
constexpr std::array<const char*, 9> Key_Blocking_Edits = {
    "Edit_CFG_User_Find",   "Edit_CFG_Car_Num",     "Edit_CFG_Car_Model",
    "Edit_CFG_Car_Engine",  "Edit_CFG_Car_Date_Mounting_set", "Edit_CFG_Owner_Name",
    "Edit_CFG_Owner_Phone", "Edit_CFG_Owner_Address", "Memo_CFG_Comments"};

constexpr const char* Diagram_Filter = "Scheme (Diagram) files (*.ipg)|*.jpg|All files (*.*)|*.*";

// A line of the About tab's key list: the label, the key's text where the
// English table has none, and what the key does (none: the tab's caption).
struct About_Line
{
    const char* name;
    const char* key_text;
    const char* action;
};

constexpr std::array<About_Line, 26> About_Hot_Key_Lines = {{
    {"Label_About_F1", "\"F1\" key", nullptr},
    {"Label_About_F2", "\"F2\" key", nullptr},
    {"Label_About_F3", "\"F3\" key", nullptr},
    {"Label_About_F4", "\"F4\" key", nullptr},
    {"Label_About_F5", "\"F5\" key", nullptr},
    {"Label_About_F6", "\"F6\" key", nullptr},
    {"Label_About_F7", "\"F7\" key", nullptr},
    {"Label_About_F8", "\"F8\" key", nullptr},
    {"Label_About_F10", "\"F10\" key", "Exit"},
    {"Label_About_Letter_F", "\"F\" key", "Full screen / normal"},
    {"Label_About_Letter_H", "\"H\" key", "Help for the shown tab"},
    {"Label_About_Letter_I", "\"I\" key", "Installation diagram"},
    {"Label_About_Letter_R", "\"R\" key", "Read from the ECU"},
    {"Label_About_Letter_T", "\"T\" key", "Write to the ECU"},
    {"Label_About_Letter_L", "\"L\" key", "Load"},
    {"Label_About_Letter_S", "\"S\" key", "Save, or Start/Stop"},
    {"Label_About_Letter_D", "\"D\" key", "Default values"},
    {"Label_About_Letter_Z", "\"Z\" key", "Gas on injector 1"},
    {"Label_About_Letter_X", "\"X\" key", "Gas on injector 2"},
    {"Label_About_Letter_C", "\"C\" key", "Gas on injector 3"},
    {"Label_About_Letter_V", "\"V\" key", "Gas on injector 4"},
    {"Label_About_Letter_B", "\"B\" key", "Gas on injector 5"},
    {"Label_About_Letter_N", "\"N\" key", "Gas on injector 6"},
    {"Label_About_Letter_M", "\"M\" key", "Gas on injector 7"},
    {"Label_About_Letter_8", "\"<\" key", "Gas on injector 8"},
    {"Label_About_Letter_A", "\"A\" key", "Gas on all injectors"},
}};

constexpr std::array<About_Line, 7> About_Point_Lines = {{
    {"Label_About_Letter_012345678", "\"012345678\" key", "Select a point by its number"},
    {"Label_About_Letter_P_1234567", "\"P\" key", "held + 1 ... 7: select several points"},
    {"Label_About_Letter_O_1234567", "\"O\" key", "+ 1 ... 7: select points one after another"},
    {"Label_About_Letter_Esc", "\"Esc\" key", "Release the selected point"},
    {"Label_About_Arrow_Key", "Arrow keys", "Move the selected point"},
    {"Label_About_Mouse_Left", "Left mouse button", "Select and drag a point"},
    {"Label_About_Mouse_Right", "Right mouse button", "Release the point"},
}};

// Group boxes of the About tab with their English captions.
constexpr std::array<std::pair<const char*, const char*>, 4> About_Boxes = {{
    {"GroupBox_About_HotKey", "Hot keys"},
    {"GroupBox_About_Select_CLB_Point", "Calibration points"},
    {"GroupBox_About_Program", "Program"},
    {"GroupBox_About_Work", "Work"},
}};

// Z X C V B N M , : the injector buttons 1 .. 8.
int Injector_Key(int key)
{
    switch (key) {
    case Qt::Key_Z: return 0;
    case Qt::Key_X: return 1;
    case Qt::Key_C: return 2;
    case Qt::Key_V: return 3;
    case Qt::Key_B: return 4;
    case Qt::Key_N: return 5;
    case Qt::Key_M: return 6;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 7;
    default: return -1;
    }
}

QString Caption_Of(const char* key, const QString& fallback)
{
    const QString text = Text(QLatin1String(key));
    return text.isEmpty() ? fallback : text;
}

QString Shown_Text(QString caption) { return caption.remove(QChar('&')); }

QLabel* Make_Panel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* panel = new QLabel(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setAutoFillBackground(true);
    return panel;
}

QPushButton* Make_Button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(Shown_Text(caption));
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QLabel* Make_Label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(caption);
    label->setGeometry(geometry);
    return label;
}

void Paint_Panel(QLabel* panel, const Panel_State& state)
{
    panel->setText(state.caption);
    panel->setAccessibleName(state.caption);
    QPalette palette = panel->palette();
    if (state.background.isValid())
        palette.setColor(QPalette::Window, state.background);
    palette.setColor(QPalette::WindowText, state.text);
    panel->setPalette(palette);
    panel->setVisible(state.visible);
}

} // namespace

// The application's style with the check marks, radio marks, slider handles
// and scroll bars grown by the window's content scale, so a maximised window
// is not drawn with the marks of the designed size.
class Scaled_Style : public QProxyStyle
{
public:
    int Factor = TForm_QuorelGAS::Scale_One;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_SliderThickness:
        case PM_SliderLength:
        case PM_SliderControlThickness:
        case PM_ScrollBarExtent:
        case PM_ScrollBarSliderMin:
            return value * Factor / TForm_QuorelGAS::Scale_One;
        default:
            return value;
        }
    }
};

namespace {

bool Is_Text_Input(const QWidget* widget)
{
    if (!widget)
        return false;
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return !edit->isReadOnly();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QTextEdit*>(widget)
           || qobject_cast<const QPlainTextEdit*>(widget);
}

} // namespace

TForm_QuorelGAS::TForm_QuorelGAS(Quorel_Context& context, QWidget* parent) : QMainWindow(parent), context_(context)
{
    setObjectName(QStringLiteral("Form_QuorelGAS"));
    Open_Url = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    Open_File_Dialog = [](QWidget* owner, const QString& caption, const QString& folder, const QString& filter) {
        return QFileDialog::getOpenFileName(owner, caption, folder, filter);
    };
    Port_Setup = [this](QWidget* owner, const QString& current) -> std::optional<QString> {
        auto* real = dynamic_cast<Qt_Serial_Port*>(context_.ComPort.get());
        if (!real)
            return Port_Setup_Dialog(current, nullptr, owner);
        Serial_Line_Settings line = real->Line_Settings();
        std::optional<QString> chosen = Port_Setup_Dialog(current, &line, owner);
        if (chosen)
            real->Set_Line_Settings(line);
        return chosen;
    };
    FormCreate();
}

TForm_QuorelGAS::~TForm_QuorelGAS()
{
    if (scaled_style_)
        scaled_style_->deleteLater();
    Exit_Sequence();
    texts_listener_.reset();
    Language().Load_Font_Keys = nullptr;
    qApp->removeEventFilter(this);
    if (context_.Supervisor) {
        context_.Supervisor->Enable_ECU_Controls = nullptr;
        context_.Supervisor->hooks.Clear_Status_Messages = nullptr;
        context_.Supervisor->hooks.Connected_Display = nullptr;
        context_.Supervisor->hooks.Disconnected_Display = nullptr;
    }
    if (context_.Search) {
        context_.Search->Show_Button_Select_ComPort = nullptr;
        context_.Search->Set_Edit_Port_Name = nullptr;
        context_.Search->Enable_Button_Setup_Port = nullptr;
    }
    context_.Timer_Resize.Set_Enabled(false);
    context_.Timer_Resize.Set_Handler(nullptr);
}

void TForm_QuorelGAS::FormCreate()
{
    window_shown_ = false;

    Settings_Class& settings = context_.App_Settings;
    QApplication::setApplicationDisplayName(QString());
    setWindowIconText(settings.Program_Name() + QStringLiteral("  V") + Quorel_Context::Program_Version);
    qApp->setProperty("Application_Title", windowIconText());

    // Link state
    context_.ComPort->Clear_Port_Error();
    context_.Link_Open = false;
    context_.ECU_Connected = false;
    context_.Loader_Mode = false;
    context_.Pending_Request = 0;
    context_.Work_Mode = 2;

    Set_Program_Folder(settings.Program_Folder());
    settings.Remark_Text = [](const QString& key) { return Text(key); };
    settings.Settings_Create();
    Start_Up_Config(context_.Config_Data, settings.Name_Block_PIC,
                    [this](Configuration_Class& config) { context_.CFG_Files->Load_Last_File(config); });
    Language().Show_Hint = settings.Show_Hint;
    Language().Hint_Length = settings.Hint_Length;
    Language().Load_Font_Keys = [path = settings.File_Path()](Language_State& state) {
        Ini_File ini;
        ini.Ini_Load(path);   // no file: the default font keys
        state.Read_Font_Keys(ini);
    };
    List_Languages();
    Select_Language(settings.Language);   // a missing language file leaves English
    Set_English_Menu(settings.English_Menu);

    Build_Content();
    Apply_Texts();
    texts_listener_ = std::make_unique<Texts_Listener>([this]() { Apply_Texts(); });
    resize(Designed_Client_Width, Designed_Client_Height);
    remembered_outer_ = frameGeometry().size();

    connect(&context_, &Quorel_Context::Panels_Updated, this, &TForm_QuorelGAS::Paint_Panels);
    context_.Supervisor->Enable_ECU_Controls = [this](bool on) { Enable_ECU_Controls(on); };
    Wire_Link();
    Wire_Data_Keys();
    context_.Timer_Resize.Set_Handler([this]() { Timer_ResizeTimer(); });

    Paint_Panels();
    // One decode of the empty receive buffer puts consistent values on every
    // display; the first answer then shows the ECU's work mode whatever it is.
    context_.Live->Decode_Live_Data({});
    Enable_ECU_Controls(false);
    Apply_Window_Position();
    Apply_Form_Style(settings.Form_Style);
    Select_Tab(qBound(0, settings.Page_Number, Tab_Count - 1));

    qApp->installEventFilter(this);
    created_ = true;
}

void TForm_QuorelGAS::Build_Content()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);
    Panel_QuorelGAS = new QWidget(client);
    Panel_QuorelGAS->setObjectName(QStringLiteral("Panel_QuorelGAS"));
    Panel_QuorelGAS->setGeometry(0, 0, Designed_Client_Width, Designed_Client_Height);
    Panel_QuorelGAS->setFont(Panel_QuorelGAS->font());

    PageControl_QuorelGAS = new QTabWidget(Panel_QuorelGAS);
    PageControl_QuorelGAS->setObjectName(QStringLiteral("PageControl_QuorelGAS"));
    PageControl_QuorelGAS->setGeometry(2, 2, 776, 452);
    for (const char* name : Tab_Names) {
        auto* page = new QWidget;
        page->setObjectName(QLatin1String(name));
        const QString caption = Caption_Of(name, QLatin1String(name));
        page->setAccessibleName(caption);
        PageControl_QuorelGAS->addTab(page, caption);
    }
    PageControl_QuorelGAS->setAccessibleName(PageControl_QuorelGAS->tabText(0));
    connect(PageControl_QuorelGAS, &QTabWidget::currentChanged, this,
            &TForm_QuorelGAS::PageControl_QuorelGASChange);

    // Configuration tab: its buttons and keys run the same Hot_Keys entries.
    auto* configuration = new Configuration_Tab_Form(PageControl_QuorelGAS->widget(1), context_, Hot_Keys);
    config_form_ = configuration;
    configuration->Window_Enabled = [client]() { return client->isEnabled(); };
    Hot_Keys.CFG_Option_Scroll = [configuration](int step) { configuration->Option_Scroll(step); };

    Build_Settings_Tab(PageControl_QuorelGAS->widget(6));
    Build_About_Tab(PageControl_QuorelGAS->widget(7));
    Build_Button_Row();
    Build_Status_Panels();
    Build_Monitor_Tabs();

    Panel_LOGO = new QLabel(Panel_QuorelGAS);
    Panel_LOGO->setObjectName(QStringLiteral("Panel_LOGO"));
    Panel_LOGO->setAccessibleName(QStringLiteral("Logo"));
    Panel_LOGO->setAlignment(Qt::AlignCenter);
    Panel_LOGO->hide();
}

void TForm_QuorelGAS::Build_Button_Row()
{
    constexpr int y = 458, h = 28;
    for (int i = 0; i < 8; ++i) {
        const QByteArray name = "Button_Gas_Fors" + QByteArray::number(i + 1);
        Button_Gas_Fors[i] =
            Make_Button(Panel_QuorelGAS, name.constData(), QString::number(i + 1), QRect(4 + i * 38, y, 36, h));
        Button_Gas_Fors[i]->setCheckable(true);
        connect(Button_Gas_Fors[i], &QPushButton::clicked, this, [this, i]() {
            if (Hot_Keys.Gas_Fors)
                Hot_Keys.Gas_Fors(i);
        });
    }
    Button_Gas_Fors_All = Make_Button(Panel_QuorelGAS, "Button_Gas_Fors_All", QStringLiteral("*"),
                                      QRect(308, y, 44, h));
    Button_Gas_Fors_All->setCheckable(true);
    connect(Button_Gas_Fors_All, &QPushButton::clicked, this, [this]() {
        if (Hot_Keys.Gas_Fors_All)
            Hot_Keys.Gas_Fors_All();
    });
    Button_WorkMode = Make_Button(Panel_QuorelGAS, "Button_WorkMode", QStringLiteral("&Mode"), QRect(360, y, 80, h));
    connect(Button_WorkMode, &QPushButton::clicked, this, [this]() {
        if (On_WorkMode)
            On_WorkMode();
    });
    Button_Step_by_Step = Make_Button(Panel_QuorelGAS, "Button_Step_by_Step",
                                      Caption_Of("Button_Step_by_Step", QStringLiteral("Step by step")),
                                      QRect(446, y, 110, h));
    connect(Button_Step_by_Step, &QPushButton::clicked, this, [this]() {
        if (On_Step_by_Step)
            On_Step_by_Step();
    });
    Button_Select_ComPort =
        Make_Button(Panel_QuorelGAS, "Button_Select_ComPort", QStringLiteral("I"), QRect(562, y, 28, h));
    connect(Button_Select_ComPort, &QPushButton::clicked, this,
            [this]() { context_.Supervisor->Start_Port_Search(); });
}

void TForm_QuorelGAS::Build_Status_Panels()
{
    constexpr int y = 490, h = 28;
    Panel_PortStatus = Make_Panel(Panel_QuorelGAS, "Panel_PortStatus", QRect(2, y, 110, h));
    Panel_ConnectStatus = Make_Panel(Panel_QuorelGAS, "Panel_ConnectStatus", QRect(114, y, 130, h));
    Panel_ConnectStatus->installEventFilter(this);
    Panel_ProtokolStatus = Make_Panel(Panel_QuorelGAS, "Panel_ProtokolStatus", QRect(246, y, 20, h));
    Panel_ConnectStatus_PerCent = Make_Panel(Panel_QuorelGAS, "Panel_ConnectStatus_PerCent", QRect(268, y, 50, h));
    Panel_ErrorStatus = Make_Panel(Panel_QuorelGAS, "Panel_ErrorStatus", QRect(320, y, 270, h));
    Panel_ErrorStatus->hide();
    Panel_WorkMode = Make_Panel(Panel_QuorelGAS, "Panel_WorkMode", QRect(592, y, 186, h));
    Panel_WorkMode->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel_WorkMode->setIndent(6);
    Panel_WorkMode->setText(Text("Automat"));
    Panel_WorkMode->setAccessibleName(Panel_WorkMode->text());
    Label_GEN_Info = Make_Label(Panel_WorkMode, "Label_GEN_Info", QString(), QRect(80, 2, 104, h - 4));
    Label_GEN_Info->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TForm_QuorelGAS::Build_Monitor_Tabs()
{
    Live_Monitor& monitor = *context_.Monitor;
    Dashboard& board = monitor.Board;
    general_form_ = new General_Tab_Form(PageControl_QuorelGAS->widget(0), context_);
    general_form_->Window_Maximised = [this]() { return Is_Maximised(); };
    errors_form_ = new Errors_Tab_Form(PageControl_QuorelGAS->widget(5), monitor);

    Hot_Keys.Gas_Fors = [this, &board](int i) { board.Gas_Button_Toggled(i, Button_Gas_Fors[i]->isChecked()); };
    Hot_Keys.Gas_Fors_All = [this, &board]() { board.Gas_All_Toggled(Button_Gas_Fors_All->isChecked()); };
    On_WorkMode = [&board]() { board.Work_Mode_Click(); };
    board.On_Buttons_Changed = [this]() { Show_Gas_Buttons(); };
    board.On_Work_Mode_Changed = [this, &board]() {
        QPalette palette = Panel_WorkMode->palette();
        palette.setColor(QPalette::Window, board.Work_Mode_Colour());
        Panel_WorkMode->setPalette(palette);
        Panel_WorkMode->setText(board.Work_Mode_Text());
        Panel_WorkMode->setAccessibleName(board.Work_Mode_Text());
    };
    board.On_Info_Changed = [this, &board]() {
        Label_GEN_Info->setText(board.Info_Text());
        Label_GEN_Info->setAccessibleName(board.Info_Text());
        Label_GEN_Info->setVisible(board.Info_Visible());
    };
    board.On_Pump_Changed = [this, &board]() {
        general_form_->Show_Pump();
        // The Configuration and Calibration pages carry copies of the panel.
        for (const char* name : {"Panel_CFG_Pump_Status", "Panel_CLB_Pump_Status"})
            if (auto* copy = findChild<QLabel*>(QLatin1String(name))) {
                const Dashboard::Pump_Display& pump = board.Pump();
                copy->setText(pump.OK_Text);
                copy->setAccessibleName(pump.OK_Text);
                QPalette palette = copy->palette();
                palette.setColor(QPalette::Window, pump.Panel_Colour.isValid() ? pump.Panel_Colour
                                                                               : palette.color(QPalette::Button));
                palette.setColor(QPalette::WindowText, pump.Panel_Text_Colour);
                copy->setPalette(palette);
            }
    };
    // The mimic and the level section sit on the Configuration page, which
    // builds them; they are found by name.
    board.On_Leds_Changed = [this, &board]() {
        for (int i = 0; i < Dashboard::Led_Count; ++i)
            if (auto* led = findChild<Led_Widget*>(QLatin1String(Led_Names[size_t(i)])))
                led->Set_Lit(board.Led_On(Dashboard::Led(i)), Dashboard::Led_Colour(Dashboard::Led(i), board.Led_On(Dashboard::Led(i))));
    };
    board.On_Level_Mode_Changed = [this, &board]() {
        if (config_form_)
            config_form_->Show_Level_Mode(board.Level_Mode(), board.Level_Mode_Text(), board.Level_Mode_Hint());
    };
    board.On_Level_Changed = [this, &board]() {
        const Dashboard::Level_View& view = board.Level();
        if (auto* edit = findChild<QLineEdit*>(QStringLiteral("Edit_CFG_Level_Current")))
            edit->setText(view.Current_Text);
        if (auto* edit = findChild<QLineEdit*>(QStringLiteral("Edit_CFG_Level0")))
            edit->setText(view.Level0_Text);
        if (auto* image = findChild<QLabel*>(QStringLiteral("Image_CFG_Level_Sensor_Current"))) {
            image->setVisible(view.Picture_Visible);
            if (view.Picture_Visible)
                image->setPixmap(QPixmap::fromImage(Dashboard::Level_Picture(
                    image->size(), view.Level, view.Full_Scale, image->palette().color(QPalette::Window))));
        }
    };
    board.On_Rows_Changed = [this]() { general_form_->Layout_Injector_Rows(); };
    board.On_Charts_Changed = [this]() {
        general_form_->Chart()->Chart_Changed(QLocale().toString(context_.Live_Data.Lambda / 100.0, 'f', 2));
    };
    monitor.Messages.On_Shown_Changed = [this, &monitor]() {
        const QuorelMSG_Class::Panel& shown = monitor.Messages.Shown();
        QPalette palette = Panel_ErrorStatus->palette();
        palette.setColor(QPalette::Window, shown.Colour.isValid() ? shown.Colour : palette.color(QPalette::Button));
        Panel_ErrorStatus->setPalette(palette);
        Show_Error_Status(shown.Visible ? shown.Text : QString());
    };
    monitor.On_Errors_Changed = [this]() { errors_form_->Show_Errors(); };
    monitor.On_CPU_Freq_Changed = [this]() { errors_form_->Show_CPU_Freq(); };
    monitor.On_Threshold_Set = [this]() {
        if (QWidget* edit = Control(QStringLiteral("Edit_CFG_RPM_Sensitiv"))) {
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, Status_Colours::Light_Green);
            edit->setPalette(palette);
        }
    };
    monitor.On_Page_Display = [this]() {
        const int tab = PageControl_QuorelGAS->currentIndex();
        if (tab == 0)
            general_form_->Update_General_Page();
        else if (tab == 1) {
            context_.Monitor->Board.Level_Display();
            config_form_->Show_Live();
        }
    };
}

void TForm_QuorelGAS::Show_Gas_Buttons()
{
    const Dashboard& board = context_.Monitor->Board;
    for (int i = 0; i < 8; ++i) {
        Button_Gas_Fors[i]->setChecked(board.Button_Down(i));
        Button_Gas_Fors[i]->setEnabled(board.Button_Enabled(i));
    }
    Button_Gas_Fors_All->setChecked(board.All_Down());
    Button_Gas_Fors_All->setEnabled(board.All_Enabled());
}

void TForm_QuorelGAS::Build_Settings_Tab(QWidget* page)
{
    settings_form_ = new Settings_Tab_Form(page, context_.App_Settings);
    settings_form_->On_Setup_Port = [this]() { Button_Setup_PortClick(); };
    settings_form_->On_Form_Style_Changed = [this](bool on) { Apply_Form_Style(on); };
    settings_form_->Set_Language_List(Language().Languages);
}

void TForm_QuorelGAS::Build_About_Tab(QWidget* page)
{
    auto* hot_keys = new QGroupBox(page);
    hot_keys->setObjectName(QStringLiteral("GroupBox_About_HotKey"));
    hot_keys->setGeometry(8, 8, 370, 280);

    // Two columns: tabs and commands, then the rest. Captions come from Apply_Texts.
    constexpr int line_height = 14;
    constexpr int first_column_lines = 15;
    for (int i = 0; i < int(About_Hot_Key_Lines.size()); ++i) {
        const bool second = i >= first_column_lines;
        const int y = 20 + (second ? i - first_column_lines : i) * (line_height + 2);
        Make_Label(hot_keys, About_Hot_Key_Lines[size_t(i)].name, QString(),
                   second ? QRect(186, y, 178, line_height) : QRect(10, y, 172, line_height));
    }

    auto* clb = new QGroupBox(page);
    clb->setObjectName(QStringLiteral("GroupBox_About_Select_CLB_Point"));
    clb->setGeometry(386, 8, 374, 140);
    int y = 20;
    for (const About_Line& line : About_Point_Lines) {
        Make_Label(clb, line.name, QString(), QRect(10, y, 354, line_height));
        y += line_height + 2;
    }

    auto* program = new QGroupBox(page);
    program->setObjectName(QStringLiteral("GroupBox_About_Program"));
    program->setGeometry(386, 156, 180, 64);
    Make_Label(program, "Label_About_Ver", QString(), QRect(10, 20, 160, 18));
    Make_Label(program, "Label_About_Date", QString(), QRect(10, 40, 160, 18));

    auto* work = new QGroupBox(page);
    work->setObjectName(QStringLiteral("GroupBox_About_Work"));
    work->setGeometry(574, 156, 186, 64);
    Make_Label(work, "Label_About_Work_Gas", QString(), QRect(10, 20, 166, 18));
    Make_Label(work, "Label_About_Work_Petrol", QString(), QRect(10, 40, 166, 18));
    work->hide();

    Button_About_Diagram = Make_Button(page, "Button_About_Diagram", QStringLiteral("\"I\" diagram"),
                                       QRect(386, 232, 120, 28));
    connect(Button_About_Diagram, &QPushButton::clicked, this, &TForm_QuorelGAS::Button_About_DiagramClick);
    Button_HEX_Loader = Make_Button(page, "Button_HEX_Loader", Caption_Of("Button_HEX_Loader", QStringLiteral("Loader")),
                                    QRect(514, 232, 120, 28));
    connect(Button_HEX_Loader, &QPushButton::clicked, this, [this]() {
        if (On_HEX_Loader)
            On_HEX_Loader();
    });
    Button_About_Help =
        Make_Button(page, "Button_About_Help", Caption_Of("Button_About_Help", QStringLiteral("Help")),
                    QRect(642, 232, 118, 28));
    connect(Button_About_Help, &QPushButton::clicked, this, [this]() {
        if (On_About_Help)
            On_About_Help();
        else
            Open_Help();
    });
}

void TForm_QuorelGAS::Create_Dialogs()
{
    if (dialogs_)
        return;
    dialogs_ = std::make_unique<Dialog_Shells>(this, [this](const char* name, QWidget* owner) -> QDialog* {
        const QLatin1String which(name);
        if (which == QLatin1String("TForm_Port") && context_.Search)
            return new TForm_Port(*context_.Search, owner);
        if (which == QLatin1String("TForm_MSG") && context_.Messages)
            return new TForm_MSG(*context_.Messages, owner);
        return nullptr;
    });
    if (context_.Messages) {
        // A message that the ECU needs a newer program leaves only the way out.
        // The window's content is disabled, not the window: the message is
        // its child and must stay usable.
        connect(context_.Messages.get(), &Message_Window::Program_Blocked, this, [this]() {
            Select_Tab(0);
            centralWidget()->setEnabled(false);
        });
        connect(context_.Messages.get(), &Message_Window::Program_End_Requested, this, [this]() { close(); });
    }
}

void TForm_QuorelGAS::Wire_Data_Keys()
{
    // Configuration tab: the reading and writing of the whole configuration
    // and its defaults; the files arrive with their module.
    Hot_Keys.CFG_Receive = [this]() {
        if (context_.ECU_Connected)
            context_.Pending_Request = Calibration_Actions::Request_Read_Configuration;
    };
    Hot_Keys.CFG_Transmit = [this]() {
        if (context_.ECU_Connected)
            context_.Pending_Request = Calibration_Actions::Request_Write_Configuration;
    };
    CFG_Actions& files = *context_.CFG_Files;
    files.Visible_Tab = [this]() {
        switch (PageControl_QuorelGAS->currentIndex()) {
        case 1: return CFG_Load_Tab::Configuration;
        case 2: return CFG_Load_Tab::Calibration;
        default: return CFG_Load_Tab::Other;
        }
    };
    files.Choose_Save_Name = [this]() {
        return Run_CFG_Save_Dialog(this, context_.App_Settings, CFG_Dialogs).has_value();
    };
    Hot_Keys.CFG_Save = [&files]() { files.Save_Requested(); };
    auto load_dialog = [this, &files]() {
        const std::optional<Load_Choice> choice = Run_CFG_Load_Dialog(this, context_.App_Settings, CFG_Dialogs);
        if (choice)
            files.Load_Chosen(choice->Load_Path);
        return choice.has_value();
    };
    Hot_Keys.CFG_Load = [load_dialog]() { load_dialog(); };
    Hot_Keys.CFG_Defaults = [this]() {
        Set_Config_Defaults(context_.Config_Data, context_.ECU_Connected, context_.App_Settings.Name_Block_PIC);
        if (context_.App_Settings.Save_Load_Data)
            context_.Calibration.Set_Default_Map();
        context_.Config_Changed();
        if (context_.App_Settings.Transmit_Now && context_.ECU_Connected)
            context_.Pending_Request = Calibration_Actions::Request_Write_Configuration;
    };
    // Calibration tab
    Calibration_Actions& clb = *context_.CLB_Actions;
    clb.Save_Configuration = [&files]() { files.Save_Requested(); };
    clb.Load_Configuration = load_dialog;
    Hot_Keys.CLB_Receive = [&clb]() { clb.Receive(); };
    Hot_Keys.CLB_Transmit = [&clb]() { clb.Transmit(); };
    Hot_Keys.CLB_Defaults = [&clb]() { clb.Default(); };
    Hot_Keys.CLB_Save = [&clb]() { clb.Save(); };
    Hot_Keys.CLB_Load = [&clb]() { clb.Load(); };
}

void TForm_QuorelGAS::Wire_Link()
{
    if (Port_Search* search = context_.Search.get()) {
        search->Show_Button_Select_ComPort = [this](bool on) { Button_Select_ComPort->setVisible(on); };
        search->Set_Edit_Port_Name = [this](const QString& name) {
            if (auto* edit = findChild<QLineEdit*>(QStringLiteral("Edit_Port_Name")))
                edit->setText(name);
        };
        search->Enable_Button_Setup_Port = [this](bool on) {
            if (QWidget* button = Control(QStringLiteral("Button_Setup_Port")))
                button->setEnabled(on);
        };
    }
    Link_Supervisor::Hooks& hooks = context_.Supervisor->hooks;
    hooks.Connected_Display = [this]() {
        Button_Select_ComPort->hide();
        context_.Monitor->Board.Set_Gas_Buttons_Enabled(true);
    };
    hooks.Disconnected_Display = [this]() {
        Button_Step_by_Step->show();
        Button_Select_ComPort->show();
        if (auto* label = findChild<QLabel*>(QStringLiteral("Label_ERR_CPU_Freq_MHz")))
            label->setText(QStringLiteral("0"));
        if (auto* spin = findChild<QSpinBox*>(QStringLiteral("UpDown_CFG_Inject_Num")))
            spin->setMaximum(8);
        if (!context_.Loader_Mode)
            centralWidget()->setEnabled(true);
    };
}

// ---------------------------------------------------------------- texts

void TForm_QuorelGAS::Apply_Texts()
{
    // Tab captions carry their function key; they are frame texts.
    for (int i = 0; i < Tab_Count; ++i) {
        const QString name = QLatin1String(Tab_Names[size_t(i)]);
        const QString caption = QStringLiteral("F%1 ").arg(i + 1) + Caption_Text(name, name, true);
        PageControl_QuorelGAS->setTabText(i, caption);
        PageControl_QuorelGAS->widget(i)->setAccessibleName(caption);
    }
    PageControl_QuorelGAS->setAccessibleName(PageControl_QuorelGAS->tabText(PageControl_QuorelGAS->currentIndex()));
    Refresh_Caption();

    // Button row.
    for (int i = 0; i < 8; ++i)
        Set_Hint(Button_Gas_Fors[i], QStringLiteral("Button_Gas_Fors%1_Hint").arg(i + 1));
    Set_Hint(Button_Gas_Fors_All, QStringLiteral("Button_Gas_Fors_All_Hint"));
    Set_Caption(Button_WorkMode, QChar('&') + Text("Mode"));
    Set_Hint(Button_WorkMode, QStringLiteral("Button_WorkMode_Hint"));
    Set_Caption(Button_Step_by_Step, Caption_Text(QStringLiteral("Button_Step_by_Step"), QStringLiteral("Step by step")));
    Set_Hint(Button_Step_by_Step, QStringLiteral("Button_StepbyStep_Hint"));
    Set_Hint(Button_Select_ComPort, QStringLiteral("Button_Select_ComPort_Hint"));
    context_.Monitor->Status.Retranslate();
    context_.Monitor->Board.Retranslate();
    general_form_->Apply_Texts();
    errors_form_->Apply_Texts();

    // About tab.
    for (const auto& [name, english] : About_Boxes)
        Set_Caption(Control(QLatin1String(name)), Caption_Text(QLatin1String(name), QLatin1String(english)));
    const auto line_text = [](const About_Line& line, const QString& action) {
        return Caption_Text(QLatin1String(line.name), QLatin1String(line.key_text)) + QStringLiteral(" - ") + action;
    };
    for (size_t i = 0; i < About_Hot_Key_Lines.size(); ++i) {
        const About_Line& line = About_Hot_Key_Lines[i];
        const QString action = line.action ? QString::fromLatin1(line.action)
                                           : Caption_Text(QLatin1String(Tab_Names[i]), QLatin1String(Tab_Names[i]));
        Set_Caption(Control(QLatin1String(line.name)), line_text(line, action));
    }
    for (const About_Line& line : About_Point_Lines)
        Set_Caption(Control(QLatin1String(line.name)), line_text(line, QString::fromLatin1(line.action)));
    Set_Caption(Control(QStringLiteral("Label_About_Ver")),
                Text("Version") + QChar(' ') + QLatin1String(Quorel_Context::Program_Version));
    Set_Caption(Control(QStringLiteral("Label_About_Date")),
                Text("Date") + QChar(' ') + QLatin1String(Quorel_Context::Program_Date));
    Set_Caption(Button_About_Diagram, QStringLiteral("\"I\" ") + Text("Button_About_Diagram"));
    Set_Hint(Button_About_Diagram, QStringLiteral("Button_About_Diagram_Hint"), QStringLiteral("\"I\" - "));
    Set_Caption(Button_HEX_Loader, Caption_Text(QStringLiteral("Button_HEX_Loader"), QStringLiteral("Loader")));
    Set_Caption(Button_About_Help, Caption_Text(QStringLiteral("Button_About_Help"), QStringLiteral("Help")));
    Set_Hint(Button_About_Help, QStringLiteral("Button_About_Help_Hint"), QStringLiteral("\"H\" - "));
}

// ---------------------------------------------------------------- start-up

void TForm_QuorelGAS::Start_Up()
{
    Apply_Branding();
    Serial_First_Action();
}

void TForm_QuorelGAS::Apply_Branding()
{
    const Settings_Class& settings = context_.App_Settings;
    const QString base = settings.Program_Folder() + QChar('/') + settings.Program_Name();
    if (settings.Is_Ambrisol()) {
        logo_picture_ = Built_In_Logo(64);
        logo_keep_proportion_ = true;
        logo_designed_size_ = QSize(21, 21);
        logo_top_offset_ = 2;
    } else {
        const QString icon_file = base + QStringLiteral(".ico");
        if (QFileInfo(icon_file).isFile()) {
            const QIcon icon(icon_file);
            if (!icon.isNull() && !icon.availableSizes().isEmpty()) {
                QApplication::setWindowIcon(icon);
                setWindowIcon(icon);
            }
        }
        logo_picture_ = Load_Jpeg(base + QStringLiteral(".jpg"));
        logo_keep_proportion_ = false;
        logo_designed_size_ = QSize(settings.Logo_Width, settings.Logo_Height);
        logo_top_offset_ = settings.Logo_Top;
    }
    Panel_LOGO->setVisible(!logo_picture_.isNull() && !logo_designed_size_.isEmpty());
    Place_Logo();
}

void TForm_QuorelGAS::Serial_First_Action()
{
    Settings_Class& settings = context_.App_Settings;
    if (settings.Search_Port) {
        context_.Supervisor->Start_Port_Search();
    } else if (context_.Frames.hooks.Port_Present && context_.Frames.hooks.Port_Present(settings.Port_Name)) {
        context_.ComPort->Set_Port(settings.Port_Name);
        context_.ComPort->Port_Open();
    } else {
        context_.Supervisor->Load_Connection_List();
    }
}

// ---------------------------------------------------------------- window

void TForm_QuorelGAS::Apply_Window_Position()
{
    const Settings_Class& settings = context_.App_Settings;
    if (settings.Full_Screen) {
        if (!Is_Maximised()) {
            normal_geometry_ = QRect(QPoint(settings.Position_Left, settings.Position_Top), geometry().size());
            setWindowState(windowState() | Qt::WindowMaximized);
            Fill_Screen_If_Unmanaged();
        }
    } else {
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        move(settings.Position_Left, settings.Position_Top);
    }
}

void TForm_QuorelGAS::Apply_Form_Style(bool on_top)
{
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == on_top)
        return;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on_top);
    if (shown)
        show();
}

void TForm_QuorelGAS::Refresh_Caption()
{
    const Settings_Class& settings = context_.App_Settings;
    const QString title = settings.Title_Text.isEmpty() ? settings.Program_Name() : settings.Title_Text;
    setWindowTitle(title + QStringLiteral("  ") + Menu_Text("Version") + QChar(' ') + Quorel_Context::Program_Version
                   + QStringLiteral("  ") + Menu_Text("Date") + QChar(' ') + Quorel_Context::Program_Date);
    setAccessibleName(windowTitle());
}

void TForm_QuorelGAS::FormShow()
{
    window_shown_ = true;
    Refresh_Caption();
}

void TForm_QuorelGAS::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_QuorelGAS::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormCanResize();
}

void TForm_QuorelGAS::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        FormCanResize();
}

void TForm_QuorelGAS::FormCanResize()
{
    if (!created_)
        return;   // the creation's own size and state changes are taken up when shown
    resize_idle_checks_ = 0;
    context_.Timer_Resize.Set_Enabled(true);
}

void TForm_QuorelGAS::Timer_ResizeTimer()
{
    // The timer waits for the size to change; give up after half a second of
    // no change rather than polling forever.
    constexpr int Idle_Check_Limit = 50;
    if (frameGeometry().size() == remembered_outer_) {
        if (++resize_idle_checks_ >= Idle_Check_Limit)
            context_.Timer_Resize.Set_Enabled(false);
        return;
    }
    context_.Timer_Resize.Set_Enabled(false);
    if (Is_Maximised()) {
        const QSize client = centralWidget()->size();
        int factor = client.height() * Scale_One / Designed_Client_Height;
        const int panel_width = Designed_Client_Width * factor / Scale_One;
        if (panel_width > 0 && panel_width >= client.width())
            factor = factor * (client.width() * Scale_One / panel_width) / Scale_One;
        Rescale(factor);
        context_.App_Settings.Full_Screen = true;
    } else {
        Rescale(Scale_One);
        resize(Designed_Client_Width, Designed_Client_Height);
        context_.App_Settings.Full_Screen = false;
    }
    Place_Logo();
    remembered_outer_ = frameGeometry().size();
}

void TForm_QuorelGAS::Rescale(int factor)
{
    // Every control is scaled from its designed geometry and font, so going
    // back to the factor one gives exactly the designed layout.
    QList<QWidget*> widgets = Panel_QuorelGAS->findChildren<QWidget*>();
    widgets.prepend(Panel_QuorelGAS);
    for (QWidget* widget : widgets) {
        const QString name = widget->objectName();
        QWidget* parent = widget->parentWidget();
        const bool placed = !name.isEmpty() && !name.startsWith(QLatin1String("qt_"))
                            && !qobject_cast<QStackedWidget*>(parent) && !(parent && parent->layout());
        const bool own_font = widget == Panel_QuorelGAS || widget->testAttribute(Qt::WA_SetFont);
        // A stale entry (its widget gone, the address reused) is replaced.
        auto found = designed_.find(widget);
        if (found == designed_.end() || found->widget != widget) {
            if (!placed && !own_font)
                continue;
            Designed d;
            d.widget = widget;
            d.geometry = placed ? widget->geometry() : QRect();
            if (own_font) {
                d.point_size = widget->font().pointSizeF();
                d.pixel_size = widget->font().pixelSize();
            }
            designed_.insert(widget, d);
        }
    }
    if (factor != scale_) {
        if (!scaled_style_) {
            // Owned by the application: a widget still uses its style while
            // it is destroyed, after this window's members are gone.
            scaled_style_ = new Scaled_Style;
            scaled_style_->setParent(qApp);
        }
        scaled_style_->Factor = factor;
        for (QWidget* widget : widgets) {
            if (widget->style() == scaled_style_) {
                scaled_style_->unpolish(widget);
                scaled_style_->polish(widget);
            } else {
                widget->setStyle(scaled_style_);
            }
            widget->updateGeometry();
            widget->update();
        }
    }
    // Recorded before anything changes: a font of its own that takes its
    // size from the parent would otherwise be recorded already scaled.
    for (QWidget* widget : widgets) {
        const auto found = designed_.find(widget);
        if (found == designed_.end() || found->widget != widget)
            continue;
        const Designed& d = *found;
        if (d.geometry.isValid()) {
            const QRect& g = d.geometry;
            const int left = g.left() * factor / Scale_One;
            const int top = g.top() * factor / Scale_One;
            const int right = (g.left() + g.width()) * factor / Scale_One;
            const int bottom = (g.top() + g.height()) * factor / Scale_One;
            widget->setGeometry(left, top, right - left, bottom - top);
        }
        if (d.point_size > 0 || d.pixel_size > 0) {
            QFont font = widget->font();
            if (d.point_size > 0)
                font.setPointSizeF(d.point_size * factor / Scale_One);
            else
                font.setPixelSize(qMax(1, d.pixel_size * factor / Scale_One));
            widget->setFont(font);
        }
    }
    scale_ = factor;
}

void TForm_QuorelGAS::Place_Logo()
{
    if (!Panel_LOGO || !Panel_LOGO->isVisibleTo(Panel_QuorelGAS) || logo_picture_.isNull())
        return;
    const bool maximised = Is_Maximised();
    const int width = qMax(1, logo_designed_size_.width() * scale_ / Scale_One);
    const int height = qMax(1, logo_designed_size_.height() * scale_ / Scale_One);
    const QRect page = PageControl_QuorelGAS->geometry();
    const int top = page.top() + (maximised ? 0 : logo_top_offset_);
    const int right_edge = page.left() + page.width() - 1;   // one pixel left of the page control's edge
    Panel_LOGO->setGeometry(right_edge - width, top, width, height);
    Panel_LOGO->setPixmap(QPixmap::fromImage(logo_picture_.scaled(
        width, height, logo_keep_proportion_ ? Qt::KeepAspectRatio : Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    Panel_LOGO->raise();
}

void TForm_QuorelGAS::Toggle_Maximised()
{
    if (Is_Maximised()) {
        const bool filled = screen_filled_;
        screen_filled_ = false;
        showNormal();
        if (filled && normal_geometry_.isValid())
            setGeometry(normal_geometry_);
        return;
    }
    normal_geometry_ = geometry();
    showMaximized();
    Fill_Screen_If_Unmanaged();
}

void TForm_QuorelGAS::Fill_Screen_If_Unmanaged()
{
    // Without a window manager the state changes but the size does not:
    // the window then fills the screen's working area itself.
    QTimer::singleShot(Maximise_Check_Ms, this, [this]() {
        if (!isMaximized() || geometry().size() != normal_geometry_.size() || !screen())
            return;
        screen_filled_ = true;
        setWindowState(Qt::WindowNoState);
        setGeometry(screen()->availableGeometry());
    });
}

bool TForm_QuorelGAS::Is_Maximised() const
{
    return screen_filled_ || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

// ---------------------------------------------------------------- panels and controls

void TForm_QuorelGAS::Paint_Panels()
{
    Paint_Panel(Panel_PortStatus, context_.Panel_PortStatus);
    Paint_Panel(Panel_ConnectStatus, context_.Panel_ConnectStatus);
    Paint_Panel(Panel_ProtokolStatus, context_.Panel_ProtokolStatus);
    // The traffic lamp has no caption: it is named after its colour.
    const QColor lamp = context_.Panel_ProtokolStatus.background;
    Panel_ProtokolStatus->setAccessibleName(lamp == Frame_Exchange::Protokol_Color(Frame_Exchange::Protokol_Colour::Blue)
                                                ? QStringLiteral("Waiting for answer")
                                            : lamp == Frame_Exchange::Protokol_Color(Frame_Exchange::Protokol_Colour::Lime)
                                                ? QStringLiteral("Answer received")
                                                : QString());
    Paint_Panel(Panel_ConnectStatus_PerCent, context_.Panel_ConnectStatus_PerCent);
    Button_Select_ComPort->setVisible(!context_.ECU_Connected);
}

void TForm_QuorelGAS::Show_Error_Status(const QString& text)
{
    Panel_ErrorStatus->setText(text);
    Panel_ErrorStatus->setAccessibleName(text);
    Panel_ErrorStatus->setVisible(!text.isEmpty());
}

QWidget* TForm_QuorelGAS::Control(const QString& name) const { return findChild<QWidget*>(name); }

void TForm_QuorelGAS::Enable_ECU_Controls(bool on)
{
    for (const char* name : ECU_Controls)
        if (QWidget* control = Control(QLatin1String(name)))
            control->setEnabled(on);
    context_.Monitor->Board.Set_Gas_Buttons_Enabled(on);
}

void TForm_QuorelGAS::Select_Tab(int index)
{
    if (PageControl_QuorelGAS->currentIndex() != index)
        PageControl_QuorelGAS->setCurrentIndex(index);   // runs the tab change through the signal
    else
        PageControl_QuorelGASChange(index);
}

void TForm_QuorelGAS::PageControl_QuorelGASChange(int index)
{
    context_.App_Settings.Page_Number = index;
    PageControl_QuorelGAS->setAccessibleName(PageControl_QuorelGAS->tabText(index));
    if (index == 0 && !context_.ECU_Connected)
        general_form_->Update_General_Page();
}

void TForm_QuorelGAS::Button_Setup_PortClick()
{
    if (!Port_Setup)
        return;
    const std::optional<QString> chosen = Port_Setup(this, context_.App_Settings.Port_Name);
    if (!chosen)
        return;
    Settings_Class& settings = context_.App_Settings;
    settings.Port_Name = *chosen;
    settings.Preferred_Port = *chosen;
    if (auto* edit = findChild<QLineEdit*>(QStringLiteral("Edit_Port_Name"))) {
        edit->setText(*chosen);
        edit->setAccessibleName(*chosen);
    }
    const auto& present = context_.Frames.hooks.Port_Present;
    if (present && present(*chosen)) {
        Serial_Port& port = *context_.ComPort;
        port.Port_Close();
        port.Clear_Port_Error();
        context_.Panel_PortStatus.caption = *chosen;
        context_.Panels_Changed();
        port.Set_Port(*chosen);
        port.Port_Open();
    }
}

void TForm_QuorelGAS::Open_Document(const QString& path)
{
    if (Open_Url)
        Open_Url(QUrl::fromLocalFile(path));   // a missing document shows nothing
}

void TForm_QuorelGAS::Open_Help()
{
    Open_Document(Help_Document_Path(context_.Help_Folder(), PageControl_QuorelGAS->currentIndex(),
                                     context_.App_Settings.Language));
}

void TForm_QuorelGAS::Button_About_DiagramClick()
{
    const QString folder = context_.Language_Folder();
    for (const QString& candidate : Diagram_Candidates(folder, Program_Name, context_.App_Settings.Language)) {
        if (QFileInfo(candidate).isFile()) {
            Open_Document(candidate);
            return;
        }
    }
    if (!Open_File_Dialog)
        return;
    const QString chosen = Open_File_Dialog(this, Shown_Text(Button_About_Diagram->text()), folder,
                                            Qt_File_Filter(QLatin1String(Diagram_Filter)));
    if (!chosen.isEmpty())
        Open_Document(chosen);
}

// ---------------------------------------------------------------- keys

bool TForm_QuorelGAS::Keys_Blocked() const
{
    if (!PageControl_QuorelGAS->isEnabled())
        return true;
    if (Hot_Keys.Grid_Cell_Editing && Hot_Keys.Grid_Cell_Editing())
        return true;
    for (const QWidget* w = QApplication::focusWidget(); w && w != this; w = w->parentWidget())
        for (const char* name : Key_Blocking_Edits)
            if (w->objectName() == QLatin1String(name))
                return true;
    return false;
}

bool TForm_QuorelGAS::FormKeyDown(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (Keys_Blocked())
        return false;
    const int key = event->key();
    const int tab = PageControl_QuorelGAS->currentIndex();
    const bool repeat = event->isAutoRepeat();
    // A number typed into a box counts before the key acts on the
    // configuration: T sends, S saves what the box shows.
    if (key == Qt::Key_T || key == Qt::Key_S || key == Qt::Key_R || key == Qt::Key_L || key == Qt::Key_D
        || (key >= Qt::Key_F1 && key <= Qt::Key_F10))
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(QApplication::focusWidget()))
            spin->interpretText();
    const bool arrow = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
    if (repeat && !arrow)
        return true;   // held keys act once

    if (key >= Qt::Key_F1 && key <= Qt::Key_F8) {
        Select_Tab(key - Qt::Key_F1);
        return true;
    }
    if (key == Qt::Key_F10) {
        close();
        return true;
    }
    if (const int injector = Injector_Key(key); injector >= 0) {
        if (Button_Gas_Fors[injector]->isEnabled())
            Button_Gas_Fors[injector]->click();
        return true;
    }
    if (key == Qt::Key_A || (key == Qt::Key_Asterisk && (event->modifiers() & Qt::KeypadModifier))) {
        if (Button_Gas_Fors_All->isEnabled())
            Button_Gas_Fors_All->click();
        return true;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_8) {
        if (Hot_Keys.CLB_Select_Point)
            Hot_Keys.CLB_Select_Point(key - Qt::Key_0);
        return true;
    }

    auto run = [](const std::function<void()>& action) {
        if (action)
            action();
        return true;
    };
    auto toggle_and_run = [this, &run](const char* button, const std::function<void()>& action) {
        if (auto* b = findChild<QAbstractButton*>(QLatin1String(button))) {
            if (!b->isEnabled())
                return true;
            b->setChecked(!b->isChecked());
        }
        return run(action);
    };

    switch (key) {
    case Qt::Key_F: Toggle_Maximised(); return true;
    case Qt::Key_H: Open_Help(); return true;
    case Qt::Key_I: Button_About_DiagramClick(); return true;
    case Qt::Key_D:
        if (tab == 1) return run(Hot_Keys.CFG_Defaults);
        if (tab == 2) return run(Hot_Keys.CLB_Defaults);
        if (tab == 6) { settings_form_->Defaults(); return true; }
        return false;
    case Qt::Key_L:
        if (tab == 1) return run(Hot_Keys.CFG_Load);
        if (tab == 2) return run(Hot_Keys.CLB_Load);
        if (tab == 6) { settings_form_->Load(); return true; }
        return false;
    case Qt::Key_S:
        if (tab == 1) return run(Hot_Keys.CFG_Save);
        if (tab == 2) return run(Hot_Keys.CLB_Save);
        if (tab == 3) return toggle_and_run("Button_OSC_StartStop", Hot_Keys.OSC_StartStop);
        if (tab == 4) return toggle_and_run("Button_ACB_StartStop", Hot_Keys.ACB_StartStop);
        if (tab == 6) { settings_form_->Save(); return true; }
        return false;
    case Qt::Key_R:
        if (tab == 1) return run(Hot_Keys.CFG_Receive);
        if (tab == 2) return run(Hot_Keys.CLB_Receive);
        return false;
    case Qt::Key_T:
        if (tab == 1) return run(Hot_Keys.CFG_Transmit);
        if (tab == 2) return run(Hot_Keys.CLB_Transmit);
        return false;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int step = key == Qt::Key_Up ? -1 : 1;
        if (tab == 1) {
            if (Hot_Keys.CFG_Option_Scroll)
                Hot_Keys.CFG_Option_Scroll(step);
            return true;
        }
        if (tab == 2) {
            if (Hot_Keys.CLB_Move_Point)
                Hot_Keys.CLB_Move_Point(0, -step);
            return true;
        }
        return false;
    }
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (tab == 2) {
            if (Hot_Keys.CLB_Move_Point)
                Hot_Keys.CLB_Move_Point(key == Qt::Key_Left ? -1 : 1, 0);
            return true;
        }
        return false;
    case Qt::Key_Escape:
        if (tab == 2) return run(Hot_Keys.CLB_Release_Point);
        return false;
    case Qt::Key_P:
        if (Hot_Keys.CLB_Point_Mode_P)
            Hot_Keys.CLB_Point_Mode_P(true);
        return true;
    case Qt::Key_O: return run(Hot_Keys.CLB_Point_Mode_O);
    default: return false;
    }
}

void TForm_QuorelGAS::FormKeyUp(QKeyEvent* event)
{
    if (event->key() == Qt::Key_P && !event->isAutoRepeat() && Hot_Keys.CLB_Point_Mode_P)
        Hot_Keys.CLB_Point_Mode_P(false);
}

bool TForm_QuorelGAS::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel_ConnectStatus && event->type() == QEvent::MouseButtonPress) {
        if (On_HEX_Loader)
            On_HEX_Loader();
        return true;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    // A key event travels up the parents when a control ignores it; act
    // only once, on the widget it was sent to first.
    auto* key = static_cast<QKeyEvent*>(event);
    if (event == last_key_event_ && type == last_key_type_ && key->key() == last_key_code_
        && key->timestamp() == last_key_time_ && last_key_receiver_ && widget->isAncestorOf(last_key_receiver_))
        return false;
    last_key_event_ = event;
    last_key_type_ = type;
    last_key_code_ = key->key();
    last_key_time_ = key->timestamp();
    last_key_receiver_ = widget;
    if (type == QEvent::KeyRelease) {
        FormKeyUp(key);
        return false;
    }
    if (!FormKeyDown(key))
        return false;
    // Letters and digits still reach a text input, as typed characters.
    const bool printable = !key->text().isEmpty() && key->text().at(0).isPrint();
    return !(printable && Is_Text_Input(QApplication::focusWidget()));
}

// ---------------------------------------------------------------- exit

void TForm_QuorelGAS::closeEvent(QCloseEvent* event)
{
    Exit_Sequence();
    event->accept();
}

void TForm_QuorelGAS::Exit_Sequence()
{
    if (exit_done_)
        return;
    exit_done_ = true;
    auto timers_off = [this]() {
        context_.Timer_Connect.Set_Enabled(false);
        context_.Timer_Sending.Set_Enabled(false);
        context_.Timer_Error.Set_Enabled(false);
        context_.Timer_ACB_View.Set_Enabled(false);
    };
    timers_off();
    if (context_.ComPort->Port_Is_Open()) {
        context_.ComPort->Port_Close();
        timers_off();   // closing switches the send timer back on
    }

    Settings_Class& settings = context_.App_Settings;
    const bool maximised = windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
    QPoint position = screen_filled_ ? normal_geometry_.topLeft() : pos();
    if (maximised) {
        const QPoint frame_offset = geometry().topLeft() - frameGeometry().topLeft();
        position = normalGeometry().topLeft() - frame_offset;
    }
    settings.Position_Top = position.y();
    settings.Position_Left = position.x();
    settings.Page_Number = PageControl_QuorelGAS->currentIndex();
    if (Before_Settings_Write)
        Before_Settings_Write();
    settings.Settings_Write();

    Replace_Launcher(settings.Program_Folder());
}
