#include "device/exchangelog.h"
#include "device/savetext.h"
#include "device/secretmask.h"
#include "device/terminalmodel.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>

class TestExchangeLog : public QObject
{
    Q_OBJECT

private slots:
    void mask_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("masked");
        QTest::newRow("gprs write") << "> AT+ADDGPRS=inet,internet.mts.ru,mts,secret"
                                    << "> AT+ADDGPRS=inet,internet.mts.ru,mts,***";
        QTest::newRow("gprs password with comma")
                << "> AT+ADDGPRS=a,b,c,se,cr,et" << "> AT+ADDGPRS=a,b,c,***";
        QTest::newRow("gprs reply") << "< +ADDGPRS: inet,apn,user,pw" << "< +ADDGPRS: inet,apn,user,***";
        QTest::newRow("gprs empty password") << "< +ADDGPRS: inet,apn,," << "< +ADDGPRS: inet,apn,,";
        QTest::newRow("gprs delete") << "> AT+DELGPRS=inet" << "> AT+DELGPRS=inet";
        QTest::newRow("ntrip write") << "> AT+ADDNTRIP=n,host,2101,MP,login,cpw,spw,1"
                                     << "> AT+ADDNTRIP=n,host,2101,MP,login,***,***,1";
        QTest::newRow("ntrip reply") << "< +ADDNTRIP: n,host,2101,MP,login,cpw,spw,0"
                                     << "< +ADDNTRIP: n,host,2101,MP,login,***,***,0";
        QTest::newRow("ntrip ambiguous commas") << "< +ADDNTRIP: n,h,1,M,l,c,p,w,x"
                                                << "< +ADDNTRIP: n,h,1,M,l,***";
        QTest::newRow("ntrip short") << "< +ADDNTRIP: n,h,1,M,l,c" << "< +ADDNTRIP: n,h,1,M,l,***";
        QTest::newRow("dyndns write") << "> AT+DYNDNS=me,pw,my.dyndns.org"
                                      << "> AT+DYNDNS=me,***,my.dyndns.org";
        QTest::newRow("dyndns password with comma") << "< +DYNDNS: me,p,w,host"
                                                    << "< +DYNDNS: me,***,host";
        QTest::newRow("bt write") << "> AT+BTMODE=2,0012AB,1234" << "> AT+BTMODE=2,0012AB,***";
        QTest::newRow("bt mode only") << "> AT+BTMODE=1" << "> AT+BTMODE=1";
        QTest::newRow("bt reply") << "< +BTMODE: 2,0012AB,1234" << "< +BTMODE: 2,0012AB,***";
        QTest::newRow("auth") << "> AT^AUTH=12345-ABCDE" << "> AT^AUTH=***";
        QTest::newRow("auth empty") << "> AT^AUTH=" << "> AT^AUTH=";
        QTest::newRow("terminal, lower case, CR LF kept")
                << "> at+addgprs=a,b,c,pw\r\n" << "> at+addgprs=a,b,c,***\r\n";
        QTest::newRow("echo inside a gathered answer")
                << "< AT^AUTH=777\r\nOK\r\n" << "< AT^AUTH=***\r\nOK\r\n";
        QTest::newRow("two lines") << "+BTMODE: 2,m,p\r\n+DYNDNS: a,b,c"
                                   << "+BTMODE: 2,m,***\r\n+DYNDNS: a,***,c";
        QTest::newRow("not a secret") << "< +IPR: 115200" << "< +IPR: 115200";
    }
    void mask()
    {
        QFETCH(QString, text);
        QFETCH(QString, masked);
        QCOMPARE(SecretMask::mask(text), masked);
    }

    void ringKeepsOrderAndBound()
    {
        ExchangeLog log(4);
        for (int i = 1; i <= 6; ++i)
            log.append(QStringLiteral("> %1").arg(i));
        quint64 lost = 0;
        const QList<ExchangeEntry> all = log.entriesAfter(0, &lost);
        QCOMPARE(lost, quint64(2));
        QCOMPARE(all.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(all.at(i).text, QStringLiteral("> %1").arg(i + 3));
            QCOMPARE(all.at(i).seq, quint64(i + 3));
        }
        // Following: only what came after the last entry seen.
        log.append(QStringLiteral("> 7"));
        const QList<ExchangeEntry> more = log.entriesAfter(all.last().seq, &lost);
        QCOMPARE(lost, quint64(0));
        QCOMPARE(more.size(), 1);
        QCOMPARE(more.first().text, QStringLiteral("> 7"));
        log.clear();
        QVERIFY(log.entriesAfter(0).isEmpty());
        log.append(QStringLiteral("> 8"));
        QCOMPARE(log.entriesAfter(0).size(), 1);
    }

    void operationsGroupTheirEntries()
    {
        ExchangeLog log;
        log.append(QStringLiteral("> before"));
        const quint64 op = log.beginOperation(QStringLiteral("handshake"));
        log.append(QStringLiteral("> AT"));
        log.append(QStringLiteral("<! "));
        log.endOperation(QStringLiteral("failed: no answer"));
        log.append(QStringLiteral("> after"));
        log.endOperation(QStringLiteral("ignored")); // outside an operation
        QCOMPARE(log.lastEnded(QStringLiteral("handshake")), op);
        QCOMPARE(log.lastEnded(QStringLiteral("reqInfo")), quint64(0));
        QStringList texts;
        for (const ExchangeEntry &e : log.entriesOf(op))
            texts << e.text;
        QCOMPARE(texts, QStringList({ "start handshake", "> AT", "<! ",
                                      "end handshake: failed: no answer" }));
        QCOMPARE(log.entriesAfter(0).size(), 6);
    }

    void rawReadsLoggedByLine()
    {
        ExchangeLog log;
        log.appendRaw("\r\n+ADDGPRS: a,b,c,pa");
        log.appendRaw("ss\r\nOK");
        log.append(QStringLiteral("> AT")); // ends the unfinished "OK"
        QStringList texts;
        for (const ExchangeEntry &e : log.entriesAfter(0))
            texts << ExchangeLog::format(e, false).mid(24);
        QCOMPARE(texts, QStringList({ "< \\r\\n", "< +ADDGPRS: a,b,c,***\\r\\n", "< OK", "> AT" }));
    }

    void formatAndSink()
    {
        ExchangeLog log;
        QStringList written;
        log.setSink([&](const ExchangeEntry &e) { written << ExchangeLog::format(e, false); });
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        log.append(QStringLiteral("> AT+DYNDNS=me,pw,host"));
        log.append(QString::fromLatin1("< \0x\x01", 5));
        log.setSink(nullptr);
        log.append(QStringLiteral("> unseen"));
        QCOMPARE(written.size(), 2);
        const QDateTime when = QDateTime::fromString(written.at(0).left(23),
                                                     QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
        QVERIFY(when.isValid());
        QVERIFY(when.toMSecsSinceEpoch() >= before - 1000);
        QCOMPARE(written.at(0).mid(24), QStringLiteral("> AT+DYNDNS=me,***,host"));
        QCOMPARE(written.at(1).mid(24), QStringLiteral("< \\x00x\\x01"));
        const QList<ExchangeEntry> all = log.entriesAfter(0);
        QVERIFY(ExchangeLog::formatAll(all, true).contains("me,pw,host"));
        QCOMPARE(ExchangeLog::formatAll(all, false).count(QLatin1Char('\n')), 3);
    }

    void writersOnManyThreads()
    {
        // Every entry of every thread arrives once, each thread's in order.
        ExchangeLog log(100000);
        std::atomic<int> sunk { 0 };
        log.setSink([&](const ExchangeEntry &) { ++sunk; });
        QList<QThread *> threads;
        for (int t = 0; t < 4; ++t) {
            threads << QThread::create([&log, t] {
                for (int i = 0; i < 5000; ++i)
                    log.append(QStringLiteral("%1 %2").arg(t).arg(i));
            });
            threads.last()->start();
        }
        for (QThread *th : threads) {
            th->wait();
            delete th;
        }
        const QList<ExchangeEntry> all = log.entriesAfter(0);
        QCOMPARE(all.size(), 20000);
        QCOMPARE(sunk.load(), 20000);
        int next[4] = { 0, 0, 0, 0 };
        for (const ExchangeEntry &e : all) {
            const QStringList p = e.text.split(QLatin1Char(' '));
            const int t = p.at(0).toInt();
            QCOMPARE(p.at(1).toInt(), next[t]);
            ++next[t];
        }
    }

    void terminalSplitLines_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("one line in three reads")
                << QList<QByteArray> { "O", "K", "\r\n" } << QStringList { "00:00:01.000 OK\r\n" };
        QTest::newRow("two lines in one read, a third begun")
                << QList<QByteArray> { "A\r\nB\r\nC", "D\r\n" }
                << QStringList { "00:00:01.000 A\r\n", "00:00:01.000 B\r\n", "00:00:01.000 CD\r\n" };
    }
    void terminalSplitLines()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QStringList, shown);
        TerminalModel m;
        // Each piece a second later: the line keeps its first byte's time.
        const qint64 base = QDateTime(QDate(2026, 1, 1), QTime(0, 0, 1)).toMSecsSinceEpoch();
        for (int i = 0; i < pieces.size(); ++i)
            m.append(TerminalModel::Received, pieces.at(i), base + i * 1000);
        TerminalModel::RenderOptions o;
        o.timestamps = true;
        QStringList got;
        for (const TerminalModel::Line &l : m.lines())
            got << TerminalModel::render(l, o);
        QCOMPARE(got, shown);
    }

    void terminalSidesStayApart()
    {
        TerminalModel m;
        m.append(TerminalModel::Received, "par", 1);
        QCOMPARE(m.append(TerminalModel::Sent, "AT\r\n", 2), 1);
        QCOMPARE(m.append(TerminalModel::Received, "tial\r\n", 3), 2);
        QCOMPARE(m.lines().size(), 3);
        QCOMPARE(m.lines().at(0).bytes, QByteArray("par"));
        QCOMPARE(m.lines().at(1).direction, TerminalModel::Sent);
        QCOMPARE(m.append(TerminalModel::Received, "more", 4), 3);
        QCOMPARE(m.append(TerminalModel::Received, "\n", 5), 3); // the unfinished line changed
    }

    void terminalHex_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("hex");
        QTest::newRow("CR LF NUL") << QByteArray("O\0K\r\n", 5)
                                   << QString("4F 00 4B 0D 0A ").leftJustified(48) + " O.K..\n";
        QTest::newRow("two rows") << QByteArray("0123456789abcdefXY")
                                  << "30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66  0123456789abcdef\n"
                                     + QString("58 59 ").leftJustified(48) + " XY\n";
        QTest::newRow("garbage") << QByteArray("\xff\x7f", 2)
                                 << QString("FF 7F ").leftJustified(48) + " ..\n";
    }
    void terminalHex()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, hex);
        TerminalModel::Line line { TerminalModel::Received, 0, bytes };
        TerminalModel::RenderOptions o;
        o.hex = true;
        QCOMPARE(TerminalModel::render(line, o), hex);
        // Text view: a zero byte ends the text, the line end stays.
        o.hex = false;
        if (bytes.contains('\0'))
            QCOMPARE(TerminalModel::render(line, o), QStringLiteral("O\r\n"));
    }

    void terminalBoundAndNotice()
    {
        TerminalModel m(100);
        bool dropped = true;
        for (int i = 0; i < 100; ++i)
            m.append(TerminalModel::Received, QByteArray::number(i) + "\n", i, &dropped);
        QVERIFY(!dropped);
        QVERIFY(m.notice().isEmpty());
        QCOMPARE(m.append(TerminalModel::Received, "100\n", 100, &dropped), 0);
        QVERIFY(dropped);
        QCOMPARE(m.lines().size(), 90);
        QCOMPARE(m.lines().first().bytes, QByteArray("11\n"));
        const QString text = m.toText({});
        QVERIFY(text.startsWith(m.notice()));
        QCOMPARE(text.count(QStringLiteral("удалены")), 1);
        QVERIFY(m.notice().contains("11"));
        m.clear();
        QVERIFY(m.lines().isEmpty());
        QVERIFY(m.toText({}).isEmpty());
    }

    void saveWholeOrNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("term.txt");
        QVERIFY(saveTextFile(path, QStringLiteral("Ответ: OK\r\n")));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), QStringLiteral("Ответ: OK\r\n"));
        f.close();
        // A directory in the way: nothing written, the old file stays.
        QString error;
        QVERIFY(!saveTextFile(dir.filePath("no/such/dir/x.txt"), QStringLiteral("x"), &error));
        QVERIFY(!error.isEmpty());
        // A directory by that name: refused, and no stray file is left.
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        QVERIFY(!saveTextFile(dir.filePath("taken"), QStringLiteral("x")));
        QVERIFY(QFileInfo(dir.filePath("taken")).isDir());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "term.txt" });
    }
};

QTEST_GUILESS_MAIN(TestExchangeLog)
#include "tst_exchangelog.moc"
