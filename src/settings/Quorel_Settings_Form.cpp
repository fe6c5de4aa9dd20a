#include "settings/Quorel_Settings_Form.h"

#include "settings/Quorel_Settings.h"

#include "language/Quorel_Apply_Texts.h"
#include "language/Quorel_Language_State.h"
#include "language/Quorel_Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QWidget>

namespace {

const QColor Reply_Delay_Changed_Colour(0xFF, 0xAF, 0xB0);

constexpr int Row = 30;
constexpr int Line_Height = 24;
constexpr int Button_Height = 28;
constexpr int Box_Size = 20;

QLabel* Make_Label(QWidget* page, const char* name, const QString& caption, int x, int y, int width)
{
    auto* label = new QLabel(caption, page);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(caption);
    label->setGeometry(x, y, width, Line_Height);
    return label;
}

} // namespace

Settings_Tab_Form::Settings_Tab_Form(QWidget* page, Settings_Class& settings)
    : QObject(page), page_(page), settings_(settings)
{
    // Left column: port and link timing, then the option switches.
    constexpr int left = 16;
    constexpr int field = 150;

    Make_Label(page_, "Label_Port_Name", QStringLiteral("Port"), left, 16, field - left - 8);
    Edit_Port_Name = new QLineEdit(page_);
    Edit_Port_Name->setObjectName(QStringLiteral("Edit_Port_Name"));
    Edit_Port_Name->setAccessibleName(QStringLiteral("Port"));
    Edit_Port_Name->setReadOnly(true);
    Edit_Port_Name->setGeometry(field, 16, 130, Line_Height);
    Button_Setup_Port = Make_Button("Button_Setup_Port", QStringLiteral("Setup Port"), field + 140, 14, 110);
    connect(Button_Setup_Port, &QPushButton::clicked, this, [this]() {
        if (On_Setup_Port)
            On_Setup_Port();
    });

    CheckBox_Search_Port =
        Make_Check("CheckBox_Search_Port", "Label_Search_Port", QStringLiteral("Auto Search"), field, 16 + Row, 200);
    connect(CheckBox_Search_Port, &QCheckBox::toggled, this, [this](bool on) { settings_.Search_Port = on; });

    Edit_Reply_Delay = Make_Delay_Spin("Edit_Reply_Delay", QStringLiteral("Reply Delay, ms"),
                                       Settings_Class::Reply_Delay_Min, Settings_Class::Reply_Delay_Max, left,
                                       16 + 2 * Row + 8, true);
    connect(Edit_Reply_Delay, &QSpinBox::valueChanged, this, [this](int value) {
        settings_.Reply_Delay = value;
        Colour_Reply_Delay();
        if (On_Reply_Delay_Changed)
            On_Reply_Delay_Changed(value);
    });

    Edit_INI_Delay_Compensation = Make_Delay_Spin(
        "Edit_INI_Delay_Compensation", QStringLiteral("Delay Compensation, ms"), Settings_Class::Delay_Compensation_Min,
        Settings_Class::Delay_Compensation_Max, left, 16 + 3 * Row + 8, false);
    connect(Edit_INI_Delay_Compensation, &QSpinBox::valueChanged, this, [this](int value) {
        settings_.Delay_Compensation = value;
        if (On_Delay_Compensation_Changed)
            On_Delay_Compensation_Changed(value);
    });

    int y = 16 + 4 * Row + 16;
    CheckBox_SaveLoadData = Make_Check("CheckBox_SaveLoadData", "Label_SaveLoadData",
                                       QStringLiteral("Save/Load now CFG and CLB information"), left, y, 330);
    connect(CheckBox_SaveLoadData, &QCheckBox::toggled, this, [this](bool on) { settings_.Save_Load_Data = on; });
    y += Row;
    CheckBox_Transmit_Now = Make_Check("CheckBox_Transmit_Now", "Label_Transmit_Now",
                                       QStringLiteral("Transmit Now After Change"), left, y, 330);
    connect(CheckBox_Transmit_Now, &QCheckBox::toggled, this, [this](bool on) { settings_.Transmit_Now = on; });
    y += Row;
    CheckBox_Form_Style =
        Make_Check("CheckBox_Form_Style", "Label_Form_Style", QStringLiteral("Stay On Top"), left, y, 330);
    connect(CheckBox_Form_Style, &QCheckBox::toggled, this, [this](bool on) {
        settings_.Form_Style = on;
        if (On_Form_Style_Changed)
            On_Form_Style_Changed(on);
    });
    y += Row;
    CheckBox_Show_Hint = Make_Check("CheckBox_Show_Hint", "Label_Show_Hint", QStringLiteral("Show Hint"), left, y, 330);
    connect(CheckBox_Show_Hint, &QCheckBox::toggled, this, [this](bool on) {
        settings_.Show_Hint = on;
        Set_Show_Hint(on);
        if (On_Show_Hint_Changed)
            On_Show_Hint_Changed(on);
    });
    y += Row;
    CheckBox_checkPassword =
        Make_Check("CheckBox_checkPassword", "Label_checkPassword", QStringLiteral("Check password"), left, y, 330);
    connect(CheckBox_checkPassword, &QCheckBox::toggled, this, [this](bool on) { settings_.CheckPassword = on; });

    // Right column: language and font.
    constexpr int right = 420;
    Make_Label(page_, "Label_Language", QStringLiteral("Language"), right, 16, 100);
    ComboBox_Language = new QComboBox(page_);
    ComboBox_Language->setObjectName(QStringLiteral("ComboBox_Language"));
    ComboBox_Language->setAccessibleName(QStringLiteral("Language"));
    ComboBox_Language->setGeometry(right + 110, 16, 180, Line_Height);
    ComboBox_Language->addItem(QStringLiteral("English"));
    connect(ComboBox_Language, &QComboBox::currentTextChanged, this, [this](const QString& language) {
        if (language.isEmpty() || language == settings_.Language)
            return;
        settings_.Language = language;
        // A listed language switches "English_Menu" off and re-applies all texts.
        Select_Language(language);
        if (settings_.English_Menu != Language().English_Menu) {
            settings_.English_Menu = Language().English_Menu;
            const QSignalBlocker blocker(CheckBox_English_Menu);
            CheckBox_English_Menu->setChecked(settings_.English_Menu);
        }
        if (On_Language_Changed)
            On_Language_Changed(language);
    });
    CheckBox_English_Menu = Make_Check("CheckBox_English_Menu", "Label_English_Menu", QStringLiteral("English Menu"),
                                       right + 110, 16 + Row, 180);
    connect(CheckBox_English_Menu, &QCheckBox::toggled, this, [this](bool on) {
        settings_.English_Menu = on;
        Set_English_Menu(on);
    });
    Button_Setup_Font = Make_Button("Button_Setup_Font", QStringLiteral("Setup Font"), right + 110, 16 + 2 * Row + 6, 180);
    connect(Button_Setup_Font, &QPushButton::clicked, this, [this]() {
        if (On_Setup_Font)
            On_Setup_Font();
    });

    // Bottom row: the file operations.
    constexpr int bottom = 380;
    Button_INI_Default = Make_Button("Button_INI_Default", QStringLiteral("&Default"), left, bottom, 110);
    Button_INI_Load = Make_Button("Button_INI_Load", QStringLiteral("&Load"), left + 124, bottom, 110);
    Button_INI_Save = Make_Button("Button_INI_Save", QStringLiteral("&Save"), left + 248, bottom, 110);
    connect(Button_INI_Default, &QPushButton::clicked, this, [this]() { Defaults(); });
    connect(Button_INI_Load, &QPushButton::clicked, this, [this]() { Load(); });
    connect(Button_INI_Save, &QPushButton::clicked, this, [this]() { Save(); });

    Settings_Show();
    Apply_Texts();
    texts_listener_ = std::make_unique<Texts_Listener>([this]() { Apply_Texts(); });
}

