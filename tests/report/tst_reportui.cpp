// The report from the window: choosing the file, collecting, and writing it
// whole, with a second chance when the chosen file cannot be written.
#include "config/reportfile.h"
#include "support/windowrig.h"

#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The window connected to a simulated modem, its connection chain done.
struct Rig : WindowOnSim {
    bool connect()
    {
        SimState s;
        s.stores = { { "SETTINGS", "mode=1\r\n" } };
        s.gprs = { { "mts", "internet", "u", "p" } };
        // The configuration read follows the identity; wait until it is done.
        return connectTo(s) && QTest::qWaitFor(
                [this] {
                    return w.form()->reportButton->isEnabled() && !w.kz()->busy
                            && !w.kz()->config.gprsProfiles.isEmpty();
                },
                30000);
    }
    QString status() const { return w.form()->statusBar->currentMessage(); }
};

} // namespace

class TestReportUi : public QObject
{
    Q_OBJECT

private slots:
    void cancelStartsNothing()
    {
        Rig r;
        QVERIFY(r.connect());
        const QString before = r.status();
        r.sim.clearLog();
        QTest::mouseClick(r.w.form()->reportButton, Qt::LeftButton);
        QCOMPARE(r.w.lastFilter, QStringLiteral("*.kzrep"));
        QTest::qWait(500);
        QVERIFY(r.sim.commands().isEmpty());
        QCOMPARE(r.status(), before);
        QVERIFY(r.w.boxes.isEmpty());
    }

    void completedReportIsSaved()
    {
        Rig r;
        QVERIFY(r.connect());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("modem.kzrep"));
        r.w.form()->reportProfiles->setChecked(true);
        r.w.fileAnswers << path << dir.filePath(QStringLiteral("second.kzrep"));
        QTest::mouseClick(r.w.form()->reportButton, Qt::LeftButton);
        QCOMPARE(r.status(), QStringLiteral("Подождите, идёт сбор данных..."));
        // A second click while the first report runs does not take its file.
        QTest::mouseClick(r.w.form()->reportButton, Qt::LeftButton);
        QCOMPARE(r.w.fileAnswers.size(), 1);

        QTRY_COMPARE_WITH_TIMEOUT(r.status(), QStringLiteral("Отчёт сохранён."), 60000);
        QVERIFY(r.w.boxes.isEmpty());
        QString report, error;
        QVERIFY2(ReportFile::read(path, &report, &error), qPrintable(error));
        QVERIFY(report.startsWith(QStringLiteral("*** SENT ***\r\nAT^JINFO,0\r\n*** RCVD ***\r\n")));
        // The profiles come from the record the window read at connect.
        QVERIFY(report.contains(QStringLiteral("*** GPRS ***\r\nmts internet u p\r\n")));
        QVERIFY(report.contains(QStringLiteral("*** RMS-SETTINGS ***\r\n\r\nmode=1\r\n")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("second.kzrep"))));
    }

    // The file cannot be written: a warning names it and the reason, the
    // older file there stays as it was, and the report goes to the next file
    // chosen, or is dropped when the user cancels.
    void unwritableFileAsksAgain_data()
    {
        QTest::addColumn<bool>("chooseAnother");
        QTest::newRow("another file") << true;
        QTest::newRow("cancel") << false;
    }
    void unwritableFileAsksAgain()
    {
        QFETCH(bool, chooseAnother);
        Rig r;
        QVERIFY(r.connect());
        QTemporaryDir dir;
        // As root nothing but the file system itself refuses: this name
        // leaves no room for the side file that a whole write needs.
        const QString bad = dir.filePath(QString(250, QLatin1Char('k')));
        const QByteArray older = ReportFile::encode(QStringLiteral("older"));
        {
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(older);
        }
        const QString good = dir.filePath(QStringLiteral("good.kzrep"));
        r.w.fileAnswers << bad;
        if (chooseAnother)
            r.w.fileAnswers << good;
        QTest::mouseClick(r.w.form()->reportButton, Qt::LeftButton);

        QTRY_COMPARE_WITH_TIMEOUT(r.w.boxes.size(), 1, 60000);
        const ShownBox box = r.w.boxes.first();
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.title, QStringLiteral("Ошибка"));
        QVERIFY(box.text.startsWith(QStringLiteral("Не удалось сохранить отчёт")));
        QVERIFY(box.text.contains(bad));
        QCOMPARE(fileBytes(bad), older);
        QVERIFY(r.w.fileAnswers.isEmpty());
        if (chooseAnother) {
            QCOMPARE(r.status(), QStringLiteral("Отчёт сохранён."));
            QString report;
            QVERIFY(ReportFile::read(good, &report));
            QVERIFY(report.contains(QStringLiteral("*** RMS ***")));
        } else {
            QVERIFY(r.status() != QStringLiteral("Отчёт сохранён."));
            QVERIFY(!QFile::exists(good));
        }
        QCOMPARE(r.w.boxes.size(), 1);
    }
};

QTEST_MAIN(TestReportUi)
#include "tst_reportui.moc"
