// The command line in the field, from outside: why a port does not open on
// the line after the message, the port list as JSON, detect and --baud auto
// against simulated modems, and a modem without its application: the message,
// start-app, and flash --recover against kz520-sim keeping its drive in a folder.
#include "firmware/firmwarecontainer.h"
#include "sim/simmodem.h"
#include "support/badport.h"
#include "support/clirun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString OpenPortMessage = QStringLiteral("Не удалось открыть порт. Проверьте настройки.");
const QString HaltedMessage =
        QStringLiteral("Приложение модема не запущено. Возможно, было прервано обновление ПО.");

FirmwareContainer recoveryContainer()
{
    FirmwareContainer c;
    c.magic = firmwareMagic();
    c.version = 3;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = { "02" }; // not the modem's: nothing checks it
    c.info.softwareVersion = 400;
    c.info.preCommands = { { "AT^JINFO,11", "JI11:03" } }; // would fail while halted
    QByteArray jar(30000, Qt::Uninitialized);
    for (int i = 0; i < jar.size(); ++i)
        jar[i] = char(i * 13 + 5);
    c.files = { { "atc65.jar", jar }, { "settings.txt", QByteArray("mode=1\n") } };
    return c;
}

} // namespace

class TstFieldCli : public QObject
{
    Q_OBJECT

private slots:
    void openFailureReason_data();
    void openFailureReason();
    void portsJson();
    void detect();
    void detectNothing();
    void baudAuto();
    void haltedModem();
    void flashRecover();
    void flashRecoverRefusesARunningApplication();
};

void TstFieldCli::openFailureReason_data()
{
    BadPort::addRows();
}

void TstFieldCli::openFailureReason()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    BadPort bad;
    QVERIFY(bad.make(kind));
    const QString name = bad.name;
    for (const QStringList &args : { QStringList { "--port", name, "info" },
                                     QStringList { "--port", name, "read" } }) {
        const Run r = cli(args);
        QCOMPARE(r.code, 1);
        const QStringList lines = r.errLines();
        const int at = int(lines.indexOf(OpenPortMessage));
        QVERIFY2(at >= 0 && at + 1 < lines.size(), qPrintable(r.err));
        QVERIFY2(lines.at(at + 1).endsWith(reason), qPrintable(r.err));
        QVERIFY(lines.at(at + 1).contains(name));
    }
}

void TstFieldCli::portsJson()
{
    const Run plain = cli({ "ports" });
    QCOMPARE(plain.code, 0);
    const Run r = cli({ "ports", "--json" });
    QCOMPARE(r.code, 0);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(doc.isArray());
    QCOMPARE(doc.array().size(), plain.lines().size());
    for (int i = 0; i < doc.array().size(); ++i) {
        const QJsonObject o = doc.array().at(i).toObject();
        for (const char *key : { "name", "description", "manufacturer", "serialNumber", "vendorId",
                                 "productId", "location", "bluetooth" })
            QVERIFY2(o.contains(QLatin1String(key)), key);
        QCOMPARE(o.value("name").toString(), plain.lines().at(i));
        QVERIFY(o.value("bluetooth").isBool());
    }
    QCOMPARE(cli({ "ports", "--yes" }).code, 2);
}

