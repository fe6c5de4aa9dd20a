#include "settings/Quorel_Settings.h"
#include "settings/Quorel_Settings_Form.h"

#include "Test_Print.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QColor Light_Red(0xFF, 0xAF, 0xB0);

class Settings_Tab : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    Settings_Class settings{dir.path(), "QuorelGAS"};
    QWidget page;
    std::unique_ptr<Settings_Tab_Form> form;

    void SetUp() override
    {
        page.setObjectName("TabSheet_Settings");
        page.resize(780, 430);
        settings.Settings_Create();
        form = std::make_unique<Settings_Tab_Form>(&page, settings);
    }
    void TearDown() override { form.reset(); }

    template <typename T> T* Control(const char* name)
    {
        T* control = page.findChild<T*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void Click_Label(QLabel* label)
    {
        const QPointF inside(3, 3);
        QMouseEvent press(QEvent::MouseButtonPress, inside, label->mapToGlobal(inside), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, inside, label->mapToGlobal(inside), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &press);
        QApplication::sendEvent(label, &release);
    }
    void Write_File(const QByteArray& text) const
    {
        QFile file(settings.File_Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
};

TEST_F(Settings_Tab, EveryControlExistsByNameInsideThePage)
{
    const QStringList names{"Edit_Port_Name",        "Button_Setup_Port",      "CheckBox_Search_Port",
                            "Label_Search_Port",     "Edit_Reply_Delay",       "Edit_INI_Delay_Compensation",
                            "CheckBox_SaveLoadData", "Label_SaveLoadData",     "CheckBox_Transmit_Now",
                            "Label_Transmit_Now",    "CheckBox_Form_Style",    "Label_Form_Style",
                            "CheckBox_Show_Hint",    "Label_Show_Hint",        "CheckBox_checkPassword",
                            "Label_checkPassword",   "ComboBox_Language",      "CheckBox_English_Menu",
                            "Label_English_Menu",    "Button_Setup_Font",      "Button_INI_Default",
                            "Button_INI_Load",       "Button_INI_Save"};
    for (const QString& name : names) {
        QWidget* control = page.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->parentWidget(), &page) << name.toStdString();
        EXPECT_TRUE(page.rect().contains(control->geometry())) << name.toStdString();
    }
    // The spin box is edit and up-down in one.
    for (QWidget* child : page.findChildren<QWidget*>())
        EXPECT_FALSE(child->objectName().startsWith("UpDown_")) << child->objectName().toStdString();

    EXPECT_EQ(Control<QPushButton>("Button_Setup_Port")->text(), "Setup Port");
    EXPECT_EQ(Control<QLabel>("Label_Search_Port")->text(), "Auto Search");
    EXPECT_EQ(Control<QLabel>("Label_SaveLoadData")->text(), "Save/Load now CFG and CLB information");
    EXPECT_EQ(Control<QLabel>("Label_Transmit_Now")->text(), "Transmit Now After Change");
    EXPECT_EQ(Control<QLabel>("Label_Form_Style")->text(), "Stay On Top");
    EXPECT_EQ(Control<QLabel>("Label_checkPassword")->text(), "Check password");
    EXPECT_EQ(Control<QPushButton>("Button_INI_Default")->text(), "&Default");
    EXPECT_EQ(Control<QPushButton>("Button_INI_Load")->text(), "&Load");
    EXPECT_EQ(Control<QPushButton>("Button_INI_Save")->text(), "&Save");
    EXPECT_EQ(Control<QPushButton>("Button_INI_Save")->accessibleName(), "Save");
    EXPECT_EQ(Control<QCheckBox>("CheckBox_Form_Style")->accessibleName(), "Stay On Top");
    EXPECT_GE(Control<QComboBox>("ComboBox_Language")->findText("English"), 0);

    auto* port = Control<QLineEdit>("Edit_Port_Name");
    EXPECT_TRUE(port->isReadOnly());
    EXPECT_EQ(port->text(), "COM1");
    EXPECT_TRUE(Control<QSpinBox>("Edit_INI_Delay_Compensation")->isHidden());
}

struct Switch_Case
{
    const char* box;
    const char* label;
    bool Settings_Class::*field;
};

TEST_F(Settings_Tab, CheckBoxesAndTheirLabelsWriteTheFieldAtOnce)
{
    const Switch_Case cases[] = {
        {"CheckBox_Search_Port", "Label_Search_Port", &Settings_Class::Search_Port},
        {"CheckBox_SaveLoadData", "Label_SaveLoadData", &Settings_Class::Save_Load_Data},
        {"CheckBox_Transmit_Now", "Label_Transmit_Now", &Settings_Class::Transmit_Now},
        {"CheckBox_Form_Style", "Label_Form_Style", &Settings_Class::Form_Style},
        {"CheckBox_Show_Hint", "Label_Show_Hint", &Settings_Class::Show_Hint},
        {"CheckBox_checkPassword", "Label_checkPassword", &Settings_Class::CheckPassword},
        {"CheckBox_English_Menu", "Label_English_Menu", &Settings_Class::English_Menu},
    };
    for (const Switch_Case& c : cases) {
        SCOPED_TRACE(c.box);
        auto* box = Control<QCheckBox>(c.box);
        auto* label = Control<QLabel>(c.label);
        ASSERT_TRUE(box && label);
        const bool before = settings.*c.field;
        EXPECT_EQ(box->isChecked(), before);

        box->click();
        EXPECT_EQ(settings.*c.field, !before);

        Click_Label(label);
        EXPECT_EQ(box->isChecked(), before);
        EXPECT_EQ(settings.*c.field, before);
    }
}

TEST_F(Settings_Tab, SwitchHooksReachTheMainWindow)
{
    QList<bool> on_top;
    QList<bool> hints;
    form->On_Form_Style_Changed = [&](bool on) { on_top << on; };
    form->On_Show_Hint_Changed = [&](bool on) { hints << on; };
    Click_Label(Control<QLabel>("Label_Form_Style"));
    Control<QCheckBox>("CheckBox_Show_Hint")->click();
    EXPECT_EQ(on_top, QList<bool>{true});
    EXPECT_EQ(hints, QList<bool>{false});

    int setup_calls = 0;
    form->On_Setup_Port = [&]() { ++setup_calls; };
    Control<QPushButton>("Button_Setup_Port")->click();
    EXPECT_EQ(setup_calls, 1);
}

TEST_F(Settings_Tab, ReplyDelaySpinWritesAndColoursItself)
{
    auto* spin = Control<QSpinBox>("Edit_Reply_Delay");
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->minimum(), 1);
    EXPECT_EQ(spin->maximum(), 999);
    EXPECT_EQ(spin->singleStep(), 5);
    EXPECT_EQ(spin->value(), 60);
    EXPECT_NE(spin->palette().color(QPalette::Base), Light_Red);

    QList<int> told;
    form->On_Reply_Delay_Changed = [&](int value) { told << value; };
    spin->stepUp();
    EXPECT_EQ(settings.Reply_Delay, 65);
    EXPECT_EQ(told, QList<int>{65});
    EXPECT_EQ(spin->palette().color(QPalette::Base), Light_Red);

    spin->setValue(5000);
    EXPECT_EQ(settings.Reply_Delay, 999);

    spin->setValue(60);
    EXPECT_EQ(settings.Reply_Delay, 60);
    EXPECT_EQ(spin->palette().color(QPalette::Base), page.palette().color(QPalette::Base));

    auto* compensation = Control<QSpinBox>("Edit_INI_Delay_Compensation");
    EXPECT_EQ(compensation->singleStep(), 5);
    compensation->setValue(250);
    EXPECT_EQ(settings.Delay_Compensation, 250);
}

