#pragma once

#include <cstdio>

#include "config/kzconfig.h"
#include "config/messages.h"
#include "device/identity.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Output of the command line: results on standard output, messages and
// progress on standard error, both UTF-8, one whole line per call so that
// lines from the worker thread never interleave inside a line.
// Control characters other than tab and line end are written as visible
// escapes ("\x1b"): modem and file text must not drive the terminal.
void printOut(const QString &line);
void printErr(const QString &line);
// The line as it stands, for output whose job is the raw bytes.
void printOutRaw(const QString &line);
bool isTerminal(FILE *stream);
bool stdoutIsTerminal();

// A status line on a terminal, redrawn in place; any other line on standard
// error first ends it, as does endStatus().
void printStatus(const QString &line);
// A progress line: as printErr, but no failure message.
void printProgressLine(const QString &line);
void endStatus();

// One JSON document on standard output (indented), or into the port's slot
// when several ports run at once.
void printJson(const QJsonObject &object);

// While one exists on a thread, that thread's output lines start with
// `prefix` and its JSON documents go to `json` instead of standard output.
// Several ports at once each run under one.
struct OutputScope {
    QString prefix;
    QJsonValue json;
    bool collectJson = false;
    QString lastError; // the last line on standard error that was no progress

    OutputScope();
    ~OutputScope();
    OutputScope(const OutputScope &) = delete;
    OutputScope &operator=(const OutputScope &) = delete;
    static OutputScope *current();

private:
    OutputScope *m_previous;
};

// "key: value" lines.
using KeyValues = QList<QPair<QString, QString>>;
void printKeyValues(const KeyValues &lines);
// The same lines as one JSON object (--json), or as text.
void printKeyValues(const KeyValues &lines, bool json);


// Names of the configuration groups in flags, in flag order: baudrate,
// framing, flow, gprs, ntrip, dyndns, autoexec, bluetooth.
QStringList groupNames(int flags);

// The identity as the window shows it after connecting.
KeyValues identityLines(const DeviceIdentity &identity);

// The operating mode held by a record, as the window would show it.
KeyValues modeLines(const KZConfig &config);
