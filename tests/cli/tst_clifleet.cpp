// The command line for fleets, checked from outside: dry runs against the
// real write, the difference from a set, output for scripts, progress, and
// several modems at once.
#include "forms/configset.h"
#include "support/clirun.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace {

// The lines of what the modem heard that change its configuration.
QStringList writes(const QStringList &heard)
{
    static const char *const prefixes[] = {
        "AT+IPR=",      "AT+ICF=",    "AT+IFC=",     "AT+ADDGPRS=", "AT+DELGPRS=", "AT+ADDNTRIP=",
        "AT+DELNTRIP=", "AT+DYNDNS=", "AT^JAUTO,B=", "AT^JAUTO,C=", "AT+BTMODE="
    };
    QStringList out;
    for (const QString &line : heard)
        for (const char *p : prefixes)
            if (line.startsWith(QLatin1String(p))) {
                out << line;
                break;
            }
    return out;
}

// A set that differs from stateWithProfiles() in every group but the serial
// settings (which would move the modem off the tool's speed).
QString writeOtherSet(const QString &path, const QString &partno = QStringLiteral("KZ520-03-ABP"),
                      const QString &softversion = QStringLiteral("390"))
{
    KZConfig c;
    c.gprsProfiles = { { "inet", "other.apn", "user2", "pass2" }, { "new", "n.apn", "", "" } };
    c.ntripProfiles = { { "src", "caster.example", "2102", "MP1", "cl", "cp", "sp2", "st,more" } };
    c.dyndnsLogin = "login2";
    c.dyndnsPassword = "secret2";
    c.dyndnsDomain = "base.example";
    c.btMode = 2;
    c.btMac = "0012AC";
    c.btPin = "9999";
    c.autoexecBt = "ATRD*91*new#10.0.0.2,5000";
    QString error;
    if (!ConfigSet::save(path, ConfigSet::fromConfig(c, partno, softversion), &error))
        return QString();
    return path;
}

// A container of one file of `size` bytes, without pre- or post-commands.
QString firmwareFile(const QString &path, int size)
{
    return writeContainerFile(path, firmwareFor(QStringLiteral("03"), size, 400));
}

} // namespace

class TstCliFleet : public QObject
{
    Q_OBJECT

private slots:
    void dryRunEqualsWrite_data();
    void dryRunEqualsWrite();
    void dryRunUsage_data();
    void dryRunUsage();
    void diffEqual();
    void diffEveryGroup_data();
    void diffEveryGroup();
    void diffFailures();
    void jsonMatchesText_data();
    void jsonMatchesText();
    void fwinfoJson();
    void progressOnPipe_data();
    void progressOnPipe();
    void progressOnTerminal();
    void manyPorts_data();
    void manyPorts();
    void manyPortsPlaceholders();
    void manyPortsUsage_data();
    void manyPortsUsage();
};

void TstCliFleet::dryRunEqualsWrite_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("setFile");
    QTest::newRow("apply") << QStringList { "apply" } << true;
    QTest::newRow("reset") << QStringList { "reset", "--yes" } << false;
    QTest::newRow("mode set com") << QStringList { "mode", "set", "ATS0=1", "--channel", "com" }
                                  << false;
    QTest::newRow("mode set none") << QStringList { "mode", "set", "--channel", "none" } << false;
}

// The dry run prints exactly what the write then sends, and sends no write.
void TstCliFleet::dryRunEqualsWrite()
{
    QFETCH(QStringList, args);
    QFETCH(bool, setFile);
    QTemporaryDir dir;
    if (setFile)
        args << writeOtherSet(dir.filePath("set.kzini"));
    SimState state = stateWithProfiles();
    state.autoexecB = "ATRD*91*inet#10.0.0.1,5000";
    Sim sim(state);
    QVERIFY(sim.start());

    const Run dry = sim.run(args + QStringList { "--dry-run" });
    QCOMPARE(dry.code, 0);
    QVERIFY2(writes(sim.modem.commands()).isEmpty(), qPrintable(sim.modem.commands().join('\n')));
    QCOMPARE(sim.modem.state().gprs, state.gprs);
    QVERIFY(!dry.lines().isEmpty());

    sim.modem.clearLog();
    const Run real = sim.run(args);
    QVERIFY2(real.code == 0, qPrintable(real.err));
    QCOMPARE(writes(sim.modem.commands()), dry.lines());
}

