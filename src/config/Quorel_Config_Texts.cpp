#include "config/Quorel_Config_Texts.h"

namespace {

constexpr char16_t Stored_CR = 29;
constexpr char16_t Stored_LF = 26;

}   // namespace

QString Comments_Stored(const QString& shown)
{
    QString stored;
    stored.reserve(shown.size() + 8);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        if (c == QLatin1Char('\r') && i + 1 < shown.size() && shown.at(i + 1) == QLatin1Char('\n')) {
            stored += QChar(Stored_CR);
            stored += QChar(Stored_LF);
            ++i;
        } else if (c == QLatin1Char('\n')) {
            stored += QChar(Stored_CR);
            stored += QChar(Stored_LF);
        } else if (c == QLatin1Char('\r')) {
            stored += QChar(Stored_CR);
        } else {
            stored += c;
        }
    }
    return stored;
}

QString Comments_Shown(const QString& stored)
{
    QString shown;
    shown.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const QChar c = stored.at(i);
        if (c == QChar(Stored_CR) && i + 1 < stored.size() && stored.at(i + 1) == QChar(Stored_LF)) {
            shown += QLatin1Char('\n');
            ++i;
        } else if (c == QChar(Stored_LF)) {
            shown += QLatin1Char('\n');
        } else if (c == QChar(Stored_CR)) {
            shown += QLatin1Char('\r');
        } else {
            shown += c;
        }
    }
    return shown;
}

QString Hours_Text(qint64 minutes) { return QString::number(double(minutes) / 60.0, 'f', 2); }
