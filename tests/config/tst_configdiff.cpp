// What a modem differs in from a set: the lines, their order, and that secret
// values never appear.
#include "config/configdiff.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

namespace {

KZConfig held()
{
    KZConfig c;
    c.baudrate = 12; // 9600
    c.framing = 2; // 8E1
    c.gprsProfiles = { { "A", "apn.a", "u", "p" },
                       { "B", "apn.b", "u", "p" },
                       { "C", "apn.c", "u", "p" } };
    c.ntripProfiles = { { "n1", "host", "2101", "MP", "cl", "cp", "sp", "st" } };
    c.dyndnsLogin = "login";
    c.dyndnsPassword = "secret";
    c.dyndnsDomain = "base.example";
    c.autoexecCom = "ATS0=1";
    c.btMode = 1;
    return c;
}

} // namespace

class TestConfigDiff : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<KZConfig>("current");
        QTest::addColumn<KZConfig>("wanted");
        QTest::addColumn<int>("software");
        QTest::addColumn<bool>("viaCom");
        QTest::addColumn<QStringList>("expected");

        const KZConfig base = held();
        QTest::newRow("equal") << base << base << 390 << true << QStringList();

        KZConfig all = base;
        all.baudrate = 19;
        all.framing = 0;
        all.gprsProfiles = { { "B", "apn.b2", "u2", "p2" },
                             { "D", "", "", "" },
                             { "A", "apn.a", "u", "p" } };
        all.ntripProfiles = { { "n1", "host", "2102", "MP", "cl", "cp2", "sp", "st" } };
        all.dyndnsLogin = "other";
        all.dyndnsPassword = "hidden";
        all.autoexecCom.clear();
        all.autoexecBt = "ATRD*91*x#1.2.3.4,5000";
        all.btMode = 2;
        all.btMac = "0012AB";
        all.btPin = "4321";
        QTest::newRow("every group") << base << all << 390 << true
                                     << QStringList { "baud: 9600 -> 115200",
                                                      "framing: 8E1 -> 8N1",
                                                      "gprs: ~ B apn username password",
                                                      "gprs: - C",
                                                      "gprs: + D",
                                                      "ntrip: ~ n1 port clientPassword",
                                                      "dyndns: login login -> other",
                                                      "dyndns: password",
                                                      "autoexec com: ATS0=1 -> \"\"",
                                                      "autoexec bt: \"\" -> ATRD*91*x#1.2.3.4,5000",
                                                      "bluetooth: mode 1 -> 2",
                                                      "bluetooth: mac \"\" -> 0012AB",
                                                      "bluetooth: pin" };

        // Address and PIN are written in mode 2 only.
        KZConfig mode0 = base;
        mode0.btMode = 0;
        mode0.btPin = "1111";
        QTest::newRow("pin outside mode 2 ignored")
                << base << mode0 << 390 << true << QStringList { "bluetooth: mode 1 -> 0" };

        // Values without a table row are not written.
        KZConfig noRow = base;
        noRow.baudrate = 16;
        noRow.flow = 1;
        QTest::newRow("no table row") << base << noRow << 390 << true << QStringList();
        KZConfig flowHeld = base;
        flowHeld.flow = 1;
        QTest::newRow("flow without a row as read")
                << flowHeld << base << 390 << true << QStringList { "flow: 1 -> OFF" };

        // Both set: COM written, the Bluetooth command stays as the modem holds it.
        KZConfig both = base;
        both.autoexecCom = "ATS0=2";
        both.autoexecBt = "ATX";
        QTest::newRow("both commands: bluetooth kept")
                << base << both << 390 << true << QStringList { "autoexec com: ATS0=1 -> ATS0=2" };

        // Before 380 the single command is read back into the tool's channel.
        KZConfig btOnly = base;
        btOnly.autoexecCom.clear();
        btOnly.autoexecBt = "ATY";
        QTest::newRow("single command over com")
                << base << btOnly << 379 << true << QStringList { "autoexec com: ATS0=1 -> ATY" };
        KZConfig viaBt = base;
        viaBt.autoexecCom.clear();
        viaBt.autoexecBt = "ATS0=1";
        QTest::newRow("single command over bluetooth, same command")
                << viaBt << base << 379 << false << QStringList();

        // Duplicate names in the set: the write adds both.
        KZConfig dup = base;
        dup.gprsProfiles << GprsProfile { "E", "1", "", "" } << GprsProfile { "E", "2", "", "" };
        QTest::newRow("duplicate new names")
                << base << dup << 390 << true << QStringList { "gprs: + E", "gprs: + E" };
    }

    void lines()
    {
        QFETCH(KZConfig, current);
        QFETCH(KZConfig, wanted);
        QFETCH(int, software);
        QFETCH(bool, viaCom);
        QFETCH(QStringList, expected);

        const QList<ConfigDiff::Entry> entries
                = ConfigDiff::compare(current, wanted, software, viaCom);
        QStringList got;
        for (const ConfigDiff::Entry &e : entries)
            got << ConfigDiff::text(e);
        QCOMPARE(got, expected);

        // No secret reaches either form.
        const QString json = QString::fromUtf8(QJsonDocument(ConfigDiff::json(entries)).toJson());
        for (const QString &secret :
             { wanted.dyndnsPassword, wanted.btPin, current.btPin, current.dyndnsPassword,
               QStringLiteral("p2"), QStringLiteral("cp2") }) {
            if (secret.isEmpty())
                continue;
            QVERIFY2(
                    !json.contains(QLatin1Char('"') + secret + QLatin1Char('"')), qPrintable(json));
            for (const QString &line : got)
                QVERIFY2(!line.split(QLatin1Char(' ')).contains(secret), qPrintable(line));
        }
    }

    void jsonShape()
    {
        KZConfig wanted = held();
        wanted.baudrate = 19;
        wanted.gprsProfiles.removeLast();
        wanted.gprsProfiles[0].apn = "x";
        wanted.dyndnsPassword = "new";
        wanted.autoexecCom = "ATS0=3";
        const QJsonObject o = ConfigDiff::json(ConfigDiff::compare(held(), wanted, 390, true));
        QCOMPARE(o.value("baud").toObject().value("from").toString(), QStringLiteral("9600"));
        QCOMPARE(o.value("baud").toObject().value("to").toString(), QStringLiteral("115200"));
        const QJsonArray gprs = o.value("gprs").toArray();
        QCOMPARE(gprs.size(), 2);
        QCOMPARE(gprs.at(0).toObject().value("change").toString(), QStringLiteral("~"));
        QCOMPARE(gprs.at(0).toObject().value("fields").toArray(), QJsonArray { "apn" });
        QCOMPARE(gprs.at(1).toObject().value("change").toString(), QStringLiteral("-"));
        QCOMPARE(o.value("dyndns").toObject().value("password").toObject(),
                 (QJsonObject { { "changed", true } }));
        QCOMPARE(o.value("autoexec").toObject().value("com").toObject().value("to").toString(),
                 QStringLiteral("ATS0=3"));
        QCOMPARE(o.keys(), (QStringList { "autoexec", "baud", "dyndns", "gprs" }));
    }
};

QTEST_GUILESS_MAIN(TestConfigDiff)
#include "tst_configdiff.moc"
