#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The serial ports offered to the user, in the enumerator's order: a name
// with the "\\.\" device prefix loses it, and parallel ports are left out.
QStringList filterPortNames(const QStringList &enumerated);

// The ports this machine has now.
QStringList availablePortNames();

// What the system knows of one port.
struct PortDescription {
    QString name;
    QString description;
    QString manufacturer;
    QString serialNumber;
    int vendorId = -1; // -1 when the port has none (not USB)
    int productId = -1;
    QString location;
    bool bluetooth = false;
};

// The ports this machine has now, described, filtered as availablePortNames().
QList<PortDescription> availablePortDescriptions();

// Whether a port is a Bluetooth serial port: rfcomm devices, or a driver
// that says so in its description.
bool isBluetoothPort(const QString &name, const QString &description);

// The lines shown for a port beside its name (the tooltip of the list).
QString portDetails(const PortDescription &port);
