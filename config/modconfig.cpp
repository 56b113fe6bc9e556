#include "device/kzconfigthread.h"

void KZConfigThread::modConfig(KZConfig config_new, int flags)
{
    BusyGuard guard(busy);
    Q_UNUSED(config_new);
    emit configCompleted(0, flags & KZConfig::ConfigAll);
}
