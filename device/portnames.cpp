#include "device/portnames.h"

#include <QCoreApplication>
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
    for (const PortDescription &p : availablePortDescriptions())
        names << p.name;
    return names;
}

bool isBluetoothPort(const QString &name, const QString &description)
{
    return name.startsWith(QLatin1String("rfcomm"))
            || description.contains(QLatin1String("Bluetooth"), Qt::CaseInsensitive);
}

QList<PortDescription> availablePortDescriptions()
{
    QList<PortDescription> out;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        const QStringList kept = filterPortNames({ info.portName() });
        if (kept.isEmpty())
            continue;
        PortDescription p;
        p.name = kept.first();
        p.description = info.description();
        p.manufacturer = info.manufacturer();
        p.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier())
            p.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            p.productId = info.productIdentifier();
        p.location = info.systemLocation();
        p.bluetooth = isBluetoothPort(p.name, p.description);
        out << p;
    }
    return out;
}

QString portDetails(const PortDescription &port)
{
    QStringList lines;
    if (!port.description.isEmpty())
        lines << port.description;
    if (!port.manufacturer.isEmpty())
        lines << QCoreApplication::translate("PortNames", "Производитель: ") + port.manufacturer;
    if (!port.serialNumber.isEmpty())
        lines << QCoreApplication::translate("PortNames", "Серийный номер: ") + port.serialNumber;
    if (port.vendorId >= 0 && port.productId >= 0)
        lines << QStringLiteral("USB %1:%2")
                         .arg(port.vendorId, 4, 16, QLatin1Char('0'))
                         .arg(port.productId, 4, 16, QLatin1Char('0'));
    if (port.bluetooth)
        lines << QCoreApplication::translate("PortNames", "Последовательный порт Bluetooth");
    if (!port.location.isEmpty())
        lines << port.location;
    return lines.join(QLatin1Char('\n'));
}
