#include "device/workerclient.h"

#include "config/messages.h"
#include "device/workerrunner.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace ConnectChain {

const QList<Step> &steps()
{
    static const QList<Step> chain {
        { KZConfigThread::OpConnect, "doConnect", 20000, Messages::openPort },
        { KZConfigThread::OpHandshake, "handshake", 60000, Messages::handshake },
        { KZConfigThread::OpInfo, "reqInfo", 90000, Messages::info },
    };
    return chain;
}

const char *next(KZConfigThread::Operation done)
{
    const QList<Step> &chain = steps();
    for (int i = 0; i + 1 < chain.size(); ++i)
        if (chain.at(i).op == done)
            return chain.at(i + 1).slot;
    return nullptr;
}

} // namespace ConnectChain

WorkerClient::WorkerClient(QObject *parent)
    : QObject(parent), m_worker(std::make_unique<KZConfigThread>())
{
    KZConfigThread::registerMetaTypes();
    connect(m_worker.get(), &KZConfigThread::opCompleted, this,
            [this](KZConfigThread::Operation, bool ok, const QString &text) {
                m_results << Result { ok, false, text };
                emit changed();
            });
    connect(m_worker.get(), &KZConfigThread::requestCompleted, this, [this](int a, int b) {
        m_requests << qMakePair(a, b);
        emit changed();
    });
    connect(m_worker.get(), &KZConfigThread::configCompleted, this, [this](int a, int b) {
        m_configs << qMakePair(a, b);
        emit changed();
    });
    connect(m_worker.get(), &KZConfigThread::reportComplete, this, [this](const QString &report) {
        m_reports << report;
        emit changed();
    });
}

WorkerClient::~WorkerClient()
{
    // Joins the worker thread, which closes the port on its way out; a stuck
    // thread is never joined (its owner ends the process soon after).
    if (m_hung) {
        QObject::disconnect(m_worker.get(), nullptr, this, nullptr);
        (void)m_runner.release();
        (void)m_worker.release();
    } else {
        m_runner.reset();
    }
}

void WorkerClient::start()
{
    if (!m_runner)
        m_runner = std::make_unique<WorkerRunner>(m_worker.get());
}

bool WorkerClient::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(this, &WorkerClient::changed, &loop, &QEventLoop::quit);
        timer.start(int(qBound(qint64(1), deadline.remainingTime(), qint64(1000))));
        loop.exec();
    }
    return true;
}

WorkerClient::Result WorkerClient::run(const char *slot, int timeoutMs, QGenericArgument arg)
{
    start();
    const int before = int(m_results.size());
    QMetaObject::invokeMethod(m_worker.get(), slot, Qt::QueuedConnection, arg);
    if (!waitUntil([&] { return m_results.size() > before; }, timeoutMs)) {
        m_hung = true;
        Result r;
        r.timedOut = true;
        return r;
    }
    return m_results.at(before);
}

WorkerClient::Result WorkerClient::connectChain(const ConnectChain::Step **failedStep)
{
    Result r;
    for (const ConnectChain::Step &s : ConnectChain::steps()) {
        r = run(s.slot, s.timeoutMs);
        if (!r.ok) {
            if (failedStep)
                *failedStep = &s;
            return r;
        }
    }
    return r;
}

bool WorkerClient::awaitGroups(const QList<QPair<int, int>> &completions, int before, int flags,
                               int *flagsOk, int *flagsError, int timeoutMs)
{
    if (!waitUntil([&] { return completions.size() > before; }, timeoutMs)) {
        m_hung = true;
        *flagsOk = 0;
        *flagsError = flags;
        return false;
    }
    *flagsOk = completions.at(before).first;
    *flagsError = completions.at(before).second;
    return true;
}

bool WorkerClient::readConfig(int flags, int *flagsOk, int *flagsError, int timeoutMs)
{
    start();
    const int before = int(m_requests.size());
    QMetaObject::invokeMethod(m_worker.get(), "reqConfig", Qt::QueuedConnection, Q_ARG(int, flags));
    return awaitGroups(m_requests, before, flags, flagsOk, flagsError, timeoutMs);
}

bool WorkerClient::writeConfig(const KZConfig &config, int flags, int *flagsOk, int *flagsError,
                               int timeoutMs)
{
    start();
    const int before = int(m_configs.size());
    QMetaObject::invokeMethod(m_worker.get(), "modConfig", Qt::QueuedConnection,
                              Q_ARG(KZConfig, config), Q_ARG(int, flags));
    return awaitGroups(m_configs, before, flags, flagsOk, flagsError, timeoutMs);
}

bool WorkerClient::collectReport(bool profiles, QString *report, int timeoutMs)
{
    start();
    const int before = int(m_reports.size());
    QMetaObject::invokeMethod(m_worker.get(), "makeReport", Qt::QueuedConnection, Q_ARG(bool, profiles));
    if (!waitUntil([&] { return m_reports.size() > before; }, timeoutMs)) {
        m_hung = true;
        return false;
    }
    *report = m_reports.at(before);
    return true;
}

WorkerClient::Result WorkerClient::applyFirmware(const FirmwareContainer &container,
                                                 const char *slot, int timeoutMs)
{
    start();
    m_worker->handFirmware(container);
    return run(slot, timeoutMs);
}
