#pragma once

#include "config/kzconfig.h"

#include <QList>
#include <QString>
#include <QStringList>

// What a configuration write sends, worked out before anything is sent: the
// write executes this plan, and a dry run prints it, so the two cannot differ.
namespace WritePlan {

// The link settings a serial-settings command moves the tool's port to once
// the modem has acknowledged it; -1 leaves a setting as it is.
struct LinkChange {
    int baudCode = -1;
    int dataBits = -1;
    int parity = -1;
    int stopBits = -1;
    int flow = -1;
};

struct Command {
    enum Kind {
        Acknowledged, // the reply must be "OK"
        SerialSetting, // "OK", then the port is reopened with `link`
        Unjudged, // one reply line is awaited and not examined
    };
    Kind kind = Acknowledged;
    QString line; // exactly as it goes on the wire, without CR LF
    int timeoutMs = 3000;
    LinkChange link;
};

struct Group {
    enum Outcome {
        Write, // send `commands`; the group succeeds when they all do
        Skip, // nothing is sent and the group is reported in neither set
        Refused, // nothing is sent and the group fails
    };
    int flag = 0; // KZConfig group flag
    Outcome outcome = Write;
    // Profile groups send every command even after one failed; the other
    // groups stop at the first failure.
    bool continueAfterFailure = false;
    QList<Command> commands;
    QString reason; // Refused: why, for the debug output
};

// The groups of `flags` in the order they are written. `current` is the
// record as last read from the modem (the profile lists are written as a
// difference against it), `wanted` the record to write, `softwareNumber`
// the modem's software version as a number.
QList<Group> plan(const KZConfig &current, const KZConfig &wanted, int flags, int softwareNumber);

// Every command line of the plan, in order, as if each command succeeded.
QStringList lines(const QList<Group> &groups);

} // namespace WritePlan
