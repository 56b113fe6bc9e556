#include "device/appstate.h"

namespace AppState {

bool halted(const QString &infoReply, const QString &atReply)
{
    return infoReply == QLatin1String("ERROR") && atReply == QLatin1String("OK");
}

QString haltedMessage()
{
    return QStringLiteral("Приложение модема не запущено. Возможно, было прервано обновление ПО.");
}

} // namespace AppState
