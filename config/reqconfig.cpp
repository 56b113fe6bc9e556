#include "config/configreplies.h"
#include "device/exchangelog.h"
#include "device/kzconfigthread.h"

#include <QCoreApplication>
#include <QDebug>

using ConfigReplies::Match;

namespace {

// A modem that keeps sending reply lines must not hold a reader for ever.
constexpr int MaxReplyLines = 1000;

// The readers of the configuration groups. Each returns whether its group
// was read; a failure leaves the members it had not yet set unchanged.
class ConfigReader
{
public:
    explicit ConfigReader(KZConfigThread &worker) : w(worker) { }

    bool lineGone() const { return w.lineLost() || !w.isPortOpen(); }

    // Why the last reader failed: the query and the reply it could not use.
    ErrorStack why;

    bool serial();
    bool gprs();
    bool ntrip();
    bool dyndns();
    bool autoexec();
    bool bluetooth();

private:
    template<typename Profile, typename Parse>
    bool profiles(QList<Profile> &list, const QString &command, const QString &text, Parse parse);

    // Late bytes of an earlier reply would be taken for this one's.
    void query(const QString &command, int timeoutMs)
    {
        m_command = command;
        m_timeoutMs = timeoutMs;
        w.drainInput();
        w.sendCommand(command);
        w.waitReply(timeoutMs);
    }
    // After a line the reader cannot use, the rest of that reply is read
    // away, so the next query is not answered by this one's leftovers.
    void skipToFinal(int timeoutMs)
    {
        if (w.lastReply().isEmpty() || ConfigReplies::isFinalLine(w.lastReply()))
            return;
        for (int i = 0; i < MaxReplyLines; ++i) {
            if (!w.waitReply(timeoutMs) || ConfigReplies::isFinalLine(w.lastReply()))
                return;
        }
    }
    bool fail(int timeoutMs)
    {
        if (w.lastReply().isEmpty())
            why.addCause(ErrorStack(m_command, QStringLiteral("no reply within %1 ms").arg(m_timeoutMs)));
        else
            why.addCause(ErrorStack(m_command, QStringLiteral("reply \"%1\"").arg(w.lastReply())));
        skipToFinal(timeoutMs);
        return false;
    }
    bool autoexecQuery(ConfigReplies::AutoexecQuery which, QString *target);

