#include "sim/simmodem.h"
#include "support/rawport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryFile>
#include <QTest>

class TestSim : public QObject
{
    Q_OBJECT

private slots:
    void answersWithEchoAndWithout()
    {
        SimModem sim;
        QVERIFY(sim.start());
        QSerialPort port;
        QVERIFY(openRaw(port, sim.portName()));
        QCOMPARE(exchange(port, "AT\r"), QByteArray("AT\r\r\nOK\r\n"));
        QCOMPARE(exchange(port, "ATE\r\n"), QByteArray("ATE\r\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT^JINFO,0\r\n"), QByteArray("\r\nJI0:KZ520\r\n\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT^JINFO,16\r\n"), QByteArray("\r\nERROR\r\n"));
        QCOMPARE(exchange(port, "\r\nxyzAT\r\n"), QByteArray("\r\nOK\r\n")); // noise before AT
        QCOMPARE(sim.commands().last(), QString("AT"));
    }

    void profilesReplacedByNameAndDeleted()
    {
        SimState s;
        s.echo = false;
        SimModem sim;
        sim.setState(s);
        QVERIFY(sim.start());
        QSerialPort port;
        QVERIFY(openRaw(port, sim.portName()));
        QCOMPARE(exchange(port, "AT+ADDGPRS=A,apn,u,p\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT+ADDGPRS=A,apn2,u,p\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT+ADDGPRS=B,x,y,z\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT+ADDGPRS=C,x,y,z,extra\r\n"), QByteArray("\r\nERROR\r\n"));
        QCOMPARE(exchange(port, "AT+ADDGPRS?\r\n"),
                 QByteArray("\r\n+ADDGPRS: A,apn2,u,p\r\n\r\n+ADDGPRS: B,x,y,z\r\n\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT+DELGPRS=A\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(sim.state().gprs.size(), 1);
        QCOMPARE(exchange(port, "AT+ADDNTRIP=N,h,2101,MP,c,cp,sp,a,b;c\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(sim.state().ntrip.first().last(), QString("a,b;c"));
        QCOMPARE(exchange(port, "AT+DYNDNS?\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT+DYNDNS=l,p,d\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT+DYNDNS?\r\n"), QByteArray("\r\n+DYNDNS: l,p,d\r\n\r\nOK\r\n"));
    }

    void autostartDialogueBySoftware()
    {
        SimState s;
        s.echo = false;
        s.software = 390;
        SimModem sim;
        sim.setState(s);
        QVERIFY(sim.start());
        QSerialPort port;
        QVERIFY(openRaw(port, sim.portName()));
        QCOMPARE(exchange(port, "AT^JAUTO,B?\r\n"), QByteArray("\r\nERROR\r\n"));
        QCOMPARE(exchange(port, "AT^JAUTO,C=ATD*92*P*S#\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT^JAUTO,C?\r\n"), QByteArray("\r\n^JAUTO,C: ATD*92*P*S#\r\n\r\nOK\r\n"));
        sim.modify([](SimState &st) { st.software = 370; });
        QCOMPARE(exchange(port, "AT^JAUTO,B?\r\n"), QByteArray("\r\n+CME ERROR: 4\r\n"));
        QCOMPARE(exchange(port, "AT^JAUTO,C=ATS0=1\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT^JAUTO?\r\n"), QByteArray("\r\n^JAUTO: ATS0=1\r\n\r\nOK\r\n"));
    }

    // After AT+IPR the modem listens at the new speed only.
    void changedSpeedNeedsThePortToFollow()
    {
        SimState s;
        s.echo = false;
        SimModem sim;
        sim.setState(s);
        QVERIFY(sim.start());
        QSerialPort port;
        QVERIFY(openRaw(port, sim.portName()));
        QCOMPARE(exchange(port, "AT+IPR=57600\r\n"), QByteArray("\r\nOK\r\n"));
        QCOMPARE(exchange(port, "AT\r\n", 300), QByteArray());
        port.close();
        QVERIFY(openRaw(port, sim.portName(), 57600));
        QCOMPARE(exchange(port, "AT+IPR?\r\n"), QByteArray("\r\n+IPR: 57600\r\n\r\nOK\r\n"));
    }

    void escapeNeedsGuardTimes()
    {
        SimState s;
        s.echo = false;
        s.dataCall = true;
        s.guardMs = 300;
        SimModem sim;
        sim.setState(s);
        QVERIFY(sim.start());
        QSerialPort port;
        QVERIFY(openRaw(port, sim.portName()));
        QTest::qWait(350);
        QCOMPARE(exchange(port, "AT\r\n", 400), QByteArray()); // data, not a command
        QCOMPARE(exchange(port, "x+++", 600), QByteArray());  // no silence before it
        QTest::qWait(350);
        QCOMPARE(exchange(port, "+++", 800), QByteArray("\r\nOK\r\n"));
        QCOMPARE(exchange(port, "ATH\r\n"), QByteArray("\r\nOK\r\n"));
        QVERIFY(!sim.state().dataCall);
    }

    void droppedLineClosesThePort()
    {
        SimModem sim;
        QVERIFY(sim.start());
        QSerialPort port;
        QVERIFY(openRaw(port, sim.portName()));
        sim.dropLine();
        QElapsedTimer t;
        t.start();
        auto gone = [&] {
            return port.error() == QSerialPort::ResourceError || port.error() == QSerialPort::ReadError;
        };
        while (!gone() && t.elapsed() < 2000)
            port.waitForReadyRead(50);
        QVERIFY(gone());
    }

    void scenarioFile()
    {
        QTemporaryFile f;
        QVERIFY(f.open());
        f.write("# a base station\n"
                "software = 334\n"
                "via = bt\n"
                "gprs = inet,internet.mts.ru,mts,mts\n"
                "ntrip = N1,caster.example,2101,MP,c,cp,sp,NET,1,2\n"
                "store = GPRS1: a\\nb\n"
                "echo = off\n");
        f.close();
        SimState s;
        QString error;
        QVERIFY2(SimModem::loadScenario(s, f.fileName(), &error), qPrintable(error));
        QCOMPARE(s.software, 334);
        QVERIFY(!s.viaCom);
        QVERIFY(!s.echo);
        QCOMPARE(s.gprs.size(), 1);
        QCOMPARE(s.ntrip.first().size(), 8);
        QCOMPARE(s.ntrip.first().last(), QString("NET,1,2"));
        QCOMPARE(s.stores.first().second, QString("a\nb"));

        QVERIFY(!SimModem::applySetting(s, "echo", "maybe", &error));
        QVERIFY(!SimModem::applySetting(s, "nonsense", "1", &error));
        QVERIFY(error.contains("unknown key"));
        QVERIFY(!SimModem::applySetting(s, "gprs", "a,b", &error));
    }

    // The standalone simulator prints its terminal and answers on it.
    void standaloneExecutable()
    {
        QProcess p;
        p.start(KZ520_SIM_BIN, { "--set", "echo=off", "--set", "model=KZ520X" });
        QVERIFY(p.waitForStarted());
        QVERIFY(p.waitForReadyRead(5000));
        const QString path = QString::fromLocal8Bit(p.readLine()).trimmed();
        QVERIFY(path.startsWith("/dev/pts/"));
        {
            QSerialPort port;
            QVERIFY(openRaw(port, path));
            QCOMPARE(exchange(port, "AT^JINFO,0\r\n"), QByteArray("\r\nJI0:KZ520X\r\n\r\nOK\r\n"));
        }
        p.terminate();
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
