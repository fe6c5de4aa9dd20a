#include "app/Quorel_Clock.h"
#include "app/Quorel_Context.h"
#include "app/Quorel_Dialog_Shells_Form.h"
#include "app/Quorel_Logo.h"
#include "app/Quorel_Main_Form.h"
#include "calibration/Quorel_Calibration_Map.h"
#include "config/Quorel_Config_Defaults.h"
#include "link/Quorel_Serial_Virtual.h"
#include "settings/Quorel_Ini.h"

#include <QApplication>
#include <QStyle>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Virtual_Name = "vtty0";

QImage Solid_Picture(const QColor& colour, QSize size = QSize(40, 60))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class Main_Form_Test : public ::testing::Test
{
protected:
    // Settings written before the window reads them.
    void Preset(const char* key, const QString& value) { settings_preset.append({key, value}); }

    void Make(const QString& program_name = "QuorelGAS")
    {
        for (const auto& [key, value] : settings_preset)
            ASSERT_TRUE(Ini_Set_One(dir.filePath(program_name + ".ini"), key, value, ""));
        auto virtual_port = std::make_unique<Virtual_Serial_Port>(clock);
        virtual_port->Set_Device_Name(Virtual_Name);
        port = virtual_port.get();
        context = std::make_unique<Quorel_Context>(clock, std::move(virtual_port), dir.path(), program_name);
        context->Frames.hooks.Port_Present = [](const QString& name) { return name == Virtual_Name; };
        window = std::make_unique<TForm_QuorelGAS>(*context);
        window->Open_Url = [this](const QUrl& url) {
            opened.append(url.toLocalFile());
            return false;
        };
        window->Open_File_Dialog = [this](QWidget*, const QString&, const QString& folder, const QString& filter) {
            dialog_folder = folder;
            dialog_filter = filter;
            return dialog_answer;
        };
    }

    void Show_Active()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        Settle();
    }

    // Lets Qt deliver pending events and the resize timer fire.
    void Settle()
    {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
            clock.Advance(10);
        }
    }

    void Press(int key, const QString& text = QString(), Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(target, &up);
    }

    template <class T = QWidget> T* Find(const QString& name) const { return window->findChild<T*>(name); }
    QTabWidget* Pages() const { return Find<QTabWidget>("PageControl_QuorelGAS"); }
    QString Ini_Path() const { return dir.filePath(context->App_Settings.Program_Name() + ".ini"); }

    QTemporaryDir dir;
    Virtual_Clock clock;
    Virtual_Serial_Port* port = nullptr;
    std::unique_ptr<Quorel_Context> context;
    std::unique_ptr<TForm_QuorelGAS> window;
    QList<std::pair<const char*, QString>> settings_preset;
    QStringList opened;
    QString dialog_folder, dialog_filter, dialog_answer;
};

} // namespace

TEST_F(Main_Form_Test, Eight_Tabs_In_Order_With_Their_Captions)
{
    Make();
    const std::pair<const char*, const char*> tabs[] = {
        {"TabSheet_General", "F1 General"},         {"TabSheet_Configuration", "F2 Config"},
        {"TabSheet_Calibration", "F3 Calibration"}, {"TabSheet_Oscilloscope", "F4 Oscilloscope"},
        {"TabSheet_AutoCalibration", "F5 Autocalibr."}, {"TabSheet_Errors", "F6 Errors"},
        {"TabSheet_Settings", "F7 Settings"},       {"TabSheet_About", "F8 About"}};
    QTabWidget* pages = Pages();
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(pages->widget(i)->objectName(), tabs[i].first);
        EXPECT_EQ(pages->tabText(i), tabs[i].second);
        EXPECT_EQ(pages->widget(i)->accessibleName(), tabs[i].second);
    }
    EXPECT_NE(Find<QWidget>("Panel_QuorelGAS"), nullptr);
    EXPECT_TRUE(Find<QWidget>("Panel_QuorelGAS")->isAncestorOf(pages));
    // The Settings tab holds its controls, the About tab its buttons.
    EXPECT_TRUE(pages->widget(6)->isAncestorOf(Find<QWidget>("Button_Setup_Port")));
    for (const char* name : {"Button_About_Diagram", "Button_HEX_Loader", "Button_About_Help", "GroupBox_About_HotKey",
                             "GroupBox_About_Select_CLB_Point", "GroupBox_About_Program", "Label_About_F10"})
        EXPECT_TRUE(pages->widget(7)->isAncestorOf(Find<QWidget>(name))) << name;
    EXPECT_EQ(Find<QPushButton>("Button_About_Diagram")->text(), "\"I\" Diagram");
    EXPECT_TRUE(Find<QWidget>("GroupBox_About_Work")->isHidden());
}

