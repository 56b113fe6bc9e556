#include "device/kzserialport.h"

#include "device/exchangelog.h"
#include "device/linecodec.h"
#include "device/porterror.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QSerialPort>

namespace {

// Marks the span of a line exchange, so that bytes the port announces
// meanwhile are left to the exchange instead of the terminal.
class ExchangeGuard
{
public:
    explicit ExchangeGuard(int &depth) : m_depth(depth) { ++m_depth; }
    ~ExchangeGuard() { --m_depth; }
    ExchangeGuard(const ExchangeGuard &) = delete;
    ExchangeGuard &operator=(const ExchangeGuard &) = delete;

private:
    int &m_depth;
};

QSerialPort::DataBits dataBitsFromCode(int code, bool *ok)
{
    *ok = true;
    switch (code) {
    case 0: return QSerialPort::Data5;
    case 1: return QSerialPort::Data6;
    case 2: return QSerialPort::Data7;
    case 3: return QSerialPort::Data8;
    }
    *ok = false;
    return QSerialPort::Data8;
}

QSerialPort::Parity parityFromCode(int code, bool *ok)
{
    *ok = true;
    switch (code) {
    case 0: return QSerialPort::NoParity;
    case 1: return QSerialPort::OddParity;
    case 2: return QSerialPort::EvenParity;
    case 3: return QSerialPort::SpaceParity;
    case 4: return QSerialPort::MarkParity;
    }
    *ok = false;
    return QSerialPort::NoParity;
}

QSerialPort::StopBits stopBitsFromCode(int code, bool *ok)
{
    *ok = true;
    switch (code) {
    case 0: return QSerialPort::OneStop;
    case 1: return QSerialPort::OneAndHalfStop;
    case 2: return QSerialPort::TwoStop;
    }
    *ok = false;
    return QSerialPort::OneStop;
}

QSerialPort::FlowControl flowFromCode(int code, bool *ok)
{
    *ok = true;
    switch (code) {
    case 0: return QSerialPort::NoFlowControl;
    case 1: return QSerialPort::HardwareControl;
    case 2: return QSerialPort::SoftwareControl;
    }
    *ok = false;
    return QSerialPort::NoFlowControl;
}

bool isFatal(QSerialPort::SerialPortError e)
{
    return LineCodec::isFatalPortError(e);
}

} // namespace

static thread_local int t_exchangeDepth = 0;

KZSerialPort::KZSerialPort(QObject *parent) : QObject(parent)
{
}

KZSerialPort::~KZSerialPort()
{
    if (port && port->isOpen())
        port->close();
}

int KZSerialPort::baudFromCode(int code)
{
    // The index form of the baud-rate enumeration the codes come from.
    static const int bauds[] = { 50,    75,    110,   134,   150,   200,   300,
                                 600,   1200,  1800,  2400,  4800,  9600,  14400,
                                 19200, 38400, 56000, 57600, 76800, 115200 };
    if (code < 0 || code >= int(sizeof(bauds) / sizeof(bauds[0])))
        return -1;
    return bauds[code];
}

void KZSerialPort::setPortSettings(const QString &name, int baud, int dataBits_, int parity_,
                                   int stopBits_, int flow)
{
    deviceName = name;
    baudRate = baud;
    dataBits = dataBits_;
    parity = parity_;
    stopBits = stopBits_;
    flowControl = flow;
}

