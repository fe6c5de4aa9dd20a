#include "app/Quorel_Launcher_Replace.h"

#include <QFile>

#include <cstdio>
#include <sys/stat.h>

bool Replace_Launcher(const QString& folder)
{
    const QByteArray waiting = QFile::encodeName(folder + QStringLiteral("/QLoader_tmp"));
    const QByteArray launcher = QFile::encodeName(folder + QStringLiteral("/QLoader"));
    struct stat info{};
    if (::lstat(waiting.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    // rename() replaces the target atomically; on failure both files stay.
    return std::rename(waiting.constData(), launcher.constData()) == 0;
}
