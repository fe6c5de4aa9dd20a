#include "app/Quorel_Clock.h"
#include "app/Quorel_Context.h"
#include "app/Quorel_Main_Form.h"
#include "config/Quorel_CFG_Editor_Form.h"
#include "config/Quorel_Config_Defaults.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Serial_Virtual.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using C = Configuration_Class;

class CFG_Editor_Form_Test : public ::testing::Test
{
protected:
    CFG_Editor_Form_Test()
    {
        context = std::make_unique<Quorel_Context>(clock, std::make_unique<Virtual_Serial_Port>(clock), dir.path(),
                                                   QStringLiteral("QuorelGAS"));
        window = std::make_unique<TForm_QuorelGAS>(*context);
        form = window->findChild<Configuration_Tab_Form*>();
    }

    template <class T = QWidget> T* Find(const char* name) const
    {
        T* widget = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // The record as an identified ECU of this version delivers it.
    void Receive_Version(int version)
    {
        C& config = context->Config_Data;
        config.Version_Number = version;
        context->Config_Changed();
    }

    void Type(QAbstractSpinBox* spin, const QString& text)
    {
        QLineEdit* line = spin->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        line->setText(text);
        spin->interpretText();
    }

    QTemporaryDir dir;
    Virtual_Clock clock;
    std::unique_ptr<Quorel_Context> context;
    std::unique_ptr<TForm_QuorelGAS> window;
    Configuration_Tab_Form* form = nullptr;
};

TEST_F(CFG_Editor_Form_Test, LivesOnTheConfigurationPage)
{
    ASSERT_NE(form, nullptr);
    QWidget* page = Find("TabSheet_Configuration");
    for (const char* name : {"Button_CFG_Transmitt", "Button_CFG_Receiv", "Button_CFG_Save", "Button_CFG_Load",
                             "Button_CFG_Default", "UpDown_CFG_Inject_Num", "Edit_CFG_Car_Num", "Memo_CFG_Comments",
                             "Edit_CFG_User_Find", "Button_CFG_ST_Set", "ComboBox_CFG_RPM_Divider",
                             "RadioButton_CFG_MonoInjection", "TrackBar_CFG_Level5", "Panel_CFG_Options"})
        EXPECT_TRUE(page->isAncestorOf(Find(name))) << name;
    EXPECT_EQ(Find<QPushButton>("Button_CFG_Transmitt")->text(), "Transmit");
    EXPECT_EQ(Find<QPushButton>("Button_CFG_Receiv")->text(), "Receive");
    EXPECT_EQ(Find<QListWidget>("ListBox_CFG_Options")->count(), 16);
    EXPECT_EQ(Find<QListWidget>("ListBox_CFG_Options")->item(3)->text(), "Gas/Petrol/Gas");
}

TEST_F(CFG_Editor_Form_Test, ButtonsRunTheHotKeyActions)
{
    int saved = 0, loaded = 0;
    window->Hot_Keys.CFG_Save = [&saved]() { ++saved; };
    window->Hot_Keys.CFG_Load = [&loaded]() { ++loaded; };
    Find<QPushButton>("Button_CFG_Save")->click();
    Find<QPushButton>("Button_CFG_Load")->click();
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(loaded, 1);
}

TEST_F(CFG_Editor_Form_Test, OptionRowShowsOneGroup)
{
    QWidget* page = Find("TabSheet_Configuration");
    form->Select_Option(0);
    EXPECT_TRUE(Find("GroupBox_CFG_RPM_Source")->isVisibleTo(page));
    form->Option_Scroll(+1);
    EXPECT_EQ(form->Selected_Option(), 1);
    EXPECT_FALSE(Find("GroupBox_CFG_RPM_Source")->isVisibleTo(page));
    EXPECT_TRUE(Find("GroupBox_CFG_Switch_PG")->isVisibleTo(page));
    EXPECT_FALSE(Find("Button_CFG_User_Find")->isVisibleTo(page));
    form->Select_Option(10);
    EXPECT_TRUE(Find("Panel_CFG_Factors")->isVisibleTo(page));
    EXPECT_EQ(Find<QLabel>("Label_CFG_Factors")->text(), "0.01 .. 1.99");
    form->Select_Option(11);
    EXPECT_EQ(Find<QLabel>("Label_CFG_Factors")->text(), "0 .. 2.55");
    form->Select_Option(13);
    EXPECT_TRUE(Find("GroupBox_CFG_Service_Time")->isVisibleTo(page));
    EXPECT_TRUE(Find("Button_CFG_User_Find")->isVisibleTo(page));
    form->Option_Scroll(+5);
    EXPECT_EQ(form->Selected_Option(), 15) << "the list ends at its last row";
    EXPECT_TRUE(Find("Memo_CFG_Comments")->isVisibleTo(page));
}

TEST_F(CFG_Editor_Form_Test, VersionDependentLayout)
{
    struct Case
    {
        int version;
        const char* init_label;
        bool hydr, delay, two_fuel;
        const char* temperature_label;
        int temperature_min, temperature_max, inject_max;
    };
    const Case cases[] = {
        {414, "Label_CFG_GP_PressInit", false, false, false, "Label_CFG_GPG_2Fuel_Temp", 30, 120, 4},
        {415, "Label_CFG_GP_PressRestart", false, false, false, "Label_CFG_GPG_2Fuel_Temp", 30, 120, 4},
        {416, "Label_CFG_GP_PressRestart", true, true, false, "Label_CFG_GPG_2Fuel_Temp", 30, 120, 4},
        {417, "Label_CFG_GP_PressRestart", true, true, true, "Label_CFG_GPG_2Fuel_Temp", 30, 120, 4},
        {419, "Label_CFG_GP_PressRestart", true, true, true, "Label_CFG_GPG_2Fuel_Delay", 0, 255, 4},
        {617, "Label_CFG_GP_PressRestart", true, true, true, "Label_CFG_GPG_2Fuel_Temp", 30, 120, 6},
        {819, "Label_CFG_GP_PressRestart", true, true, true, "Label_CFG_GPG_2Fuel_Delay", 0, 255, 8},
    };
    for (const Case& c : cases) {
        C& config = context->Config_Data;
        Set_Config_Defaults(config, false, context->App_Settings.Name_Block_PIC);
        config.Pump_Dry_Test_ON = true;
        config.Pump_Hydr_Cond_ON = true;
        config.Inject_Delay_ON = true;
        config.GPG_2Fuel_ON = true;
        config.GPG_2Fuel_Temp = 70;
        config.GPG_2Fuel_Delay = 200;
        config.GP_PressInit = 120;
        Receive_Version(c.version);

        EXPECT_EQ(Find<QLabel>("Label_CFG_GP_PressInit")->text(), Text(QLatin1String(c.init_label))) << c.version;
        EXPECT_EQ(config.GP_PressInit, c.version % 100 >= 15 ? 50 : 120) << c.version;
        EXPECT_EQ(Find("CheckBox_CFG_Pump_Hydr_Cond_ON")->isEnabled(), c.hydr) << c.version;
        EXPECT_EQ(Find<QCheckBox>("CheckBox_CFG_Pump_Hydr_Cond_ON")->isChecked(), c.hydr) << c.version;
        EXPECT_EQ(config.Pump_Hydr_Cond_ON, c.hydr) << c.version;
        EXPECT_EQ(Find("CheckBox_CFG_Inject_Delay_ON")->isEnabled(), c.delay) << c.version;
        EXPECT_EQ(config.Inject_Delay_ON, c.delay) << c.version;
        EXPECT_EQ(Find("CheckBox_CFG_GPG_2Fuel_ON")->isEnabled(), c.two_fuel) << c.version;
        EXPECT_EQ(config.GPG_2Fuel_ON, c.two_fuel) << c.version;
        EXPECT_EQ(Find("UpDown_CFG_GPG_2Fuel_Period")->isEnabled(), c.two_fuel) << c.version;
        EXPECT_EQ(Find<QLabel>("Label_CFG_GPG_2Fuel_Temp")->text(), Text(QLatin1String(c.temperature_label)))
            << c.version;
        auto* temperature = Find<QSpinBox>("UpDown_CFG_GPG_2Fuel_Temp");
        EXPECT_EQ(temperature->minimum(), c.temperature_min) << c.version;
        EXPECT_EQ(temperature->maximum(), c.temperature_max) << c.version;
        EXPECT_EQ(temperature->value(), c.temperature_max == 255 ? 200 : 70) << c.version;
        EXPECT_EQ(Find<QSpinBox>("UpDown_CFG_Inject_Num")->maximum(), c.inject_max) << c.version;
    }
}

TEST_F(CFG_Editor_Form_Test, ImmediateTransmissionLocksTheOtherCodes)
{
    context->ECU_Connected = true;
    context->App_Settings.Transmit_Now = true;
    Receive_Version(419);
    auto* inject = Find<QSpinBox>("UpDown_CFG_PG_PressInject");
    auto* less = Find("UpDown_CFG_GP_PressLess");
    context->Config_Data.GP_PressLess_ON = true;
    context->Config_Changed();
    ASSERT_TRUE(less->isEnabled());

    for (int i = 0; i < 3; ++i) {
        inject->stepBy(1);
        clock.Advance(200);
    }
    EXPECT_EQ(context->Config_Data.PG_PressInject, 330);
    EXPECT_TRUE(inject->isEnabled());
    EXPECT_FALSE(less->isEnabled()) << "only the changed parameter stays editable";
    EXPECT_TRUE(Find("Edit_CFG_Car_Model")->isEnabled() == !Find<QLineEdit>("Edit_CFG_Car_Num")->text().isEmpty());

    clock.Advance(500);
    EXPECT_EQ(context->Pending_Request, 'H');
    EXPECT_FALSE(inject->isEnabled()) << "its own controls are locked while it is sent";
    context->Pending_Request = 0;
    clock.Advance(1000);
    EXPECT_TRUE(inject->isEnabled());
    EXPECT_TRUE(less->isEnabled());
    EXPECT_EQ(context->Pending_Request, 0);
}

TEST_F(CFG_Editor_Form_Test, ShowStepSendsNothing)
{
    context->ECU_Connected = true;
    context->App_Settings.Transmit_Now = true;
    context->Config_Data.PG_RPM = 1200;
    Receive_Version(419);
    clock.Advance(3000);
    EXPECT_EQ(context->Pending_Request, 0);
    EXPECT_EQ(Find<QSpinBox>("UpDown_CFG_PG_RPM")->value(), 1200);
}

TEST_F(CFG_Editor_Form_Test, TypedValuesAreClampedAndShown)
{
    Receive_Version(419);
    struct Case
    {
        const char* name;
        const char* typed;
        int C::*member;
        int stored;
        const char* shown;
    };
    const Case cases[] = {
        {"UpDown_CFG_GP_PressMore", "40", &C::GP_PressMore, 30, "30"},
        {"UpDown_CFG_RPM_Sensitiv", "0.02", &C::RPM_Sensitiv, 10, "0.1"},
        {"UpDown_CFG_RPM_Sensitiv", "2.5", &C::RPM_Sensitiv, 250, "2.5"},
        {"UpDown_CFG_PG_PressInject", "99", &C::PG_PressInject, 1500, "15"},
        {"UpDown_CFG_GP_PressLess", "1.5", &C::GP_PressLess, 150, "1.5"},
        {"UpDown_CFG_MAP_Sensor_C2", "-0.807", &C::MAP_Sensor_C2, 807, "-0.807"},
    };
    for (const Case& c : cases) {
        auto* spin = Find<CFG_Spin_Box>(c.name);
        Type(spin, QLatin1String(c.typed));
        EXPECT_EQ(context->Config_Data.*c.member, c.stored) << c.name << " " << c.typed;
        EXPECT_EQ(spin->text(), QLatin1String(c.shown)) << c.name << " " << c.typed;
        EXPECT_EQ(spin->accessibleName(), spin->text()) << c.name;
    }
    // The full show uses fixed decimals again.
    context->Config_Changed();
    EXPECT_EQ(Find<QSpinBox>("UpDown_CFG_RPM_Sensitiv")->text(), "2.50");
    EXPECT_EQ(Find<QSpinBox>("UpDown_CFG_PG_PressInject")->text(), "15.0");
}

TEST_F(CFG_Editor_Form_Test, ThresholdStepsByTenThenFifty)
{
    Receive_Version(419);
    auto* spin = Find<QSpinBox>("UpDown_CFG_RPM_Sensitiv");
    context->Config_Data.RPM_Sensitiv = 290;
    context->Config_Changed();
    spin->stepBy(1);
    EXPECT_EQ(context->Config_Data.RPM_Sensitiv, 300);
    spin->stepBy(1);
    EXPECT_EQ(context->Config_Data.RPM_Sensitiv, 350);
    spin->stepBy(-1);
    spin->stepBy(-1);
    EXPECT_EQ(context->Config_Data.RPM_Sensitiv, 290);
}

TEST_F(CFG_Editor_Form_Test, InjectorNumberSkipsSeven)
{
    context->Config_Data.Inject_Num = 6;
    Receive_Version(819);
    auto* spin = Find<QSpinBox>("UpDown_CFG_Inject_Num");
    spin->stepBy(1);
    EXPECT_EQ(context->Config_Data.Inject_Num, 8);
    spin->stepBy(-1);
    EXPECT_EQ(context->Config_Data.Inject_Num, 6);
    Type(spin, QStringLiteral("7"));
    EXPECT_EQ(context->Config_Data.Inject_Num, 8) << "typed 7 coming from 6";
}

TEST_F(CFG_Editor_Form_Test, ListTextThatIsNoEntryShowsTheStoredOne)
{
    Receive_Version(419);
    auto* combo = Find<QComboBox>("ComboBox_CFG_RPM_Divider");
    context->Config_Data.RPM_Divider = "1:2";
    context->Config_Changed();
    combo->lineEdit()->setText(QStringLiteral("1:9"));
    Q_EMIT combo->lineEdit()->editingFinished();
    EXPECT_EQ(combo->currentText(), "1:2");
    EXPECT_EQ(context->Config_Data.RPM_Divider, "1:2");
    combo->lineEdit()->setText(QStringLiteral("1:4"));
    Q_EMIT combo->lineEdit()->editingFinished();
    EXPECT_EQ(context->Config_Data.RPM_Divider, "1:4");
}

TEST_F(CFG_Editor_Form_Test, SoftwareLevelSetUpUntilTheEcuWorks)
{
    Receive_Version(419);
    auto* type = Find<QComboBox>("ComboBox_CFG_Level_Type");
    auto* mode = Find<QLabel>("Label_CFG_Level_Mode");
    auto* volts1 = Find<QLabel>("Label_CFG_Level1_Volt");
    const int software = type->findText(QStringLiteral("SOFTWARE"));
    ASSERT_GE(software, 0);
    type->setCurrentIndex(software);
    Q_EMIT type->activated(software);
    EXPECT_EQ(mode->text(), Text("Mode_Level_Set"));
    EXPECT_EQ(mode->accessibleName(), mode->text());
    EXPECT_EQ(volts1->text(), QLocale::system().toString(context->Config_Data.Level1 * 5.0 / 1023.0, 'f', 2));

    form->Show_Level_Mode(16, Text("Mode_Level_Wait"), Text("Level_Mode_Wait_Hint"));
    EXPECT_EQ(mode->text(), Text("Mode_Level_Wait"));
    EXPECT_EQ(volts1->text(), QLocale::system().toString(context->Config_Data.Level1 * 5.0 / 1023.0, 'f', 2));

    Find<QSpinBox>("UpDown_CFG_Level_Etalon")->setValue(111);
    EXPECT_EQ(Level_Reference_Of(context->Config_Data.GF_ETALON), 111);
    form->Show_Level_Mode(128, Text("Mode_Level_Work"), Text("Level_Mode_Work_Hint"));
    const char* expected[5] = {"9.25", "7.40", "5.55", "3.70", "1.85"};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(Find<QLabel>(("Label_CFG_Level" + QByteArray::number(k + 1) + "_Volt").constData())->text(),
                  QLocale::system().toString(QLocale::c().toDouble(QLatin1String(expected[k])), 'f', 2))
            << k;
    context->Config_Changed();
    EXPECT_EQ(mode->text(), Text("Mode_Level_Work")) << "a new show keeps the reported mode";
    EXPECT_EQ(volts1->text(), QLocale::system().toString(9.25, 'f', 2));

    type->setCurrentIndex(0);
    Q_EMIT type->activated(0);
    EXPECT_EQ(mode->text(), QString()) << "other sensor types have no mode";
    EXPECT_EQ(volts1->text(), QLocale::system().toString(context->Config_Data.Level1 * 5.0 / 1023.0, 'f', 2));
}

TEST_F(CFG_Editor_Form_Test, InjectorTypeAnotherShowsItsHoldPwm)
{
    Receive_Version(419);
    auto* type = Find<QComboBox>("ComboBox_CFG_Inject_Type");
    auto* period = Find<QSpinBox>("UpDown_CFG_Inject_Period");
    EXPECT_EQ(period->text(), "0") << "no hold PWM: frequency 0";
    EXPECT_FALSE(period->isEnabled());
    type->setCurrentIndex(1);
    Q_EMIT type->activated(1);
    EXPECT_EQ(context->Config_Data.Inject_Period, 800);
    EXPECT_EQ(period->text(), "20");
    EXPECT_EQ(Find<QSpinBox>("UpDown_CFG_Inject_Duty")->value(), 30);
    EXPECT_TRUE(period->isEnabled());
    EXPECT_EQ(Find<QLabel>("Label_CFG_Car_Injectors")->text(), Text("Label_CFG_Car_Injectors") + " : ANOTHER");
    Type(period, QStringLiteral("16"));
    EXPECT_EQ(context->Config_Data.Inject_Period, 1000);
    EXPECT_EQ(context->Config_Data.Inject_Duty, 300) << "the duty percentage is kept";
}

TEST_F(CFG_Editor_Form_Test, CarNumberBoxNamesTheFile)
{
    window->show();
    QApplication::setActiveWindow(window.get());
    Find<QTabWidget>("PageControl_QuorelGAS")->setCurrentIndex(1);
    form->Select_Option(13);
    auto* box = Find<QLineEdit>("Edit_CFG_Car_Num");
    box->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), box);
    box->selectAll();
    QKeyEvent clear(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(box, &clear);
    ASSERT_TRUE(box->text().isEmpty());
    for (QChar c : QStringLiteral("ABCDEFGHI")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (c.unicode() - 'A'), Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
    EXPECT_EQ(box->text(), "ABCDEFGH") << "the ninth character is removed";
    EXPECT_EQ(context->App_Settings.CFG_File_Name, "ABCDEFGH.cfg");
    EXPECT_EQ(Find<QLabel>("Label_CFG_File_Status")->text(), "File : new");
    EXPECT_EQ(Find<QLabel>("Label_CFG_File_Status")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(Find("Edit_CFG_Owner_Name")->isEnabled());
    box->selectAll();
    QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(box, &erase);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_FALSE(Find("Edit_CFG_Owner_Name")->isEnabled());
    EXPECT_TRUE(Find("Label_CFG_File_Status")->isHidden());
}

TEST_F(CFG_Editor_Form_Test, ServiceTimeSpeedZeroKeepsTheInterval)
{
    context->Config_Data.ST_Set = 100;
    context->Config_Data.ST_Speed = 0;
    Receive_Version(419);
    Type(Find<QSpinBox>("UpDown_CFG_ST_Mileage"), QStringLiteral("5000"));
    EXPECT_EQ(context->Config_Data.ST_Set, 100);
    Type(Find<QSpinBox>("UpDown_CFG_ST_Speed"), QStringLiteral("50"));
    EXPECT_EQ(context->Config_Data.ST_Set, 100);
    EXPECT_EQ(Find<QSpinBox>("UpDown_CFG_ST_Set")->value(), 100);
}

TEST_F(CFG_Editor_Form_Test, PressurePreviewFollowsTheCoefficients)
{
    Receive_Version(419);
    context->Live_Data.Press_Volt = 300;
    auto* pressure = Find<QLineEdit>("Edit_CFG_Press_Bar");
    form->Show_Live();
    EXPECT_EQ(pressure->text(), QLocale::system().toString(
                                    (300 * context->Config_Data.MAP_Sensor_C1 - context->Config_Data.MAP_Sensor_C2 * 100) /
                                        1000 / 100.0,
                                    'f', 2))
        << "the live output with the stored coefficients";
    Type(Find<QSpinBox>("UpDown_CFG_MAP_Sensor_C1"), QStringLiteral("5"));
    EXPECT_EQ(pressure->text(),
              QLocale::system().toString((300 * 5000 - context->Config_Data.MAP_Sensor_C2 * 100) / 1000 / 100.0, 'f', 2));
    EXPECT_EQ(pressure->accessibleName(), pressure->text());
    Type(Find<QSpinBox>("UpDown_CFG_MAP_Sensor_C2"), QStringLiteral("-0.5"));
    EXPECT_EQ(pressure->text(), QLocale::system().toString((300 * 5000 - 500 * 100) / 1000 / 100.0, 'f', 2));
}

TEST_F(CFG_Editor_Form_Test, CaptionsFitAtDesignedSize)
{
    QWidget* page = Find("TabSheet_Configuration");
    QWidget* area = Find("Panel_CFG_Options");
    // Some captions follow the firmware version.
    for (int version : {0, 415, 416, 417, 419}) {
        Receive_Version(version);
        for (QLabel* label : page->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->wordWrap())
                continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << version << " " << label->objectName().toStdString();
            EXPECT_FALSE(label->text().startsWith("Label_")) << "no text for " << label->objectName().toStdString();
        }
    }
    for (QPushButton* button : page->findChildren<QPushButton*>()) {
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width())
            << button->objectName().toStdString();
        EXPECT_FALSE(button->text().startsWith("Button_")) << button->objectName().toStdString();
    }
    for (QGroupBox* group : page->findChildren<QGroupBox*>()) {
        QRect in_area(group->mapTo(area, QPoint(0, 0)), group->size());
        EXPECT_TRUE(area->rect().contains(in_area)) << group->objectName().toStdString() << " "
                                                    << in_area.width() << "x" << in_area.height();
        EXPECT_FALSE(group->title().startsWith("GroupBox_")) << group->objectName().toStdString();
    }
}

