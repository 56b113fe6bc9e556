#include "device/kzconfigthread.h"

void KZConfigThread::reqConfig(int flags)
{
    BusyGuard guard(busy);
    emit requestCompleted(0, flags & KZConfig::ConfigAll);
}
