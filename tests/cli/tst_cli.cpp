// The command line's contract, checked from outside: the built binary runs
// against simulated modems and its output, files and exit status are read.
#include "config/reportfile.h"
#include "firmware/firmwarecontainer.h"
#include "forms/configset.h"
#include "kzversion.h"
#include "sim/simmodem.h"
#include "support/clirun.h"
#include "support/modemhooks.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QString OpenPortMessage = QStringLiteral("Не удалось открыть порт. Проверьте настройки.");
const QString HandshakeMessage = QStringLiteral(
        "Не удалось установить соединение с модемом. Убедитесь, что он действительно подключен "
        "к указанному порту. Проверьте настройки соединения.");
const QString InfoMessage = QStringLiteral("Не удалось получить информацию о модеме. Проверьте, "
                                           "что к указанному порту подключен именно модем ORB "
                                           "KZ520.");
const QString PrivilegedMessage = QStringLiteral(
        "При выполнении команды произошла ошибка. Проверьте корректность кода и его "
        "применимость к данному модему.");

} // namespace

class TstCli : public QObject
{
    Q_OBJECT

private slots:
    void usageErrors_data();
    void usageErrors();
    void helpAndPorts();
    void info_data();
    void info();
    void connectFailures_data();
    void connectFailures();
    void debugLines();
    void readJson();
    void readWithFailedGroup();
    void send_data();
    void send();
    void modeShow_data();
    void modeShow();
    void modeSetRoundTrip();
    void saveThenApply();
    void applyVersionQuestion();
    void applyRefusals();
    void applyReportsFailedGroup();
    void reset();
    void btScan();
    void auth();
    void reportRoundTrip();
    void fwinfo();
    void fwinfoDamaged();
    void flashRefusals();
    void flash_data();
    void flash();
    void writeFailures_data();
    void writeFailures();
    void applyIncompleteSet();
    void writeAfterFailedRead_data();
    void writeAfterFailedRead();
    void readUnexpectedLine_data();
    void readUnexpectedLine();
    void lineLost_data();
    void lineLost();
    void modeSetClearsOtherChannel_data();
    void modeSetClearsOtherChannel();
    void authJudgesFinalLine();
    void firmwareRefused_data();
    void firmwareRefused();
    void reportShowEscapes();
    void reportKeepsBytes();
};

void TstCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList {};
    QTest::newRow("unknown command") << QStringList { "--port", "x", "frobnicate" };
    QTest::newRow("unknown option") << QStringList { "--bogus", "info" };
    QTest::newRow("no port") << QStringList { "info" };
    QTest::newRow("extra argument") << QStringList { "--port", "x", "info", "more" };
    QTest::newRow("send without line") << QStringList { "--port", "x", "send" };
    QTest::newRow("send with CR") << QStringList { "--port", "x", "send", "AT\rATZ" };
    QTest::newRow("send with LF") << QStringList { "--port", "x", "send", "AT\nATZ" };
    QTest::newRow("auth with LF") << QStringList { "--port", "x", "auth", "12\n34" };
    QTest::newRow("baud not in table") << QStringList { "--port", "x", "--baud", "56000", "info" };
    QTest::newRow("baud no value") << QStringList { "--port", "x", "--baud" };
    QTest::newRow("parity") << QStringList { "--port", "x", "--parity", "X", "info" };
    QTest::newRow("data bits") << QStringList { "--port", "x", "--data", "9", "info" };
    QTest::newRow("stop bits") << QStringList { "--port", "x", "--stop", "3", "info" };
    QTest::newRow("timeout zero") << QStringList { "--port", "x", "send", "AT", "--timeout", "0" };
    QTest::newRow("timeout text") << QStringList { "--port", "x", "send", "AT", "--timeout", "x" };
    QTest::newRow("option of another command")
            << QStringList { "--port", "x", "info", "--yes" };
    QTest::newRow("reset without yes") << QStringList { "--port", "x", "reset" };
    QTest::newRow("mode set without channel")
            << QStringList { "--port", "x", "mode", "set", "ATS0=1" };
    QTest::newRow("mode set bad channel")
            << QStringList { "--port", "x", "mode", "set", "ATS0=1", "--channel", "usb" };
    QTest::newRow("mode set com without command")
            << QStringList { "--port", "x", "mode", "set", "--channel", "com" };
    QTest::newRow("mode other") << QStringList { "--port", "x", "mode", "get" };
    QTest::newRow("mode channel without set")
            << QStringList { "--port", "x", "mode", "--channel", "bt" };
    QTest::newRow("send empty") << QStringList { "--port", "x", "send", "" };
    QTest::newRow("send not Latin-1") << QStringList { "--port", "x", "send", "AT+X=сеть" };
    QTest::newRow("auth not Latin-1") << QStringList { "--port", "x", "auth", "код" };
    QTest::newRow("mode set empty command")
            << QStringList { "--port", "x", "mode", "set", "", "--channel", "com" };
    QTest::newRow("mode set none with command")
            << QStringList { "--port", "x", "mode", "set", "ATX", "--channel", "none" };
    QTest::newRow("save empty name") << QStringList { "--port", "x", "save", "" };
    QTest::newRow("report empty name") << QStringList { "--port", "x", "report", "" };
    QTest::newRow("fwinfo without file") << QStringList { "fwinfo" };
    QTest::newRow("report-show two files") << QStringList { "report-show", "a", "b" };
}

void TstCli::usageErrors()
{
    QFETCH(QStringList, args);
    const Run r = cli(args);
    QCOMPARE(r.code, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.startsWith(QStringLiteral("kzconfig-cli: ")), qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("Использование")));
}