bool KZSerialPort::openPort()
{
    if (port) {
        if (port->isOpen())
            port->close();
        delete port;
        port = nullptr;
    }
    m_open = false;
    m_lineLost = false;
    m_openFailure.clear();

    port = new QSerialPort(this);
    port->setPortName(deviceName);
    connect(port, &QSerialPort::readyRead, this, &KZSerialPort::portReadyRead);
    QSerialPort *p = port;
    connect(port, &QSerialPort::errorOccurred, this, [this, p](QSerialPort::SerialPortError e) {
        if (p != port || !isFatal(e) || !p->isOpen())
            return;
        m_lineLost = true;
        // Inside an exchange the blocking wait notices and closes the port;
        // while idle, close it here so the next action fails at once.
        if (t_exchangeDepth == 0) {
            QMetaObject::invokeMethod(
                    this,
                    [this, p] {
                        if (p == port && p->isOpen()) {
                            qDebug() << QStringLiteral("port lost: %1").arg(p->errorString());
                            closePort();
                            emit portLost();
                        }
                    },
                    Qt::QueuedConnection);
        }
    });

    bool ok1, ok2, ok3, ok4;
    const int baud = baudFromCode(baudRate);
    const auto db = dataBitsFromCode(dataBits, &ok1);
    const auto par = parityFromCode(parity, &ok2);
    const auto sb = stopBitsFromCode(stopBits, &ok3);
    const auto fc = flowFromCode(flowControl, &ok4);
    if (deviceName.isEmpty()) {
        m_openFailure = PortError::reason(deviceName, QSerialPort::NoError, QString(), PortFacts());
        return false;
    }
    if (baud < 0 || !ok1 || !ok2 || !ok3 || !ok4) {
        m_openFailure = tr("Недопустимые настройки порта.");
        return false;
    }
    port->setBaudRate(baud);
    port->setDataBits(db);
    port->setParity(par);
    port->setStopBits(sb);
    port->setFlowControl(fc);
    if (!port->open(QIODevice::ReadWrite)) {
        m_openFailure = PortError::reason(deviceName, port->error(), port->errorString(),
                                          PortError::inspect(PortError::systemLocation(deviceName)));
        return false;
    }
    m_open = true;
    return true;
}

void KZSerialPort::closePort()
{
    online = false;
    if (port && port->isOpen())
        port->close();
    m_open = false;
}

bool KZSerialPort::checkPortFailed()
{
    if (!port)
        return true;
    if (!port->isOpen()) {
        m_open = false;
        return true;
    }
    if (m_lineLost || isFatal(port->error())) {
        qDebug() << QStringLiteral("port lost: %1").arg(port->errorString());
        m_lineLost = true;
        closePort();
        emit portLost();
        return true;
    }
    return false;
}

bool KZSerialPort::waitForBytes(int ms)
{
    if (!port || !port->isOpen())
        return false;
    if (port->waitForReadyRead(qMax(0, ms)))
        return true;
    checkPortFailed();
    return false;
}

bool KZSerialPort::writeBytes(const QByteArray &data)
{
    ExchangeGuard guard(t_exchangeDepth);
    if (!port || !port->isOpen() || checkPortFailed())
        return false;
    if (port->write(data) != data.size()) {
        checkPortFailed();
        return false;
    }
    QDeadlineTimer deadline(LineCodec::writeDeadlineMs(data.size(), baudFromCode(baudRate)));
    while (port->bytesToWrite() > 0) {
        if (!port->waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())))) {
            if (checkPortFailed() || deadline.hasExpired())
                return port && port->isOpen() && port->bytesToWrite() == 0;
        }
    }
    return true;
}

void KZSerialPort::sendCommand(const QString &line)
{
    logExchange(QStringLiteral("> ") + line);
    writeBytes(LineCodec::toLatin1(line) + "\r\n");
}

bool KZSerialPort::waitReply(int timeoutMs)
{
    ExchangeGuard guard(t_exchangeDepth);
    QDeadlineTimer deadline(qMax(0, timeoutMs));
    QString gathered;
    bool finalLook = false;
    auto fail = [&] {
        lastReply = gathered;
        logExchange(QStringLiteral("<! ") + gathered);
        return false;
    };
    for (;;) {
        if (!port || !port->isOpen() || checkPortFailed())
            return fail();
        char c;
        while (port->bytesAvailable() > 0 && port->getChar(&c)) {
            if (c == '\r')
                continue;
            if (c == '\n') {
                if (gathered.isEmpty())
                    continue;
                lastReply = gathered;
                logExchange(QStringLiteral("< ") + gathered);
                return true;
            }
            gathered.append(QChar(uchar(c)));
            if (gathered.size() > MaxLineLength)
                return fail();
        }
        if (deadline.hasExpired()) {
            // Take what the driver already holds before giving up, once.
            if (!finalLook && port->waitForReadyRead(0)) {
                finalLook = true;
                continue;
            }
            return fail();
        }
        const qint64 left = deadline.remainingTime();
        if (!waitForBytes(int(qBound<qint64>(qint64(1), left, qint64(50)))) && m_lineLost)
            return fail();
    }
}

