#include "sim/Quorel_Sim_Parameters.h"

#include <QStringList>

#include <algorithm>

namespace Sim_Parameters
{

int Version_Number(const QString& version_text)
{
    const QString text = version_text.trimmed();
    bool ok = false;
    const int dot = text.indexOf('.');
    if (dot < 0) {
        const int v = text.toInt(&ok);
        return ok ? v : 0;
    }
    bool ok_minor = false;
    const int major = text.left(dot).toInt(&ok);
    const int minor = text.mid(dot + 1).section('.', 0, 0).toInt(&ok_minor);
    return ok && ok_minor ? major * 100 + minor : 0;
}

std::vector<quint8> Codes(int v)
{
    const auto in = [v](int low) {
        return (v >= 400 + low && v <= 499) || (v >= 600 + low && v <= 699) || (v >= 800 + low && v <= 899);
    };
    std::vector<quint8> codes;
    if (in(0))
        for (quint8 c = 'A'; c <= 'k'; ++c)
            codes.push_back(c);
    if (in(16))
        codes.insert(codes.end(), {quint8('l'), quint8('m')});
    if (in(17))
        for (quint8 c = 'n'; c <= 'u'; ++c)
            codes.push_back(c);
    return codes;
}

bool Is_Word(quint8 code)
{
    // flags and byte pairs: A B ^ _ ` a ... l o t u
    static const QByteArray pairs = QByteArrayLiteral("AB^_`abcdefghijklotu");
    return code >= 'A' && code <= 'u' && !pairs.contains(char(code));
}

quint16 Factory_Value(quint8 code)
{
    struct Entry
    {
        char code;
        quint16 value;
    };
    // A plausible four-cylinder installation: lambda on, a 30 bar sensor
    // (C1 6600, C2 1307), sensitivity about 2.5 V, changeover at 1500 rpm,
    // every value inside the program's editing ranges.
    static const Entry table[] = {
        {'A', 0x0101},  {'B', 0x0001},  {'C', 6600},    {'D', 1307},    {'E', 0},
        {'F', 103},     {'G', 100},     {'H', 235},     {'I', 20000},   {'J', 508},
        {'K', 190},     {'L', 170},     {'M', 105},     {'N', 200},     {'O', 7500},
        {'P', 15000},   {'Q', 37500},   {'R', 25000},   {'S', 1500},    {'T', 80},
        {'U', 10000},   {'V', 500},     {'W', 215},     {'X', 100},     {'Y', 300},
        {'Z', 500},     {'[', 700},     {'\\', 900},    {']', 1000},    {'^', 0x0101},
        {'_', 0x0501},  {'`', 0x0A03},  {'a', 0x0302},  {'b', 0x1410},  {'c', 0x0A03},
        {'d', 0x0503},  {'e', 0x0104},  {'f', 0x4080},  {'g', 0x015F},  {'h', 0x0101},
        {'i', 0x0A0A},  {'j', 0x0A0A},  {'k', 0x0A0A},  {'l', 0x0305},  {'m', 800},
        {'n', 400},     {'o', 0x0A05},  {'p', 12000},   {'q', 10000},   {'r', 3000},
        {'s', 6000},    {'t', 0x0A0A},  {'u', 0x0A0A},
    };
    const auto it = std::find_if(std::begin(table), std::end(table), [code](const Entry& e) { return quint8(e.code) == code; });
    return it == std::end(table) ? 0 : it->value;
}

}
