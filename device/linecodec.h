#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QString>

// How text and bytes go on the modem's line, shared by the AT link, the
// OBEX client and the command line's terminal.
namespace LineCodec {

// The modem's line carries Latin-1; a character beyond it goes as '?'.
QByteArray toLatin1(const QString &text);

// An error after which the port is of no further use (device gone, link lost).
bool isFatalPortError(QSerialPort::SerialPortError error);

// How long writing `bytes` may take at `baud`: the bytes at the line rate,
// with room for a slow driver (baud below 300 counts as 300).
qint64 writeDeadlineMs(qint64 bytes, int baud);

} // namespace LineCodec
