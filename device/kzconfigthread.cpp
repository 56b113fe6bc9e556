#include "device/kzconfigthread.h"

#include "device/exchangelog.h"
#include "device/groupresult.h"
#include "device/operationlog.h"

#include <QDebug>
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
    return identityNow().softwareNumber();
}

void KZConfigThread::handFirmware(const FirmwareContainer &container)
{
    QMetaObject::invokeMethod(
            this, [this, container] { m_firmware = container; }, Qt::QueuedConnection);
}

DeviceIdentity KZConfigThread::identity() const
{
    QMutexLocker lock(&m_snapshotLock);
    return m_identity;
}

KZConfig KZConfigThread::record() const
{
    QMutexLocker lock(&m_snapshotLock);
    return m_record;
}

void KZConfigThread::publishRecord()
{
    QMutexLocker lock(&m_snapshotLock);
    m_record = config;
}

QMap<int, ErrorStack> KZConfigThread::groupErrors() const
{
    QMutexLocker lock(&m_snapshotLock);
    return m_groupErrors;
}

void KZConfigThread::publishGroupErrors(const QMap<int, ErrorStack> &errors)
{
    QMutexLocker lock(&m_snapshotLock);
    m_groupErrors = errors;
}

QString KZConfigThread::formatGroupErrors(const QMap<int, ErrorStack> &errors)
{
    QStringList lines;
    for (auto it = errors.cbegin(); it != errors.cend(); ++it)
        lines << it.value().format(QStringLiteral("group %1:").arg(it.key(), 0, 16));
    return lines.join(QLatin1Char('\n'));
}

void KZConfigThread::publishIdentity()
{
    QMutexLocker lock(&m_snapshotLock);
    m_identity = m_device;
}

void KZConfigThread::doConnect()
{
    OperationLogScope logScope(QStringLiteral("doConnect"), deviceName());
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

void logGroupResult(const char *what, int flagsOk, int flagsError, const KZConfigThread &worker)
{
    qDebug() << QStringLiteral("%1: OK %2  ERR %3")
                        .arg(QLatin1String(what))
                        .arg(flagsOk, 0, 16)
                        .arg(flagsError, 0, 16);
    if (flagsError)
        qDebug() << KZConfigThread::formatGroupErrors(worker.groupErrors());
}
