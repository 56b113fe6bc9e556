#pragma once

#include "cli/options.h"
#include "cli/progress.h"
#include "device/kzconfigthread.h"

#include <QObject>

#include <functional>
#include <memory>

class WorkerRunner;

// One modem session of the command line: the worker runs on a thread of its
// own, exactly as behind the window; operations are queued to it and their
// completion signals awaited in a local event loop, each wait bounded so the
// command line never hangs on a modem that stops answering.
class Session : public QObject
{
    Q_OBJECT

public:
    explicit Session(const CliOptions &options);
    ~Session() override;

    KZConfigThread worker;

    struct Result {
        bool ok = false;
        bool timedOut = false;
        QString text; // the worker's debug text
    };

    // Open, handshake, device information. On failure prints the window's
    // message and returns false. With --baud auto the speed is found first.
    // A modem without its application fails unless allowHalted is set; then
    // worker.applicationHalted tells.
    bool connectModem();
    bool allowHalted = false;

    // Starts the worker's thread, once.
    void startWorker();

    // Queues a worker slot and waits for its opCompleted.
    Result run(const char *slot, int timeoutMs, QGenericArgument arg = QGenericArgument());

    // reqConfig / modConfig; false when the worker did not finish in time.
    bool readConfig(int flags, int *flagsOk, int *flagsError);
    bool writeConfig(const KZConfig &config, int flags, int *flagsOk, int *flagsError);
    bool collectReport(bool profiles, QString *report);

    // Waits in an event loop until done() holds; false after timeoutMs.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs);

    // A worker operation outlived its bound: the worker thread cannot be
    // joined, so the process must end without waiting for it.
    bool hung() const { return m_hung; }

    // How the counted progress is told: bytes (firmware) or queries (report).
    void setProgressUnit(TransferProgress::Unit unit);

signals:
    void changed();

private:
    CliOptions m_options;
    std::unique_ptr<WorkerRunner> m_runner;
    QList<Result> m_results;
    QList<QPair<int, int>> m_requests;
    QList<QPair<int, int>> m_configs;
    QStringList m_reports;
    CliProgress m_progress;
    bool m_hung = false;
};