TEST_F(CFG_Editor_Form_Test, HoveringShowsTheHintAndHighlightsTheLabel)
{
    QWidget* spin = Find("UpDown_CFG_PG_RPM");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(spin, &enter);
    EXPECT_EQ(Find<QLabel>("Label_CFG_Help")->text(), Text("PG_RPM_Hint"));
    auto* label = Find<QLabel>("Label_CFG_PG_RPM");
    const QColor normal = Find<QLabel>("Label_CFG_PG_Delay")->palette().color(QPalette::WindowText);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    // The window scaling gives the highlighted label its font like any other.
    QFont scaled = label->font();
    scaled.setPointSize(scaled.pointSize() * 2);
    label->setFont(scaled);
    label->ensurePolished();
    EXPECT_EQ(label->font().pointSize(), scaled.pointSize());
    QApplication::sendEvent(Find("UpDown_CFG_PG_Delay"), &enter);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), normal);
    EXPECT_EQ(label->font().pointSize(), scaled.pointSize());
    EXPECT_EQ(Find<QLabel>("Label_CFG_PG_Delay")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

}   // namespace

namespace {

class CFG_Editor_Keys_Test : public CFG_Editor_Form_Test
{
protected:
    void Show_Tab(int option_row)
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        Find<QTabWidget>("PageControl_QuorelGAS")->setCurrentIndex(1);
        form->Select_Option(option_row);
        QApplication::processEvents();
    }

