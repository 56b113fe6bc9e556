#include "support/simfixture.h"

#include "support/modemhooks.h"

SimState echoOff(SimState state)
{
    state.echo = false;
    return state;
}

SimWorker::SimWorker(const SimState &state) : worker(client.worker())
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

bool SimWorker::start()
{
    if (!startModem(sim))
        return false;
    worker.setPortSettings(sim.portName(), 19, 3, 0, 0, 0);
    client.start();
    runner = client.runner();
    return true;
}

OpResult SimWorker::run(const char *slot, int timeoutMs, QGenericArgument arg)
{
    const int before = results.size();
    if (client.run(slot, timeoutMs, arg).timedOut)
        return OpResult { KZConfigThread::OpConnect, false, QStringLiteral("timed out"),
                          QStringLiteral("timed out") };
    // This fixture's own record of the signal may come just after the client's.
    (void)QTest::qWaitFor([&] { return results.size() > before; }, 1000);
    return results.last();
}

bool SimWorker::connectAll()
{
    for (const ConnectChain::Step &s : ConnectChain::steps())
        if (!run(s.slot, s.timeoutMs).ok)
            return false;
    return true;
}

bool SimWorker::startAndOpen()
{
    return start() && run("doConnect").ok;
}

bool SimWorker::startAndHandshake()
{
    return startAndOpen() && run("handshake").ok;
}

QPair<int, int> SimWorker::readConfig(int flags, int timeoutMs)
{
    const int before = requests.size();
    int ok = 0, error = 0;
    if (!client.readConfig(flags, &ok, &error, timeoutMs))
        return { -1, -1 };
    // This fixture's own record comes just after the client's.
    (void)QTest::qWaitFor([&] { return requests.size() > before; }, 1000);
    return { ok, error };
}

QPair<int, int> SimWorker::writeConfig(const KZConfig &config, int flags, int timeoutMs)
{
    const int before = configs.size();
    int ok = 0, error = 0;
    if (!client.writeConfig(config, flags, &ok, &error, timeoutMs))
        return { -1, -1 };
    (void)QTest::qWaitFor([&] { return configs.size() > before; }, 1000);
    return { ok, error };
}
