// Connecting in the field, below the window: the words for a port that does
// not open (a table and real paths), the port list's details, the search for
// the modem and its speed against simulated modems, and a modem whose
// application an interrupted update left halted.
#include "device/appstate.h"
#include "device/detect.h"
#include "device/porterror.h"
#include "device/portnames.h"
#include "support/badport.h"
#include "support/simfixture.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(QSerialPort::SerialPortError)
Q_DECLARE_METATYPE(PortFacts)

namespace {

PortFacts facts(bool exists, bool serial, bool accessible, const QString &group = QString())
{
    PortFacts f;
    f.exists = exists;
    f.serialDevice = serial;
    f.accessible = accessible;
    f.group = group;
    return f;
}

// The reason KZSerialPort gives for a port that does not open.
QString openReason(const QString &name)
{
    KZSerialPort link;
    link.setPortSettings(name, 19, 3, 0, 0, 0);
    if (link.openPort())
        return QStringLiteral("opened");
    return link.openFailure();
}

// Runs the search on the worker's thread and waits for its end.
QList<DetectResult> detectOn(SimWorker &w, const QStringList &ports, qint64 *elapsedMs)
{
    QElapsedTimer t;
    t.start();
    (void)w.run("detect", 120000, Q_ARG(QStringList, ports));
    *elapsedMs = t.elapsed();
    return w.worker.detectResults;
}

} // namespace

class TstFieldCore : public QObject
{
    Q_OBJECT

private slots:
    void portErrorWords_data();
    void portErrorWords();
    void realPaths_data();
    void realPaths();
    void portDescriptions_data();
    void portDescriptions();
    void speedOrder();
    void probeAnswers_data();
    void probeAnswers();
    void replyWaitFitsTheLine();
    void haltedRule_data();
    void haltedRule();
    void detectTwoModemsAndASilentPort();
    void detectStops();
    void haltedModemStartsItsApplication();
    void recoveryUpdateSkipsTheChecks();
};

void TstFieldCore::portErrorWords_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<QString>("systemText");
    QTest::addColumn<PortFacts>("facts");
    QTest::addColumn<QString>("expected");

    using E = QSerialPort::SerialPortError;
    QTest::newRow("no name") << "" << E::DeviceNotFoundError << "" << facts(false, false, false)
                             << "Порт не указан.";
    QTest::newRow("missing file") << "ttyUSB7" << E::DeviceNotFoundError << "No such file"
                                  << facts(false, false, false) << "Порт ttyUSB7 не существует.";
    QTest::newRow("windows: not found") << "COM9" << E::DeviceNotFoundError << ""
                                        << facts(true, true, true) << "Порт COM9 не существует.";
    QTest::newRow("regular file") << "/tmp/x" << E::UnsupportedOperationError << "ioctl"
                                  << facts(true, false, true)
                                  << "/tmp/x не является последовательным портом.";
    QTest::newRow("not a tty, unknown error")
            << "/tmp/x" << E::UnknownError << "" << facts(true, false, true)
            << "/tmp/x не является последовательным портом.";
    QTest::newRow("no permission, group named")
            << "ttyUSB0" << E::PermissionError << "Permission denied"
            << facts(true, true, false, "dialout")
            << "Нет прав на открытие порта ttyUSB0. Устройство принадлежит группе «dialout»: "
               "добавьте пользователя в эту группу (sudo usermod -aG dialout $USER) и войдите в "
               "систему заново.";
    QTest::newRow("no permission, no group")
            << "ttyUSB0" << E::PermissionError << "" << facts(true, true, false)
            << "Нет прав на открытие порта ttyUSB0.";
    QTest::newRow("held by another program")
            << "ttyUSB0" << E::PermissionError << "Permission error while locking the device"
            << facts(true, true, true, "dialout") << "Порт ttyUSB0 занят другой программой.";
    QTest::newRow("windows: access denied is held")
            << "COM3" << E::PermissionError << "Access is denied." << facts(true, true, true)
            << "Порт COM3 занят другой программой.";
    QTest::newRow("system's own text")
            << "ttyS0" << E::ResourceError << "Input/output error" << facts(true, true, true)
            << "Порт ttyS0 не открылся: Input/output error";
    QTest::newRow("no text at all") << "ttyS0" << E::UnknownError << "" << facts(true, true, true)
                                    << "Порт ttyS0 не открылся.";
}

void TstFieldCore::portErrorWords()
{
    QFETCH(QString, name);
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(QString, systemText);
    QFETCH(PortFacts, facts);
    QFETCH(QString, expected);
    QCOMPARE(PortError::reason(name, error, systemText, facts), expected);
}

