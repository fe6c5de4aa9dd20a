#include "app/Quorel_Clock.h"
#include "app/Quorel_Context.h"
#include "app/Quorel_Dialog_Shells_Form.h"
#include "app/Quorel_Main_Form.h"
#include "language/Quorel_Language_State.h"
#include "link/Quorel_Serial_Virtual.h"
#include "settings/Quorel_Ini.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// German in windows-1252: "\xDC" is a capital U with umlaut.
const QByteArray Deutsch_Lng = "Deutsch\r\n"
                               "{ Tabs }\r\n"
                               "TabSheet_General    Allgemein\r\n"
                               "TabSheet_About \xDC" "ber\r\n"
                               "CheckBox_Show_Hint Hinweise zeigen\r\n"
                               "Save Speichern\r\n"
                               "Button_Gas_Fors1_Hint Gasinjektor Nummer 1 einschalten oder ausschalten\r\n"
                               "Search_Port_Hint Automatische Suche des Anschlusses der Steuerung\r\n"
                               "Button_About_Help Hilfe\r\n"
                               "Version Fassung\r\n"
                               "Form_DTB Kundendatenbank\r\n";

// Russian in code page 1251, read with font charset 204.
const QByteArray Russian_Lng = "Russian\r\n"
                               "TabSheet_General \xCE\xE1\xF9\xE8\xE5\r\n"
                               "TabSheet_About \xCE \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE5\r\n"
                               "CheckBox_Show_Hint \xCF\xEE\xE4\xF1\xEA\xE0\xE7\xEA\xE8\r\n";

