#include "language/Quorel_Language_State.h"
#include "settings/Quorel_Settings.h"
#include "settings/Quorel_Settings_Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Settings_Texts : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    std::unique_ptr<Settings_Class> settings;
    QWidget page;
    std::unique_ptr<Settings_Tab_Form> form;

    void SetUp() override
    {
        Reset_Language_State();
        ASSERT_TRUE(QDir(dir.path()).mkdir("Language"));
        QFile file(dir.filePath("Language/Deutsch.lng"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Deutsch\r\n"
                   "Label_Port_Name Anschluss\r\n"
                   "GroupBox_Reply_Delay Antwortverz\xF6gerung\r\n"
                   "CheckBox_Form_Style Immer oben\r\n"
                   "Label_English_Menu Englisches Men\xFC\r\n"
                   "Load Laden\r\n"
                   "Button_Setup_Port_Hint Anschluss einstellen\r\n");
        file.close();
        Set_Program_Folder(dir.path());
        List_Languages();
        settings = std::make_unique<Settings_Class>(dir.path(), "QuorelGAS");
        settings->Settings_Create();
        form = std::make_unique<Settings_Tab_Form>(&page, *settings);
        form->Set_Language_List(Language().Languages);
    }
    void TearDown() override
    {
        form.reset();
        Reset_Language_State();
    }
    void List_Languages() { Language().List_Languages(); }

    template <typename T = QWidget> T* Control(const char* name)
    {
        T* control = page.findChild<T*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void Choose(const char* language)
    {
        auto* combo = Control<QComboBox>("ComboBox_Language");
        combo->setCurrentIndex(combo->findText(language));
    }
};

// A caption on screen and the accessible name of its control.
struct Caption_Case
{
    const char* label;
    const char* control;
    QString english;
    QString german;
};

} // namespace

TEST_F(Settings_Texts, CaptionsAndAccessibleNamesFollowTheLanguage)
{
    const Caption_Case cases[] = {
        {"Label_Port_Name", "Edit_Port_Name", "Port name", "Anschluss"},
        {"Label_Reply_Delay", "Edit_Reply_Delay", "Reply delay, ms", QString::fromUtf8("Antwortverzögerung, ms")},
        {"Label_Form_Style", "CheckBox_Form_Style", "Stay On Top", "Immer oben"},
        {"Label_English_Menu", "CheckBox_English_Menu", "English menu", QString::fromUtf8("Englisches Menü")},
        {"Label_Transmit_Now", "CheckBox_Transmit_Now", "Transmit Now After Change", "Transmit Now After Change"},
    };
    const auto check = [&](bool german) {
        for (const Caption_Case& c : cases) {
            SCOPED_TRACE(c.label);
            const QString& expected = german ? c.german : c.english;
            EXPECT_EQ(Control<QLabel>(c.label)->text(), expected);
            EXPECT_EQ(Control(c.control)->accessibleName(), expected);
        }
    };
    check(false);
    EXPECT_EQ(Control<QPushButton>("Button_INI_Load")->text(), "&Load");
    EXPECT_TRUE(Control("CheckBox_English_Menu")->isHidden());

    Choose("Deutsch");
    EXPECT_EQ(settings->Language, "Deutsch");
    check(true);
    EXPECT_EQ(Control<QPushButton>("Button_INI_Load")->text(), "&Laden");
    EXPECT_EQ(Control<QPushButton>("Button_INI_Load")->accessibleName(), "Laden");
    EXPECT_FALSE(Control("CheckBox_English_Menu")->isHidden());
    EXPECT_FALSE(Control("Label_English_Menu")->isHidden());

    Choose("English");
    check(false);
    EXPECT_TRUE(Control("CheckBox_English_Menu")->isHidden());
}

TEST_F(Settings_Texts, EnglishMenuTurnsTheHintsEnglishAndKeepsTheCaptions)
{
    Choose("Deutsch");
    auto* button = Control<QPushButton>("Button_Setup_Port");
    EXPECT_EQ(button->toolTip(), "Anschluss einstellen");

    Control<QCheckBox>("CheckBox_English_Menu")->click();
    EXPECT_TRUE(settings->English_Menu);
    EXPECT_TRUE(Language().English_Menu);
    EXPECT_EQ(button->toolTip(), "Setup port");
    EXPECT_EQ(Control<QLabel>("Label_Form_Style")->text(), "Immer oben");

    Control<QCheckBox>("CheckBox_English_Menu")->click();
    EXPECT_EQ(button->toolTip(), "Anschluss einstellen");
}

TEST_F(Settings_Texts, ShowHintOffClearsTheTabsHints)
{
    const char* hinted[] = {"Button_Setup_Port", "CheckBox_Search_Port", "Label_Search_Port", "ComboBox_Language",
                            "Button_INI_Save", "Edit_Reply_Delay"};
    for (const char* name : hinted)
        EXPECT_FALSE(Control(name)->toolTip().isEmpty()) << name;
    Control<QCheckBox>("CheckBox_Show_Hint")->click();
    EXPECT_FALSE(Language().Show_Hint);
    for (const char* name : hinted)
        EXPECT_TRUE(Control(name)->toolTip().isEmpty()) << name;
    Control<QCheckBox>("CheckBox_Show_Hint")->click();
    EXPECT_EQ(Control("Button_INI_Save")->toolTip(), "Save");
}
