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
    if (m_port && m_port->isOpen())
        m_port->close();
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
    m_deviceName = name;
    m_baudRate = baud;
    m_dataBits = dataBits_;
    m_parity = parity_;
    m_stopBits = stopBits_;
    m_flowControl = flow;
}

bool KZSerialPort::openPort()
{
    if (m_port) {
        if (m_port->isOpen())
            m_port->close();
        delete m_port;
        m_port = nullptr;
    }
    m_open = false;
    m_lineLost = false;
    m_openFailure.clear();

    m_port = new QSerialPort(this);
    m_port->setPortName(m_deviceName);
    connect(m_port, &QSerialPort::readyRead, this, &KZSerialPort::portReadyRead);
    QSerialPort *p = m_port;
    connect(m_port, &QSerialPort::errorOccurred, this, [this, p](QSerialPort::SerialPortError e) {
        if (p != m_port || !isFatal(e) || !p->isOpen())
            return;
        m_lineLost = true;
        // Inside an exchange the blocking wait notices and closes the m_port;
        // while idle, close it here so the next action fails at once.
        if (t_exchangeDepth == 0) {
            QMetaObject::invokeMethod(
                    this,
                    [this, p] {
                        if (p == m_port && p->isOpen()) {
                            qDebug() << QStringLiteral("port lost: %1").arg(p->errorString());
                            closePort();
                            emit portLost();
                        }
                    },
                    Qt::QueuedConnection);
        }
    });

    bool ok1, ok2, ok3, ok4;
    const int baud = baudFromCode(m_baudRate);
    const auto db = dataBitsFromCode(m_dataBits, &ok1);
    const auto par = parityFromCode(m_parity, &ok2);
    const auto sb = stopBitsFromCode(m_stopBits, &ok3);
    const auto fc = flowFromCode(m_flowControl, &ok4);
    if (m_deviceName.isEmpty()) {
        m_openFailure = PortError::reason(m_deviceName, QSerialPort::NoError, QString(), PortFacts());
        return false;
    }
    if (baud < 0 || !ok1 || !ok2 || !ok3 || !ok4) {
        m_openFailure = tr("Недопустимые настройки порта.");
        return false;
    }
    m_port->setBaudRate(baud);
    m_port->setDataBits(db);
    m_port->setParity(par);
    m_port->setStopBits(sb);
    m_port->setFlowControl(fc);
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_openFailure = PortError::reason(m_deviceName, m_port->error(), m_port->errorString(),
                                          PortError::inspect(PortError::systemLocation(m_deviceName)));
        return false;
    }
    m_open = true;
    return true;
}

void KZSerialPort::closePort()
{
    m_online = false;
    if (m_port && m_port->isOpen())
        m_port->close();
    m_open = false;
}

bool KZSerialPort::reopenWith(int baud, int dataBits_, int parity_, int stopBits_, int flow)
{
    const bool wasOnline = m_online;
    closePort();
    m_online = wasOnline;
    if (baud >= 0)
        m_baudRate = baud;
    if (dataBits_ >= 0)
        m_dataBits = dataBits_;
    if (parity_ >= 0)
        m_parity = parity_;
    if (stopBits_ >= 0)
        m_stopBits = stopBits_;
    if (flow >= 0)
        m_flowControl = flow;
    return openPort();
}

bool KZSerialPort::reopenAtSpeed(qint32 baud)
{
    if (!m_port)
        return false;
    m_port->close();
    m_open = false;
    m_port->setBaudRate(baud);
    emit portSpeedChanged(baud);
    m_open = m_port->open(QIODevice::ReadWrite);
    return m_open;
}

qint32 KZSerialPort::portSpeed() const
{
    return m_port ? m_port->baudRate() : 0;
}

QString KZSerialPort::portName() const
{
    return m_port ? m_port->portName() : QString();
}

QString KZSerialPort::portErrorString() const
{
    return m_port ? m_port->errorString() : QString();
}

QIODevice *KZSerialPort::openDevice() const
{
    return m_port && m_port->isOpen() ? m_port : nullptr;
}

