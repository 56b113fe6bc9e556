#include "obex/obexclient.h"

#include <QDeadlineTimer>
#include <QIODevice>
#include <QSerialPort>
#include <QThread>

using namespace Obex;

namespace {

bool isFatal(QSerialPort::SerialPortError e)
{
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError
            || e == QSerialPort::WriteError || e == QSerialPort::DeviceNotFoundError;
}

int pollSlice(const QDeadlineTimer &deadline)
{
    return int(qBound<qint64>(1, deadline.remainingTime(), qint64(ObexClient::PollMs)));
}

// Reads into `out` until it holds `want` bytes; false when the deadline
// passes first or the device fails.
bool fill(QIODevice *device, QByteArray &out, qsizetype want, const QDeadlineTimer &deadline)
{
    bool finalLook = false;
    while (out.size() < want) {
        if (ObexClient::deviceFailed(device))
            return false;
        if (device->bytesAvailable() > 0) {
            const QByteArray part = device->read(want - out.size());
            if (part.isEmpty())
                return false;
            out += part;
            continue;
        }
        if (deadline.hasExpired()) {
            // Take what the driver already holds before giving up, once.
            if (finalLook || !device->waitForReadyRead(0))
                return false;
            finalLook = true;
            continue;
        }
        device->waitForReadyRead(pollSlice(deadline));
    }
    return true;
}

} // namespace

const char ObexClient::TimeFormat[] = "yyyyMMdd'T'hhmmss";

const QByteArray &ObexClient::fileSystemTarget()
{
    static const QByteArray target = QByteArray::fromHex("6b01cb31410611d49a770050da3f471f");
    return target;
}

ObexClient::ObexClient(QIODevice *device) : device(device) { }

bool ObexClient::deviceFailed(const QIODevice *device)
{
    if (!device || !device->isOpen())
        return true;
    if (const auto *port = qobject_cast<const QSerialPort *>(device))
        return isFatal(port->error());
    return false;
}

std::unique_ptr<ObexClient> ObexClient::create(QIODevice *device, const QByteArray &target)
{
    auto client = std::make_unique<ObexClient>(device);
    if (!client->enterObexMode())
        return nullptr;
    if (!client->connect(target)) {
        client->leaveObexMode();
        return nullptr;
    }
    return client;
}

