// The OBEX session against the simulated modem, through the real serial
// port: mode switch, CONNECT negotiation, PUT sequences, deletes, escape.
#include "obex/obexclient.h"
#include "sim/simmodem.h"
#include "support/rawport.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTest>

namespace {

QByteArray pattern(int n)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + 3) & 0xFF); // every byte value, CR, LF and '+' included
    return b;
}

bool putBytes(ObexClient &client, const QByteArray &data, const QString &name)
{
    QBuffer source;
    source.setData(data);
    source.open(QIODevice::ReadOnly);
    return client.putFile(&source, name, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
}

QList<int> headerIds(const QByteArray &raw)
{
    const Obex::PutPacket p(raw);
    QList<int> ids;
    for (const auto &h : p.headers)
        ids << h->id;
    return ids;
}

// A simulated modem with echo off (as the handshake leaves it) and a port on it.
struct Rig {
    SimModem sim;
    QSerialPort port;

    explicit Rig(SimState s = SimState())
    {
        s.echo = false;
        s.guardMs = 200;
        sim.setState(s);
    }
    bool start(int baud = 115200)
    {
        if (!sim.start())
            return false;
        return openRaw(port, sim.portName(), baud);
    }
    QByteArray exchange(const QByteArray &out, int ms = 300) { return ::exchange(port, out, ms); }
    QList<QByteArray> puts() const
    {
        QList<QByteArray> out;
        for (const QByteArray &p : sim.obexPackets())
            if ((uchar(p[0]) & 0x7F) == 0x02)
                out << p;
        return out;
    }
};

} // namespace

class TestObexSession : public QObject
{
    Q_OBJECT

private slots:
    void otherModeIsNotSwitched()
    {
        SimState s;
        s.sqweMode = 1;
        Rig r(s);
        QVERIFY(r.start());
        QVERIFY(!ObexClient::create(&r.port));
        QCOMPARE(r.sim.commands(), (QStringList { "AT", "AT^SQWE?" }));
        QVERIFY(!r.sim.received().contains("+++"));
        QVERIFY(!r.sim.state().obexMode);
    }

    void packetLengthNegotiated_data()
    {
        QTest::addColumn<int>("announced");
        QTest::addColumn<int>("used");
        QTest::newRow("smaller") << 1024 << 1024;
        QTest::newRow("larger") << 65535 << 8192;
        QTest::newRow("smallest allowed") << 255 << 255;
    }
    void packetLengthNegotiated()
    {
        QFETCH(int, announced);
        QFETCH(int, used);
        SimState s;
        s.obexMaxPacket = announced;
        Rig r(s);
        QVERIFY(r.start());
        const auto client = ObexClient::create(&r.port);
        QVERIFY(client);
        QCOMPARE(client->maxPacketLength, used);

        // The simulator refuses any packet longer than it announced.
        const QByteArray data = pattern(10000);
        QVERIFY(putBytes(*client, data, QStringLiteral("atc65.jar")));
        QCOMPARE(r.sim.state().drive.value(QStringLiteral("atc65.jar")), data);
        const QList<QByteArray> puts = r.puts();
        QVERIFY(puts.size() >= 2);
        for (const QByteArray &p : puts)
            QVERIFY(p.size() <= qMin(announced, used));
        // The first packet is as full as the reserve of 13 bytes allows.
        QCOMPARE(puts.first().size(), used - 10);
    }

