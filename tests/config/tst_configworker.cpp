// The configuration read and write against the simulated modem, through the
// real serial port on a pseudo-terminal.
#include "support/simfixture.h"

#include <QElapsedTimer>

namespace {

using Flags = QPair<int, int>;

SimState richModem()
{
    SimState s;
    s.echo = false;
    s.baud = 115200;
    s.icf = "2,1";
    s.ifc = "0,0";
    s.gprs = { { "mts", "internet.mts.ru", "mts", "mts" }, { "beeline", "internet", "", "" } };
    s.ntrip = { { "rtk", "1.2.3.4", "2101", "MSK0", "user", "pw", "srv", "STR;MSK0,RTCM 3,x" } };
    s.dyndnsSet = true;
    s.dyndns = { "login", "secret", "base.dyndns.org" };
    s.autoexecB = "ATRD*91*mts#10.0.0.1,5000";
    s.autoexecC = "ATS0=1";
    s.btMode = 2;
    s.btMac = "0012F3A4B5C6";
    s.btPin = "1234";
    return s;
}

} // namespace

class TestConfigWorker : public QObject
{
    Q_OBJECT

private slots:
    void fullRead()
    {
        SimWorker w(richModem());
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        w.sim.clearLog();
        QCOMPARE(w.readConfig(KZConfig::ConfigAll), Flags(0xFF, 0));
        QCOMPARE(w.sim.commands(),
                 (QStringList { "AT+IPR?", "AT+IFC?", "AT+ICF?", "AT+ADDGPRS?", "AT+ADDNTRIP?",
                                "AT+DYNDNS?", "AT^JAUTO,B?", "AT^JAUTO,C?", "AT+BTMODE?" }));
        const KZConfig &c = w.worker.config;
        QCOMPARE(c.baudrate, 19);
        QCOMPARE(c.framing, 2);
        QCOMPARE(c.flow, 0);
        QCOMPARE(c.gprsProfiles.size(), 2);
        QCOMPARE(c.gprsProfiles[1], (GprsProfile { "beeline", "internet", "", "" }));
        QCOMPARE(c.ntripProfiles.size(), 1);
        QCOMPARE(c.ntripProfiles[0].sourcetable, QString("STR;MSK0,RTCM 3,x"));
        QCOMPARE(c.dyndnsDomain, QString("base.dyndns.org"));
        QCOMPARE(c.autoexecBt, QString("ATRD*91*mts#10.0.0.1,5000"));
        QCOMPARE(c.autoexecCom, QString("ATS0=1"));
        QCOMPARE(c.btMode, 2);
        QCOMPARE(c.btMac, QString("0012F3A4B5C6"));
        QCOMPARE(c.btPin, QString("1234"));
        QVERIFY(w.progress.contains("Загрузка настроек COM: формат кадра"));
        QVERIFY(!w.worker.busy);

        // Nothing asked, nothing sent.
        w.sim.clearLog();
        QCOMPARE(w.readConfig(0), Flags(0, 0));
        QCOMPARE(w.writeConfig(c, 0), Flags(0, 0));
        QVERIFY(w.sim.commands().isEmpty());
    }