void TstCliFleet::dryRunUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::newRow("info") << QStringList { "--port", "x", "info", "--dry-run" } << 2;
    QTest::newRow("mode without set") << QStringList { "--port", "x", "mode", "--dry-run" } << 2;
    QTest::newRow("with a value") << QStringList { "--port", "x", "reset", "--dry-run=1" } << 2;
    // A dry run sends no write, so it needs no confirmation: it gets as far
    // as opening the port.
    QTest::newRow("reset without yes")
            << QStringList { "--port", "/nonexistent/port", "reset", "--dry-run" } << 1;
}

void TstCliFleet::dryRunUsage()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    const Run r = cli(args);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
}

void TstCliFleet::diffEqual()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("same.kzini");
    Sim sim(stateWithProfiles());
    QVERIFY(sim.start());
    QCOMPARE(sim.run({ "save", path }).code, 0);
    sim.modem.clearLog();
    const Run r = sim.run({ "diff", path });
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.isEmpty(), qPrintable(r.out));
    QVERIFY(writes(sim.modem.commands()).isEmpty());

    const Run j = sim.run({ "diff", path, "--json" });
    QCOMPARE(j.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(j.out.toUtf8()).object();
    QCOMPARE(o.value("differs").toBool(true), false);
    QVERIFY(o.value("differences").toObject().isEmpty());
    QVERIFY(!o.contains("note"));
}

void TstCliFleet::diffEveryGroup_data()
{
    QTest::addColumn<QString>("software");
    QTest::addColumn<QStringList>("first");
    QTest::newRow("same version") << "390" << QStringList();
    QTest::newRow("other version")
            << "391" << QStringList { "note: set from KZ520-03-ABP, software 391" };
}

void TstCliFleet::diffEveryGroup()
{
    QFETCH(QString, software);
    QFETCH(QStringList, first);
    QTemporaryDir dir;
    const QString path = writeOtherSet(dir.filePath("other.kzini"), "KZ520-03-ABP", software);
    QVERIFY(!path.isEmpty());
    SimState state = stateWithProfiles();
    state.baud = 9600;
    state.icf = "2,1";
    Sim sim(state);
    QVERIFY(sim.start());

    const Run r = sim.run({ "--baud", "9600", "--parity", "E", "diff", path });
    QCOMPARE(r.code, 3);
    const QStringList expected = first
            + QStringList { "baud: 9600 -> 115200",
                            "framing: 8E1 -> 8N1",
                            "gprs: ~ inet apn username password",
                            "gprs: - mts",
                            "gprs: + new",
                            "ntrip: ~ src port serverPassword",
                            "dyndns: login login -> login2",
                            "dyndns: password",
                            "autoexec com: ATD*91*inet#10.0.0.1,5000 -> \"\"",
                            "autoexec bt: \"\" -> ATRD*91*new#10.0.0.2,5000",
                            "bluetooth: mac 0012AB -> 0012AC",
                            "bluetooth: pin" };
    QCOMPARE(r.lines(), expected);
    // Neither the modem's secrets nor the set's are shown.
    const QStringList words = r.out.split(QRegularExpression("[\\s,]+"));
    for (const char *secret : { "secret", "secret2", "1234", "9999", "pass", "pass2", "sp2" })
        QVERIFY2(!words.contains(QLatin1String(secret)), secret);
    QVERIFY(writes(sim.modem.commands()).isEmpty());

    const Run j = sim.run({ "--baud", "9600", "--parity", "E", "diff", path, "--json" });
    QCOMPARE(j.code, 3);
    const QJsonObject o = QJsonDocument::fromJson(j.out.toUtf8()).object();
    QCOMPARE(o.value("differs").toBool(), true);
    QCOMPARE(o.contains("note"), !first.isEmpty());
    const QJsonObject d = o.value("differences").toObject();
    QCOMPARE(d.keys(),
             (QStringList { "autoexec", "baud", "bluetooth", "dyndns", "framing", "gprs",
                            "ntrip" }));
    for (const char *secret : { "secret", "secret2", "1234", "9999", "pass2", "sp2" })
        QVERIFY2(!j.out.contains(QLatin1Char('"') + QLatin1String(secret) + QLatin1Char('"')),
                 secret);
}

