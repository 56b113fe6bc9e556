#include "device/kzconfigthread.h"

void KZConfigThread::privilegedExecute(QString code)
{
    BusyGuard guard(busy);
    Q_UNUSED(code);
    emit opCompleted(OpPrivileged, false, QStringLiteral("privileged commands are not built yet"));
}
