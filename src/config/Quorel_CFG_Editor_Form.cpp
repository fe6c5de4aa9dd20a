#include "config/Quorel_CFG_Editor_Form.h"

#include "app/Quorel_Context.h"
#include "app/Quorel_Text_Colour_Widget.h"
#include "app/Quorel_Hot_Keys.h"
#include "config/Quorel_Config_Fields.h"
#include "config/Quorel_Config_Pairs.h"
#include "config/Quorel_Config_Texts.h"
#include "config/Quorel_Version.h"
#include "files/Quorel_CFG_Names.h"
#include "language/Quorel_Apply_Texts.h"
#include "language/Quorel_Text.h"
#include "monitor/Quorel_Led_Widget.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace {

using C = Configuration_Class;

constexpr int Row_Height = 22;
constexpr int Row_Pitch = 24;
constexpr int Group_Top = 20;
constexpr QRect Options_List_Rect(4, 4, 150, 16 * 20 + 6);
constexpr QRect Options_Area_Rect(158, 4, 510, 340);
constexpr QRect Help_Rect(158, 348, 510, 70);
constexpr int Button_Column_X = 674;
constexpr int Button_Column_Width = 92;

struct Option_Row_Text
{
    const char* Key;
    const char* English;
};

constexpr Option_Row_Text Option_Row_Texts[Configuration_Tab_Form::Option_Rows] = {
    {"CFG_Option_RPM_Source", "R.P.M."},
    {"CFG_Option_Switch_PG", "Petrol/Gas"},
    {"CFG_Option_Switch_GP", "Gas/Petrol"},
    {"CFG_Option_Switch_GPG", "Gas/Petrol/Gas"},
    {"CFG_Option_Gas_Injectors", "Gas injectors"},
    {"CFG_Option_Petrol_Injection", "Petrol injection"},
    {"CFG_Option_Gas_Pump", "Gas pump"},
    {"CFG_Option_Gas_Level_Sensor", "Gas level sensor"},
    {"CFG_Option_Pressure_Sensor", "Pressure sensor"},
    {"CFG_Option_Lambda_Sensor", "Lambda sensor"},
    {"CFG_Option_Factor_Press_Petrol", "Pressure factors"},
    {"CFG_Option_Factor_Press_Power", "Offset gas"},
    {"CFG_Option_Factor_OffSet_Petrol", "Offset petrol"},
    {"CFG_Option_DTB_Car", "Car"},
    {"CFG_Option_DTB_User", "Owner"},
    {"CFG_Option_DTB_Comments", "Comments"},
};

// Range texts of the three correction grids (option rows 11 to 13).
constexpr const char* Factor_Range_Texts[3] = {"0.01 .. 1.99", "0 .. 2.55", "0 .. 2.55"};

struct Main_Button
{
    const char* Name;
    const char* Text_Key;
    const char* English;
};

constexpr Main_Button Main_Buttons[5] = {
    {"Button_CFG_Transmitt", "Transmitt", "Transmit"}, {"Button_CFG_Receiv", "Receiv", "Receive"},
    {"Button_CFG_Save", "Save", "Save"},               {"Button_CFG_Load", "Load", "Load"},
    {"Button_CFG_Default", "Default", "Default"},
};

QString Decimal_Text(double value, int decimals, bool shortest)
{
    return QLocale::system().toString(value, 'f', shortest ? QLocale::FloatingPointShortest : decimals);
}

