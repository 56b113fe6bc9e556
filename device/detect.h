#pragma once

#include <QList>
#include <QString>

// Finding a modem and its speed: which speeds are tried in which order, what
// counts as an answer to the probe, and how long to wait for one. The search
// never sends "+++" and never writes a setting.
namespace Detect {

// The baud-rate table's rates, the most used first (115200, 57600, 38400,
// 19200, 9600), then the others from the fastest down.
QList<int> speedOrder();

// An answer to CR LF "AT" CR LF: "OK", or the modem's echo "AT".
bool isProbeAnswer(const QString &line);

// How long to wait for the answer at `baud`: enough for the echo and the
// "OK" to cross the line, with room for the modem to turn round; a few
// hundred milliseconds at 115200.
int replyWaitMs(int baud);

// The model in the reply to "AT^JINFO,0"; *isReply tells whether the line
// is that reply (and not the command's echo).
QString modelFromReply(const QString &line, bool *isReply);

} // namespace Detect

// What the search found on one port.
struct DetectResult {
    QString port;
    int baud = 0;  // 0: no modem found
    QString model; // empty for a modem without its application
    QString error; // why the port failed, when no modem was found
    bool found() const { return baud > 0; }
};