Settings_Tab_Form::~Settings_Tab_Form() = default;

void Settings_Tab_Form::Apply_Texts()
{
    const auto label = [this](const char* name) { return page_->findChild<QLabel*>(QLatin1String(name)); };
    const auto caption = [](const char* key, const char* english) {
        return Caption_Text(QLatin1String(key), QLatin1String(english));
    };
    const auto hint = [](QObject* control, const char* key) { Set_Hint(control, QLatin1String(key)); };

    const QString port = caption("Label_Port_Name", "Port");
    Set_Caption(label("Label_Port_Name"), port);
    Edit_Port_Name->setAccessibleName(port);
    hint(label("Label_Port_Name"), "Port_Name_Hint");
    hint(Edit_Port_Name, "Port_Name_Hint");
    Set_Caption(Button_Setup_Port, caption("Button_Setup_Port", "Setup Port"));
    hint(Button_Setup_Port, "Button_Setup_Port_Hint");

    const QString ms = QStringLiteral(", ") + Text("Dim_MS_Short");
    const QString reply = caption("GroupBox_Reply_Delay", "Reply Delay") + ms;
    Set_Caption(label("Label_Reply_Delay"), reply);
    Edit_Reply_Delay->setAccessibleName(reply);
    hint(label("Label_Reply_Delay"), "Reply_Delay_Hint");
    hint(Edit_Reply_Delay, "Reply_Delay_Hint");
    const QString compensation = caption("Label_INI_Delay_Compensation", "Delay Compensation") + ms;
    Set_Caption(label("Label_INI_Delay_Compensation"), compensation);
    Edit_INI_Delay_Compensation->setAccessibleName(compensation);

    // Check box, its caption label, caption key, English caption, hint key.
    struct Switch
    {
        QCheckBox* box;
        const char* label;
        const char* key;
        const char* english;
        const char* hint;
    };
    const Switch switches[] = {
        {CheckBox_Search_Port, "Label_Search_Port", "Label_Search_Port", "Auto Search", "Search_Port_Hint"},
        {CheckBox_SaveLoadData, "Label_SaveLoadData", "CheckBox_SaveLoadData", "Save/Load now CFG and CLB information",
         "Save_Load_Data_Hint"},
        {CheckBox_Transmit_Now, "Label_Transmit_Now", "CheckBox_Transmit_Now", "Transmit Now After Change",
         "Transmit_Now_Hint"},
        {CheckBox_Form_Style, "Label_Form_Style", "CheckBox_Form_Style", "Stay On Top", "Form_Style_Hint"},
        {CheckBox_Show_Hint, "Label_Show_Hint", "CheckBox_Show_Hint", "Show Hint", "Show_Hint_Hint"},
        {CheckBox_checkPassword, "Label_checkPassword", "CheckBox_checkPassword", "Check password",
         "checkPassword_Hint"},
        {CheckBox_English_Menu, "Label_English_Menu", "Label_English_Menu", "English Menu", "English_Menu_Hint"},
    };
    for (const Switch& s : switches) {
        const QString text = caption(s.key, s.english);
        Set_Caption(label(s.label), text);
        s.box->setAccessibleName(text);
        hint(label(s.label), s.hint);
        hint(s.box, s.hint);
    }
    // The English-menu switch means nothing while English is selected.
    const bool other_language = !Language().Is_English();
    CheckBox_English_Menu->setVisible(other_language);
    label("Label_English_Menu")->setVisible(other_language);

    const QString language = caption("GroupBox_Language", "Language");
    Set_Caption(label("Label_Language"), language);
    ComboBox_Language->setAccessibleName(language);
    hint(label("Label_Language"), "Language_Hint");
    hint(ComboBox_Language, "Language_Hint");
    Set_Caption(Button_Setup_Font, caption("Button_Setup_Font", "Setup Font"));
    hint(Button_Setup_Font, "Button_Setup_Font_Hint");

    Set_Caption(Button_INI_Default, QLatin1Char('&') + caption("Default", "Default"));
    hint(Button_INI_Default, "Button_INI_Default_Hint");
    Set_Caption(Button_INI_Load, QLatin1Char('&') + caption("Load", "Load"));
    hint(Button_INI_Load, "Button_INI_Load_Hint");
    Set_Caption(Button_INI_Save, QLatin1Char('&') + caption("Save", "Save"));
    hint(Button_INI_Save, "Button_INI_Save_Hint");
}

