#pragma once

#include <QSerialPort>
#include <QString>

// What the system says about the device file behind a port that did not open.
struct PortFacts {
    bool exists = true;
    bool serialDevice = true; // a character device
    bool accessible = true;   // this user may read and write it
    QString group;            // the group that owns the device file
};

namespace PortError {

// The device file behind a port name: "ttyUSB0" is "/dev/ttyUSB0", a path
// stays as it is.
QString systemLocation(const QString &name);

// Reads the facts from the device file itself.
PortFacts inspect(const QString &path);

// Why port `name` did not open, in the user's words: the serial library's
// error and text and the device file's facts decide.
QString reason(const QString &name, QSerialPort::SerialPortError error, const QString &systemText,
               const PortFacts &facts);

} // namespace PortError