void TstCli::helpAndPorts()
{
    const Run help = cli({ "--help" });
    QCOMPARE(help.code, 0);
    QVERIFY(help.out.contains(QStringLiteral("mode set")));

    // --version wins over a command and needs no port.
    const QList<QStringList> versionArgs = { { "--version" }, { "--version", "info" } };
    for (const QStringList &args : versionArgs) {
        const Run version = cli(args);
        QCOMPARE(version.code, 0);
        QCOMPARE(version.out, QStringLiteral("kzconfig-cli " KZ_VERSION "\n"));
    }

    const Run ports = cli({ "ports" });
    QCOMPARE(ports.code, 0);
    QVERIFY(ports.err.isEmpty());
    for (const QString &line : ports.lines())
        QVERIFY2(!line.trimmed().isEmpty() && !line.contains(QStringLiteral("LPT")),
                 qPrintable(line));
}

void TstCli::info_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("capabilities");
    QTest::addColumn<bool>("viaCom");
    QTest::addColumn<QString>("operatorName");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("hardware 03 over COM")
            << "KZ520-03-ABP" << "BAT;BT" << true << "MegaFon"
            << QStringList { "model: KZ520-03-ABP", "serial: 520000123", "software: 390",
                             "hardware: 03",        "variant: ABP",      "capabilities: BAT;BT",
                             "battery: Есть",       "bluetooth: Есть",   "sim: \"MegaFon\"",
                             "link: com" };
    QTest::newRow("voltage over Bluetooth")
            << "KZ520-02-P" << "GPS" << false << "MTS"
            << QStringList { "model: KZ520-02-P", "serial: 520000123", "software: 390",
                             "hardware: 02",      "variant: P",        "capabilities: GPS",
                             "battery: 4.100 В",  "bluetooth: Нет",    "sim: \"MTS\"",
                             "link: bluetooth" };
    QTest::newRow("control characters from the modem")
            << "KZ520-02-B" << "" << true << QString::fromLatin1("MTS\x1b[2J\x07")
            << QStringList { "model: KZ520-02-B", "serial: 520000123", "software: 390",
                             "hardware: 02",      "variant: B",        "capabilities: ",
                             "battery: Отсутствует", "bluetooth: Есть",
                             "sim: \"MTS\\x1b[2J\\x07\"", "link: com" };
    QTest::newRow("no battery, no SIM")
            << "KZ520-02-B" << "" << true << ""
            << QStringList { "model: KZ520-02-B", "serial: 520000123", "software: 390",
                             "hardware: 02",      "variant: B",        "capabilities: ",
                             "battery: Отсутствует", "bluetooth: Есть", "sim: Нет сети",
                             "link: com" };
}

void TstCli::info()
{
    QFETCH(QString, type);
    QFETCH(QString, capabilities);
    QFETCH(bool, viaCom);
    QFETCH(QString, operatorName);
    QFETCH(QStringList, expected);

    SimState s;
    s.deviceType = type;
    s.capabilities = capabilities;
    s.viaCom = viaCom;
    s.operatorName = operatorName;
    s.simState = 1;
    Sim sim(s);
    QVERIFY(sim.start());
    const Run r = sim.run({ "info" });
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.split(QLatin1Char('\n')), expected + QStringList { QString() });
    // Progress goes to standard error, never into the identity.
    QVERIFY(r.err.contains(QStringLiteral("Подключение")));
}

void TstCli::connectFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such port") << "port" << OpenPortMessage;
    QTest::newRow("silent modem") << "silent" << HandshakeMessage;
    QTest::newRow("not our modem") << "info" << InfoMessage;
}

void TstCli::connectFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);

    SimState s;
    s.silent = kind == QStringLiteral("silent");
    Sim sim(s);
    QVERIFY(sim.start());
    if (kind == QStringLiteral("info"))
        sim.modem.setCommandHook(notOurModem());
    const QStringList port = kind == QStringLiteral("port")
            ? QStringList { "--port", "/dev/kz-no-such-port" }
            : sim.port();
    QElapsedTimer t;
    t.start();
    const Run r = cli(port + QStringList { "info" });
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(t.elapsed() < 30000);
}

void TstCli::debugLines()
{
    Sim sim;
    QVERIFY(sim.start());
    const Run quiet = sim.run({ "info" });
    QCOMPARE(quiet.code, 0);
    QVERIFY(!quiet.err.contains(QStringLiteral("> AT^JINFO,0")));

    const Run loud = sim.run({ "--debug", "info" });
    QCOMPARE(loud.code, 0);
    const QStringList err = loud.err.split(QLatin1Char('\n'));
    QVERIFY2(err.contains(QStringLiteral("> AT^JINFO,0")), qPrintable(loud.err));
    QVERIFY(err.contains(QStringLiteral("< JI0:KZ520")));
    // The identity on standard output is the same either way.
    QCOMPARE(loud.out, quiet.out);
}