    void readerFailures_data()
    {
        QTest::addColumn<int>("spoil");
        QTest::addColumn<int>("ok");
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("gprsNames");
        QTest::newRow("gprs comma in password: five fields") << 0 << 0xF7 << 0x08 << QStringList { "mts" };
        QTest::newRow("gprs three fields") << 1 << 0xF7 << 0x08 << QStringList { "mts", "beeline" };
        QTest::newRow("ntrip three fields") << 2 << 0xEF << 0x10 << QStringList { "mts", "beeline" };
        QTest::newRow("dyndns two fields") << 3 << 0xDF << 0x20 << QStringList { "mts", "beeline" };
        QTest::newRow("flow 2,0") << 4 << 0xF8 << 0x07 << QStringList { "mts", "beeline" };
        QTest::newRow("extended error to JAUTO,B") << 5 << 0xBF << 0x40 << QStringList { "mts", "beeline" };
        QTest::newRow("silence to DYNDNS") << 6 << 0xDF << 0x20 << QStringList { "mts", "beeline" };
    }
    // A failed group leaves the line in step: the groups after it are read.
    void readerFailures()
    {
        QFETCH(int, spoil);
        QFETCH(int, ok);
        QFETCH(int, error);
        QFETCH(QStringList, gprsNames);
        SimWorker w(richModem());
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        w.sim.modify([&](SimState &s) {
            switch (spoil) {
            case 0: s.gprs.insert(1, { "bad", "apn", "u", "pa,ss" }); break;
            case 1: s.gprs.append({ "x", "y", "z" }); break;
            case 2: s.ntrip.append({ "n", "a", "1" }); break;
            case 3: s.dyndns = { "a", "b" }; break;
            case 4: s.ifc = "2,0"; break;
            }
        });
        w.sim.setCommandHook([spoil](const QString &l, QByteArray *reply) {
            if (spoil == 5 && l == "AT^JAUTO,B?") {
                *reply = "\r\n+CME ERROR: 100\r\n";
                return true;
            }
            return spoil == 6 && l == "AT+DYNDNS?"; // no answer at all
        });
        w.sim.clearLog();
        QCOMPARE(w.readConfig(KZConfig::ConfigAll), Flags(ok, error));
        const KZConfig &c = w.worker.config;
        QStringList names;
        for (const auto &p : c.gprsProfiles)
            names << p.name;
        QCOMPARE(names, gprsNames);
        if (!(error & KZConfig::ConfigNtrip))
            QCOMPARE(c.ntripProfiles.size(), 1);
        if (!(error & KZConfig::ConfigAutoexec))
            QCOMPARE(c.autoexecCom, QString("ATS0=1"));
        if (spoil == 5) {
            QVERIFY(w.sim.commands().contains("AT^JAUTO,B?"));
            QVERIFY(!w.sim.commands().contains("AT^JAUTO,C?"));
        }
        QCOMPARE(c.btMac, QString("0012F3A4B5C6"));
    }

