#include "support/simfixture.h"

#include <QElapsedTimer>

class TestWorker : public QObject
{
    Q_OBJECT

private slots:
    // Operations queued while one runs wait their turn, in order.
    void queuedOperationsRunInOrder()
    {
        SimState s = echoOff();
        s.replyDelayMs = 50;
        SimWorker w(s);
        QVERIFY(w.start());
        QMetaObject::invokeMethod(&w.worker, "doConnect", Qt::QueuedConnection);
        QMetaObject::invokeMethod(&w.worker, "handshake", Qt::QueuedConnection);
        QMetaObject::invokeMethod(&w.worker, "reqInfo", Qt::QueuedConnection);
        QTRY_COMPARE_WITH_TIMEOUT(w.results.size(), 3, 20000);
        QCOMPARE(w.results[0].op, KZConfigThread::OpConnect);
        QCOMPARE(w.results[1].op, KZConfigThread::OpHandshake);
        QCOMPARE(w.results[2].op, KZConfigThread::OpInfo);
        for (const OpResult &r : w.results)
            QVERIFY2(r.ok, qPrintable(r.text));
        // reqInfo's first command came only after the handshake's last one.
        const QStringList cmds = w.sim.commands();
        QCOMPARE(cmds.indexOf("AT^JINFO,0"), cmds.lastIndexOf("ATE") + 1);
    }

    // busy reads true from another thread while an operation exchanges lines,
    // and false after it, also after a failure.
    void busyVisibleFromWindowThread()
    {
        SimState s = echoOff();
        s.replyDelayMs = 100;
        SimWorker w(s);
        QVERIFY(w.startAndOpen());
        QVERIFY(!w.worker.busy);
        QMetaObject::invokeMethod(&w.worker, "reqInfo", Qt::QueuedConnection);
        QTRY_VERIFY_WITH_TIMEOUT(w.worker.busy, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(w.results.size(), 2, 10000);
        QVERIFY(!w.worker.busy);

        w.sim.modify([](SimState &st) { st.silent = true; });
        const OpResult r = w.run("reqInfo");
        QVERIFY(!r.ok);
        QVERIFY(!w.worker.busy);
    }

    void disconnectRunsOnWorkerThread()
    {
        SimWorker w;
        QVERIFY(w.startAndOpen());
        QVERIFY(w.worker.isPortOpen());
        QMetaObject::invokeMethod(&w.worker, "doDisconnect", Qt::QueuedConnection);
        QTRY_VERIFY_WITH_TIMEOUT(!w.worker.isPortOpen(), 2000);
        QVERIFY(!w.worker.isOnline());
    }

    // Stopping the runner waits for queued work, closes the port on its own
    // thread, and leaves a worker that can be destroyed.
    void runnerStopsAfterQueuedWork()
    {
        SimWorker w(echoOff());
        QVERIFY(w.start());
        QMetaObject::invokeMethod(&w.worker, "doConnect", Qt::QueuedConnection);
        QMetaObject::invokeMethod(&w.worker, "handshake", Qt::QueuedConnection);
        w.runner->stop();
        QVERIFY(!w.runner->thread()->isRunning());
        QVERIFY(!w.worker.isPortOpen());
        QCoreApplication::processEvents();
        QCOMPARE(w.results.size(), 2);
        QVERIFY(w.results[1].ok);
    }

    // The line vanishing mid-operation fails it at once, not at its deadlines.
    void droppedLineFailsQuickly()
    {
        SimWorker w(echoOff());
        w.sim.setCommandHook([&w](const QString &line, QByteArray *) {
            if (line == "AT^JINFO,10") {
                w.sim.dropLine();
                return true;
            }
            return false;
        });
        QVERIFY(w.startAndOpen());
        QElapsedTimer t;
        t.start();
        const OpResult r = w.run("reqInfo");
        QVERIFY(!r.ok);
        QCOMPARE(r.text, QString("JI10: "));
        QVERIFY2(t.elapsed() < 2500, qPrintable(QString::number(t.elapsed())));
        QVERIFY(!w.worker.isPortOpen());
        QVERIFY(!w.worker.busy);
    }
};

QTEST_GUILESS_MAIN(TestWorker)
#include "tst_worker.moc"
