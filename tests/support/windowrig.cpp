#include "support/windowrig.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>

QString readyText()
{
    return QStringLiteral("Модем подключен, информация и настройки получены.");
}

QString lostText()
{
    return QStringLiteral("Связь с модемом потеряна.");
}

QString statusText(TestWindow &w)
{
    return w.form()->statusBar->currentMessage();
}

bool waitUntil(const std::function<bool()> &cond, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

void startSim(SimModem &sim, const SimState &state)
{
    sim.setState(state);
    QString error;
    QVERIFY2(sim.start(&error), qPrintable(error));
}

void clickConnect(TestWindow &w, const SimModem &sim)
{
    const int baudRow = w.form()->portBaud->findText(QString::number(sim.state().baud));
    if (baudRow >= 0)
        w.form()->portBaud->setCurrentIndex(baudRow);
    w.selectPort(sim.portName());
    w.statusBar()->clearMessage();
    QTest::mouseClick(w.form()->connectBtn, Qt::LeftButton);
}

void connectWindow(TestWindow &w, SimModem &sim, int timeoutMs)
{
    QVERIFY(w.form()->portBaud->findText(QString::number(sim.state().baud)) >= 0);
    clickConnect(w, sim);
    QTRY_COMPARE_WITH_TIMEOUT(statusText(w), readyText(), timeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(w.runningOperation() == MainWindow::Running::None && !w.kz()->busy,
                             timeoutMs);
    QVERIFY(w.form()->disconnectBtn->isEnabled());
    QVERIFY(w.form()->comSaveButton->isEnabled());
}

void checkDisconnected(TestWindow &w)
{
    Ui::MainWindow *ui = w.form();
    QTRY_VERIFY(w.runningOperation() == MainWindow::Running::None);
    QVERIFY(ui->connectBtn->isEnabled());
    QVERIFY(!ui->disconnectBtn->isEnabled());
    QCOMPARE(ui->infoPartNo->text(), QStringLiteral("-"));
    QCOMPARE(ui->infoSerial->text(), QStringLiteral("-"));
    for (QWidget *c : w.controlsList())
        QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
    QTRY_VERIFY(!w.kz()->isPortOpen());
    QTRY_VERIFY(!w.kz()->busy);
}

void checkWorkerAlive(TestWindow &w)
{
    SimModem fresh;
    SimState s;
    s.echo = false;
    fresh.setState(s);
    QVERIFY(fresh.start());
    w.boxes.clear();
    QElapsedTimer t;
    t.start();
    connectWindow(w, fresh, 15000);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    QVERIFY(w.boxes.isEmpty());
    QCOMPARE(w.form()->infoSerial->text(), s.serial);
    // Leave the worker without a port on a modem about to go.
    QTest::mouseClick(w.form()->disconnectBtn, Qt::LeftButton);
    QTRY_VERIFY(!w.kz()->isPortOpen());
}

ReadCounter::ReadCounter(TestWindow &w)
{
    QObject::connect(w.kz(), &KZConfigThread::requestCompleted, &w, [this] { ++count; });
}


SimState fullModem()
{
    SimState s;
    s.echo = false;
    s.guardMs = 200;
    s.gprs = { { "g1", "internet", "u", "p" } };
    s.ntrip = { { "n1", "caster.example", "2101", "MP", "c", "cp", "sp", "0" } };
    s.dyndnsSet = true;
    s.dyndns = { "login", "pass", "host.example" };
    s.autoexecB = "AT^JCSD";
    s.autoexecC = "ATD123";
    s.btMode = 1;
    return s;
}

void chooseFirmware(TestWindow &w, const QString &path, const FirmwareContainer &c)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(writeContainer(&f, c));
    f.close();
    w.fileAnswers.enqueue(path);
    QTest::mouseClick(w.form()->updateSelectBtn, Qt::LeftButton);
    QVERIFY(w.boxes.isEmpty());
    QVERIFY(w.form()->updateButton->isEnabled());
}

QStringList writeCommands(const SimModem &sim)
{
    static const char *const prefixes[] = { "AT+ADD", "AT+DEL",    "AT+IPR",  "AT+ICF",
                                            "AT+IFC", "AT+DYNDNS", "AT^JAUTO", "AT+BTMODE" };
    QStringList out;
    for (const QString &c : sim.commands()) {
        const QString u = c.toUpper();
        if (!u.contains(QLatin1Char('=')))
            continue;
        for (const char *p : prefixes) {
            if (u.startsWith(QLatin1String(p))) {
                out << c;
                break;
            }
        }
    }
    return out;
}

QStringList itemTexts(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QString textIn(const QTextEdit *log, Qt::GlobalColor color)
{
    QString out;
    for (QTextBlock b = log->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().foreground().color() == QColor(color))
                out += it.fragment().text();
    return out;
}