    void connectAnsweredWithError_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("target");
        QTest::newRow("refused") << 0xC3 << ObexClient::fileSystemTarget();
        QTest::newRow("unknown target") << 0 << QByteArray(16, 'x');
    }
    void connectAnsweredWithError()
    {
        QFETCH(int, code);
        QFETCH(QByteArray, target);
        SimState s;
        s.obexConnectCode = code;
        s.obexMaxPacket = 2048;
        Rig r(s);
        QVERIFY(r.start());
        // The code is not judged: the session counts as open ...
        const auto client = ObexClient::create(&r.port, target);
        QVERIFY(client);
        QCOMPARE(client->maxPacketLength, 2048);
        QCOMPARE(r.sim.obexPackets().first().mid(26 - 16), target);
        // ... but the modem will not store anything in it.
        QVERIFY(!putBytes(*client, pattern(5000), QStringLiteral("a.bin")));
        QVERIFY(r.sim.state().drive.isEmpty());
    }

    void connectWithoutParametersIsNoSession()
    {
        SimState s;
        s.obexConnectCode = 0xC3;
        s.obexConnectBare = true;
        Rig r(s);
        QVERIFY(r.start());
        QVERIFY(!ObexClient::create(&r.port));
        // The modem was taken back to command mode.
        QCOMPARE(r.sim.commands().last(), QString("ATH"));
        QVERIFY(!r.sim.state().obexMode);
        QVERIFY(r.sim.sent().endsWith("\r\nOK\r\n\r\nOK\r\n"));
    }

    void oneChunkFile()
    {
        Rig r;
        QVERIFY(r.start());
        const auto client = ObexClient::create(&r.port);
        QVERIFY(client);
        const QByteArray data = pattern(8137); // 8192 - 13 - 42
        QVERIFY(putBytes(*client, data, QStringLiteral("atc65.jar")));
        const QList<QByteArray> puts = r.puts();
        QCOMPARE(puts.size(), 2);
        QCOMPARE(uchar(puts[0][0]), uchar(0x02));
        QCOMPARE(headerIds(puts[0]), (QList<int> { 0x01, 0x44, 0x48 }));
        QCOMPARE(puts[0].size(), 8182);
        QCOMPARE(puts[1], QByteArray::fromHex("820006490003"));
        QCOMPARE(r.sim.state().drive.value(QStringLiteral("atc65.jar")), data);
    }

    void emptyFileAndDelete()
    {
        SimState s;
        s.drive.insert(QStringLiteral("old.txt"), "old");
        Rig r(s);
        QVERIFY(r.start());
        const auto client = ObexClient::create(&r.port);
        QVERIFY(client);
        QVERIFY(putBytes(*client, QByteArray(), QStringLiteral("empty.txt")));
        QList<QByteArray> puts = r.puts();
        QCOMPARE(puts.size(), 1);
        QCOMPARE(uchar(puts[0][0]), uchar(0x82));
        QCOMPARE(headerIds(puts[0]), (QList<int> { 0x01, 0x44, 0x49 }));
        QVERIFY(puts[0].contains(QByteArray("20240506T070809")));
        QVERIFY(r.sim.state().drive.contains(QStringLiteral("empty.txt")));
        QVERIFY(r.sim.state().drive.value(QStringLiteral("empty.txt")).isEmpty());

        QVERIFY(client->deleteFile(QStringLiteral("old.txt")));
        QVERIFY(!r.sim.state().drive.contains(QStringLiteral("old.txt")));
        QCOMPARE(headerIds(r.puts().last()), QList<int> { 0x01 });
    }

    void firstPacketAnsweredSuccess()
    {
        SimState s;
        s.obexRefusePut = 1;
        s.obexRefuseCode = 0xA0;
        Rig r(s);
        QVERIFY(r.start());
        const auto client = ObexClient::create(&r.port);
        QVERIFY(client);
        QVERIFY(!putBytes(*client, pattern(20000), QStringLiteral("big.bin")));
        QCOMPARE(r.puts().size(), 1); // the final packet is never sent
        QVERIFY(r.sim.state().drive.isEmpty());
    }

    void fragmentedResponsesAndEscape()
    {
        SimState s;
        s.obexFragmentMs = 120;
        Rig r(s);
        QVERIFY(r.start());
        const auto client = ObexClient::create(&r.port);
        QVERIFY(client);
        const QByteArray data = pattern(9000);
        QVERIFY(putBytes(*client, data, QStringLiteral("f.bin")));
        QCOMPARE(r.sim.state().drive.value(QStringLiteral("f.bin")), data);
        QVERIFY(client->close());
        QVERIFY(!r.sim.state().obexMode);
        QCOMPARE(r.sim.commands().last(), QString("ATH"));
        // Command mode again.
        QCOMPARE(r.exchange("AT^JINFO,0\r\n"), QByteArray("\r\nJI0:KZ520\r\n\r\nOK\r\n"));
    }

    void lineRateAppliesToObexBytes()
    {
        SimState s;
        s.lineRate = true;
        s.baud = 115200;
        Rig r(s);
        QVERIFY(r.start());
        const auto client = ObexClient::create(&r.port);
        QVERIFY(client);
        QElapsedTimer t;
        t.start();
        QVERIFY(putBytes(*client, pattern(11520), QStringLiteral("slow.bin")));
        // 11520 bytes at 10 bits a byte take a second at 115200 baud.
        QVERIFY2(t.elapsed() >= 900, qPrintable(QString::number(t.elapsed())));
    }

    // The module runs at 115200 while the application is halted, and only
    // its own commands are answered then.
    void haltedModule()
    {
        SimState s;
        s.baud = 57600;
        Rig r(s);
        QVERIFY(r.start(57600));
        QCOMPARE(r.exchange("AT^JHLT\r\n"), QByteArray("\r\nOK\r\n"));
        QVERIFY(r.sim.state().halted);
        QCOMPARE(r.exchange("AT\r\n"), QByteArray()); // not heard at 57600
        r.port.setBaudRate(115200);
        QCOMPARE(r.exchange("AT\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(r.exchange("AT^JINFO,0\r\n"), QByteArray("\r\nERROR\r\n"));
        QCOMPARE(r.exchange("AT^SQWE?\r\n"), QByteArray("\r\n^SQWE: 0\r\n\r\nOK\r\n"));
        QCOMPARE(r.exchange("AT^SJRA=A:/other.jar\r\n"), QByteArray("\r\nERROR\r\n"));
        QCOMPARE(r.exchange("AT^SJRA=A:/atc65.jar\r\n"), QByteArray("\r\nOK\r\n"));
        QVERIFY(!r.sim.state().halted);
        r.port.setBaudRate(57600);
        QCOMPARE(r.exchange("AT^JINFO,0\r\n"), QByteArray("\r\nJI0:KZ520\r\n\r\nOK\r\n"));
    }

    void scenarioKeys()
    {
        SimState s;
        QString error;
        QVERIFY2(SimModem::applySetting(s, "sqwe", "2", &error), qPrintable(error));
        QVERIFY(SimModem::applySetting(s, "obex_max", "1024", &error));
        QVERIFY(SimModem::applySetting(s, "obex_refuse", "3,0xC4", &error));
        QVERIFY(SimModem::applySetting(s, "obex_connect_bare", "on", &error));
        QCOMPARE(s.sqweMode, 2);
        QCOMPARE(s.obexMaxPacket, 1024);
        QCOMPARE(s.obexRefusePut, 3);
        QCOMPARE(s.obexRefuseCode, 0xC4);
        QVERIFY(s.obexConnectBare);
        QVERIFY(!SimModem::applySetting(s, "obex_max", "70000", &error));
        QVERIFY(!SimModem::applySetting(s, "obex_refuse", "x", &error));
        QVERIFY(!SimModem::applySetting(s, "obex_nonsense", "1", &error));
        QCOMPARE(error, QString("obex_nonsense = 1: unknown key"));
    }
};

QTEST_GUILESS_MAIN(TestObexSession)
#include "tst_obexsession.moc"