    // After the completion signal each failed group says which command got
    // which reply, or none within how long.
    void groupReasons_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("reply"); // empty: no answer at all
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("reason");
        QTest::newRow("write refused") << true << "AT+DYNDNS=l,p,d.org" << QByteArray("\r\nERROR\r\n")
                                       << int(KZConfig::ConfigDyndns)
                                       << "AT+DYNDNS=l,p,d.org: reply \"ERROR\"";
        QTest::newRow("write unanswered") << true << "AT^JAUTO,C=ATS0=1" << QByteArray()
                                          << int(KZConfig::ConfigAutoexec)
                                          << "AT^JAUTO,C=ATS0=1: no reply within 3000 ms";
        QTest::newRow("read extended error") << false << "AT^JAUTO,B?"
                                             << QByteArray("\r\n+CME ERROR: 100\r\n")
                                             << int(KZConfig::ConfigAutoexec)
                                             << "AT^JAUTO,B?: reply \"+CME ERROR: 100\"";
        QTest::newRow("read unanswered") << false << "AT+DYNDNS?" << QByteArray()
                                         << int(KZConfig::ConfigDyndns)
                                         << "AT+DYNDNS?: no reply within 5000 ms";
    }
    void groupReasons()
    {
        QFETCH(bool, write);
        QFETCH(QString, command);
        QFETCH(QByteArray, reply);
        QFETCH(int, group);
        QFETCH(QString, reason);
        SimWorker w(richModem());
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        w.sim.setCommandHook([command, reply](const QString &l, QByteArray *out) {
            if (l != command)
                return false;
            *out = reply;
            return true;
        });
        const int groups = KZConfig::ConfigDyndns | KZConfig::ConfigAutoexec;
        KZConfig c = w.worker.config;
        c.dyndnsLogin = "l";
        c.dyndnsPassword = "p";
        c.dyndnsDomain = "d.org";
        c.autoexecBt.clear();
        c.autoexecCom = "ATS0=1";
        const Flags result = write ? w.writeConfig(c, groups) : w.readConfig(groups);
        QCOMPARE(result, Flags(groups & ~group, group));
        const QMap<int, ErrorStack> errors = w.worker.groupErrors();
        QCOMPARE(errors.keys(), QList<int> { group });
        QCOMPARE(errors.value(group).format(), reason);
    }

    // OLD A, B, C and NEW B2, D, A: add B2, delete C, add D, in that order.
    void profileDifference()
    {
        SimState s;
        s.gprs = { { "A", "apn", "u", "a" }, { "B", "apn", "u", "b" }, { "C", "apn", "u", "c" } };
        s.ntrip = { { "X", "h", "2101", "M", "l", "p", "s", "STR" } };
        SimWorker w(s);
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        QCOMPARE(w.readConfig(KZConfig::ConfigGprs | KZConfig::ConfigNtrip), Flags(0x18, 0));
        KZConfig c = w.worker.config;
        c.gprsProfiles = { { "B", "apn", "u", "b2" }, { "D", "apn2", "", "" }, { "A", "apn", "u", "a" } };
        c.ntripProfiles[0].name = "Y"; // renamed
        w.sim.clearLog();
        QCOMPARE(w.writeConfig(c, KZConfig::ConfigGprs | KZConfig::ConfigNtrip), Flags(0x18, 0));
        QCOMPARE(w.sim.commands(),
                 (QStringList { "AT+ADDGPRS=B,apn,u,b2", "AT+DELGPRS=C", "AT+ADDGPRS=D,apn2,,",
                                "AT+DELNTRIP=X", "AT+ADDNTRIP=Y,h,2101,M,l,p,s,STR" }));
        // The worker's record is the modem's as last read, until read again.
        QCOMPARE(w.worker.config.gprsProfiles.size(), 3);
        QCOMPARE(w.worker.config.gprsProfiles[2].name, QString("C"));
        QCOMPARE(w.readConfig(KZConfig::ConfigGprs), Flags(0x08, 0));
        QStringList names;
        for (const auto &p : w.worker.config.gprsProfiles)
            names << p.name;
        QCOMPARE(names, (QStringList { "A", "B", "D" }));

        // Identical lists send nothing and succeed.
        w.sim.clearLog();
        QCOMPARE(w.writeConfig(w.worker.config, KZConfig::ConfigGprs), Flags(0x08, 0));
        QVERIFY(w.sim.commands().isEmpty());
    }

    // After the speed is written the tool's port runs at it and is answered.
    void serialSettingsWrite()
    {
        SimWorker w;
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        KZConfig c = w.worker.config;
        c.baudrate = 17; // 57600
        c.framing = 0;
        c.flow = 0;
        w.sim.clearLog();
        QCOMPARE(w.writeConfig(c, KZConfig::ConfigCom), Flags(0x07, 0));
        QCOMPARE(w.sim.commands(), (QStringList { "AT+IPR=57600", "AT+ICF=3", "AT+IFC=0,0" }));
        QCOMPARE(w.sim.state().baud, 57600);
        QCOMPARE(w.worker.baudRate(), 17);
        QVERIFY(w.worker.isOnline());
        QCOMPARE(w.readConfig(KZConfig::ConfigBaudrate), Flags(0x01, 0));
        QCOMPARE(w.worker.config.baudrate, 17);

        // No table row: nothing sent, the bit in neither set; framing 7 fails unsent.
        c.baudrate = 16;
        c.framing = 7;
        c.flow = 1;
        w.sim.clearLog();
        QCOMPARE(w.writeConfig(c, KZConfig::ConfigCom), Flags(0, 0x02));
        QVERIFY(w.sim.commands().isEmpty());
    }

    // A framing write is acknowledged, but the tool's port cannot be opened
    // again (the adapter went away meanwhile): that group fails, and the
    // groups after it fail at once instead of waiting out their deadlines.
    void framingWriteWhosePortCannotReopen()
    {
        SimState s;
        s.gprs = { { "A", "apn", "u", "p" } };
        SimWorker w(s);
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        QCOMPARE(w.readConfig(KZConfig::ConfigGprs), Flags(0x08, 0));
        KZConfig c = w.worker.config;
        c.framing = 2; // 8E1
        c.gprsProfiles.clear();
        // Only the next open uses the name; the open port still works.
        w.worker.setPortSettings("/dev/kz-unplugged", w.worker.baudRate(), w.worker.dataBits(),
                                 w.worker.parity(), w.worker.stopBits(), w.worker.flowControl());
        w.sim.clearLog();
        QElapsedTimer t;
        t.start();
        QCOMPARE(w.writeConfig(c, KZConfig::ConfigFraming | KZConfig::ConfigFlow | KZConfig::ConfigGprs),
                 Flags(0, 0x0E));
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(w.sim.commands(), QStringList { "AT+ICF=2,1" });
        QCOMPARE(w.sim.state().icf, QString("2,1"));
        QCOMPARE(w.worker.parity(), 2); // the setting the port was asked to follow
        QVERIFY(!w.worker.isPortOpen());
        QVERIFY(!w.worker.busy);
    }

    void otherGroupsWrite()
    {
        SimWorker w;
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        KZConfig c = w.worker.config;
        c.dyndnsLogin = "l";
        c.dyndnsPassword = "p";
        c.dyndnsDomain = "d.org";
        c.autoexecBt = "ATD*92*g*n#";
        c.autoexecCom = "ATRD*91*g#1.2.3.4,80";
        c.btMode = 2;
        c.btMac = "0012F3A4B5C6";
        c.btPin = "0000";
        w.sim.clearLog();
        QCOMPARE(w.writeConfig(c, 0xE0), Flags(0xE0, 0));
        QCOMPARE(w.sim.commands(),
                 (QStringList { "AT+DYNDNS=l,p,d.org", "AT^JAUTO,C=ATRD*91*g#1.2.3.4,80",
                                "AT+BTMODE=2,0012F3A4B5C6,0000" }));
        c.autoexecBt.clear();
        c.autoexecCom.clear();
        c.btMode = 1;
        w.sim.clearLog();
        QCOMPARE(w.writeConfig(c, 0xC0), Flags(0xC0, 0));
        QCOMPARE(w.sim.commands(), (QStringList { "AT^JAUTO,B=", "AT+BTMODE=1" }));
    }

    // A channel switched off is cleared on the modem as well, so that it
    // neither runs at power-on nor comes back with the read-back.
    void autostartChannelSwitchedOffIsCleared_data()
    {
        QTest::addColumn<int>("software");
        QTest::addColumn<QString>("bt");
        QTest::addColumn<QString>("com");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("both off") << 390 << "" << "" << QStringList { "AT^JAUTO,B=", "AT^JAUTO,C=" };
        QTest::newRow("com to bt") << 390 << "ATS0=1" << "" << QStringList { "AT^JAUTO,B=ATS0=1", "AT^JAUTO,C=" };
        QTest::newRow("com kept, bt off") << 390 << "" << "ATS0=1" << QStringList { "AT^JAUTO,C=ATS0=1", "AT^JAUTO,B=" };
        QTest::newRow("one command only before 380") << 370 << "" << "" << QStringList { "AT^JAUTO,B=" };
    }
    void autostartChannelSwitchedOffIsCleared()
    {
        QFETCH(int, software);
        QFETCH(QString, bt);
        QFETCH(QString, com);
        QFETCH(QStringList, sent);
        SimState s;
        s.software = software;
        s.autoexec = "ATD*92*g*n#";
        s.autoexecB = "ATD*92*g*n#";
        s.autoexecC = "ATD*91*g#1.2.3.4,80";
        SimWorker w(s);
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        QCOMPARE(w.readConfig(KZConfig::ConfigAutoexec), Flags(0x40, 0));
        KZConfig c = w.worker.config;
        c.autoexecBt = bt;
        c.autoexecCom = com;
        w.sim.clearLog();
        QCOMPARE(w.writeConfig(c, KZConfig::ConfigAutoexec), Flags(0x40, 0));
        QCOMPARE(w.sim.commands(), sent);
        QCOMPARE(w.readConfig(KZConfig::ConfigAutoexec), Flags(0x40, 0));
        if (software >= 380) {
            QCOMPARE(w.worker.config.autoexecBt, bt);
            QCOMPARE(w.worker.config.autoexecCom, com);
        }
    }

    // Values the line cannot carry never reach it; the other groups are written.
    void unsafeValuesNotSent()
    {
        SimState s;
        s.gprs = { { "A", "apn", "u", "a" } };
        SimWorker w(s);
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        QCOMPARE(w.readConfig(KZConfig::ConfigGprs), Flags(0x08, 0));
        KZConfig c = w.worker.config;
        c.gprsProfiles = { { "evil\r\nAT+DELGPRS=A", "apn", "", "" }, { "B", "apn", "", "pa,ss" } };
        c.ntripProfiles = { { "N", "h", "1", "m", "l", "p", "s", "STR" } };
        c.ntripProfiles[0].clientPassword = QString::fromUtf8("пароль");
        c.dyndnsLogin = "ok";
        w.sim.clearLog();
        QCOMPARE(w.writeConfig(c, KZConfig::ConfigGprs | KZConfig::ConfigNtrip | KZConfig::ConfigDyndns),
                 Flags(0x20, 0x18));
        QCOMPARE(w.sim.commands(), QStringList { "AT+DYNDNS=ok,," });
        QVERIFY(!w.sim.received().contains("evil"));
        QVERIFY(!w.sim.received().contains("pa,ss"));
        QCOMPARE(w.sim.state().gprs.size(), 1);
    }

    // A line lost in the middle fails what remains at once.
    void lostLine()
    {
        SimWorker w(richModem());
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        KZConfig c = w.worker.config;
        c.gprsProfiles = { { "new", "apn", "", "" } };
        c.dyndnsLogin = "x";
        SimModem *sim = &w.sim;
        w.sim.setCommandHook([sim](const QString &l, QByteArray *) {
            if (l.startsWith("AT+ADDGPRS=")) {
                sim->dropLine();
                return true;
            }
            return false;
        });
        QElapsedTimer t;
        t.start();
        // NTRIP is unchanged: with nothing to send it stands.
        QCOMPARE(w.writeConfig(c, 0xF8), Flags(0x10, 0xE8));
        QVERIFY2(t.elapsed() < 2500, qPrintable(QString::number(t.elapsed())));

        t.restart();
        const Flags r = w.readConfig(KZConfig::ConfigAll);
        QVERIFY2(t.elapsed() < 2500, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(r, Flags(0x80, 0x7F)); // Bluetooth counts as read whatever happens
    }

    void bluetoothInquiry()
    {
        SimState s;
        s.btDevices = { "0012F3A4B5C6,Phone,5A020C", "0012F3A4B5C7,GPS" };
        SimWorker w(s);
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        w.worker.btInquiryList = QStringList { "stale" };
        const OpResult r = w.run("bluetoothInquiry");
        QCOMPARE(r.op, KZConfigThread::OpBluetoothInquiry);
        QVERIFY(r.ok);
        QCOMPARE(w.worker.btInquiryList, s.btDevices);

        // "OK" inside a device name ends the search at that line.
        w.sim.modify([](SimState &st) { st.btDevices = { "0012,MyOKPhone", "0013,Other" }; });
        const OpResult r2 = w.run("bluetoothInquiry");
        QVERIFY(r2.ok);
        QVERIFY(w.worker.btInquiryList.isEmpty());
    }
};

QTEST_MAIN(TestConfigWorker)
#include "tst_configworker.moc"
