#include "link/Quorel_Port_Permission.h"

#include <grp.h>
#include <sys/stat.h>

QString Device_Group(const QString& device_path)
{
    struct stat info {};
    if (device_path.isEmpty() || ::stat(device_path.toLocal8Bit().constData(), &info) != 0)
        return QString();
    const struct group* owner = ::getgrgid(info.st_gid);
    if (!owner || !owner->gr_name)
        return QString();
    return QString::fromLocal8Bit(owner->gr_name);
}

QString Port_Denied_Caption(const QString& port_name) { return port_name + QStringLiteral(" (no permission)"); }

QString Port_Denied_Message(const QString& port_name, const QString& device_path, const QString& group)
{
    QString text = QStringLiteral("The serial port %1 is present, but this user has no permission to open %2.\n")
                       .arg(port_name, device_path);
    if (group.isEmpty()) {
        text += QStringLiteral("Add your user to the group that owns %1, then log out and log in again.")
                    .arg(device_path);
    } else {
        text += QStringLiteral("Add your user to the group \"%1\" that owns it (for example: sudo usermod -aG %1 "
                               "$USER), then log out and log in again.")
                    .arg(group);
    }
    return text;
}