void TstCli::readJson()
{
    Sim sim(stateWithProfiles());
    QVERIFY(sim.start());
    const Run r = sim.run({ "read" });
    QCOMPARE(r.code, 0);
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &pe);
    QVERIFY2(pe.error == QJsonParseError::NoError, qPrintable(pe.errorString()));
    const QJsonObject o = doc.object();

    QCOMPARE(o.value("baud").toInt(), 115200);
    QCOMPARE(o.value("framing").toString(), QStringLiteral("8N1"));
    QCOMPARE(o.value("flow").toInt(-1), 0);
    const QJsonArray gprs = o.value("gprs").toArray();
    QCOMPARE(gprs.size(), 2);
    QCOMPARE(gprs.at(0).toObject(), (QJsonObject { { "name", "inet" }, { "apn", "internet" },
                                                  { "username", "user" },
                                                  { "password", "pass" } }));
    QCOMPARE(gprs.at(1).toObject().value("name").toString(), QStringLiteral("mts"));
    const QJsonArray ntrip = o.value("ntrip").toArray();
    QCOMPARE(ntrip.size(), 1);
    const QJsonObject n = ntrip.at(0).toObject();
    QCOMPARE(n.value("address").toString(), QStringLiteral("caster.example"));
    QCOMPARE(n.value("port").toString(), QStringLiteral("2101"));
    QCOMPARE(n.value("clientPassword").toString(), QStringLiteral("cp"));
    QCOMPARE(n.value("sourcetable").toString(), QStringLiteral("st,more"));
    QCOMPARE(o.value("dyndns").toObject(),
             (QJsonObject { { "login", "login" }, { "password", "secret" },
                            { "domain", "base.example" } }));
    QCOMPARE(o.value("autoexecCom").toString(), QStringLiteral("ATD*91*inet#10.0.0.1,5000"));
    QCOMPARE(o.value("autoexecBt").toString(), QString());
    QCOMPARE(o.value("bluetooth").toObject(),
             (QJsonObject { { "mode", 2 }, { "mac", "0012AB" }, { "pin", "1234" } }));
    QCOMPARE(o.value("failed").toArray(), QJsonArray());
}

void TstCli::readWithFailedGroup()
{
    Sim sim(stateWithProfiles());
    QVERIFY(sim.start());
    sim.modem.setCommandHook([](const QString &line, QByteArray *reply) {
        if (line != QStringLiteral("AT+ADDGPRS?"))
            return false;
        *reply = "\r\nERROR\r\n";
        return true;
    });
    const Run r = sim.run({ "read" });
    QCOMPARE(r.code, 0); // the connection worked: the object names the group
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(o.value("failed").toArray(), QJsonArray { "gprs" });
    QCOMPARE(o.value("gprs").toArray().size(), 0);
    // The groups after the failed one are still read.
    QCOMPARE(o.value("ntrip").toArray().size(), 1);
    QCOMPARE(o.value("dyndns").toObject().value("login").toString(), QStringLiteral("login"));
}

void TstCli::send_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("AT") << QStringList { "AT" } << 0 << QStringList { "OK" };
    QTest::newRow("query") << QStringList { "AT^JINFO,12" } << 0
                           << QStringList { "JI12:520000123", "OK" };
    QTest::newRow("unknown command") << QStringList { "AT+KZBOGUS" } << 1
                                     << QStringList { "ERROR" };
    QTest::newRow("no answer") << QStringList { "AT+KZQUIET", "--timeout", "300" } << 1
                               << QStringList {};
    // The modem skips what stands before "AT"; the point is that "-AT" is no option.
    QTest::newRow("dash after --") << QStringList { "--", "-AT" } << 0 << QStringList { "OK" };
    // Bytes without a line end: the line's cap ends the command at once.
    QTest::newRow("flood without line end") << QStringList { "AT+KZFLOOD", "--timeout", "5000" }
                                            << 1 << QStringList {};
}

void TstCli::send()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QStringList, lines);
    Sim sim;
    QVERIFY(sim.start());
    sim.modem.setCommandHook([](const QString &line, QByteArray *reply) {
        if (line == QStringLiteral("AT+KZQUIET")) {
            reply->clear();
            return true;
        }
        if (line == QStringLiteral("AT+KZFLOOD")) {
            *reply = QByteArray(12000, 'x');
            return true;
        }
        return false;
    });
    QElapsedTimer t;
    t.start();
    const Run r = sim.run(QStringList { "send" } + args);
    QCOMPARE(r.code, code);
    QCOMPARE(r.lines(), lines);
    QVERIFY(t.elapsed() < 20000);
    if (lines.isEmpty())
        QVERIFY(!r.err.isEmpty());
}

void TstCli::modeShow_data()
{
    QTest::addColumn<QString>("bt");
    QTest::addColumn<QString>("com");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("rover TCP on COM")
            << "" << "ATD*91*inet#10.0.0.1,5000"
            << QStringList { "channel: com", "mode: rover-tcp", "gprs: inet", "port: 5000",
                             "address: 10.0.0.1", "reconnect: no",
                             "command: ATD*91*inet#10.0.0.1,5000" };
    QTest::newRow("Bluetooth wins")
            << "ATRD*92**src#" << "ATS0=1"
            << QStringList { "channel: bt", "mode: rover-ntrip", "gprs: default", "ntrip: src",
                             "reconnect: yes", "command: ATRD*92**src#" };
    QTest::newRow("base CSD") << "" << "ATS0=2"
                              << QStringList { "channel: com", "mode: base-csd",
                                               "command: ATS0=2" };
    QTest::newRow("base TCP") << "" << "ATD*93*inet#2101"
                              << QStringList { "channel: com", "mode: base-tcp", "gprs: inet",
                                               "port: 2101", "reconnect: no",
                                               "command: ATD*93*inet#2101" };
    QTest::newRow("caster") << "ATD*CS*inet*cast#" << ""
                            << QStringList { "channel: bt", "mode: base-ntrip-caster",
                                             "gprs: inet", "ntrip: cast", "reconnect: no",
                                             "command: ATD*CS*inet*cast#" };
    QTest::newRow("rover CSD") << "" << "ATRD+79001234567"
                               << QStringList { "channel: com", "mode: rover-csd",
                                                "number: +79001234567", "reconnect: yes",
                                                "command: ATRD+79001234567" };
    QTest::newRow("none") << "" << ""
                          << QStringList { "channel: none", "mode: unknown", "command: " };
    QTest::newRow("not a mode") << "" << "AT+CFUN=1"
                                << QStringList { "channel: com", "mode: unknown",
                                                 "command: AT+CFUN=1" };
}