QCheckBox* Settings_Tab_Form::Make_Check(const char* box_name, const char* label_name, const QString& caption, int x,
                                         int y, int label_width)
{
    auto* box = new QCheckBox(page_);
    box->setObjectName(QLatin1String(box_name));
    box->setAccessibleName(caption);
    box->setGeometry(x, y + (Line_Height - Box_Size) / 2, Box_Size, Box_Size);
    QLabel* label = Make_Label(page_, label_name, caption, x + Box_Size + 6, y, label_width);
    label->setBuddy(box);
    label->installEventFilter(this);
    return box;
}

QPushButton* Settings_Tab_Form::Make_Button(const char* name, const QString& caption, int x, int y, int width)
{
    auto* button = new QPushButton(caption, page_);
    button->setObjectName(QLatin1String(name));
    QString accessible = caption;
    accessible.remove(QLatin1Char('&'));
    button->setAccessibleName(accessible);
    button->setGeometry(x, y, width, Button_Height);
    return button;
}

QSpinBox* Settings_Tab_Form::Make_Delay_Spin(const char* name, const QString& caption, int low, int high, int x, int y,
                                             bool visible)
{
    // Label name follows the edit: "Edit_X" is captioned by "Label_X".
    const QByteArray label_name = "Label_" + QByteArray(name).mid(int(qstrlen("Edit_")));
    QLabel* label = Make_Label(page_, label_name.constData(), caption, x, y, 150 - x - 8);
    if (!visible)
        label->hide();
    auto* spin = new QSpinBox(page_);
    spin->setObjectName(QLatin1String(name));
    spin->setAccessibleName(caption);
    spin->setRange(low, high);
    spin->setSingleStep(Settings_Class::Delay_Step);
    spin->setGeometry(150, y, 80, Line_Height);
    if (!visible)
        spin->hide();
    return spin;
}

