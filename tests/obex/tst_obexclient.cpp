#include "obex/obexclient.h"
#include "scripteddevice.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTest>

using namespace Obex;
using Fragment = ScriptedDevice::Fragment;

namespace {

const QByteArray Continue = QByteArray::fromHex("900003");
const QByteArray Success = QByteArray::fromHex("a00003");

void scriptModeSwitch(ScriptedDevice &dev)
{
    dev.reply("\r\nOK\r\n");
    dev.reply("\r\n^SQWE: 0\r\n\r\nOK\r\n");
    dev.reply("\r\nOK\r\n");
}

QByteArray connectResponse(quint8 code, quint16 maxLength)
{
    QByteArray r = QByteArray::fromHex("0000071000");
    r[0] = char(code);
    r.append(char(maxLength >> 8)).append(char(maxLength & 0xFF));
    return r;
}

QList<quint8> headerIds(const Packet &p)
{
    QList<quint8> ids;
    for (const auto &h : p.headers)
        ids.append(h->id);
    return ids;
}

} // namespace

class TestObexClient : public QObject
{
    Q_OBJECT

private slots:
    void modeOtherThanZeroStops();
    void modeSwitchReadsLinesLikeTheLink();
    void endlessLineIsCut();
    void connectNegotiation_data();
    void connectNegotiation();
    void putTransfers_data();
    void putTransfers();
    void emptySource();
    void firstPacketRefused();
    void endlessContinueOnFinalGivesUp();
    void chunkSizeMustLeaveRoom();
    void deleteSendsNameOnly();
    void readPacketFragments_data();
    void readPacketFragments();
    void readPacketLeavesFollowingBytes();
    void lostDeviceFailsAtOnce();
    void leaveObexMode_data();
    void leaveObexMode();
};

void TestObexClient::modeOtherThanZeroStops()
{
    ScriptedDevice dev;
    dev.reply("\r\nOK\r\n");
    dev.reply("\r\n^SQWE: 1\r\n\r\nOK\r\n");
    QVERIFY(!ObexClient::create(&dev));
    QCOMPARE(dev.writes, (QList<QByteArray> { "AT\r\n", "AT^SQWE?\r\n" }));
}

void TestObexClient::modeSwitchReadsLinesLikeTheLink()
{
    ScriptedDevice dev;
    dev.reply(ScriptedDevice::Reply { Fragment { 0, "\r" }, Fragment { 30, "\nO" },
                                      Fragment { 30, "K\r" }, Fragment { 30, "\n" } });
    dev.reply("^SQWE: 0\r\n\r\n\r\nOK\r\n");
    dev.reply("OK\r\n");
    ObexClient client(&dev);
    QVERIFY(client.enterObexMode());
    QCOMPARE(dev.writes.last(), QByteArray("AT^SQWE=3\r\n"));

    // Lower case is another reply.
    ScriptedDevice lower;
    lower.reply("ok\r\n");
    QVERIFY(!ObexClient(&lower).enterObexMode());
    QCOMPARE(lower.writes.size(), 1);
}

void TestObexClient::endlessLineIsCut()
{
    ScriptedDevice dev;
    dev.reply(QByteArray(3 * ObexClient::MaxLineLength, 'x'));
    QElapsedTimer t;
    t.start();
    QVERIFY(!ObexClient(&dev).enterObexMode());
    QVERIFY2(t.elapsed() < ObexClient::ModeLineTimeoutMs / 2, "a streaming line held the read");
}

void TestObexClient::connectNegotiation_data()
{
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("maxLength");

    QTest::newRow("1024") << connectResponse(0xA0, 1024) << true << 1024;
    QTest::newRow("65535") << connectResponse(0xA0, 65535) << true << 8192;
    QTest::newRow("error code") << connectResponse(0xC3, 4096) << true << 4096;
    QTest::newRow("with headers")
            << QByteArray::fromHex("a0000c10000400cb00000001") << true << 1024;
    QTest::newRow("too short") << QByteArray::fromHex("a000051000") << false << 0;
    QTest::newRow("no room for body") << connectResponse(0xA0, 20) << false << 0;
}