void TstFieldCli::detect()
{
    SimModem fast; // 115200, echo on
    SimState slowState;
    slowState.baud = 9600;
    slowState.wrongSpeedNoise = true;
    slowState.deviceType = QStringLiteral("KZ520-03-B");
    slowState.model = QStringLiteral("KZ520S");
    SimModem slow;
    slow.setState(slowState);
    PtyPeer silent;
    QVERIFY(fast.start() && slow.start() && silent.ok());
    const QStringList ports { "--port", fast.portName(), "--port", slow.portName(), "--port",
                              silent.name() };

    QElapsedTimer t;
    t.start();
    Run r = cli(QStringList { "detect" } + ports, 120000);
    QVERIFY2(t.elapsed() < 30000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(r.code, 0);
    QCOMPARE(r.lines(),
             (QStringList { fast.portName() + "\t115200\tKZ520", slow.portName() + "\t9600\tKZ520S" }));
    QVERIFY2(r.err.contains(silent.name()), qPrintable(r.err)); // why it failed, on stderr

    r = cli(QStringList { "detect", "--json" } + ports);
    QCOMPARE(r.code, 0);
    const QJsonArray a = QJsonDocument::fromJson(r.out.toUtf8()).array();
    QCOMPARE(a.size(), 3);
    QCOMPARE(a[0].toObject().value("port").toString(), fast.portName());
    QCOMPARE(a[0].toObject().value("baud").toInt(), 115200);
    QCOMPARE(a[1].toObject().value("baud").toInt(), 9600);
    QCOMPARE(a[1].toObject().value("model").toString(), QStringLiteral("KZ520S"));
    QVERIFY(!a[2].toObject().contains("baud"));
    QVERIFY(!a[2].toObject().value("error").toString().isEmpty());
    // Nothing changed on the modems: no escape, no setting written.
    for (SimModem *m : { &fast, &slow })
        for (const QString &c : m->commands())
            QVERIFY2(c == QLatin1String("AT") || c == QLatin1String("AT^JINFO,0"), qPrintable(c));
}

void TstFieldCli::detectNothing()
{
    PtyPeer silent;
    QVERIFY(silent.ok());
    Run r = cli({ "--port", silent.name(), "detect", "--port", "/dev/kz-no-such-port", "--json" });
    QCOMPARE(r.code, 1);
    const QJsonArray a = QJsonDocument::fromJson(r.out.toUtf8()).array();
    QCOMPARE(a.size(), 2);
    QVERIFY(a[1].toObject().value("error").toString().contains(QStringLiteral("не существует")));
}

void TstFieldCli::baudAuto()
{
    SimState s;
    s.baud = 9600;
    s.wrongSpeedNoise = true;
    SimModem sim;
    sim.setState(s);
    QVERIFY(sim.start());
    Run r = cli({ "--port", sim.portName(), "--baud", "auto", "info" });
    QCOMPARE(r.code, 0);
    QVERIFY2(r.errLines().contains(QStringLiteral("Скорость модема: 9600")), qPrintable(r.err));
    QVERIFY(r.lines().contains(QStringLiteral("serial: 520000123")));

    // Every connecting verb takes it.
    r = cli({ "--port", sim.portName(), "--baud", "auto", "read" });
    QCOMPARE(r.code, 0);
    QVERIFY(r.errLines().contains(QStringLiteral("Скорость модема: 9600")));
    QVERIFY(QJsonDocument::fromJson(r.out.toUtf8()).isObject());

    // A silent port: the handshake's message and why, exit 1.
    PtyPeer silent;
    QVERIFY(silent.ok());
    r = cli({ "--port", silent.name(), "--baud", "auto", "info" });
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Модем не отвечает")));
}

void TstFieldCli::haltedModem()
{
    SimState s;
    s.halted = true;
    SimModem sim;
    sim.setState(s);
    QVERIFY(sim.start());
    for (const char *verb : { "info", "read", "mode" }) {
        const Run r = cli({ "--port", sim.portName(), verb });
        QCOMPARE(r.code, 1);
        QVERIFY2(r.errLines().contains(HaltedMessage), qPrintable(r.err));
    }
    Run r = cli({ "--port", sim.portName(), "start-app" });
    QCOMPARE(r.code, 0);
    QVERIFY2(r.lines().contains(QStringLiteral("model: KZ520-03-ABP")), qPrintable(r.out));
    QVERIFY(!sim.state().halted);
    // A running application: start-app shows the identity and starts nothing.
    sim.clearLog();
    r = cli({ "--port", sim.portName(), "start-app" });
    QCOMPARE(r.code, 0);
    QVERIFY(!sim.commands().contains(QStringLiteral("AT^SJRA=A:/atc65.jar")));
}

void TstFieldCli::flashRecover()
{
    QTemporaryDir dir;
    const QString drive = dir.filePath(QStringLiteral("drive"));
    QVERIFY(QDir().mkpath(drive));
    {
        QFile old(drive + QStringLiteral("/old.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("placed from outside");
    }
    const FirmwareContainer c = recoveryContainer();
    const QString path = writeContainerFile(dir.filePath(QStringLiteral("fw.kzbin")), c);
    QVERIFY(!path.isEmpty());

    QProcess sim;
    sim.start(QStringLiteral(KZ520_SIM),
              { "--set", "halted=on", "--set", "guard=200", "--drive", drive });
    QVERIFY(sim.waitForStarted(10000));
    QVERIFY(sim.waitForReadyRead(10000));
    const QString port = QString::fromUtf8(sim.readLine()).trimmed();
    QVERIFY(port.startsWith(QLatin1Char('/')));

    Run r = cli({ "--port", port, "flash", path, "--recover" }, 180000);
    QCOMPARE(r.code, 0);
    for (const FirmwareFile &f : c.files) {
        QFile onDrive(drive + QLatin1Char('/') + f.name);
        QVERIFY2(onDrive.open(QIODevice::ReadOnly), qPrintable(f.name));
        QCOMPARE(onDrive.readAll(), f.data);
    }
    QVERIFY(QFile::exists(drive + QStringLiteral("/old.txt")));
    // The application runs afterwards.
    r = cli({ "--port", port, "info" });
    QCOMPARE(r.code, 0);
    QVERIFY(r.lines().contains(QStringLiteral("serial: 520000123")));

    sim.terminate();
    QVERIFY(sim.waitForFinished(10000));
}

void TstFieldCli::flashRecoverRefusesARunningApplication()
{
    QTemporaryDir dir;
    const QString path = writeContainerFile(dir.filePath(QStringLiteral("fw.kzbin")), recoveryContainer());
    SimModem sim;
    QVERIFY(sim.start());
    const Run r = cli({ "--port", sim.portName(), "flash", path, "--recover" });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("--recover")), qPrintable(r.err));
    QVERIFY(!sim.commands().contains(QStringLiteral("AT^JHLT")));
    QVERIFY(sim.state().drive.isEmpty());
}

QTEST_GUILESS_MAIN(TstFieldCli)
#include "tst_fieldcli.moc"
