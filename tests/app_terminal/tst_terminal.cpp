// The terminal tab against the simulated modem: what goes on the line, what
// the log shows in which colour, and that an operation keeps the terminal off
// the line.
#include "support/windowrig.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <atomic>

namespace {

void typeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    for (const QChar c : text)
        QTest::keyClick(edit, c.toLatin1());
}

} // namespace

class TestTerminal : public QObject
{
    Q_OBJECT

private slots:
    void withoutPortNothingHappens();
    void sendShowsLineAndReply();
    void operationKeepsTerminalOff();
    void hangUpKeepsGuardTimesAndWindowLive();
    void historyRecall();
};

void TestTerminal::withoutPortNothingHappens()
{
    TestWindow w;
    Ui::MainWindow *ui = w.form();
    typeInto(ui->termCmd, QStringLiteral("AT"));
    QTest::keyClick(ui->termCmd, Qt::Key_Return);
    ui->termSend->click();
    ui->termPpp->click();
    ui->termAth->click();
    QTest::qWait(50);
    QCOMPARE(ui->termCmd->text(), QStringLiteral("AT"));
    QVERIFY(ui->termLog->toPlainText().isEmpty());
    // Nothing was sent, so there is nothing to recall.
    ui->termCmd->clear();
    QTest::keyClick(ui->termCmd, Qt::Key_Up);
    QVERIFY(ui->termCmd->text().isEmpty());
}

void TestTerminal::sendShowsLineAndReply()
{
    WindowOnSim f;
    QVERIFY(f.connectTo());
    Ui::MainWindow *ui = f.ui();

    // The hook marks when the modem answers, so the delay until the log shows
    // the answer can be measured.
    QElapsedTimer clock;
    clock.start();
    std::atomic<qint64> answeredAt { -1 };
    f.sim.setCommandHook([&](const QString &line, QByteArray *reply) {
        if (line != QLatin1String("AT"))
            return false;
        answeredAt = clock.elapsed();
        // Text after a zero byte is not shown.
        *reply = QByteArray("\r\nOK\r\n\0junk", 11);
        return true;
    });
    f.sim.clearLog();

    typeInto(ui->termCmd, QStringLiteral("AT"));
    QTest::keyClick(ui->termCmd, Qt::Key_Return);
    QVERIFY(ui->termCmd->text().isEmpty());
    QCOMPARE(textIn(ui->termLog, Qt::darkRed), QStringLiteral("AT"));

    QVERIFY(waitUntil([&] { return textIn(ui->termLog, Qt::darkBlue).contains("OK"); }, 3000));
    const qint64 shownAt = clock.elapsed();
    QVERIFY(answeredAt >= 0);
    // Shown on arrival; the margin is for a loaded machine.
    QVERIFY2(shownAt - answeredAt < 150,
             qPrintable(QStringLiteral("shown %1 ms after the answer").arg(shownAt - answeredAt)));
    QCOMPARE(f.sim.received(), QByteArray("AT\r\n"));
    QVERIFY(!textIn(ui->termLog, Qt::darkRed).contains("OK"));
    QTest::qWait(50);
    QVERIFY(!ui->termLog->toPlainText().contains("junk"));
    f.sim.setCommandHook(nullptr);
}

void TestTerminal::operationKeepsTerminalOff()
{
    WindowOnSim f;
    QVERIFY(f.connectTo());
    Ui::MainWindow *ui = f.ui();
    const QString logBefore = ui->termLog->toHtml();

    // A slow read holds the worker busy for a while.
    f.sim.modify([](SimState &s) { s.replyDelayMs = 400; });
    f.sim.clearLog();
    const int readsBefore = f.reads.size();
    QMetaObject::invokeMethod(f.w.kz(), "reqConfig", Qt::QueuedConnection,
                              Q_ARG(int, KZConfig::ConfigCom));
    QVERIFY(waitUntil([&] { return f.w.kz()->busy.load(); }, 3000));

    ui->termCmd->setText(QStringLiteral("ATI"));
    ui->termSend->click();
    QTest::keyClick(ui->termCmd, Qt::Key_Return);
    ui->termPpp->click();
    QCOMPARE(ui->termCmd->text(), QStringLiteral("ATI"));

    QVERIFY(waitUntil([&] { return f.reads.size() > readsBefore; }, 20000));
    QCOMPARE(f.reads.last(), qMakePair(int(KZConfig::ConfigCom), 0));
    // Nothing queued behind the operation either: give the line a moment.
    QTest::qWait(300);
    QVERIFY(!f.sim.received().contains("ATI"));
    QVERIFY(!f.sim.received().contains("+++"));
    // The operation's replies went to the operation, not to the log.
    QCOMPARE(ui->termLog->toHtml(), logBefore);

    // Idle again: the same text goes out.
    f.sim.modify([](SimState &s) { s.replyDelayMs = 0; });
    ui->termSend->click();
    QVERIFY(ui->termCmd->text().isEmpty());
    QVERIFY(waitUntil([&] { return f.sim.commands().contains(QStringLiteral("ATI")); }, 3000));
}

