// The report collected from the simulated modem: its sections in order, the
// store dump with and without profiles, answers taken as soon as they are
// complete, a silent modem and a lost line.
#include "support/simfixture.h"

#include <QElapsedTimer>
#include <QThread>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// What the simulated modem puts on the line for one answer.
QString simLine(const QString &text)
{
    return CrLf + text + CrLf;
}
const QString SimOk = QStringLiteral("\r\nOK\r\n");

QString infoSection(int i, const QString &answer)
{
    return QStringLiteral("*** SENT ***\r\nAT^JINFO,%1\r\n*** RCVD ***\r\n").arg(i) + answer;
}

SimState reportModem()
{
    SimState s;
    for (int i = 0; i < 16; ++i)
        s.infoOverride.insert(i, QStringLiteral("v%1").arg(i));
    s.stores = { { "NTRIP0", "rtk,1.2.3.4\r\n" },
                 { "SETTINGS", "baud=115200\r\nmode=1\r\n" },
                 { "GPRS0", "mts,internet\r\n" },
                 { "LOG", "" } };
    return s;
}

KZConfig reportRecord()
{
    KZConfig c;
    c.btMode = 2;
    c.btMac = QStringLiteral("0012F3A4B5C6");
    c.btPin = QStringLiteral("1234");
    c.gprsProfiles = { { "mts", "internet.mts.ru", "mts", "pw" } };
    NtripProfile n;
    n.name = "rtk";
    n.address = "1.2.3.4";
    n.port = "2101";
    n.mountpoint = "MSK0";
    n.clientLogin = "user";
    n.clientPassword = "cpw";
    n.serverPassword = "spw";
    n.sourcetable = "STR;MSK0";
    c.ntripProfiles = { n };
    c.dyndnsLogin = "login";
    c.dyndnsPassword = "secret";
    c.dyndnsDomain = "base.dyndns.org";
    return c;
}

struct ReportRun {
    QString text;
    QList<QPair<int, int>> values;
    bool done = false;
    qint64 ms = 0;
};

