#include "device/kzconfigthread.h"

void KZConfigThread::applyFirmware()
{
    BusyGuard guard(busy);
    emit opCompleted(OpFirmware, false, QStringLiteral("firmware update is not built yet"));
}
