// Faults on the line in the middle of each operation: the modem falls
// silent, or the line drops (the pseudo-terminal closes). Every case must end
// within its deadlines with the operation's failure, leave the window usable,
// and leave the worker able to run the next operation.
#include "support/windowrig.h"

#include "forms/profileforms.h"
#include <QListWidget>

#include <QTemporaryDir>

#include <atomic>
#include <chrono>

namespace {

const QString InfoFailed = QStringLiteral("Не удалось получить информацию о модеме. Проверьте, что "
                                          "к указанному порту подключен именно модем ORB KZ520.");
const QString ReadFailed = QStringLiteral("Не удалось получить текущие настройки модема. "
                                          "Попробуйте отключиться от модема и подключиться заново.");
const QString WriteFailed = QStringLiteral("Не удалось выполнить команду. Попробуйте отключиться от "
                                           "модема, подключиться ещё раз и выполнить настройку "
                                           "заново.");

// Monotonic milliseconds, comparable across threads.
qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Serial-setting commands answered with a second line, so that the wait for
// the modem's line after the port is reopened does not run out its 2 s.
bool quickSerial(const QString &line, QByteArray *reply)
{
    if (line.startsWith("AT+IPR=") || line.startsWith("AT+ICF=") || line.startsWith("AT+IFC=")) {
        *reply = "\r\nOK\r\n\r\nOK\r\n";
        return true;
    }
    return false;
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    // A modem that says nothing at all: the handshake gives up after its
    // escape attempt; when the modem speaks again, Connect works.
    void connectSilent()
    {
        SimState s = fullModem();
        s.silent = true;
        SimModem sim;
        sim.setState(s);
        QVERIFY(sim.start());
        TestWindow w;
        QElapsedTimer t;
        t.start();
        clickConnect(w, sim);
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 25000);
        QVERIFY2(t.elapsed() < 15000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(w.boxes[0].icon, QMessageBox::Critical);
        QVERIFY(w.boxes[0].text.startsWith("Не удалось установить соединение с модемом."));
        QCOMPARE(statusText(w), QStringLiteral("Не удалось соединиться с модемом."));
        checkDisconnected(w);

        sim.modify([](SimState &st) { st.silent = false; });
        w.boxes.clear();
        connectWindow(w, sim);
        QVERIFY(w.boxes.isEmpty());
    }

    // The line goes during the identity queries.
    void connectDropDuringInfo()
    {
        SimModem sim;
        sim.setState(fullModem());
        std::atomic<qint64> droppedAt { 0 };
        SimModem *p = &sim;
        sim.setCommandHook([p, &droppedAt](const QString &line, QByteArray *) {
            if (line != "AT^JINFO,10")
                return false;
            droppedAt = nowMs();
            p->dropLine();
            return true;
        });
        QVERIFY(sim.start());
        TestWindow w;
        clickConnect(w, sim);
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 15000);
        QVERIFY(droppedAt > 0);
        QVERIFY2(nowMs() - droppedAt < 2500, qPrintable(QString::number(nowMs() - droppedAt)));
        QCOMPARE(w.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(w.boxes[0].text, InfoFailed);
        QCOMPARE(statusText(w), QStringLiteral("Не удалось получить информацию о модеме."));
        checkDisconnected(w);
        checkWorkerAlive(w);
    }

    // The line goes while the GPRS list is coming in, on the first read after
    // connecting: the groups read before are not shown on a dead modem.
    void readDropMidList()
    {
        SimModem sim;
        sim.setState(fullModem());
        sim.setCommandHook([](const QString &line, QByteArray *reply) {
            if (line != "AT+ADDGPRS?")
                return false;
            *reply = "\r\n+ADDGPRS: g1,internet,u,p\r\n"; // and no end
            return true;
        });
        QVERIFY(sim.start());
        TestWindow w;
        clickConnect(w, sim);
        QTRY_VERIFY_WITH_TIMEOUT(sim.sent().contains("+ADDGPRS: g1"), 15000);
        QVERIFY(w.kz()->busy);
        sim.dropLine();
        QElapsedTimer t;
        t.start();
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 15000);
        QVERIFY2(t.elapsed() < 2500, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(w.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(w.boxes[0].text, ReadFailed);
        QCOMPARE(statusText(w), lostText());
        checkDisconnected(w);
        QCOMPARE(w.gprsDialog()->findChild<QListWidget *>("gprsList")->count(), 0);
        checkWorkerAlive(w);
    }

    // A reset writes every group; the line goes at the first command of one
    // of them. The message names what the modem got and what it did not,
    // nothing is read back over the dead line, and the window is disconnected.
    void writeDrop_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("notWritten");
        const QString all = "скорость COM, формат кадра, контроль потока, профили GPRS, профили "
                            "NTRIP, DynDNS, режим работы (автозапуск), Bluetooth";
        const QStringList names = all.split(", ");
        const char *const prefixes[] = { "AT+IPR=",    "AT+ICF=",   "AT+IFC=",   "AT+DELGPRS=",
                                         "AT+DELNTRIP=", "AT+DYNDNS=", "AT^JAUTO,", "AT+BTMODE=" };
        for (int i = 0; i < 8; ++i) {
            QTest::newRow(qPrintable(names[i])) << QString(prefixes[i])
                                                << QStringList(names.mid(0, i)).join(", ")
                                                << QStringList(names.mid(i)).join(", ");
        }
    }
    void writeDrop()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, written);
        QFETCH(QString, notWritten);

