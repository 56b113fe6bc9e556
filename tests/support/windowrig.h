#pragma once

// The real window, its dialogs answered by the test, against simulated
// modems: connecting through the window's own chain, the states the window
// must be left in, and what the tests read from it.
#include "sim/simmodem.h"
#include "support/containers.h"
#include "support/modemhooks.h"
#include "support/testwindow.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>

#include <functional>

QString readyText();
QString lostText();
QString statusText(TestWindow &w);

// Waits for cond while handling events; false when the time ran out.
bool waitUntil(const std::function<bool()> &cond, int timeoutMs);

// Starts the simulator with `state`.
void startSim(SimModem &sim, const SimState &state);

// Sets the window's speed to the modem's, chooses its port, clears the
// status bar and clicks Connect.
void clickConnect(TestWindow &w, const SimModem &sim);

// Connects by the Connect button and waits until the first full read is
// shown and nothing runs any more.
void connectWindow(TestWindow &w, SimModem &sim, int timeoutMs = 30000);

// The window after a lost line: disconnected, Connect usable, nothing running.
void checkDisconnected(TestWindow &w);

// The worker thread still runs operations: a whole connection to a new modem.
void checkWorkerAlive(TestWindow &w);

// Reads that have ended in the window (counted after the window's own slot).
struct ReadCounter {
    int count = 0;
    explicit ReadCounter(TestWindow &w);
};

// A window (a TestWindow or one derived from it) and its simulated modem,
// with the worker's completions counted as the window's thread sees them
// (after the window's own handlers have run).
template <class Window>
class WindowOnSimOf
{
public:
    SimModem sim; // outlives the window, whose worker closes the port on the way out
    Window w;
    QList<QPair<int, int>> reads;  // requestCompleted (flagsOk, flagsError)
    QList<QPair<int, int>> writes; // configCompleted
    QList<bool> ops;               // opCompleted ok

    WindowOnSimOf()
    {
        // Connected after the window's own slots, with the window as context:
        // queued to its thread and run after its handlers.
        QObject::connect(w.kz(), &KZConfigThread::requestCompleted, &w,
                         [this](int ok, int err) { reads << qMakePair(ok, err); });
        QObject::connect(w.kz(), &KZConfigThread::configCompleted, &w,
                         [this](int ok, int err) { writes << qMakePair(ok, err); });
        QObject::connect(
                w.kz(), &KZConfigThread::opCompleted, &w,
                [this](KZConfigThread::Operation, bool ok, const QString &) { ops << ok; });
    }

    Ui::MainWindow *ui() const { return w.form(); }

    // Starts the simulator, connects and waits for the first full read.
    bool connectTo(const SimState &state = SimState())
    {
        sim.setState(state);
        if (!startModem(sim))
            return false;
        clickConnect(w, sim);
        return waitUntil([this] { return !reads.isEmpty() && !w.kz()->busy; }, 30000)
                && w.form()->disconnectBtn->isEnabled();
    }

    // Waits for a write and the read-back that follows it.
    bool waitWriteAndReadBack(int writesBefore, int readsBefore, int timeoutMs = 30000)
    {
        return waitUntil(
                [&] {
                    return writes.size() > writesBefore && reads.size() > readsBefore
                            && !w.kz()->busy;
                },
                timeoutMs);
    }
};
using WindowOnSim = WindowOnSimOf<TestWindow>;

// A modem with something in every group, so that a reset sends a command
// for each of them.
SimState fullModem();

// Chooses a container written to `path` on the update tab.
void chooseFirmware(TestWindow &w, const QString &path, const FirmwareContainer &c);

// The command lines that change the modem's configuration.
QStringList writeCommands(const SimModem &sim);

QStringList itemTexts(const QComboBox *box);

// The log's text written in one colour, block breaks left out.
QString textIn(const QTextEdit *log, Qt::GlobalColor color);
