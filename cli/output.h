#pragma once

#include "config/kzconfig.h"
#include "config/messages.h"
#include "device/identity.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Output of the command line: results on standard output, messages and
// progress on standard error, both UTF-8, one whole line per call so that
// lines from the worker thread never interleave inside a line.
void printOut(const QString &line);
void printErr(const QString &line);

// "key: value" lines.
using KeyValues = QList<QPair<QString, QString>>;
void printKeyValues(const KeyValues &lines);


// Names of the configuration groups in flags, in flag order: baudrate,
// framing, flow, gprs, ntrip, dyndns, autoexec, bluetooth.
QStringList groupNames(int flags);

// The identity as the window shows it after connecting.
KeyValues identityLines(const DeviceIdentity &identity);

// The operating mode held by a record, as the window would show it.
KeyValues modeLines(const KZConfig &config);