void TstCliFleet::diffFailures()
{
    QTemporaryDir dir;
    const QString path = writeOtherSet(dir.filePath("set.kzini"));
    // No modem behind the port.
    Run r = cli({ "--port", "/nonexistent/port", "diff", path });
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.isEmpty());
    // A set that cannot be read, refused as apply refuses it.
    Sim sim(stateWithProfiles());
    QVERIFY(sim.start());
    r = sim.run({ "diff", dir.filePath("missing.kzini") });
    QCOMPARE(r.code, 1);
    QVERIFY(!r.err.isEmpty());
    r = cli({ "--port", "x", "diff" });
    QCOMPARE(r.code, 2);
}

void TstCliFleet::jsonMatchesText_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("info") << QStringList { "info" };
    QTest::newRow("mode") << QStringList { "mode" };
    QTest::newRow("mode set") << QStringList { "mode", "set", "ATS0=1", "--channel", "com" };
}

// --json holds exactly the keys and values of the text form, in one object.
void TstCliFleet::jsonMatchesText()
{
    QFETCH(QStringList, args);
    Sim sim(stateWithProfiles());
    QVERIFY(sim.start());
    const Run text = sim.run(args);
    QCOMPARE(text.code, 0);
    const Run json = sim.run(args + QStringList { "--json" });
    QCOMPARE(json.code, 0);
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(o.size(), text.lines().size());
    for (const QString &line : text.lines()) {
        const int colon = line.indexOf(QStringLiteral(": "));
        QVERIFY2(colon > 0, qPrintable(line));
        QCOMPARE(o.value(line.left(colon)).toString(), line.mid(colon + 2));
    }
}

void TstCliFleet::fwinfoJson()
{
    QTemporaryDir dir;
    FirmwareContainer c;
    c.info.model = "KZ520";
    c.info.hardwareVersions = { "02", "03" };
    c.info.softwareVersion = 391;
    c.info.preCommands = { { "AT^JINFO,10", "390" } };
    c.files = { { "atc65.jar", QByteArray(100, 'x') } };
    const QString path = writeContainerFile(dir.filePath("fw.kzbin"), c);
    QVERIFY(!path.isEmpty());
    const Run r = cli({ "fwinfo", path, "--json" });
    QCOMPARE(r.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(o.value("model").toString(), QStringLiteral("KZ520"));
    QCOMPARE(o.value("hardware").toString(), QStringLiteral("02,03"));
    QCOMPARE(o.value("software").toString(), QStringLiteral("391"));
    QCOMPARE(o.value("pre").toArray().at(0).toObject().value("reply").toString(),
             QStringLiteral("390"));
    QVERIFY(o.value("post").toArray().isEmpty());
    QCOMPARE(o.value("file").toArray().at(0).toObject().value("size").toInt(), 100);
}

void TstCliFleet::progressOnPipe_data()
{
    QTest::addColumn<bool>("quiet");
    QTest::newRow("lines") << false;
    QTest::newRow("quiet") << true;
}

// Not a terminal: one line per step and per tenth, with the bytes.
void TstCliFleet::progressOnPipe()
{
    QFETCH(bool, quiet);
    QTemporaryDir dir;
    const QString path = firmwareFile(dir.filePath("fw.kzbin"), 61773);
    QVERIFY(!path.isEmpty());
    SimState s;
    s.guardMs = 200;
    Sim sim(s);
    QVERIFY(sim.start());
    QStringList args { "flash", path };
    if (quiet)
        args.prepend("--quiet");
    const Run r = sim.run(args, 120000);
    QCOMPARE(r.code, 0);
    if (quiet) {
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        return;
    }
    const QRegularExpression counted(
            "^Обновление ПО: atc65.jar: (\\d+) из 61773 байт \\((\\d+)%\\)$");
    QList<int> percents;
    qint64 lastBytes = -1;
    const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        QVERIFY2(!line.contains('\r'), qPrintable(line));
        const QRegularExpressionMatch m = counted.match(line);
        if (!m.hasMatch())
            continue;
        QVERIFY(m.captured(1).toLongLong() > lastBytes);
        lastBytes = m.captured(1).toLongLong();
        const int percent = m.captured(2).toInt();
        // At most one line a tenth.
        QVERIFY2(percents.isEmpty() || percent / 10 > percents.last() / 10, qPrintable(r.err));
        percents << percent;
    }
    QVERIFY2(percents.size() >= 3, qPrintable(r.err));
    QCOMPARE(lastBytes, qint64(61773));
    QVERIFY(lines.contains(QStringLiteral("Обновление ПО: остановка приложения")));
}

