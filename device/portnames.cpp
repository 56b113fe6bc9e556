#include "device/portnames.h"

#include <QSerialPortInfo>

QStringList filterPortNames(const QStringList &enumerated)
{
    QStringList out;
    for (QString name : enumerated) {
        if (name.startsWith(QLatin1String("\\\\.\\")))
            name = name.mid(4);
        if (name.contains(QLatin1String("LPT")))
            continue;
        out << name;
    }
    return out;
}

QStringList availablePortNames()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names << info.portName();
    return filterPortNames(names);
}