void TstCli::modeShow()
{
    QFETCH(QString, bt);
    QFETCH(QString, com);
    QFETCH(QStringList, expected);
    SimState s;
    s.autoexecB = bt;
    s.autoexecC = com;
    Sim sim(s);
    QVERIFY(sim.start());
    const Run r = sim.run({ "mode" });
    QCOMPARE(r.code, 0);
    QCOMPARE(r.lines(), expected);
}

void TstCli::modeSetRoundTrip()
{
    Sim sim;
    QVERIFY(sim.start());

    Run r = sim.run({ "mode", "set", "ATRD*94*inet*src#", "--channel", "bt" });
    QCOMPARE(r.code, 0);
    QCOMPARE(sim.modem.state().autoexecB, QStringLiteral("ATRD*94*inet*src#"));
    QVERIFY(sim.modem.commands().contains(QStringLiteral("AT^JAUTO,B=ATRD*94*inet*src#")));
    QCOMPARE(r.lines(), (QStringList { "channel: bt", "mode: base-ntrip-server", "gprs: inet",
                                       "ntrip: src", "reconnect: yes",
                                       "command: ATRD*94*inet*src#" }));

    // "none" writes an empty Bluetooth command: the channel it cleared shows none.
    r = sim.run({ "mode", "set", "--channel", "none" });
    QCOMPARE(r.code, 0);
    QCOMPARE(sim.modem.state().autoexecB, QString());
    QCOMPARE(r.lines().value(0), QStringLiteral("channel: none"));

    sim.modem.clearLog();
    r = sim.run({ "mode", "set", "ATD*93*mts#5000", "--channel", "com" });
    QCOMPARE(r.code, 0);
    QCOMPARE(sim.modem.state().autoexecC, QStringLiteral("ATD*93*mts#5000"));
    // Exactly one autostart command is written.
    const QStringList writes = sim.modem.commands().filter(QStringLiteral("AT^JAUTO,"));
    QCOMPARE(writes.filter(QStringLiteral("=")), QStringList { "AT^JAUTO,C=ATD*93*mts#5000" });
    QCOMPARE(r.lines().mid(0, 2), (QStringList { "channel: com", "mode: base-tcp" }));

    // A value the line cannot carry is refused before anything is sent.
    sim.modem.clearLog();
    r = sim.run({ "mode", "set", QStringLiteral("ATD*93*сеть#5000"), "--channel", "com" });
    QCOMPARE(r.code, 1);
    QVERIFY(!r.err.isEmpty());
    QVERIFY(sim.modem.commands().isEmpty());
}

void TstCli::saveThenApply()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.kzini");
    Sim source(stateWithProfiles());
    QVERIFY(source.start());
    Run r = source.run({ "save", path });
    QCOMPARE(r.code, 0);
    ConfigSet::Loaded loaded;
    QString error;
    QVERIFY2(ConfigSet::load(path, &loaded, &error), qPrintable(error));
    QCOMPARE(loaded.partno, QStringLiteral("KZ520-03-ABP"));
    QCOMPARE(loaded.softversion, QStringLiteral("390"));
    QCOMPARE(loaded.config.dyndnsLogin, QStringLiteral("login"));
    QCOMPARE(loaded.config.btMac, QStringLiteral("0012AB"));

    // The target holds a changed profile of the same name, one the set lacks.
    SimState t;
    t.gprs = { { "inet", "other.apn", "user", "pass" }, { "gone", "x", "y", "z" } };
    t.ntrip = { { "old", "h", "1", "m", "a", "b", "c", "d" } };
    Sim target(t);
    QVERIFY(target.start());
    r = target.run({ "apply", path });
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.isEmpty(), qPrintable(r.out));
    const SimState after = target.modem.state();
    QCOMPARE(after.gprs, source.modem.state().gprs);
    QCOMPARE(after.ntrip, source.modem.state().ntrip);
    QCOMPARE(after.dyndns, source.modem.state().dyndns);
    QCOMPARE(after.autoexecC, source.modem.state().autoexecC);
    QVERIFY(target.modem.commands().contains(QStringLiteral("AT+DELGPRS=gone")));
}

void TstCli::applyVersionQuestion()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.kzini");
    Sim source(stateWithProfiles());
    QVERIFY(source.start());
    QCOMPARE(source.run({ "save", path }).code, 0);

    SimState t;
    t.software = 391;
    Sim target(t);
    QVERIFY(target.start());
    Run r = target.run({ "apply", path });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Выбранные настройки предназначены для модема "
                                          "KZ520-03-ABP с версией ПО 390.")),
             qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("Подключен модем KZ520-03-ABP с версией ПО 391.")));
    QVERIFY(target.modem.commands().filter(QStringLiteral("AT+ADDGPRS=")).isEmpty());
    QVERIFY(target.modem.state().gprs.isEmpty());

    r = target.run({ "apply", path, "--yes" });
    QCOMPARE(r.code, 0);
    QCOMPARE(target.modem.state().gprs, source.modem.state().gprs);
}

void TstCli::applyRefusals()
{
    QTemporaryDir dir;
    Sim sim;
    QVERIFY(sim.start());

    // Not a set: refused before any connection.
    const QString junk = dir.filePath("junk.kzini");
    QFile f(junk);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a settings file\n");
    f.close();
    Run r = sim.run({ "apply", junk });
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("не является набором настроек")));
    QVERIFY(sim.modem.commands().isEmpty());
    r = sim.run({ "apply", dir.filePath("missing.kzini") });
    QCOMPARE(r.code, 1);

    // A comma in a password cannot be read back: nothing is written.
    ConfigSet::Data d;
    d.partno = QStringLiteral("KZ520-03-ABP");
    d.softversion = QStringLiteral("390");
    d.baudRow = 10;
    d.gprsProfiles = { GprsProfile { "inet", "internet", "user", "pa,ss" } };
    const QString comma = dir.filePath("comma.kzini");
    QString error;
    QVERIFY2(ConfigSet::save(comma, d, &error), qPrintable(error));
    r = sim.run({ "apply", comma });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("inet")), qPrintable(r.err));
    QVERIFY(sim.modem.commands().isEmpty());
    QVERIFY(sim.modem.state().gprs.isEmpty());
}

