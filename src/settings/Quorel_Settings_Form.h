#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;
class Settings_Class;
class Texts_Listener;

// The controls of the Settings tab (TabSheet_Settings), placed by absolute
// geometry on the given page and bound to the settings record: every control
// writes its field at once; the file is written only on "Save" and at exit.
class Settings_Tab_Form : public QObject
{
    Q_OBJECT
public:
    Settings_Tab_Form(QWidget* page, Settings_Class& settings);
    ~Settings_Tab_Form() override;

    // Captions and hints of the tab from the selected language; runs at
    // creation and after each change of language, "English_Menu" or hints.
    void Apply_Texts();

    // Puts the record's values into the controls.
    void Settings_Show();
    // The languages offered; the selected one is added when missing.
    void Set_Language_List(const QStringList& languages);

    // "&Default", "&Load", "&Save"; also hot keys D, L, S on the tab.
    void Defaults();
    void Load();
    void Save();

    // Set by the main window.
    std::function<void()> On_Setup_Port;
    std::function<void()> On_Setup_Font;
    std::function<void(bool)> On_Form_Style_Changed;
    std::function<void(bool)> On_Show_Hint_Changed;
    std::function<void(int)> On_Reply_Delay_Changed;
    std::function<void(int)> On_Delay_Compensation_Changed;
    std::function<void(const QString&)> On_Language_Changed;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* Make_Check(const char* box_name, const char* label_name, const QString& caption, int x, int y,
                          int label_width);
    QPushButton* Make_Button(const char* name, const QString& caption, int x, int y, int width);
    QSpinBox* Make_Delay_Spin(const char* name, const QString& caption, int low, int high, int x, int y,
                              bool visible);
    void Colour_Reply_Delay();
    void Update_Load_Button();

    QWidget* page_;
    Settings_Class& settings_;

    QLineEdit* Edit_Port_Name = nullptr;
    QPushButton* Button_Setup_Port = nullptr;
    QCheckBox* CheckBox_Search_Port = nullptr;
    QSpinBox* Edit_Reply_Delay = nullptr;
    QSpinBox* Edit_INI_Delay_Compensation = nullptr;
    QCheckBox* CheckBox_SaveLoadData = nullptr;
    QCheckBox* CheckBox_Transmit_Now = nullptr;
    QCheckBox* CheckBox_Form_Style = nullptr;
    QCheckBox* CheckBox_Show_Hint = nullptr;
    QCheckBox* CheckBox_checkPassword = nullptr;
    QComboBox* ComboBox_Language = nullptr;
    QCheckBox* CheckBox_English_Menu = nullptr;
    QPushButton* Button_Setup_Font = nullptr;
    QPushButton* Button_INI_Default = nullptr;
    QPushButton* Button_INI_Load = nullptr;
    QPushButton* Button_INI_Save = nullptr;
    std::unique_ptr<Texts_Listener> texts_listener_;
};