    KZConfigThread &w;
    QString m_command;
    int m_timeoutMs = 0;
};

bool ConfigReader::serial()
{
    constexpr int T = 3000;
    KZConfig &c = w.config;
    if (!w.isOnline())
        return false;

    query(QStringLiteral("AT+IPR?"), T);
    emit w.progress(
            QCoreApplication::translate("KZConfigThread", "Загрузка настроек COM: скорость"));
    int code = -1;
    if (ConfigReplies::parseIpr(w.lastReply(), &code) != Match::Ok)
        return fail(T);
    if (code >= 0)
        c.baudrate = code;
    w.waitReply(T);

    query(QStringLiteral("AT+IFC?"), T);
    emit w.progress(QCoreApplication::translate("KZConfigThread",
                                                "Загрузка настроек COM: контроль потока"));
    int flow = 0;
    switch (ConfigReplies::parseIfc(w.lastReply(), &flow)) {
    case Match::Ok:
        c.flow = flow;
        w.waitReply(T);
        break;
    case Match::Bad:
        return fail(T);
    case Match::Other:
        // Older modems do not know the query and refuse it: the value stays.
        // Any other line (an unsolicited one, a late reply, silence) is no
        // answer, and the flow control is not known.
        if (!w.lastReply().startsWith(QLatin1String("ERROR")))
            return fail(T);
        break;
    }

    query(QStringLiteral("AT+ICF?"), T);
    emit w.progress(
            QCoreApplication::translate("KZConfigThread", "Загрузка настроек COM: формат кадра"));
    int framing = -1;
    if (ConfigReplies::parseIcf(w.lastReply(), &framing) != Match::Ok)
        return fail(T);
    if (framing >= 0)
        c.framing = framing;
    w.waitReply(T);
    return true;
}

// One "+ADDGPRS: " or "+ADDNTRIP: " line per stored profile, then "OK".
template<typename Profile, typename Parse>
bool ConfigReader::profiles(QList<Profile> &list, const QString &command, const QString &text,
                            Parse parse)
{
    constexpr int T = 5000;
    if (!w.isOnline())
        return false;
    list.clear();
    emit w.progress(text);
    query(command, T);
    for (int i = 0; i <= MaxReplyLines; ++i) {
        Profile p;
        switch (parse(w.lastReply(), &p)) {
        case Match::Ok:
            list.append(p);
            w.waitReply(T);
            continue;
        case Match::Bad:
            return fail(T);
        case Match::Other:
            break;
        }
        if (w.lastReply() == QLatin1String("OK")) {
            emit w.progress(text);
            return true;
        }
        return fail(T);
    }
    return fail(T);
}

bool ConfigReader::gprs()
{
    return profiles(w.config.gprsProfiles, QStringLiteral("AT+ADDGPRS?"),
                    QCoreApplication::translate("KZConfigThread", "Загрузка профилей GPRS"),
                    ConfigReplies::parseGprs);
}

bool ConfigReader::ntrip()
{
    return profiles(w.config.ntripProfiles, QStringLiteral("AT+ADDNTRIP?"),
                    QCoreApplication::translate("KZConfigThread", "Загрузка профилей NTRIP"),
                    ConfigReplies::parseNtrip);
}

bool ConfigReader::dyndns()
{
    KZConfig &c = w.config;
    if (!w.isOnline())
        return false;
    const QString text = QCoreApplication::translate("KZConfigThread", "Загрузка настроек DynDNS");
    emit w.progress(text);
    query(QStringLiteral("AT+DYNDNS?"), 5000);
    if (w.lastReply() == QLatin1String("OK")) {
        c.dyndnsLogin.clear();
        c.dyndnsPassword.clear();
        c.dyndnsDomain.clear();
    } else {
        QString login, password, domain;
        if (ConfigReplies::parseDyndns(w.lastReply(), &login, &password, &domain) != Match::Ok)
            return fail(3000);
        c.dyndnsLogin = login;
        c.dyndnsPassword = password;
        c.dyndnsDomain = domain;
        w.waitReply(3000);
    }
    emit w.progress(text);
    return true;
}

// One query of software 380 on: false when the reply is neither a command
// nor "ERROR".
bool ConfigReader::autoexecQuery(ConfigReplies::AutoexecQuery which, QString *target)
{
    constexpr int T = 3000;
    query(which == ConfigReplies::AutoexecQuery::Bt ? QStringLiteral("AT^JAUTO,B?")
                                                    : QStringLiteral("AT^JAUTO,C?"),
          T);
    QString command;
    switch (ConfigReplies::parseAutoexec(w.lastReply(), which, &command)) {
    case ConfigReplies::AutoexecReply::Command:
        *target = command;
        w.waitReply(T);
        return true;
    case ConfigReplies::AutoexecReply::None:
        return true;
    case ConfigReplies::AutoexecReply::Other:
        break;
    }
    return fail(T);
}

bool ConfigReader::autoexec()
{
    constexpr int T = 3000;
    KZConfig &c = w.config;
    c.autoexecBt.clear();
    c.autoexecCom.clear();
    if (w.softwareNumber() < 380) {
        query(QStringLiteral("AT^JAUTO?"), T);
        QString command;
        switch (ConfigReplies::parseAutoexec(w.lastReply(), ConfigReplies::AutoexecQuery::Single,
                                             &command)) {
        case ConfigReplies::AutoexecReply::None:
            return true;
        case ConfigReplies::AutoexecReply::Command:
            (w.identityNow().viaCom ? c.autoexecCom : c.autoexecBt) = command;
            w.waitReply(T);
            return true;
        case ConfigReplies::AutoexecReply::Other:
            break;
        }
        return fail(T);
    }
    if (!autoexecQuery(ConfigReplies::AutoexecQuery::Bt, &c.autoexecBt))
        return false;
    return autoexecQuery(ConfigReplies::AutoexecQuery::Com, &c.autoexecCom);
}

bool ConfigReader::bluetooth()
{
    constexpr int T = 3000;
    KZConfig &c = w.config;
    if (!w.identityNow().bluetoothQueryable()) {
        c.btMode = 0;
        c.btMac.clear();
        c.btPin.clear();
        return true;
    }
    query(QStringLiteral("AT+BTMODE?"), T);
    emit w.progress(
            QCoreApplication::translate("KZConfigThread", "Загрузка информации: Bluetooth"));
    int mode = 0;
    QString mac, pin;
    if (ConfigReplies::parseBtMode(w.lastReply(), &mode, &mac, &pin) != Match::Ok)
        return fail(T);
    c.btMode = mode;
    c.btMac = mac;
    c.btPin = pin;
    w.waitReply(T);
    return true;
}

} // namespace

void KZConfigThread::reqConfig(int flags)
{
    qDebug() << QStringLiteral("reqConfig: %1").arg(flags, 0, 16);
    BusyGuard guard(busy);
    OperationLogScope logScope(QStringLiteral("reqConfig"), QString::number(flags, 16));
    ConfigReader reader(*this);
    int flagsOk = 0;
    int flagsError = 0;

    // A lost line fails the remaining readers at once instead of letting each
    // wait out its deadlines.
    QMap<int, ErrorStack> why;
    auto run = [&](int bits, bool (ConfigReader::*read)()) {
        if (bits == 0)
            return;
        reader.why.clear();
        const bool gone = reader.lineGone();
        const bool ok = !gone && (reader.*read)();
        (ok ? flagsOk : flagsError) |= bits;
        if (ok)
            return;
        if (reader.why.isEmpty())
            reader.why.push(QString(), gone || reader.lineGone()
                                    ? QStringLiteral("not read: the line is lost")
                                    : QStringLiteral("not read: the modem is not online"));
        why[bits] = reader.why;
    };

    run(flags & KZConfig::ConfigCom, &ConfigReader::serial);
    run(flags & KZConfig::ConfigGprs, &ConfigReader::gprs);
    run(flags & KZConfig::ConfigNtrip, &ConfigReader::ntrip);
    run(flags & KZConfig::ConfigDyndns, &ConfigReader::dyndns);
    run(flags & KZConfig::ConfigAutoexec, &ConfigReader::autoexec);
    readFailed = flagsError;
    if (flags & KZConfig::ConfigBluetooth) {
        // Older modems answer the query unreliably; the group counts as read
        // in the signal, while readFailed tells whether it really was.
        if (reader.lineGone() || !reader.bluetooth())
            readFailed |= KZConfig::ConfigBluetooth;
        flagsOk |= KZConfig::ConfigBluetooth;
    }

    publishGroupErrors(why);
    publishRecord();
    emit requestCompleted(flagsOk, flagsError);
}
