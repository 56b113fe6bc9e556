#pragma once

#include <QString>

// A modem whose application is not running: after an interrupted update the
// module still answers "AT", but the application's commands answer "ERROR".
namespace AppState {

// The reply to "AT^JINFO,0" and to the "AT" sent after it tell this state.
bool halted(const QString &infoReply, const QString &atReply);

// What the user is told.
QString haltedMessage();

// The command that starts the application from the modem's drive, the
// bound on its reply, and the "AT" probes that wait for the application to
// come up: about 30 s in all.
QString startCommand();
constexpr int StartReplyMs = 2000;
constexpr int StartProbeMs = 2000;
constexpr int StartProbeTries = 15;

// A reply that ends an "AT" probe while the application halts or starts:
// the module is there ("OK", "ERROR", or its echo "AT").
bool probeAnswered(const QString &reply);

} // namespace AppState
