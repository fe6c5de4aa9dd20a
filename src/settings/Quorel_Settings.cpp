#include "settings/Quorel_Settings.h"

#include "settings/Quorel_Ini.h"

#include <algorithm>

namespace {

void Read_Text(const Ini_File& ini, const char* key, QString& field)
{
    // A key with nothing after it holds a single blank: no usable name.
    if (const auto value = ini.Ini_Read_Text(QLatin1String(key)); value && !value->trimmed().isEmpty())
        field = *value;
}

void Read_Int(const Ini_File& ini, const char* key, int& field, int low, int high)
{
    if (const auto value = ini.Ini_Read_Int(QLatin1String(key)))
        field = std::clamp(*value, low, high);
}

void Read_Int(const Ini_File& ini, const char* key, int& field)
{
    if (const auto value = ini.Ini_Read_Int(QLatin1String(key)))
        field = *value;
}

void Read_Bool(const Ini_File& ini, const char* key, bool& field)
{
    if (const auto value = ini.Ini_Read_Bool(QLatin1String(key)))
        field = *value;
}

constexpr int No_Limit = 1 << 30;

} // namespace

Settings_Class::Settings_Class(const QString& program_folder, const QString& program_name)
    : program_folder_(program_folder), program_name_(program_name)
{
    Title_Text = program_name_;
    CFG_File_Path = program_folder_ + QStringLiteral("/Config");
    CFG_File_Name = program_name_ + QStringLiteral(".cfg");
    OSC_File_Path = program_folder_ + QStringLiteral("/Oscilloscope");
    OSC_File_Name = program_name_ + QStringLiteral(".osc");
}

QString Settings_Class::File_Path() const
{
    return program_folder_ + QLatin1Char('/') + program_name_ + QStringLiteral(".ini");
}

bool Settings_Class::Is_Ambrisol() const
{
    return program_name_.toUpper() == QLatin1String("AMBRISOL");
}

void Settings_Class::Settings_Create()
{
    Port_Name = QStringLiteral("COM1");
    Title_Text = program_name_;
    Logo_Top = 2;
    Logo_Width = 20;
    Logo_Height = 30;
    Name_Block_PIC = {QStringLiteral("KYT-4"), QStringLiteral("KYT-6"), QStringLiteral("KYT-8")};
    CheckPassword = false;
    Language = QStringLiteral("English");
    Settings_Defaults();
    Settings_Read();
}

void Settings_Class::Settings_Defaults()
{
    Search_Port = false;
    Reply_Delay = Reply_Delay_Default;
    Delay_Compensation = 100;
    Save_Load_Data = true;
    Transmit_Now = false;
    Position_Top = 0;
    Position_Left = 0;
    Full_Screen = true;
    Page_Number = 0;
    Form_Style = false;
    CFG_File_Path = program_folder_ + QStringLiteral("/Config");
    CFG_File_Name = program_name_ + QStringLiteral(".cfg");
    OSC_File_Path = program_folder_ + QStringLiteral("/Oscilloscope");
    OSC_File_Name = program_name_ + QStringLiteral(".osc");

    English_Menu = false;
    Show_Hint = true;
    Hint_Length = 30;
}

bool Settings_Class::Settings_Read()
{
    Ini_File ini;
    if (!ini.Ini_Load(File_Path())) {
        Load_Available = false;
        return false;
    }
    Load_Available = true;
    Read_From(ini);
    return true;
}