void TestTerminal::hangUpKeepsGuardTimesAndWindowLive()
{
    WindowOnSim f;
    QVERIFY(f.connectTo());
    Ui::MainWindow *ui = f.ui();
    // In a data call the modem hears only a guarded "+++".
    f.sim.modify([](SimState &s) {
        s.dataCall = true;
        s.guardMs = 1000;
    });
    f.sim.clearLog();

    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(50);
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start();

    QElapsedTimer clock;
    clock.start();
    ui->termAth->click();
    QVERIFY2(clock.elapsed() < 300, "the click waited for the guard times");
    QVERIFY(!textIn(ui->termLog, Qt::darkRed).contains("+++"));

    qint64 plusAt = -1;
    qint64 athAt = -1;
    QVERIFY(waitUntil(
            [&] {
                const QByteArray rx = f.sim.received();
                if (plusAt < 0 && rx.contains("+++"))
                    plusAt = clock.elapsed();
                if (athAt < 0 && rx.contains("ATH\r\n"))
                    athAt = clock.elapsed();
                return athAt >= 0;
            },
            10000));
    const qint64 total = clock.elapsed();
    QCOMPARE(f.sim.received(), QByteArray("+++ATH\r\n"));
    QVERIFY2(plusAt >= 1950 && plusAt < 2800, qPrintable(QString::number(plusAt)));
    QVERIFY2(athAt - plusAt >= 1950 && athAt - plusAt < 2800,
             qPrintable(QString::number(athAt - plusAt)));
    // The window kept handling its events all the while.
    QVERIFY2(ticks >= total / 50 * 2 / 3,
             qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(ticks).arg(total)));

    // The modem left the data call and took the hang-up.
    QVERIFY(waitUntil([&] { return f.sim.commands().contains(QStringLiteral("ATH")); }, 3000));
    QVERIFY(!f.sim.state().dataCall);
    QVERIFY(waitUntil([&] { return textIn(ui->termLog, Qt::darkRed) == "+++ATH"; }, 1000));
}

void TestTerminal::historyRecall()
{
    WindowOnSim f;
    QVERIFY(f.connectTo());
    QLineEdit *cmd = f.ui()->termCmd;
    for (const char *c : { "AT", "ATI", "ATI", "", "AT+CSQ" }) {
        cmd->setText(QString::fromLatin1(c));
        QTest::keyClick(cmd, Qt::Key_Return);
        QVERIFY(cmd->text().isEmpty());
    }
    // Each key with the text it should leave, oldest at the top.
    const QList<QPair<Qt::Key, QString>> steps = {
        { Qt::Key_Up, "AT+CSQ" }, { Qt::Key_Up, "ATI" },    { Qt::Key_Up, "AT" },
        { Qt::Key_Up, "AT" },     { Qt::Key_Down, "ATI" },  { Qt::Key_Down, "AT+CSQ" },
        { Qt::Key_Down, "" },     { Qt::Key_Down, "" },     { Qt::Key_Up, "AT+CSQ" },
    };
    for (const auto &step : steps) {
        QTest::keyClick(cmd, step.first);
        QCOMPARE(cmd->text(), step.second);
    }
    // A recalled command goes out again and becomes the newest.
    QTest::keyClick(cmd, Qt::Key_Up);
    QCOMPARE(cmd->text(), QStringLiteral("ATI"));
    QTest::keyClick(cmd, Qt::Key_Return);
    QTest::keyClick(cmd, Qt::Key_Up);
    QCOMPARE(cmd->text(), QStringLiteral("ATI"));
    QTest::keyClick(cmd, Qt::Key_Up);
    QCOMPARE(cmd->text(), QStringLiteral("AT+CSQ"));
}

QTEST_MAIN(TestTerminal)
#include "tst_terminal.moc"
