#include "device/operationlog.h"

#include "device/exchangelog.h"
#include "device/kzconfigthread.h"

namespace {

QString flagsResult(int flagsOk, int flagsError)
{
    return QStringLiteral("OK %1  ERR %2").arg(flagsOk, 0, 16).arg(flagsError, 0, 16);
}

} // namespace

void logOperationsOf(KZConfigThread *worker)
{
    QObject::connect(
            worker, &KZConfigThread::opCompleted, worker,
            [](KZConfigThread::Operation, bool ok, const QString &errorDebug) {
                ExchangeLog::global().endOperation(
                        ok ? QStringLiteral("ok")
                           : (errorDebug.isEmpty() ? QStringLiteral("failed")
                                                   : QStringLiteral("failed: ") + errorDebug));
            },
            Qt::DirectConnection);
    QObject::connect(
            worker, &KZConfigThread::requestCompleted, worker,
            [](int ok, int error) { ExchangeLog::global().endOperation(flagsResult(ok, error)); },
            Qt::DirectConnection);
    QObject::connect(
            worker, &KZConfigThread::configCompleted, worker,
            [](int ok, int error) { ExchangeLog::global().endOperation(flagsResult(ok, error)); },
            Qt::DirectConnection);
    QObject::connect(
            worker, &KZConfigThread::reportComplete, worker,
            [](const QString &report) {
                ExchangeLog::global().endOperation(
                        QStringLiteral("ok, %1 characters").arg(report.size()));
            },
            Qt::DirectConnection);
}