class Apply_Texts_Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Reset_Language_State();
        dir = std::make_unique<QTemporaryDir>();   // a fresh program folder
        ASSERT_TRUE(QDir(dir->path()).mkdir("Language"));
    }
    void TearDown() override
    {
        window.reset();
        context.reset();
        Reset_Language_State();
    }

    void Write_Language(const QString& file_name, const QByteArray& bytes)
    {
        QFile file(dir->filePath("Language/" + file_name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void Preset(const QString& key, const QString& value)
    {
        ASSERT_TRUE(Ini_Set_One(dir->filePath("QuorelGAS.ini"), key, value, ""));
    }
    void Make()
    {
        auto port = std::make_unique<Virtual_Serial_Port>(clock);
        port->Set_Device_Name("vtty0");
        context = std::make_unique<Quorel_Context>(clock, std::move(port), dir->path(), "QuorelGAS");
        window = std::make_unique<TForm_QuorelGAS>(*context);
    }

    template <class T = QWidget> T* Find(const QString& name) const
    {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QTabWidget* Pages() const { return Find<QTabWidget>("PageControl_QuorelGAS"); }
    void Choose(const QString& language)
    {
        auto* combo = Find<QComboBox>("ComboBox_Language");
        ASSERT_GE(combo->findText(language), 0) << language.toStdString();
        combo->setCurrentIndex(combo->findText(language));
    }
    QString Label(const char* name) const { return Find<QLabel>(name)->text(); }

    // Every tab caption and its accessible name.
    void Expect_Tabs(const QStringList& captions) const
    {
        ASSERT_EQ(Pages()->count(), captions.size());
        for (int i = 0; i < captions.size(); ++i) {
            EXPECT_EQ(Pages()->tabText(i), captions[i]);
            EXPECT_EQ(Pages()->widget(i)->accessibleName(), captions[i]);
        }
    }

    std::unique_ptr<QTemporaryDir> dir;
    Virtual_Clock clock;
    std::unique_ptr<Quorel_Context> context;
    std::unique_ptr<TForm_QuorelGAS> window;
};

const QStringList English_Tabs = {"F1 General", "F2 Config",  "F3 Calibration", "F4 Oscilloscope",
                                  "F5 Autocalibr.", "F6 Errors", "F7 Settings", "F8 About"};

} // namespace

TEST_F(Apply_Texts_Test, English_Tabs_Carry_Their_Function_Keys)
{
    Make();
    Expect_Tabs(English_Tabs);
    EXPECT_EQ(Pages()->accessibleName(), Pages()->tabText(Pages()->currentIndex()));
    EXPECT_EQ(Label("Label_Show_Hint"), "Show hints");
    EXPECT_EQ(Label("Label_About_F1"), "\"F1\" key - General");
    // A caption whose key the English table lacks keeps its English text.
    EXPECT_EQ(Find<QPushButton>("Button_Step_by_Step")->text(), "Step by step");
    EXPECT_EQ(Find<QGroupBox>("GroupBox_About_HotKey")->title(), "Hot key");
    EXPECT_TRUE(Find<QCheckBox>("CheckBox_English_Menu")->isHidden());
}

struct Language_Case
{
    const char* file;
    QByteArray bytes;
    const char* charset;   // font charset key value, none for the default
    QString general;
    QString about;
    QString show_hint;
};

TEST_F(Apply_Texts_Test, Selecting_A_Language_Changes_Tabs_And_Settings_Captions)
{
    const Language_Case cases[] = {
        {"Deutsch", Deutsch_Lng, nullptr, "F1 Allgemein", QString::fromUtf8("F8 Über"), "Hinweise zeigen"},
        {"Russian", Russian_Lng, "204", QString::fromUtf8("F1 Общие"), QString::fromUtf8("F8 О программе"),
         QString::fromUtf8("Подсказки")},
    };
    for (const Language_Case& c : cases) {
        SCOPED_TRACE(c.file);
        TearDown();
        SetUp();
        Write_Language(QString::fromLatin1(c.file) + ".lng", c.bytes);
        if (c.charset)
            Preset(QString::fromLatin1(c.file) + "_C", c.charset);
        Make();
        Expect_Tabs(English_Tabs);

        Choose(c.file);
        EXPECT_EQ(Pages()->tabText(0), c.general);
        EXPECT_EQ(Pages()->widget(0)->accessibleName(), c.general);
        EXPECT_EQ(Pages()->tabText(7), c.about);
        EXPECT_EQ(Pages()->tabText(1), "F2 Config");   // not in the file: English
        EXPECT_EQ(Label("Label_Show_Hint"), c.show_hint);
        EXPECT_EQ(Find<QCheckBox>("CheckBox_Show_Hint")->accessibleName(), c.show_hint);
        EXPECT_EQ(Label("Label_Transmit_Now"), "Transmit Now After Change");
        EXPECT_FALSE(Find<QCheckBox>("CheckBox_English_Menu")->isHidden());

        Choose("English");
        Expect_Tabs(English_Tabs);
        EXPECT_EQ(Label("Label_Show_Hint"), "Show hints");
    }
}

TEST_F(Apply_Texts_Test, Language_Of_The_Settings_File_Is_Applied_At_Creation)
{
    Write_Language("Deutsch.lng", Deutsch_Lng);
    Preset("Language", "Deutsch");
    Make();
    EXPECT_EQ(Pages()->tabText(0), "F1 Allgemein");
    EXPECT_EQ(Find<QPushButton>("Button_INI_Save")->text(), "&Speichern");
    EXPECT_EQ(Find<QPushButton>("Button_INI_Save")->accessibleName(), "Speichern");
    EXPECT_EQ(Find<QPushButton>("Button_About_Help")->text(), "Hilfe");
    EXPECT_EQ(Find<QPushButton>("Button_About_Help")->accessibleName(), "Hilfe");
    EXPECT_EQ(Label("Label_About_F1"), "\"F1\" key - Allgemein");
    EXPECT_EQ(Label("Label_About_Ver"), "Fassung 1.19");
}

TEST_F(Apply_Texts_Test, English_Menu_Keeps_The_Frame_English)
{
    Write_Language("Deutsch.lng", Deutsch_Lng);
    Make();
    Choose("Deutsch");
    auto* gas1 = Find<QPushButton>("Button_Gas_Fors1");
    EXPECT_EQ(gas1->toolTip(), "Gasinjektor Nummer 1 einschalten \noder ausschalten");

    Find<QCheckBox>("CheckBox_English_Menu")->click();
    EXPECT_TRUE(context->App_Settings.English_Menu);
    Expect_Tabs(English_Tabs);
    EXPECT_EQ(gas1->toolTip(), "Gas injector 1 (On/Off)");
    EXPECT_TRUE(window->windowTitle().contains("Version 1.19"));
    // Captions inside the tabs stay in the selected language.
    EXPECT_EQ(Label("Label_Show_Hint"), "Hinweise zeigen");
    EXPECT_EQ(Find<QPushButton>("Button_About_Help")->text(), "Hilfe");

    Find<QCheckBox>("CheckBox_English_Menu")->click();
    EXPECT_EQ(Pages()->tabText(0), "F1 Allgemein");
    EXPECT_EQ(gas1->toolTip(), "Gasinjektor Nummer 1 einschalten \noder ausschalten");
    EXPECT_TRUE(window->windowTitle().contains("Fassung 1.19"));

    // Choosing a language switches the English menu off.
    Find<QCheckBox>("CheckBox_English_Menu")->click();
    Choose("English");
    Choose("Deutsch");
    EXPECT_FALSE(context->App_Settings.English_Menu);
    EXPECT_FALSE(Find<QCheckBox>("CheckBox_English_Menu")->isChecked());
    EXPECT_EQ(Pages()->tabText(0), "F1 Allgemein");
}

TEST_F(Apply_Texts_Test, Missing_Language_File_Falls_Back_To_English)
{
    // Listed by its name up to the first dot, but "Xx.lng" does not exist.
    Write_Language("Xx.v2.lng", Deutsch_Lng);
    Write_Language("Deutsch.lng", Deutsch_Lng);
    Preset("Language", "Klingon");
    Make();
    Expect_Tabs(English_Tabs);

    Choose("Xx");
    Expect_Tabs(English_Tabs);
    EXPECT_EQ(Label("Label_Show_Hint"), "Show hints");

    // A file removed after the list was built.
    ASSERT_TRUE(QFile::remove(dir->filePath("Language/Deutsch.lng")));
    Choose("Deutsch");
    Expect_Tabs(English_Tabs);
    EXPECT_EQ(Label("Label_Show_Hint"), "Show hints");
    EXPECT_EQ(Find<QPushButton>("Button_Gas_Fors1")->toolTip(), "Gas injector 1 (On/Off)");
}

TEST_F(Apply_Texts_Test, Show_Hint_Off_Clears_Every_Tool_Hint)
{
    Write_Language("Deutsch.lng", Deutsch_Lng);
    Make();
    const QStringList hinted = {"Button_Gas_Fors1", "Button_WorkMode", "Button_About_Diagram",
                                "CheckBox_Search_Port", "Button_Setup_Port", "ComboBox_Language"};
    for (const QString& name : hinted)
        EXPECT_FALSE(Find(name)->toolTip().isEmpty()) << name.toStdString();
    EXPECT_EQ(Find("Button_About_Diagram")->toolTip(), "\"I\" - Diagram");
    EXPECT_EQ(Find("CheckBox_Search_Port")->toolTip(), "Automatic search com \nport connection");

    Find<QCheckBox>("CheckBox_Show_Hint")->click();
    EXPECT_FALSE(context->App_Settings.Show_Hint);
    for (const QString& name : hinted)
        EXPECT_TRUE(Find(name)->toolTip().isEmpty()) << name.toStdString();
    // Still none after the language changes.
    Choose("Deutsch");
    for (const QString& name : hinted)
        EXPECT_TRUE(Find(name)->toolTip().isEmpty()) << name.toStdString();

    Find<QCheckBox>("CheckBox_Show_Hint")->click();
    EXPECT_EQ(Find("CheckBox_Search_Port")->toolTip(), "Automatische Suche des Anschlusses \nder Steuerung");
}

TEST_F(Apply_Texts_Test, Show_Hint_Off_In_The_Settings_File_Starts_Without_Hints)
{
    Preset("Show_Hint", "False");
    Make();
    EXPECT_TRUE(Find("Button_Gas_Fors1")->toolTip().isEmpty());
    EXPECT_TRUE(Find("Button_Setup_Port")->toolTip().isEmpty());
    EXPECT_FALSE(Find<QCheckBox>("CheckBox_Show_Hint")->isChecked());
}

TEST_F(Apply_Texts_Test, Dialog_Titles_Follow_The_Language_And_The_English_Menu)
{
    Write_Language("Deutsch.lng", Deutsch_Lng);
    Make();
    window->Create_Dialogs();
    QDialog* clients = window->Dialogs()->Dialog("TForm_DTB");
    EXPECT_EQ(clients->windowTitle(), "Clients database");
    Choose("Deutsch");
    EXPECT_EQ(clients->windowTitle(), "Kundendatenbank");
    EXPECT_EQ(clients->accessibleName(), "Kundendatenbank");
    Find<QCheckBox>("CheckBox_English_Menu")->click();
    EXPECT_EQ(clients->windowTitle(), "Clients database");
}
