#pragma once

#include "config/kzconfig.h"
#include "device/kzconfigthread.h"
#include "firmware/firmwarecontainer.h"

#include <QGenericArgument>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>

#include <functional>
#include <memory>

class WorkerRunner;

// The connect chain: open the port, handshake, read the device information.
// The window runs it step by step from the worker's signals, the blocking
// client in one call; both take the steps from here.
namespace ConnectChain {
struct Step {
    KZConfigThread::Operation op;
    const char *slot;
    int timeoutMs;         // bound far above what the step takes on a slow modem
    const char *message;   // what the user is told when it fails (Messages)
};
const QList<Step> &steps();
// The slot that follows a successful `done`; null after the last step or for
// an operation outside the chain.
const char *next(KZConfigThread::Operation done);
} // namespace ConnectChain

// A worker on a thread of its own, offered as blocking calls: each queues a
// slot to the worker and waits, in a local event loop, for its completion
// signal, no longer than its bound. A bound that runs out marks the client
// hung: that worker can no longer be joined, and the client leaves its
// thread behind rather than block on it. Several clients may run side by
// side, one modem each.
class WorkerClient : public QObject
{
    Q_OBJECT

public:
    // Bounds for the operations that have none of their own.
    static constexpr int ReadMs = 300000;
    static constexpr int WriteMs = 300000;
    static constexpr int ReportMs = 900000;
    // An update halts the modem's application and copies every file at
    // 115200 baud: a bound of its own.
    static constexpr int FirmwareMs = 4 * 3600 * 1000;

    explicit WorkerClient(QObject *parent = nullptr);
    ~WorkerClient() override;

    // Configure the port through this before start(); afterwards the worker
    // belongs to its thread and is reached through the calls below.
    KZConfigThread &worker() { return *m_worker; }

    // Moves the worker to its thread (once).
    void start();
    bool started() const { return m_runner != nullptr; }
    // The thread's owner, once started.
    WorkerRunner *runner() { return m_runner.get(); }

    struct Result {
        bool ok = false;
        bool timedOut = false;
        QString text; // the worker's debug text
    };

    // Queues a slot and waits for its opCompleted.
    Result run(const char *slot, int timeoutMs, QGenericArgument arg = QGenericArgument());

    // Runs the connect chain; on failure *failedStep (if given) is the step
    // that failed.
    Result connectChain(const ConnectChain::Step **failedStep = nullptr);

    // reqConfig / modConfig; false when the worker did not finish in time
    // (then every group asked for counts as failed).
    bool readConfig(int flags, int *flagsOk, int *flagsError, int timeoutMs = ReadMs);
    bool writeConfig(const KZConfig &config, int flags, int *flagsOk, int *flagsError,
                     int timeoutMs = WriteMs);
    bool collectReport(bool profiles, QString *report, int timeoutMs = ReportMs);
    // Hands the container to the worker, then runs the update slot
    // (applyFirmware, or applyFirmwareRecovery for a modem without its
    // application).
    Result applyFirmware(const FirmwareContainer &container, const char *slot = "applyFirmware",
                         int timeoutMs = FirmwareMs);

    // Waits in an event loop until done() holds; false after timeoutMs.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs);

    // An operation outlived its bound.
    bool hung() const { return m_hung; }

signals:
    // Something the client waits for has arrived.
    void changed();

private:
    // Waits for the completion signal numbered `before` in `completions`.
    bool awaitGroups(const QList<QPair<int, int>> &completions, int before, int flags, int *flagsOk,
                     int *flagsError, int timeoutMs);

    // Held by pointer: a hung worker is left behind with its thread, never
    // destroyed under it.
    std::unique_ptr<KZConfigThread> m_worker;
    std::unique_ptr<WorkerRunner> m_runner;
    QList<Result> m_results;
    QList<QPair<int, int>> m_requests;
    QList<QPair<int, int>> m_configs;
    QStringList m_reports;
    bool m_hung = false;
};
