// Closing the window while an operation runs: it asks, and closes only when
// the operation has ended, without freezing meanwhile; a firmware update
// cannot be interrupted by closing.
#include "support/windowrig.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString WriteQuestion =
        QStringLiteral("Идёт запись настроек в модем. Закрыть программу после её окончания?");

// Largest pause between ticks of a timer on the window's thread.
class Heartbeat
{
public:
    Heartbeat()
    {
        clock.start();
        QObject::connect(&timer, &QTimer::timeout, [this] {
            maxGap = qMax(maxGap, clock.restart());
            ++ticks;
        });
        timer.start(20);
    }
    QTimer timer;
    QElapsedTimer clock;
    qint64 maxGap = 0;
    int ticks = 0;
};

// The index of the last configuration write heard, -1 when none.
int lastWrite(const QStringList &commands)
{
    for (int i = commands.size() - 1; i >= 0; --i) {
        if (commands[i].contains('=') && !commands[i].startsWith("AT^JINFO"))
            return i;
    }
    return -1;
}

} // namespace

class TestClosing : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // A modem slow enough that a reset takes a few seconds.
    static SimState slowModem()
    {
        SimState s = fullModem();
        s.replyDelayMs = 150;
        return s;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void closeDuringWrite_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes: closes after the write") << true;
        QTest::newRow("no: stays") << false;
    }
    void closeDuringWrite()
    {
        QFETCH(bool, yes);
        SimModem sim;
        sim.setState(fullModem());
        QVERIFY(sim.start());
        TestWindow w;
        w.show();
        connectWindow(w, sim);
        if (QTest::currentTestFailed())
            return;
        sim.modify([](SimState &s) { s.replyDelayMs = 150; });
        sim.clearLog();
        w.statusBar()->clearMessage();

        QTest::mouseClick(w.form()->configReset, Qt::LeftButton);
        QTRY_VERIFY(w.kz()->busy);
        w.questionAnswers.enqueue(yes ? QMessageBox::Yes : QMessageBox::No);
        QVERIFY(!w.close());
        QCOMPARE(w.questions.size(), 1);
        QCOMPARE(w.questions[0].icon, QMessageBox::Question);
        QCOMPARE(w.questions[0].text, WriteQuestion);
        QVERIFY(w.isVisible());
        QCOMPARE(w.closePending(), yes);
        QVERIFY(w.kz()->busy); // the write was still under way

        Heartbeat beat;
        if (yes) {
            QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 30000);
            // The whole write went out, and nothing was read back after it.
            const QStringList cmds = sim.commands();
            QVERIFY2(cmds.contains("AT+BTMODE=0"), qPrintable(cmds.join(" | ")));
            QCOMPARE(lastWrite(cmds), cmds.size() - 1);
            QVERIFY(!w.kz()->busy);
            QCOMPARE(w.runningOperation(), MainWindow::Running::None);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(statusText(w), readyText(), 30000);
            QTRY_VERIFY_WITH_TIMEOUT(w.runningOperation() == MainWindow::Running::None, 30000);
            QVERIFY(w.isVisible());
            QVERIFY(w.form()->comSaveButton->isEnabled());
            QVERIFY(w.close());
            QCOMPARE(w.questions.size(), 1);
        }
        // The window's thread never stalled while it waited.
        QVERIFY(beat.ticks > 10);
        QVERIFY2(beat.maxGap < 1000, qPrintable(QString::number(beat.maxGap)));
        QVERIFY(w.boxes.isEmpty());
    }

    // Closed while connecting: the step under way ends, no further step is
    // started, and the window closes.
    void closeDuringConnect()
    {
        SimModem sim;
        sim.setState(slowModem());
        QVERIFY(sim.start());
        TestWindow w;
        w.show();
        clickConnect(w, sim);
        w.questionAnswers.enqueue(QMessageBox::Yes);
        QVERIFY(!w.close());
        QCOMPARE(w.questions.size(), 1);
        QCOMPARE(w.questions[0].text, QStringLiteral("Идёт подключение к модему. Закрыть "
                                                     "программу после его окончания?"));
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 15000);
        QVERIFY(!sim.commands().join(' ').contains("AT^JINFO"));
        QVERIFY(!w.kz()->busy);
    }

    // An update cannot be interrupted by closing: the window says so and
    // stays, and the update runs to its end.
    void closeDuringUpdateRefused()
    {
        SimState s = fullModem();
        // No autostart command: the mode shown is the modem's, closing asks nothing.
        s.autoexecB.clear();
        s.autoexecC.clear();
        SimModem sim;
        sim.setState(s);
        QVERIFY(sim.start());
        TestWindow w;
        w.show();
        connectWindow(w, sim);
        if (QTest::currentTestFailed())
            return;
        const FirmwareContainer fw = firmwareFor(sim.state().hardware, 20000);
        chooseFirmware(w, dir.filePath("run.kzbin"), fw);
        if (QTest::currentTestFailed())
            return;

        QTest::mouseClick(w.form()->updateButton, Qt::LeftButton);
        QTRY_VERIFY(w.kz()->busy);
        Heartbeat beat;
        QVERIFY(!w.close());
        QVERIFY(w.questions.isEmpty());
        QCOMPARE(w.boxes.size(), 1);
        QCOMPARE(w.boxes[0].title, QStringLiteral("Обновление ПО"));
        QCOMPARE(w.boxes[0].text,
                 QStringLiteral("Идёт обновление ПО модема. Дождитесь его окончания: прерванное "
                                "обновление оставит модем без рабочего приложения."));
        QVERIFY(w.isVisible());
        QVERIFY(!w.closePending());

        // Asked again in the middle of the transfer: still refused.
        QTRY_VERIFY_WITH_TIMEOUT(!sim.obexPackets().isEmpty(), 20000);
        QVERIFY(!w.close());
        QCOMPARE(w.boxes.size(), 2);

        QTRY_COMPARE_WITH_TIMEOUT(w.form()->updateStep->text(),
                                  QStringLiteral("Обновление ПО завершено"), 60000);
        QCOMPARE(sim.state().drive.value("atc65.jar"), fw.files[0].data);
        QVERIFY(!sim.state().halted);
        QVERIFY2(beat.maxGap < 1000, qPrintable(QString::number(beat.maxGap)));
        QTRY_VERIFY(w.runningOperation() == MainWindow::Running::None);
        QVERIFY(w.close());
        QVERIFY(w.questions.isEmpty());
        QCOMPARE(w.boxes.size(), 2);
    }
};

QTEST_MAIN(TestClosing)
#include "tst_closing.moc"
