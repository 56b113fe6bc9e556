// The firmware update run by the worker against the simulated modem: the
// checks, the halt, the speed switch, the transfer, the restart, and what is
// put back when a step fails.
#include "firmware/firmwarecontainer.h"
#include "support/simfixture.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <mutex>

namespace {

const QString JarName = QStringLiteral("atc65.jar");
const QString Start = QStringLiteral("AT^SJRA=A:/atc65.jar");

QByteArray pattern(int n, int seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 13 + seed) & 0xFF);
    return b;
}

FirmwareContainer makeContainer(const QList<CommandCheck> &pre, const QList<CommandCheck> &post,
                                const QList<FirmwareFile> &files)
{
    FirmwareContainer c;
    c.magic = firmwareMagic();
    c.version = 3;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = QStringList { "02", "03" };
    c.info.softwareVersion = 400;
    c.info.preCommands = pre;
    c.info.postCommands = post;
    c.files = files;
    return c;
}

QMap<QString, QByteArray> driveOf(const QList<FirmwareFile> &files)
{
    QMap<QString, QByteArray> m;
    for (const FirmwareFile &f : files)
        m.insert(f.name, f.data);
    return m;
}

const CommandCheck PreOk { QStringLiteral("AT^JINFO,11"), QStringLiteral("JI11:03") };
const CommandCheck PostOk { QStringLiteral("AT^JINFO,10"), QStringLiteral("JI10:390") };

// A connected worker; records the speeds its port object is set to and the
// progress values.
struct Rig {
    SimWorker w;
    std::mutex mutex;
    QList<int> speeds;
    QList<QPair<int, int>> values;

    explicit Rig(int baud) : w(stateFor(baud)) { }
    static SimState stateFor(int baud)
    {
        SimState s;
        s.baud = baud;
        s.guardMs = 200;
        return s;
    }
    bool start(int baudCode)
    {
        if (!w.start())
            return false;
        w.worker.setPortSettings(w.sim.portName(), baudCode, 3, 0, 0, 0);
        if (!w.connectAll())
            return false;
        QObject::connect(
                &w.worker, &KZSerialPort::portSpeedChanged, &w.worker,
                [this](qint32 baud) {
                    std::lock_guard<std::mutex> lock(mutex);
                    if (speeds.isEmpty() || speeds.last() != baud)
                        speeds << baud;
                },
                Qt::DirectConnection);
        QObject::connect(&w.worker, &KZConfigThread::progressValue, &w,
                         [this](int v, int m) { values << qMakePair(v, m); });
        w.sim.clearLog();
        w.progress.clear();
        w.results.clear();
        return true;
    }
    QList<int> speedsSet()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return speeds;
    }
};

} // namespace