    void Key(QWidget* target, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }
};

TEST_F(CFG_Editor_Keys_Test, UpAndDownScrollTheOptionList)
{
    Show_Tab(2);
    window->setFocus();
    Key(window.get(), Qt::Key_Down);
    EXPECT_EQ(form->Selected_Option(), 3);
    Key(window.get(), Qt::Key_Up);
    Key(window.get(), Qt::Key_Up);
    EXPECT_EQ(form->Selected_Option(), 1);
    EXPECT_EQ(Find<QListWidget>("ListBox_CFG_Options")->currentRow(), 1);
}

TEST_F(CFG_Editor_Keys_Test, KeysTypedIntoTheCarNumberAreNoHotKeys)
{
    int saved = 0;
    window->Hot_Keys.CFG_Save = [&saved]() { ++saved; };
    Show_Tab(13);
    auto* box = Find<QLineEdit>("Edit_CFG_Car_Num");
    box->clear();
    box->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), box);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, QStringLiteral("S"));
    QApplication::sendEvent(box, &press);
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(box->text(), "S");
    window->setFocus();
    QApplication::processEvents();
    Key(window.get(), Qt::Key_S);
    EXPECT_EQ(saved, 1) << "the same key saves on the tab itself";
}

TEST_F(CFG_Editor_Keys_Test, ReturnAndArrowsMoveThroughTheCarBoxes)
{
    Show_Tab(13);
    Find<QLineEdit>("Edit_CFG_Car_Num")->setText("AB1");
    Q_EMIT Find<QLineEdit>("Edit_CFG_Car_Num")->textEdited("AB1");
    auto* model = Find<QLineEdit>("Edit_CFG_Car_Model");
    model->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), model);
    Key(model, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Find("Edit_CFG_Car_Engine"));
    Key(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), Find("Edit_CFG_Car_Date_Mounting_set"));
    Key(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), Find("Edit_CFG_Car_Engine"));
    EXPECT_EQ(form->Selected_Option(), 13) << "the option list stays while a car box has the focus";
}

}   // namespace
