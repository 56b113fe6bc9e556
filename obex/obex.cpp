#include "obex/obex.h"

#include <QtEndian>

#include <algorithm>

namespace Obex {

namespace {

uchar byteAt(const char *data, qsizetype size, qsizetype offset)
{
    return offset >= 0 && offset < size ? uchar(data[offset]) : 0;
}

// Declared length of a length-prefixed header, or 0 when cut short.
qsizetype declaredLength(const char *data, qsizetype size)
{
    return (qsizetype(byteAt(data, size, 1)) << 8) | byteAt(data, size, 2);
}

// Bytes 3 to L-1 of a length-prefixed header, stopping at the end of the input.
QByteArray valueSlice(const char *data, qsizetype size)
{
    const qsizetype end = std::min(declaredLength(data, size), size);
    if (end <= 3)
        return QByteArray();
    return QByteArray(data + 3, end - 3);
}

QByteArray prefix(quint8 id, int length)
{
    QByteArray out(3, '\0');
    out[0] = char(id);
    writeU16BE(reinterpret_cast<uchar *>(out.data()) + 1, quint16(length));
    return out;
}

std::unique_ptr<Header> parseHeaderAt(const char *data, qsizetype size)
{
    if (size <= 0)
        return nullptr;
    // The encoded-header constructors take a byte string; this copy is
    // bounded by the header's own declared length.
    const quint8 id = uchar(data[0]);
    switch (id >> 6) {
    case 0: {
        const qsizetype len = std::min(std::max<qsizetype>(declaredLength(data, size), 3), size);
        return std::make_unique<StringHeader>(QByteArray(data, len));
    }
    case 1: {
        const qsizetype len = std::min(std::max<qsizetype>(declaredLength(data, size), 3), size);
        return std::make_unique<ByteArrayHeader>(QByteArray(data, len));
    }
    case 2:
        return std::make_unique<ByteHeader>(QByteArray(data, std::min<qsizetype>(size, 2)));
    default:
        return std::make_unique<DwordHeader>(QByteArray(data, std::min<qsizetype>(size, 5)));
    }
}

} // namespace

quint16 readU16BE(const uchar *p)
{
    return qFromBigEndian<quint16>(p);
}

void writeU16BE(uchar *p, quint16 value)
{
    p[0] = uchar(value >> 8);
    p[1] = uchar(value);
}

quint32 readU32BE(const uchar *p)
{
    return qFromBigEndian<quint32>(p);
}

void writeU32BE(uchar *p, quint32 value)
{
    p[0] = uchar(value >> 24);
    p[1] = uchar(value >> 16);
    p[2] = uchar(value >> 8);
    p[3] = uchar(value);
}

quint16 readU16BE(const QByteArray &data, qsizetype offset)
{
    const char *d = data.constData();
    const qsizetype n = data.size();
    return quint16((byteAt(d, n, offset) << 8) | byteAt(d, n, offset + 1));
}

quint32 readU32BE(const QByteArray &data, qsizetype offset)
{
    const char *d = data.constData();
    const qsizetype n = data.size();
    return (quint32(byteAt(d, n, offset)) << 24) | (quint32(byteAt(d, n, offset + 1)) << 16)
            | (quint32(byteAt(d, n, offset + 2)) << 8) | quint32(byteAt(d, n, offset + 3));
}

// --- headers ---------------------------------------------------------------

StringHeader::StringHeader(quint8 id, const QString &text) : Header(id), text(text) { }

StringHeader::StringHeader(const QByteArray &encoded)
    : Header(encoded.isEmpty() ? 0 : uchar(encoded[0]))
{
    // Code units are taken as they stand (an odd trailing byte is dropped),
    // so size() matches the bytes consumed.
    const QByteArray raw = valueSlice(encoded.constData(), encoded.size());
    const auto *p = reinterpret_cast<const uchar *>(raw.constData());
    const qsizetype units = raw.size() / 2;
    text.resize(units);
    QChar *out = text.data();
    for (qsizetype i = 0; i < units; ++i)
        out[i] = QChar(readU16BE(p + 2 * i));
}

int StringHeader::size() const
{
    return 3 + 2 * int(text.size());
}

QByteArray StringHeader::toByteArray() const
{
    QByteArray out = prefix(id, size());
    out.resize(size());
    auto *p = reinterpret_cast<uchar *>(out.data()) + 3;
    const ushort *units = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i)
        writeU16BE(p + 2 * i, units[i]);
    return out;
}

std::unique_ptr<Header> StringHeader::clone() const
{
    return std::make_unique<StringHeader>(*this);
}

ByteArrayHeader::ByteArrayHeader(quint8 id, const QByteArray &data) : Header(id), data(data) { }

ByteArrayHeader::ByteArrayHeader(const QByteArray &encoded)
    : Header(encoded.isEmpty() ? 0 : uchar(encoded[0])),
      data(valueSlice(encoded.constData(), encoded.size()))
{
}

int ByteArrayHeader::size() const
{
    return 3 + int(data.size());
}

