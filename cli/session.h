#pragma once

#include "cli/options.h"
#include "cli/progress.h"
#include "device/kzconfigthread.h"
#include "device/workerclient.h"

#include <QObject>

#include <functional>

// One modem session of the command line: a blocking client of a worker on a
// thread of its own, exactly as behind the window, with the worker's
// progress on standard error and every wait bounded so the command line
// never hangs on a modem that stops answering.
class Session : public QObject
{
    Q_OBJECT

public:
    explicit Session(const CliOptions &options);
    ~Session() override;

private:
    WorkerClient m_client;

public:
    KZConfigThread &worker;

    using Result = WorkerClient::Result;

    // Open, handshake, device information. On failure prints the window's
    // message and returns false. With --baud auto the speed is found first.
    // A modem without its application fails unless allowHalted is set; then
    // worker.applicationHalted tells.
    bool connectModem();
    bool allowHalted = false;

    // Starts the worker's thread, once.
    void startWorker() { m_client.start(); }

    // Queues a worker slot and waits for its opCompleted.
    Result run(const char *slot, int timeoutMs, QGenericArgument arg = QGenericArgument())
    {
        return m_client.run(slot, timeoutMs, arg);
    }
    Result applyFirmware(const FirmwareContainer &container, const char *slot = "applyFirmware")
    {
        return m_client.applyFirmware(container, slot);
    }

    // reqConfig / modConfig; false when the worker did not finish in time.
    bool readConfig(int flags, int *flagsOk, int *flagsError);
    bool writeConfig(const KZConfig &config, int flags, int *flagsOk, int *flagsError);
    bool collectReport(bool profiles, QString *report)
    {
        return m_client.collectReport(profiles, report);
    }

    // Waits in an event loop until done() holds (checked again at each
    // changed()); false after timeoutMs.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs)
    {
        return m_client.waitUntil(done, timeoutMs);
    }

    // A worker operation outlived its bound: the worker thread cannot be
    // joined, so the process must end without waiting for it.
    bool hung() const { return m_client.hung(); }

    // How the counted progress is told: bytes (firmware) or queries (report).
    void setProgressUnit(TransferProgress::Unit unit);

signals:
    void changed();

private:
    CliOptions m_options;
    CliProgress m_progress;
};