TEST_F(Main_Form_Test, Status_Panels_Show_Their_Designed_State)
{
    Make();
    auto* port_panel = Find<QLabel>("Panel_PortStatus");
    auto* connect_panel = Find<QLabel>("Panel_ConnectStatus");
    ASSERT_NE(port_panel, nullptr);
    ASSERT_NE(connect_panel, nullptr);
    EXPECT_EQ(port_panel->text(), "Port close");
    EXPECT_EQ(port_panel->accessibleName(), "Port close");
    EXPECT_EQ(port_panel->palette().color(QPalette::Window), QColor(0xFF, 0, 0));
    EXPECT_EQ(connect_panel->text(), "Not connect");
    EXPECT_EQ(connect_panel->palette().color(QPalette::Window), QColor(0xFF, 0, 0));
    for (const char* name : {"Panel_ProtokolStatus", "Panel_ConnectStatus_PerCent", "Panel_ErrorStatus",
                             "Panel_WorkMode", "Label_GEN_Info", "Panel_LOGO"})
        EXPECT_NE(Find<QWidget>(name), nullptr) << name;
    EXPECT_TRUE(Find<QWidget>("Panel_ProtokolStatus")->isHidden());
    EXPECT_TRUE(Find<QWidget>("Panel_ErrorStatus")->isHidden());
    EXPECT_FALSE(Find<QWidget>("Button_Select_ComPort")->isHidden());
    EXPECT_EQ(Find<QPushButton>("Button_WorkMode")->text(), "&Mode");

    window->Show_Error_Status("Low pressure");
    EXPECT_FALSE(Find<QWidget>("Panel_ErrorStatus")->isHidden());
    EXPECT_EQ(Find<QWidget>("Panel_ErrorStatus")->accessibleName(), "Low pressure");
    window->Show_Error_Status(QString());
    EXPECT_TRUE(Find<QWidget>("Panel_ErrorStatus")->isHidden());
}

TEST_F(Main_Form_Test, Panels_Follow_The_Context)
{
    Make();
    context->Panel_ConnectStatus = {"KYT-4", Panel_Colours::Lime, Panel_Colours::Blue, true};
    context->Panel_ProtokolStatus.visible = true;
    context->Panel_ProtokolStatus.background = Panel_Colours::Blue;
    context->ECU_Connected = true;
    context->Panels_Changed();
    auto* connect_panel = Find<QLabel>("Panel_ConnectStatus");
    EXPECT_EQ(connect_panel->text(), "KYT-4");
    EXPECT_EQ(connect_panel->accessibleName(), "KYT-4");
    EXPECT_EQ(connect_panel->palette().color(QPalette::Window), Panel_Colours::Lime);
    EXPECT_EQ(connect_panel->palette().color(QPalette::WindowText), Panel_Colours::Blue);
    EXPECT_FALSE(Find<QWidget>("Panel_ProtokolStatus")->isHidden());
    EXPECT_TRUE(Find<QWidget>("Button_Select_ComPort")->isHidden());

    // The traffic lamp has no caption: it is named after its colour.
    auto* lamp = Find<QLabel>("Panel_ProtokolStatus");
    context->Frames.hooks.Protokol_Changed(Frame_Exchange::Protokol_Colour::Blue);
    EXPECT_EQ(lamp->accessibleName(), "Waiting for answer");
    context->Frames.hooks.Protokol_Changed(Frame_Exchange::Protokol_Colour::Lime);
    EXPECT_EQ(lamp->accessibleName(), "Answer received");
    EXPECT_EQ(lamp->palette().color(QPalette::Window), Panel_Colours::Lime);

    context->Supervisor->Declare_Disconnected();
    EXPECT_EQ(connect_panel->text(), "Disconnect");
    EXPECT_EQ(connect_panel->palette().color(QPalette::WindowText), Panel_Colours::White);
    EXPECT_TRUE(Find<QWidget>("Panel_ProtokolStatus")->isHidden());
    EXPECT_FALSE(Find<QWidget>("Button_Select_ComPort")->isHidden());
}

