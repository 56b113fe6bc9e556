// The write as a plan: which command lines a write sends, in which order,
// and where the tool's port follows the modem's serial settings.
#include "config/writeplan.h"

#include <QTest>

namespace {

using Outcomes = QList<int>; // WritePlan::Group::Outcome, one a group

KZConfig held()
{
    KZConfig c;
    c.gprsProfiles = { { "A", "apn.a", "u", "p" },
                       { "B", "apn.b", "u", "p" },
                       { "C", "apn.c", "u", "p" } };
    c.ntripProfiles = { { "n1", "host", "2101", "MP", "cl", "cp", "sp", "st" } };
    c.dyndnsLogin = "login";
    c.dyndnsPassword = "secret";
    c.dyndnsDomain = "base.example";
    c.autoexecBt = "ATRD*91*x#1.2.3.4,5000";
    c.btMode = 1;
    return c;
}

} // namespace

class TestWritePlan : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<KZConfig>("current");
        QTest::addColumn<KZConfig>("wanted");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("software");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<Outcomes>("outcomes");

        const KZConfig base = held();
        QTest::newRow("no flags") << base << base << 0 << 390 << QStringList() << Outcomes();

        KZConfig serial = base;
        serial.baudrate = 12;
        serial.framing = 2;
        QTest::newRow("serial settings")
                << base << serial << int(KZConfig::ConfigCom) << 390
                << QStringList { "AT+IPR=9600", "AT+ICF=2,1", "AT+IFC=0,0" }
                << Outcomes { 0, 0, 0 };

        KZConfig noRow = base;
        noRow.baudrate = 16;
        noRow.flow = 1;
        QTest::newRow("baud and flow without a row skipped")
                << base << noRow << int(KZConfig::ConfigCom) << 390 << QStringList { "AT+ICF=3" }
                << Outcomes { WritePlan::Group::Skip, 0, WritePlan::Group::Skip };

        KZConfig badFraming = base;
        badFraming.framing = 7;
        QTest::newRow("framing outside the table refused")
                << base << badFraming << int(KZConfig::ConfigFraming) << 390 << QStringList()
                << Outcomes { WritePlan::Group::Refused };

        // A unchanged, B changed, C gone, D new: the changed one first, then the
        // deletion, then the addition.
        KZConfig profiles = base;
        profiles.gprsProfiles = { { "B", "apn.b", "u", "p2" },
                                  { "D", "apn.d", "", "" },
                                  { "A", "apn.a", "u", "p" } };
        QTest::newRow("profiles by name")
                << base << profiles << int(KZConfig::ConfigGprs) << 390
                << QStringList { "AT+ADDGPRS=B,apn.b,u,p2", "AT+DELGPRS=C", "AT+ADDGPRS=D,apn.d,," }
                << Outcomes { 0 };

        KZConfig renamed = base;
        renamed.ntripProfiles[0].name = "n2";
        QTest::newRow("renamed ntrip profile")
                << base << renamed << int(KZConfig::ConfigNtrip) << 390
                << QStringList { "AT+DELNTRIP=n1", "AT+ADDNTRIP=n2,host,2101,MP,cl,cp,sp,st" }
                << Outcomes { 0 };

        QTest::newRow("equal lists send nothing")
                << base << base << int(KZConfig::ConfigGprs | KZConfig::ConfigNtrip) << 390
                << QStringList() << Outcomes { 0, 0 };

        KZConfig badProfile = profiles;
        badProfile.gprsProfiles[1].apn = "a\r\nAT+X";
        QTest::newRow("a line break refuses the whole group")
                << base << badProfile << int(KZConfig::ConfigGprs) << 390 << QStringList()
                << Outcomes { WritePlan::Group::Refused };

        KZConfig com = base;
        com.autoexecCom = "ATS0=1";
        com.autoexecBt.clear();
        QTest::newRow("com command clears the bluetooth one from 380")
                << base << com << int(KZConfig::ConfigAutoexec) << 380
                << QStringList { "AT^JAUTO,C=ATS0=1", "AT^JAUTO,B=" } << Outcomes { 0 };
        QTest::newRow("before 380 one command only")
                << base << com << int(KZConfig::ConfigAutoexec) << 379
                << QStringList { "AT^JAUTO,C=ATS0=1" } << Outcomes { 0 };

        KZConfig both = com;
        both.autoexecBt = "ATX";
        QTest::newRow("both set: com written, bluetooth kept")
                << base << both << int(KZConfig::ConfigAutoexec) << 390
                << QStringList { "AT^JAUTO,C=ATS0=1" } << Outcomes { 0 };

        KZConfig heldCom = base;
        heldCom.autoexecCom = "ATS0=1";
        const KZConfig defaults;
        QTest::newRow("reset clears the com command")
                << heldCom << defaults << int(KZConfig::ConfigAutoexec) << 390
                << QStringList { "AT^JAUTO,B=", "AT^JAUTO,C=" } << Outcomes { 0 };

        KZConfig bt2 = base;
        bt2.btMode = 2;
        bt2.btMac = "0012AB";
        bt2.btPin = "1234";
        QTest::newRow("bluetooth mode 2")
                << base << bt2 << int(KZConfig::ConfigBluetooth) << 390
                << QStringList { "AT+BTMODE=2,0012AB,1234" } << Outcomes { 0 };
        KZConfig btBad = base;
        btBad.btMode = -1;
        QTest::newRow("bluetooth mode outside 0..2 refused")
                << base << btBad << int(KZConfig::ConfigBluetooth) << 390 << QStringList()
                << Outcomes { WritePlan::Group::Refused };

        QTest::newRow("reset, every group in order")
                << base << defaults << int(KZConfig::ConfigAll) << 390
                << QStringList { "AT+IPR=115200", "AT+ICF=3",     "AT+IFC=0,0",     "AT+DELGPRS=A",
                                 "AT+DELGPRS=B",  "AT+DELGPRS=C", "AT+DELNTRIP=n1", "AT+DYNDNS=,,",
                                 "AT^JAUTO,B=",   "AT+BTMODE=0" }
                << Outcomes { 0, 0, 0, 0, 0, 0, 0, 0 };
    }

    void lines()
    {
        QFETCH(KZConfig, current);
        QFETCH(KZConfig, wanted);
        QFETCH(int, flags);
        QFETCH(int, software);
        QFETCH(QStringList, expected);
        QFETCH(Outcomes, outcomes);

        const QList<WritePlan::Group> groups = WritePlan::plan(current, wanted, flags, software);
        QCOMPARE(WritePlan::lines(groups), expected);
        Outcomes got;
        int seen = 0;
        for (const WritePlan::Group &g : groups) {
            got << int(g.outcome);
            QVERIFY2(g.flag > seen, "groups in flag order");
            seen = g.flag;
            if (g.outcome != WritePlan::Group::Write)
                QVERIFY(g.commands.isEmpty());
        }
        QCOMPARE(got, outcomes);
    }

    // Serial settings carry the link's new settings; the rest change nothing.
    void serialReopen()
    {
        KZConfig wanted;
        wanted.baudrate = 12; // 9600
        wanted.framing = 2; // 8E1
        const QList<WritePlan::Group> groups = WritePlan::plan(
                KZConfig(), wanted, KZConfig::ConfigCom | KZConfig::ConfigDyndns, 390);
        QCOMPARE(groups.size(), 4);
        const WritePlan::Command baud = groups.at(0).commands.value(0);
        QCOMPARE(baud.kind, WritePlan::Command::SerialSetting);
        QCOMPARE(baud.link.baudCode, 12);
        QCOMPARE(baud.link.dataBits, -1);
        const WritePlan::Command framing = groups.at(1).commands.value(0);
        QCOMPARE(framing.link.dataBits, int(KZTables::Data8));
        QCOMPARE(framing.link.parity, int(KZTables::ParEven));
        QCOMPARE(framing.link.stopBits, int(KZTables::Stop1));
        QCOMPARE(framing.link.baudCode, -1);
        QCOMPARE(groups.at(2).commands.value(0).link.flow, 0);
        const WritePlan::Command dyndns = groups.at(3).commands.value(0);
        QCOMPARE(dyndns.kind, WritePlan::Command::Acknowledged);
        QCOMPARE(dyndns.timeoutMs, 5000);
        QVERIFY(groups.at(3).commands.size() == 1);
        QVERIFY(!groups.at(3).continueAfterFailure);
    }
};

QTEST_GUILESS_MAIN(TestWritePlan)
#include "tst_writeplan.moc"