bool Settings_Tab_Form::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (label && mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            if (auto* box = qobject_cast<QCheckBox*>(label->buddy()))
                box->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void Settings_Tab_Form::Colour_Reply_Delay()
{
    // Any reply delay other than the standard one is shown in light red.
    QPalette palette = page_->palette();
    if (Edit_Reply_Delay->value() != Settings_Class::Reply_Delay_Default)
        palette.setColor(QPalette::Base, Reply_Delay_Changed_Colour);
    Edit_Reply_Delay->setPalette(palette);
}

void Settings_Tab_Form::Update_Load_Button()
{
    Button_INI_Load->setEnabled(settings_.Load_Available);
}

void Settings_Tab_Form::Settings_Show()
{
    Edit_Port_Name->setText(settings_.Port_Name);
    CheckBox_Search_Port->setChecked(settings_.Search_Port);
    Edit_Reply_Delay->setValue(settings_.Reply_Delay);
    Edit_INI_Delay_Compensation->setValue(settings_.Delay_Compensation);
    CheckBox_SaveLoadData->setChecked(settings_.Save_Load_Data);
    CheckBox_Transmit_Now->setChecked(settings_.Transmit_Now);
    CheckBox_Form_Style->setChecked(settings_.Form_Style);
    CheckBox_Show_Hint->setChecked(settings_.Show_Hint);
    CheckBox_checkPassword->setChecked(settings_.CheckPassword);
    CheckBox_English_Menu->setChecked(settings_.English_Menu);

    if (ComboBox_Language->findText(settings_.Language) < 0)
        ComboBox_Language->addItem(settings_.Language);
    ComboBox_Language->setCurrentIndex(ComboBox_Language->findText(settings_.Language));

    Colour_Reply_Delay();
    Update_Load_Button();
}

void Settings_Tab_Form::Set_Language_List(const QStringList& languages)
{
    const QSignalBlocker blocker(ComboBox_Language);
    ComboBox_Language->clear();
    ComboBox_Language->addItems(languages);
    if (ComboBox_Language->findText(QStringLiteral("English")) < 0)
        ComboBox_Language->insertItem(0, QStringLiteral("English"));
    if (ComboBox_Language->findText(settings_.Language) < 0)
        ComboBox_Language->addItem(settings_.Language);
    ComboBox_Language->setCurrentIndex(ComboBox_Language->findText(settings_.Language));
}

void Settings_Tab_Form::Defaults()
{
    settings_.Settings_Defaults();
    Settings_Show();
}

void Settings_Tab_Form::Load()
{
    settings_.Settings_Read();
    Settings_Show();
}

void Settings_Tab_Form::Save()
{
    // Write errors are not shown; the file is replaced whole or not at all.
    settings_.Settings_Save();
    Settings_Show();
}