TEST_F(Settings_Tab, ChoosingALanguageWritesItAndTellsTheWindow)
{
    settings.Language = "Polski";
    form->Set_Language_List({"Deutsch", "Italiano"});
    auto* combo = Control<QComboBox>("ComboBox_Language");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), "Polski");
    EXPECT_GE(combo->findText("English"), 0);
    EXPECT_GE(combo->findText("Deutsch"), 0);

    QStringList told;
    form->On_Language_Changed = [&](const QString& language) { told << language; };
    combo->setCurrentIndex(combo->findText("Italiano"));
    EXPECT_EQ(settings.Language, "Italiano");
    EXPECT_EQ(told, QStringList{"Italiano"});
}

TEST_F(Settings_Tab, LoadIsDisabledUntilTheFileIsWritten)
{
    auto* load = Control<QPushButton>("Button_INI_Load");
    EXPECT_FALSE(settings.Load_Available);
    EXPECT_FALSE(load->isEnabled());

    Control<QPushButton>("Button_INI_Save")->click();
    EXPECT_TRUE(QFile::exists(settings.File_Path()));
    EXPECT_TRUE(load->isEnabled());
}

TEST_F(Settings_Tab, DefaultLoadAndSaveButtonsShowTheRecord)
{
    settings.Port_Name = "ttyUSB3";
    settings.Language = "Deutsch";
    form->Settings_Show();
    EXPECT_EQ(Control<QLineEdit>("Edit_Port_Name")->text(), "ttyUSB3");
    EXPECT_EQ(Control<QComboBox>("ComboBox_Language")->currentText(), "Deutsch");

    auto* spin = Control<QSpinBox>("Edit_Reply_Delay");
    spin->setValue(200);
    Control<QCheckBox>("CheckBox_Transmit_Now")->click();
    Control<QPushButton>("Button_INI_Default")->click();
    EXPECT_EQ(spin->value(), 60);
    EXPECT_FALSE(Control<QCheckBox>("CheckBox_Transmit_Now")->isChecked());
    EXPECT_EQ(settings.Port_Name, "ttyUSB3");
    EXPECT_EQ(settings.Language, "Deutsch");

    Write_File("Reply_Delay 120\r\nPort_Name ttyS0\r\nForm_Style True\r\n");
    QList<bool> on_top;
    form->On_Form_Style_Changed = [&](bool on) { on_top << on; };
    form->Load();
    EXPECT_EQ(spin->value(), 120);
    EXPECT_EQ(Control<QLineEdit>("Edit_Port_Name")->text(), "ttyS0");
    EXPECT_TRUE(Control<QCheckBox>("CheckBox_Form_Style")->isChecked());
    EXPECT_EQ(on_top, QList<bool>{true});  // a loaded "Stay On Top" applies at once

    spin->setValue(130);
    form->Save();
    Settings_Class back(dir.path(), "QuorelGAS");
    ASSERT_TRUE(back.Settings_Read());
    EXPECT_EQ(back.Reply_Delay, 130);
    EXPECT_EQ(back.CFG_File_Name, "QuorelGAS.cfg");
}

} // namespace
