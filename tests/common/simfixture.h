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

    explicit SimWorker(const SimState &state = SimState()) : worker(client.worker())
    {
        sim.setState(state);
        connect(&worker, &KZConfigThread::progress, this, [this](const QString &t) { progress << t; });
        connect(&worker, &KZConfigThread::opCompleted, this,
                [this](KZConfigThread::Operation op, bool ok, const QString &text) {
                    // The causes stand below the short text, indented.
                    results << OpResult { op, ok, text.section(QStringLiteral("\n  "), 0, 0), text };
                });
        connect(&worker, &KZConfigThread::requestCompleted, this,
                [this](int a, int b) { requests << qMakePair(a, b); });
        connect(&worker, &KZConfigThread::configCompleted, this,
                [this](int a, int b) { configs << qMakePair(a, b); });
    }

    bool start()
    {
        QString error;
        if (!sim.start(&error)) {
            qWarning() << error;
            return false;
        }
        worker.setPortSettings(sim.portName(), 19, 3, 0, 0, 0);
        client.start();
        runner = client.runner();
        return true;
    }

    // Queues one operation and waits for its opCompleted.
    OpResult run(const char *slot, int timeoutMs = 30000)
    {
        const int before = results.size();
        if (client.run(slot, timeoutMs).timedOut)
            return OpResult { KZConfigThread::OpConnect, false, QStringLiteral("timed out"),
                              QStringLiteral("timed out") };
        // This fixture's own record of the signal may come just after the client's.
        (void)QTest::qWaitFor([&] { return results.size() > before; }, 1000);
        return results.last();
    }

    // Opens the port, runs the handshake and the information request.
    bool connectAll()
    {
        for (const ConnectChain::Step &s : ConnectChain::steps())
            if (!run(s.slot, s.timeoutMs).ok)
                return false;
        return true;
    }
};