TEST_F(Main_Form_Test, Timers_Have_Their_Designed_Intervals)
{
    Make();
    const std::tuple<const char*, int, bool> timers[] = {
        {"Timer_Sending", 100, false},       {"Timer_Connect", 5000, false},   {"Timer_Check_Tx", 500, false},
        {"Timer_Connect_Stabil", 1000, false}, {"Timer_Wait", 1000, false},    {"Timer_Resize", 10, false},
        {"Timer_Error", 2000, false},        {"Timer_Short_Pulse", 10000, false}, {"Timer_Led_Automat", 500, false},
        {"Timer_Transmit_Now", 700, false},  {"Timer_Transmit_Save", 1000, false}, {"Timer_OSC_Record", 2000, false},
        {"Timer_ACB_View", 2000, false},     {"Timer_Cut_Off", 2000, true},    {"Timer_KnikPoint", 200, false}};
    for (const auto& [name, interval, enabled] : timers) {
        auto* timer = context->findChild<Quorel_Timer*>(name);
        ASSERT_NE(timer, nullptr) << name;
        EXPECT_EQ(timer->Interval(), interval) << name;
        EXPECT_EQ(timer->Enabled(), enabled) << name;
    }
}

TEST_F(Main_Form_Test, Dialogs_Are_Created_Hidden_In_Order)
{
    Make();
    window->Create_Dialogs();
    ASSERT_NE(window->Dialogs(), nullptr);
    const auto& all = window->Dialogs()->All();
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i]->objectName(), Dialog_Shells::Names[i]);
        EXPECT_EQ(all[i]->parent(), window.get());
        EXPECT_TRUE(all[i]->isHidden());
    }
    EXPECT_EQ(all.front()->objectName(), "TForm_DTB");
    EXPECT_EQ(all.back()->objectName(), "TForm_Font");
    EXPECT_EQ(window->Dialogs()->Dialog("TForm_MSG"), window->findChild<QDialog*>("TForm_MSG"));
}

TEST_F(Main_Form_Test, Caption_And_Start_Tab_From_The_Settings)
{
    Preset("Page_Number", "5");
    Preset("Full_Screen", "False");
    Preset("Position_Left", "40");
    Preset("Position_Top", "30");
    Make();
    EXPECT_EQ(Pages()->currentIndex(), 5);
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->pos(), QPoint(40, 30));
    Show_Active();
    EXPECT_EQ(window->windowTitle(), "QuorelGAS  Version 1.19  Date 2014.02.11");
}

TEST_F(Main_Form_Test, Function_Keys_Select_Tabs_And_Remember_Them)
{
    Make();
    Show_Active();
    for (int i = 7; i >= 0; --i) {
        Press(Qt::Key_F1 + i);
        EXPECT_EQ(Pages()->currentIndex(), i);
        EXPECT_EQ(context->App_Settings.Page_Number, i);
    }
    // Modifiers make it someone else's key.
    Press(Qt::Key_F3, QString(), Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), 0);
    // A disabled page control takes no keys.
    Pages()->setEnabled(false);
    Press(Qt::Key_F4);
    EXPECT_EQ(Pages()->currentIndex(), 0);
}

TEST_F(Main_Form_Test, Successive_Keys_Built_At_One_Address_Each_Act)
{
    // The windowing system may build every key event in the same place.
    Make();
    Show_Active();
    alignas(QKeyEvent) unsigned char storage[sizeof(QKeyEvent)];
    auto send = [&](QEvent::Type type, int key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        auto* e = new (storage) QKeyEvent(type, key, Qt::NoModifier);
        QApplication::sendEvent(target, e);
        e->~QKeyEvent();
    };
    for (int key : {Qt::Key_F2, Qt::Key_F4, Qt::Key_F8}) {
        send(QEvent::KeyPress, key);
        send(QEvent::KeyRelease, key);
        EXPECT_EQ(Pages()->currentIndex(), key - Qt::Key_F1);
    }
}

TEST_F(Main_Form_Test, F10_Closes_And_Writes_The_Settings)
{
    Make();
    Show_Active();
    Press(Qt::Key_F3);
    ASSERT_FALSE(QFile::exists(Ini_Path()));
    Press(Qt::Key_F10);
    EXPECT_FALSE(window->isVisible());
    Ini_File ini;
    ASSERT_TRUE(ini.Ini_Load(Ini_Path()));
    EXPECT_EQ(ini.Ini_Read_Int("Page_Number"), 2);
    EXPECT_EQ(ini.Ini_Read_Bool("Full_Screen"), true);
}

TEST_F(Main_Form_Test, Exit_Puts_A_Waiting_Launcher_In_Place)
{
    Make();
    {
        QFile update(dir.filePath("QLoader_tmp"));
        ASSERT_TRUE(update.open(QIODevice::WriteOnly));
        update.write("new");
    }
    window->close();
    QFile launcher(dir.filePath("QLoader"));
    ASSERT_TRUE(launcher.open(QIODevice::ReadOnly));
    EXPECT_EQ(launcher.readAll(), "new");
    EXPECT_FALSE(QFile::exists(dir.filePath("QLoader_tmp")));
}

