#include "app/Quorel_Help_Files.h"

QString Language_Prefix(const QString& language) { return language.left(3); }

QString Help_Document_Path(const QString& help_folder, int tab, const QString& language)
{
    return help_folder + QStringLiteral("/F") + QString::number(tab + 1) + (tab == 4 ? QStringLiteral("-1") : QString())
           + QChar('_') + Language_Prefix(language) + QStringLiteral(".pdf");
}

QStringList Diagram_Candidates(const QString& language_folder, const QString& model, const QString& language)
{
    const QString base = language_folder + QChar('/') + model;
    return {base + QChar('_') + Language_Prefix(language) + QStringLiteral(".jpg"), base + QStringLiteral("_Eng.jpg")};
}

QString Qt_File_Filter(const QString& pipe_filter)
{
    const QStringList parts = pipe_filter.split(QChar('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks = parts[i + 1].split(QChar(';'), Qt::SkipEmptyParts);
        for (QString& mask : masks)
            if (mask.trimmed() == QLatin1String("*.*"))
                mask = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + masks.join(QChar(' ')) + QChar(')');
    }
    return filters.join(QStringLiteral(";;"));
}
