// The window against the simulated modem: from a click on Connect through
// the connection chain to the identity, the failures of each step, Disconnect,
// and the question on closing while connected.
#include "support/windowrig.h"

#include "device/portnames.h"
#include "sim/simmodem.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

Q_DECLARE_METATYPE(SimState)

static constexpr int ChainMs = 20000; // the silent-modem handshake alone takes ~10 s

// Also notes, at each box, the status text and whether the port was still open.
class RecordingWindow : public TestWindow
{
public:
    QStringList statusAtBox;
    QList<bool> portOpenAtBox;

    // Snapshot of the controls list right after the window handled the
    // identity (before the configuration read that follows can change it).
    QList<QWidget *> disabledAtInfo;
    bool infoHandled = false;
    int requestsHandled = 0;

    RecordingWindow()
    {
        // Queued after the window's own connections, so these run right after its handlers.
        connect(kz(), &KZConfigThread::opCompleted, this,
                [this](KZConfigThread::Operation op, bool ok) {
                    if (op != KZConfigThread::OpInfo || !ok)
                        return;
                    infoHandled = true;
                    for (QWidget *c : controlsList())
                        if (c->testAttribute(Qt::WA_ForceDisabled))
                            disabledAtInfo << c;
                });
        connect(kz(), &KZConfigThread::requestCompleted, this, [this] { ++requestsHandled; });
    }

protected:
    void showBox(QMessageBox::Icon icon, const QString &title, const QString &text) override
    {
        statusAtBox << statusBar()->currentMessage();
        portOpenAtBox << kz()->isPortOpen();
        TestWindow::showBox(icon, title, text);
    }
};

// Connect is clicked with the window's port settings as they are.
struct Rig : WindowOnSimOf<RecordingWindow> {
    explicit Rig(const SimState &state = SimState()) { sim.setState(state); }
    bool start()
    {
        if (!startModem(sim))
            return false;
        w.selectPort(sim.portName());
        w.show();
        return true;
    }
    void clickConnect() { QTest::mouseClick(w.form()->connectBtn, Qt::LeftButton); }
    // Connects and waits until the configuration read that follows has been handled.
    bool connectAndSettle()
    {
        clickConnect();
        return QTest::qWaitFor([this] { return w.requestsHandled > 0; }, ChainMs)
                && w.form()->disconnectBtn->isEnabled();
    }
};

static QList<QLabel *> identityLabels(Ui::MainWindow *ui)
{
    return { ui->infoPartNo, ui->infoSerial, ui->infoSoftVersion,
             ui->infoBluetooth, ui->infoBattery, ui->infoSim };
}

static void verifyDisconnected(RecordingWindow &w)
{
    Ui::MainWindow *ui = w.form();
    for (QLabel *l : identityLabels(ui))
        QCOMPARE(l->text(), QStringLiteral("-"));
    QVERIFY(ui->connectBtn->isEnabled());
    QVERIFY(!ui->disconnectBtn->isEnabled());
    for (QWidget *c : w.controlsList())
        QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
    QTRY_VERIFY(!w.kz()->isPortOpen());
}