class TestApplyFirmware : public QObject
{
    Q_OBJECT

private slots:
    void updateEndToEnd_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("content");
        QTest::addColumn<QList<int>>("speeds");
        QTest::newRow("switch from 57600") << 57600 << 17 << true << QList<int> { 115200, 57600 };
        QTest::newRow("already 115200, empty container") << 115200 << 19 << false << QList<int> {};
    }
    void updateEndToEnd()
    {
        QFETCH(int, baud);
        QFETCH(int, code);
        QFETCH(bool, content);
        QFETCH(QList<int>, speeds);
        Rig r(baud);
        QVERIFY(r.start(code));
        const QList<FirmwareFile> files = content
                ? QList<FirmwareFile> { { JarName, pattern(5000, 1) },
                                        { QStringLiteral("conf.txt"), pattern(300, 2) } }
                : QList<FirmwareFile> {};
        const QList<CommandCheck> pre = content ? QList<CommandCheck> { PreOk } : QList<CommandCheck> {};
        const QList<CommandCheck> post = content ? QList<CommandCheck> { PostOk } : QList<CommandCheck> {};
        r.w.worker.handFirmware(makeContainer(pre, post, files));

        QMetaObject::invokeMethod(&r.w.worker, "applyFirmware", Qt::QueuedConnection);
        // Choosing another container while the update runs does not reach it.
        QTRY_VERIFY_WITH_TIMEOUT(r.w.progress.contains("Обновление ПО: остановка приложения"), 10000);
        r.w.worker.handFirmware(makeContainer({}, {}, {}));
        QTRY_COMPARE_WITH_TIMEOUT(r.w.results.size(), 1, 30000);
        const OpResult res = r.w.results.first();
        QCOMPARE(res.op, KZConfigThread::OpFirmware);
        QVERIFY2(res.ok, qPrintable(res.text));

        QCOMPARE(r.w.sim.state().drive, driveOf(files));
        QStringList expected;
        if (content)
            expected << PreOk.command;
        expected << "AT^JHLT" << "AT" << "AT" << "AT^SQWE?" << "AT^SQWE=3" << "ATH" << Start << "AT";
        if (content)
            expected << PostOk.command;
        QCOMPARE(r.w.sim.commands(), expected);
        QVERIFY(!r.w.sim.state().halted);
        QVERIFY(!r.w.sim.state().obexMode);

        QCOMPARE(r.speedsSet(), speeds);
        QCOMPARE(r.w.worker.portSpeed(), baud);
        QCOMPARE(r.w.worker.baudRate(), code);

        QStringList steps { "Обновление ПО: предварительные команды",
                            "Обновление ПО: остановка приложения" };
        if (content)
            steps << "Обновление ПО: передача файла atc65.jar" << "Обновление ПО: передача файла conf.txt";
        steps << "Обновление ПО: запуск приложения" << "Обновление ПО: завершающие команды";
        QCOMPARE(r.w.progress, steps);

        QVERIFY(!r.values.isEmpty());
        QCOMPARE(r.values.last(), qMakePair(0, 0));
        if (content) {
            QVERIFY(r.values.contains(qMakePair(5300, 5300)));
            for (int i = 0; i + 1 < r.values.size(); ++i) {
                QCOMPARE(r.values[i].second, 5300);
                if (i > 0)
                    QVERIFY(r.values[i].first >= r.values[i - 1].first);
            }
        }
        QVERIFY(!r.w.worker.busy);
        // The application answers again, at the tool's speed.
        QVERIFY(r.w.run("reqInfo").ok);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("halted");
        QTest::newRow("pre-command mismatch") << "pre" << "Pre: AT^JINFO,11 > JI11:03" << false;
        QTest::newRow("post-command mismatch") << "post" << "Post: AT^JINFO,10 > JI10:390" << true;
        QTest::newRow("silent after the halt") << "silent" << "Halt: AT > " << true;
        QTest::newRow("CONNECT refused") << "connect" << "ObexClient::create" << true;
        QTest::newRow("PUT dropped") << "drop" << "Put: atc65.jar" << true;
    }
    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(bool, halted);
        Rig r(57600);
        QVERIFY(r.start(17));
        CommandCheck pre = PreOk;
        CommandCheck post = PostOk;
        if (kind == "pre")
            pre.reply = "JI11:02";
        if (kind == "post")
            post.reply = "JI10:400";
        SimModem *sim = &r.w.sim;
        if (kind == "silent") {
            sim->setCommandHook([sim](const QString &line, QByteArray *out) {
                if (line != "AT" || !sim->state().halted)
                    return false;
                out->clear();
                return true;
            });
        }
        sim->modify([&](SimState &s) {
            if (kind == "connect") {
                s.obexConnectCode = 0xC3;
                s.obexConnectBare = true;
            }
            if (kind == "drop")
                s.obexDropPacket = 3; // CONNECT, delete, the first data packet
        });
        const FirmwareContainer fw =
                makeContainer({ pre }, { post }, { { JarName, pattern(3000, 5) } });
        r.w.worker.handFirmware(fw);

        const OpResult res = r.w.run("applyFirmware", 60000);
        QCOMPARE(res.op, KZConfigThread::OpFirmware);
        QVERIFY(!res.ok);
        QCOMPARE(res.text, text);
        QCOMPARE(r.values.last(), qMakePair(0, 0));
        QVERIFY(!r.w.worker.busy);

        const QStringList cmds = r.w.sim.commands();
        QCOMPARE(cmds.contains("AT^JHLT"), halted);
        QVERIFY(!sim->state().halted);
        QVERIFY(!sim->state().obexMode);
        // The port object is back at the tool's speed (or was never touched).
        QCOMPARE(r.speedsSet(), halted ? (QList<int> { 115200, 57600 }) : QList<int> {});
        QCOMPARE(r.w.worker.portSpeed(), 57600);
        if (halted)
            QVERIFY(cmds.lastIndexOf(Start) > cmds.indexOf("AT^JHLT"));
        else
            QVERIFY(!cmds.contains(Start));

        if (kind == "silent") {
            QVERIFY(!cmds.contains("AT^SQWE?"));
            QCOMPARE(cmds.mid(cmds.indexOf("AT^JHLT") + 1, 20), QStringList(20, "AT"));
            QCOMPARE(cmds.at(cmds.indexOf("AT^JHLT") + 21), Start);
        }
        if (kind == "connect" || kind == "drop") {
            // Out of OBEX mode before the application is started.
            QVERIFY(cmds.indexOf("ATH") >= 0);
            QVERIFY(cmds.indexOf("ATH") < cmds.indexOf(Start));
            QVERIFY(!sim->state().drive.contains(JarName));
        }
        if (kind == "post")
            QCOMPARE(sim->state().drive, driveOf(fw.files));
        // Whatever failed, the application answers at the tool's speed.
        sim->setCommandHook(nullptr);
        QVERIFY(r.w.run("reqInfo").ok);
    }

    // Below the short reason the debug text names the OBEX request that
    // failed and the response it got, or how long none came.
    void failureCauses_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("debug");
        QTest::newRow("CONNECT refused")
                << "connect"
                << "ObexClient::create\n  CONNECT: response 0xc3 of 3 bytes, without a packet length";
        QTest::newRow("PUT dropped")
                << "drop" << "Put: atc65.jar\n  PUT atc65.jar, packet 1: no response within 4000 ms";
    }
    void failureCauses()
    {
        QFETCH(QString, kind);
        QFETCH(QString, debug);
        Rig r(115200);
        QVERIFY(r.start(19));
        r.w.sim.modify([&](SimState &s) {
            if (kind == "connect") {
                s.obexConnectCode = 0xC3;
                s.obexConnectBare = true;
            }
            if (kind == "drop")
                s.obexDropPacket = 3; // CONNECT, delete, the first data packet
        });
        r.w.worker.handFirmware(makeContainer({}, {}, { { JarName, pattern(3000, 5) } }));
        const OpResult res = r.w.run("applyFirmware", 60000);
        QVERIFY(!res.ok);
        QCOMPARE(res.debug, debug);
    }

    void lostLineFailsAtOnce()
    {
        Rig r(115200);
        QVERIFY(r.start(19));
        SimModem *sim = &r.w.sim;
        sim->setCommandHook([sim](const QString &line, QByteArray *out) {
            if (line != "AT^SQWE?")
                return false;
            sim->dropLine();
            out->clear();
            return true;
        });
        r.w.worker.handFirmware(makeContainer({}, {}, { { JarName, pattern(100, 0) } }));
        QElapsedTimer t;
        t.start();
        const OpResult res = r.w.run("applyFirmware", 60000);
        QVERIFY(!res.ok);
        QCOMPARE(res.text, QString("Line lost"));
        // The halt's pause and no more: no probe bound, no escape, no restart.
        QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(!r.w.worker.busy);
    }
};

QTEST_GUILESS_MAIN(TestApplyFirmware)
#include "tst_applyfirmware.moc"