TEST_F(Main_Form_Test, Exit_Closes_The_Port_And_Stores_The_Position)
{
    Preset("Full_Screen", "False");
    Preset("Position_Left", "12");
    Preset("Position_Top", "34");
    Preset("Port_Name", Virtual_Name);
    Make();
    window->Start_Up();
    ASSERT_TRUE(port->Port_Is_Open());
    context->Timer_Error.Set_Enabled(true);
    window->Exit_Sequence();
    EXPECT_FALSE(port->Port_Is_Open());
    EXPECT_FALSE(context->Timer_Sending.Enabled());
    EXPECT_FALSE(context->Timer_Error.Enabled());
    Ini_File ini;
    ASSERT_TRUE(ini.Ini_Load(Ini_Path()));
    EXPECT_EQ(ini.Ini_Read_Int("Position_Left"), 12);
    EXPECT_EQ(ini.Ini_Read_Int("Position_Top"), 34);
}

TEST_F(Main_Form_Test, F_Toggles_Maximised_And_Rescale_Returns_To_The_Designed_Size)
{
    Preset("Full_Screen", "False");
    Make();
    Show_Active();
    QWidget* panel = Find<QWidget>("Panel_QuorelGAS");
    QWidget* pages = Pages();
    const QFont designed_font = panel->font();
    const int designed_mark = QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth);
    const int designed_handle = QApplication::style()->pixelMetric(QStyle::PM_SliderLength);
    EXPECT_EQ(window->centralWidget()->size(), QSize(780, 520));
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 780, 520));

    Press(Qt::Key_F);
    Settle();
    ASSERT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(context->App_Settings.Full_Screen);
    const QSize client = window->centralWidget()->size();
    ASSERT_NE(client, QSize(780, 520)) << "the offscreen screen should differ from the designed size";
    // Scaled by the height, then fitted to the width.
    int factor = client.height() * 10000 / 520;
    const int panel_width = 780 * factor / 10000;
    if (panel_width >= client.width())
        factor = factor * (client.width() * 10000 / panel_width) / 10000;
    EXPECT_EQ(window->Scale_Factor(), factor);
    EXPECT_EQ(panel->width(), 780 * factor / 10000);
    EXPECT_LE(panel->width(), client.width());
    EXPECT_LE(panel->height(), client.height());
    EXPECT_EQ(pages->x(), 2 * factor / 10000);
    EXPECT_NEAR(panel->font().pointSizeF(), designed_font.pointSizeF() * factor / 10000, 0.01);
    // Captions still fit their controls at the scaled size.
    for (const char* page : {"TabSheet_General", "TabSheet_Configuration", "TabSheet_Errors"})
        for (QLabel* label : Find<QWidget>(page)->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->wordWrap() || label->text().contains('\n'))
                continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << page << " " << label->objectName().toStdString();
        }
    // Check marks and slider handles grow with the captions.
    auto* box = Find<QWidget>("CheckBox_CFG_Level_Invert");
    auto* slider = Find<QWidget>("TrackBar_CFG_Level1");
    ASSERT_NE(box, nullptr);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box),
              designed_mark * factor / 10000);
    EXPECT_EQ(slider->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, slider),
              designed_handle * factor / 10000);

    Press(Qt::Key_F);
    Settle();
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box), designed_mark);
    EXPECT_FALSE(context->App_Settings.Full_Screen);
    EXPECT_EQ(window->centralWidget()->size(), QSize(780, 520));
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 780, 520));
    EXPECT_EQ(pages->geometry(), QRect(2, 2, 776, 452));
    EXPECT_EQ(Find<QWidget>("Panel_PortStatus")->geometry(), QRect(2, 490, 110, 28));
    EXPECT_EQ(panel->font().pointSizeF(), designed_font.pointSizeF());
}

TEST_F(Main_Form_Test, Full_Screen_Setting_Starts_Maximised_And_Scaled)
{
    Preset("Full_Screen", "True");
    Make();
    Show_Active();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_GT(window->Scale_Factor(), 0);
    EXPECT_NE(window->Scale_Factor(), 10000);
    // A bold mark takes the scaled size of its page once, not twice.
    const double scaled = Find<QWidget>("Panel_QuorelGAS")->font().pointSizeF();
    EXPECT_DOUBLE_EQ(Find<QLabel>("Label_GEN_Petrol_A")->font().pointSizeF(), scaled);
    EXPECT_TRUE(Find<QLabel>("Label_GEN_Petrol_A")->font().bold());
    EXPECT_DOUBLE_EQ(Find<QLabel>("Label_GEN_Power")->font().pointSizeF(), scaled);

    Press(Qt::Key_F);   // and back at the designed size the same as any caption
    Settle();
    ASSERT_EQ(window->Scale_Factor(), 10000);
    EXPECT_DOUBLE_EQ(Find<QLabel>("Label_GEN_Petrol_A")->font().pointSizeF(),
                     Find<QWidget>("Panel_QuorelGAS")->font().pointSizeF());
}