void Settings_Class::Read_From(const Ini_File& ini)
{
    if (!Is_Ambrisol()) {
        Read_Text(ini, "Title_Text", Title_Text);
        Read_Int(ini, "Logo_Top", Logo_Top, 0, No_Limit);
        Read_Int(ini, "Logo_Width", Logo_Width, 0, No_Limit);
        Read_Int(ini, "Logo_Height", Logo_Height, 0, No_Limit);
        for (int i = 0; i < int(Name_Block_PIC.size()); ++i) {
            const QByteArray key = "Name_Block_PIC_" + QByteArray::number(i + 1);
            Read_Text(ini, key.constData(), Name_Block_PIC[size_t(i)]);
        }
    }

    Read_Text(ini, "Port_Name", Port_Name);
    Preferred_Port = Port_Name;
    Read_Bool(ini, "Search_Port", Search_Port);
    Read_Int(ini, "Reply_Delay", Reply_Delay, Reply_Delay_Min, Reply_Delay_Max);
    Read_Int(ini, "Delay_Compensation", Delay_Compensation, Delay_Compensation_Min, Delay_Compensation_Max);
    Read_Bool(ini, "Save_Load_Data", Save_Load_Data);
    Read_Bool(ini, "Transmit_Now", Transmit_Now);
    Read_Int(ini, "Position_Top", Position_Top);
    Read_Int(ini, "Position_Left", Position_Left);
    Read_Bool(ini, "Full_Screen", Full_Screen);
    Read_Int(ini, "Page_Number", Page_Number, Page_Number_Min, Page_Number_Max);
    Read_Bool(ini, "Form_Style", Form_Style);
    Read_Bool(ini, "CheckPassword", CheckPassword);
    Read_Text(ini, "CFG_File_Path", CFG_File_Path);
    Read_Text(ini, "CFG_File_Name", CFG_File_Name);
    Read_Text(ini, "OSC_File_Path", OSC_File_Path);
    Read_Text(ini, "OSC_File_Name", OSC_File_Name);

    Read_Text(ini, "Language", Language);
    Read_Bool(ini, "English_Menu", English_Menu);
    Read_Bool(ini, "Show_Hint", Show_Hint);
    Read_Int(ini, "Hint_Length", Hint_Length, Hint_Length_Min, Hint_Length_Max);
}

QString Settings_Class::Remark(const QString& key) const
{
    // While the menus are English the remarks are English too, and English
    // has none.
    if (English_Menu || !Remark_Text)
        return QString();
    return Remark_Text(key + QStringLiteral("_Rem"));
}

bool Settings_Class::Settings_Write()
{
    return Write(false);
}

bool Settings_Class::Settings_Save()
{
    return Write(true);
}

bool Settings_Class::Write(bool with_file_keys)
{
    Ini_File ini;
    // An unreadable file is left as it is rather than replaced by our keys alone.
    if (!ini.Ini_Open_For_Write(File_Path()))
        return false;

    const auto set_text = [&](const QString& key, const QString& value) { ini.Ini_Set(key, value, Remark(key)); };
    const auto set_int = [&](const QString& key, int value) { ini.Ini_Set(key, value, Remark(key)); };
    const auto set_bool = [&](const QString& key, bool value) { ini.Ini_Set(key, value, Remark(key)); };

    if (with_file_keys) {
        set_text(QStringLiteral("CFG_File_Path"), CFG_File_Path);
        set_text(QStringLiteral("CFG_File_Name"), CFG_File_Name);
    }
    set_text(QStringLiteral("Port_Name"), Port_Name);
    set_bool(QStringLiteral("Search_Port"), Search_Port);
    set_int(QStringLiteral("Reply_Delay"), Reply_Delay);
    set_int(QStringLiteral("Delay_Compensation"), Delay_Compensation);
    set_bool(QStringLiteral("Save_Load_Data"), Save_Load_Data);
    set_int(QStringLiteral("Position_Top"), Position_Top);
    set_int(QStringLiteral("Position_Left"), Position_Left);
    set_bool(QStringLiteral("Full_Screen"), Full_Screen);
    set_bool(QStringLiteral("Transmit_Now"), Transmit_Now);
    set_bool(QStringLiteral("Form_Style"), Form_Style);
    set_bool(QStringLiteral("Show_Hint"), Show_Hint);
    set_int(QStringLiteral("Hint_Length"), Hint_Length);
    // The language is always stored with its remark in its own language,
    // even while the menus are English.
    ini.Ini_Set(QStringLiteral("Language"), Language,
                Remark_Text ? Remark_Text(QStringLiteral("Language_Rem")) : QString());
    set_bool(QStringLiteral("English_Menu"), English_Menu);
    set_int(QStringLiteral("Page_Number"), Page_Number);
    set_bool(QStringLiteral("CheckPassword"), CheckPassword);

    if (!ini.Ini_Save(File_Path()))
        return false;
    Load_Available = true;
    return true;
}
