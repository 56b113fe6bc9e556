#pragma once

#include <QString>

// A modem whose application is not running: after an interrupted update the
// module still answers "AT", but the application's commands answer "ERROR".
namespace AppState {

// The reply to "AT^JINFO,0" and to the "AT" sent after it tell this state.
bool halted(const QString &infoReply, const QString &atReply);

// What the user is told.
QString haltedMessage();

} // namespace AppState
