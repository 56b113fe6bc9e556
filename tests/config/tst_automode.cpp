#include "config/automode.h"

#include <QTest>

class TestAutoMode : public QObject
{
    Q_OBJECT

    static AutoMode::Values filled(int mode, bool restart)
    {
        AutoMode::Values v;
        v.mode = mode;
        v.restart = restart;
        v.baseGprs = "P";
        v.roverGprs = "R";
        v.baseTcpPort = "5000";
        v.roverCsdNumber = "+79161234567";
        v.roverTcpAddress = "10.0.0.1";
        v.roverTcpPort = "6000";
        v.baseNtripServer = "S";
        v.baseNtripCaster = "C";
        v.roverNtrip = "N";
        return v;
    }

private slots:
    void build_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("restart");
        QTest::addColumn<QString>("command");
        QTest::newRow("base csd") << int(AutoMode::BaseCsd) << false << "ATS0=1";
        QTest::newRow("base csd ignores restart") << int(AutoMode::BaseCsd) << true << "ATS0=1";
        QTest::newRow("base tcp") << int(AutoMode::BaseTcp) << false << "ATD*93*P#5000";
        QTest::newRow("base ntrip server") << int(AutoMode::BaseNtripServer) << false << "ATD*94*P*S#";
        QTest::newRow("base ntrip caster") << int(AutoMode::BaseNtripCaster) << true << "ATRD*95*P*C#";
        QTest::newRow("rover csd") << int(AutoMode::RoverCsd) << false << "ATD+79161234567";
        QTest::newRow("rover csd restart") << int(AutoMode::RoverCsd) << true << "ATRD+79161234567";
        QTest::newRow("rover tcp restart") << int(AutoMode::RoverTcp) << true << "ATRD*91*R#10.0.0.1,6000";
        QTest::newRow("rover ntrip") << int(AutoMode::RoverNtrip) << false << "ATD*92*R*N#";
        QTest::newRow("no mode") << 0 << false << "";
    }
    void build()
    {
        QFETCH(int, mode);
        QFETCH(bool, restart);
        QFETCH(QString, command);
        QCOMPARE(AutoMode::build(filled(mode, restart)), command);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("recognised");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("reconnectRead");
        QTest::addColumn<bool>("reconnect");
        QTest::addColumn<QString>("gprs");  // "-" when not read
        QTest::addColumn<QString>("ntrip"); // "-" when not read
        QTest::addColumn<QStringList>("fields"); // address, port, base port, number
        const QStringList none { "", "", "", "" };
        QTest::newRow("base csd other value") << "ATS0=3" << true << int(AutoMode::BaseCsd) << false << false << "-" << "-" << none;
        QTest::newRow("base csd lower case") << "ats0=1" << true << int(AutoMode::BaseCsd) << false << false << "-" << "-" << none;
        QTest::newRow("rover tcp digits") << "ATD*91*P#1.2.3.4,80" << true << int(AutoMode::RoverTcp) << true << false << "P" << "-"
                                          << QStringList { "1.2.3.4", "80", "", "" };
        QTest::newRow("rover tcp letters") << "ATRD*TC*P#host,81" << true << int(AutoMode::RoverTcp) << true << true << "P" << "-"
                                           << QStringList { "host", "81", "", "" };
        QTest::newRow("rover tcp no comma") << "ATD*91*P#host" << true << int(AutoMode::RoverTcp) << true << false << "P" << "-" << none;
        QTest::newRow("rover tcp two hashes") << "ATD*91*P#a#b,1" << true << int(AutoMode::RoverTcp) << true << false << "-" << "-" << none;
        QTest::newRow("lower case letter code is a number")
                << "atrd*tc*P#1.2.3.4,80" << true << int(AutoMode::RoverCsd) << true << true << "-" << "-"
                << QStringList { "", "", "", "*tc*P#1.2.3.4,80" };
        QTest::newRow("rover ntrip empty") << "ATD*92*#" << true << int(AutoMode::RoverNtrip) << true << false << "-" << "-" << none;
        QTest::newRow("rover ntrip default gprs") << "ATD*92**S#" << true << int(AutoMode::RoverNtrip) << true << false << "default" << "S" << none;
        QTest::newRow("rover ntrip letters") << "ATD*NC*G*S#" << true << int(AutoMode::RoverNtrip) << true << false << "G" << "S" << none;
        QTest::newRow("ntrip text after hash: G only") << "ATD*94*G#x" << true << int(AutoMode::BaseNtripServer) << true << false << "G" << "-" << none;
        QTest::newRow("base ntrip server letters") << "ATD*NS*G*S#" << true << int(AutoMode::BaseNtripServer) << true << false << "G" << "S" << none;
        QTest::newRow("base ntrip caster") << "ATRD*95*G*C#" << true << int(AutoMode::BaseNtripCaster) << true << true << "G" << "C" << none;
        QTest::newRow("base ntrip caster letters") << "ATD*CS*G*C#" << true << int(AutoMode::BaseNtripCaster) << true << false << "G" << "C" << none;
        QTest::newRow("base tcp empty port") << "ATD*93*P#" << true << int(AutoMode::BaseTcp) << true << false << "P" << "-" << none;
        QTest::newRow("base tcp letters, empty g") << "ATD*TS*#7000" << true << int(AutoMode::BaseTcp) << true << false << "default" << "-"
                                                   << QStringList { "", "", "7000", "" };
        QTest::newRow("rover csd") << "ATD89161234567" << true << int(AutoMode::RoverCsd) << true << false << "-" << "-"
                                   << QStringList { "", "", "", "89161234567" };
        QTest::newRow("bare ATD") << "ATD" << true << int(AutoMode::RoverCsd) << true << false << "-" << "-" << none;
        QTest::newRow("unknown prefix") << "AT+CGATT=1" << false << 0 << false << false << "-" << "-" << none;
        QTest::newRow("empty") << "" << false << 0 << false << false << "-" << "-" << none;
    }
    void parse()
    {
        QFETCH(QString, command);
        QFETCH(bool, recognised);
        QFETCH(int, mode);
        QFETCH(bool, reconnectRead);
        QFETCH(bool, reconnect);
        QFETCH(QString, gprs);
        QFETCH(QString, ntrip);
        QFETCH(QStringList, fields);
        const AutoMode::Parsed p = AutoMode::parse(command);
        QCOMPARE(p.recognised, recognised);
        QCOMPARE(p.mode, mode);
        QCOMPARE(p.reconnectRead, reconnectRead);
        QCOMPARE(p.reconnect, reconnect);
        QCOMPARE(p.gprsRead ? p.gprs : QString("-"), gprs);
        QCOMPARE(p.ntripRead ? p.ntrip : QString("-"), ntrip);
        QCOMPARE((QStringList { p.roverTcpAddress, p.roverTcpPort, p.baseTcpPort, p.roverCsdNumber }), fields);
    }

    // Every command built from the controls reads back into the same controls.
    void roundTrip_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("restart");
        for (int m : AutoMode::modes)
            for (bool r : { false, true })
                QTest::newRow(qPrintable(QString("%1 %2").arg(m).arg(r))) << m << r;
    }
    void roundTrip()
    {
        QFETCH(int, mode);
        QFETCH(bool, restart);
        const AutoMode::Values v = filled(mode, restart);
        const QString command = AutoMode::build(v);
        AutoMode::Values back = filled(AutoMode::BaseTcp, !restart);
        AutoMode::apply(AutoMode::parse(command), &back, { "P", "R" }, { "S", "C", "N" });
        QCOMPARE(back.mode, mode);
        QCOMPARE(AutoMode::build(back), command);
    }

    void applySelectsKnownNamesOnly()
    {
        AutoMode::Values v = filled(AutoMode::RoverCsd, false);
        AutoMode::apply(AutoMode::parse("ATD*94*unknown*S#"), &v, { "P" }, { "S" });
        QCOMPARE(v.mode, int(AutoMode::BaseNtripServer));
        QCOMPARE(v.baseGprs, QString());
        QCOMPARE(v.baseNtripServer, QString("S"));
        QCOMPARE(v.baseNtripCaster, QString("S"));
        QCOMPARE(v.roverNtrip, QString("N")); // other side untouched
        QCOMPARE(AutoMode::build(v), QString("ATD*94**S#"));

        // "ATD*92*#" reads no names: the selectors stay.
        v = filled(AutoMode::BaseCsd, true);
        AutoMode::apply(AutoMode::parse("ATD*92*#"), &v, { "R" }, { "N" });
        QCOMPARE(v.roverGprs, QString("R"));
        QCOMPARE(v.roverNtrip, QString("N"));
        QVERIFY(!v.restart);

        // ATS0= leaves the reconnect switch alone; an unknown command changes nothing.
        v = filled(AutoMode::RoverTcp, true);
        AutoMode::apply(AutoMode::parse("ATS0=0"), &v, {}, {});
        QCOMPARE(v.mode, int(AutoMode::BaseCsd));
        QVERIFY(v.restart);
        QCOMPARE(AutoMode::build(v), QString("ATS0=1"));
        const AutoMode::Values before = filled(AutoMode::RoverTcp, true);
        v = before;
        AutoMode::apply(AutoMode::parse("AT+FOO"), &v, {}, {});
        QCOMPARE(AutoMode::build(v), AutoMode::build(before));
    }

    void enables()
    {
        using A = AutoMode;
        const A::Enables tcp = A::enables(A::BaseTcp);
        QVERIFY(tcp.baseDyndns && tcp.baseGprs && tcp.baseTcpPort && tcp.restart);
        QVERIFY(!tcp.roverGprs && !tcp.baseNtripServer && !tcp.baseNtripCaster);
        const A::Enables server = A::enables(A::BaseNtripServer);
        QVERIFY(!server.baseDyndns && server.baseGprs && server.baseNtripServer && !server.baseNtripCaster);
        const A::Enables caster = A::enables(A::BaseNtripCaster);
        QVERIFY(caster.baseDyndns && caster.baseNtripCaster && !caster.baseNtripServer);
        const A::Enables csd = A::enables(A::BaseCsd);
        QVERIFY(!csd.restart && !csd.baseGprs && !csd.baseDyndns);
        const A::Enables rtcp = A::enables(A::RoverTcp);
        QVERIFY(rtcp.roverGprs && rtcp.roverTcp && !rtcp.roverNtrip && !rtcp.baseGprs && !rtcp.baseDyndns);
        const A::Enables rcsd = A::enables(A::RoverCsd);
        QVERIFY(rcsd.roverCsdNumber && !rcsd.roverGprs && rcsd.restart);
        QVERIFY(A::enables(A::RoverNtrip).roverNtrip);
    }

    void unsaved()
    {
        QVERIFY(!AutoMode::unsaved("ATS0=1", false, true, "", "ATS0=1"));
        QVERIFY(AutoMode::unsaved("ATS0=1", false, true, "", "ATD123"));
        QVERIFY(AutoMode::unsaved("ATS0=1", false, false, "ATS0=1", ""));
        QVERIFY(!AutoMode::unsaved("x", false, false, "", ""));
    }
};

QTEST_GUILESS_MAIN(TestAutoMode)
#include "tst_automode.moc"