TEST_F(Main_Form_Test, H_Opens_The_Help_Document_Of_The_Tab)
{
    Make();
    Show_Active();
    context->App_Settings.Language = "Deutsch";
    Press(Qt::Key_F5);
    Press(Qt::Key_H, "h");
    Press(Qt::Key_F2);
    Press(Qt::Key_H, "h");
    EXPECT_EQ(opened, QStringList({dir.filePath("Help/F5-1_Deu.pdf"), dir.filePath("Help/F2_Deu.pdf")}));
    Press(Qt::Key_H, "h", Qt::AltModifier);
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(Main_Form_Test, Keys_Are_Ignored_While_A_Client_Text_Is_Edited)
{
    Make();
    Show_Active();
    Press(Qt::Key_F7);
    auto* edit = new QLineEdit(Pages()->widget(6));
    edit->setObjectName("Edit_CFG_Car_Num");
    edit->setGeometry(500, 300, 100, 24);
    edit->show();
    edit->setFocus();
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), edit);

    Press(Qt::Key_S, "s");
    Press(Qt::Key_F2);
    EXPECT_FALSE(QFile::exists(Ini_Path())) << "S saved the settings";
    EXPECT_EQ(Pages()->currentIndex(), 6);
    EXPECT_EQ(edit->text(), "s");

    // Away from the edit, S on the Settings tab saves.
    edit->clearFocus();
    window->setFocus();
    Settle();
    Press(Qt::Key_S, "s");
    EXPECT_TRUE(QFile::exists(Ini_Path()));
}

TEST_F(Main_Form_Test, Letter_Keys_Reach_The_Module_Entry_Points)
{
    Make();
    Show_Active();
    QStringList calls;
    window->Hot_Keys.CFG_Save = [&]() { calls << "CFG_Save"; };
    window->Hot_Keys.CFG_Receive = [&]() { calls << "CFG_Receive"; };
    window->Hot_Keys.CLB_Transmit = [&]() { calls << "CLB_Transmit"; };
    window->Hot_Keys.CLB_Move_Point = [&](int dx, int dy) { calls << QString("Move %1 %2").arg(dx).arg(dy); };
    window->Hot_Keys.CLB_Select_Point = [&](int n) { calls << QString("Point %1").arg(n); };
    window->Hot_Keys.OSC_StartStop = [&]() { calls << "OSC"; };
    window->Hot_Keys.Gas_Fors = [&](int i) { calls << QString("Gas %1").arg(i); };

    Press(Qt::Key_F2);
    Press(Qt::Key_S, "s");
    Press(Qt::Key_R, "r");
    Press(Qt::Key_F3);
    Press(Qt::Key_T, "t");
    Press(Qt::Key_Left);
    Press(Qt::Key_Up);
    Press(Qt::Key_7, "7");
    Press(Qt::Key_F4);
    Press(Qt::Key_S, "s");
    Press(Qt::Key_F1);
    Press(Qt::Key_R, "r");   // nothing on the General tab
    // Injector buttons are off while no ECU is connected; with eight
    // injectors all eight can be forced.
    Press(Qt::Key_Z, "z");
    context->Config_Data.Inject_Num = 8;
    context->Config_Changed();
    window->Enable_ECU_Controls(true);
    Press(Qt::Key_Z, "z");
    Press(Qt::Key_Comma, ",");
    EXPECT_EQ(calls, QStringList({"CFG_Save", "CFG_Receive", "CLB_Transmit", "Move -1 0", "Move 0 1", "Point 7", "OSC",
                                  "Gas 0", "Gas 7"}));
    EXPECT_TRUE(Find<QPushButton>("Button_Gas_Fors1")->isChecked());
    EXPECT_TRUE(Find<QPushButton>("Button_Gas_Fors8")->isChecked());
}