void TstCli::applyReportsFailedGroup()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.kzini");
    Sim source(stateWithProfiles());
    QVERIFY(source.start());
    QCOMPARE(source.run({ "save", path }).code, 0);

    Sim target;
    QVERIFY(target.start());
    target.modem.setCommandHook([](const QString &line, QByteArray *reply) {
        if (!line.startsWith(QStringLiteral("AT+ADDNTRIP=")))
            return false;
        *reply = "\r\nERROR\r\n";
        return true;
    });
    const Run r = target.run({ "apply", path });
    QCOMPARE(r.code, 1);
    QCOMPARE(r.lines(), QStringList { "failed: ntrip" });
    QVERIFY(r.err.contains(QStringLiteral("Не удалось выполнить команду.")));
    // The other groups were written all the same.
    QCOMPARE(target.modem.state().gprs, source.modem.state().gprs);
}

void TstCli::reset()
{
    Sim sim(stateWithProfiles());
    QVERIFY(sim.start());
    const Run r = sim.run({ "reset", "--yes" });
    QCOMPARE(r.code, 0);
    const SimState s = sim.modem.state();
    QVERIFY(s.gprs.isEmpty());
    QVERIFY(s.ntrip.isEmpty());
    QCOMPARE(s.btMode, 0);
    QVERIFY(sim.modem.commands().contains(QStringLiteral("AT+DYNDNS=,,")));
}

void TstCli::btScan()
{
    SimState s;
    s.btDevices = { "0012AB34CD56,Phone,1F00", "0012AB34CD57" };
    Sim sim(s);
    QVERIFY(sim.start());
    const Run r = sim.run({ "bt-scan" });
    QCOMPARE(r.code, 0);
    QCOMPARE(r.lines(), (QStringList { "0012AB34CD56 Phone", "0012AB34CD57 " }));
}

void TstCli::auth()
{
    SimState s;
    s.acceptedCodes = { "A1B2C3" };
    Sim sim(s);
    QVERIFY(sim.start());
    Run r = sim.run({ "auth", "A1B2C3" });
    QCOMPARE(r.code, 0);
    QVERIFY(sim.modem.commands().contains(QStringLiteral("AT^AUTH=A1B2C3")));
    r = sim.run({ "auth", "WRONG" });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(PrivilegedMessage), qPrintable(r.err));
}

void TstCli::reportRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("modem.kzrep");
    SimState s = stateWithProfiles();
    s.stores = { { "GPRS1", "gprs store" }, { "SETTINGS", "a=1" } };
    Sim sim(s);
    QVERIFY(sim.start());
    Run r = sim.run({ "report", path, "--profiles" }, 300000);
    QCOMPARE(r.code, 0);
    QString text, error;
    QVERIFY2(ReportFile::read(path, &text, &error), qPrintable(error));
    QVERIFY(text.contains(QStringLiteral("*** SENT ***\r\nAT^JINFO,0\r\n*** RCVD ***\r\n")));
    QVERIFY(text.contains(QStringLiteral("+BTMODE: 2,0012AB,1234\r\n")));
    QVERIFY(text.contains(QStringLiteral("*** GPRS ***\r\ninet internet user pass\r\n")));
    QVERIFY(text.contains(QStringLiteral("*** RMS-SETTINGS ***")));
    QVERIFY(!text.contains(QStringLiteral("*** RMS-GPRS1 ***")));

    r = cli({ "report-show", path });
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    QFile broken(dir.filePath("broken.kzrep"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("\x00\x00\x10\x00garbage", 11);
    broken.close();
    r = cli({ "report-show", broken.fileName() });
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
}

void TstCli::fwinfo()
{
    QTemporaryDir dir;
    FirmwareContainer c;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = { "02", "03" };
    c.info.softwareVersion = 401;
    c.info.preCommands = { { "AT^JINFO,0", "JI0:KZ520" }, { "AT^X", "" } };
    c.info.postCommands = { { "AT^JINFO,10", "JI10:401" } };
    c.files = { { "atc65.jar", QByteArray(1000, 'j') }, { "empty.txt", QByteArray() } };
    const QString path = writeContainerFile(dir.filePath("fw.kzbin"), c);
    QVERIFY(!path.isEmpty());

    const Run r = cli({ "fwinfo", path });
    QCOMPARE(r.code, 0);
    QCOMPARE(r.lines(), (QStringList { "model: KZ520", "hardware: 02,03", "software: 401",
                                       "pre: AT^JINFO,0 -> JI0:KZ520", "pre: AT^X -> ",
                                       "post: AT^JINFO,10 -> JI10:401", "file: atc65.jar 1000",
                                       "file: empty.txt 0" }));
}

void TstCli::fwinfoDamaged()
{
    QTemporaryDir dir;
    FirmwareContainer c;
    c.info.model = QStringLiteral("KZ520");
    c.files = { { "atc65.jar", QByteArray(5000, 'x') } };
    const QString path = writeContainerFile(dir.filePath("fw.kzbin"), c);
    QVERIFY(!path.isEmpty());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    const QByteArray whole = f.readAll();
    QVERIFY(f.resize(whole.size() - 10)); // the last file record is cut short
    f.close();

    Run r = cli({ "fwinfo", path });
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.trimmed().isEmpty());

    r = cli({ "fwinfo", dir.filePath("missing.kzbin") });
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Не удалось открыть файл прошивки")));
}

