#include "link/Quorel_Serial.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// Pseudo-terminal slaves (/dev/pts/N) have no sysfs entry; their majors are fixed.
constexpr unsigned Pty_Slave_Major_First = 136;
constexpr unsigned Pty_Slave_Major_Last = 143;
// Fallback without sysfs: ttyS / consoles, ttyACM, ttyUSB, ttyAMA and others.
constexpr unsigned Tty_Majors[] = {4, 166, 188, 204};

// Whether the character device dev is a terminal, decided without opening
// it: opening a serial device would raise DTR and RTS, and one held
// exclusively (by this program, too) refuses a second open.
bool Is_Terminal_Device(dev_t dev)
{
    const unsigned dev_major = major(dev);
    if (dev_major >= Pty_Slave_Major_First && dev_major <= Pty_Slave_Major_Last)
        return true;
    const QString class_link =
        QStringLiteral("/sys/dev/char/%1:%2/subsystem").arg(dev_major).arg(minor(dev));
    const QString target = QFileInfo(class_link).symLinkTarget();
    if (!target.isEmpty())
        return QFileInfo(target).fileName() == QLatin1String("tty");
    for (unsigned m : Tty_Majors)
        if (dev_major == m)
            return true;
    return false;
}

} // namespace

QStringList List_Serial_Ports()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        names.append(info.portName());
    return names;
}

bool Port_Present(const QString& name)
{
    if (name.isEmpty())
        return false;
    struct stat st{};
    if (name.startsWith(QLatin1Char('/'))) {
        // Listed ports are device names, never paths.
        if (::stat(QFile::encodeName(name).constData(), &st) != 0)
            return false;
        return S_ISCHR(st.st_mode) && Is_Terminal_Device(st.st_rdev);
    }
    // Every listed port has its node under /dev; without one, the
    // enumeration (which is not cheap) can be skipped.
    const QByteArray node = QFile::encodeName(QStringLiteral("/dev/") + name);
    if (::stat(node.constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    return List_Serial_Ports().contains(name, Qt::CaseSensitive);
}