// Starts the report with the record set and waits for it.
ReportRun collectReport(SimWorker &w, bool profiles, const KZConfig &record, int timeoutMs = 90000,
                        bool *busySeen = nullptr)
{
    ReportRun r;
    w.worker.config = record; // read by the worker only after the queued call
    QObject ctx;
    QObject::connect(&w.worker, &KZConfigThread::progressValue, &ctx,
                     [&](int v, int m) { r.values << qMakePair(v, m); });
    if (busySeen)
        // Looked at on the worker's thread, as each query starts.
        QObject::connect(
                &w.worker, &KZConfigThread::progress, &ctx,
                [&w, busySeen](const QString &) { *busySeen = *busySeen && w.worker.busy; },
                Qt::DirectConnection);
    QElapsedTimer t;
    t.start();
    r.done = w.client.collectReport(profiles, &r.text, timeoutMs);
    r.ms = t.elapsed();
    return r;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void sectionsInOrder_data()
    {
        QTest::addColumn<bool>("profiles");
        QTest::addColumn<bool>("emptyRecord");
        QTest::newRow("without profiles") << false << false;
        QTest::newRow("with profiles") << true << false;
        QTest::newRow("with profiles, none read") << true << true;
    }
    void sectionsInOrder()
    {
        QFETCH(bool, profiles);
        QFETCH(bool, emptyRecord);
        SimWorker w(reportModem());
        QVERIFY(w.startAndHandshake());
        KZConfig record = reportRecord();
        if (emptyRecord) {
            record = KZConfig();
            record.btMode = 1;
        }
        bool busyAll = true;
        const ReportRun r = collectReport(w, profiles, record, 60000, &busyAll);
        QVERIFY(r.done);
        QVERIFY(busyAll);

        QString expected;
        for (int i = 0; i < 16; ++i)
            expected += infoSection(i, simLine(QStringLiteral("JI%1:v%1").arg(i)) + SimOk);
        expected += QStringLiteral("*** BLUETOOTH ***\r\n");
        expected += emptyRecord ? QStringLiteral("+BTMODE: 1,,\r\n")
                                : QStringLiteral("+BTMODE: 2,0012F3A4B5C6,1234\r\n");
        if (profiles && !emptyRecord)
            expected += QStringLiteral("*** GPRS ***\r\nmts internet.mts.ru mts pw\r\n"
                                       "*** NTRIP ***\r\nrtk 1.2.3.4 2101 MSK0 user cpw spw STR;MSK0\r\n"
                                       "*** DYNDNS ***\r\nlogin secret base.dyndns.org\r\n");
        if (profiles && emptyRecord)
            expected += QStringLiteral("*** GPRS ***\r\n*** NTRIP ***\r\n*** DYNDNS ***\r\n  \r\n");
        expected += QStringLiteral("*** RMS ***\r\n") + simLine("NTRIP0") + simLine("SETTINGS")
                + simLine("GPRS0") + simLine("LOG") + SimOk;
        if (!profiles)
            expected += QStringLiteral("*** RMS-NTRIP0 ***\r\n") + CrLf + "rtk,1.2.3.4\r\n" + SimOk;
        expected += QStringLiteral("*** RMS-SETTINGS ***\r\n") + CrLf + "baud=115200\r\nmode=1\r\n"
                + SimOk;
        if (!profiles)
            expected += QStringLiteral("*** RMS-GPRS0 ***\r\n") + CrLf + "mts,internet\r\n" + SimOk;
        expected += QStringLiteral("*** RMS-LOG ***\r\n") + CrLf + SimOk;
        QCOMPARE(r.text, expected);

        // The stores left out are not even asked for.
        const QStringList sent = w.sim.commands();
        QCOMPARE(sent.contains(QStringLiteral("AT^JRMS,NTRIP0")), !profiles);
        QCOMPARE(sent.contains(QStringLiteral("AT^JRMS,GPRS0")), !profiles);

        // The bar counts every query, its end grows with the store list, and
        // it is closed at the end.
        const int stores = profiles ? 2 : 4;
        QVERIFY(r.values.size() >= 17 + stores);
        QCOMPARE(r.values.first(), qMakePair(0, 17));
        QCOMPARE(r.values.last(), qMakePair(0, 0));
        QCOMPARE(r.values.at(r.values.size() - 2), qMakePair(17 + stores, 17 + stores));
        for (int i = 1; i < r.values.size() - 1; ++i)
            QVERIFY(r.values[i].first >= r.values[i - 1].first);
        QVERIFY(w.progress.contains(QStringLiteral("Сбор данных: запрос 4 из 17 (AT^JINFO,3)")));
        QVERIFY(w.progress.contains(
                QStringLiteral("Сбор данных: запрос %1 из %2 (AT^JRMS,SETTINGS)")
                        .arg(profiles ? 18 : 19)
                        .arg(17 + stores)));
        QTRY_VERIFY(!w.worker.busy);
    }

    // Answers are taken once complete, yet a slow answer within the old fixed
    // time, a cut answer and one after a zero byte come out as that time gave.
    void answersTakenWhenComplete()
    {
        SimState s;
        s.stores = { { "A", "one\r\n" }, { "B", "two\r\n" } };
        SimWorker w(s);
        QVERIFY(w.startAndHandshake());
        w.sim.setCommandHook([](const QString &line, QByteArray *reply) {
            if (line == QLatin1String("AT^JINFO,3")) {
                QThread::msleep(2000);
                *reply = "\r\nJI3:late\r\n\r\nOK\r\n";
                return true;
            }
            if (line == QLatin1String("AT^JINFO,5")) {
                *reply = "\r\nJI5:cut"; // never completed: taken at the upper bound
                return true;
            }
            if (line == QLatin1String("AT^JINFO,6")) {
                *reply = QByteArray("\r\nJI6:a\0b\r\n\r\nOK\r\n", 17);
                return true;
            }
            if (line == QLatin1String("AT^JRMS,B")) {
                *reply = "\r\n+CME ERROR: 3\r\n\r\nERROR: busy\r\n";
                return true;
            }
            return false;
        });
        const ReportRun r = collectReport(w, false, KZConfig());
        QVERIFY(r.done);
        QVERIFY(r.text.contains(infoSection(3, QStringLiteral("\r\nJI3:late\r\n\r\nOK\r\n"))
                                + infoSection(4, QStringLiteral("\r\nJI4:1\r\n\r\nOK\r\n"))));
        QVERIFY(r.text.contains(infoSection(5, QStringLiteral("\r\nJI5:cut")) + infoSection(6, QString::fromLatin1("\r\nJI6:a\0b\r\n\r\nOK\r\n", 17))
                                + infoSection(7, "\r\nJI7:7\r\n")));
        QVERIFY(r.text.endsWith(QStringLiteral("*** RMS-A ***\r\n\r\none\r\n\r\nOK\r\n"
                                               "*** RMS-B ***\r\n\r\n+CME ERROR: 3\r\n\r\nERROR: busy\r\n")));
        // 2 s late answer + 3 s for the cut one; the rest without waiting out
        // their bounds (which would be 53 s and more).
        QVERIFY2(r.ms < 12000, qPrintable(QString::number(r.ms)));
        QVERIFY2(r.ms >= 5000, qPrintable(QString::number(r.ms)));
    }

    // A modem that hears but never answers: every upper bound is waited out
    // once, and the report holds only headers and the record's data.
    void silentModem()
    {
        SimState s;
        SimWorker w(s);
        QVERIFY(w.startAndHandshake());
        w.sim.modify([](SimState &st) { st.silent = true; });
        KZConfig record;
        record.btMode = 0;
        record.gprsProfiles = { { "mts", "apn", "", "" } };
        const ReportRun r = collectReport(w, true, record, 120000);
        QVERIFY(r.done);
        QString expected;
        for (int i = 0; i < 16; ++i)
            expected += infoSection(i, QString());
        expected += QStringLiteral("*** BLUETOOTH ***\r\n+BTMODE: 0,,\r\n"
                                   "*** GPRS ***\r\nmts apn  \r\n*** NTRIP ***\r\n*** DYNDNS ***\r\n  \r\n"
                                   "*** RMS ***\r\n");
        QCOMPARE(r.text, expected);
        QVERIFY2(r.ms >= 16 * 3000 + 5000 - 500 && r.ms < 16 * 3000 + 5000 + 8000,
                 qPrintable(QString::number(r.ms)));
    }

    // The line goes during an information query: nothing more is sent, the
    // report keeps its headers and says where the line was lost.
    void lostLine()
    {
        SimState s;
        s.stores = { { "A", "one\r\n" } };
        SimWorker w(s);
        QVERIFY(w.startAndHandshake());
        SimModem *sim = &w.sim;
        w.sim.setCommandHook([sim](const QString &line, QByteArray *) {
            if (line != QLatin1String("AT^JINFO,4"))
                return false;
            sim->dropLine();
            return true;
        });
        KZConfig record;
        record.btMode = 1;
        const ReportRun r = collectReport(w, false, record, 30000);
        QVERIFY(r.done);
        QString expected;
        for (int i = 0; i < 16; ++i) {
            QString answer;
            if (i < 4)
                answer = simLine(QStringLiteral("JI%1:%2").arg(i).arg(
                                 i == 0 ? QStringLiteral("KZ520") : QString::number(i)))
                        + SimOk;
            expected += infoSection(i, answer);
        }
        expected += QStringLiteral("*** BLUETOOTH ***\r\n+BTMODE: 1,,\r\n*** RMS ***\r\n"
                                   "*** LINE LOST ***\r\nAT^JINFO,4\r\n");
        QCOMPARE(r.text, expected);
        QVERIFY(!w.sim.commands().contains(QStringLiteral("AT^JINFO,5")));
        QVERIFY2(r.ms < 10000, qPrintable(QString::number(r.ms)));
        QCOMPARE(r.values.last(), qMakePair(0, 0));
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
