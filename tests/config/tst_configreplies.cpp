#include "config/configreplies.h"

#include <QTest>

using namespace ConfigReplies;


class TestConfigReplies : public QObject
{
    Q_OBJECT

private slots:
    void serial_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("match");  // of the reader that fits the prefix
        QTest::addColumn<int>("value");  // baud code, flow value or framing index
        QTest::newRow("ipr 115200") << "+IPR: 115200" << int(Match::Ok) << 19;
        QTest::newRow("ipr 9600") << "+IPR: 9600" << int(Match::Ok) << 12;
        QTest::newRow("ipr 0 not in table") << "+IPR: 0" << int(Match::Ok) << -1;
        QTest::newRow("ipr 56000 not in table") << "+IPR: 56000" << int(Match::Ok) << -1;
        QTest::newRow("ipr not a number") << "+IPR: fast" << int(Match::Ok) << -1;
        QTest::newRow("ipr lower case prefix") << "+ipr: 9600" << int(Match::Other) << 0;
        QTest::newRow("ipr error") << "ERROR" << int(Match::Other) << 0;
        QTest::newRow("ipr no space") << "+IPR:9600" << int(Match::Other) << 0;
        QTest::newRow("ifc 0,0") << "+IFC: 0,0" << int(Match::Ok) << 0;
        QTest::newRow("ifc 1,1") << "+IFC: 1,1" << int(Match::Ok) << 1;
        QTest::newRow("ifc 2,2") << "+IFC: 2,2" << int(Match::Ok) << 2;
        QTest::newRow("ifc 2,0") << "+IFC: 2,0" << int(Match::Bad) << 0;
        QTest::newRow("ifc trailing space") << "+IFC: 0,0 " << int(Match::Bad) << 0;
        QTest::newRow("ifc empty") << "+IFC: " << int(Match::Bad) << 0;
        QTest::newRow("icf 3") << "+ICF: 3" << int(Match::Ok) << 0;
        QTest::newRow("icf 2,0") << "+ICF: 2,0" << int(Match::Ok) << 1;
        QTest::newRow("icf 5,1") << "+ICF: 5,1" << int(Match::Ok) << 4;
        QTest::newRow("icf 3,3 no row") << "+ICF: 3,3" << int(Match::Ok) << -1;
        QTest::newRow("icf 2,2 no row") << "+ICF: 2,2" << int(Match::Ok) << -1;
        QTest::newRow("icf timeout text") << "" << int(Match::Other) << 0;
    }
    void serial()
    {
        QFETCH(QString, line);
        QFETCH(int, match);
        QFETCH(int, value);
        int got = 0;
        Match m = Match::Other;
        if (line.startsWith("+IPR") || line.startsWith("+ipr") || line == "ERROR")
            m = parseIpr(line, &got);
        else if (line.startsWith("+IFC"))
            m = parseIfc(line, &got);
        else
            m = parseIcf(line, &got);
        QCOMPARE(int(m), match);
        if (m == Match::Ok)
            QCOMPARE(got, value);
    }

    void gprs_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("match");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("four") << "+ADDGPRS: mts,internet.mts.ru,mts,mts" << int(Match::Ok)
                              << QStringList { "mts", "internet.mts.ru", "mts", "mts" };
        QTest::newRow("empty kept") << "+ADDGPRS: beeline,internet,," << int(Match::Ok)
                                    << QStringList { "beeline", "internet", "", "" };
        QTest::newRow("all empty") << "+ADDGPRS: ,,," << int(Match::Ok)
                                   << QStringList { "", "", "", "" };
        QTest::newRow("quotes kept") << "+ADDGPRS: \"a\",b,c,d" << int(Match::Ok)
                                     << QStringList { "\"a\"", "b", "c", "d" };
        QTest::newRow("comma in password") << "+ADDGPRS: a,b,c,pa,ss" << int(Match::Bad)
                                           << QStringList();
        QTest::newRow("three") << "+ADDGPRS: a,b,c" << int(Match::Bad) << QStringList();
        QTest::newRow("nothing after prefix") << "+ADDGPRS: " << int(Match::Bad) << QStringList();
        QTest::newRow("ok") << "OK" << int(Match::Other) << QStringList();
        QTest::newRow("ntrip line") << "+ADDNTRIP: a,b,c,d" << int(Match::Other) << QStringList();
    }
    void gprs()
    {
        QFETCH(QString, line);
        QFETCH(int, match);
        QFETCH(QStringList, fields);
        GprsProfile p;
        QCOMPARE(int(parseGprs(line, &p)), match);
        if (match == int(Match::Ok))
            QCOMPARE((QStringList { p.name, p.apn, p.username, p.password }), fields);
    }

    void ntrip_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("match");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("eight")
                << "+ADDNTRIP: rtk,192.168.1.5,2101,MSK0,user,pw,srv,STR;MSK0"
                << int(Match::Ok)
                << QStringList { "rtk", "192.168.1.5", "2101", "MSK0", "user", "pw", "srv", "STR;MSK0" };
        QTest::newRow("nine: sourcetable takes the comma")
                << "+ADDNTRIP: n,a,1,m,l,p,s,STR;x,RTCM 3" << int(Match::Ok)
                << QStringList { "n", "a", "1", "m", "l", "p", "s", "STR;x,RTCM 3" };
        QTest::newRow("many commas, empties kept")
                << "+ADDNTRIP: n,,,,,,,a,,b," << int(Match::Ok)
                << QStringList { "n", "", "", "", "", "", "", "a,,b," };
        QTest::newRow("seven") << "+ADDNTRIP: n,a,1,m,l,p,s" << int(Match::Bad) << QStringList();
        QTest::newRow("three") << "+ADDNTRIP: n,a,1" << int(Match::Bad) << QStringList();
        QTest::newRow("gprs line") << "+ADDGPRS: a,b,c,d" << int(Match::Other) << QStringList();
    }
    void ntrip()
    {
        QFETCH(QString, line);
        QFETCH(int, match);
        QFETCH(QStringList, fields);
        NtripProfile p;
        QCOMPARE(int(parseNtrip(line, &p)), match);
        if (match == int(Match::Ok))
            QCOMPARE((QStringList { p.name, p.address, p.port, p.mountpoint, p.clientLogin,
                                    p.clientPassword, p.serverPassword, p.sourcetable }),
                     fields);
    }

    void dyndns_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("match");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("three") << "+DYNDNS: user,secret,base.dyndns.org" << int(Match::Ok)
                               << QStringList { "user", "secret", "base.dyndns.org" };
        QTest::newRow("empties") << "+DYNDNS: ,," << int(Match::Ok) << QStringList { "", "", "" };
        QTest::newRow("two") << "+DYNDNS: user,secret" << int(Match::Bad) << QStringList();
        QTest::newRow("four") << "+DYNDNS: a,b,c,d" << int(Match::Bad) << QStringList();
        QTest::newRow("ok") << "OK" << int(Match::Other) << QStringList();
    }
    void dyndns()
    {
        QFETCH(QString, line);
        QFETCH(int, match);
        QFETCH(QStringList, fields);
        QString l, p, d;
        QCOMPARE(int(parseDyndns(line, &l, &p, &d)), match);
        if (match == int(Match::Ok))
            QCOMPARE((QStringList { l, p, d }), fields);
    }

    void autoexec_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("query");
        QTest::addColumn<int>("reply");
        QTest::addColumn<QString>("command");
        const int single = int(AutoexecQuery::Single), bt = int(AutoexecQuery::Bt),
                  com = int(AutoexecQuery::Com);
        const int cmd = int(AutoexecReply::Command), none = int(AutoexecReply::None),
                  other = int(AutoexecReply::Other);
        QTest::newRow("single") << "^JAUTO: ATD*93*mts#5000" << single << cmd << "ATD*93*mts#5000";
        QTest::newRow("bt") << "^JAUTO,B: ATRD*91*p#1.2.3.4,80" << bt << cmd << "ATRD*91*p#1.2.3.4,80";
        QTest::newRow("com") << "^JAUTO,C: ATS0=1" << com << cmd << "ATS0=1";
        QTest::newRow("com empty command") << "^JAUTO,C: " << com << cmd << "";
        QTest::newRow("error") << "ERROR" << bt << none << "";
        QTest::newRow("error with text") << "ERROR: none" << com << none << "";
        QTest::newRow("extended error") << "+CME ERROR: 100" << bt << other << "";
        QTest::newRow("bt prefix to com query") << "^JAUTO,B: ATS0=1" << com << other << "";
        QTest::newRow("single prefix to bt query") << "^JAUTO: ATS0=1" << bt << other << "";
        QTest::newRow("timeout") << "" << single << other << "";
    }
    void autoexec()
    {
        QFETCH(QString, line);
        QFETCH(int, query);
        QFETCH(int, reply);
        QFETCH(QString, command);
        QString got;
        QCOMPARE(int(parseAutoexec(line, AutoexecQuery(query), &got)), reply);
        QCOMPARE(got, command);
    }

    void btMode_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("match");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QString>("pin");
        QTest::newRow("mode 1 alone") << "+BTMODE: 1" << int(Match::Ok) << 1 << "" << "";
        QTest::newRow("mode 0 with extras dropped")
                << "+BTMODE: 0,0012F3A4B5C6,1234" << int(Match::Ok) << 0 << "" << "";
        QTest::newRow("mode 2") << "+BTMODE: 2,0012F3A4B5C6,1234" << int(Match::Ok) << 2
                                << "0012F3A4B5C6" << "1234";
        QTest::newRow("mode 2 address only") << "+BTMODE: 2,0012F3A4B5C6" << int(Match::Ok) << 2
                                             << "0012F3A4B5C6" << "";
        QTest::newRow("mode 2 alone") << "+BTMODE: 2" << int(Match::Ok) << 2 << "" << "";
        QTest::newRow("not a number") << "+BTMODE: x,1,2" << int(Match::Ok) << 0 << "" << "";
        QTest::newRow("empty") << "+BTMODE: " << int(Match::Ok) << 0 << "" << "";
        QTest::newRow("error") << "ERROR" << int(Match::Other) << 0 << "" << "";
    }
    void btMode()
    {
        QFETCH(QString, line);
        QFETCH(int, match);
        QFETCH(int, mode);
        QFETCH(QString, mac);
        QFETCH(QString, pin);
        int m = -7;
        QString a = "old", p = "old";
        QCOMPARE(int(parseBtMode(line, &m, &a, &p)), match);
        if (match == int(Match::Ok)) {
            QCOMPARE(m, mode);
            QCOMPARE(a, mac);
            QCOMPARE(p, pin);
        }
    }
};

QTEST_GUILESS_MAIN(TestConfigReplies)
#include "tst_configreplies.moc"
