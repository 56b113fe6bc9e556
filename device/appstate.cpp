#include "device/appstate.h"

#include <QCoreApplication>

namespace AppState {

bool halted(const QString &infoReply, const QString &atReply)
{
    return infoReply == QLatin1String("ERROR") && atReply == QLatin1String("OK");
}

QString haltedMessage()
{
    return QCoreApplication::translate(
            "AppState", "Приложение модема не запущено. Возможно, было прервано обновление ПО.");
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
