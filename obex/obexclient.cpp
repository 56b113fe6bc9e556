#include "obex/obexclient.h"

#include "device/linecodec.h"

#include <QDeadlineTimer>
#include <QIODevice>
#include <QSerialPort>
#include <QThread>

using namespace Obex;

namespace {

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
        return LineCodec::isFatalPortError(port->error());
    return false;
}

std::unique_ptr<ObexClient> ObexClient::create(QIODevice *device, const QByteArray &target,
                                               ErrorStack *why)
{
    auto client = std::make_unique<ObexClient>(device);
    if (!client->enterObexMode()) {
        if (why)
            *why = client->error();
        return nullptr;
    }
    if (!client->connect(target)) {
        if (why)
            *why = client->error();
        client->leaveObexMode();
        return nullptr;
    }
    return client;
}

bool ObexClient::failed(const QString &where, const QString &what)
{
    m_error = ErrorStack(where, what);
    return false;
}

bool ObexClient::noResponse(const QString &where, int timeoutMs)
{
    if (deviceFailed(device))
        return failed(where, QStringLiteral("the device failed"));
    return failed(where, QStringLiteral("no response within %1 ms").arg(timeoutMs));
}

QString ObexClient::putName() const
{
    return m_object.isEmpty() ? QStringLiteral("PUT") : QStringLiteral("PUT ") + m_object;
}

namespace {
QString responseText(quint8 code)
{
    return QStringLiteral("response 0x%1").arg(code, 2, 16, QLatin1Char('0'));
}
} // namespace

bool ObexClient::writeAll(const QByteArray &data)
{
    const QString where = QStringLiteral("write of %1 bytes").arg(data.size());
    if (deviceFailed(device))
        return failed(where, QStringLiteral("the device failed"));
    if (device->write(data) != data.size())
        return failed(where, QStringLiteral("not accepted by the device"));
    int baud = 115200;
    if (const auto *port = qobject_cast<const QSerialPort *>(device))
        baud = port->baudRate();
    QDeadlineTimer deadline(LineCodec::writeDeadlineMs(data.size(), baud));
    while (device->bytesToWrite() > 0) {
        if (deviceFailed(device))
            return failed(where, QStringLiteral("the device failed"));
        if (deadline.hasExpired())
            return failed(where, QStringLiteral("not sent within %1 ms")
                                         .arg(LineCodec::writeDeadlineMs(data.size(), baud)));
        device->waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    if (deviceFailed(device))
        return failed(where, QStringLiteral("the device failed"));
    return true;
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
    if (!writeAll(command))
        return false;
    return lineIs(command, expected, timeoutMs);
}

bool ObexClient::lineIs(const QByteArray &command, const QString &expected, int timeoutMs)
{
    const QString reply = readLine(timeoutMs);
    if (reply == expected)
        return true;
    const QString where = QString::fromLatin1(command).trimmed();
    if (reply.isEmpty())
        return failed(where, QStringLiteral("no reply within %1 ms").arg(timeoutMs));
    return failed(where, QStringLiteral("reply \"%1\", not \"%2\"").arg(reply, expected));
}

bool ObexClient::enterObexMode()
{
    if (!commandIs("AT\r\n", QStringLiteral("OK"), ModeLineTimeoutMs))
        return false;
    if (!commandIs("AT^SQWE?\r\n", QStringLiteral("^SQWE: 0"), ModeLineTimeoutMs))
        return false;
    if (!lineIs("AT^SQWE?", QStringLiteral("OK"), ModeLineTimeoutMs))
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
    if (raw.isEmpty())
        return noResponse(QStringLiteral("CONNECT"), ConnectTimeoutMs);
    if (raw.size() < 7)
        return failed(QStringLiteral("CONNECT"),
                      responseText(quint8(raw.at(0)))
                              + QStringLiteral(" of %1 bytes, without a packet length")
                                        .arg(raw.size()));
    const ConnectPacket response(raw);
    const int negotiated =
            int(qMin<quint32>(quint32(response.maxPacketLength), ProposedMaxPacketLength));
    if (negotiated < MinPacketLength)
        return failed(QStringLiteral("CONNECT"),
                      responseText(quint8(raw.at(0)))
                              + QStringLiteral(" with packet length %1").arg(negotiated));
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
    if (!readPutResponse(DeleteTimeoutMs))
        return noResponse(QStringLiteral("PUT delete ") + name, DeleteTimeoutMs);
    return true;
}

bool ObexClient::putFile(QIODevice *source, const QString &name, const QDateTime &time,
                         const Progress &progress)
{
    HeaderList headers;
    headers.push_back(std::make_unique<StringHeader>(HeaderName, name));
    headers.push_back(std::make_unique<ByteArrayHeader>(
            HeaderTime, time.toLocalTime().toString(QLatin1String(TimeFormat)).toLatin1()));
    m_object = name;
    const bool ok = put(source, headers, progress);
    m_object.clear();
    return ok;
}

bool ObexClient::put(QIODevice *source, const HeaderList &headers, const Progress &progress)
{
    if (deviceFailed(device))
        return failed(putName(), QStringLiteral("the device failed"));
    PutPacket first;
    for (const auto &h : headers)
        first.addHeader(h->clone());
    const int chunk = maxPacketLength - BodyReserve - first.packetLength();
    if (chunk <= 0)
        return failed(putName(), QStringLiteral("no room for a body in packets of %1 bytes")
                                         .arg(maxPacketLength));
    int packets = 0;

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
                return failed(putName(), QStringLiteral("the source gave nothing to read"));
            body = data.size();
            packet.addHeader(std::make_unique<ByteArrayHeader>(HeaderBody, data));
        } else {
            packet.setFinal();
            packet.addHeader(std::make_unique<ByteArrayHeader>(HeaderEndOfBody, QByteArray()));
        }
        ++packets;
        const QString where = putName() + QStringLiteral(", packet %1").arg(packets)
                + (packet.isFinal() ? QStringLiteral(" (final)") : QString());
        if (!writeAll(packet.toByteArray())) {
            m_error.push(where, QStringLiteral("not sent"));
            return false;
        }
        firstPacket = false;
        const auto response = readPutResponse(PutTimeoutMs);
        if (!response)
            return noResponse(where, PutTimeoutMs);
        sent += body;
        if (progress && body > 0)
            progress(sent, total);
        if (response->opcode() != RespContinue) {
            if (packet.isFinal())
                return true;
            return failed(where, responseText(response->opcode())
                                         + QStringLiteral(" before the object was complete"));
        }
        // A peer that keeps asking for the final packet again is not heeded for ever.
        if (packet.isFinal() && ++finalRepeats > MaxFinalRepeats)
            return failed(where, responseText(response->opcode())
                                         + QStringLiteral(" to the final packet %1 times")
                                                   .arg(finalRepeats));
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