void TstFieldCore::realPaths_data()
{
    BadPort::addRows();
    QTest::newRow("device name without /dev") << "short" << "Порт kz-no-such-tty не существует.";
}

void TstFieldCore::realPaths()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    BadPort bad;
    if (kind != QLatin1String("short"))
        QVERIFY(bad.make(kind));
    const QString name = kind == QLatin1String("short") ? QStringLiteral("kz-no-such-tty") : bad.name;
    const QString said = openReason(name);
    QVERIFY2(said.endsWith(reason), qPrintable(said));
    if (kind != QLatin1String("short"))
        QVERIFY2(said.contains(name), qPrintable(said));
    // Once the holder lets go, the same port opens.
    if (kind == QLatin1String("held")) {
        bad.holder.close();
        QCOMPARE(openReason(name), QStringLiteral("opened"));
    }
}

void TstFieldCore::portDescriptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("bluetooth");
    QTest::newRow("rfcomm") << "rfcomm0" << "" << true;
    QTest::newRow("windows Bluetooth link") << "COM7" << "Standard Serial over Bluetooth link" << true;
    QTest::newRow("USB adapter") << "ttyUSB0" << "FT232R USB UART" << false;
    QTest::newRow("plain COM") << "COM1" << "Communications Port" << false;
}

void TstFieldCore::portDescriptions()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(bool, bluetooth);
    QCOMPARE(isBluetoothPort(name, description), bluetooth);

    PortDescription p;
    p.name = name;
    p.description = description;
    p.vendorId = 0x0403;
    p.productId = 0x6001;
    p.bluetooth = bluetooth;
    const QString details = portDetails(p);
    QVERIFY(details.contains(QStringLiteral("USB 0403:6001")));
    QCOMPARE(details.contains(QStringLiteral("Bluetooth")), bluetooth || description.contains("Bluetooth"));
}

void TstFieldCore::speedOrder()
{
    QCOMPARE(Detect::speedOrder(),
             (QList<int> { 115200, 57600, 38400, 19200, 9600, 14400, 4800, 2400, 1200, 600, 300 }));
}

void TstFieldCore::probeAnswers_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("answer");
    QTest::newRow("OK") << "OK" << true;
    QTest::newRow("echo") << "AT" << true;
    QTest::newRow("garbage around OK") << "\xC3\xBFOK" << false;
    QTest::newRow("lower case") << "ok" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("ERROR is no probe answer") << "ERROR" << false;
}

void TstFieldCore::probeAnswers()
{
    QFETCH(QString, line);
    QFETCH(bool, answer);
    QCOMPARE(Detect::isProbeAnswer(line), answer);
}

void TstFieldCore::replyWaitFitsTheLine()
{
    // A few hundred ms at 115200; at every speed long enough for the echo
    // and the "OK" (16 characters of 10 bits) to cross the line.
    QVERIFY(Detect::replyWaitMs(115200) <= 400);
    for (int baud : Detect::speedOrder())
        QVERIFY2(Detect::replyWaitMs(baud) >= 16 * 10 * 1000 / baud + 100, qPrintable(QString::number(baud)));
}

void TstFieldCore::haltedRule_data()
{
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("at");
    QTest::addColumn<bool>("halted");
    QTest::newRow("application halted") << "ERROR" << "OK" << true;
    QTest::newRow("nothing answers") << "ERROR" << "" << false;
    QTest::newRow("AT fails too") << "ERROR" << "ERROR" << false;
    QTest::newRow("the model answers") << "JI0:KZ520" << "OK" << false;
    QTest::newRow("silence to the information") << "" << "OK" << false;
    QTest::newRow("CME error") << "+CME ERROR: 100" << "OK" << false;
}

void TstFieldCore::haltedRule()
{
    QFETCH(QString, info);
    QFETCH(QString, at);
    QFETCH(bool, halted);
    QCOMPARE(AppState::halted(info, at), halted);
}

