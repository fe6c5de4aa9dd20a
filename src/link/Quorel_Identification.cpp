#include "link/Quorel_Identification.h"

#include "settings/Quorel_Settings.h"

#include <limits>

namespace {

// This program's own version: an ECU asking for it needs no version text.
const char* const Own_Version = "1.19";

QString Field_Text(const quint8* block, int at, int count)
{
    QString text;
    text.reserve(count);
    for (int i = 0; i < count; ++i) {
        const quint8 c = block[at + i];
        // Fill bytes and control characters read as blanks.
        text.append(c < 0x20 || c == 0x7F ? QChar(' ') : QChar(c));
    }
    while (text.startsWith(' '))
        text.remove(0, 1);
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

int Msb_24(const quint8* block, int at) { return (block[at] << 16) | (block[at + 1] << 8) | block[at + 2]; }
int Lsb_16(const quint8* block, int at) { return block[at] | (block[at + 1] << 8); }

// A run of decimal digits only.
bool Plain_Integer(const QString& text, int& value)
{
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (QChar c : text)
        if (!c.isDigit() || c.unicode() > '9')
            return false;
    value = text.toInt();
    return true;
}

} // namespace

QString ECU_Model_Name(const QString& program_name, const Settings_Class& settings)
{
    QString compact = program_name;
    compact.remove(' ');
    compact = compact.toUpper();
    if (compact.isEmpty())
        return QStringLiteral("Unknow");
    if (compact == QStringLiteral("QGSTREAMLG4") || compact == QStringLiteral("QGSTREAMLG44"))
        return settings.Name_Block_PIC[0];
    if (compact == QStringLiteral("QGSTREAMLG6"))
        return settings.Name_Block_PIC[1];
    if (compact == QStringLiteral("QGSTREAMLG8"))
        return settings.Name_Block_PIC[2];
    return QStringLiteral("Unknow");
}

int Version_Number_Of(const QString& program_version)
{
    const QString text = program_version.trimmed();
    const qsizetype dot = text.indexOf('.');
    int major = 0;
    int minor = 0;
    if (dot < 0)
        return Plain_Integer(text, major) ? major : 0;
    if (!Plain_Integer(text.left(dot), major) || !Plain_Integer(text.mid(dot + 1), minor))
        return 0;
    const qint64 number = qint64(major) * 100 + minor;
    return number > std::numeric_limits<int>::max() ? 0 : int(number);
}

int Inject_Num_Max_For(int version_number)
{
    if (version_number >= 800)
        return 8;
    if (version_number >= 600)
        return 6;
    if (version_number >= 400)
        return 4;
    return 8;
}

QString Required_Version_Text(int w13)
{
    if (w13 <= 0)
        return QString();
    return QString::number(w13 / 100) + '.' + QStringLiteral("%1").arg(w13 % 100, 2, 10, QChar('0'));
}

Identification_Class Decode_Identification(const quint8* block, int length, const Settings_Class& settings)
{
    Identification_Class id;
    if (block && length >= Identification_Min_Length) {
        id.Complete = true;
        id.Identification_Code = block[2];
        id.Program_Name = Field_Text(block, 3, 16);
        id.Program_Date = Field_Text(block, 19, 10);
        id.Program_Version = Field_Text(block, 29, 4);
        id.Work_Gas = Msb_24(block, 33);
        id.Work_Petrol = Msb_24(block, 36);
        id.Live_Data_Length = block[39];
        id.Config_Length = block[40];
        id.Gas_Accident_Cnt = block[42];
        for (int n = 0; n < 12; ++n)
            id.W[size_t(n)] = Lsb_16(block, 44 + 2 * n);
        // W13 only when both its bytes come before the checksum.
        if (length >= Identification_Min_Length + 2) {
            id.Has_W13 = true;
            id.W13 = qint16(quint16(Lsb_16(block, 68)));
        }
    }

    id.ECU_Model_Name = ECU_Model_Name(id.Program_Name, settings);
    // The quoted copy is for message texts only. The model name is a settings
    // text or "Unknow", never the ECU's own bytes, but a path built from it
    // still goes through Path_Safe_Name().
    id.ECU_Model_Quoted = '"' + id.ECU_Model_Name + '"';
    id.Version_Number = id.Program_Name.isEmpty() ? 0 : Version_Number_Of(id.Program_Version);
    id.About_Program_Visible = !id.Program_Name.isEmpty();
    id.About_Work_Visible = id.Work_Gas != 0 || id.Work_Petrol != 0;
    id.Inject_Num_Max = Inject_Num_Max_For(id.Version_Number);
    id.Required_Version = Required_Version_Text(id.W13);
    return id;
}

ECU_Too_New_Result ECU_Too_New(int identification_code, const QString& required_version)
{
    if (identification_code < 7)
        return {};
    return {true, required_version == QLatin1String(Own_Version) ? QString() : required_version};
}

QString Path_Safe_Name(const QString& name)
{
    QString out;
    out.reserve(name.size());
    for (QChar c : name) {
        const char16_t u = c.unicode();
        const bool safe = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-' ||
                          u == '_' || u == '.';
        out.append(safe ? c : QChar('_'));
    }
    while (out.startsWith('.'))
        out[0] = '_';
    return out;
}
