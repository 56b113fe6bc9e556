#pragma once

#include "device/errorstack.h"
#include "obex/obex.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;

// The OBEX session that carries files onto the modem's flash drive. It works
// on the serial port the link holds open (not owned) and blocks the calling
// thread for every exchange. A device that fails or closes ends every
// operation at once.
class ObexClient
{
public:
    // The modem's file-system service.
    static const QByteArray &fileSystemTarget();

    static constexpr int ProposedMaxPacketLength = 8192;
    // The smallest packet length OBEX allows a peer to announce; anything
    // smaller leaves no useful room for a body.
    static constexpr int MinPacketLength = 255;
    static constexpr int BodyReserve = 13;
    static constexpr int ModeLineTimeoutMs = 1500;
    static constexpr int EscapeGuardMs = 2000;
    static constexpr int EscapeReplyTimeoutMs = 3500;
    static constexpr int HangupReplyTimeoutMs = 2000;
    static constexpr int ConnectTimeoutMs = 4000;
    static constexpr int DeleteTimeoutMs = 2000;
    static constexpr int PutTimeoutMs = 4000;
    static constexpr int PollMs = 50;
    // A reply line longer than this is garbage; the read stops there.
    static constexpr int MaxLineLength = 4096;
    // How often a Continue answer to the final packet is tolerated.
    static constexpr int MaxFinalRepeats = 4;
    static const char TimeFormat[];

    using Progress = std::function<void(qint64 sent, qint64 total)>;

    explicit ObexClient(QIODevice *device);

    // A client in OBEX mode with a session open, or null. When the CONNECT
    // fails the modem is returned to command mode first; *why (if given)
    // then says which request failed and how.
    static std::unique_ptr<ObexClient> create(QIODevice *device,
                                              const QByteArray &target = fileSystemTarget(),
                                              ErrorStack *why = nullptr);

    bool enterObexMode();
    bool connect(const QByteArray &target);
    bool deleteFile(const QString &name);
    bool putFile(QIODevice *source, const QString &name, const QDateTime &time,
                 const Progress &progress = Progress());
    // Sends `headers` (in order) and the content of `source` as one object.
    bool put(QIODevice *source, const Obex::HeaderList &headers,
             const Progress &progress = Progress());
    bool leaveObexMode();
    bool close() { return leaveObexMode(); }

    // One complete packet, or empty when none arrived whole in time.
    static QByteArray readPacket(QIODevice *device, int timeoutMs);
    std::unique_ptr<Obex::PutPacket> readPutResponse(int timeoutMs);
    std::unique_ptr<Obex::ConnectPacket> readConnectResponse(int timeoutMs);

    // True when the device can no longer carry the session.
    static bool deviceFailed(const QIODevice *device);

    QIODevice *device;
    int maxPacketLength = 0;

    // Why the last call that failed did: which request got which response
    // code, or none within how long.
    const ErrorStack &error() const { return m_error; }

private:
    // Records the failure and returns false.
    bool failed(const QString &where, const QString &what);
    // A response that did not come whole within timeoutMs.
    bool noResponse(const QString &where, int timeoutMs);
    QString putName() const;

    ErrorStack m_error;
    QString m_object; // the name of the object being put, for the record
    bool writeAll(const QByteArray &data);
    QString readLine(int timeoutMs);
    bool commandIs(const QByteArray &command, const QString &expected, int timeoutMs);
    // The next line is `expected`; otherwise the failure names `command`.
    bool lineIs(const QByteArray &command, const QString &expected, int timeoutMs);
};
