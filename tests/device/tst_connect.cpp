#include "support/modemhooks.h"
#include "support/simfixture.h"

#include <QElapsedTimer>

class TestConnect : public QObject
{
    Q_OBJECT

private slots:
    void openFailsForMissingPort()
    {
        SimWorker w;
        QVERIFY(w.start());
        w.worker.setPortSettings("/dev/kz-no-such-port", 19, 3, 0, 0, 0);
        const OpResult r = w.run("doConnect");
        QCOMPARE(r.op, KZConfigThread::OpConnect);
        QVERIFY(!r.ok);
        QCOMPARE(r.text, QString());
        QCOMPARE(w.progress, QStringList { "Открытие порта" });
    }

    void handshakeEchoOn()
    {
        SimState s;
        s.echo = true;
        SimWorker w(s);
        QVERIFY(w.startAndOpen());
        const OpResult r = w.run("handshake");
        QVERIFY2(r.ok, qPrintable(r.text));
        QCOMPARE(w.sim.received(), QByteArray("\r\nAT\r\nATE\r\nATH\r\nATE\r\n"));
        QCOMPARE(w.progress, (QStringList { "Открытие порта", "Подключение", "Подключение: AT > AT",
                                            "Подключение: ATE > OK", "Подключение: ATH > OK" }));
        QVERIFY(!w.sim.state().echo);
        QVERIFY(!w.worker.busy);
    }

    void handshakeEchoOff()
    {
        SimWorker w(echoOff());
        QVERIFY(w.startAndOpen());
        QVERIFY(w.run("handshake").ok);
        QCOMPARE(w.progress.mid(2), (QStringList { "Подключение: AT > OK", "Подключение: ATH > OK" }));
        QVERIFY(!w.sim.received().contains("+++"));
    }

    void handshakeErrorFirst()
    {
        SimWorker w(echoOff());
        w.sim.setCommandHook(answerWith("AT", "\r\nERROR\r\n"));
        QVERIFY(w.startAndOpen());
        QVERIFY(w.run("handshake").ok);
        QCOMPARE(w.progress.mid(2), (QStringList { "Подключение: AT > ERROR", "Подключение: AT > OK",
                                                   "Подключение: ATH > OK" }));
        QCOMPARE(w.sim.commands(), (QStringList { "AT", "AT", "ATH", "ATE" }));
    }

    void handshakeErrorTwiceFails()
    {
        SimWorker w(echoOff());
        w.sim.setCommandHook(answerWith("AT", "\r\nERROR\r\n", 2));
        QVERIFY(w.startAndOpen());
        const OpResult r = w.run("handshake");
        QVERIFY(!r.ok);
        QCOMPARE(r.text, QString("AT > ERROR, AT > ERROR"));
    }

    void handshakeLeavesDataCall()
    {
        SimState s;
        s.dataCall = true;
        s.echo = false;
        SimWorker w(s);
        QVERIFY(w.startAndOpen());
        QElapsedTimer t;
        t.start();
        const OpResult r = w.run("handshake");
        QVERIFY2(r.ok, qPrintable(r.text));
        QVERIFY(t.elapsed() >= 5000 + 2000 + 3000 - 100);
        QVERIFY(w.progress.contains("Подключение: AT > ..."));
        QVERIFY(w.progress.contains("Подключение: +++ > OK"));
        QVERIFY(w.sim.received().contains("+++ATH\r\n"));
        QVERIFY(!w.sim.state().dataCall);
    }

    void handshakeSilentModemFails()
    {
        SimState s;
        s.silent = true;
        SimWorker w(s);
        QVERIFY(w.startAndOpen());
        QElapsedTimer t;
        t.start();
        const OpResult r = w.run("handshake");
        QVERIFY(!r.ok);
        QCOMPARE(r.text, QString("AT > , +++ > "));
        QVERIFY(t.elapsed() >= 9900);
        QVERIFY(w.sim.received().endsWith("+++"));
        QVERIFY(!w.worker.busy);
    }

