#include "cli/session.h"

#include "cli/output.h"
#include "cli/verbs.h"
#include "device/appstate.h"
#include "device/workerrunner.h"

#include <QDebug>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace {
// Bounds far above what each operation takes on a slow but working modem.
constexpr int ConnectMs = 20000;
constexpr int HandshakeMs = 60000;
constexpr int InfoMs = 90000;
constexpr int ReadMs = 300000;
constexpr int WriteMs = 300000;
constexpr int ReportMs = 900000;
} // namespace

Session::Session(const CliOptions &options)
    : m_options(options), m_progress(options.quiet, CliProgress::stderrIsTerminal())
{
    KZConfigThread::registerMetaTypes();
    connect(&worker, &KZConfigThread::progress, this,
            [this](const QString &text) { m_progress.step(text); });
    connect(&worker, &KZConfigThread::progressValue, this,
            [this](int value, int maximum) { m_progress.value(value, maximum); });
    connect(&worker, &KZConfigThread::opCompleted, this,
            [this](KZConfigThread::Operation, bool ok, const QString &text) {
                m_results << Result { ok, false, text };
                emit changed();
            });
    connect(&worker, &KZConfigThread::requestCompleted, this, [this](int a, int b) {
        m_requests << qMakePair(a, b);
        emit changed();
    });
    connect(&worker, &KZConfigThread::configCompleted, this, [this](int a, int b) {
        m_configs << qMakePair(a, b);
        emit changed();
    });
    connect(&worker, &KZConfigThread::reportComplete, this, [this](const QString &report) {
        m_reports << report;
        emit changed();
    });
}

Session::~Session()
{
    // Joins the worker thread, which closes the port on its way out.
    if (!m_hung)
        m_runner.reset();
    else
        (void)m_runner.release(); // the process ends right after; never join a stuck thread
}

void Session::setProgressUnit(TransferProgress::Unit unit)
{
    m_progress.setUnit(unit);
}

bool Session::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(this, &Session::changed, &loop, &QEventLoop::quit);
        timer.start(int(qBound(qint64(1), deadline.remainingTime(), qint64(1000))));
        loop.exec();
    }
    return true;
}

Session::Result Session::run(const char *slot, int timeoutMs, QGenericArgument arg)
{
    const int before = int(m_results.size());
    QMetaObject::invokeMethod(&worker, slot, Qt::QueuedConnection, arg);
    if (!waitUntil([&] { return m_results.size() > before; }, timeoutMs)) {
        m_hung = true;
        Result r;
        r.timedOut = true;
        return r;
    }
    return m_results.at(before);
}

void Session::startWorker()
{
    if (!m_runner)
        m_runner = std::make_unique<WorkerRunner>(&worker);
}

bool Session::connectModem()
{
    startWorker();
    int baudCode = m_options.baudCode;
    if (m_options.baudAuto && !CliSteps::findBaud(*this, m_options.port, &baudCode))
        return false;
    // The worker is idle between operations.
    worker.setPortSettings(m_options.port, baudCode, m_options.dataBits, m_options.parity,
                           m_options.stopBits, 0);

    struct Step {
        const char *slot;
        int timeoutMs;
        const char *message;
    };
    const Step steps[] = {
        { "doConnect", ConnectMs, CliMessages::openPort },
        { "handshake", HandshakeMs, CliMessages::handshake },
        { "reqInfo", InfoMs, CliMessages::info },
    };
    for (const Step &s : steps) {
        const Result r = run(s.slot, s.timeoutMs);
        if (!r.ok) {
            if (!r.text.isEmpty())
                qDebug() << r.text;
            if (s.message == CliMessages::info && !r.timedOut && worker.applicationHalted) {
                if (allowHalted)
                    return true;
                printErr(AppState::haltedMessage());
                return false;
            }
            printErr(CliMessages::text(s.message));
            if (s.message == CliMessages::openPort)
                printErr(worker.openFailure()); // why, on the next line
            return false;
        }
    }
    return true;
}

bool Session::readConfig(int flags, int *flagsOk, int *flagsError)
{
    const int before = int(m_requests.size());
    QMetaObject::invokeMethod(&worker, "reqConfig", Qt::QueuedConnection, Q_ARG(int, flags));
    if (!waitUntil([&] { return m_requests.size() > before; }, ReadMs)) {
        m_hung = true;
        *flagsOk = 0;
        *flagsError = flags;
        return false;
    }
    *flagsOk = m_requests.at(before).first;
    *flagsError = m_requests.at(before).second;
    qDebug() << QStringLiteral("kzRequestCompleted: OK %1  ERR %2")
                        .arg(*flagsOk, 0, 16)
                        .arg(*flagsError, 0, 16);
    return true;
}

bool Session::writeConfig(const KZConfig &config, int flags, int *flagsOk, int *flagsError)
{
    const int before = int(m_configs.size());
    QMetaObject::invokeMethod(&worker, "modConfig", Qt::QueuedConnection,
                              Q_ARG(KZConfig, config), Q_ARG(int, flags));
    if (!waitUntil([&] { return m_configs.size() > before; }, WriteMs)) {
        m_hung = true;
        *flagsOk = 0;
        *flagsError = flags;
        return false;
    }
    *flagsOk = m_configs.at(before).first;
    *flagsError = m_configs.at(before).second;
    qDebug() << QStringLiteral("kzConfigCompleted: OK %1  ERR %2")
                        .arg(*flagsOk, 0, 16)
                        .arg(*flagsError, 0, 16);
    return true;
}

bool Session::collectReport(bool profiles, QString *report)
{
    const int before = int(m_reports.size());
    QMetaObject::invokeMethod(&worker, "makeReport", Qt::QueuedConnection, Q_ARG(bool, profiles));
    if (!waitUntil([&] { return m_reports.size() > before; }, ReportMs)) {
        m_hung = true;
        return false;
    }
    *report = m_reports.at(before);
    return true;
}