void TstCli::flashRefusals()
{
    QTemporaryDir dir;
    FirmwareContainer c;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = { "02" };
    c.files = { { "atc65.jar", QByteArray("jar") } };
    const QString other = writeContainerFile(dir.filePath("other.kzbin"), c);
    c.info.hardwareVersions = { "03" };
    const QString fits = writeContainerFile(dir.filePath("fits.kzbin"), c);
    QVERIFY(!other.isEmpty() && !fits.isEmpty());

    // The hardware does not fit: refused without --yes, nothing halted.
    Sim sim;
    QVERIFY(sim.start());
    Run r = sim.run({ "flash", other });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("02 /!\\")), qPrintable(r.err));
    QVERIFY(!sim.modem.commands().contains(QStringLiteral("AT^JHLT")));

    // Over Bluetooth the update is refused whatever is confirmed.
    SimState bt;
    bt.viaCom = false;
    Sim overBt(bt);
    QVERIFY(overBt.start());
    r = overBt.run({ "flash", fits, "--yes" });
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Обновление ПО через Bluetooth невозможно. "
                                         "Переподключитесь к модему через COM-порт.")));
    QVERIFY(!overBt.modem.commands().contains(QStringLiteral("AT^JHLT")));
}

void TstCli::flash_data()
{
    QTest::addColumn<QString>("postReply");
    QTest::addColumn<int>("code");
    QTest::newRow("post check passes") << "JI10:390" << 0;
    QTest::newRow("post check fails") << "JI10:999" << 1;
}

void TstCli::flash()
{
    QFETCH(QString, postReply);
    QFETCH(int, code);
    QTemporaryDir dir;
    FirmwareContainer c;
    c.magic = firmwareMagic();
    c.version = 3;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = { "02", "03" };
    c.info.softwareVersion = 400;
    c.info.preCommands = { { "AT^JINFO,11", "JI11:03" } };
    c.info.postCommands = { { "AT^JINFO,10", postReply } };
    QByteArray jar(20000, Qt::Uninitialized);
    for (int i = 0; i < jar.size(); ++i)
        jar[i] = char(i * 7 + 3);
    c.files = { { "atc65.jar", jar } };
    const QString path = writeContainerFile(dir.filePath("fw.kzbin"), c);
    QVERIFY(!path.isEmpty());

    SimState s;
    s.guardMs = 200;
    Sim sim(s);
    QVERIFY(sim.start());
    const Run r = sim.run({ "flash", path }, 120000);
    QCOMPARE(r.code, code);
    // The files reach the drive either way: only the final check differs.
    QCOMPARE(sim.modem.state().drive.value("atc65.jar"), jar);
    QVERIFY(sim.modem.commands().contains(QStringLiteral("AT^JHLT")));
    if (code != 0)
        QVERIFY2(r.err.contains(QStringLiteral("Не удалось обновить ПО модема.")), qPrintable(r.err));
}

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool putBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A file system of a few KiB, filled up but for a handful of bytes.
struct FullDisk {
    QString path;
    bool mounted = false;
    explicit FullDisk(const QString &where) : path(where)
    {
        QDir().mkpath(path);
        mounted = ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0,
                          "size=16k") == 0;
    }
    bool fill(const QString &keep, const QByteArray &bytes)
    {
        if (!putBytes(keep, bytes))
            return false;
        QFile filler(path + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) { }
        const QByteArray byte(1, 'f');
        while (filler.write(byte) == 1) { }
        return true;
    }
    ~FullDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
};

} // namespace

void TstCli::writeFailures_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("target");
    for (const char *verb : { "save", "report" })
        for (const char *target : { "full disk", "device", "read-only", "size limit" })
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(verb, target)))
                    << QString::fromLatin1(verb) << QString::fromLatin1(target);
}

// Whatever keeps the file from being written, the command fails and an
// earlier file stays as it was.
void TstCli::writeFailures()
{
    QFETCH(QString, verb);
    QFETCH(QString, target);
    QTemporaryDir dir;
    const QByteArray old = "earlier contents\n";
    QString path = dir.filePath("old.file");
    std::unique_ptr<FullDisk> disk;
    if (target == QLatin1String("full disk")) {
        if (geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        disk = std::make_unique<FullDisk>(dir.filePath("disk"));
        if (!disk->mounted)
            QSKIP("tmpfs cannot be mounted here");
        path = disk->path + QStringLiteral("/old.file");
        QVERIFY(disk->fill(path, old));
    } else if (target == QLatin1String("device")) {
        // A node of its own for /dev/full: every write fails with "no space".
        path = dir.filePath("full");
        if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("cannot create a device node here");
    } else {
        QVERIFY(putBytes(path, old));
        if (target == QLatin1String("read-only"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    }

    Sim sim(stateWithProfiles());
    QVERIFY(sim.start());
    const Run r = sim.run({ verb, path }, 300000, target == QLatin1String("size limit") ? 64 : 0);
    QCOMPARE(r.code, 1);
    QVERIFY2(!r.err.contains(QStringLiteral("Отчёт сохранён")), qPrintable(r.err));
    if (target == QLatin1String("device")) {
        struct stat st;
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QVERIFY(S_ISCHR(st.st_mode));
    } else {
        QCOMPARE(fileBytes(path), old);
        // Nothing half-written stays beside it.
        QStringList names = QFileInfo(path).dir().entryList(QDir::Files);
        names.removeAll(QStringLiteral("filler"));
        QCOMPARE(names, QStringList { "old.file" });
    }
}

// A set missing a group would send defaults for it: refused, nothing sent.
void TstCli::applyIncompleteSet()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cut.kzini");
    QVERIFY(putBytes(path, "[modem]\npartno=KZ520-03-ABP\nsoftversion=390\n"
                           "[com]\nbaudrate=10\nframing=0\nflow=0\n"
                           "[gprsProfiles]\n1\\name=inet\nsize=1\n"));
    Sim sim(stateWithProfiles());
    QVERIFY(sim.start());
    const Run r = sim.run({ "apply", path, "--yes" });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("ntripProfiles, dyndns, bluetooth")), qPrintable(r.err));
    QVERIFY(sim.modem.commands().isEmpty());
    QCOMPARE(sim.modem.state().ntrip.size(), 1);
}