bool ObexClient::writeAll(const QByteArray &data)
{
    if (deviceFailed(device))
        return false;
    if (device->write(data) != data.size())
        return false;
    int baud = 115200;
    if (const auto *port = qobject_cast<const QSerialPort *>(device))
        baud = qMax<qint32>(300, port->baudRate());
    // Time for the bytes at the line rate, with room for a slow driver.
    QDeadlineTimer deadline(2000 + qint64(data.size()) * 10000 / baud);
    while (device->bytesToWrite() > 0) {
        if (deviceFailed(device) || deadline.hasExpired())
            return false;
        device->waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    return !deviceFailed(device);
}

QString ObexClient::readLine(int timeoutMs)
{
    QDeadlineTimer deadline(qMax(0, timeoutMs));
    QString line;
    bool finalLook = false;
    for (;;) {
        if (deviceFailed(device))
            return line;
        char c;
        while (device->bytesAvailable() > 0) {
            if (!device->getChar(&c))
                return line;
            if (c == '\r')
                continue;
            if (c == '\n') {
                if (line.isEmpty())
                    continue;
                return line;
            }
            line.append(QChar(uchar(c)));
            if (line.size() >= MaxLineLength || deadline.hasExpired())
                return line;
        }
        if (deadline.hasExpired()) {
            if (finalLook || !device->waitForReadyRead(0))
                return line;
            finalLook = true;
            continue;
        }
        device->waitForReadyRead(pollSlice(deadline));
    }
}

bool ObexClient::commandIs(const QByteArray &command, const QString &expected, int timeoutMs)
{
    return writeAll(command) && readLine(timeoutMs) == expected;
}

bool ObexClient::enterObexMode()
{
    if (!commandIs("AT\r\n", QStringLiteral("OK"), ModeLineTimeoutMs))
        return false;
    if (!commandIs("AT^SQWE?\r\n", QStringLiteral("^SQWE: 0"), ModeLineTimeoutMs))
        return false;
    if (readLine(ModeLineTimeoutMs) != QLatin1String("OK"))
        return false;
    return commandIs("AT^SQWE=3\r\n", QStringLiteral("OK"), ModeLineTimeoutMs);
}

bool ObexClient::connect(const QByteArray &target)
{
    maxPacketLength = 0;
    ConnectPacket request;
    request.maxPacketLength = ProposedMaxPacketLength;
    request.addHeader(std::make_unique<ByteArrayHeader>(HeaderTarget, target));
    if (!writeAll(request.toByteArray()))
        return false;
    const QByteArray raw = readPacket(device, ConnectTimeoutMs);
    // The response code is not judged; but a response without room for the
    // packet length, or one that leaves no room for a body, ends the session.
    if (raw.size() < 7)
        return false;
    const ConnectPacket response(raw);
    const int negotiated =
            int(qMin<quint32>(quint32(response.maxPacketLength), ProposedMaxPacketLength));
    if (negotiated < MinPacketLength)
        return false;
    maxPacketLength = negotiated;
    return true;
}

bool ObexClient::deleteFile(const QString &name)
{
    PutPacket request;
    request.setFinal();
    request.addHeader(std::make_unique<StringHeader>(HeaderName, name));
    if (!writeAll(request.toByteArray()))
        return false;
    return readPutResponse(DeleteTimeoutMs) != nullptr;
}

bool ObexClient::putFile(QIODevice *source, const QString &name, const QDateTime &time,
                         const Progress &progress)
{
    HeaderList headers;
    headers.push_back(std::make_unique<StringHeader>(HeaderName, name));
    headers.push_back(std::make_unique<ByteArrayHeader>(
            HeaderTime, time.toLocalTime().toString(QLatin1String(TimeFormat)).toLatin1()));
    return put(source, headers, progress);
}

bool ObexClient::put(QIODevice *source, const HeaderList &headers, const Progress &progress)
{
    if (deviceFailed(device))
        return false;
    PutPacket first;
    for (const auto &h : headers)
        first.addHeader(h->clone());
    const int chunk = maxPacketLength - BodyReserve - first.packetLength();
    if (chunk <= 0)
        return false;

    const qint64 total = source ? qMax<qint64>(0, source->bytesAvailable()) : 0;
    qint64 sent = 0;
    bool firstPacket = true;
    int finalRepeats = 0;
    if (progress)
        progress(0, total);
    for (;;) {
        const qint64 n = source ? source->bytesAvailable() : 0;
        PutPacket packet;
        if (firstPacket)
            packet = first;
        qint64 body = 0;
        if (n > 0) {
            const QByteArray data = source->read(qMin<qint64>(n, chunk));
            if (data.isEmpty())
                return false;
            body = data.size();
            packet.addHeader(std::make_unique<ByteArrayHeader>(HeaderBody, data));
        } else {
            packet.setFinal();
            packet.addHeader(std::make_unique<ByteArrayHeader>(HeaderEndOfBody, QByteArray()));
        }
        if (!writeAll(packet.toByteArray()))
            return false;
        firstPacket = false;
        const auto response = readPutResponse(PutTimeoutMs);
        if (!response)
            return false;
        sent += body;
        if (progress && body > 0)
            progress(sent, total);
        if (response->opcode() != RespContinue)
            return packet.isFinal();
        // A peer that keeps asking for the final packet again is not heeded for ever.
        if (packet.isFinal() && ++finalRepeats > MaxFinalRepeats)
            return false;
    }
}

bool ObexClient::leaveObexMode()
{
    if (deviceFailed(device))
        return false;
    // Guard time: the line must stay silent before the escape is recognised.
    QThread::msleep(EscapeGuardMs);
    if (deviceFailed(device))
        return false;
    // Whatever came late from the session would spoil the escape's reply line.
    device->waitForReadyRead(0);
    device->readAll();
    if (!commandIs("+++", QStringLiteral("OK"), EscapeReplyTimeoutMs))
        return false;
    return commandIs("ATH\r\n", QStringLiteral("OK"), HangupReplyTimeoutMs);
}

QByteArray ObexClient::readPacket(QIODevice *device, int timeoutMs)
{
    QByteArray packet;
    if (!fill(device, packet, 3, QDeadlineTimer(qMax(0, timeoutMs))))
        return QByteArray();
    const quint16 length = readU16BE(packet, 1);
    if (length < 3)
        return QByteArray();
    if (!fill(device, packet, length, QDeadlineTimer(qMax(0, timeoutMs))))
        return QByteArray();
    return packet;
}

std::unique_ptr<PutPacket> ObexClient::readPutResponse(int timeoutMs)
{
    const QByteArray raw = readPacket(device, timeoutMs);
    if (raw.isEmpty())
        return nullptr;
    return std::make_unique<PutPacket>(raw);
}

std::unique_ptr<ConnectPacket> ObexClient::readConnectResponse(int timeoutMs)
{
    const QByteArray raw = readPacket(device, timeoutMs);
    if (raw.isEmpty())
        return nullptr;
    return std::make_unique<ConnectPacket>(raw);
}
