// The exchange log as the worker and the command line feed it: entries of a
// connect and of a failed write, in order, and a log file that a killed
// command line leaves complete.
#include "device/exchangelog.h"
#include "support/simfixture.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class TestExchangeLogWorker : public QObject
{
    Q_OBJECT

private slots:
    void connectAndFailedWrite()
    {
        ExchangeLog &log = ExchangeLog::global();
        const quint64 start = log.lastSeq();
        SimState state;
        state.gprs = { { "inet", "internet", "user", "pass" } };
        SimWorker w(state);
        QVERIFY(w.start());
        QVERIFY(w.connectAll());
        // The modem refuses the profile.
        w.sim.setCommandHook([](const QString &line, QByteArray *reply) {
            if (!line.startsWith(QLatin1String("AT+ADDGPRS=")))
                return false;
            *reply = "\r\nERROR\r\n";
            return true;
        });
        KZConfig copy = w.worker.config;
        copy.gprsProfiles = { GprsProfile { "inet", "internet", "user", "n3w" } };
        QVERIFY(w.writeConfig(copy, KZConfig::ConfigGprs, 20000) != qMakePair(-1, -1));
        QCOMPARE(w.configs.first(), qMakePair(0, int(KZConfig::ConfigGprs)));

        const QList<ExchangeEntry> entries = log.entriesAfter(start);
        QStringList texts;
        qint64 last = 0;
        for (const ExchangeEntry &e : entries) {
            texts << e.text;
            QVERIFY(e.msecs >= last);
            last = e.msecs;
        }
        QVERIFY(qAbs(QDateTime::currentMSecsSinceEpoch() - last) < 60000);
        auto at = [&](const QString &t) { return texts.indexOf(t); };
        const QStringList order = { "start doConnect " + w.sim.portName(), "end doConnect: ok",
                                    "start handshake", "end handshake: ok", "start reqInfo",
                                    "> AT^JINFO,0", "< JI0:KZ520", "end reqInfo: ok",
                                    "start modConfig 8", "> AT+ADDGPRS=inet,internet,user,n3w",
                                    "< ERROR", "end modConfig: OK 0  ERR 8" };
        int prev = -1;
        for (const QString &t : order) {
            const int i = at(t);
            QVERIFY2(i > prev, qPrintable(t));
            prev = i;
        }
        // The write's entries belong to its operation, and the saved form
        // hides the password.
        const quint64 op = log.lastEnded(QStringLiteral("modConfig"));
        const QList<ExchangeEntry> ofWrite = log.entriesOf(op);
        QCOMPARE(ofWrite.first().text, QStringLiteral("start modConfig 8"));
        QCOMPARE(ofWrite.last().text, QStringLiteral("end modConfig: OK 0  ERR 8"));
        const QString saved = ExchangeLog::formatAll(ofWrite, false);
        QVERIFY(saved.contains("> AT+ADDGPRS=inet,internet,user,***"));
        QVERIFY(!saved.contains("n3w"));
        QVERIFY(ExchangeLog::formatAll(ofWrite, true).contains("n3w"));
    }

    void killedCommandLineLeavesItsLog_data()
    {
        QTest::addColumn<bool>("secrets");
        QTest::newRow("masked") << false;
        QTest::newRow("--log-secrets") << true;
    }
    void killedCommandLineLeavesItsLog()
    {
        QFETCH(bool, secrets);
        SimState state;
        state.gprs = { { "inet", "internet", "user", "pa55" } };
        state.ntrip = { { "src", "caster", "2101", "MP1", "cl", "cpw", "spw", "0" } };
        // Slow replies: the read is still running when the program is killed.
        state.replyDelayMs = 200;
        SimModem sim;
        sim.setState(state);
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QString path = dir.filePath("exchange.log");
        QStringList args = { "--port", sim.portName(), "--log", path };
        if (secrets)
            args << "--log-secrets";
        args << "read";
        QProcess p;
        p.start(QStringLiteral(KZCONFIG_CLI), args);
        QVERIFY(p.waitForStarted(10000));
        auto logText = [&] {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        };
        QVERIFY(QTest::qWaitFor([&] { return logText().contains("+ADDNTRIP: "); }, 30000));
        p.kill();
        QVERIFY(p.waitForFinished(10000));

        const QString text = logText();
        QVERIFY(text.endsWith('\n'));
        const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
        for (const QString &l : lines)
            QVERIFY2(QDateTime::fromString(l.left(23), "yyyy-MM-dd hh:mm:ss.zzz").isValid(),
                     qPrintable(l));
        QVERIFY(text.contains(" start reqConfig ff\n"));
        QVERIFY(text.contains(" > AT+ADDGPRS?\n"));
        if (secrets) {
            QVERIFY(text.contains(" < +ADDGPRS: inet,internet,user,pa55\n"));
            QVERIFY(text.contains(" < +ADDNTRIP: src,caster,2101,MP1,cl,cpw,spw,0\n"));
        } else {
            QVERIFY(text.contains(" < +ADDGPRS: inet,internet,user,***\n"));
            QVERIFY(text.contains(" < +ADDNTRIP: src,caster,2101,MP1,cl,***,***,0\n"));
            QVERIFY(!text.contains("pa55"));
        }
        sim.stop();
    }
};

QTEST_GUILESS_MAIN(TestExchangeLogWorker)
#include "tst_exchangelogworker.moc"