std::optional<double> Parse_Decimal(QString text)
{
    text = text.trimmed();
    bool ok = false;
    double value = QLocale::system().toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(QString(text).replace(QChar(','), QChar('.')), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// 16000 / period in kHz with up to 4 significant digits and 2 decimals; 0
// for a period of 0.
QString Frequency_Text(int period)
{
    if (period <= 0)
        return QStringLiteral("0");
    const double kilohertz = 16000.0 / period;
    const int digits = kilohertz >= 1.0 ? int(std::floor(std::log10(kilohertz))) + 1 : 1;
    QString text = QLocale::system().toString(kilohertz, 'f', std::clamp(4 - digits, 0, 2));
    const QChar point = QLocale::system().decimalPoint().at(0);
    if (text.contains(point)) {
        while (text.endsWith(QChar('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(1);
    }
    return text;
}

// The five level thresholds, lamp 1 to 5.
constexpr int Configuration_Class::*Level_Fields[5] = {&Configuration_Class::Level1, &Configuration_Class::Level2,
                                                      &Configuration_Class::Level3, &Configuration_Class::Level4,
                                                      &Configuration_Class::Level5};

QString Volt_Text(int level) { return QLocale::system().toString(level * 5.0 / 1023.0, 'f', 2); }

QString Polarity_Picture(bool positive)
{
    return positive ? QStringLiteral("__|\u203E\u203E|__") : QStringLiteral("\u203E\u203E|__|\u203E\u203E");
}

}   // namespace

// ---------------------------------------------------------------- spin box

CFG_Spin_Box::CFG_Spin_Box(QWidget* parent) : QSpinBox(parent)
{
    setKeyboardTracking(false);
    setAccelerated(true);
}

void CFG_Spin_Box::stepBy(int steps)
{
    if (!Step)
        return QSpinBox::stepBy(steps);
    const int next = std::clamp(Step(value(), steps), minimum(), maximum());
    if (next != value())
        setValue(next);
}

QString CFG_Spin_Box::textFromValue(int value) const
{
    return Format ? Format(value, Shortest) : QSpinBox::textFromValue(value);
}

int CFG_Spin_Box::valueFromText(const QString& text) const
{
    if (!Parse)
        return QSpinBox::valueFromText(text);
    const std::optional<int> parsed = Parse(text);
    return std::clamp(parsed ? *parsed : value(), minimum(), maximum());
}

QValidator::State CFG_Spin_Box::validate(QString& input, int& pos) const
{
    if (!Parse)
        return QSpinBox::validate(input, pos);
    return Parse(input) ? QValidator::Acceptable : QValidator::Intermediate;
}

// ---------------------------------------------------------------- form

struct Configuration_Tab_Form::Row
{
    QLabel* Label = nullptr;
    // Captions the label takes for other firmware versions: the caption
    // column is wide enough for each of them.
    QStringList Other_Captions;
    QString Label_Fallback;
    QString Hint;
    std::vector<QWidget*> Controls;
    int Slot = 0;
};

struct Configuration_Tab_Form::Group
{
    QGroupBox* Box = nullptr;
    QString Fallback;
    int Option_Row = 0;
    std::vector<Row> Rows;
    int Slots = 0;
};

struct Configuration_Tab_Form::Bound
{
    QWidget* Widget = nullptr;
    int Code = 0;
    bool CFG_Enabling::*Rule = nullptr;
    std::function<void(bool shortest)> Show;
};

Configuration_Tab_Form::Configuration_Tab_Form(QWidget* page, Quorel_Context& context, const Hot_Key_Actions& hot_keys)
    : QObject(page), context_(context), hot_keys_(hot_keys), editor_(std::make_unique<CFG_Editor>(context)), page_(page)
{
    setObjectName(QStringLiteral("Form_CFG_Editor"));
    editor_->Window_Enabled = [this]() { return !Window_Enabled || Window_Enabled(); };
    Build_Buttons(page);
    Build_Option_List(page);
    Build_Groups();
    Apply_Texts();
    texts_listener_ = std::make_unique<Texts_Listener>([this]() { Apply_Texts(); });
    connect(editor_.get(), &CFG_Editor::Lock_Changed, this, [this]() { Lock_Changed(); });
    connect(&context_, &Quorel_Context::Config_Updated, this, [this]() { Show(); });
    connect(&context_, &Quorel_Context::Panels_Updated, this, [this]() { Apply_Enabling(); });
    Select_Option(0);
    Show();
}

Configuration_Tab_Form::~Configuration_Tab_Form() = default;

void Configuration_Tab_Form::Build_Buttons(QWidget* page)
{
    for (int i = 0; i < 5; ++i) {
        auto* button = new QPushButton(page);
        button->setObjectName(QLatin1String(Main_Buttons[i].Name));
        button->setGeometry(Button_Column_X, 4 + i * 34, Button_Column_Width, 28);
        button->installEventFilter(this);
        button->setProperty("cfg_hint", QString::fromLatin1(Main_Buttons[i].Name) + QStringLiteral("_Hint"));
        connect(button, &QPushButton::clicked, this, [this, i]() {
            const std::function<void()>* actions[5] = {&hot_keys_.CFG_Transmit, &hot_keys_.CFG_Receive,
                                                       &hot_keys_.CFG_Save, &hot_keys_.CFG_Load,
                                                       &hot_keys_.CFG_Defaults};
            if (*actions[i])
                (*actions[i])();
        });
    }
}

void Configuration_Tab_Form::Build_Option_List(QWidget* page)
{
    auto* list_panel = new QFrame(page);
    list_panel->setObjectName(QStringLiteral("Panel_CFG_Options_List"));
    list_panel->setGeometry(Options_List_Rect);
    option_list_ = new QListWidget(list_panel);
    option_list_->setObjectName(QStringLiteral("ListBox_CFG_Options"));
    option_list_->setGeometry(0, 0, Options_List_Rect.width(), Options_List_Rect.height());
    for (const Option_Row_Text& row : Option_Row_Texts)
        option_list_->addItem(Caption_Text(QLatin1String(row.Key), QLatin1String(row.English)));
    connect(option_list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            Select_Option(row);
    });

    options_area_ = new QFrame(page);
    options_area_->setObjectName(QStringLiteral("Panel_CFG_Options"));
    options_area_->setGeometry(Options_Area_Rect);

    auto* help = new QFrame(page);
    help->setObjectName(QStringLiteral("Panel_CFG_Help"));
    help->setFrameShape(QFrame::StyledPanel);
    help->setGeometry(Help_Rect);
    help_label_ = new QLabel(help);
    help_label_->setObjectName(QStringLiteral("Label_CFG_Help"));
    help_label_->setWordWrap(true);
    help_label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help_label_->setGeometry(6, 4, Help_Rect.width() - 12, Help_Rect.height() - 8);

    // Client search (rows 14 to 16).
    const int y = Options_List_Rect.bottom() + 4;
    auto* find_box = new QLineEdit(page);
    find_box->setObjectName(QStringLiteral("Edit_CFG_User_Find"));
    find_box->setGeometry(4, y, 150, 22);
    client_widgets_.push_back(find_box);
    const char* names[4] = {"Button_CFG_User_Find", "Button_CFG_User_Again", "Button_CFG_User_New",
                            "Button_CFG_User_Archive"};
    const char* hints[4] = {"User_Find_Hint", "User_Again_Hint", "User_New_Hint", "User_Archive_Hint"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(page);
        button->setObjectName(QLatin1String(names[i]));
        button->setGeometry(4 + (i % 2) * 76, y + 26 + (i / 2) * 28, 74, 26);
        button->setProperty("cfg_hint", QLatin1String(hints[i]));
        button->installEventFilter(this);
        client_widgets_.push_back(button);
    }
}

Configuration_Tab_Form::Group& Configuration_Tab_Form::New_Group(int option_row, const char* name)
{
    auto group = std::make_unique<Group>();
    group->Box = new QGroupBox(options_area_);
    group->Box->setObjectName(QLatin1String(name));
    group->Box->setTitle(Caption_Text(QLatin1String(name), QLatin1String(name)));
    group->Option_Row = option_row;
    groups_.push_back(std::move(group));
    return *groups_.back();
}

void Configuration_Tab_Form::Add_Row(Group& group, const char* label, const char* hint, std::vector<QWidget*> controls,
                                     const char* fallback, int same_slot_as)
{
    Row row;
    row.Label = new QLabel(group.Box);
    row.Label->setObjectName(QLatin1String(label));
    row.Label_Fallback = QLatin1String(fallback ? fallback : label);
    row.Label->setText(Caption_Text(row.Label->objectName(), row.Label_Fallback));
    row.Hint = QLatin1String(hint);
    row.Label->setProperty("cfg_hint", row.Hint);
    row.Label->installEventFilter(this);
    for (QWidget* control : controls) {
        control->setParent(group.Box);
        control->setProperty("cfg_hint", row.Hint);
        control->setProperty("cfg_label", QVariant::fromValue<QObject*>(row.Label));
        control->installEventFilter(this);
        Set_Hint(control, row.Hint);
    }
    row.Controls = std::move(controls);
    row.Slot = same_slot_as >= 0 ? group.Rows[size_t(same_slot_as)].Slot : group.Slots++;
    group.Rows.push_back(std::move(row));
}

void Configuration_Tab_Form::Layout_Group(Group& group, QWidget* area, QPoint at)
{
    const QFontMetrics metrics(group.Box->font());
    int label_width = 0;
    for (const Row& row : group.Rows) {
        label_width = std::max(label_width, metrics.horizontalAdvance(row.Label->text()) + 8);
        for (const QString& caption : row.Other_Captions)
            label_width = std::max(label_width, metrics.horizontalAdvance(caption) + 8);
    }
    int width = metrics.horizontalAdvance(group.Box->title()) + 24;
    for (Row& row : group.Rows) {
        const int y = Group_Top + row.Slot * Row_Pitch;
        row.Label->setGeometry(8, y, label_width, Row_Height);
        // A row without a caption starts its controls at the left edge.
        int x = row.Label->text().trimmed().isEmpty() ? 8 : 8 + label_width + 4;
        for (QWidget* control : row.Controls) {
            int w = control->width();
            if (auto* button = qobject_cast<QPushButton*>(control))
                w = std::max(w, metrics.horizontalAdvance(button->text()) + 16);
            control->setGeometry(x, y, w, Row_Height);
            x += w + 4;
        }
        width = std::max(width, x + 4);
    }
    const int height = Group_Top + group.Slots * Row_Pitch + 4;
    if (at.x() < 0)
        at = QPoint(std::max(0, (area->width() - width) / 2), std::max(0, (area->height() - height) / 2));
    group.Box->setGeometry(at.x(), at.y(), width, height);
}

CFG_Spin_Box* Configuration_Tab_Form::Int_Spin(const char* name, int Configuration_Class::*member, int divisor,
                                               int decimals, bool whole_tenths, int width)
{
    auto* spin = new CFG_Spin_Box(page_);
    spin->setObjectName(QLatin1String(name));
    spin->resize(width, Row_Height);
    const Int_Field_Description* field = member ? Find_Int_Field(member) : nullptr;
    if (field) {
        spin->setRange(field->Min, field->Max);
        spin->setSingleStep(std::max(1, field->Step));
    }
    if (divisor != 1 || decimals != 0 || whole_tenths) {
        spin->Format = [divisor, decimals, whole_tenths](int value, bool shortest) {
            const int shown = whole_tenths ? value / 10 * 10 : value;
            return Decimal_Text(double(shown) / divisor, decimals, shortest);
        };
        spin->Parse = [divisor](const QString& text) -> std::optional<int> {
            const std::optional<double> value = Parse_Decimal(text);
            if (!value)
                return std::nullopt;
            return int(std::clamp(std::llround(*value * divisor), -(1LL << 30), 1LL << 30));
        };
    }
    if (member) {
        connect(spin, &QSpinBox::valueChanged, this, [this, spin, member](int value) {
            editor_->Edit_Int(member, value);
            After_Edit(spin);
        });
        Bind(spin, Parameter_Code_Of(member));
        bound_.back().Show = [this, spin, member](bool shortest) {
            spin->Shortest = shortest;
            spin->setValue(context_.Config_Data.*member);
        };
    }
    return spin;
}

QCheckBox* Configuration_Tab_Form::Flag_Box(const char* name, bool Configuration_Class::*member)
{
    auto* box = new QCheckBox(page_);
    box->setObjectName(QLatin1String(name));
    box->resize(22, Row_Height);
    connect(box, &QCheckBox::clicked, this, [this, box, member](bool on) {
        editor_->Edit_Flag(member, on);
        if (member == &C::Petrol_Pass_ON && On_Pairs_In_Parallel)
            On_Pairs_In_Parallel(on);
        After_Edit(box);
    });
    Bind(box, Parameter_Code_Of(member));
    bound_.back().Show = [this, box, member](bool) { box->setChecked(context_.Config_Data.*member); };
    return box;
}

QComboBox* Configuration_Tab_Form::List_Box(const char* name, Option_List list, int width)
{
    auto* combo = new QComboBox(page_);
    combo->setObjectName(QLatin1String(name));
    combo->resize(width, Row_Height);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(Option_Texts(list));
    QString Configuration_Class::*member = nullptr;
    int code = 0;
    switch (list) {
    case Option_List::RPM_Divider: member = &C::RPM_Divider; code = '^'; break;
    case Option_List::Inject_Type: member = &C::Inject_Type; code = 'e'; break;
    case Option_List::Pump_Type: member = &C::Pump_Type; code = 'g'; break;
    case Option_List::Level_Type: member = &C::Level_Type; code = '^'; break;
    case Option_List::MAP_Sensor_Type: member = &C::MAP_Sensor_Type; code = 'h'; break;
    case Option_List::Lambda_Type: member = &C::Lambda_Type; code = 'h'; break;
    }
    auto show = [this, combo, member](bool) {
        const QString& stored = context_.Config_Data.*member;
        const int index = combo->findText(stored, Qt::MatchExactly);
        combo->setCurrentIndex(index);
        combo->setEditText(stored);
    };
    auto take = [this, combo, list, member, show](const QString& text) {
        if (text == context_.Config_Data.*member)
            return;
        if (!editor_->Edit_List(list, text)) {
            const QSignalBlocker blocker(combo);
            show(false);
            return;
        }
        After_Edit(combo);
    };
    connect(combo, &QComboBox::activated, this, [combo, take](int index) { take(combo->itemText(index)); });
    connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [combo, take]() { take(combo->currentText()); });
    Bind(combo, code);
    bound_.back().Show = show;
    return combo;
}

QPushButton* Configuration_Tab_Form::Button(const char* name, const char* fallback, int width)
{
    auto* button = new QPushButton(page_);
    button->setObjectName(QLatin1String(name));
    button->setText(Caption_Text(button->objectName(), QLatin1String(fallback)));
    button->setProperty("cfg_fallback", QLatin1String(fallback));
    const QFontMetrics metrics(button->font());
    button->resize(std::max(width, metrics.horizontalAdvance(button->text()) + 16), Row_Height);
    return button;
}

QLineEdit* Configuration_Tab_Form::Text_Box(const char* name, QString Configuration_Class::*member, int width)
{
    auto* edit = new QLineEdit(page_);
    edit->setObjectName(QLatin1String(name));
    edit->resize(width, Row_Height);
    if (member) {
        connect(edit, &QLineEdit::textEdited, this, [this, member](const QString& text) {
            context_.Config_Data.*member = text;
        });
        Bind(edit, 0);
        bound_.back().Show = [this, edit, member](bool) { edit->setText(context_.Config_Data.*member); };
    }
    text_order_.push_back(edit);
    edit->installEventFilter(this);
    return edit;
}

void Configuration_Tab_Form::Bind(QWidget* widget, int code, bool CFG_Enabling::*rule)
{
    Bound bound;
    bound.Widget = widget;
    bound.Code = code;
    bound.Rule = rule;
    bound_.push_back(std::move(bound));
}

void Configuration_Tab_Form::Build_Groups()
{
    auto rule = [this](QWidget* widget, bool CFG_Enabling::*r) {
        for (Bound& bound : bound_)
            if (bound.Widget == widget)
                bound.Rule = r;
    };
    using E = CFG_Enabling;

    // 1 RPM source
    {
        Group& g = New_Group(0, "GroupBox_CFG_RPM_Source");
        QComboBox* divider = List_Box("ComboBox_CFG_RPM_Divider", Option_List::RPM_Divider, 70);
        Add_Row(g, "Label_CFG_RPM_Prescaler", "RPM_Prescaler_Hint", {divider});
        CFG_Spin_Box* threshold = Int_Spin("UpDown_CFG_RPM_Sensitiv", &C::RPM_Sensitiv, 100, 2);
        const Int_Field_Description* field = Find_Int_Field(&C::RPM_Sensitiv);
        threshold->Step = [field](int value, int steps) {
            for (; steps > 0; --steps)
                value = Step_Up(*field, value);
            for (; steps < 0; ++steps)
                value = Step_Down(*field, value);
            return value;
        };
        rule(threshold, &E::RPM_Threshold);
        rpm_set_ = Button("Button_CFG_RPM_set", "Set", 50);
        QPushButton* scaler = Button("Button_CFG_RPM_Scaler", "Scaler", 60);
        connect(rpm_set_, &QPushButton::clicked, this, [this]() {
            if (On_RPM_Diagnostics)
                On_RPM_Diagnostics();
        });
        connect(scaler, &QPushButton::clicked, this, [this]() {
            if (On_RPM_Scaler)
                On_RPM_Scaler();
        });
        Add_Row(g, "Label_CFG_RPM_Sensitiv", "RPM_Sensitiv_Hint", {threshold, rpm_set_, scaler});
        Add_Row(g, "Label_CFG_RPM_Virtual_ON", "RPM_Virtual_ON_Hint",
                {Flag_Box("CheckBox_CFG_RPM_Virtual_ON", &C::RPM_Virtual_ON)});
        Add_Row(g, "Label_CFG_RPM_AutoFilter_ON", "RPM_AutoFilter_ON_Hint",
                {Flag_Box("CheckBox_CFG_RPM_AutoFilter_ON", &C::RPM_AutoFilter_ON)});
        CFG_Spin_Box* filter = Int_Spin("UpDown_CFG_RPM_Filter", &C::RPM_Filter, 10, 1);
        rule(filter, &E::RPM_Filter);
        Add_Row(g, "Label_CFG_RPM_Filter", "RPM_Filter_Hint", {filter});
    }
    // 2 petrol -> gas
    {
        Group& g = New_Group(1, "GroupBox_CFG_Switch_PG");
        Add_Row(g, "Label_CFG_PG_DualFuelInject_ON", "PG_DualFuelInject_ON_Hint",
                {Flag_Box("CheckBox_CFG_PG_DualFuelInject_ON", &C::PG_DualFuelInject_ON)});
        Add_Row(g, "Label_CFG_PG_PressInject", "PG_PressInject_Hint",
                {Int_Spin("UpDown_CFG_PG_PressInject", &C::PG_PressInject, 100, 1, true)});
        Add_Row(g, "Label_CFG_PG_RPM", "PG_RPM_Hint", {Int_Spin("UpDown_CFG_PG_RPM", &C::PG_RPM)});
        Add_Row(g, "Label_CFG_PG_Time", "PG_Time_Hint", {Int_Spin("UpDown_CFG_PG_Time", &C::PG_Time, 10, 1)});
        Add_Row(g, "Label_CFG_PG_Delay", "PG_Delay_Hint", {Int_Spin("UpDown_CFG_PG_Delay", &C::PG_Delay)});
        CFG_Spin_Box* priming = Int_Spin("UpDown_CFG_PG_PrimingTime", &C::PG_PrimingTime);
        rule(priming, &E::Priming_Time);
        QPushButton* table = Button("Button_CFG_PG_PrimingTime", "...", 30);
        Bind(table, 0, &E::Priming_Table);
        connect(table, &QPushButton::clicked, this, [this]() {
            if (On_Priming_Table)
                On_Priming_Table();
        });
        Add_Row(g, "Label_CFG_PG_PrimingTime", "PG_PrimingTime_Hint", {priming, table});
        Add_Row(g, "Label_CFG_PG_GAS_Accident_ON", "PG_GAS_Accident_ON_Hint",
                {Flag_Box("CheckBox_CFG_PG_GAS_Accident_ON", &C::PG_GAS_Accident_ON)});
        CFG_Spin_Box* accident_num = Int_Spin("UpDown_CFG_PG_GAS_Accident_Num", &C::PG_GAS_Accident_Num);
        rule(accident_num, &E::PG_GAS_Accident_Num);
        Add_Row(g, "Label_CFG_PG_GAS_Accident_Num", "PG_GAS_Accident_Num_Hint", {accident_num});
        accident_count_ = new QLineEdit(page_);
        accident_count_->setObjectName(QStringLiteral("Edit_CFG_PG_GAS_Accident_Cnt"));
        accident_count_->setReadOnly(true);
        accident_count_->resize(50, Row_Height);
        QPushButton* clear = Button("Button_CFG_PG_GAS_Accident_Clr", "Clear");
        connect(clear, &QPushButton::clicked, this, [this]() {
            if (!context_.ECU_Connected)
                return;
            accident_count_->setText(QStringLiteral("0"));
            editor_->Accident_Clear();
            Update_Accessible();
        });
        Add_Row(g, "Label_CFG_PG_GAS_Accident_Cnt", "PG_GAS_Accident_Cnt_Hint", {accident_count_, clear});
        Add_Row(g, "Label_CFG_PG_GAS_Hot_Engine_ON", "PG_GAS_Hot_Engine_ON_Hint",
                {Flag_Box("CheckBox_CFG_PG_GAS_Hot_Engine_ON", &C::PG_GAS_Hot_Engine_ON)});
    }
    // 3 gas -> petrol
    {
        Group& g = New_Group(2, "GroupBox_CFG_Switch_GP");
        Add_Row(g, "Label_CFG_GP_Buzzer_ON", "GP_Buzzer_ON_Hint",
                {Flag_Box("CheckBox_CFG_GP_Buzzer_ON", &C::GP_Buzzer_ON)});
        CFG_Spin_Box* more = Int_Spin("UpDown_CFG_GP_PressMore", &C::GP_PressMore);
        rule(more, &E::GP_PressMore);
        Add_Row(g, "Label_CFG_GP_PressMore", "GP_PressMore_Hint",
                {Flag_Box("CheckBox_CFG_GP_PressMore_ON", &C::GP_PressMore_ON), more});
        CFG_Spin_Box* less = Int_Spin("UpDown_CFG_GP_PressLess", &C::GP_PressLess, 100, 1, true);
        rule(less, &E::GP_PressLess);
        Add_Row(g, "Label_CFG_GP_PressLess", "GP_PressLess_Hint",
                {Flag_Box("CheckBox_CFG_GP_PressLess_ON", &C::GP_PressLess_ON), less});
        Add_Row(g, "Label_CFG_GP_Time", "GP_Time_Hint", {Int_Spin("UpDown_CFG_GP_Time", &C::GP_Time)});
        Add_Row(g, "Label_CFG_GP_PressLow_ON", "GP_PressDrop_Hint",
                {Flag_Box("CheckBox_CFG_GP_PressLow_ON", &C::GP_PressLow_ON)}, "Pressure drop/rise");
        struct Low
        {
            const char* label;
            const char* hint;
            const char* name;
            int C::*member;
            int divisor, decimals;
            bool tenths;
        };
        const Low lows[] = {
            {"Label_CFG_GP_PressDrop", "GP_PressDrop_Hint", "UpDown_CFG_GP_PressDrop", &C::GP_PressDrop, 100, 1, true},
            {"Label_CFG_GP_PressRise", "GP_PressRise_Hint", "UpDown_CFG_GP_PressRise", &C::GP_PressRise, 100, 1, true},
            {"Label_CFG_GP_PressInit", "GP_PressInit_Hint", "UpDown_CFG_GP_PressInit", &C::GP_PressInit, 100, 1, true},
            {"Label_CFG_GP_MinPetTime", "GP_MinPetTime_Hint", "UpDown_CFG_GP_MinPetTime", &C::GP_MinPetTime, 10, 1,
             false},
            {"Label_CFG_GP_MinGasTime", "GP_MinGasTime_Hint", "UpDown_CFG_GP_MinGasTime", &C::GP_MinGasTime, 10, 1,
             false},
            {"Label_CFG_GP_MaxPetTime", "GP_MaxPetTime_Hint", "UpDown_CFG_GP_MaxPetTime", &C::GP_MaxPetTime, 10, 1,
             false},
            {"Label_CFG_GP_StoreInterval", "GP_StoreInterval_Hint", "UpDown_CFG_GP_StoreInterval",
             &C::GP_StoreInterval, 10, 1, false},
            {"Label_CFG_GP_BackStepNum", "GP_BackStepNum_Hint", "UpDown_CFG_GP_BackStepNum", &C::GP_BackStepNum, 1, 0,
             false},
        };
        for (const Low& low : lows) {
            CFG_Spin_Box* spin = Int_Spin(low.name, low.member, low.divisor, low.decimals, low.tenths);
            rule(spin, &E::GP_PressLow_Fields);
            Add_Row(g, low.label, low.hint, {spin});
            if (low.member == &C::GP_PressInit) {
                press_init_label_ = g.Rows.back().Label;
                g.Rows.back().Other_Captions = {
                    Caption_Text(QStringLiteral("Label_CFG_GP_PressRestart"), QStringLiteral("Label_CFG_GP_PressRestart"))};
            }
        }
    }
    // 4 temporary switching and dual fuel
    {
        Group& g = New_Group(3, "GroupBox_CFG_Switch_GPG");
        Add_Row(g, "Label_CFG_GPG_RPM_ON", "GPG_RPM_ON_Hint",
                {Flag_Box("CheckBox_CFG_GPG_RPM_Temp_ON", &C::GPG_RPM_Temp_ON)});
        CFG_Spin_Box* petrol = Int_Spin("UpDown_CFG_GPG_RPM_Petrol", &C::GPG_RPM_Petrol);
        CFG_Spin_Box* gas = Int_Spin("UpDown_CFG_GPG_RPM_Gas", &C::GPG_RPM_Gas);
        rule(petrol, &E::GPG_RPM_Temp_Fields);
        rule(gas, &E::GPG_RPM_Temp_Fields);
        Add_Row(g, "Label_CFG_GPG_RPM_Petrol", "GPG_RPM_Petrol_Hint", {petrol});
        Add_Row(g, "Label_CFG_GPG_RPM_Gas", "GPG_RPM_Gas_Hint", {gas});
        CFG_Spin_Box* idle = Int_Spin("UpDown_CFG_GPG_RPM_Idle", &C::GPG_RPM_Idle);
        rule(idle, &E::GPG_RPM_Idle);
        Add_Row(g, "Label_CFG_GPG_RPM_Idle_ON", "GPG_RPM_Idle_ON_Hint",
                {Flag_Box("CheckBox_CFG_GPG_RPM_Idle_ON", &C::GPG_RPM_Idle_ON), idle});
        CFG_Spin_Box* cycles = Int_Spin("UpDown_CFG_GPG_CutOff_Cycles", &C::GPG_CutOff_Cycles);
        rule(cycles, &E::GPG_CutOff_Cycles);
        Add_Row(g, "Label_CFG_GPG_CutOff_Cycles_ON", "GPG_CutOff_Cycles_ON_Hint",
                {Flag_Box("CheckBox_CFG_GPG_CutOff_Cycles_ON", &C::GPG_CutOff_Cycles_ON), cycles});
        QCheckBox* two_fuel = Flag_Box("CheckBox_CFG_GPG_2Fuel_ON", &C::GPG_2Fuel_ON);
        rule(two_fuel, &E::GPG_2Fuel_Box);
        Add_Row(g, "Label_CFG_GPG_2Fuel_ON", "GPG_2Fuel_ON_Hint", {two_fuel});

        // Temperature below minor 19, delay from 19 on: the member follows the version.
        two_fuel_temperature_ = Int_Spin("UpDown_CFG_GPG_2Fuel_Temp", nullptr);
        connect(two_fuel_temperature_, &QSpinBox::valueChanged, this, [this](int value) {
            editor_->Edit_Int(Two_Fuel_Temperature_Field(context_.Config_Data.Version_Number), value);
            After_Edit(two_fuel_temperature_);
        });
        Bind(two_fuel_temperature_, 'n', &E::GPG_2Fuel_Temperature);
        bound_.back().Show = [this](bool) {
            two_fuel_temperature_->setValue(
                context_.Config_Data.*Two_Fuel_Temperature_Field(context_.Config_Data.Version_Number));
        };
        Add_Row(g, "Label_CFG_GPG_2Fuel_Temp", "GPG_2Fuel_Temp_Hint", {two_fuel_temperature_});
        two_fuel_temperature_label_ = g.Rows.back().Label;
        g.Rows.back().Other_Captions = {
            Caption_Text(QStringLiteral("Label_CFG_GPG_2Fuel_Delay"), QStringLiteral("Label_CFG_GPG_2Fuel_Delay"))};

        CFG_Spin_Box* period = Int_Spin("UpDown_CFG_GPG_2Fuel_Period", &C::GPG_2Fuel_Period);
        rule(period, &E::GPG_2Fuel_Fields);
        Add_Row(g, "Label_CFG_GPG_2Fuel_Period", "GPG_2Fuel_Period_Hint", {period});
        CFG_Spin_Box* rpm1 = Int_Spin("UpDown_CFG_GPG_2Fuel_RPM_1", &C::GPG_2Fuel_RPM_1);
        CFG_Spin_Box* rpm2 = Int_Spin("UpDown_CFG_GPG_2Fuel_RPM_2", &C::GPG_2Fuel_RPM_2);
        CFG_Spin_Box* pet1 = Int_Spin("UpDown_CFG_GPG_2Fuel_Petrol_1", &C::GPG_2Fuel_Petrol_1, 1000, 2, false);
        CFG_Spin_Box* pet2 = Int_Spin("UpDown_CFG_GPG_2Fuel_Petrol_2", &C::GPG_2Fuel_Petrol_2, 1000, 2, false);
        // (value div 10) / 100: ms with two decimals.
        for (CFG_Spin_Box* spin : {pet1, pet2})
            spin->Format = [](int value, bool shortest) { return Decimal_Text((value / 10) / 100.0, 2, shortest); };
        for (QWidget* spin : {static_cast<QWidget*>(rpm1), static_cast<QWidget*>(rpm2),
                              static_cast<QWidget*>(pet1), static_cast<QWidget*>(pet2)})
            rule(spin, &E::GPG_2Fuel_Fields);
        Add_Row(g, "Label_CFG_GPG_2Fuel_RPM", "GPG_2Fuel_RPM_Hint", {rpm1, rpm2});
        Add_Row(g, "Label_CFG_GPG_2Fuel_Petrol", "GPG_2Fuel_Petrol_Hint", {pet1, pet2});
        std::vector<QWidget*> times;
        const std::pair<const char*, int C::*> time_fields[4] = {
            {"UpDown_CFG_GPG_2Fuel_Time_11", &C::GPG_2Fuel_Time_11},
            {"UpDown_CFG_GPG_2Fuel_Time_12", &C::GPG_2Fuel_Time_12},
            {"UpDown_CFG_GPG_2Fuel_Time_21", &C::GPG_2Fuel_Time_21},
            {"UpDown_CFG_GPG_2Fuel_Time_22", &C::GPG_2Fuel_Time_22}};
        for (const auto& [name, member] : time_fields) {
            CFG_Spin_Box* spin = Int_Spin(name, member, 1, 0, false, 48);
            rule(spin, &E::GPG_2Fuel_Fields);
            times.push_back(spin);
        }
        Add_Row(g, "Label_CFG_GPG_2Fuel_Time", "GPG_2Fuel_Time_Hint", times);
    }
    // 5 gas injectors
    {
        Group& g = New_Group(4, "GroupBox_CFG_Gas_Injectors");
        Add_Row(g, "Label_CFG_Inject_Type", "Inject_Type_Hint",
                {List_Box("ComboBox_CFG_Inject_Type", Option_List::Inject_Type, 220)});
        inject_num_ = Int_Spin("UpDown_CFG_Inject_Num", &C::Inject_Num);
        inject_num_->Step = [this](int value, int steps) {
            const Configuration_Class& config = context_.Config_Data;
            for (; steps != 0; steps += steps > 0 ? -1 : 1)
                value = Next_Inject_Num(value, steps, config.Petrol_Pass_ON, config.Version_Number);
            return value;
        };
        Add_Row(g, "Label_CFG_Inject_Number", "Inject_Num_Hint", {inject_num_});
        Add_Row(g, "Label_CFG_Inject_Range", "Inject_Range_Hint",
                {Int_Spin("UpDown_CFG_Inject_Range", &C::Inject_Range)});
        CFG_Spin_Box* start = Int_Spin("UpDown_CFG_Inject_Start", &C::Inject_Start);
        rule(start, &E::Inject_Another_Fields);
        Add_Row(g, "Label_CFG_Inject_Start", "Inject_Start_Hint", {start});

        inject_duty_ = Int_Spin("UpDown_CFG_Inject_Duty", nullptr);
        inject_duty_->setRange(0, 100);
        connect(inject_duty_, &QSpinBox::valueChanged, this, [this](int percent) {
            editor_->Edit_Inject_Duty_Percent(percent);
            After_Edit(inject_duty_);
        });
        Bind(inject_duty_, 'T', &E::Inject_Another_Fields);
        bound_.back().Show = [this](bool) {
            inject_duty_->setValue(
                Inject_Duty_Percent(context_.Config_Data.Inject_Duty, context_.Config_Data.Inject_Period));
        };
        Add_Row(g, "Label_CFG_Inject_PWM_DutyCycle", "Inject_Duty_Hint", {inject_duty_});

        // The period shown as its frequency in kHz; typing a frequency sets the period.
        inject_period_ = Int_Spin("UpDown_CFG_Inject_Period", &C::Inject_Period);
        inject_period_->Format = [](int value, bool) { return Frequency_Text(value); };
        inject_period_->Parse = [](const QString& text) -> std::optional<int> {
            const std::optional<double> kilohertz = Parse_Decimal(text);
            if (!kilohertz)
                return std::nullopt;
            if (*kilohertz <= 0.0)
                return 32000;
            return int(std::clamp(std::llround(16000.0 / *kilohertz), 1LL, 32000LL));
        };
        // Up raises the frequency.
        inject_period_->Step = [](int value, int steps) { return std::clamp(value - steps, 1, 32000); };
        rule(inject_period_, &E::Inject_Another_Fields);
        Add_Row(g, "Label_CFG_Inject_PWM_Freq", "Inject_Period_Hint", {inject_period_});

        QCheckBox* delay_on = Flag_Box("CheckBox_CFG_Inject_Delay_ON", &C::Inject_Delay_ON);
        rule(delay_on, &E::Inject_Delay_Box);
        inject_delay_ = Int_Spin("UpDown_CFG_Inject_Delay", nullptr, 1000, 1);
        inject_delay_->setRange(200, 32000);
        inject_delay_->setSingleStep(100);
        connect(inject_delay_, &QSpinBox::valueChanged, this, [this](int shown) {
            editor_->Edit_Inject_Delay_Shown(shown);
            After_Edit(inject_delay_);
        });
        Bind(inject_delay_, 'm', &E::Inject_Delay_Value);
        bound_.back().Show = [this](bool shortest) {
            inject_delay_->Shortest = shortest;
            inject_delay_->setValue(Inject_Delay_Shown(context_.Config_Data));
        };
        Add_Row(g, "Label_CFG_Inject_Delay_ON", "Inject_Delay_ON_Hint", {delay_on, inject_delay_});
    }
    // 6 petrol injection
    {
        Group& g = New_Group(5, "GroupBox_CFG_Petrol_Injection");
        polarity_plus_ = new QCheckBox(QStringLiteral("+"), page_);
        polarity_plus_->setObjectName(QStringLiteral("CheckBox_CFG_Polarity_Pulse_Plus"));
        polarity_plus_->resize(40, Row_Height);
        polarity_minus_ = new QCheckBox(QStringLiteral("-"), page_);
        polarity_minus_->setObjectName(QStringLiteral("CheckBox_CFG_Polarity_Pulse_Minus"));
        polarity_minus_->resize(40, Row_Height);
        auto* picture = new QLabel(page_);
        picture->setObjectName(QStringLiteral("Label_CFG_Polarity_Picture"));
        picture->resize(80, Row_Height);
        for (QCheckBox* box : {polarity_plus_, polarity_minus_}) {
            const bool positive = box == polarity_plus_;
            connect(box, &QCheckBox::clicked, this, [this, box, positive]() {
                editor_->Edit_Polarity(positive);
                After_Edit(box);
            });
            Bind(box, 'A');
        }
        bound_.back().Show = [this, picture](bool) {
            const bool positive = context_.Config_Data.Polarity_Pulse_ON;
            polarity_plus_->setChecked(positive);
            polarity_minus_->setChecked(!positive);
            picture->setText(Polarity_Picture(positive));
        };
        Add_Row(g, "Label_CFG_Polarity_Pulse", "Polarity_Pulse_Hint", {polarity_plus_, polarity_minus_, picture});
        const char* radio_names[3] = {"RadioButton_CFG_SequentInjection", "RadioButton_CFG_NoSequentInjection",
                                      "RadioButton_CFG_MonoInjection"};
        const char* radio_labels[3] = {"Label_CFG_SequentInjection", "Label_CFG_NoSequentInjection",
                                       "Label_CFG_MonoInjection"};
        const char* radio_hints[3] = {"SequentInjection_Hint", "NoSequentInjection_Hint", "MonoInjection_Hint"};
        for (int i = 0; i < 3; ++i) {
            auto* radio = new QRadioButton(page_);
            radio->setObjectName(QLatin1String(radio_names[i]));
            radio->resize(22, Row_Height);
            mode_radios_[i] = radio;
            connect(radio, &QRadioButton::clicked, this, [this, radio, i]() {
                editor_->Edit_Injection_Mode(Injection_Mode(i));
                After_Edit(radio);
            });
            Bind(radio, 'A');
            Add_Row(g, radio_labels[i], radio_hints[i], {radio});
        }
        bound_.back().Show = [this](bool) {
            const int mode = int(Injection_Mode_Of(context_.Config_Data));
            for (int i = 0; i < 3; ++i)
                mode_radios_[i]->setChecked(i == mode);
        };
        QCheckBox* filter_on = Flag_Box("CheckBox_CFG_Petrol_Filter_ON", &C::Petrol_Filter_ON);
        rule(filter_on, &E::Sequential_Boxes);
        CFG_Spin_Box* filter_time = Int_Spin("UpDown_CFG_Petrol_Filter_Time", &C::Petrol_Filter_Time, 1000, 1);
        rule(filter_time, &E::Petrol_Filter_Fields);
        Add_Row(g, "Label_CFG_Petrol_Filter_ON", "Petrol_Filter_ON_Hint", {filter_on, filter_time});
        CFG_Spin_Box* factor = Int_Spin("UpDown_CFG_Petrol_Filter_Factor", &C::Petrol_Filter_Factor, 100, 2);
        rule(factor, &E::Petrol_Filter_Fields);
        Add_Row(g, "Label_CFG_Petrol_Filter_Factor", "Petrol_Filter_Factor_Hint", {factor});
        QCheckBox* pass = Flag_Box("CheckBox_CFG_Petrol_Pass_ON", &C::Petrol_Pass_ON);
        rule(pass, &E::Petrol_Pass_Box);
        Add_Row(g, "Label_CFG_Petrol_Pass_ON", "Petrol_Pass_ON_Hint", {pass});
        QCheckBox* mazda = Flag_Box("CheckBox_CFG_MAZDA_Mode_ON", &C::MAZDA_Mode_ON);
        rule(mazda, &E::Sequential_Boxes);
        CFG_Spin_Box* mazda_factor = Int_Spin("UpDown_CFG_MAZDA_Mode_Factor", &C::MAZDA_Mode_Factor, 100, 2);
        rule(mazda_factor, &E::MAZDA_Factor);
        Add_Row(g, "Label_CFG_MAZDA_Mode_Factor", "MAZDA_Mode_Factor_Hint", {mazda, mazda_factor});
        QPushButton* detect = Button("Button_Inject_Detect", "Detect", 80);
        connect(detect, &QPushButton::clicked, this, [this]() {
            if (On_Inject_Detect)
                On_Inject_Detect();
        });
        Add_Row(g, "Label_CFG_Inject_Detect", "Button_Inject_Detect_Hint", {detect}, "Injection type");
    }
    // 7 gas pump
    {
        Group& g = New_Group(6, "GroupBox_CFG_Gas_Pump");
        Add_Row(g, "Label_CFG_Pump_Type", "Pump_Type_Hint",
                {List_Box("ComboBox_CFG_Pump_Type", Option_List::Pump_Type, 120)});
        Add_Row(g, "Label_CFG_Pump_Dry_Test_ON", "Pump_Dry_Test_ON_Hint",
                {Flag_Box("CheckBox_CFG_Pump_Dry_Test_ON", &C::Pump_Dry_Test_ON)});
        CFG_Spin_Box* measure = Int_Spin("UpDown_CFG_Pump_MeasureDelay", &C::Pump_MeasureDelay);
        CFG_Spin_Box* rise = Int_Spin("UpDown_CFG_Pump_PressRise", &C::Pump_PressRise, 100, 1, true);
        CFG_Spin_Box* time = Int_Spin("UpDown_CFG_Pump_Time", &C::Pump_Time, 10, 1);
        connect(time, &QSpinBox::valueChanged, this, [this]() {
            if (On_Pump_Time_Changed)
                On_Pump_Time_Changed(context_.Config_Data.Pump_Time);
        });
        for (QWidget* spin : {static_cast<QWidget*>(measure), static_cast<QWidget*>(rise), static_cast<QWidget*>(time)})
            rule(spin, &E::Pump_Dry_Fields);
        Add_Row(g, "Label_CFG_Pump_MeasureDelay", "Pump_MeasureDelay_Hint", {measure});
        Add_Row(g, "Label_CFG_Pump_PressRise", "Pump_PressRise_Hint", {rise});
        Add_Row(g, "Label_CFG_Pump_Time", "Pump_Time_Hint", {time});
        QCheckBox* hydr = Flag_Box("CheckBox_CFG_Pump_Hydr_Cond_ON", &C::Pump_Hydr_Cond_ON);
        rule(hydr, &E::Pump_Hydr_Cond_Box);
        Add_Row(g, "Label_CFG_Pump_Hydr_Cond_ON", "Pump_Hydr_Cond_ON_Hint", {hydr});
        CFG_Spin_Box* on_time = Int_Spin("UpDown_CFG_Pump_Hydr_Cond_Time_On", &C::Pump_Hydr_Cond_Time_On, 10, 1);
        CFG_Spin_Box* off_time = Int_Spin("UpDown_CFG_Pump_Hydr_Cond_Time_Off", &C::Pump_Hydr_Cond_Time_Off, 10, 1);
        rule(on_time, &E::Pump_Hydr_Cond_Times);
        rule(off_time, &E::Pump_Hydr_Cond_Times);
        Add_Row(g, "Label_CFG_Pump_Hydr_Cond_T_On", "Pump_Hydr_Cond_T_On_Hint", {on_time});
        Add_Row(g, "Label_CFG_Pump_Hydr_Cond_T_Off", "Pump_Hydr_Cond_T_Off_Hint", {off_time});
    }
    // 8 level sensor
    {
        Group& g = New_Group(7, "GroupBox_CFG_Gas_Level_Sensor");
        level_mode_ = new QLabel(page_);
        level_mode_->setObjectName(QStringLiteral("Label_CFG_Level_Mode"));
        level_mode_->resize(100, Row_Height);
        Add_Row(g, "Label_CFG_Level_Type", "Level_Hint",
                {List_Box("ComboBox_CFG_Level_Type", Option_List::Level_Type, 120), level_mode_}, "Level type");
        QCheckBox* invert = Flag_Box("CheckBox_CFG_Level_Invert", &C::Level_Invert);
        QCheckBox* low = Flag_Box("CheckBox_CFG_Level_90", &C::Level_90);
        auto* low_label = new QLabel(page_);
        low_label->setObjectName(QStringLiteral("Label_CFG_Level_90_ON"));
        low_label->setProperty("cfg_fallback", QStringLiteral("Level 90"));
        low_label->setText(Caption_Text(low_label->objectName(), QStringLiteral("Level 90")));
        low_label->resize(QFontMetrics(low_label->font()).horizontalAdvance(low_label->text()) + 8, Row_Height);
        Add_Row(g, "Label_CFG_Level_Invert_ON", "Level_Invert_Hint", {invert, low_label, low});
        const int sensor_row = int(g.Rows.size()) - 1;
        level_sensor_row_ = {g.Rows.back().Label, invert, low_label, low};
        level_reference_ = Int_Spin("UpDown_CFG_Level_Etalon", nullptr, 10, 1);
        level_reference_->setRange(0, Level_Reference_Max);
        connect(level_reference_, &QSpinBox::valueChanged, this, [this](int reference) {
            editor_->Edit_Level_Reference(reference);
            After_Edit(level_reference_);
        });
        Bind(level_reference_, 0);
        bound_.back().Show = [this](bool) {
            level_reference_->setValue(Level_Reference_Of(context_.Config_Data.GF_ETALON));
        };
        level_set_ = Button("Button_CFG_LevelSensor_Set", "Set", 50);
        QPushButton* level_clear = Button("Button_CFG_LevelSensor_Clr", "Clear", 50);
        connect(level_set_, &QPushButton::clicked, this, [this]() { editor_->Level_Reference_Set(); });
        connect(level_clear, &QPushButton::clicked, this, [this, level_clear]() {
            editor_->Level_Reference_Clear();
            After_Edit(level_clear);
        });
        Add_Row(g, "Label_CFG_Level_Etalon", "Level_Etalon_Hint", {level_reference_, level_set_, level_clear}, nullptr,
                sensor_row);
        level_software_row_ = {g.Rows.back().Label, level_reference_, level_set_, level_clear};
        Add_Row(g, "Label_CFG_Level_Buzzer_ON", "Level_Buzzer_ON_Hint",
                {Flag_Box("CheckBox_CFG_Level_Buzzer_ON", &C::Level_Buzzer_ON)});
        for (int k = 0; k < 5; ++k) {
            auto* slider = new QSlider(Qt::Horizontal, page_);
            slider->setObjectName(QStringLiteral("TrackBar_CFG_Level%1").arg(k + 1));
            slider->setRange(0, 1023);
            slider->resize(220, Row_Height);
            auto* volts = new QLabel(page_);
            volts->setObjectName(QStringLiteral("Label_CFG_Level%1_Volt").arg(k + 1));
            volts->resize(40, Row_Height);
            level_sliders_[k] = slider;
            level_volts_[k] = volts;
            int C::*member = Level_Fields[k];
            connect(slider, &QSlider::valueChanged, this, [this, slider, member](int value) {
                editor_->Edit_Int(member, value);
                After_Edit(slider);
            });
            Bind(slider, Parameter_Code_Of(member), &E::Level_Sliders);
            bound_.back().Show = [this, slider, volts, member, k](bool) {
                slider->setValue(context_.Config_Data.*member);
                volts->setText(Level_Volt_Text(k));
            };
            const QByteArray label = "Label_CFG_Level" + QByteArray::number(k + 1);
            const QByteArray number = QByteArray::number(k + 1);
            Add_Row(g, label.constData(), "Level_Hint", {slider, volts}, number.constData());
        }
        // The live level: the sensor value (or the software counter) and its
        // voltage, the marker picture and the driver's switch-panel lamps.
        auto live_box = [this](const char* name, int width) {
            auto* box = new QLineEdit(page_);
            box->setObjectName(QLatin1String(name));
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::NoFocus);
            box->resize(width, Row_Height);
            connect(box, &QLineEdit::textChanged, box, [box](const QString& text) { box->setAccessibleName(text); });
            return box;
        };
        Add_Row(g, "Label_CFG_Level_Current", "Level_Current_Hint", {live_box("Edit_CFG_Level_Current", 90)});
        Add_Row(g, "Label_CFG_Level_Current_Volt", "Level_Current_Volt_Hint", {live_box("Edit_CFG_Level0", 50)});
        auto* mimic = new QWidget(page_);
        mimic->setObjectName(QStringLiteral("Panel_CFG_Led_Mimic"));
        constexpr int Lamp_Size = 14;
        mimic->resize(7 * (Lamp_Size + 4), Row_Height);
        Build_Led_Mimic(mimic, QPoint(0, (Row_Height - Lamp_Size) / 2), Lamp_Size);
        auto* picture = new QLabel(page_);
        picture->setObjectName(QStringLiteral("Image_CFG_Level_Sensor_Current"));
        picture->setAutoFillBackground(true);
        picture->resize(60, Row_Height);
        picture->hide();
        Add_Row(g, "Label_CFG_Led_Mimic", "Level_Hint", {mimic, picture}, "Switch panel");
    }
    // 9 pressure sensor
    {
        Group& g = New_Group(8, "GroupBox_CFG_Pressure_Sensor");
        Add_Row(g, "Label_CFG_Press_Type", "Press_Type_Hint",
                {List_Box("ComboBox_CFG_Press_Type", Option_List::MAP_Sensor_Type, 140)});
        press_absolute_ = new QRadioButton(page_);
        press_absolute_->setObjectName(QStringLiteral("RadioButton_CFG_Press_Absolute"));
        press_absolute_->resize(22, Row_Height);
        press_relative_ = new QRadioButton(page_);
        press_relative_->setObjectName(QStringLiteral("RadioButton_CFG_Press_Relative"));
        press_relative_->resize(22, Row_Height);
        for (QRadioButton* radio : {press_absolute_, press_relative_}) {
            const bool absolute = radio == press_absolute_;
            connect(radio, &QRadioButton::clicked, this, [this, radio, absolute]() {
                editor_->Edit_C2_Absolute(absolute);
                After_Edit(radio);
            });
            Bind(radio, 0);
        }
        bound_.back().Show = [this](bool) {
            press_absolute_->setChecked(context_.Config_Data.MAP_Sensor_C2_Absolute);
            press_relative_->setChecked(!context_.Config_Data.MAP_Sensor_C2_Absolute);
        };
        Add_Row(g, "Label_CFG_Press_Absolute", "Press_Absolute_Hint", {press_absolute_}, "Absolute");
        Add_Row(g, "Label_CFG_Press_Relative", "Press_Relative_Hint", {press_relative_}, "Relative");
        CFG_Spin_Box* c1 = Int_Spin("UpDown_CFG_MAP_Sensor_C1", &C::MAP_Sensor_C1, 1000, 3);
        CFG_Spin_Box* c2 = Int_Spin("UpDown_CFG_MAP_Sensor_C2", &C::MAP_Sensor_C2, 1000, 3);
        // C2 is subtracted: shown negative, typed either way.
        c2->Format = [](int value, bool shortest) { return Decimal_Text(-value / 1000.0, 3, shortest); };
        c2->Parse = [](const QString& text) -> std::optional<int> {
            const std::optional<double> value = Parse_Decimal(text);
            if (!value)
                return std::nullopt;
            return int(std::min(std::llround(std::fabs(*value) * 1000), 1LL << 30));
        };
        press_bar_ = new QLineEdit(page_);
        press_bar_->setObjectName(QStringLiteral("Edit_CFG_Press_Bar"));
        press_bar_->setReadOnly(true);
        press_bar_->resize(70, Row_Height);
        // The sensor output converted with the coefficients as they stand,
        // so an edit of C1 or C2 shows its effect at once.
        for (CFG_Spin_Box* spin : {c1, c2})
            connect(spin, &QSpinBox::valueChanged, this, [this]() { Show_Live(); });
        // The live sensor output, to check the coefficients against.
        press_volt_ = new QLineEdit(page_);
        press_volt_->setObjectName(QStringLiteral("Edit_CFG_Press_Volt"));
        press_volt_->setReadOnly(true);
        press_volt_->setFocusPolicy(Qt::NoFocus);
        press_volt_->resize(70, Row_Height);
        Add_Row(g, "Label_CFG_Press_Volt", "Press_Volt_Hint", {press_volt_});
        Add_Row(g, "Label_CFG_MAP_Sensor_C1", "Press_Calc_Hint", {c1}, "C1");
        Add_Row(g, "Label_CFG_MAP_Sensor_C2", "Press_Calc_Hint", {c2}, "C2");
        Add_Row(g, "Label_CFG_Press_Bar", "Press_Bar_Hint", {press_bar_});
    }
    // 10 lambda sensor
    {
        Group& g = New_Group(9, "GroupBox_CFG_Lambda_Sensor");
        Add_Row(g, "Label_CFG_Lambda_ON", "Lambda_ON_Hint", {Flag_Box("CheckBox_CFG_Lambda_ON", &C::Lambda_ON)});
        Add_Row(g, "Label_CFG_Lambda_Type", "Lambda_Type_Hint",
                {List_Box("ComboBox_CFG_Lambda_Type", Option_List::Lambda_Type, 120)});
    }
    // 14 car, dates and service time
    auto* car_page = new QWidget(options_area_);
    car_page->setObjectName(QStringLiteral("Panel_CFG_Car"));
    car_page->setGeometry(0, 0, Options_Area_Rect.width(), Options_Area_Rect.height());
    Group* car = nullptr;
    Group* dates = nullptr;
    Group* service = nullptr;
    {
        Group& g = New_Group(13, "GroupBox_CFG_Car");
        car = &g;
        g.Box->setParent(car_page);
        car_num_ = Text_Box("Edit_CFG_Car_Num", nullptr, 80);
        car_num_->setMaxLength(Car_Num_Max_Length);
        file_status_ = new QLabel(page_);
        file_status_->setObjectName(QStringLiteral("Label_CFG_File_Status"));
        file_status_->resize(80, Row_Height);
        connect(car_num_, &QLineEdit::textEdited, this, [this](const QString& text) {
            const QString cut = editor_->Edit_Car_Num(text);
            if (cut != text)
                car_num_->setText(cut);
            car_num_->setAccessibleName(car_num_->text());
            Refresh_File_Status();
            Refresh_Car_Enabled();
        });
        Add_Row(g, "Label_CFG_Car_Num", "Car_Num_Hint", {car_num_, file_status_});
        QLineEdit* model = Text_Box("Edit_CFG_Car_Model", &C::Car_Model, 140);
        QLineEdit* engine = Text_Box("Edit_CFG_Car_Engine", &C::Car_Engine, 140);
        Add_Row(g, "Label_CFG_Car_Model", "Car_Model_Hint", {model});
        Add_Row(g, "Label_CFG_Car_Engine", "Car_Engine_Hint", {engine});
        Add_Row(g, "Label_CFG_Car_Injectors", "Car_Injectors_Hint", {});
        car_dependent_ = {model, engine};
    }
    {
        Group& g = New_Group(13, "GroupBox_CFG_Car_Date");
        dates = &g;
        g.Box->setParent(car_page);
        Add_Row(g, "Label_CFG_Car_Date_Current", "Car_Date_Save_Hint", {});
        date_today_ = g.Rows.back().Label;
        Add_Row(g, "Label_CFG_Car_Date_Save", "Car_Date_Save_Hint", {});
        date_save_ = g.Rows.back().Label;
        QLineEdit* mounting = Text_Box("Edit_CFG_Car_Date_Mounting_set", &C::Date_Mounting, 90);
        Add_Row(g, "Label_CFG_Car_Date_Mounting", "Car_Date_Mounting_Hint", {mounting});
        QPushButton* password = Button("Button_CFG_Car_Password", "Password", 90);
        connect(password, &QPushButton::clicked, this, [this]() {
            if (On_Password)
                On_Password();
        });
        Add_Row(g, "Label_CFG_Car_Password_Row", "Car_Password_Hint", {password}, " ");
        car_dependent_.push_back(mounting);
    }
    {
        Group& g = New_Group(13, "GroupBox_CFG_Service_Time");
        service = &g;
        g.Box->setParent(car_page);
        st_set_ = Int_Spin("UpDown_CFG_ST_Set", nullptr);
        st_set_->setRange(0, 32000);
        st_speed_ = Int_Spin("UpDown_CFG_ST_Speed", nullptr);
        st_speed_->setRange(0, 200);
        st_mileage_ = Int_Spin("UpDown_CFG_ST_Mileage", nullptr, 1, 0, false, 80);
        st_mileage_->setRange(0, 32000 * 200);
        st_mileage_->setSingleStep(100);
        st_mileage_->Format = {};
        st_mileage_->Parse = {};
        auto st_edit = [this](CFG_Spin_Box* spin, void (CFG_Editor::*edit)(int)) {
            connect(spin, &QSpinBox::valueChanged, this, [this, spin, edit](int value) {
                (editor_.get()->*edit)(value);
                After_Edit(spin);
            });
        };
        st_edit(st_set_, &CFG_Editor::Edit_ST_Set);
        st_edit(st_speed_, &CFG_Editor::Edit_ST_Speed);
        st_edit(st_mileage_, &CFG_Editor::Edit_ST_Mileage);
        Bind(st_set_, 0);
        bound_.back().Show = [this](bool) {
            const QSignalBlocker speed(st_speed_), mileage(st_mileage_), block(st_block_);
            st_set_->setValue(context_.Config_Data.ST_Set);
            st_speed_->setValue(context_.Config_Data.ST_Speed);
            st_mileage_->setValue(editor_->ST_Mileage());
            st_block_->setChecked(context_.Config_Data.ST_Block_Gas);
            st_remains_->setText(Caption_Text(QStringLiteral("Label_CFG_ST_Remains"), QStringLiteral("Remains")) +
                                 QChar(' ') +
                                 QLocale::system().toString(context_.Config_Data.ST_Remains / 60.0, 'f', 2));
        };
        Bind(st_speed_, 0);
        Bind(st_mileage_, 0);
        Add_Row(g, "Label_CFG_ST_Set", "ST_Hour_Hint", {st_set_});
        Add_Row(g, "Label_CFG_ST_Speed", "ST_Calc_Hint", {st_speed_});
        Add_Row(g, "Label_CFG_ST_Mileage", "ST_Calc_Hint", {st_mileage_});
        Add_Row(g, "Label_CFG_ST_Remains", "ST_Remains_Hint", {});
        st_remains_ = g.Rows.back().Label;
        st_block_ = new QCheckBox(page_);
        st_block_->setObjectName(QStringLiteral("CheckBox_CFG_ST_Block_Gas"));
        st_block_->resize(22, Row_Height);
        connect(st_block_, &QCheckBox::clicked, this, [this](bool on) {
            editor_->Edit_ST_Block_Gas(on);
            After_Edit(st_block_);
        });
        Add_Row(g, "Label_CFG_ST_Block_Gas", "ST_Block_Hint", {st_block_});
        QPushButton* set = Button("Button_CFG_ST_Set", "Set", 50);
        QPushButton* clear = Button("Button_CFG_ST_Clr", "Clear", 50);
        QPushButton* refresh = Button("Button_CFG_ST_Refresh", "Refresh", 50);
        connect(set, &QPushButton::clicked, this, [this, set]() {
            editor_->ST_Set();
            After_Edit(set);
        });
        connect(clear, &QPushButton::clicked, this, [this, clear]() {
            editor_->ST_Clear();
            After_Edit(clear);
        });
        connect(refresh, &QPushButton::clicked, this, [this]() { editor_->ST_Refresh(); });
        Add_Row(g, "Label_CFG_ST_Buttons", "ST_Set_Hint", {set}, " ");
        Add_Row(g, "Label_CFG_ST_Buttons_Clr", "ST_Clr_Hint", {clear}, " ");
        Add_Row(g, "Label_CFG_ST_Buttons_Refresh", "ST_Refresh_Hint", {refresh}, " ");
    }
    // 15 owner, 16 comments
    {
        Group& g = New_Group(14, "GroupBox_CFG_Owner");
        QLineEdit* name = Text_Box("Edit_CFG_Owner_Name", &C::User_Name, 300);
        QLineEdit* phone = Text_Box("Edit_CFG_Owner_Phone", &C::User_Phone, 200);
        QLineEdit* address = Text_Box("Edit_CFG_Owner_Address", &C::User_Address, 300);
        Add_Row(g, "Label_CFG_Owner_Name", "Owner_Name_Hint", {name});
        Add_Row(g, "Label_CFG_Owner_Phone", "Owner_Phone_Hint", {phone});
        Add_Row(g, "Label_CFG_Owner_Address", "Owner_Address_Hint", {address});
        car_dependent_.insert(car_dependent_.end(), {name, phone, address});
    }
    {
        Group& g = New_Group(15, "GroupBox_CFG_Comments");
        comments_ = new QPlainTextEdit(g.Box);
        comments_->setObjectName(QStringLiteral("Memo_CFG_Comments"));
        comments_->setGeometry(8, Group_Top, 460, 250);
        comments_->setProperty("cfg_hint", QStringLiteral("Comments_Hint"));
        comments_->installEventFilter(this);
        connect(comments_, &QPlainTextEdit::textChanged, this, [this]() {
            context_.Config_Data.Car_Comments = Comments_Stored(comments_->toPlainText());
        });
        Bind(comments_, 0);
        bound_.back().Show = [this](bool) { comments_->setPlainText(Comments_Shown(context_.Config_Data.Car_Comments)); };
        QPushButton* clear = new QPushButton(g.Box);
        clear->setObjectName(QStringLiteral("Button_CFG_Comments_Clr"));
        clear->setText(Caption_Text(clear->objectName(), QStringLiteral("Clear")));
        clear->setProperty("cfg_hint", QStringLiteral("Comments_Clr_Hint"));
        clear->installEventFilter(this);
        const QFontMetrics metrics(clear->font());
        clear->setGeometry(8, Group_Top + 256, metrics.horizontalAdvance(clear->text()) + 16, 26);
        connect(clear, &QPushButton::clicked, this, [this]() { comments_->clear(); });
        g.Box->setGeometry(15, 10, 480, Group_Top + 290);
        car_dependent_.insert(car_dependent_.end(), {comments_, clear});
    }

    for (auto& group : groups_) {
        if (group->Box->objectName() == QLatin1String("GroupBox_CFG_Comments"))
            continue;
        if (group.get() == car || group.get() == dates || group.get() == service)
            continue;
        Layout_Group(*group, options_area_);
    }
    // The car over the whole width (its injector line grows with the type),
    // dates and service time side by side below.
    Layout_Group(*car, car_page, QPoint(0, 0));
    car->Box->resize(car_page->width(), car->Box->height());
    Layout_Group(*dates, car_page, QPoint(0, car->Box->height() + 4));
    Layout_Group(*service, car_page, QPoint(dates->Box->width() + 4, car->Box->height() + 4));

    // Rows 11 to 13: the correction grids' area.
    auto* factors = new QFrame(options_area_);
    factors->setObjectName(QStringLiteral("Panel_CFG_Factors"));
    factors->setFrameShape(QFrame::StyledPanel);
    factors->setGeometry(0, 0, Options_Area_Rect.width(), Options_Area_Rect.height());
    factors_range_ = new QLabel(factors);
    factors_range_->setObjectName(QStringLiteral("Label_CFG_Factors"));
    factors_range_->setGeometry(8, 8, 200, Row_Height);

    option_pages_.assign(Option_Rows, nullptr);
    for (auto& group : groups_)
        if (group->Box->parentWidget() == options_area_)
            option_pages_[size_t(group->Option_Row)] = group->Box;
    option_pages_[13] = car_page;
    for (int row = 10; row <= 12; ++row)
        option_pages_[size_t(row)] = factors;
    for (QWidget* widget : option_pages_)
        widget->hide();
    text_order_.erase(std::remove(text_order_.begin(), text_order_.end(),
                                  page_->findChild<QLineEdit*>(QStringLiteral("Edit_CFG_User_Find"))),
                      text_order_.end());
}

// ---------------------------------------------------------------- option list

void Configuration_Tab_Form::Select_Option(int row)
{
    row = std::clamp(row, 0, Option_Rows - 1);
    if (option_pages_.empty())
        return;
    option_pages_[size_t(selected_)]->hide();
    selected_ = row;
    option_pages_[size_t(row)]->show();
    if (row >= 10 && row <= 12)
        Set_Caption(factors_range_, QLatin1String(Factor_Range_Texts[row - 10]));
    for (QWidget* widget : client_widgets_)
        widget->setVisible(row >= 13);
    const QSignalBlocker blocker(option_list_);
    option_list_->setCurrentRow(row);
}

void Configuration_Tab_Form::Option_Scroll(int step) { Select_Option(selected_ + step); }

// ---------------------------------------------------------------- show

void Configuration_Tab_Form::Show()
{
    editor_->Apply_Version_Layout();
    editor_->Record_Shown();
    Apply_Version_Layout_Controls();
    Show_Values();
    Apply_Enabling();
}

void Configuration_Tab_Form::Show_Values(QWidget* edited)
{
    for (Bound& bound : bound_) {
        if (!bound.Show)
            continue;
        const QSignalBlocker blocker(bound.Widget);
        bound.Show(bound.Widget == edited);
        if (auto* spin = qobject_cast<CFG_Spin_Box*>(bound.Widget)) {
            // The text follows even when the value is the same but its form changed.
            if (auto* line = spin->findChild<QLineEdit*>())
                line->setText(spin->Format ? spin->Format(spin->value(), spin->Shortest)
                                           : QString::number(spin->value()));
        }
    }
    const Configuration_Class& config = context_.Config_Data;
    if (edited == nullptr) {
        const QSignalBlocker blocker(car_num_);
        car_num_->setText(Strip_Extension(context_.App_Settings.CFG_File_Name).left(Car_Num_Max_Length));
        accident_count_->setText(QString::number(context_.Identification.Gas_Accident_Cnt));
    }
    Set_Caption(page_->findChild<QLabel*>(QStringLiteral("Label_CFG_Car_Injectors")),
                Caption_Text(QStringLiteral("Label_CFG_Car_Injectors"), QStringLiteral("Injectors")) +
                    QStringLiteral(" : ") + config.Inject_Type);
    Set_Caption(date_save_, Text("Label_CFG_Car_Date_Save") + QStringLiteral(" : ") + config.Date_Save);
    Show_Live();
    // Composed texts: the label grows with its text within its group.
    for (QLabel* label : {page_->findChild<QLabel*>(QStringLiteral("Label_CFG_Car_Injectors")), date_save_, date_today_,
                          st_remains_}) {
        const int room = label->parentWidget()->width() - label->x() - 4;
        label->resize(std::min(room, label->fontMetrics().horizontalAdvance(label->text()) + 4), label->height());
    }
    const bool software = Enabling_Rules(config, true).Level_Software;
    level_mode_->setText(!software ? QString() : editor_->Level_Setup() ? Text("Mode_Level_Set") : level_mode_text_);
    level_mode_->setToolTip(software && !editor_->Level_Setup() ? level_mode_hint_ : QString());
    for (QWidget* widget : level_sensor_row_)
        widget->setVisible(!software);
    for (QWidget* widget : level_software_row_)
        widget->setVisible(software);
    Refresh_File_Status();
    Refresh_Car_Enabled();
    Update_Accessible();
}

void Configuration_Tab_Form::Show_Level_Mode(int mode, const QString& text, const QString& hint)
{
    editor_->Set_Level_Setup(false);
    level_mode_value_ = mode;
    level_mode_text_ = text;
    level_mode_hint_ = hint;
    const bool software = Enabling_Rules(context_.Config_Data, true).Level_Software;
    level_mode_->setText(software ? text : QString());
    level_mode_->setToolTip(software ? hint : QString());
    level_mode_->setAccessibleName(level_mode_->text());
    for (int k = 0; k < 5; ++k) {
        level_volts_[k]->setText(Level_Volt_Text(k));
        level_volts_[k]->setAccessibleName(level_volts_[k]->text());
    }
}

QString Configuration_Tab_Form::Level_Volt_Text(int k) const
{
    const Configuration_Class& config = context_.Config_Data;
    constexpr int Level_Mode_Work = 128;
    if (Enabling_Rules(config, true).Level_Software && !editor_->Level_Setup() && level_mode_value_ == Level_Mode_Work) {
        // Working mode: the share of the full-cylinder reference at each lamp.
        static constexpr int Shares[5] = {12, 15, 20, 30, 60};
        return QLocale::system().toString(double(Level_Reference_Of(config.GF_ETALON)) / Shares[k], 'f', 2);
    }
    return Volt_Text(config.*Level_Fields[k]);
}

void Configuration_Tab_Form::Show_Live()
{
    const QLocale locale = QLocale::system();
    const QString volts = locale.toString(context_.Live_Data.Press_Volt / 100.0, 'f', 2);
    if (press_volt_->text() != volts) {
        press_volt_->setText(volts);
        press_volt_->setAccessibleName(volts);
    }
    const QString pressure = locale.toString(editor_->Pressure_Preview() / 100.0, 'f', 2);
    if (press_bar_->text() != pressure) {
        press_bar_->setText(pressure);
        press_bar_->setAccessibleName(pressure);
    }
    const QString today = Caption_Text(QStringLiteral("Label_CFG_Car_Date_Current"), QStringLiteral("Today")) +
                          QStringLiteral(" : ") + locale.toString(QDate::currentDate(), QLocale::ShortFormat);
    if (date_today_->text() != today) {
        Set_Caption(date_today_, today);
        const int room = date_today_->parentWidget()->width() - date_today_->x() - 4;
        date_today_->resize(std::min(room, date_today_->fontMetrics().horizontalAdvance(today) + 4), date_today_->height());
    }
}

void Configuration_Tab_Form::Apply_Version_Layout_Controls()
{
    const int version = context_.Config_Data.Version_Number;
    const bool restart = Version_Has_Restart_Press_Drop(version);
    const QString init_key = restart ? QStringLiteral("Label_CFG_GP_PressRestart") : QStringLiteral("Label_CFG_GP_PressInit");
    const QString init_hint = restart ? QStringLiteral("GP_PressRestart_Hint") : QStringLiteral("GP_PressInit_Hint");
    Set_Caption(press_init_label_, Caption_Text(init_key, init_key));
    press_init_label_->setProperty("cfg_hint", init_hint);
    if (QWidget* spin = page_->findChild<QWidget*>(QStringLiteral("UpDown_CFG_GP_PressInit"))) {
        spin->setProperty("cfg_hint", init_hint);
        Set_Hint(spin, init_hint);
    }

    const bool delay = Version_Has_2Fuel_Delay(version);
    const QString temp_key = delay ? QStringLiteral("Label_CFG_GPG_2Fuel_Delay") : QStringLiteral("Label_CFG_GPG_2Fuel_Temp");
    const QString temp_hint = delay ? QStringLiteral("GPG_2Fuel_Delay_Hint") : QStringLiteral("GPG_2Fuel_Temp_Hint");
    Set_Caption(two_fuel_temperature_label_, Caption_Text(temp_key, temp_key));
    two_fuel_temperature_label_->setProperty("cfg_hint", temp_hint);
    two_fuel_temperature_->setProperty("cfg_hint", temp_hint);
    const Int_Field_Description* field = Find_Int_Field(Two_Fuel_Temperature_Field(version));
    {
        const QSignalBlocker blocker(two_fuel_temperature_);
        two_fuel_temperature_->setRange(field->Min, field->Max);
    }
    for (Bound& bound : bound_)
        if (bound.Widget == two_fuel_temperature_)
            bound.Code = delay ? 'o' : 'n';

    const QSignalBlocker blocker(inject_num_);
    inject_num_->setMaximum(Inject_Num_Max(version));
}

void Configuration_Tab_Form::Lock_Changed()
{
    // While the changed value is sent its own box is locked too, and the
    // focus leaves it; it comes back when the controls are free again,
    // unless the user has put it somewhere else meanwhile.
    QWidget* focus = QApplication::focusWidget();
    const bool in_page = focus && page_->isAncestorOf(focus);
    Apply_Enabling();
    if (editor_->State() != CFG_Editor::Transmit_State::Idle) {
        if (!held_focus_ && in_page && !focus->isEnabled()) {
            held_focus_ = focus;
            moved_focus_ = QApplication::focusWidget();
        }
        return;
    }
    if (held_focus_ && held_focus_->isEnabled() && held_focus_->isVisible()
        && QApplication::focusWidget() == moved_focus_.data())
        held_focus_->setFocus(Qt::OtherFocusReason);
    held_focus_ = nullptr;
    moved_focus_ = nullptr;
}

void Configuration_Tab_Form::Apply_Enabling()
{
    const Configuration_Class& config = context_.Config_Data;
    const bool sensor_valid = Temperature_Sensor_Valid(context_.Live_Data.Errors);
    const CFG_Enabling rules = Enabling_Rules(config, sensor_valid);
    for (const Bound& bound : bound_) {
        const bool by_rule = bound.Rule == nullptr || rules.*bound.Rule;
        bound.Widget->setEnabled(by_rule && editor_->Code_Unlocked(bound.Code));
    }
    if (auto* label = page_->findChild<QLabel*>(QStringLiteral("Label_CFG_RPM_Sensitiv")))
        label->setEnabled(rules.RPM_Threshold);
    rpm_set_->setEnabled(rules.RPM_Threshold && context_.ECU_Connected);
    level_set_->setEnabled(context_.ECU_Connected && Level_Reference_Of(config.GF_ETALON) != 0);
    if (!sensor_valid && On_Close_Priming_Table)
        On_Close_Priming_Table();
    Refresh_Car_Enabled();
}

void Configuration_Tab_Form::Update_Accessible()
{
    for (const Bound& bound : bound_) {
        QWidget* widget = bound.Widget;
        if (auto* spin = qobject_cast<QSpinBox*>(widget))
            widget->setAccessibleName(spin->text());
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            widget->setAccessibleName(combo->currentText());
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            widget->setAccessibleName(edit->text());
        else if (auto* slider = qobject_cast<QSlider*>(widget))
            widget->setAccessibleName(Volt_Text(slider->value()));
        else if (auto* button = qobject_cast<QAbstractButton*>(widget);
                 button && !button->text().isEmpty() && button->text() != QLatin1String("..."))
            widget->setAccessibleName(button->text());
        else if (auto* label = qobject_cast<QLabel*>(widget->property("cfg_label").value<QObject*>()))
            widget->setAccessibleName(label->text());
    }
    for (QLabel* volts : level_volts_)
        volts->setAccessibleName(volts->text());
    st_remains_->setAccessibleName(st_remains_->text());
    level_mode_->setAccessibleName(level_mode_->text());
    car_num_->setAccessibleName(car_num_->text());
    accident_count_->setAccessibleName(accident_count_->text());
    for (QWidget* widget : {static_cast<QWidget*>(st_speed_), static_cast<QWidget*>(st_mileage_)})
        widget->setAccessibleName(static_cast<QSpinBox*>(widget)->text());
    st_block_->setAccessibleName(
        Caption_Text(QStringLiteral("Label_CFG_ST_Block_Gas"), QStringLiteral("Label_CFG_ST_Block_Gas")));
    if (auto* picture = page_->findChild<QLabel*>(QStringLiteral("Label_CFG_Polarity_Picture")))
        picture->setAccessibleName(picture->text());
}

void Configuration_Tab_Form::After_Edit(QWidget* edited)
{
    Show_Values(edited);
    Apply_Enabling();
}

void Configuration_Tab_Form::Refresh_File_Status()
{
    const CFG_File_Status status = editor_->File_Status(car_num_->text());
    file_status_->setVisible(status != CFG_File_Status::Hidden);
    if (status == CFG_File_Status::Hidden)
        return;
    Set_Caption(file_status_, Text(QLatin1String(File_Status_Key(status))));
    Set_Text_Colour(file_status_, QColor(QRgb(File_Status_Colour(status))));
}

void Configuration_Tab_Form::Refresh_Car_Enabled()
{
    const bool on = !car_num_->text().isEmpty();
    for (QWidget* widget : car_dependent_)
        widget->setEnabled(on);
}

// ---------------------------------------------------------------- texts and hints

void Configuration_Tab_Form::Apply_Texts()
{
    for (const Main_Button& entry : Main_Buttons) {
        QObject* button = page_->findChild<QObject*>(QLatin1String(entry.Name));
        Set_Caption(button, Caption_Text(QLatin1String(entry.Text_Key), QLatin1String(entry.English)));
        Set_Hint(button, QLatin1String(entry.Name) + QStringLiteral("_Hint"));
    }
    for (int i = 0; i < Option_Rows; ++i)
        option_list_->item(i)->setText(
            Caption_Text(QLatin1String(Option_Row_Texts[i].Key), QLatin1String(Option_Row_Texts[i].English)));
    for (auto& group : groups_) {
        Set_Caption(group->Box, Caption_Text(group->Box->objectName(), group->Box->objectName()));
        for (Row& row : group->Rows)
            Set_Caption(row.Label, Caption_Text(row.Label->objectName(), row.Label_Fallback));
    }
    for (QWidget* widget : page_->findChildren<QWidget*>()) {
        const QString fallback = widget->property("cfg_fallback").toString();
        if (!fallback.isEmpty())
            Set_Caption(widget, Caption_Text(widget->objectName(), fallback));
        const QString hint = widget->property("cfg_hint").toString();
        if (!hint.isEmpty() && !qobject_cast<QLabel*>(widget))
            Set_Hint(widget, hint);
    }
    for (QObject* client : client_widgets_)
        if (auto* button = qobject_cast<QPushButton*>(client))
            Set_Caption(button, Caption_Text(button->objectName(), button->objectName()));
    Set_Caption(page_->findChild<QObject*>(QStringLiteral("Button_CFG_Comments_Clr")),
                Caption_Text(QStringLiteral("Button_CFG_Comments_Clr"), QStringLiteral("Clear")));
    if (!bound_.empty()) {
        Apply_Version_Layout_Controls();
        Show_Values();
    }
}

void Configuration_Tab_Form::Show_Hint_Of(QObject* watched)
{
    const QString hint = watched->property("cfg_hint").toString();
    if (hint.isEmpty())
        return;
    help_label_->setText(Caption_Text(hint, QString()));
    help_label_->setAccessibleName(help_label_->text());
    QLabel* label = qobject_cast<QLabel*>(watched);
    if (!label)
        label = qobject_cast<QLabel*>(watched->property("cfg_label").value<QObject*>());
    if (highlighted_ == label)
        return;
    if (highlighted_)
        Set_Text_Colour(highlighted_, QColor());
    highlighted_ = label;
    if (highlighted_)
        Set_Text_Colour(highlighted_, QColor(0, 0, 255));
}

bool Configuration_Tab_Form::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter)
        Show_Hint_Of(watched);
    if (event->type() == QEvent::KeyPress) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const auto it = std::find(text_order_.begin(), text_order_.end(), edit);
        if (edit && it != text_order_.end()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            const bool forward = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down;
            if (forward && it + 1 != text_order_.end()) {
                (*(it + 1))->setFocus();
                return true;
            }
            if (key == Qt::Key_Up && it != text_order_.begin()) {
                (*(it - 1))->setFocus();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