void TstCli::writeAfterFailedRead_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("apply") << QStringList { "apply" };
    QTest::newRow("reset") << QStringList { "reset", "--yes" };
}

// The GPRS read fails on an unsolicited line: the GPRS write, a difference
// against that read, is not attempted, and the command fails.
void TstCli::writeAfterFailedRead()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const QString path = dir.filePath("set.kzini");
    Sim source(stateWithProfiles());
    QVERIFY(source.start());
    QCOMPARE(source.run({ "save", path }).code, 0);
    if (args.first() == QLatin1String("apply"))
        args.insert(1, path);

    SimState t = stateWithProfiles();
    t.gprs.append({ "gone", "x", "y", "z" });
    Sim target(t);
    QVERIFY(target.start());
    target.modem.setCommandHook([](const QString &line, QByteArray *reply) {
        if (line != QStringLiteral("AT+ADDGPRS?"))
            return false;
        *reply = "\r\nRING\r\n\r\n+ADDGPRS: gone,x,y,z\r\n\r\nOK\r\n";
        return true;
    });
    const Run r = target.run(args);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.lines().contains(QStringLiteral("failed: gprs")), qPrintable(r.out));
    QVERIFY(target.modem.commands().filter(QStringLiteral("AT+DELGPRS=")).isEmpty());
    QVERIFY(target.modem.commands().filter(QStringLiteral("AT+ADDGPRS=")).isEmpty());
    QCOMPARE(target.modem.state().gprs.size(), 3);
}

void TstCli::readUnexpectedLine_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("failed");
    const QStringList serial { "baudrate", "framing", "flow" };
    QTest::newRow("RING before +IFC") << "AT+IFC?" << QByteArray("\r\nRING\r\n\r\n+IFC: 2,2\r\n\r\nOK\r\n")
                                      << serial;
    QTest::newRow("no answer to AT+IFC?") << "AT+IFC?" << QByteArray() << serial;
    QTest::newRow("RING before +BTMODE")
            << "AT+BTMODE?" << QByteArray("\r\nRING\r\n\r\n+BTMODE: 2,0012AB,1234\r\n\r\nOK\r\n")
            << QStringList { "bluetooth" };
    QTest::newRow("no answer to AT+BTMODE?") << "AT+BTMODE?" << QByteArray()
                                             << QStringList { "bluetooth" };
}

// A reply that was not read as it should be is a failed group, never a default.
void TstCli::readUnexpectedLine()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, failed);
    SimState s = stateWithProfiles();
    s.ifc = QStringLiteral("2,2");
    Sim sim(s);
    QVERIFY(sim.start());
    sim.modem.setCommandHook([command, reply](const QString &line, QByteArray *out) {
        if (line != command)
            return false;
        *out = reply;
        return true;
    });
    const Run r = sim.run({ "read" });
    QCOMPARE(r.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(o.value("failed").toArray(), QJsonArray::fromStringList(failed));
    QCOMPARE(o.value("gprs").toArray().size(), 2);
}

void TstCli::lineLost_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<int>("dropAt"); // which AT^JINFO,0 drops the line
    QTest::addColumn<QString>("dropCommand");
    QTest::newRow("read") << "read" << 1 << "AT+ADDNTRIP?";
    QTest::newRow("report at the first query") << "report" << 2 << "AT^JINFO,0";
}

// A lost line fails the command; a report keeps what it gathered, marked.
void TstCli::lineLost()
{
    QFETCH(QString, verb);
    QFETCH(int, dropAt);
    QFETCH(QString, dropCommand);
    QTemporaryDir dir;
    const QString path = dir.filePath("r.kzrep");
    Sim sim(stateWithProfiles());
    QVERIFY(sim.start());
    SimModem *modem = &sim.modem;
    auto seen = std::make_shared<int>(0);
    sim.modem.setCommandHook([=](const QString &line, QByteArray *) {
        if (line != dropCommand || ++*seen != dropAt)
            return false;
        modem->dropLine();
        return true;
    });
    const Run r = sim.run(verb == QLatin1String("read") ? QStringList { "read" }
                                                        : QStringList { "report", path },
                          120000);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("вязь с модемом потеряна")), qPrintable(r.err));
    if (verb == QLatin1String("report")) {
        QVERIFY(r.err.contains(QStringLiteral("не полностью")));
        QString text;
        QVERIFY(ReportFile::read(path, &text));
        QVERIFY(text.contains(QStringLiteral("*** LINE LOST ***")));
    }
}

void TstCli::modeSetClearsOtherChannel_data()
{
    QTest::addColumn<QString>("bt");
    QTest::addColumn<QString>("com");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("btAfter");
    QTest::addColumn<QString>("comAfter");
    QTest::newRow("none clears COM") << "" << "ATS0=2" << QStringList { "--channel", "none" }
                                     << "" << "";
    QTest::newRow("none clears both") << "ATS0=1" << "ATS0=2"
                                      << QStringList { "--channel", "none" } << "" << "";
    QTest::newRow("com clears Bluetooth")
            << "ATS0=1" << "" << QStringList { "ATD*93*mts#5000", "--channel", "com" } << ""
            << "ATD*93*mts#5000";
    QTest::newRow("bt clears COM") << "" << "ATS0=2"
                                   << QStringList { "ATS0=1", "--channel", "bt" } << "ATS0=1"
                                   << "";
}