bool KZSerialPort::waitReplyIs(const QString &expected, int timeoutMs)
{
    waitReply(timeoutMs);
    return lastReply == expected;
}

bool KZSerialPort::sendAndWait(const QString &line, int timeoutMs)
{
    sendCommand(line);
    return waitReply(timeoutMs);
}

QByteArray KZSerialPort::collect(int timeoutMs, bool (*done)(const QByteArray &))
{
    // Bounded like every reader: a flood ends the gathering at once.
    constexpr int MaxBytes = 1 << 20;
    ExchangeGuard guard(t_exchangeDepth);
    QByteArray data;
    QDeadlineTimer deadline(qMax(0, timeoutMs));
    for (;;) {
        if (!port || !port->isOpen() || checkPortFailed())
            return data;
        data += port->read(MaxBytes + 1 - data.size());
        if ((done && done(data)) || data.size() > MaxBytes)
            return data;
        if (deadline.hasExpired()) {
            if (port->waitForReadyRead(0))
                data += port->read(MaxBytes + 1 - data.size());
            return data;
        }
        const qint64 left = deadline.remainingTime();
        if (!waitForBytes(int(qBound<qint64>(qint64(1), left, qint64(50)))) && m_lineLost)
            return data;
    }
}

QByteArray KZSerialPort::collectUntilQuiet(int quietMs, int maxLine)
{
    // Bounded in size and time, so a modem that never stops talking cannot
    // hold the worker.
    constexpr int MaxBytes = 1 << 20;
    constexpr int MaxTotalMs = 120000;
    ExchangeGuard guard(t_exchangeDepth);
    QByteArray data;
    QDeadlineTimer total(MaxTotalMs);
    QDeadlineTimer quiet(qMax(0, quietMs));
    for (;;) {
        if (!port || !port->isOpen() || checkPortFailed())
            return data;
        const QByteArray more = port->readAll();
        if (!more.isEmpty()) {
            data += more;
            quiet.setRemainingTime(qMax(0, quietMs));
        }
        if (data.size() > MaxBytes || total.hasExpired())
            return data;
        if (maxLine > 0 && data.size() - (data.lastIndexOf('\n') + 1) > maxLine)
            return data;
        if (quiet.hasExpired()) {
            if (port->waitForReadyRead(0))
                continue;
            return data;
        }
        const qint64 left = quiet.remainingTime();
        if (!waitForBytes(int(qBound<qint64>(qint64(1), left, qint64(50)))) && m_lineLost)
            return data;
    }
}

void KZSerialPort::drainInput()
{
    ExchangeGuard guard(t_exchangeDepth);
    if (!port || !port->isOpen())
        return;
    port->waitForReadyRead(0);
    port->readAll();
    port->clear(QSerialPort::Input);
}

void KZSerialPort::rawWrite(QByteArray data)
{
    logExchange(QStringLiteral("> ") + QString::fromLocal8Bit(data));
    if (!port || !port->isOpen())
        return;
    if (port->write(data) != data.size()) {
        checkPortFailed();
        return;
    }
    port->flush();
    QDeadlineTimer deadline(LineCodec::writeDeadlineMs(data.size(), baudFromCode(baudRate)));
    while (port->isOpen() && port->bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!port->waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
            if (checkPortFailed())
                return;
    }
}

void KZSerialPort::portReadyRead()
{
    if (t_exchangeDepth > 0 || exchangeRunning() || !m_rawReadEnabled || !port)
        return;
    if (port->bytesAvailable() <= 0)
        return;
    const QByteArray data = port->readAll();
    qDebug() << (QStringLiteral("< ") + QString::fromLocal8Bit(data));
    ExchangeLog::global().appendRaw(data);
    emit rawRead(data);
}