TEST_F(Main_Form_Test, Enable_ECU_Controls_Covers_Buttons_That_Exist)
{
    Make();
    // A control of another tab, by its name.
    auto* receive = Find<QPushButton>("Button_CFG_Receiv");
    ASSERT_NE(receive, nullptr);
    ASSERT_TRUE(Pages()->widget(1)->isAncestorOf(receive));
    window->Enable_ECU_Controls(true);
    EXPECT_TRUE(receive->isEnabled());
    EXPECT_TRUE(Find<QWidget>("Button_WorkMode")->isEnabled());
    // The link supervisor switches them off on a lost connection.
    context->Supervisor->Declare_Disconnected();
    EXPECT_FALSE(receive->isEnabled());
    for (const char* name : {"Button_Gas_Fors1", "Button_Gas_Fors4", "Button_Gas_Fors8", "Button_Gas_Fors_All",
                             "Button_WorkMode"})
        EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(Find<QWidget>("Button_Step_by_Step")->isEnabled());
}

TEST_F(Main_Form_Test, Diagram_Prefers_The_Language_Then_English_Then_Asks)
{
    Make();
    window->Program_Name = "KYT-4";
    QDir(dir.path()).mkdir("Language");
    dialog_answer = dir.filePath("Language/chosen.jpg");
    window->Button_About_DiagramClick();
    EXPECT_EQ(opened, QStringList({dialog_answer}));
    EXPECT_EQ(dialog_folder, dir.filePath("Language"));
    EXPECT_TRUE(dialog_filter.contains("(*.jpg)"));

    ASSERT_TRUE(Solid_Picture(Qt::red).save(dir.filePath("Language/KYT-4_Eng.jpg"), "JPG"));
    window->Button_About_DiagramClick();
    ASSERT_TRUE(Solid_Picture(Qt::red).save(dir.filePath("Language/KYT-4_Deu.jpg"), "JPG"));
    context->App_Settings.Language = "Deutsch";
    window->Button_About_DiagramClick();
    EXPECT_EQ(opened, QStringList({dialog_answer, dir.filePath("Language/KYT-4_Eng.jpg"),
                                   dir.filePath("Language/KYT-4_Deu.jpg")}));
}

TEST_F(Main_Form_Test, First_Serial_Action_Opens_A_Present_Port)
{
    Preset("Port_Name", Virtual_Name);
    Make();
    window->Start_Up();
    EXPECT_TRUE(port->Port_Is_Open());
    auto* panel = Find<QLabel>("Panel_PortStatus");
    EXPECT_EQ(panel->text(), Virtual_Name);
    EXPECT_EQ(panel->palette().color(QPalette::Window), Panel_Colours::Lime);
    EXPECT_EQ(panel->palette().color(QPalette::WindowText), Panel_Colours::Blue);
}

TEST_F(Main_Form_Test, First_Serial_Action_Leaves_An_Absent_Port_Closed)
{
    Preset("Port_Name", "ttyNOTHERE");
    Make();
    window->Start_Up();
    EXPECT_FALSE(port->Port_Is_Open());
    EXPECT_EQ(port->Open_Count(), 0);
    clock.Advance(1000);
    EXPECT_TRUE(port->Writes().empty());
}

TEST_F(Main_Form_Test, Setup_Port_Reopens_The_Chosen_Port)
{
    Make();
    window->Port_Setup = [](QWidget*, const QString& current) -> std::optional<QString> {
        EXPECT_EQ(current, "COM1");
        return Virtual_Name;
    };
    port->Set_Port_Error();
    Find<QPushButton>("Button_Setup_Port")->click();
    EXPECT_EQ(context->App_Settings.Port_Name, Virtual_Name);
    EXPECT_EQ(context->App_Settings.Preferred_Port, Virtual_Name);
    EXPECT_EQ(Find<QLineEdit>("Edit_Port_Name")->text(), Virtual_Name);
    EXPECT_TRUE(port->Port_Is_Open());
    EXPECT_FALSE(port->Port_Error());
    EXPECT_EQ(Find<QLabel>("Panel_PortStatus")->text(), Virtual_Name);
}

TEST_F(Main_Form_Test, Stay_On_Top_Follows_The_Settings_Check_Box)
{
    Make();
    auto* box = window->findChild<QAbstractButton*>("CheckBox_Form_Style");
    ASSERT_NE(box, nullptr);
    box->setChecked(true);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    box->setChecked(false);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
}

// ---------------------------------------------------------------- branding

class Branding_Test : public Main_Form_Test
{
protected:
    void Brand_Files(const QString& name)
    {
        ASSERT_TRUE(Solid_Picture(QColor(0xFF, 0, 0)).save(dir.filePath(name + ".jpg"), "JPG"));
        ASSERT_TRUE(Solid_Picture(QColor(0, 0xFF, 0), QSize(32, 32)).save(dir.filePath(name + ".ico"), "ICO"));
    }
    QLabel* Logo() const { return Find<QLabel>("Panel_LOGO"); }
    bool Logo_Shown() const { return Logo()->isVisibleTo(Find<QWidget>("Panel_QuorelGAS")); }
    QColor Logo_Centre() const
    {
        const QImage shown = Logo()->pixmap().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() / 2);
    }
};