void TstCli::modeSetClearsOtherChannel()
{
    QFETCH(QString, bt);
    QFETCH(QString, com);
    QFETCH(QStringList, args);
    QFETCH(QString, btAfter);
    QFETCH(QString, comAfter);
    SimState s;
    s.autoexecB = bt;
    s.autoexecC = com;
    Sim sim(s);
    QVERIFY(sim.start());
    const Run r = sim.run(QStringList { "mode", "set" } + args);
    QCOMPARE(r.code, 0);
    QCOMPARE(sim.modem.state().autoexecB, btAfter);
    QCOMPARE(sim.modem.state().autoexecC, comAfter);
}

void TstCli::authJudgesFinalLine()
{
    Sim sim;
    QVERIFY(sim.start());
    sim.modem.setCommandHook([](const QString &line, QByteArray *reply) {
        if (!line.startsWith(QStringLiteral("AT^AUTH=")))
            return false;
        *reply = "\r\n+AUTH: TOKEN EXPIRED\r\n";
        return true;
    });
    const Run r = sim.run({ "auth", "A1B2C3" });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(PrivilegedMessage), qPrintable(r.err));
}

void TstCli::firmwareRefused_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("CR LF in a pre-command") << "pre";
    QTest::newRow("LF in a file name") << "name";
    QTest::newRow("ESC in the model") << "model";
    QTest::newRow("wrong magic") << "magic";
    QTest::newRow("unknown format version") << "version";
    QTest::newRow("endless device") << "/dev/urandom";
}

// A container that would put a command of its own on the line, or is not a
// container of ours, is refused before anything is sent or shown.
void TstCli::firmwareRefused()
{
    QFETCH(QString, damage);
    QTemporaryDir dir;
    FirmwareContainer c;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = { "03" };
    c.info.preCommands = { { "AT^JINFO,11", "JI11:03" } };
    c.files = { { "atc65.jar", QByteArray("jar") } };
    if (damage == QLatin1String("pre"))
        c.info.preCommands = { { "AT\r\nAT+DELGPRS=inet", "" } };
    else if (damage == QLatin1String("name"))
        c.files = { { "a.jar\nAT+DELGPRS=inet", QByteArray("jar") } };
    else if (damage == QLatin1String("model"))
        c.info.model = QString::fromLatin1("KZ520\x1b[2J");
    QString path = writeContainerFile(dir.filePath("fw.kzbin"), c);
    QVERIFY(!path.isEmpty());
    if (damage == QLatin1String("magic") || damage == QLatin1String("version")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(damage == QLatin1String("magic") ? 1 : 8);
        f.write(damage == QLatin1String("magic") ? "X" : "\x07");
        f.close();
    }
    if (damage.startsWith(QLatin1Char('/')))
        path = damage;

    Run r = cli({ "fwinfo", path });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out.isEmpty(), qPrintable(r.out));
    QVERIFY(r.err.contains(QStringLiteral("Файл прошивки повреждён")));
    if (damage.startsWith(QLatin1Char('/')))
        return;

    SimState s = stateWithProfiles();
    Sim sim(s);
    QVERIFY(sim.start());
    r = sim.run({ "flash", path, "--yes" });
    QCOMPARE(r.code, 1);
    QVERIFY(!sim.modem.commands().contains(QStringLiteral("AT^JHLT")));
    QVERIFY(sim.modem.commands().filter(QStringLiteral("DELGPRS")).isEmpty());
    QCOMPARE(sim.modem.state().gprs.size(), 2);
}

void TstCli::reportShowEscapes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("r.kzrep");
    const QString text = QString::fromLatin1("*** RMS ***\r\nA\x1b[31mB\x07\tC\r\n");
    QVERIFY(ReportFile::write(path, text));
    Run r = cli({ "report-show", path });
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("*** RMS ***\nA\\x1b[31mB\\x07\tC\n"));

    QProcess p;
    p.start(QStringLiteral(KZCONFIG_CLI), { "report-show", "--raw", path });
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput(), text.toLatin1());

    r = cli({ "report-show", "/dev/zero" });
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.isEmpty());
}

// Store bytes above 0x7F reach the file as the modem sent them, and a store
// list of garbage asks for no store.
void TstCli::reportKeepsBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("r.kzrep");
    SimState s;
    s.stores = { { "S", QString::fromLatin1("caf\xe9 \xff") } };
    Sim sim(s);
    QVERIFY(sim.start());
    Run r = sim.run({ "report", path }, 300000);
    QCOMPARE(r.code, 0);
    QByteArray bytes;
    QVERIFY(ReportFile::readBytes(path, &bytes));
    QVERIFY2(bytes.contains("*** RMS-S ***\r\n\r\ncaf\xe9 \xff\r\n"), bytes.constData());

    sim.modem.setCommandHook([](const QString &line, QByteArray *reply) {
        if (line != QStringLiteral("AT^JRMS?"))
            return false;
        *reply = "\r\nGOOD\r\n" + QByteArray(6000, 'g') + "\r\nBAD\x1b\r\n\r\nOK\r\n";
        return true;
    });
    sim.modem.clearLog();
    r = sim.run({ "report", path }, 300000);
    QCOMPARE(r.code, 0);
    QCOMPARE(sim.modem.commands().filter(QStringLiteral("AT^JRMS,")),
             QStringList { "AT^JRMS,GOOD" });
}

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
