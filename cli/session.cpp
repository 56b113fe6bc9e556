#include "cli/session.h"

#include "cli/output.h"
#include "cli/verbs.h"
#include "config/messages.h"
#include "device/appstate.h"
#include "device/groupresult.h"

#include <QDebug>

Session::Session(const CliOptions &options)
    : worker(m_client.worker()),
      m_options(options),
      m_progress(options.quiet, CliProgress::stderrIsTerminal())
{
    // A wake-up for waitUntil from the verbs' own events.
    connect(this, &Session::changed, &m_client, &WorkerClient::changed);
    connect(&worker, &KZConfigThread::progress, this,
            [this](const QString &text) { m_progress.step(text); });
    connect(&worker, &KZConfigThread::progressValue, this,
            [this](int value, int maximum) { m_progress.value(value, maximum); });
}

Session::~Session() = default;

void Session::setProgressUnit(TransferProgress::Unit unit)
{
    m_progress.setUnit(unit);
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
    const ConnectChain::Step *failed = nullptr;
    const Result r = m_client.connectChain(&failed);
    if (r.ok)
        return true;
    if (!r.text.isEmpty())
        qDebug() << r.text;
    if (!failed)
        return false;
    if (failed->op == KZConfigThread::OpInfo && !r.timedOut && worker.applicationHalted) {
        if (allowHalted)
            return true;
        printErr(AppState::haltedMessage());
        return false;
    }
    printErr(Messages::text(failed->message));
    if (failed->op == KZConfigThread::OpConnect)
        printErr(worker.openFailure()); // why, on the next line
    return false;
}

bool Session::readConfig(int flags, int *flagsOk, int *flagsError)
{
    if (!m_client.readConfig(flags, flagsOk, flagsError))
        return false;
    logGroupResult("kzRequestCompleted", *flagsOk, *flagsError, worker);
    return true;
}

bool Session::writeConfig(const KZConfig &config, int flags, int *flagsOk, int *flagsError)
{
    if (!m_client.writeConfig(config, flags, flagsOk, flagsError))
        return false;
    logGroupResult("kzConfigCompleted", *flagsOk, *flagsError, worker);
    return true;
}