    void handshakeEchoFailures_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<QString>("text");
        QTest::newRow("ATH refused") << "ATH" << QByteArray("\r\nERROR\r\n") << false << "ATH > ERROR";
        QTest::newRow("second ATE garbled") << "ATE" << QByteArray("\r\nXYZ\r\n") << false << "ATE > XYZ";
        QTest::newRow("ATE echo then error") << "ATE" << QByteArray("ATE\r\r\nERROR\r\n") << false
                                             << "ATE > ATE ERROR";
    }
    void handshakeEchoFailures()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, reply);
        QFETCH(bool, echo);
        QFETCH(QString, text);
        SimState s;
        s.echo = echo;
        SimWorker w(s);
        w.sim.setCommandHook(answerWith(command, reply));
        QVERIFY(w.startAndOpen());
        const OpResult r = w.run("handshake");
        QVERIFY(!r.ok);
        QCOMPARE(r.text, text);
    }

    void infoNewSoftware()
    {
        SimState s = echoOff();
        s.software = 335;
        s.deviceType = "KZ520-03-ABP";
        s.capabilities = "BAT;BT";
        s.battery = "4.1";
        s.serial = "777";
        SimWorker w(s);
        QVERIFY(w.startAndOpen());
        const OpResult r = w.run("reqInfo");
        QVERIFY2(r.ok, qPrintable(r.text));
        QCOMPARE(w.sim.commands(), (QStringList { "AT^JINFO,0", "AT^JINFO,4", "AT^JINFO,10", "AT^JINFO,15",
                                                  "AT^JINFO,12", "AT^JINFO,14", "AT^JINFO,13", "AT+COPS?" }));
        QCOMPARE(w.worker.identity().model, QString("KZ520-03-ABP"));
        QCOMPARE(w.worker.identity().hardwareVersion, QString("03"));
        QCOMPARE(w.worker.identity().variant, QString("ABP"));
        QCOMPARE(w.worker.identity().softwareVersion, QString("335"));
        QCOMPARE(w.worker.identity().serialNumber, QString("777"));
        QCOMPARE(w.worker.identity().capabilities, (QStringList { "BAT", "BT" }));
        QVERIFY(w.worker.identity().hasCapability("BT"));
        QCOMPARE(w.worker.identity().batteryVoltage, 4.1);
        QCOMPARE(w.worker.identity().operatorName, QString("\"MegaFon\""));
        QVERIFY(w.worker.identity().viaCom);
        QVERIFY(w.worker.isOnline());
        QCOMPARE(w.progress.mid(2), (QStringList { "Заргузка информации: модель", "Загрузка информации: версия ПО",
                                                   "Загрузка информации: тип устройства",
                                                   "Загрузка информации: серийный номер",
                                                   "Загрузка информации: возможности",
                                                   "Загрузка информации: напряжение батареи",
                                                   "Загрузка информации: SIM" }));
    }

    void infoOldSoftware()
    {
        SimState s = echoOff();
        s.software = 334;
        s.model = "KZ520";
        s.hardware = "03";
        s.viaCom = false;
        SimWorker w(s);
        QVERIFY(w.startAndOpen());
        QVERIFY(w.run("reqInfo").ok);
        QVERIFY(w.sim.commands().contains("AT^JINFO,11"));
        QVERIFY(!w.sim.commands().contains("AT^JINFO,15"));
        QCOMPARE(w.worker.identity().model, QString("KZ520-03"));
        QCOMPARE(w.worker.identity().hardwareVersion, QString("03"));
        QVERIFY(w.worker.identity().variant.isEmpty());
        QVERIFY(!w.worker.identity().viaCom);
        QVERIFY(w.progress.contains("Загрузка информации: версия железа"));
    }

    void infoDeviceTypes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("hardware");
        QTest::addColumn<QString>("variant");
        QTest::newRow("three parts") << "KZ520-03-ABP" << "03" << "ABP";
        QTest::newRow("two parts") << "KZ520-03" << "03" << "";
        QTest::newRow("one part") << "KZ520" << "" << "";
        QTest::newRow("four parts") << "KZ520-03-A-B" << "03" << "";
    }
    void infoDeviceTypes()
    {
        QFETCH(QString, type);
        QFETCH(QString, hardware);
        QFETCH(QString, variant);
        SimState s = echoOff();
        s.deviceType = type;
        SimWorker w(s);
        QVERIFY(w.startAndOpen());
        QVERIFY(w.run("reqInfo").ok);
        QCOMPARE(w.worker.identity().model, type);
        QCOMPARE(w.worker.identity().hardwareVersion, hardware);
        QCOMPARE(w.worker.identity().variant, variant);
    }

    void infoSimStates_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");
        QTest::newRow("no SIM") << 0 << true << "Отсутствует";
        QTest::newRow("no network") << 1 << true << "Нет сети";
        QTest::newRow("other state fails") << 2 << false << "SCKS: ^SCKS: 0,2";
    }
    void infoSimStates()
    {
        QFETCH(int, state);
        QFETCH(bool, ok);
        QFETCH(QString, text);
        SimState s = echoOff();
        s.operatorName.clear();
        s.simState = state;
        SimWorker w(s);
        QVERIFY(w.startAndOpen());
        const OpResult r = w.run("reqInfo");
        QCOMPARE(r.ok, ok);
        QVERIFY(w.sim.commands().endsWith("AT^SCKS?"));
        if (ok)
            QCOMPARE(w.worker.identity().operatorName, text);
        else
            QCOMPARE(r.text, text);
    }

    // A wrong reply at each step ends the chain with that step's tag.
    void infoBreaksAtEachStep_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::newRow("model") << "AT^JINFO,0" << "JI0: ERROR";
        QTest::newRow("path") << "AT^JINFO,4" << "JI4: ERROR";
        QTest::newRow("software") << "AT^JINFO,10" << "JI10: ERROR";
        QTest::newRow("device type") << "AT^JINFO,15" << "JI15: ERROR";
        QTest::newRow("serial") << "AT^JINFO,12" << "JI12: ERROR";
        QTest::newRow("capabilities") << "AT^JINFO,14" << "JI14: ERROR";
        QTest::newRow("battery") << "AT^JINFO,13" << "JI13: ERROR";
        QTest::newRow("network") << "AT+COPS?" << "COPS: ERROR";
    }
    void infoBreaksAtEachStep()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        SimWorker w(echoOff());
        // A refused model query is followed by "AT": refused too, no halted application.
        const bool model = command == QLatin1String("AT^JINFO,0");
        w.sim.setCommandHook(model ? notOurModem() : answerWith(command, "\r\nERROR\r\n"));
        QVERIFY(w.startAndOpen());
        const OpResult r = w.run("reqInfo");
        QVERIFY(!r.ok);
        QCOMPARE(r.text, text);
        QCOMPARE(w.sim.commands().last(), model ? QStringLiteral("AT") : command);
        QVERIFY(!w.worker.applicationHalted);
    }

    void infoOldHardwareBreaks()
    {
        SimState s = echoOff();
        s.software = 300;
        SimWorker w(s);
        w.sim.setCommandHook(answerWith("AT^JINFO,11", "\r\nJI1:03\r\n\r\nOK\r\n"));
        QVERIFY(w.startAndOpen());
        const OpResult r = w.run("reqInfo");
        QVERIFY(!r.ok);
        QCOMPARE(r.text, QString("JI11: JI1:03"));
    }

    void infoSilentModemFailsWithEmptyReply()
    {
        SimState s;
        s.silent = true;
        SimWorker w(s);
        QVERIFY(w.startAndOpen());
        const OpResult r = w.run("reqInfo");
        QVERIFY(!r.ok);
        QCOMPARE(r.text, QString("JI0: "));
    }
};

QTEST_GUILESS_MAIN(TestConnect)
#include "tst_connect.moc"
