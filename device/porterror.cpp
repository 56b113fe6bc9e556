#include "device/porterror.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PortError {

QString systemLocation(const QString &name)
{
#ifdef Q_OS_UNIX
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1String("./"))
        || name.startsWith(QLatin1String("../")))
        return name;
    return QStringLiteral("/dev/") + name;
#else
    return name;
#endif
}

PortFacts inspect(const QString &path)
{
    PortFacts f;
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0) {
        f.exists = false;
        f.serialDevice = false;
        f.accessible = false;
        return f;
    }
    f.serialDevice = S_ISCHR(st.st_mode);
    f.accessible = ::access(native.constData(), R_OK | W_OK) == 0;
    if (const group *g = ::getgrgid(st.st_gid))
        f.group = QString::fromLocal8Bit(g->gr_name);
#else
    // Windows names its ports without a file: the serial library's error decides.
    Q_UNUSED(path);
#endif
    return f;
}

QString reason(const QString &name, QSerialPort::SerialPortError error, const QString &systemText,
               const PortFacts &facts)
{
    if (name.trimmed().isEmpty())
        return QCoreApplication::translate("PortError", "Порт не указан.");
    if (!facts.exists || error == QSerialPort::DeviceNotFoundError)
        return QCoreApplication::translate("PortError", "Порт %1 не существует.").arg(name);
    if (!facts.serialDevice || error == QSerialPort::UnsupportedOperationError)
        return QCoreApplication::translate("PortError", "%1 не является последовательным портом.")
                .arg(name);
    if (!facts.accessible) {
        if (facts.group.isEmpty())
            return QCoreApplication::translate("PortError", "Нет прав на открытие порта %1.")
                    .arg(name);
        return QCoreApplication::translate(
                       "PortError",
                       "Нет прав на открытие порта %1. Устройство принадлежит группе "
                       "«%2»: добавьте пользователя в эту группу (sudo usermod -aG %2 "
                       "$USER) и войдите в систему заново.")
                .arg(name, facts.group);
    }
    // The user may open the file, yet the port refuses: someone has it.
    if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError)
        return QCoreApplication::translate("PortError", "Порт %1 занят другой программой.")
                .arg(name);
    if (systemText.isEmpty())
        return QCoreApplication::translate("PortError", "Порт %1 не открылся.").arg(name);
    return QCoreApplication::translate("PortError", "Порт %1 не открылся: %2")
            .arg(name, systemText);
}

} // namespace PortError
