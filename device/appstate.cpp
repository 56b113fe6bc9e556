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

QString startCommand()
{
    return QStringLiteral("AT^SJRA=A:/atc65.jar");
}

bool probeAnswered(const QString &reply)
{
    return reply == QLatin1String("OK") || reply == QLatin1String("ERROR")
            || reply == QLatin1String("AT");
}

} // namespace AppState