void TestObexClient::connectNegotiation()
{
    QFETCH(QByteArray, response);
    QFETCH(bool, connected);
    QFETCH(int, maxLength);

    ScriptedDevice dev;
    scriptModeSwitch(dev);
    dev.reply(response);
    dev.reply("OK\r\n"); // to +++
    dev.reply("OK\r\n"); // to ATH

    const auto client = ObexClient::create(&dev);
    QCOMPARE(bool(client), connected);
    QVERIFY(dev.writes.size() >= 4);
    const QByteArray request = dev.writes[3];
    QCOMPARE(request.size(), 26);
    QCOMPARE(request.left(10), QByteArray::fromHex("80001a10002000460013"));
    QCOMPARE(request.mid(10), ObexClient::fileSystemTarget());
    if (connected) {
        QCOMPARE(client->maxPacketLength, maxLength);
        QCOMPARE(dev.writes.size(), 4);
    } else {
        // A failed session still returns the modem to command mode.
        QCOMPARE(dev.writes.mid(4), (QList<QByteArray> { "+++", "ATH\r\n" }));
    }
}

void TestObexClient::putTransfers_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("bodies");
    QTest::addColumn<QByteArray>("lastAnswer");
    QTest::addColumn<bool>("result");

    // A 9-character name at 8192 leaves 8137 bytes of body per packet.
    QTest::newRow("one chunk") << 8137 << QList<int> { 8137 } << Success << true;
    QTest::newRow("chunk and a byte") << 8138 << QList<int> { 8137, 1 } << Success << true;
    QTest::newRow("three chunks") << 20000 << QList<int> { 8137, 8137, 3726 } << Success << true;
    QTest::newRow("small") << 10 << QList<int> { 10 } << Success << true;
    // Any answer other than Continue to the final packet ends the transfer as done.
    QTest::newRow("final refused") << 10 << QList<int> { 10 } << QByteArray::fromHex("c30003")
                                   << true;
}

void TestObexClient::putTransfers()
{
    QFETCH(int, size);
    QFETCH(QList<int>, bodies);
    QFETCH(QByteArray, lastAnswer);
    QFETCH(bool, result);

    QByteArray content(size, '\0');
    for (int i = 0; i < size; ++i)
        content[i] = char(i * 7 + 3);
    QBuffer source(&content);
    source.open(QIODevice::ReadOnly);

    ScriptedDevice dev;
    for (int i = 0; i < bodies.size(); ++i)
        dev.reply(Continue);
    dev.reply(lastAnswer);
    ObexClient client(&dev);
    client.maxPacketLength = 8192;

    QList<qint64> progress;
    const QDateTime time(QDate(2024, 1, 2), QTime(3, 4, 5));
    QCOMPARE(client.putFile(&source, QStringLiteral("atc65.jar"), time,
                            [&](qint64 sent, qint64 total) {
                                QCOMPARE(total, qint64(size));
                                progress.append(sent);
                            }),
             result);

    QCOMPARE(dev.writes.size(), bodies.size() + 1);
    QByteArray received;
    for (int i = 0; i < bodies.size(); ++i) {
        const QByteArray raw = dev.writes[i];
        QCOMPARE(raw.size(), int(Obex::readU16BE(raw, 1)));
        const PutPacket p(raw);
        QCOMPARE(p.opcode(), quint8(OpPut));
        const auto *body = static_cast<const ByteArrayHeader *>(p.header(HeaderBody));
        QVERIFY(body);
        QCOMPARE(int(body->data.size()), bodies[i]);
        received += body->data;
        if (i == 0) {
            QCOMPARE(headerIds(p), (QList<quint8> { HeaderName, HeaderTime, HeaderBody }));
            QCOMPARE(static_cast<const StringHeader *>(p.header(HeaderName))->text,
                     QStringLiteral("atc65.jar"));
            QCOMPARE(static_cast<const ByteArrayHeader *>(p.header(HeaderTime))->data,
                     QByteArray("20240102T030405"));
            if (bodies[0] == 8137)
                QCOMPARE(raw.size(), 8182);
        } else {
            QCOMPARE(headerIds(p), QList<quint8> { HeaderBody });
        }
    }
    QCOMPARE(received, content);
    QCOMPARE(dev.writes.last(), QByteArray::fromHex("820006490003"));

    QList<qint64> expectedProgress { 0 };
    qint64 sent = 0;
    for (int b : bodies)
        expectedProgress.append(sent += b);
    QCOMPARE(progress, expectedProgress);
}

