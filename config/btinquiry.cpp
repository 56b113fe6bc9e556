#include "device/kzconfigthread.h"

void KZConfigThread::bluetoothInquiry()
{
    BusyGuard guard(busy);
    emit opCompleted(OpBluetoothInquiry, false, QStringLiteral("not built yet"));
}
