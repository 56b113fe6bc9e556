#pragma once

// A TestWindow connected to a simulated modem through the real connect chain,
// with the worker's read and write completions counted as the window's
// thread sees them (after the window's own handlers have run).
#include "common/testwindow.h"
#include "sim/simmodem.h"
#include "ui_mainwindow.h"

#include <QDeadlineTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTest>

#include <functional>

// The log's text written in one colour, block breaks left out.
inline QString textIn(const QTextEdit *log, Qt::GlobalColor color)
{
    QString out;
    for (QTextBlock b = log->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().foreground().color() == QColor(color))
                out += it.fragment().text();
    return out;
}

// Waits for cond while handling events; false when the time ran out.
inline bool waitUntil(const std::function<bool()> &cond, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

class WindowOnSim
{
public:
    SimModem sim; // outlives the window, whose worker closes the port on the way out
    TestWindow w;
    QList<QPair<int, int>> reads;  // requestCompleted (flagsOk, flagsError)
    QList<QPair<int, int>> writes; // configCompleted
    QList<bool> ops;               // opCompleted ok

    WindowOnSim()
    {
        // Connected after the window's own slots, with the window as context:
        // queued to its thread and run after its handlers.
        QObject::connect(w.kz(), &KZConfigThread::requestCompleted, &w,
                         [this](int ok, int err) { reads << qMakePair(ok, err); });
        QObject::connect(w.kz(), &KZConfigThread::configCompleted, &w,
                         [this](int ok, int err) { writes << qMakePair(ok, err); });
        QObject::connect(w.kz(), &KZConfigThread::opCompleted, &w,
                         [this](KZConfigThread::Operation, bool ok, const QString &) { ops << ok; });
    }

    Ui::MainWindow *ui() const { return w.form(); }

    // Starts the simulator, connects and waits for the first full read.
    bool connectTo(const SimState &state = SimState())
    {
        sim.setState(state);
        QString error;
        if (!sim.start(&error)) {
            qWarning() << error;
            return false;
        }
        w.selectPort(sim.portName());
        w.form()->connectBtn->click();
        return waitUntil([this] { return !reads.isEmpty() && !w.kz()->busy; }, 30000)
                && w.form()->disconnectBtn->isEnabled();
    }

    // Waits for a write and the read-back that follows it.
    bool waitWriteAndReadBack(int writesBefore, int readsBefore, int timeoutMs = 30000)
    {
        return waitUntil([&] { return writes.size() > writesBefore && reads.size() > readsBefore
                                       && !w.kz()->busy; },
                         timeoutMs);
    }
};