class TestWindowConnect : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        KZConfigThread::registerMetaTypes();
    }

    void identity_data()
    {
        QTest::addColumn<SimState>("state");
        QTest::addColumn<QStringList>("labels"); // model, serial, software, BT, battery, SIM
        QTest::addColumn<bool>("btGroup");

        SimState s;
        QTest::newRow("newer software, battery and BT over COM")
                << s
                << QStringList { "KZ520-03-ABP", "520000123", "390", "Есть", "Есть", "\"MegaFon\"" }
                << true;

        s = SimState();
        s.deviceType = "KZ520-02";
        s.capabilities = "BAT";
        s.battery = "4.1";
        QTest::newRow("BAT on hardware 02 shows the voltage")
                << s << QStringList { "KZ520-02", "520000123", "390", "Нет", "4.100 В", "\"MegaFon\"" }
                << false;

        s = SimState();
        s.software = 334;
        s.model = "KZ520";
        s.hardware = "02";
        s.capabilities = "BAT;BT";
        s.battery = "3.95";
        QTest::newRow("older software")
                << s << QStringList { "KZ520-02", "520000123", "334", "Есть", "3.950 В", "\"MegaFon\"" }
                << true;

        s = SimState();
        s.deviceType = "KZ520-03-B";
        s.capabilities = "";
        s.viaCom = false;
        QTest::newRow("no battery, BT by variant, connected over BT")
                << s << QStringList { "KZ520-03-B", "520000123", "390", "Есть", "Отсутствует", "\"MegaFon\"" }
                << false;

        s = SimState();
        s.deviceType = "KZ520-02-P";
        s.capabilities = "";
        s.battery = "4";
        s.operatorName = "";
        s.simState = 0;
        QTest::newRow("battery by variant, no SIM")
                << s << QStringList { "KZ520-02-P", "520000123", "390", "Нет", "4.000 В", "Отсутствует" }
                << false;

        s = SimState();
        s.operatorName = "";
        s.simState = 1;
        s.echo = false;
        QTest::newRow("no network, echo off")
                << s << QStringList { "KZ520-03-ABP", "520000123", "390", "Есть", "Есть", "Нет сети" }
                << true;
    }

    void identity()
    {
        QFETCH(SimState, state);
        QFETCH(QStringList, labels);
        QFETCH(bool, btGroup);

        Rig rig(state);
        QVERIFY(rig.start());
        RecordingWindow &w = rig.w;
        Ui::MainWindow *ui = w.form();
        rig.clickConnect();
        QVERIFY(!ui->disconnectBtn->isEnabled()); // connected only with the identity
        QTRY_VERIFY_WITH_TIMEOUT(w.infoHandled, ChainMs);

        QStringList shown;
        for (QLabel *l : identityLabels(ui))
            shown << l->text();
        QCOMPARE(shown, labels);
        QCOMPARE(ui->btGroupBox->isEnabled(), btGroup);
        QVERIFY(!ui->connectBtn->isEnabled());
        QVERIFY(ui->disconnectBtn->isEnabled());
        QVERIFY(w.kz()->isPortOpen());
        QVERIFY(w.boxes.isEmpty());

        // Every control on, but for the ones with a condition of their own.
        QList<QWidget *> expectedOff { ui->updateButton }; // no firmware loaded
        if (!ui->btMode2->isChecked())
            expectedOff << ui->btMode2Mac << ui->btMode2Pin;
        std::sort(expectedOff.begin(), expectedOff.end());
        std::sort(w.disabledAtInfo.begin(), w.disabledAtInfo.end());
        QCOMPARE(w.disabledAtInfo, expectedOff);

        // The chain goes on to read the whole configuration.
        QTRY_COMPARE_WITH_TIMEOUT(w.requestsHandled, 1, ChainMs);
        QVERIFY(rig.sim.commands().contains("AT^JINFO,0"));
    }

    void failures_data()
    {
        QTest::addColumn<SimState>("state");
        QTest::addColumn<QString>("hookCommand");
        QTest::addColumn<bool>("missingPort");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");
        // What the box's details must hold: the failed step's exchange.
        QTest::addColumn<QStringList>("details");

        const QString openText = "Не удалось открыть порт. Проверьте настройки.";
        const QString openStatus = "Не удалось открыть порт.";
        const QString linkText = "Не удалось установить соединение с модемом. Убедитесь, что он "
                                 "действительно подключен к указанному порту. Проверьте настройки "
                                 "соединения.";
        const QString linkStatus = "Не удалось соединиться с модемом.";
        const QString infoText = "Не удалось получить информацию о модеме. Проверьте, что к "
                                 "указанному порту подключен именно модем ORB KZ520.";
        const QString infoStatus = "Не удалось получить информацию о модеме.";

        SimState s;
        QTest::newRow("port cannot open")
                << s << QString() << true << openText << openStatus
                << QStringList { " start doConnect /dev/kz-no-such-port\n", " end doConnect: failed\n" };
        QTest::newRow("model query answered ERROR")
                << s << "AT^JINFO,0" << false << infoText << infoStatus
                << QStringList { "JI0: ERROR\n\n", " start reqInfo\n", " > AT^JINFO,0\n", " < ERROR\n",
                                 " end reqInfo: failed: JI0: ERROR\n" };
        QTest::newRow("serial query answered ERROR")
                << s << "AT^JINFO,12" << false << infoText << infoStatus
                << QStringList { " > AT^JINFO,0\n", " > AT^JINFO,12\n", " < ERROR\n" };
        s.operatorName = "";
        s.simState = 2;
        QTest::newRow("unknown SIM state") << s << QString() << false << infoText << infoStatus
                                           << QStringList { " > AT^SCKS?\n", " end reqInfo: failed" };
        s = SimState();
        s.silent = true;
        QTest::newRow("silent modem") << s << QString() << false << linkText << linkStatus
                                      << QStringList { " start handshake\n", " > AT\n", " <! \n",
                                                       " end handshake: failed" };
    }

    void failures()
    {
        QFETCH(SimState, state);
        QFETCH(QString, hookCommand);
        QFETCH(bool, missingPort);
        QFETCH(QString, text);
        QFETCH(QString, status);
        QFETCH(QStringList, details);

        Rig rig(state);
        QVERIFY(rig.start());
        RecordingWindow &w = rig.w;
        if (hookCommand == QLatin1String("AT^JINFO,0"))
            rig.sim.setCommandHook(notOurModem()); // not a KZ520 with its application halted
        else if (!hookCommand.isEmpty())
            rig.sim.setCommandHook(answerWith(hookCommand, "\r\nERROR\r\n", EveryTime));
        if (missingPort)
            w.selectPort("/dev/kz-no-such-port");

        // The window's thread stays free while the worker waits on the modem.
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGap = qMax(longestGap, sinceTick.restart());
        });
        sinceTick.start();
        ticker.start(20);

        rig.clickConnect();
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, ChainMs);
        ticker.stop();
        QVERIFY2(longestGap < 500, qPrintable(QString::number(longestGap)));
        QCOMPARE(w.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(w.boxes[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(w.boxes[0].text, text);
        for (const QString &d : details)
            QVERIFY2(w.boxes[0].details.contains(d), qPrintable(d + " in:\n" + w.boxes[0].details));
        QCOMPARE(w.statusBar()->currentMessage(), status);
        // The box comes first, then the status text, then the port is closed.
        QVERIFY(w.statusAtBox[0] != status);
        QCOMPARE(w.portOpenAtBox[0], !missingPort);
        verifyDisconnected(w);

        // Nothing further is tried.
        const int heard = rig.sim.commands().size();
        QTest::qWait(300);
        QCOMPARE(w.boxes.size(), 1);
        QCOMPARE(rig.sim.commands().size(), heard);
        if (missingPort)
            QVERIFY(rig.sim.received().isEmpty());
    }

    void disconnectAndConnectAgain()
    {
        Rig rig;
        QVERIFY(rig.start());
        RecordingWindow &w = rig.w;
        QVERIFY(rig.connectAndSettle());

        QTest::mouseClick(w.form()->disconnectBtn, Qt::LeftButton);
        verifyDisconnected(w);
        QVERIFY(!w.kz()->isOnline());

        // The line is free again for the next connection.
        w.infoHandled = false;
        rig.clickConnect();
        QTRY_VERIFY_WITH_TIMEOUT(w.infoHandled, ChainMs);
        QCOMPARE(w.form()->infoSerial->text(), QStringLiteral("520000123"));
        QVERIFY(w.boxes.isEmpty());
    }

    // A result that arrives after Disconnect does not bring the controls back.
    void disconnectDuringConfigurationRead()
    {
        SimState s;
        s.replyDelayMs = 20; // keeps the read going for a while
        Rig rig(s);
        QVERIFY(rig.start());
        RecordingWindow &w = rig.w;
        rig.clickConnect();
        QTRY_VERIFY_WITH_TIMEOUT(w.infoHandled, ChainMs);
        QTest::mouseClick(w.form()->disconnectBtn, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w.requestsHandled, 1, ChainMs);
        QStringList enabled;
        for (QWidget *c : w.controlsList())
            if (c->isEnabled())
                enabled << c->objectName();
        QCOMPARE(enabled, QStringList());
        verifyDisconnected(w);
    }

    // A path typed into the port box, not one the enumerator lists.
    void typedDevicePathConnects()
    {
        Rig rig;
        QVERIFY(rig.start());
        RecordingWindow &w = rig.w;
        QVERIFY(!availablePortNames().contains(rig.sim.portName()));
        QComboBox *box = w.form()->portName;
        box->setCurrentIndex(-1);
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), rig.sim.portName());
        QCOMPARE(box->currentText(), rig.sim.portName());
        rig.clickConnect();
        QTRY_VERIFY_WITH_TIMEOUT(w.infoHandled, ChainMs);
        QCOMPARE(w.kz()->deviceName(), rig.sim.portName());
        QCOMPARE(w.form()->infoPartNo->text(), QStringLiteral("KZ520-03-ABP"));
    }

    void closeWhileConnected_data()
    {
        QTest::addColumn<bool>("com");
        QTest::addColumn<bool>("bt");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<bool>("closes");

        // The modem holds "ATD12345" for COM and nothing for Bluetooth.
        QTest::newRow("saved COM autostart") << true << false << "ATD12345" << QMessageBox::No << false << true;
        QTest::newRow("COM autostart unchecked, No") << false << false << "ATD12345" << QMessageBox::No << true << false;
        QTest::newRow("COM autostart unchecked, Yes") << false << false << "ATD12345" << QMessageBox::Yes << true << true;
        QTest::newRow("COM command edited") << true << false << "ATD999" << QMessageBox::No << true << false;
        QTest::newRow("BT autostart added") << true << true << "ATD12345" << QMessageBox::No << true << false;
    }

    void closeWhileConnected()
    {
        QFETCH(bool, com);
        QFETCH(bool, bt);
        QFETCH(QString, command);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, asks);
        QFETCH(bool, closes);

        SimState s;
        s.autoexecC = "ATD12345";
        s.autoexecB = "";
        Rig rig(s);
        QVERIFY(rig.start());
        RecordingWindow &w = rig.w;
        QVERIFY(rig.connectAndSettle());
        QTRY_VERIFY(!w.kz()->busy);
        QCOMPARE(w.kz()->config.autoexecCom, QStringLiteral("ATD12345"));
        QCOMPARE(w.kz()->config.autoexecBt, QString());

        Ui::MainWindow *ui = w.form();
        ui->conAutostartCom->setChecked(com);
        ui->conAutostartBT->setChecked(bt);
        ui->conCommand->setText(command);
        w.questionAnswers.enqueue(answer);

        QCOMPARE(w.close(), closes);
        QCOMPARE(w.isVisible(), !closes);
        QCOMPARE(w.questions.size(), asks ? 1 : 0);
        if (asks) {
            QCOMPARE(w.questions[0].icon, QMessageBox::Question);
            QCOMPARE(w.questions[0].title, QStringLiteral("Настройки не сохранены"));
            QCOMPARE(w.questions[0].text,
                     QStringLiteral("Режим работы был изменён, но не сохранён. Выйти из программы?"));
        }
    }
};

QTEST_MAIN(TestWindowConnect)
#include "tst_windowconnect.moc"
