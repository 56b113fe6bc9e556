#pragma once

// The real window, its dialogs answered by the test, connected to a
// simulated modem through the whole chain (port, handshake, identity, read).
#include "common/testwindow.h"
#include "sim/simmodem.h"
#include "ui_mainwindow.h"

#include <QStatusBar>
#include <QTest>

inline const QString readyText()
{
    return QStringLiteral("Модем подключен, информация и настройки получены.");
}

inline QString statusText(TestWindow &w)
{
    return w.form()->statusBar->currentMessage();
}

// Reads that have ended in the window (counted after the window's own slot).
struct ReadCounter {
    int count = 0;
    explicit ReadCounter(TestWindow &w)
    {
        QObject::connect(w.kz(), &KZConfigThread::requestCompleted, &w, [this] { ++count; });
    }
};

// Starts the simulator with `state`; the window's port speed follows it.
inline void startSim(SimModem &sim, const SimState &state)
{
    sim.setState(state);
    QString error;
    QVERIFY2(sim.start(&error), qPrintable(error));
}

// Connects by the Connect button and waits until the first full read has
// been shown.
inline void connectWindow(TestWindow &w, SimModem &sim)
{
    const int baudRow = w.form()->portBaud->findText(QString::number(sim.state().baud));
    QVERIFY(baudRow >= 0);
    w.form()->portBaud->setCurrentIndex(baudRow);
    w.selectPort(sim.portName());
    w.statusBar()->clearMessage();
    QTest::mouseClick(w.form()->connectBtn, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(statusText(w), readyText(), 30000);
}

// The command lines that change the modem's configuration.
inline QStringList writeCommands(const SimModem &sim)
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

inline QStringList itemTexts(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
