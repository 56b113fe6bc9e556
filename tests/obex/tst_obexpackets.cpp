#include "obex/obex.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Obex;

class TestObexPackets : public QObject
{
    Q_OBJECT

private slots:
    void byteHelpers();
    void connectEncoding();
    void finalEmptyEndOfBody();
    void nameHeaderHasNoTerminator();
    void headerRoundTrip_data();
    void headerRoundTrip();
    void addHeaderReplacesAndMoves();
    void decodeResponses();
    void decodeKeepsLaterDuplicate();
    void shortHeaders_data();
    void shortHeaders();
    void headerListAlwaysAdvances();
    void garbageNeverCrashes();
    void copyIsDeep();
};

void TestObexPackets::byteHelpers()
{
    uchar buf[4] = {};
    writeU32BE(buf, 0x01020304);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(buf), 4), QByteArray::fromHex("01020304"));
    QCOMPARE(readU32BE(buf), 0x01020304u);
    writeU16BE(buf, 0xABCD);
    QCOMPARE(readU16BE(buf), quint16(0xABCD));
    // Bounds-checked forms read missing bytes as zero.
    QCOMPARE(readU16BE(QByteArray::fromHex("12"), 0), quint16(0x1200));
    QCOMPARE(readU32BE(QByteArray::fromHex("0102"), 1), 0x02000000u);
    QCOMPARE(readU32BE(QByteArray(), 7), 0u);
}

void TestObexPackets::connectEncoding()
{
    ConnectPacket plain;
    QCOMPARE(plain.toByteArray(), QByteArray::fromHex("80000710002000"));

    ConnectPacket withTarget;
    withTarget.addHeader(std::make_unique<ByteArrayHeader>(
            HeaderTarget, QByteArray::fromHex("6b01cb31410611d49a770050da3f471f")));
    const QByteArray bytes = withTarget.toByteArray();
    QCOMPARE(bytes.size(), 26);
    QCOMPARE(withTarget.packetLength(), 26);
    QCOMPARE(bytes.left(10), QByteArray::fromHex("80001a10002000460013"));
}

void TestObexPackets::finalEmptyEndOfBody()
{
    PutPacket p;
    p.setFinal();
    p.addHeader(std::make_unique<ByteArrayHeader>(HeaderEndOfBody, QByteArray()));
    QCOMPARE(p.toByteArray(), QByteArray::fromHex("820006490003"));
}

void TestObexPackets::nameHeaderHasNoTerminator()
{
    StringHeader h(HeaderName, QStringLiteral("atc65.jar"));
    QCOMPARE(h.size(), 21);
    QCOMPARE(h.toByteArray(), QByteArray::fromHex("010015") + QByteArray::fromHex(
                                      "00610074006300360035002e006a00610072"));
    // Non-Latin text is carried as UTF-16 code units, surrogates included.
    StringHeader wide(HeaderName, QString::fromUtf8("я\xF0\x9F\x98\x80"));
    QCOMPARE(wide.toByteArray(), QByteArray::fromHex("010009044fd83dde00"));
    QCOMPARE(StringHeader(wide.toByteArray()).text, wide.text);
}

void TestObexPackets::headerRoundTrip_data()
{
    QTest::addColumn<QByteArray>("encoded");
    QTest::addColumn<int>("kind");
    QTest::newRow("string") << QByteArray::fromHex("010007004100e9") << 0;
    QTest::newRow("empty string") << QByteArray::fromHex("3f0003") << 0;
    QTest::newRow("bytes") << QByteArray::fromHex("4400060102ff") << 1;
    QTest::newRow("empty bytes") << QByteArray::fromHex("490003") << 1;
    QTest::newRow("byte") << QByteArray::fromHex("97ff") << 2;
    QTest::newRow("dword") << QByteArray::fromHex("cb00000001") << 3;
    QTest::newRow("dword max") << QByteArray::fromHex("ffffffffff") << 3;
}

void TestObexPackets::headerRoundTrip()
{
    QFETCH(QByteArray, encoded);
    QFETCH(int, kind);
    auto h = parseHeader(encoded);
    QVERIFY(h);
    const Header *raw = h.get();
    const bool rightClass[] = { dynamic_cast<const StringHeader *>(raw) != nullptr,
                                dynamic_cast<const ByteArrayHeader *>(raw) != nullptr,
                                dynamic_cast<const ByteHeader *>(raw) != nullptr,
                                dynamic_cast<const DwordHeader *>(raw) != nullptr };
    QVERIFY(rightClass[kind]);
    QCOMPARE(h->id, quint8(encoded[0]));
    QCOMPARE(h->size(), int(encoded.size()));
    QCOMPARE(h->toByteArray(), encoded);
    QCOMPARE(h->clone()->toByteArray(), encoded);
}

void TestObexPackets::addHeaderReplacesAndMoves()
{
    PutPacket p;
    p.addHeader(std::make_unique<StringHeader>(HeaderName, QStringLiteral("old")));
    p.addHeader(std::make_unique<ByteArrayHeader>(HeaderTime, "20240101T000000"));
    p.addHeader(std::make_unique<ByteHeader>(0x97, 1));
    p.addHeader(std::make_unique<StringHeader>(HeaderName, QStringLiteral("new")));
    QCOMPARE(p.headers.size(), size_t(3));
    QCOMPARE(p.headers[0]->id, quint8(HeaderTime));
    QCOMPARE(p.headers[1]->id, quint8(0x97));
    QCOMPARE(p.headers[2]->id, quint8(HeaderName));
    QCOMPARE(static_cast<const StringHeader *>(p.header(HeaderName))->text, QStringLiteral("new"));
    QCOMPARE(p.packetLength(), 3 + 18 + 2 + 9);
    QCOMPARE(p.toByteArray().size(), p.packetLength());
}