TEST_F(Branding_Test, Ambrisol_Shows_The_Built_In_Logo_In_Any_Letter_Case)
{
    for (const QString name : {"AMBRISOL", "ambrisol"}) {
        SCOPED_TRACE(name.toStdString());
        settings_preset = {{"Full_Screen", "False"}};
        Brand_Files(name);
        Make(name);
        const qint64 icon_key = window->windowIcon().cacheKey();
        window->Start_Up();
        ASSERT_TRUE(Logo_Shown());
        EXPECT_EQ(Logo()->size(), QSize(21, 21));
        const QRect page = Pages()->geometry();
        EXPECT_EQ(Logo()->geometry().right(), page.right() - 1);
        EXPECT_EQ(Logo()->y(), page.top() + 2);
        // The emblem is blue, the brand picture on disk red; the icon stays.
        const QColor centre = Logo_Centre();
        EXPECT_GT(centre.blue(), centre.red());
        EXPECT_EQ(window->windowIcon().cacheKey(), icon_key);
        window.reset();
        context.reset();
    }
}

TEST_F(Branding_Test, Other_Names_Show_Their_Own_Picture_And_Icon)
{
    Preset("Full_Screen", "False");
    Preset("Logo_Width", "40");
    Preset("Logo_Height", "25");
    Preset("Logo_Top", "3");
    Brand_Files("GasPro");
    Make("GasPro");
    window->Start_Up();
    ASSERT_TRUE(Logo_Shown());
    EXPECT_EQ(Logo()->size(), QSize(40, 25));
    const QRect page = Pages()->geometry();
    EXPECT_EQ(Logo()->geometry().right(), page.right() - 1);
    EXPECT_EQ(Logo()->y(), page.top() + 3);
    const QColor centre = Logo_Centre();
    EXPECT_GT(centre.red(), 200);
    EXPECT_LT(centre.blue(), 60);
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_FALSE(window->windowIcon().availableSizes().isEmpty());
}