// A terminal: one status line redrawn in place with the bar, bytes, rate and
// time left.
void TstCliFleet::progressOnTerminal()
{
    QTemporaryDir dir;
    const QString path = firmwareFile(dir.filePath("fw.kzbin"), 61773);
    SimState s;
    s.guardMs = 200;
    Sim sim(s);
    QVERIFY(sim.start());

    int master = -1, slave = -1;
    QVERIFY(openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    QProcess p;
    p.setChildProcessModifier([slave] { dup2(slave, 2); });
    p.start(QStringLiteral(KZCONFIG_CLI), sim.port() + QStringList { "flash", path });
    QByteArray screen;
    auto drain = [&] {
        char buf[4096];
        for (ssize_t n; (n = read(master, buf, sizeof buf)) > 0;)
            screen.append(buf, int(n));
    };
    QDeadlineTimer deadline(120000);
    while (!p.waitForFinished(50) && !deadline.hasExpired())
        drain();
    drain();
    ::close(slave);
    ::close(master);
    QCOMPARE(p.exitCode(), 0);
    const QString text = QString::fromUtf8(screen);
    QVERIFY2(text.contains(QStringLiteral("\x1b[K")), qPrintable(text));
    const QRegularExpression status(
            "\rОбновление ПО: atc65.jar \\[[#.]{20}\\] \\d+% \\d+ из 61773 байт, [^,]+/с, осталось "
            "[0-9:?]+\x1b\\[K");
    QVERIFY2(text.count(status) >= 2, qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("61773 из 61773 байт")));
    // Steps redraw the same line too.
    QVERIFY2(text.contains(QStringLiteral("\rОбновление ПО: остановка приложения\x1b[K")),
             qPrintable(text));
    // No line per tenth on a terminal.
    QVERIFY(!text.contains(QStringLiteral("байт (")));
}

void TstCliFleet::manyPorts_data()
{
    QTest::addColumn<QString>("verb");
    QTest::newRow("read") << "read";
    QTest::newRow("apply") << "apply";
    QTest::newRow("flash") << "flash";
    QTest::newRow("info --json") << "info";
}

