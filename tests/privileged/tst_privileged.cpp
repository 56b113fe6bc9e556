// Privileged commands against the simulated modem: the verdict taken from
// the whole answer, gathered until the line goes quiet, and codes that would
// break the command line refused before anything is sent.
#include "device/privilegedreply.h"
#include "support/simfixture.h"

#include <QElapsedTimer>
#include <QThread>

namespace {

OpResult execute(SimWorker &w, const QString &code, qint64 *ms = nullptr)
{
    QElapsedTimer t;
    t.start();
    const OpResult r = w.run("privilegedExecute", 30000, Q_ARG(QString, code));
    if (ms)
        *ms = t.elapsed();
    return r;
}

} // namespace

class TestPrivileged : public QObject
{
    Q_OBJECT

private slots:
    // The verdict is the final line's: "OK" somewhere is not enough.
    void acceptance_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("OK") << "\r\nOK\r\n" << true;
        QTest::newRow("echo, information, OK") << "AT^AUTH=X\r\r\n^AUTH: done\r\n\r\nOK\r\n"
                                               << true;
        QTest::newRow("OK without line end") << "\r\nOK" << true;
        QTest::newRow("token expired") << "\r\n+AUTH: TOKEN EXPIRED\r\n" << false;
        QTest::newRow("OK inside a line") << "\r\n+AUTH: OK?\r\n" << false;
        QTest::newRow("OK then information") << "\r\nOK\r\n\r\n^AUTH: 7\r\n" << false;
        QTest::newRow("CME error then OK") << "\r\n+CME ERROR: 3\r\n\r\nOK\r\n" << false;
        QTest::newRow("ERROR then OK") << "\r\nERROR: busy\r\n\r\nOK\r\n" << false;
        QTest::newRow("line past the cap, then OK")
                << QString(5000, QLatin1Char('x')) + QStringLiteral("\r\nOK\r\n") << false;
        QTest::newRow("nothing") << "" << false;
    }
    void acceptance()
    {
        QFETCH(QString, answer);
        QFETCH(bool, accepted);
        QCOMPARE(PrivilegedReply::accepted(answer), accepted);
    }

    void verdict_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("answer"); // empty: the simulator's own answer
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");

        QTest::newRow("accepted") << "A1B2C3" << QByteArray() << true << QString();
        QTest::newRow("refused") << "WRONG" << QByteArray() << false << "\r\nERROR\r\n";
        QTest::newRow("empty code") << "" << QByteArray() << false << "\r\nERROR\r\n";
        QTest::newRow("OK and ERROR") << "X" << QByteArray("\r\nOK\r\n\r\nERROR\r\n") << false
                                      << "\r\nOK\r\n\r\nERROR\r\n";
        QTest::newRow("information and OK") << "X" << QByteArray("\r\n^AUTH: done\r\n\r\nOK\r\n")
                                            << true << QString();
        QTest::newRow("neither") << "X" << QByteArray("\r\n^AUTH: 7\r\n") << false
                                 << "\r\n^AUTH: 7\r\n";
        QTest::newRow("zero byte inside") << "X" << QByteArray("\r\n\0OK\r\n", 7) << true
                                          << QString();
    }
    void verdict()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, answer);
        QFETCH(bool, ok);
        QFETCH(QString, text);
        SimState s;
        s.acceptedCodes = { QStringLiteral("A1B2C3") };
        SimWorker w(s);
        QVERIFY(w.startAndHandshake());
        if (!answer.isEmpty())
            w.sim.setCommandHook([answer](const QString &line, QByteArray *reply) {
                if (!line.startsWith(QLatin1String("AT^AUTH=")))
                    return false;
                *reply = answer;
                return true;
            });
        w.sim.clearLog();
        qint64 ms = 0;
        const OpResult r = execute(w, code, &ms);
        QCOMPARE(r.op, KZConfigThread::OpPrivileged);
        QCOMPARE(r.ok, ok);
        QCOMPARE(r.text, text);
        QCOMPARE(w.sim.received(), QByteArray("AT^AUTH=") + code.toLatin1() + "\r\n");
        // The answer counts only after 3 s of quiet.
        QVERIFY2(ms >= 2900, qPrintable(QString::number(ms)));
        QTRY_VERIFY(!w.worker.busy);
    }

    void silentModemFails()
    {
        SimWorker w;
        QVERIFY(w.startAndHandshake());
        w.sim.modify([](SimState &st) { st.silent = true; });
        qint64 ms = 0;
        const OpResult r = execute(w, QStringLiteral("A1B2C3"), &ms);
        QCOMPARE(r.op, KZConfigThread::OpPrivileged);
        QVERIFY(!r.ok);
        QCOMPARE(r.text, QString());
        QVERIFY2(ms >= 2900 && ms < 8000, qPrintable(QString::number(ms)));
    }

    // The echo comes at once, the verdict a while later: both are one answer.
    void answerInPieces_data()
    {
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<QByteArray>("verdict");
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK after 1 s") << 1000 << QByteArray("\r\nOK\r\n") << true;
        QTest::newRow("ERROR after 2.5 s") << 2500 << QByteArray("\r\nERROR\r\n") << false;
    }
    void answerInPieces()
    {
        QFETCH(int, gapMs);
        QFETCH(QByteArray, verdict);
        QFETCH(bool, ok);
        SimWorker w;
        QVERIFY(w.startAndHandshake());
        w.sim.modify([](SimState &st) { st.echo = true; });
        w.sim.setCommandHook([gapMs, verdict](const QString &line, QByteArray *reply) {
            if (!line.startsWith(QLatin1String("AT^AUTH=")))
                return false;
            QThread::msleep(gapMs); // the echo has already gone out
            *reply = verdict;
            return true;
        });
        qint64 ms = 0;
        const OpResult r = execute(w, QStringLiteral("C0DE"), &ms);
        QCOMPARE(r.ok, ok);
        if (!ok)
            QCOMPARE(r.text, QStringLiteral("AT^AUTH=C0DE\r") + QString::fromLatin1(verdict));
        // Ends 3 s after the last piece.
        QVERIFY2(ms >= gapMs + 2900 && ms < gapMs + 6000, qPrintable(QString::number(ms)));
    }

    void lineBreakingCodeNotSent_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("CR LF") << QStringLiteral("A1B2C3\r\nAT+CFUN=0");
        QTest::newRow("LF") << QStringLiteral("A1\nB2");
        QTest::newRow("CR") << QStringLiteral("A1B2C3\r");
        QTest::newRow("NUL") << QString::fromLatin1("A1\0B2", 5);
    }
    void lineBreakingCodeNotSent()
    {
        QFETCH(QString, code);
        SimState s;
        s.acceptedCodes = { QStringLiteral("A1B2C3") };
        SimWorker w(s);
        QVERIFY(w.startAndHandshake());
        w.sim.clearLog();
        qint64 ms = 0;
        const OpResult r = execute(w, code, &ms);
        QCOMPARE(r.op, KZConfigThread::OpPrivileged);
        QVERIFY(!r.ok);
        QVERIFY(!r.text.isEmpty());
        QTest::qWait(200);
        QCOMPARE(w.sim.received(), QByteArray());
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
    }
};

QTEST_GUILESS_MAIN(TestPrivileged)
#include "tst_privileged.moc"
