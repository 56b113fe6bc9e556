#pragma once

// A serial port on the simulated modem driven by hand, the way a terminal
// program would: no link, no worker.
#include <QByteArray>
#include <QSerialPort>
#include <QString>

// Opens `port` on `name` at `baud`.
bool openRaw(QSerialPort &port, const QString &name, int baud = 115200);

// Writes `out` (when there is any) and gathers what arrives within `ms`.
QByteArray exchange(QSerialPort &port, const QByteArray &out, int ms = 500);
