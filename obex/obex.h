#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

// In-memory model of the OBEX packets the firmware update exchanges with the
// modem. No input or output happens here: ObexClient sends and reads the bytes.
//
// Decoding never fails and never reads past its input: a slice that runs past
// the end stops at the end, and a fixed-width value cut short reads its
// missing bytes as zero.
namespace Obex {

// Request opcodes and response codes (final bit included where it applies).
enum : quint8 {
    OpConnect = 0x80,
    OpPut = 0x02,
    OpPutFinal = 0x82,
    OpGet = 0x03,
    FinalBit = 0x80,
    RespContinue = 0x90,
};

// Header identifiers.
enum : quint8 {
    HeaderName = 0x01,
    HeaderTime = 0x44,
    HeaderTarget = 0x46,
    HeaderBody = 0x48,
    HeaderEndOfBody = 0x49,
};

// Big-endian helpers on a byte position in memory.
quint16 readU16BE(const uchar *p);
void writeU16BE(uchar *p, quint16 value);
quint32 readU32BE(const uchar *p);
void writeU32BE(uchar *p, quint32 value);

// Bounds-checked forms: bytes beyond the end of `data` read as zero.
quint16 readU16BE(const QByteArray &data, qsizetype offset);
quint32 readU32BE(const QByteArray &data, qsizetype offset);

class Header
{
public:
    explicit Header(quint8 id) : id(id) { }
    virtual ~Header() = default;

    // Length of the encoded header, identifier and length field included.
    virtual int size() const = 0;
    virtual QByteArray toByteArray() const = 0;
    virtual std::unique_ptr<Header> clone() const = 0;

    quint8 id;

protected:
    Header(const Header &) = default;
    Header &operator=(const Header &) = default;
};

// 0x00-0x3F: text as UTF-16 big-endian, no byte-order mark, no terminating null.
class StringHeader : public Header
{
public:
    StringHeader(quint8 id, const QString &text);
    explicit StringHeader(const QByteArray &encoded);

    int size() const override;
    QByteArray toByteArray() const override;
    std::unique_ptr<Header> clone() const override;

    QString text;
};

// 0x40-0x7F: a byte string.
class ByteArrayHeader : public Header
{
public:
    ByteArrayHeader(quint8 id, const QByteArray &data);
    explicit ByteArrayHeader(const QByteArray &encoded);

    int size() const override;
    QByteArray toByteArray() const override;
    std::unique_ptr<Header> clone() const override;

    QByteArray data;
};

// 0x80-0xBF: one byte.
class ByteHeader : public Header
{
public:
    ByteHeader(quint8 id, quint8 value);
    explicit ByteHeader(const QByteArray &encoded);

    int size() const override { return 2; }
    QByteArray toByteArray() const override;
    std::unique_ptr<Header> clone() const override;

    quint8 value;
};

// 0xC0-0xFF: four bytes big-endian.
class DwordHeader : public Header
{
public:
    DwordHeader(quint8 id, quint32 value);
    explicit DwordHeader(const QByteArray &encoded);

    int size() const override { return 5; }
    QByteArray toByteArray() const override;
    std::unique_ptr<Header> clone() const override;

    quint32 value;
};

// A header of the class the top two bits of the first byte choose, decoded
// from `bytes`; null for an empty input.
std::unique_ptr<Header> parseHeader(const QByteArray &bytes);

using HeaderList = std::vector<std::unique_ptr<Header>>;

class Packet
{
public:
    Packet() = default;
    explicit Packet(quint8 opcode) : m_opcode(opcode) { }
    virtual ~Packet() = default;

    // Copies own copies of the headers.
    Packet(const Packet &other);
    Packet &operator=(const Packet &other);
    Packet(Packet &&) = default;
    Packet &operator=(Packet &&) = default;

    // Bytes that follow the 3-byte prefix and precede the headers.
    virtual QByteArray extraData() const { return QByteArray(); }
    virtual int extraLength() const { return 0; }

    quint8 opcode() const { return m_opcode; }
    void setOpcode(quint8 opcode) { m_opcode = opcode; }
    void setFinal() { m_opcode |= FinalBit; }
    bool isFinal() const { return m_opcode & FinalBit; }

    // Drops every header with the same identifier and appends this one, so a
    // packet holds one header per identifier and a replaced one moves last.
    void addHeader(std::unique_ptr<Header> header);
    // The header with this identifier, or null.
    const Header *header(quint8 id) const;

    int packetLength() const;
    QByteArray toByteArray() const;

    HeaderList headers;

protected:
    // Decodes the header list of `bytes` from `offset` on.
    void decodeHeaders(const QByteArray &bytes, qsizetype offset);

    quint8 m_opcode = 0;
};

class ConnectPacket : public Packet
{
public:
    ConnectPacket();
    explicit ConnectPacket(const QByteArray &bytes);

    QByteArray extraData() const override;
    int extraLength() const override { return 4; }

    quint8 version = 0x10;
    quint8 flags = 0;
    int maxPacketLength = 8192;
};

class PutPacket : public Packet
{
public:
    PutPacket() : Packet(OpPut) { }
    explicit PutPacket(const QByteArray &bytes);
};

class GetPacket : public Packet
{
public:
    GetPacket() : Packet(OpGet) { }
    explicit GetPacket(const QByteArray &bytes);
};

// Any packet kept unparsed after its prefix.
class UnknownPacket : public Packet
{
public:
    explicit UnknownPacket(quint8 opcode) : Packet(opcode) { }
    explicit UnknownPacket(const QByteArray &bytes);

    QByteArray extraData() const override { return payload; }
    int extraLength() const override { return int(payload.size()); }

    QByteArray payload;
};

} // namespace Obex