void TestObexClient::emptySource()
{
    QBuffer source;
    source.open(QIODevice::ReadOnly);
    ScriptedDevice dev;
    dev.reply(Success);
    ObexClient client(&dev);
    client.maxPacketLength = 8192;
    QVERIFY(client.putFile(&source, QStringLiteral("a.jad"), QDateTime::currentDateTime()));
    QCOMPARE(dev.writes.size(), 1);
    const PutPacket p(dev.writes[0]);
    QCOMPARE(p.opcode(), quint8(OpPutFinal));
    QCOMPARE(headerIds(p), (QList<quint8> { HeaderName, HeaderTime, HeaderEndOfBody }));
    QCOMPARE(static_cast<const ByteArrayHeader *>(p.header(HeaderEndOfBody))->data, QByteArray());
}

void TestObexClient::firstPacketRefused()
{
    QByteArray content(100, 'x');
    QBuffer source(&content);
    source.open(QIODevice::ReadOnly);
    ScriptedDevice dev;
    dev.reply(QByteArray::fromHex("a00003"));
    ObexClient client(&dev);
    client.maxPacketLength = 8192;
    QVERIFY(!client.putFile(&source, QStringLiteral("a.jar"), QDateTime::currentDateTime()));
    QCOMPARE(dev.writes.size(), 1);
}

void TestObexClient::endlessContinueOnFinalGivesUp()
{
    QBuffer source;
    source.open(QIODevice::ReadOnly);
    ScriptedDevice dev;
    for (int i = 0; i < 50; ++i)
        dev.reply(Continue);
    ObexClient client(&dev);
    client.maxPacketLength = 8192;
    QVERIFY(!client.putFile(&source, QStringLiteral("a"), QDateTime::currentDateTime()));
    QCOMPARE(dev.writes.size(), ObexClient::MaxFinalRepeats + 1);
    // Repeats of the final packet no longer carry the object's headers.
    QCOMPARE(dev.writes.last(), QByteArray::fromHex("820006490003"));
}

void TestObexClient::chunkSizeMustLeaveRoom()
{
    QByteArray content(10, 'x');
    QBuffer source(&content);
    source.open(QIODevice::ReadOnly);
    ScriptedDevice dev;
    ObexClient client(&dev);
    client.maxPacketLength = ObexClient::MinPacketLength;
    // 3 + (3 + 2 * 110) + 18 + 13 leaves nothing of 255 for a body.
    QVERIFY(!client.putFile(&source, QString(110, QLatin1Char('n')), QDateTime::currentDateTime()));
    QVERIFY(dev.writes.isEmpty());
}

void TestObexClient::deleteSendsNameOnly()
{
    ScriptedDevice dev;
    dev.reply(QByteArray::fromHex("c40003"));
    ObexClient client(&dev);
    QVERIFY(client.deleteFile(QStringLiteral("atc65.jar")));
    QCOMPARE(dev.writes.size(), 1);
    QCOMPARE(dev.writes[0], QByteArray::fromHex("820018")
                     + StringHeader(HeaderName, QStringLiteral("atc65.jar")).toByteArray());
}

