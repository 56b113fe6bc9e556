#include "config/kzconfig.h"

#include <QMetaType>
#include <QTest>

using namespace KZTables;

class TestRecord : public QObject
{
    Q_OBJECT

private slots:
    void defaults()
    {
        const KZConfig c;
        QCOMPARE(c.baudrate, 19);
        QCOMPARE(c.framing, 0);
        QCOMPARE(c.flow, 0);
        QCOMPARE(c.btMode, 0);
        QVERIFY(c.autoexecBt.isEmpty() && c.autoexecCom.isEmpty() && c.btMac.isEmpty());
        QVERIFY(c.gprsProfiles.isEmpty() && c.ntripProfiles.isEmpty());
        QVERIFY(c.dyndnsLogin.isEmpty() && c.dyndnsPassword.isEmpty() && c.dyndnsDomain.isEmpty());
    }

    void copiesShareNothing()
    {
        KZConfig a;
        a.gprsProfiles << GprsProfile { "A", "apn", "u", "p" };
        a.ntripProfiles << NtripProfile { "N", "host", "2101", "MP", "c", "cp", "sp", "st" };
        KZConfig b = a;
        b.gprsProfiles[0].password = "changed";
        b.ntripProfiles[0].sourcetable = "x";
        b.dyndnsLogin = "who";
        QCOMPARE(a.gprsProfiles[0].password, QString("p"));
        QCOMPARE(a.ntripProfiles[0].sourcetable, QString("st"));
        QVERIFY(a.dyndnsLogin.isEmpty());
        KZConfig c;
        c = a;
        c.gprsProfiles.clear();
        QCOMPARE(a.gprsProfiles.size(), 1);
        QVERIFY(a != c);
    }

    void metaTypeTravelsByValue()
    {
        KZConfig::registerMetaType();
        QCOMPARE(QMetaType::fromName("KZConfig").id(), qMetaTypeId<KZConfig>());
        KZConfig a;
        a.btPin = "1234";
        const QVariant v = QVariant::fromValue(a);
        a.btPin = "0000";
        QCOMPARE(v.value<KZConfig>().btPin, QString("1234"));
    }

    void baudLookup_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("code");
        QTest::newRow("300") << 300 << 6;
        QTest::newRow("2400") << 2400 << 10;
        QTest::newRow("9600") << 9600 << 12;
        QTest::newRow("57600") << 57600 << 17;
        QTest::newRow("115200") << 115200 << 19;
        QTest::newRow("56000 not in table") << 56000 << -1;
        QTest::newRow("0") << 0 << -1;
        QTest::newRow("terminator") << -1 << -1;
    }
    void baudLookup()
    {
        QFETCH(int, baud);
        QFETCH(int, code);
        QCOMPARE(codeForBaud(baud), code);
        if (code >= 0)
            QCOMPARE(baudForCode(code), baud);
    }

    void tableShapes()
    {
        QCOMPARE(baudCount(), 11);
        QCOMPARE(framingCount(), 5);
        QCOMPARE(flowCount(), 1);
        QCOMPARE(baudIndexForCode(9), -1); // 1800 is no row of ours
        QCOMPARE(baudIndexForCode(16), -1);
        QCOMPARE(baudIndexForCode(12), 5);
        QCOMPARE(baudIndexForCode(19), 10);
    }

    void framingLookup_data()
    {
        QTest::addColumn<QString>("icf");
        QTest::addColumn<int>("index");
        QTest::newRow("3") << "3" << 0;
        QTest::newRow("2,0") << "2,0" << 1;
        QTest::newRow("2,1") << "2,1" << 2;
        QTest::newRow("5,0") << "5,0" << 3;
        QTest::newRow("5,1") << "5,1" << 4;
        QTest::newRow("2,2") << "2,2" << -1;
        QTest::newRow("3,3") << "3,3" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void framingLookup()
    {
        QFETCH(QString, icf);
        QFETCH(int, index);
        QCOMPARE(framingIndexForIcf(icf), index);
    }

    void framingRows()
    {
        QCOMPARE(QString(framingTable[2].name), QString("8E1"));
        QCOMPARE(framingTable[2].dataBits, int(Data8));
        QCOMPARE(framingTable[2].parity, int(ParEven));
        QCOMPARE(framingTable[3].dataBits, int(Data7));
        QCOMPARE(framingTable[3].parity, int(ParOdd));
        QVERIFY(!validFramingIndex(5));
        QVERIFY(!validFramingIndex(-1));
    }

    void flowLookup()
    {
        QCOMPARE(flowIndexForValue(0), 0);
        QCOMPARE(flowIndexForValue(1), -1);
        QCOMPARE(flowIndexForValue(2), -1);
        QCOMPARE(QString(flowTable[0].ifc), QString("0,0"));
    }
};

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