QByteArray ByteArrayHeader::toByteArray() const
{
    return prefix(id, size()) + data;
}

std::unique_ptr<Header> ByteArrayHeader::clone() const
{
    return std::make_unique<ByteArrayHeader>(*this);
}

ByteHeader::ByteHeader(quint8 id, quint8 value) : Header(id), value(value) { }

ByteHeader::ByteHeader(const QByteArray &encoded)
    : Header(encoded.isEmpty() ? 0 : uchar(encoded[0])),
      value(encoded.size() > 1 ? uchar(encoded[1]) : 0)
{
}

QByteArray ByteHeader::toByteArray() const
{
    QByteArray out(2, '\0');
    out[0] = char(id);
    out[1] = char(value);
    return out;
}

std::unique_ptr<Header> ByteHeader::clone() const
{
    return std::make_unique<ByteHeader>(*this);
}

DwordHeader::DwordHeader(quint8 id, quint32 value) : Header(id), value(value) { }

DwordHeader::DwordHeader(const QByteArray &encoded)
    : Header(encoded.isEmpty() ? 0 : uchar(encoded[0])), value(readU32BE(encoded, 1))
{
}

QByteArray DwordHeader::toByteArray() const
{
    QByteArray out(5, '\0');
    out[0] = char(id);
    writeU32BE(reinterpret_cast<uchar *>(out.data()) + 1, value);
    return out;
}

std::unique_ptr<Header> DwordHeader::clone() const
{
    return std::make_unique<DwordHeader>(*this);
}

std::unique_ptr<Header> parseHeader(const QByteArray &bytes)
{
    return parseHeaderAt(bytes.constData(), bytes.size());
}

// --- packets ---------------------------------------------------------------

Packet::Packet(const Packet &other) : m_opcode(other.m_opcode)
{
    headers.reserve(other.headers.size());
    for (const auto &h : other.headers)
        headers.push_back(h->clone());
}

Packet &Packet::operator=(const Packet &other)
{
    if (this != &other) {
        HeaderList copy;
        copy.reserve(other.headers.size());
        for (const auto &h : other.headers)
            copy.push_back(h->clone());
        headers = std::move(copy);
        m_opcode = other.m_opcode;
    }
    return *this;
}

void Packet::addHeader(std::unique_ptr<Header> header)
{
    if (!header)
        return;
    const quint8 id = header->id;
    headers.erase(std::remove_if(headers.begin(), headers.end(),
                                 [id](const std::unique_ptr<Header> &h) { return h->id == id; }),
                  headers.end());
    headers.push_back(std::move(header));
}

const Header *Packet::header(quint8 id) const
{
    for (const auto &h : headers)
        if (h->id == id)
            return h.get();
    return nullptr;
}

int Packet::packetLength() const
{
    int length = 3 + extraLength();
    for (const auto &h : headers)
        length += h->size();
    return length;
}

QByteArray Packet::toByteArray() const
{
    const int length = packetLength();
    QByteArray out;
    out.reserve(length);
    out.append(char(m_opcode));
    out.append(char(quint16(length) >> 8));
    out.append(char(quint16(length) & 0xFF));
    out.append(extraData());
    for (const auto &h : headers)
        out.append(h->toByteArray());
    return out;
}

void Packet::decodeHeaders(const QByteArray &bytes, qsizetype offset)
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    // Every header's size() is at least 2, so each pass moves on.
    while (offset < size) {
        auto h = parseHeaderAt(data + offset, size - offset);
        offset += h->size();
        addHeader(std::move(h));
    }
}

ConnectPacket::ConnectPacket() : Packet(OpConnect) { }

ConnectPacket::ConnectPacket(const QByteArray &bytes)
    : Packet(bytes.isEmpty() ? 0 : uchar(bytes[0])),
      version(bytes.size() > 3 ? uchar(bytes[3]) : 0),
      flags(bytes.size() > 4 ? uchar(bytes[4]) : 0),
      maxPacketLength(readU16BE(bytes, 5))
{
    decodeHeaders(bytes, 7);
}

QByteArray ConnectPacket::extraData() const
{
    QByteArray out(4, '\0');
    out[0] = char(version);
    out[1] = char(flags);
    writeU16BE(reinterpret_cast<uchar *>(out.data()) + 2, quint16(maxPacketLength));
    return out;
}

PutPacket::PutPacket(const QByteArray &bytes) : Packet(bytes.isEmpty() ? 0 : uchar(bytes[0]))
{
    decodeHeaders(bytes, 3);
}

GetPacket::GetPacket(const QByteArray &bytes) : Packet(bytes.isEmpty() ? 0 : uchar(bytes[0]))
{
    decodeHeaders(bytes, 3);
}

UnknownPacket::UnknownPacket(const QByteArray &bytes)
    : Packet(bytes.isEmpty() ? 0 : uchar(bytes[0])), payload(bytes.size() > 3 ? bytes.mid(3) : QByteArray())
{
}

} // namespace Obex