void TestObexClient::readPacketFragments_data()
{
    QTest::addColumn<ScriptedDevice::Reply>("reply");
    QTest::addColumn<bool>("whole");

    // Deadline 200 ms for the prefix, then a fresh 200 ms for the rest.
    QTest::newRow("at once") << ScriptedDevice::Reply { Fragment { 0, QByteArray::fromHex("900006490003") } }
                             << true;
    QTest::newRow("byte by byte") << ScriptedDevice::Reply {
        Fragment { 0, QByteArray::fromHex("90") }, Fragment { 20, QByteArray::fromHex("00") },
        Fragment { 20, QByteArray::fromHex("06") }, Fragment { 20, QByteArray::fromHex("49") },
        Fragment { 20, QByteArray::fromHex("0003") } } << true;
    QTest::newRow("fresh deadline for the rest") << ScriptedDevice::Reply {
        Fragment { 150, QByteArray::fromHex("900006") },
        Fragment { 150, QByteArray::fromHex("490003") } } << true;
    QTest::newRow("prefix too late") << ScriptedDevice::Reply {
        Fragment { 350, QByteArray::fromHex("900006490003") } } << false;
    QTest::newRow("rest too late") << ScriptedDevice::Reply {
        Fragment { 0, QByteArray::fromHex("90000649") },
        Fragment { 350, QByteArray::fromHex("0003") } } << false;
    QTest::newRow("length below 3") << ScriptedDevice::Reply { Fragment { 0, QByteArray::fromHex("900001") } }
                                    << false;
}

void TestObexClient::readPacketFragments()
{
    QFETCH(ScriptedDevice::Reply, reply);
    QFETCH(bool, whole);
    ScriptedDevice dev;
    dev.reply(reply);
    dev.write("request");
    const QByteArray packet = ObexClient::readPacket(&dev, 200);
    QCOMPARE(packet, whole ? QByteArray::fromHex("900006490003") : QByteArray());
}

void TestObexClient::readPacketLeavesFollowingBytes()
{
    ScriptedDevice dev;
    dev.reply(QByteArray::fromHex("900003a00005cb"));
    dev.write("request");
    QCOMPARE(ObexClient::readPacket(&dev, 100), QByteArray::fromHex("900003"));
    QCOMPARE(dev.bytesAvailable(), qint64(4));
}

void TestObexClient::lostDeviceFailsAtOnce()
{
    QElapsedTimer t;
    t.start();

    ScriptedDevice closed;
    closed.close();
    QVERIFY(!ObexClient::create(&closed));
    ObexClient idle(&closed);
    QVERIFY(!idle.leaveObexMode());
    QVERIFY(ObexClient::readPacket(&closed, 4000).isEmpty());
    QVERIFY2(t.elapsed() < 500, "a closed device waited out deadlines");

    // The line drops while the modem is answering the second packet.
    QByteArray content(20000, 'x');
    QBuffer source(&content);
    source.open(QIODevice::ReadOnly);
    ScriptedDevice dev;
    dev.reply(Continue);
    dev.reply(ScriptedDevice::Reply { Fragment { 0, QByteArray::fromHex("90") },
                                      Fragment { 20, {}, true } });
    ObexClient client(&dev);
    client.maxPacketLength = 8192;
    t.restart();
    QVERIFY(!client.putFile(&source, QStringLiteral("a.jar"), QDateTime::currentDateTime()));
    QVERIFY2(t.elapsed() < 1000, "a lost line waited out the response deadline");
    QCOMPARE(dev.writes.size(), 2);
    QVERIFY(!client.deleteFile(QStringLiteral("a.jar")));
    QCOMPARE(dev.writes.size(), 2);
}

void TestObexClient::leaveObexMode_data()
{
    QTest::addColumn<QByteArray>("escapeReply");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("writes");
    QTest::newRow("ok") << QByteArray("\r\nOK\r\n") << true << 2;
    QTest::newRow("escape refused") << QByteArray("\r\nERROR\r\n") << false << 1;
}

void TestObexClient::leaveObexMode()
{
    QFETCH(QByteArray, escapeReply);
    QFETCH(bool, result);
    QFETCH(int, writes);
    ScriptedDevice dev;
    dev.reply(escapeReply);
    dev.reply("OK\r\n");
    ObexClient client(&dev);
    QElapsedTimer t;
    t.start();
    QCOMPARE(client.close(), result);
    QVERIFY(t.elapsed() >= ObexClient::EscapeGuardMs);
    QCOMPARE(dev.writes, (QList<QByteArray> { "+++", "ATH\r\n" }).mid(0, writes));
}

QTEST_GUILESS_MAIN(TestObexClient)
#include "tst_obexclient.moc"
