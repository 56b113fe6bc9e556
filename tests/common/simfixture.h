#pragma once

// A worker on its own thread talking to a simulated modem through the real
// serial port stack, with the worker's signals recorded.
#include "device/kzconfigthread.h"
#include "device/workerrunner.h"
#include "sim/simmodem.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

struct OpResult {
    KZConfigThread::Operation op;
    bool ok;
    QString text;
};

class SimWorker : public QObject
{
    Q_OBJECT

public:
    SimModem sim;
    KZConfigThread worker;
    std::unique_ptr<WorkerRunner> runner;
    QStringList progress;
    QList<OpResult> results;
    QList<QPair<int, int>> requests; // requestCompleted
    QList<QPair<int, int>> configs;  // configCompleted

    explicit SimWorker(const SimState &state = SimState())
    {
        KZConfigThread::registerMetaTypes();
        sim.setState(state);
        connect(&worker, &KZConfigThread::progress, this, [this](const QString &t) { progress << t; });
        connect(&worker, &KZConfigThread::opCompleted, this,
                [this](KZConfigThread::Operation op, bool ok, const QString &text) {
                    results << OpResult { op, ok, text };
                });
        connect(&worker, &KZConfigThread::requestCompleted, this,
                [this](int a, int b) { requests << qMakePair(a, b); });
        connect(&worker, &KZConfigThread::configCompleted, this,
                [this](int a, int b) { configs << qMakePair(a, b); });
    }
    ~SimWorker() override
    {
        runner.reset(); // join the worker thread before the worker goes
        sim.stop();
    }

    bool start()
    {
        QString error;
        if (!sim.start(&error)) {
            qWarning() << error;
            return false;
        }
        worker.setPortSettings(sim.portName(), 19, 3, 0, 0, 0);
        runner = std::make_unique<WorkerRunner>(&worker);
        return true;
    }

    // Queues one operation and waits for its opCompleted.
    OpResult run(const char *slot, int timeoutMs = 30000)
    {
        const int before = results.size();
        QMetaObject::invokeMethod(&worker, slot, Qt::QueuedConnection);
        QDeadlineTimer deadline(timeoutMs);
        while (results.size() <= before && !deadline.hasExpired())
            QTest::qWait(5);
        if (results.size() <= before)
            return OpResult { KZConfigThread::OpConnect, false, QStringLiteral("timed out") };
        return results.last();
    }

    // Opens the port, runs the handshake and the information request.
    bool connectAll()
    {
        return run("doConnect").ok && run("handshake").ok && run("reqInfo").ok;
    }
};