// Three modems at once, the middle one silent: the others finish as alone,
// every line carries its port, the summary names each, the status is 1.
void TstCliFleet::manyPorts()
{
    QFETCH(QString, verb);
    QTemporaryDir dir;
    SimState good = stateWithProfiles();
    good.guardMs = 200;
    SimState silent = good;
    silent.silent = true;
    Sim a(good), b(silent), c(good);
    QVERIFY(a.start() && b.start() && c.start());
    const QStringList ports { a.modem.portName(), b.modem.portName(), c.modem.portName() };
    QStringList args;
    for (const QString &p : ports)
        args << "--port" << p;
    args << verb;
    if (verb == "apply")
        args << writeOtherSet(dir.filePath("set.kzini"));
    else if (verb == "flash")
        args << firmwareFile(dir.filePath("fw.kzbin"), 20000);
    else if (verb == "info")
        args << "--json";
    const Run r = cli(args, 300000);
    QCOMPARE(r.code, 1);

    // The summary: one line per port, in order, at the end.
    const QStringList err = r.err.split('\n', Qt::SkipEmptyParts);
    QVERIFY(err.size() >= 3);
    const QStringList summary = err.mid(err.size() - 3);
    for (int i = 0; i < 3; ++i) {
        const QStringList f = summary.at(i).split('\t');
        QCOMPARE(f.size(), 3);
        QCOMPARE(f.at(0), ports.at(i));
        QCOMPARE(f.at(1) == "ok", i != 1);
        QVERIFY2(f.at(2).endsWith(" с"), qPrintable(summary.at(i)));
    }
    // Every other line of either stream starts with its port and a tab.
    for (const QString &line : err.mid(0, err.size() - 3))
        QVERIFY2(ports.contains(line.section('\t', 0, 0)), qPrintable(line));

    if (verb == "info") {
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(o.keys().size(), 3);
        QCOMPARE(o.value(ports.at(0)).toObject().value("serial").toString(),
                 QStringLiteral("520000123"));
        QVERIFY(o.value(ports.at(1)).toObject().contains("error"));
        return;
    }
    const QStringList out = r.out.split('\n', Qt::SkipEmptyParts);
    for (const QString &line : out)
        QVERIFY2(ports.contains(line.section('\t', 0, 0)), qPrintable(line));
    if (verb == "read") {
        for (int i : { 0, 2 }) {
            QStringList own;
            for (const QString &line : out)
                if (line.section('\t', 0, 0) == ports.at(i))
                    own << line.section('\t', 1);
            const QJsonObject o = QJsonDocument::fromJson(own.join('\n').toUtf8()).object();
            QCOMPARE(o.value("gprs").toArray().size(), 2);
        }
    } else if (verb == "apply") {
        QCOMPARE(a.modem.state().dyndns.value(0), QStringLiteral("login2"));
        QCOMPARE(c.modem.state().dyndns.value(0), QStringLiteral("login2"));
    } else {
        QCOMPARE(a.modem.state().drive.value("atc65.jar").size(), 20000);
        QCOMPARE(c.modem.state().drive.value("atc65.jar").size(), 20000);
    }
}

void TstCliFleet::manyPortsPlaceholders()
{
    QTemporaryDir dir;
    SimState second = stateWithProfiles();
    second.serial = "520000999";
    Sim a(stateWithProfiles()), b(second);
    QVERIFY(a.start() && b.start());
    const QStringList ports = a.port() + b.port();
    Run r = cli(ports + QStringList { "save", dir.filePath("{serial}.kzini") });
    QCOMPARE(r.code, 0);
    QVERIFY(QFile::exists(dir.filePath("520000123.kzini")));
    QVERIFY(QFile::exists(dir.filePath("520000999.kzini")));

    r = cli(ports + QStringList { "report", dir.filePath("r-{port}.kzrep") }, 300000);
    QCOMPARE(r.code, 0);
    for (const Sim *s : { &a, &b })
        QVERIFY(QFile::exists(
                dir.filePath("r-" + QFileInfo(s->modem.portName()).fileName() + ".kzrep")));

    // diff: 0 when equal everywhere, 3 when one differs.
    r = cli(ports + QStringList { "diff", dir.filePath("520000123.kzini") });
    QCOMPARE(r.code, 0);
    const QString other = writeOtherSet(dir.filePath("other.kzini"));
    r = cli(ports + QStringList { "diff", other });
    QCOMPARE(r.code, 3);
}

void TstCliFleet::manyPortsUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("save without placeholder")
            << QStringList { "--port", "a", "--port", "b", "save", "set.kzini" };
    QTest::newRow("report without placeholder")
            << QStringList { "--port", "a", "--port", "b", "report", "r.kzrep" };
    QTest::newRow("same port twice") << QStringList { "--port", "a", "--port", "a", "info" };
    QTest::newRow("bt-scan") << QStringList { "--port", "a", "--port", "b", "bt-scan" };
}

void TstCliFleet::manyPortsUsage()
{
    QFETCH(QStringList, args);
    const Run r = cli(args);
    QCOMPARE(r.code, 2);
    QVERIFY(r.out.isEmpty());
}

QTEST_GUILESS_MAIN(TstCliFleet)
#include "tst_clifleet.moc"
