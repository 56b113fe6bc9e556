#include "device/identity.h"

#include <QCoreApplication>

int DeviceIdentity::softwareNumber() const
{
    bool ok = false;
    const int n = softwareVersion.toInt(&ok, 10);
    return ok ? n : 0;
}

bool DeviceIdentity::hasBattery() const
{
    return hasCapability(QStringLiteral("BAT")) || variant.contains(QLatin1Char('A'))
            || variant.contains(QLatin1Char('P'));
}

bool DeviceIdentity::hasBluetooth() const
{
    return hasCapability(QStringLiteral("BT")) || variant.contains(QLatin1Char('B'));
}

QString DeviceIdentity::batteryText() const
{
    if (!hasBattery())
        return QCoreApplication::translate("DeviceIdentity", "Отсутствует");
    // Hardware 03 cannot measure its battery.
    if (hardwareVersion == QLatin1String("03"))
        return QCoreApplication::translate("DeviceIdentity", "Есть");
    return QString::number(batteryVoltage, 'f', 3)
            + QCoreApplication::translate("DeviceIdentity", " В");
}

QString DeviceIdentity::bluetoothText() const
{
    return hasBluetooth() ? QCoreApplication::translate("DeviceIdentity", "Есть")
                          : QCoreApplication::translate("DeviceIdentity", "Нет");
}

bool DeviceIdentity::bluetoothQueryable() const
{
    const int sw = softwareNumber();
    return (hasCapability(QStringLiteral("BT")) && sw > 306)
            || (variant.contains(QLatin1Char('B')) && sw > 334);
}
