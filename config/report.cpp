#include "device/kzconfigthread.h"

void KZConfigThread::makeReport(bool profiles)
{
    BusyGuard guard(busy);
    Q_UNUSED(profiles);
    emit reportComplete(QString());
}
