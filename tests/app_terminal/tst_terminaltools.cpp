// The terminal's timestamps, hex view, clearing, saving and bound in the
// window; the exchange log's window; the details of a failed write's box.
#include "app/exchangelogwindow.h"
#include "app/terminalview.h"
#include "support/windowrig.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>

namespace {

QString readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TestTerminalTools : public QObject
{
    Q_OBJECT

private slots:
    void timestampsHexClearSave()
    {
        WindowOnSim f;
        QVERIFY(f.connectTo());
        TerminalView *t = f.w.terminal();
        Ui::MainWindow *ui = f.ui();
        t->clearButton()->click();
        QVERIFY(ui->termLog->toPlainText().isEmpty());
        t->timestampsBox()->setChecked(true);

        // A line in two pieces stays one line, stamped once.
        f.sim.unsolicited("+CR");
        QVERIFY(waitUntil([&] { return textIn(ui->termLog, Qt::darkBlue).contains("+CR"); }, 3000));
        f.sim.unsolicited(QByteArray("ING\r\n\0", 6));
        QVERIFY(waitUntil([&] { return textIn(ui->termLog, Qt::darkBlue).contains("RING"); }, 3000));
        const QRegularExpression stamped("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d \\+CRING$");
        QVERIFY2(stamped.match(ui->termLog->document()->firstBlock().text()).hasMatch(),
                 qPrintable(ui->termLog->toPlainText()));

        ui->termCmd->setText(QStringLiteral("AT"));
        ui->termSend->click();
        QVERIFY(waitUntil([&] { return textIn(ui->termLog, Qt::darkBlue).contains("OK"); }, 3000));

        // Hex: both sides, CR, LF and NUL visible.
        t->hexBox()->setChecked(true);
        QVERIFY(textIn(ui->termLog, Qt::darkBlue).contains("2B 43 52 49 4E 47 0D 0A"));
        QVERIFY(textIn(ui->termLog, Qt::darkBlue).contains("00 "));
        QVERIFY(textIn(ui->termLog, Qt::darkRed).contains("41 54 0D 0A"));
        QVERIFY(textIn(ui->termLog, Qt::darkRed).contains("AT.."));

        // Saved as shown, in UTF-8.
        QTemporaryDir dir;
        const QString path = dir.filePath("term.txt");
        f.w.fileAnswers.enqueue(path);
        t->saveButton()->click();
        QCOMPARE(readFile(path), ui->termLog->toPlainText());
        QVERIFY(f.w.boxes.isEmpty());

        // A save that cannot be made: one box, and the old file stays.
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        f.w.fileAnswers.enqueue(dir.filePath("taken"));
        t->saveButton()->click();
        QCOMPARE(f.w.boxes.size(), 1);
        QCOMPARE(f.w.boxes.at(0).text, QStringLiteral("Не удалось сохранить журнал."));
        QVERIFY(QFileInfo(dir.filePath("taken")).isDir());

        t->clearButton()->click();
        QVERIFY(ui->termLog->toPlainText().isEmpty());
        QVERIFY(t->model().lines().isEmpty());
        // The history survives clearing.
        QTest::keyClick(ui->termCmd, Qt::Key_Up);
        QCOMPARE(ui->termCmd->text(), QStringLiteral("AT"));
    }

    void boundWithNotice()
    {
        TestWindow w;
        TerminalView *t = w.terminal();
        const int max = t->model().maxLines();
        for (int i = 0; i < max + 5; ++i)
            t->append(TerminalModel::Received, "line " + QByteArray::number(i) + "\r\n");
        QVERIFY(t->model().lines().size() <= max);
        const QString shown = w.form()->termLog->toPlainText();
        QVERIFY(shown.startsWith(QStringLiteral("[Более ранние строки удалены: ")));
        QCOMPARE(shown.count(QStringLiteral("удалены")), 1);
        QVERIFY(shown.endsWith(QStringLiteral("line %1\n").arg(max + 4)));
        QVERIFY(!shown.contains(QStringLiteral("line 0\n")));
    }

    void exchangeLogWindowFollowsAndSaves()
    {
        WindowOnSim f;
        QVERIFY(f.connectTo());
        f.w.findChild<QPushButton *>("exchangeLogButton")->click();
        ExchangeLogWindow *lw = f.w.exchangeLogWindow();
        QVERIFY(lw->isVisible());
        QVERIFY(lw->view()->isReadOnly());

        Ui::MainWindow *ui = f.ui();
        ui->termCmd->setText(QStringLiteral("AT+BTMODE=2,0012AB,4321"));
        ui->termSend->click();
        QVERIFY(waitUntil([&] {
            return lw->view()->toPlainText().contains("> AT+BTMODE=2,0012AB,***\\r\\n");
        }, 5000));
        QVERIFY(!lw->view()->toPlainText().contains("4321"));

        QTemporaryDir dir;
        f.w.fileAnswers.enqueue(dir.filePath("masked.log"));
        lw->saveButton()->click();
        const QString masked = readFile(dir.filePath("masked.log"));
        QVERIFY(masked.contains(" start reqConfig ff\n"));
        QVERIFY(masked.contains("> AT+BTMODE=2,0012AB,***"));
        QVERIFY(!masked.contains("4321"));

        lw->secretsBox()->setChecked(true);
        QVERIFY(lw->view()->toPlainText().contains("AT+BTMODE=2,0012AB,4321"));
        f.w.fileAnswers.enqueue(dir.filePath("secrets.log"));
        lw->saveButton()->click();
        QVERIFY(readFile(dir.filePath("secrets.log")).contains("AT+BTMODE=2,0012AB,4321"));
        lw->hide();
    }

    void failedWriteBoxHasDetails()
    {
        WindowOnSim f;
        QVERIFY(f.connectTo());
        f.sim.setCommandHook([](const QString &line, QByteArray *reply) {
            if (!line.startsWith(QLatin1String("AT+DYNDNS=")))
                return false;
            *reply = "\r\nERROR\r\n";
            return true;
        });
        KZConfig copy = f.w.kz()->config;
        copy.dyndnsLogin = "me";
        copy.dyndnsPassword = "t0psecret";
        copy.dyndnsDomain = "host.example";
        const int writes = f.writes.size();
        const int reads = f.reads.size();
        QMetaObject::invokeMethod(f.w.kz(), "modConfig", Qt::QueuedConnection,
                                  Q_ARG(KZConfig, copy), Q_ARG(int, KZConfig::ConfigDyndns));
        QVERIFY(f.waitWriteAndReadBack(writes, reads));
        QVERIFY(!f.w.boxes.isEmpty());
        const ShownBox &box = f.w.boxes.first();
        QCOMPARE(box.text, QStringLiteral("Не удалось выполнить команду. Попробуйте отключиться от "
                                          "модема, подключиться ещё раз и выполнить настройку "
                                          "заново."));
        QVERIFY2(box.details.contains(" start modConfig 20\n"), qPrintable(box.details));
        QVERIFY(box.details.contains(" > AT+DYNDNS=me,***,host.example\n"));
        QVERIFY(box.details.contains(" < ERROR\n"));
        QVERIFY(box.details.contains(" end modConfig: OK 0  ERR 20\n"));
        QVERIFY(!box.details.contains("t0psecret"));
        f.sim.setCommandHook(nullptr);
    }
};

QTEST_MAIN(TestTerminalTools)
#include "tst_terminaltools.moc"
