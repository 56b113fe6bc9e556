#include "cli/session.h"

#include "cli/output.h"
#include "device/groupresult.h"

#include <QDebug>

Session::Session(const CliOptions &options) : worker(m_client.worker()), m_options(options)
{
    // A wake-up for waitUntil from the verbs' own events.
    connect(this, &Session::changed, &m_client, &WorkerClient::changed);
    connect(&worker, &KZConfigThread::progress, this, [](const QString &text) { printErr(text); });
    connect(&worker, &KZConfigThread::progressValue, this, [this](int value, int maximum) {
        if (maximum <= 0) {
            m_lastPercent = -1;
            return;
        }
        const int percent = int(qint64(qBound(0, value, maximum)) * 100 / maximum);
        if (percent != m_lastPercent) {
            m_lastPercent = percent;
            printErr(QStringLiteral("%1%").arg(percent));
        }
    });
}

Session::~Session() = default;

bool Session::connectModem()
{
    worker.setPortSettings(m_options.port, m_options.baudCode, m_options.dataBits,
                           m_options.parity, m_options.stopBits, 0);
    const ConnectChain::Step *failed = nullptr;
    const Result r = m_client.connectChain(&failed);
    if (!r.ok) {
        if (!r.text.isEmpty())
            qDebug() << r.text;
        if (failed)
            printErr(Messages::text(failed->message));
        return false;
    }
    return true;
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
