#include "device/kzconfigthread.h"

#include "device/exchangelog.h"
#include "device/operationlog.h"

#include <QSerialPort>
#include <QThread>

KZConfigThread::KZConfigThread(QObject *parent) : KZSerialPort(parent)
{
    logOperationsOf(this);
}

KZConfigThread::~KZConfigThread() = default;

void KZConfigThread::registerMetaTypes()
{
    qRegisterMetaType<KZConfigThread::Operation>("KZConfigThread::Operation");
    KZConfig::registerMetaType();
}

int KZConfigThread::softwareNumber() const
{
    bool ok = false;
    const int n = softwareVersion.toInt(&ok, 10);
    return ok ? n : 0;
}

void KZConfigThread::doConnect()
{
    OperationLogScope logScope(QStringLiteral("doConnect"), deviceName);
    emit progress(tr("Открытие порта"));
    if (!openPort()) {
        emit opCompleted(OpConnect, false, QString());
        return;
    }
    emit progress(tr("Подключение"));
    emit opCompleted(OpConnect, true, QString());
}

void KZConfigThread::doDisconnect()
{
    closePort();
}

void KZConfigThread::termSend(QByteArray data)
{
    if (busy || !isPortOpen())
        return;
    rawWrite(data);
}

void KZConfigThread::termEscape(bool hangUp)
{
    if (busy || !isPortOpen())
        return;
    // The modem leaves a data connection on "+++" framed by 2 s of silence.
    QThread::msleep(2000);
    rawWrite("+++");
    emit termWritten("+++");
    QThread::msleep(2000);
    if (hangUp) {
        rawWrite("ATH\r\n");
        emit termWritten("ATH\r\n");
    }
}