TEST_F(Branding_Test, Other_Names_Without_A_Picture_Hide_The_Logo)
{
    Make("GasPro");
    window->Start_Up();
    EXPECT_FALSE(Logo_Shown());
    // A corrupt picture counts as none.
    QFile broken(dir.filePath("GasPro.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xFF\xD8\xFF\xE0 broken");
    broken.close();
    window->Apply_Branding();
    EXPECT_FALSE(Logo_Shown());
}

namespace {

TEST_F(Main_Form_Test, Creation_Starts_The_Configuration_With_Its_Fixed_Values)
{
    Make();
    const Configuration_Class& config = context->Config_Data;
    EXPECT_EQ(config.Inject_Num, 4);
    EXPECT_EQ(config.MAP_OffSet, 500);
    EXPECT_EQ(config.GF_ETALON, 1288);
}

} // namespace

namespace {

TEST_F(Main_Form_Test, Read_And_Write_Keys_Post_Their_Requests_While_Connected)
{
    struct Case
    {
        int tab;
        int key;
        bool save_load;
        int expected;
    };
    const Case cases[] = {
        {1, Qt::Key_R, true, 3}, {1, Qt::Key_T, true, 2}, {2, Qt::Key_R, true, 3},
        {2, Qt::Key_R, false, 5}, {2, Qt::Key_T, false, 4},
    };
    Make();
    Show_Active();
    for (const Case& c : cases) {
        Pages()->setCurrentIndex(c.tab);
        context->App_Settings.Save_Load_Data = c.save_load;
        context->ECU_Connected = false;
        context->Pending_Request = 0;
        Press(c.key, QKeySequence(c.key).toString().toLower());
        EXPECT_EQ(context->Pending_Request, 0) << "nothing is posted without an ECU";
        context->ECU_Connected = true;
        Press(c.key, QKeySequence(c.key).toString().toLower());
        EXPECT_EQ(context->Pending_Request, c.expected) << "tab " << c.tab << " key " << c.key;
    }
}

TEST_F(Main_Form_Test, D_Restores_The_Configuration_And_Map_Defaults)
{
    Make();
    Show_Active();
    const Calibration_Map fresh;
    context->Calibration.Factor[3] = 1;
    Pages()->setCurrentIndex(2);
    Press(Qt::Key_D, "d");
    EXPECT_EQ(context->Calibration.Factor, fresh.Factor);

    Configuration_Class defaults = context->Config_Data;
    Set_Config_Defaults(defaults, false, context->App_Settings.Name_Block_PIC);
    context->Config_Data.RPM_Filter = defaults.RPM_Filter + 7;
    context->Config_Data.RPM_Sensitiv = defaults.RPM_Sensitiv + 10;
    Pages()->setCurrentIndex(1);
    Press(Qt::Key_D, "d");
    EXPECT_EQ(context->Config_Data.RPM_Filter, defaults.RPM_Filter);
    EXPECT_EQ(context->Config_Data.RPM_Sensitiv, defaults.RPM_Sensitiv);
}

} // namespace

namespace {

TEST_F(Main_Form_Test, S_On_The_Configuration_Tab_Saves_The_Current_File)
{
    Make();
    Show_Active();
    context->App_Settings.CFG_File_Path = dir.filePath("Config");
    context->App_Settings.CFG_File_Name = "AB123.cfg";
    QDir().mkpath(dir.filePath("Config"));
    Pages()->setCurrentIndex(1);
    Press(Qt::Key_S, "s");
    Ini_File saved;
    ASSERT_TRUE(saved.Ini_Load(dir.filePath("Config/AB123.cfg")));
    EXPECT_EQ(saved.Ini_Read_Int("Inject_Num"), context->Config_Data.Inject_Num);
}

TEST_F(Main_Form_Test, S_Without_A_Car_Number_Asks_For_The_File_Name)
{
    const QString folder = dir.filePath("Config");
    QDir().mkpath(folder);
    Make();
    Show_Active();
    context->App_Settings.CFG_File_Path = folder;
    context->App_Settings.CFG_File_Name.clear();   // the ECU holds no car number
    int asked = 0;
    std::optional<QString> answer;
    window->CFG_Dialogs.Choose_File = [&](QWidget*, const QString&, const QString&, bool save) {
        EXPECT_TRUE(save);
        ++asked;
        return answer;
    };
    Pages()->setCurrentIndex(1);
    Press(Qt::Key_S, "s");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "cancelled: nothing saved";

    answer = folder + "/NEWCAR.cfg";
    Press(Qt::Key_S, "s");
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(QFile::exists(folder + "/NEWCAR.cfg"));
    EXPECT_EQ(context->App_Settings.CFG_File_Name, "NEWCAR.cfg");
}

TEST_F(Main_Form_Test, L_On_The_Configuration_Tab_Loads_The_Chosen_File)
{
    const QString folder = dir.filePath("Config");
    QDir().mkpath(folder);
    Preset("CFG_File_Path", folder);
    Preset("CFG_File_Name", "AB123.cfg");
    Make();
    Show_Active();
    {
        QFile file(folder + "/XY9.cfg");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("PG_Delay 42 {}\r\nUser_Name Jones {}\r\n");
    }
    QString proposed_folder;
    window->CFG_Dialogs.Choose_File = [&](QWidget*, const QString& in, const QString&, bool save) {
        EXPECT_FALSE(save);
        proposed_folder = in;
        return std::optional<QString>(in + "/XY9.cfg");
    };
    Pages()->setCurrentIndex(1);
    Press(Qt::Key_L, "l");
    EXPECT_EQ(proposed_folder, folder);
    EXPECT_EQ(context->Config_Data.PG_Delay, 42);
    EXPECT_EQ(context->Config_Data.User_Name, "Jones");
    EXPECT_EQ(context->App_Settings.CFG_File_Name, "XY9.cfg") << "the chosen file becomes current";

    // cancelled: nothing changes
    window->CFG_Dialogs.Choose_File = [](QWidget*, const QString&, const QString&, bool) {
        return std::optional<QString>();
    };
    context->Config_Data.PG_Delay = 7;
    Press(Qt::Key_L, "l");
    EXPECT_EQ(context->Config_Data.PG_Delay, 7);
}

TEST_F(Main_Form_Test, Start_Up_Loads_The_Last_File_Then_Sets_The_Fixed_Values)
{
    const QString folder = dir.filePath("Config");
    QDir().mkpath(folder);
    {
        QFile file(folder + "/LAST.cfg");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("PG_Delay 17 {}\r\nInject_Num 6 {}\r\nMAP_OffSet 77 {}\r\nCar_Model Polo {}\r\n");
    }
    Preset("CFG_File_Path", folder);
    Preset("CFG_File_Name", "LAST.cfg");
    Make();
    EXPECT_EQ(context->Config_Data.PG_Delay, 17);
    EXPECT_EQ(context->Config_Data.Car_Model, "Polo");
    EXPECT_EQ(context->Config_Data.Inject_Num, 4);
    EXPECT_EQ(context->Config_Data.MAP_OffSet, 500);
}

} // namespace
