#pragma once

// A worker on its own thread talking to a simulated modem through the real
// serial port stack, with the worker's signals recorded.
#include "device/kzconfigthread.h"
#include "device/workerclient.h"
#include "device/workerrunner.h"
#include "sim/simmodem.h"

#include <QSignalSpy>
#include <QTest>

struct OpResult {
    KZConfigThread::Operation op;
    bool ok;
    QString text;  // the debug text without the causes below it
    QString debug; // the whole debug text, with the causes below
};

// A modem with its echo off, as the handshake leaves it.
SimState echoOff(SimState state = SimState());

class SimWorker : public QObject
{
    Q_OBJECT

public:
    SimModem sim;
    // Destroyed before the simulated modem: the worker thread is joined
    // while the modem still answers.
    WorkerClient client;
    KZConfigThread &worker;
    WorkerRunner *runner = nullptr; // the client's, once started
    QStringList progress;
    QList<OpResult> results;
    QList<QPair<int, int>> requests; // requestCompleted
    QList<QPair<int, int>> configs;  // configCompleted

    explicit SimWorker(const SimState &state = SimState());

    // Starts the simulated modem and the worker's thread, the port set to
    // the modem at 115200 baud.
    bool start();

    // Queues one operation and waits for its opCompleted; a worker that
    // does not answer in time gives "timed out".
    OpResult run(const char *slot, int timeoutMs = 30000,
                 QGenericArgument arg = QGenericArgument());

    // Opens the port, runs the handshake and the information request.
    bool connectAll();
    // start(), then the port opened; and the handshake run.
    bool startAndOpen();
    bool startAndHandshake();

    // reqConfig / modConfig: (flagsOk, flagsError), or (-1, -1) when the
    // worker did not finish in time.
    QPair<int, int> readConfig(int flags, int timeoutMs = 40000);
    QPair<int, int> writeConfig(const KZConfig &config, int flags, int timeoutMs = 40000);
};
