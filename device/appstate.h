#pragma once

#include <QString>

// A modem whose application is not running: after an interrupted update the
// module still answers "AT", but the application's commands answer "ERROR".
namespace AppState {

// The reply to "AT^JINFO,0" and to the "AT" sent after it tell this state.
bool halted(const QString &infoReply, const QString &atReply);

// What the user is told.
QString haltedMessage();

// The command that starts the application from the modem's drive.
QString startCommand();

// A reply that ends an "AT" probe while the application halts or starts:
// the module is there ("OK", "ERROR", or its echo "AT").
bool probeAnswered(const QString &reply);

} // namespace AppState
