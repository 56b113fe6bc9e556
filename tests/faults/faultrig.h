#pragma once

// The real window against simulated modems: connecting, the states the
// window must be left in, and a fresh modem to prove the worker still works.
#include "common/testwindow.h"
#include "firmware/firmwarecontainer.h"
#include "sim/simmodem.h"
#include "ui_mainwindow.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStatusBar>
#include <QTest>

#include <memory>

inline QString readyText()
{
    return QStringLiteral("Модем подключен, информация и настройки получены.");
}

inline QString lostText()
{
    return QStringLiteral("Связь с модемом потеряна.");
}

inline QString statusText(TestWindow &w)
{
    return w.form()->statusBar->currentMessage();
}

// A modem with something in every group, so that a reset sends a command
// for each of them.
inline SimState fullModem()
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

// Connects by the Connect button and waits until the first full read is shown.
inline void connectTo(TestWindow &w, SimModem &sim, int timeoutMs = 30000)
{
    w.form()->portBaud->setCurrentIndex(
            w.form()->portBaud->findText(QString::number(sim.state().baud)));
    w.selectPort(sim.portName());
    w.statusBar()->clearMessage();
    QTest::mouseClick(w.form()->connectBtn, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(statusText(w), readyText(), timeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(w.runningOperation() == MainWindow::Running::None, timeoutMs);
    QVERIFY(w.form()->disconnectBtn->isEnabled());
    QVERIFY(w.form()->comSaveButton->isEnabled());
}

// The window after a lost line: disconnected, Connect usable, nothing running.
inline void checkDisconnected(TestWindow &w)
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

// The worker thread still runs operations: a whole connection to a new modem.
inline void checkWorkerAlive(TestWindow &w)
{
    SimModem fresh;
    SimState s;
    s.echo = false;
    fresh.setState(s);
    QVERIFY(fresh.start());
    w.boxes.clear();
    QElapsedTimer t;
    t.start();
    connectTo(w, fresh, 15000);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    QVERIFY(w.boxes.isEmpty());
    QCOMPARE(w.form()->infoSerial->text(), s.serial);
    // Leave the worker without a port on a modem about to go.
    QTest::mouseClick(w.form()->disconnectBtn, Qt::LeftButton);
    QTRY_VERIFY(!w.kz()->isPortOpen());
}

inline FirmwareContainer firmwareFor(const QString &hardware, int bytes)
{
    FirmwareContainer c;
    c.magic = firmwareMagic();
    c.version = 3;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = { hardware };
    c.info.softwareVersion = 401;
    QByteArray data(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        data[i] = char(i * 7 + 3);
    c.files = { { QStringLiteral("atc65.jar"), data } };
    return c;
}

// Chooses a container written to `path` on the update tab.
inline void chooseFirmware(TestWindow &w, const QString &path, const FirmwareContainer &c)
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
