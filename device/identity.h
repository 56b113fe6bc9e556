#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

// What the modem said about itself after the handshake, and the answers the
// front ends and the worker draw from it. A value: the worker fills one and
// hands out copies.
struct DeviceIdentity {
    QString model;
    QString hardwareVersion;
    QString variant;
    QString softwareVersion;
    QString serialNumber;
    double batteryVoltage = 0;
    QString operatorName;
    QStringList capabilities; // as listed by the modem, in its order
    bool viaCom = false;

    // The software version as a decimal number (0 when it is not one).
    int softwareNumber() const;

    bool hasCapability(const QString &name) const { return capabilities.contains(name); }
    bool hasBattery() const;
    bool hasBluetooth() const;
    // The battery as the window shows it: absent, present, or its voltage.
    QString batteryText() const;
    QString bluetoothText() const;
    // Whether the Bluetooth settings can be queried: the firmware must be new
    // enough for the way the modem announces its Bluetooth.
    bool bluetoothQueryable() const;
};

Q_DECLARE_METATYPE(DeviceIdentity)
