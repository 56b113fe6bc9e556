// Progress texts: counts of the total, tenths, rate and time left, from
// handed-in times (no clock is read).
#include "firmware/transferprogress.h"

#include <QTest>

class TestTransferProgress : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("step");
        QTest::addColumn<qint64>("done");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("line");

        QTest::newRow("bytes, rounded to 50%")
                << int(TransferProgress::Bytes) << "Обновление ПО: передача файла cfg.txt"
                << qint64(30720) << qint64(61773)
                << "Обновление ПО: cfg.txt: 30720 из 61773 байт (50%)";
        QTest::newRow("queries") << int(TransferProgress::Queries)
                                 << "Сбор данных: запрос 12 из 40 (AT+CSQ)" << qint64(12)
                                 << qint64(40) << "Сбор данных: запрос 12 из 40 (30%)";
        QTest::newRow("past the total is the total")
                << int(TransferProgress::Bytes) << "Шаг" << qint64(900) << qint64(500)
                << "Шаг: 500 из 500 байт (100%)";
        QTest::newRow("no step") << int(TransferProgress::Bytes) << "" << qint64(0) << qint64(10)
                                 << "0 из 10 байт (0%)";
    }

    void lines()
    {
        QFETCH(int, unit);
        QFETCH(QString, step);
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        QFETCH(QString, line);
        TransferProgress p { TransferProgress::Unit(unit) };
        p.setStep(step);
        QVERIFY(p.update(done, total, 0));
        QCOMPARE(p.line(), line);
    }

    // One line a tenth, however many updates arrive.
    void tenths()
    {
        TransferProgress p;
        QList<int> printed;
        for (qint64 done = 0; done <= 61773; done += 1024)
            if (p.update(done, 61773, done))
                printed << p.percent();
        if (p.update(61773, 61773, 70000))
            printed << p.percent();
        QCOMPARE(printed, (QList<int> { 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100 }));
        QVERIFY(!p.update(61773, 61773, 80000));
        QVERIFY(!p.update(0, 0, 80000)); // the counted part ends
        QVERIFY(!p.active());
        QVERIFY(p.update(5, 61773, 90000)); // a new run starts afresh
    }

    void rateAndTimeLeft_data()
    {
        QTest::addColumn<qint64>("startMs");
        QTest::addColumn<qint64>("nowMs");
        QTest::addColumn<qint64>("done");
        QTest::addColumn<QString>("details");
        QTest::newRow("unknown at first") << qint64(1000) << qint64(1000) << qint64(0)
                                          << "0 из 102400 байт, ? Б/с, осталось ?";
        QTest::newRow("kilobytes") << qint64(1000) << qint64(11000) << qint64(51200)
                                   << "51200 из 102400 байт, 5.0 КБ/с, осталось 0:10";
        QTest::newRow("slow, hours") << qint64(0) << qint64(100000) << qint64(1000)
                                     << "1000 из 102400 байт, 10 Б/с, осталось 2:49:00";
    }

    void rateAndTimeLeft()
    {
        QFETCH(qint64, startMs);
        QFETCH(qint64, nowMs);
        QFETCH(qint64, done);
        QFETCH(QString, details);
        TransferProgress p;
        p.update(0, 102400, startMs);
        p.update(done, 102400, nowMs);
        QCOMPARE(p.details(), details);
    }

    void statusLine()
    {
        TransferProgress p;
        p.setStep("Обновление ПО: передача файла a.jar");
        p.update(0, 1000, 0);
        p.update(500, 1000, 1000);
        QCOMPARE(p.statusLine(10),
                 QStringLiteral("Обновление ПО: a.jar [#####.....] 50% 500 из 1000 байт, 500 Б/с, "
                                "осталось 0:01"));
    }

    void durations_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0:00";
        QTest::newRow("minute") << qint64(65) << "1:05";
        QTest::newRow("hour") << qint64(3723) << "1:02:03";
        QTest::newRow("negative") << qint64(-5) << "0:00";
    }

    void durations()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(TransferProgress::duration(seconds), text);
    }
};

QTEST_GUILESS_MAIN(TestTransferProgress)
#include "tst_transferprogress.moc"