void TstFieldCore::detectTwoModemsAndASilentPort()
{
    SimState slow;
    slow.baud = 9600;
    slow.echo = false;
    slow.wrongSpeedNoise = true; // garbage at every speed tried before its own
    SimWorker fast;     // 115200, echo on
    SimModem atSlow;
    atSlow.setState(slow);
    PtyPeer silent;
    QVERIFY(fast.start() && atSlow.start() && silent.ok());
    const QString missing = QStringLiteral("/dev/kz-no-such-port");

    qint64 ms = 0;
    const QList<DetectResult> r =
            detectOn(fast, { fast.sim.portName(), atSlow.portName(), silent.name(), missing }, &ms);
    QCOMPARE(fast.results.last().op, KZConfigThread::OpDetect);
    QVERIFY(fast.results.last().ok);
    QCOMPARE(r.size(), 4);
    QCOMPARE(r[0].baud, 115200);
    QCOMPARE(r[0].model, QStringLiteral("KZ520"));
    QCOMPARE(r[1].baud, 9600);
    QCOMPARE(r[1].model, QStringLiteral("KZ520"));
    QVERIFY(!r[2].found());
    QCOMPARE(r[2].error, QStringLiteral("Модем не отвечает ни на одной скорости."));
    QVERIFY(!r[3].found());
    QVERIFY2(r[3].error.contains(QStringLiteral("не существует")), qPrintable(r[3].error));
    // Every wait is bounded: the silent port at all eleven speeds and the rest.
    QVERIFY2(ms < 20000, qPrintable(QString::number(ms)));

    // Nothing but the probe and the model query went out: no escape, no setting.
    for (const QStringList &cmds : { fast.sim.commands(), atSlow.commands() })
        for (const QString &c : cmds)
            QVERIFY2(c == QLatin1String("AT") || c == QLatin1String("AT^JINFO,0"), qPrintable(c));
    QVERIFY(!atSlow.received().contains("+++"));
    QVERIFY(fast.progress.contains(QStringLiteral("Поиск модема: %1, 9600").arg(atSlow.portName())));
}

void TstFieldCore::detectStops()
{
    SimWorker w;
    PtyPeer silent;
    QVERIFY(w.start() && silent.ok());
    // Asked to stop while the silent port is probed: it ends after the probe
    // under way, and the next port is not tried.
    qint64 ms = 0;
    QTimer::singleShot(300, this, [&w] { w.worker.detectStop = true; });
    const QList<DetectResult> r = detectOn(w, { silent.name(), w.sim.portName() }, &ms);
    QCOMPARE(r.size(), 1);
    QCOMPARE(r[0].error, QStringLiteral("Поиск остановлен."));
    QVERIFY2(ms < 3000, qPrintable(QString::number(ms)));
}

void TstFieldCore::haltedModemStartsItsApplication()
{
    SimState s;
    s.halted = true;
    SimWorker w(s);
    QVERIFY(w.startAndHandshake());
    const OpResult info = w.run("reqInfo");
    QVERIFY(!info.ok);
    QVERIFY(w.worker.applicationHalted);
    QVERIFY(w.progress.contains(AppState::haltedMessage()));

    const OpResult start = w.run("startApplication", 60000);
    QCOMPARE(start.op, KZConfigThread::OpStartApp);
    QVERIFY2(start.ok, qPrintable(start.text));
    QVERIFY(!w.sim.state().halted);
    QVERIFY(w.sim.commands().contains(QStringLiteral("AT^SJRA=A:/atc65.jar")));
    QVERIFY(w.run("reqInfo").ok);
    QVERIFY(!w.worker.applicationHalted);
    QCOMPARE(w.worker.identity().serialNumber, QStringLiteral("520000123"));
}

void TstFieldCore::recoveryUpdateSkipsTheChecks()
{
    SimState s;
    s.halted = true;
    s.guardMs = 200;
    SimWorker w(s);
    QVERIFY(w.startAndHandshake());
    QVERIFY(!w.run("reqInfo").ok && w.worker.applicationHalted);

    FirmwareContainer c;
    c.info.hardwareVersions = { "03" };
    // Would fail on a halted modem: skipped.
    c.info.preCommands = { { "AT^JINFO,11", "JI11:03" } };
    c.info.postCommands = { { "AT^JINFO,11", "JI11:03" } };
    c.files = { { "atc65.jar", QByteArray(5000, 'j') }, { "conf.txt", QByteArray("x=1") } };
    w.worker.handFirmware(c);
    const OpResult r = w.run("applyFirmwareRecovery", 120000);
    QVERIFY2(r.ok, qPrintable(r.text));
    QCOMPARE(w.sim.state().drive.value("atc65.jar"), c.files[0].data);
    QCOMPARE(w.sim.state().drive.value("conf.txt"), c.files[1].data);
    QVERIFY(!w.sim.state().halted);
    QCOMPARE(w.sim.commands().count(QStringLiteral("AT^JINFO,11")), 1); // the post-check only
    QVERIFY(!w.worker.skipPreCommands);
}

QTEST_GUILESS_MAIN(TstFieldCore)
#include "tst_fieldcore.moc"
