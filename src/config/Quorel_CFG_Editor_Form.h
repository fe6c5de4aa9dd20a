#pragma once

#include "config/Quorel_CFG_Editor.h"

#include <QObject>
#include <QPointer>
#include <QSpinBox>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;
class Quorel_Context;
class Texts_Listener;
struct Hot_Key_Actions;

// A spin box over a field's stored integer with the field's own display:
// the text, the parsing of typed text and the stepping come from the owner.
class CFG_Spin_Box : public QSpinBox
{
    Q_OBJECT
public:
    explicit CFG_Spin_Box(QWidget* parent = nullptr);

    std::function<QString(int value, bool shortest)> Format;
    std::function<std::optional<int>(const QString& text)> Parse;
    std::function<int(int value, int steps)> Step;
    // The shortest decimal form, right after the box's own change.
    bool Shortest = false;

    void stepBy(int steps) override;

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
};

// The Configuration tab (TabSheet_Configuration): five buttons, the option
// list with one group shown at a time, the help panel, and every control
// bound to its Config_Data field through CFG_Editor.
class Configuration_Tab_Form : public QObject
{
    Q_OBJECT
public:
    static constexpr int Option_Rows = 16;

    Configuration_Tab_Form(QWidget* page, Quorel_Context& context, const Hot_Key_Actions& hot_keys);
    ~Configuration_Tab_Form() override;

    CFG_Editor& Editor() { return *editor_; }

    // Every control from Config_Data, with the version-dependent layout and
    // the enabling rules.
    void Show();
    void Apply_Texts();
    // Option list: select a row (0-based), or move by step (hot keys Up, Down).
    void Select_Option(int row);
    void Option_Scroll(int step);
    int Selected_Option() const { return selected_; }
    // The live values of the page: the pressure sensor output and today's date.
    void Show_Live();
    // The ECU reported a new software level mode: it ends the set-up state
    // and, in the working mode, the level boxes show the reference shares.
    void Show_Level_Mode(int mode, const QString& text, const QString& hint);

    // Set by the main window.
    std::function<bool()> Window_Enabled;
    std::function<void()> On_RPM_Diagnostics, On_RPM_Scaler, On_Priming_Table, On_Close_Priming_Table,
        On_Password, On_Inject_Detect;
    std::function<void(int)> On_Pump_Time_Changed;        // the pump gauge's maximum
    std::function<void(bool)> On_Pairs_In_Parallel;       // the General tab's averaging box

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row;
    struct Bound;
    struct Group;

    void Build_Buttons(QWidget* page);
    void Build_Option_List(QWidget* page);
    void Build_Groups();
    Group& New_Group(int option_row, const char* name);
    // fallback: the caption when the language has no text for the label.
    void Add_Row(Group& group, const char* label, const char* hint, std::vector<QWidget*> controls,
                 const char* fallback = nullptr, int same_slot_as = -1);
    void Layout_Group(Group& group, QWidget* area, QPoint at = QPoint(-1, -1));

    CFG_Spin_Box* Int_Spin(const char* name, int Configuration_Class::*member, int divisor = 1, int decimals = 0,
                           bool whole_tenths = false, int width = 70);
    QCheckBox* Flag_Box(const char* name, bool Configuration_Class::*member);
    QComboBox* List_Box(const char* name, Option_List list, int width = 190);
    QPushButton* Button(const char* name, const char* fallback, int width = 0);
    QLineEdit* Text_Box(const char* name, QString Configuration_Class::*member, int width = 200);
    void Bind(QWidget* widget, int code, bool CFG_Enabling::*rule = nullptr);

    void Show_Values(QWidget* edited = nullptr);
    void Apply_Version_Layout_Controls();
    void Apply_Enabling();
    void Lock_Changed();
    void Update_Accessible();
    void After_Edit(QWidget* edited);
    void Refresh_File_Status();
    void Refresh_Car_Enabled();
    void Show_Hint_Of(QObject* watched);
    QString Level_Volt_Text(int k) const;

    Quorel_Context& context_;
    const Hot_Key_Actions& hot_keys_;
    std::unique_ptr<CFG_Editor> editor_;
    std::unique_ptr<Texts_Listener> texts_listener_;
    QWidget* page_;
    QWidget* options_area_ = nullptr;
    QListWidget* option_list_ = nullptr;
    QLabel* help_label_ = nullptr;
    QLabel* highlighted_ = nullptr;
    std::vector<std::unique_ptr<Group>> groups_;
    std::vector<Bound> bound_;
    std::vector<QWidget*> option_pages_;   // per option row
    std::vector<QWidget*> client_widgets_;   // Find, Again, New, Archive and the search box
    std::vector<QWidget*> car_dependent_;
    std::vector<QLineEdit*> text_order_;
    int selected_ = 0;

    // Controls the show step and the rules handle by name.
    CFG_Spin_Box* two_fuel_temperature_ = nullptr;
    CFG_Spin_Box* inject_num_ = nullptr;
    CFG_Spin_Box* inject_duty_ = nullptr;
    CFG_Spin_Box* inject_period_ = nullptr;
    CFG_Spin_Box* inject_delay_ = nullptr;
    CFG_Spin_Box* level_reference_ = nullptr;
    CFG_Spin_Box* st_set_ = nullptr;
    CFG_Spin_Box* st_speed_ = nullptr;
    CFG_Spin_Box* st_mileage_ = nullptr;
    QSlider* level_sliders_[5] = {};
    QLabel* level_volts_[5] = {};
    QCheckBox* polarity_plus_ = nullptr;
    QCheckBox* polarity_minus_ = nullptr;
    QRadioButton* mode_radios_[3] = {};
    QRadioButton* press_absolute_ = nullptr;
    QRadioButton* press_relative_ = nullptr;
    QLineEdit* press_bar_ = nullptr;
    QLineEdit* press_volt_ = nullptr;
    QPointer<QWidget> held_focus_, moved_focus_;
    QLabel* date_today_ = nullptr;
    QLineEdit* car_num_ = nullptr;
    QLineEdit* accident_count_ = nullptr;
    QLabel* file_status_ = nullptr;
    QLabel* date_save_ = nullptr;
    QLabel* st_remains_ = nullptr;
    QLabel* level_mode_ = nullptr;
    int level_mode_value_ = 0;
    QString level_mode_text_, level_mode_hint_;
    QLabel* factors_range_ = nullptr;
    QLabel* press_init_label_ = nullptr;
    QLabel* two_fuel_temperature_label_ = nullptr;
    QCheckBox* st_block_ = nullptr;
    QPlainTextEdit* comments_ = nullptr;
    QPushButton* level_set_ = nullptr;
    QPushButton* rpm_set_ = nullptr;
    std::vector<QWidget*> level_sensor_row_, level_software_row_;
};
