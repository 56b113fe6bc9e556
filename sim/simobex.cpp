// The module's OBEX file service, reached after AT^SQWE=3: packets are
// assembled from the line, a CONNECT must name the file-system target, and
// PUT requests store and delete files on drive "A:/". A guarded "+++" (see
// simmodem.cpp) returns the line to command mode.
#include "sim/simmodem.h"
#include "sim/simmodem_p.h"

#include <chrono>
#include <thread>

namespace {

constexpr uchar OpConnect = 0x80;
constexpr uchar OpDisconnect = 0x81;
constexpr uchar OpPut = 0x02;
constexpr uchar OpAbort = 0xFF;
constexpr uchar FinalBit = 0x80;

constexpr uchar RespContinue = 0x90;
constexpr uchar RespSuccess = 0xA0;
constexpr uchar RespBadRequest = 0xC0;
constexpr uchar RespForbidden = 0xC3;
constexpr uchar RespNotFound = 0xC4;
constexpr uchar RespTooLarge = 0xCD;
constexpr uchar RespNotImplemented = 0xD1;

constexpr uchar HdrName = 0x01;
constexpr uchar HdrTime = 0x44;
constexpr uchar HdrTarget = 0x46;
constexpr uchar HdrBody = 0x48;
constexpr uchar HdrEndOfBody = 0x49;
constexpr uchar HdrWho = 0x4A;
constexpr uchar HdrConnectionId = 0xCB;

const QByteArray &fileSystemTarget()
{
    static const QByteArray target = QByteArray::fromHex("6b01cb31410611d49a770050da3f471f");
    return target;
}

QByteArray u16(int v)
{
    QByteArray b(2, '\0');
    b[0] = char((v >> 8) & 0xFF);
    b[1] = char(v & 0xFF);
    return b;
}

int readU16(const QByteArray &b, int at)
{
    return (uchar(b[at]) << 8) | uchar(b[at + 1]);
}

QByteArray packet(int code, const QByteArray &rest = QByteArray())
{
    return char(code) + u16(3 + int(rest.size())) + rest;
}

struct Header {
    uchar id;
    QByteArray value; // texts as they came: UTF-16 big-endian
};

// Walks a header list by the lengths on the wire (this side's own reading,
// independent of the tool's). False when a header is malformed or runs past
// the end of the packet.
bool parseHeaders(const QByteArray &b, int from, QList<Header> *out)
{
    int i = from;
    while (i < b.size()) {
        const uchar id = uchar(b[i]);
        switch (id >> 6) {
        case 0:
        case 1: {
            if (i + 3 > b.size())
                return false;
            const int len = readU16(b, i + 1);
            if (len < 3 || i + len > b.size())
                return false;
            out->append({ id, b.mid(i + 3, len - 3) });
            i += len;
            break;
        }
        case 2:
            if (i + 2 > b.size())
                return false;
            out->append({ id, b.mid(i + 1, 1) });
            i += 2;
            break;
        default:
            if (i + 5 > b.size())
                return false;
            out->append({ id, b.mid(i + 1, 4) });
            i += 5;
            break;
        }
    }
    return true;
}

const Header *findHeader(const QList<Header> &headers, uchar id)
{
    for (const Header &h : headers)
        if (h.id == id)
            return &h;
    return nullptr;
}

// UTF-16 big-endian; a terminating null is tolerated. False for an odd
// length or an empty name.
bool decodeName(const QByteArray &raw, QString *name)
{
    if (raw.size() % 2 != 0)
        return false;
    name->clear();
    for (int i = 0; i + 1 < raw.size(); i += 2) {
        const ushort u = ushort((uchar(raw[i]) << 8) | uchar(raw[i + 1]));
        if (u == 0)
            break;
        name->append(QChar(u));
    }
    return !name->isEmpty();
}

// "yyyyMMddThhmmss", optionally followed by "Z".
bool validTime(const QByteArray &t)
{
    if (t.size() != 15 && !(t.size() == 16 && t[15] == 'Z'))
        return false;
    for (int i = 0; i < 15; ++i) {
        if (i == 8) {
            if (t[i] != 'T')
                return false;
        } else if (t[i] < '0' || t[i] > '9') {
            return false;
        }
    }
    return true;
}

bool parseOnOff(const QString &v, bool *ok)
{
    const QString l = v.toLower();
    *ok = true;
    if (l == QLatin1String("on") || l == QLatin1String("yes") || l == QLatin1String("true")
        || l == QLatin1String("1"))
        return true;
    if (l == QLatin1String("off") || l == QLatin1String("no") || l == QLatin1String("false")
        || l == QLatin1String("0"))
        return false;
    *ok = false;
    return false;
}

} // namespace