bool KZSerialPort::checkPortFailed()
{
    if (!m_port)
        return true;
    if (!m_port->isOpen()) {
        m_open = false;
        return true;
    }
    if (m_lineLost || isFatal(m_port->error())) {
        qDebug() << QStringLiteral("port lost: %1").arg(m_port->errorString());
        m_lineLost = true;
        closePort();
        emit portLost();
        return true;
    }
    return false;
}

bool KZSerialPort::waitForBytes(int ms)
{
    if (!m_port || !m_port->isOpen())
        return false;
    if (m_port->waitForReadyRead(qMax(0, ms)))
        return true;
    checkPortFailed();
    return false;
}

bool KZSerialPort::writeBytes(const QByteArray &data)
{
    ExchangeGuard guard(t_exchangeDepth);
    if (!m_port || !m_port->isOpen() || checkPortFailed())
        return false;
    if (m_port->write(data) != data.size()) {
        checkPortFailed();
        return false;
    }
    QDeadlineTimer deadline(LineCodec::writeDeadlineMs(data.size(), baudFromCode(m_baudRate)));
    while (m_port->bytesToWrite() > 0) {
        if (!m_port->waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())))) {
            if (checkPortFailed() || deadline.hasExpired())
                return m_port && m_port->isOpen() && m_port->bytesToWrite() == 0;
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
        m_lastReply = gathered;
        logExchange(QStringLiteral("<! ") + gathered);
        return false;
    };
    for (;;) {
        if (!m_port || !m_port->isOpen() || checkPortFailed())
            return fail();
        char c;
        while (m_port->bytesAvailable() > 0 && m_port->getChar(&c)) {
            if (c == '\r')
                continue;
            if (c == '\n') {
                if (gathered.isEmpty())
                    continue;
                m_lastReply = gathered;
                logExchange(QStringLiteral("< ") + gathered);
                return true;
            }
            gathered.append(QChar(uchar(c)));
            if (gathered.size() > MaxLineLength)
                return fail();
        }
        if (deadline.hasExpired()) {
            // Take what the driver already holds before giving up, once.
            if (!finalLook && m_port->waitForReadyRead(0)) {
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
    return m_lastReply == expected;
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
        if (!m_port || !m_port->isOpen() || checkPortFailed())
            return data;
        data += m_port->read(MaxBytes + 1 - data.size());
        if ((done && done(data)) || data.size() > MaxBytes)
            return data;
        if (deadline.hasExpired()) {
            if (m_port->waitForReadyRead(0))
                data += m_port->read(MaxBytes + 1 - data.size());
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
        if (!m_port || !m_port->isOpen() || checkPortFailed())
            return data;
        const QByteArray more = m_port->readAll();
        if (!more.isEmpty()) {
            data += more;
            quiet.setRemainingTime(qMax(0, quietMs));
        }
        if (data.size() > MaxBytes || total.hasExpired())
            return data;
        if (maxLine > 0 && data.size() - (data.lastIndexOf('\n') + 1) > maxLine)
            return data;
        if (quiet.hasExpired()) {
            if (m_port->waitForReadyRead(0))
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
    if (!m_port || !m_port->isOpen())
        return;
    m_port->waitForReadyRead(0);
    m_port->readAll();
    m_port->clear(QSerialPort::Input);
}

void KZSerialPort::rawWrite(QByteArray data)
{
    logExchange(QStringLiteral("> ") + QString::fromLocal8Bit(data));
    if (!m_port || !m_port->isOpen())
        return;
    if (m_port->write(data) != data.size()) {
        checkPortFailed();
        return;
    }
    m_port->flush();
    QDeadlineTimer deadline(LineCodec::writeDeadlineMs(data.size(), baudFromCode(m_baudRate)));
    while (m_port->isOpen() && m_port->bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port->waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
            if (checkPortFailed())
                return;
    }
}

void KZSerialPort::portReadyRead()
{
    if (t_exchangeDepth > 0 || exchangeRunning() || !m_rawReadEnabled || !m_port)
        return;
    if (m_port->bytesAvailable() <= 0)
        return;
    const QByteArray data = m_port->readAll();
    qDebug() << (QStringLiteral("< ") + QString::fromLocal8Bit(data));
    ExchangeLog::global().appendRaw(data);
    emit rawRead(data);
}