        SimModem sim;
        sim.setState(fullModem());
        QVERIFY(sim.start());
        TestWindow w;
        connectWindow(w, sim);
        if (QTest::currentTestFailed())
            return;
        int reads = 0;
        connect(w.kz(), &KZConfigThread::requestCompleted, this, [&reads] { ++reads; });

        std::atomic<qint64> droppedAt { 0 };
        SimModem *p = &sim;
        sim.setCommandHook([p, prefix, &droppedAt](const QString &line, QByteArray *reply) {
            if (line.startsWith(prefix)) {
                droppedAt = nowMs();
                p->dropLine();
                return true;
            }
            return quickSerial(line, reply);
        });
        sim.clearLog();
        QTest::mouseClick(w.form()->configReset, Qt::LeftButton);
        QCOMPARE(w.runningOperation(), MainWindow::Running::Write);
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 20000);
        QVERIFY(droppedAt > 0);
        QVERIFY2(nowMs() - droppedAt < 2500, qPrintable(QString::number(nowMs() - droppedAt)));
        QVERIFY(sim.commands().last().startsWith(prefix));

        const ShownBox &box = w.boxes[0];
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.title, QStringLiteral("Ошибка"));
        QVERIFY2(box.text.startsWith("Связь с модемом потеряна во время записи."),
                 qPrintable(box.text));
        if (written.isEmpty())
            QVERIFY2(box.text.contains(" Ничего не записано."), qPrintable(box.text));
        else
            QVERIFY2(box.text.contains(" Записано: " + written + "."), qPrintable(box.text));
        QVERIFY2(box.text.contains(" Не записано: " + notWritten + "."), qPrintable(box.text));
        QCOMPARE(statusText(w), lostText());
        checkDisconnected(w);

        // A whole new connection runs: its read is the only one since the write.
        checkWorkerAlive(w);
        QCOMPARE(reads, 1);
    }

    // The modem stays silent to one command of a write: that group fails at
    // its deadline, the others are written, the read-back runs, and the
    // window stays connected.
    void writeSilence()
    {
        SimModem sim;
        sim.setState(fullModem());
        QVERIFY(sim.start());
        TestWindow w;
        connectWindow(w, sim);
        if (QTest::currentTestFailed())
            return;
        sim.setCommandHook([](const QString &line, QByteArray *reply) {
            if (line.startsWith("AT+DYNDNS=")) {
                reply->clear();
                return true;
            }
            return quickSerial(line, reply);
        });
        w.statusBar()->clearMessage();
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(w.form()->configReset, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 30000);
        QCOMPARE(w.boxes[0].text, WriteFailed);
        // The later groups were still written.
        QVERIFY(sim.commands().contains("AT+BTMODE=0"));
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), readyText(), 20000);
        QVERIFY2(t.elapsed() < 15000, qPrintable(QString::number(t.elapsed())));
        QTRY_VERIFY(w.runningOperation() == MainWindow::Running::None);
        QCOMPARE(w.boxes.size(), 1);
        QVERIFY(w.form()->disconnectBtn->isEnabled());
        QVERIFY(w.form()->comSaveButton->isEnabled());
        QVERIFY(w.kz()->isPortOpen());
        QCOMPARE(w.kz()->config.gprsProfiles.size(), 0);
    }

    // The line goes while the terminal is idle: the window notices, and the
    // terminal then sends nothing and says why.
    void terminalDropIdle()
    {
        SimModem sim;
        sim.setState(fullModem());
        QVERIFY(sim.start());
        TestWindow w;
        connectWindow(w, sim);
        if (QTest::currentTestFailed())
            return;
        sim.dropLine();
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), lostText(), 5000);
        checkDisconnected(w);
        QVERIFY(w.boxes.isEmpty());

        const QString log = w.form()->termLog->toPlainText();
        w.form()->termCmd->setText("ATI");
        w.statusBar()->clearMessage();
        QTest::mouseClick(w.form()->termSend, Qt::LeftButton);
        QCOMPARE(statusText(w), lostText());
        QCOMPARE(w.form()->termLog->toPlainText(), log);
        QCOMPARE(w.form()->termCmd->text(), QStringLiteral("ATI"));
        checkWorkerAlive(w);
    }

    // The line goes while the report is collected: what was gathered is
    // saved all the same, and the window is disconnected.
    void reportDrop()
    {
        SimModem sim;
        sim.setState(fullModem());
        QVERIFY(sim.start());
        TestWindow w;
        connectWindow(w, sim);
        if (QTest::currentTestFailed())
            return;
        std::atomic<qint64> droppedAt { 0 };
        SimModem *p = &sim;
        sim.setCommandHook([p, &droppedAt](const QString &line, QByteArray *) {
            if (line != "AT^JINFO,4")
                return false;
            droppedAt = nowMs();
            p->dropLine();
            return true;
        });
        const QString path = dir.filePath("lost.kzrep");
        w.fileAnswers.enqueue(path);
        QTest::mouseClick(w.form()->reportButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w),
                                  QStringLiteral("Отчёт сохранён. Связь с модемом потеряна."), 30000);
        QVERIFY(droppedAt > 0);
        QVERIFY2(nowMs() - droppedAt < 10000, qPrintable(QString::number(nowMs() - droppedAt)));
        QVERIFY(QFile::exists(path));
        QVERIFY(w.boxes.isEmpty());
        checkDisconnected(w);
        checkWorkerAlive(w);
    }

    // The line goes during the firmware transfer: at the OBEX connect, in
    // the middle of a file, on the file's final packet. The modem answers no
    // more from that packet on, and the test pulls the line while the tool
    // waits for the answer.
    void firmwareDrop_data()
    {
        QTest::addColumn<int>("packet");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("opcode");
        QTest::newRow("start: connect") << 1 << 100 << 0x80;
        QTest::newRow("middle: second body packet") << 4 << 40000 << 0x02;
        QTest::newRow("end: final packet") << 4 << 100 << 0x82;
    }
    void firmwareDrop()
    {
        QFETCH(int, packet);
        QFETCH(int, bytes);
        QFETCH(int, opcode);
        SimState s = fullModem();
        s.obexDropPacket = packet;
        SimModem sim;
        sim.setState(s);
        QVERIFY(sim.start());
        TestWindow w;
        connectWindow(w, sim);
        if (QTest::currentTestFailed())
            return;
        chooseFirmware(w, dir.filePath("drop.kzbin"), firmwareFor(s.hardware, bytes));
        if (QTest::currentTestFailed())
            return;

        QTest::mouseClick(w.form()->updateButton, Qt::LeftButton);
        QCOMPARE(w.runningOperation(), MainWindow::Running::Firmware);
        QTRY_VERIFY_WITH_TIMEOUT(sim.obexPackets().size() >= packet, 30000);
        QCOMPARE(sim.obexPackets().size(), packet);
        QCOMPARE(int(uchar(sim.obexPackets().last().at(0))), opcode);
        sim.dropLine();
        QElapsedTimer t;
        t.start();
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 15000);
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(w.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(w.boxes[0].text, QStringLiteral("Не удалось обновить ПО модема."));
        QCOMPARE(statusText(w), lostText());
        QCOMPARE(w.form()->updateStep->text(), QStringLiteral("Не удалось обновить ПО модема."));
        QVERIFY(w.form()->updateSelectBtn->isEnabled());
        checkDisconnected(w);
        checkWorkerAlive(w);
    }

    // The modem falls silent in the middle of the transfer but the line
    // stays: the tool gives up on the packet, leaves the transfer, starts
    // the application again and stays connected.
    void firmwareSilence()
    {
        SimState s = fullModem();
        s.obexDropPacket = 3;
        SimModem sim;
        sim.setState(s);
        QVERIFY(sim.start());
        TestWindow w;
        connectWindow(w, sim);
        if (QTest::currentTestFailed())
            return;
        chooseFirmware(w, dir.filePath("silent.kzbin"), firmwareFor(s.hardware, 40000));
        if (QTest::currentTestFailed())
            return;
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(w.form()->updateButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 60000);
        QVERIFY2(t.elapsed() < 30000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(w.boxes[0].text, QStringLiteral("Не удалось обновить ПО модема."));
        QTRY_VERIFY(w.runningOperation() == MainWindow::Running::None);
        QVERIFY(!sim.state().halted);
        QVERIFY(!sim.state().obexMode);
        QVERIFY(w.form()->disconnectBtn->isEnabled());
        QVERIFY(w.form()->comSaveButton->isEnabled());
        QVERIFY(w.form()->updateButton->isEnabled());

        // The modem answers at the tool's speed again: a write and its read-back run.
        w.statusBar()->clearMessage();
        QTest::mouseClick(w.form()->btSaveMode, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(w.runningOperation() == MainWindow::Running::None
                                         && w.form()->comSaveButton->isEnabled(),
                                 20000);
        QCOMPARE(w.boxes.size(), 1);
    }

    void lostWriteMessage()
    {
        QCOMPARE(MainWindow::lostWriteMessage(0x28, 0x08),
                 QStringLiteral("Связь с модемом потеряна во время записи. Записано: профили GPRS. "
                                "Не записано: DynDNS. Подключитесь к модему заново и проверьте "
                                "настройки."));
        // A group outside the write is not named.
        QVERIFY(!MainWindow::lostWriteMessage(0x01, 0x81).contains("Bluetooth"));
        QVERIFY(!MainWindow::lostWriteMessage(0x40, 0x40).contains("Не записано"));
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