void SimModem::Private::obexReset()
{
    obexBuf.clear();
    obexConnected = false;
    obexObjectOpen = false;
    obexObjectName.clear();
    obexObjectData.clear();
}

void SimModem::Private::obexByte(char c)
{
    if (obexSkipLf) {
        obexSkipLf = false;
        if (c == '\n')
            return;
    }
    obexBuf += c;
    if (obexBuf.size() < 3)
        return;
    const int length = readU16(obexBuf, 1);
    if (length < 3) {
        // No packet is that short: line noise, start over.
        obexBuf.clear();
        return;
    }
    if (obexBuf.size() < length)
        return;
    const QByteArray p = obexBuf;
    obexBuf.clear();
    obexPacket(p);
}

void SimModem::Private::obexRespond(const QByteArray &response)
{
    int fragmentMs;
    {
        std::lock_guard<std::mutex> lock(mutex);
        fragmentMs = state.obexFragmentMs;
    }
    if (fragmentMs <= 0 || response.size() < 4) {
        say(response);
        return;
    }
    // The code, the length, then the rest, each after a pause.
    say(response.left(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(fragmentMs));
    say(response.mid(1, 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(fragmentMs));
    say(response.mid(3));
}

void SimModem::Private::obexPacket(const QByteArray &p)
{
    const uchar opcode = uchar(p[0]);
    const bool isPut = (opcode & ~FinalBit) == OpPut;
    int number, putNumber = 0, refuseAt, refuseCode, dropAt, maxPacket, connectCode;
    bool connectBare;
    {
        std::lock_guard<std::mutex> lock(mutex);
        obexHeard << p;
        number = ++state.obexPacketCount;
        if (isPut)
            putNumber = ++state.obexPutCount;
        refuseAt = state.obexRefusePut;
        refuseCode = state.obexRefuseCode;
        dropAt = state.obexDropPacket;
        maxPacket = state.obexMaxPacket;
        connectCode = state.obexConnectCode;
        connectBare = state.obexConnectBare;
    }
    auto abandonObject = [this] {
        obexObjectOpen = false;
        obexObjectName.clear();
        obexObjectData.clear();
    };

    if (number == dropAt)
        return; // lost on the line: neither heeded nor answered
    if (isPut && putNumber == refuseAt) {
        abandonObject();
        obexRespond(packet(refuseCode));
        return;
    }
    // Longer than this side announced: refused, as a real server would.
    if (opcode != OpConnect && p.size() > maxPacket) {
        abandonObject();
        obexRespond(packet(RespTooLarge));
        return;
    }

    if (opcode == OpConnect) {
        {
            // Files placed in the drive's folder meanwhile are on the drive now.
            std::lock_guard<std::mutex> lock(mutex);
            loadDrive(state);
        }
        QList<Header> headers;
        if (p.size() < 7 || !parseHeaders(p, 7, &headers)) {
            obexRespond(packet(RespBadRequest));
            return;
        }
        const Header *target = findHeader(headers, HdrTarget);
        const bool ours = target && target->value == fileSystemTarget();
        const int code = connectCode != 0 ? connectCode : (ours ? RespSuccess : RespNotFound);
        obexConnected = code == RespSuccess;
        abandonObject();
        if (connectBare) {
            obexRespond(packet(code));
            return;
        }
        QByteArray rest;
        rest += char(0x10); // OBEX 1.0
        rest += char(0x00);
        rest += u16(qBound(0, maxPacket, 0xFFFF));
        if (obexConnected && ours) {
            rest += char(HdrConnectionId);
            rest += QByteArray::fromHex("00000001");
            rest += char(HdrWho) + u16(3 + int(target->value.size())) + target->value;
        }
        obexRespond(packet(code, rest));
        return;
    }
    if (opcode == OpDisconnect) {
        obexConnected = false;
        abandonObject();
        obexRespond(packet(RespSuccess));
        return;
    }
    if (opcode == OpAbort) {
        abandonObject();
        obexRespond(packet(RespSuccess));
        return;
    }
    if (!isPut) {
        obexRespond(packet(RespNotImplemented));
        return;
    }

    // PUT
    const bool final = opcode & FinalBit;
    QList<Header> headers;
    if (!obexConnected) {
        abandonObject();
        obexRespond(packet(RespForbidden));
        return;
    }
    auto bad = [&] {
        abandonObject();
        obexRespond(packet(RespBadRequest));
    };
    if (!parseHeaders(p, 3, &headers))
        return bad();
    const Header *nameH = findHeader(headers, HdrName);
    const Header *timeH = findHeader(headers, HdrTime);
    const Header *body = findHeader(headers, HdrBody);
    const Header *end = findHeader(headers, HdrEndOfBody);
    QString name;
    if (nameH && !decodeName(nameH->value, &name))
        return bad();
    if (timeH && !validTime(timeH->value))
        return bad();

    if (!obexObjectOpen) {
        if (name.isEmpty())
            return bad();
        if (final && !body && !end) {
            // A PUT without a body deletes the named object.
            {
                std::lock_guard<std::mutex> lock(mutex);
                state.drive.remove(name);
                removeDriveFile(state.driveDir, name);
            }
            obexRespond(packet(RespSuccess));
            return;
        }
        obexObjectOpen = true;
        obexObjectName = name;
        obexObjectData.clear();
    } else if (!name.isEmpty() && name != obexObjectName) {
        return bad(); // another object's name in the middle of a transfer
    }
    if (body)
        obexObjectData += body->value;
    if (end)
        obexObjectData += end->value;
    if (!final) {
        obexRespond(packet(RespContinue));
        return;
    }
    if (!end)
        return bad(); // the last packet must carry End-of-Body
    {
        std::lock_guard<std::mutex> lock(mutex);
        state.drive.insert(obexObjectName, obexObjectData);
        storeDriveFile(state.driveDir, obexObjectName, obexObjectData);
    }
    abandonObject();
    obexRespond(packet(RespSuccess));
}

int applyObexSetting(SimState &s, const QString &key, const QString &v, QString *why)
{
    auto number = [&](int *out, int lo, int hi) {
        bool ok = false;
        const int n = v.toInt(&ok, 0); // 0x.. allowed for codes
        if (!ok || n < lo || n > hi) {
            if (why)
                *why = QStringLiteral("a number from %1 to %2").arg(lo).arg(hi);
            return 0;
        }
        *out = n;
        return 1;
    };
    auto onOff = [&](bool *out) {
        bool ok = false;
        const bool b = parseOnOff(v, &ok);
        if (!ok) {
            if (why)
                *why = QStringLiteral("on or off");
            return 0;
        }
        *out = b;
        return 1;
    };

    if (key == QLatin1String("halted"))
        return onOff(&s.halted);
    if (key == QLatin1String("sqwe"))
        return number(&s.sqweMode, 0, 255);
    if (key == QLatin1String("obex_max"))
        return number(&s.obexMaxPacket, 0, 65535);
    if (key == QLatin1String("obex_connect_code"))
        return number(&s.obexConnectCode, 0, 255);
    if (key == QLatin1String("obex_connect_bare"))
        return onOff(&s.obexConnectBare);
    if (key == QLatin1String("obex_drop"))
        return number(&s.obexDropPacket, 0, 1 << 30);
    if (key == QLatin1String("obex_fragment_ms"))
        return number(&s.obexFragmentMs, 0, 60000);
    if (key == QLatin1String("obex_refuse")) {
        // "N" or "N,code"
        const QStringList f = v.split(QLatin1Char(','));
        bool ok1 = false, ok2 = true;
        const int n = f.value(0).trimmed().toInt(&ok1);
        const int code = f.size() > 1 ? f[1].trimmed().toInt(&ok2, 0) : s.obexRefuseCode;
        if (!ok1 || !ok2 || f.size() > 2 || n < 0 || code < 0 || code > 255) {
            if (why)
                *why = QStringLiteral("N or N,code");
            return 0;
        }
        s.obexRefusePut = n;
        s.obexRefuseCode = code;
        return 1;
    }
    return -1;
}