void TestObexPackets::decodeResponses()
{
    PutPacket ok(QByteArray::fromHex("900003"));
    QCOMPARE(ok.opcode(), quint8(0x90));
    QVERIFY(ok.headers.empty());

    ConnectPacket c(QByteArray::fromHex("a0000710010400cb00000007"));
    QCOMPARE(c.opcode(), quint8(0xA0));
    QCOMPARE(c.version, quint8(0x10));
    QCOMPARE(c.flags, quint8(0x01));
    QCOMPARE(c.maxPacketLength, 0x0400);
    QCOMPARE(c.headers.size(), size_t(1));
    QCOMPARE(static_cast<const DwordHeader *>(c.header(0xCB))->value, 7u);

    ConnectPacket shortConnect(QByteArray::fromHex("a000"));
    QCOMPARE(shortConnect.version, quint8(0));
    QCOMPARE(shortConnect.maxPacketLength, 0);

    UnknownPacket u(QByteArray::fromHex("c30006aabbcc"));
    QCOMPARE(u.opcode(), quint8(0xC3));
    QCOMPARE(u.payload, QByteArray::fromHex("aabbcc"));
    QCOMPARE(u.toByteArray(), QByteArray::fromHex("c30006aabbcc"));

    GetPacket g(QByteArray::fromHex("830008010005"));
    QCOMPARE(g.opcode(), quint8(0x83));
    QVERIFY(g.header(HeaderName));

    QCOMPARE(PutPacket(QByteArray()).opcode(), quint8(0));
}

void TestObexPackets::decodeKeepsLaterDuplicate()
{
    const QByteArray bytes = QByteArray::fromHex("900013") + QByteArray::fromHex("4800050102")
            + QByteArray::fromHex("c000000001") + QByteArray::fromHex("480004ff");
    PutPacket p(bytes);
    QCOMPARE(p.headers.size(), size_t(2));
    QCOMPARE(p.headers[0]->id, quint8(0xC0));
    QCOMPARE(static_cast<const ByteArrayHeader *>(p.header(HeaderBody))->data,
             QByteArray::fromHex("ff"));
}

void TestObexPackets::shortHeaders_data()
{
    QTest::addColumn<QByteArray>("encoded");
    QTest::addColumn<QByteArray>("reencoded");
    // Values cut short read as zero; slices stop at the end of the input.
    QTest::newRow("byte alone") << QByteArray::fromHex("97") << QByteArray::fromHex("9700");
    QTest::newRow("dword cut") << QByteArray::fromHex("c00102") << QByteArray::fromHex("c001020000");
    QTest::newRow("bytes past end") << QByteArray::fromHex("4800ff0102")
                                    << QByteArray::fromHex("4800050102");
    QTest::newRow("bytes no length") << QByteArray::fromHex("48") << QByteArray::fromHex("480003");
    QTest::newRow("bytes length 1") << QByteArray::fromHex("480001aa") << QByteArray::fromHex("480003");
    QTest::newRow("string odd") << QByteArray::fromHex("0100060041ff")
                                << QByteArray::fromHex("0100050041");
}

void TestObexPackets::shortHeaders()
{
    QFETCH(QByteArray, encoded);
    QFETCH(QByteArray, reencoded);
    QCOMPARE(parseHeader(encoded)->toByteArray(), reencoded);
}

void TestObexPackets::headerListAlwaysAdvances()
{
    // Declared lengths of 0, 1 and 2 must not stall the decoder.
    const QByteArray bytes = QByteArray::fromHex("820000") + QByteArray::fromHex("480000")
            + QByteArray::fromHex("010001") + QByteArray::fromHex("440002") + QByteArray::fromHex("49");
    PutPacket p(bytes);
    QCOMPARE(p.headers.size(), size_t(4));
    QVERIFY(parseHeader(QByteArray()) == nullptr);
}

void TestObexPackets::garbageNeverCrashes()
{
    QRandomGenerator rng(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(int(rng.bounded(80)), '\0');
        for (char &c : bytes)
            c = char(rng.bounded(256));
        // Bias towards header-rich inputs: small lengths and string ids.
        if (bytes.size() > 5 && round % 2)
            bytes[4] = char(rng.bounded(4));
        const PutPacket put(bytes);
        const GetPacket get(bytes);
        const ConnectPacket connect(bytes);
        const UnknownPacket unknown(bytes);
        for (const Packet *p : { static_cast<const Packet *>(&put), static_cast<const Packet *>(&get),
                                 static_cast<const Packet *>(&connect) }) {
            for (const auto &h : p->headers)
                QCOMPARE(h->toByteArray().size(), qsizetype(h->size()));
            QCOMPARE(p->toByteArray().size(), qsizetype(p->packetLength()));
        }
        if (!bytes.isEmpty())
            QVERIFY(parseHeader(bytes) != nullptr);
    }
}

void TestObexPackets::copyIsDeep()
{
    PutPacket a;
    a.addHeader(std::make_unique<StringHeader>(HeaderName, QStringLiteral("x")));
    PutPacket b = a;
    static_cast<StringHeader *>(a.headers[0].get())->text = QStringLiteral("changed");
    QCOMPARE(static_cast<const StringHeader *>(b.header(HeaderName))->text, QStringLiteral("x"));
    ConnectPacket c;
    c.maxPacketLength = 1024;
    c.addHeader(std::make_unique<ByteHeader>(0x97, 3));
    ConnectPacket d;
    d = c;
    d = d;
    QCOMPARE(d.toByteArray(), c.toByteArray());
    b = a;
    QCOMPARE(b.toByteArray(), a.toByteArray());
}

QTEST_GUILESS_MAIN(TestObexPackets)
#include "tst_obexpackets.moc"
