#include "config/linevalues.h"
#include "device/exchangelog.h"
#include "device/kzconfigthread.h"

#include <QCoreApplication>
#include <QDebug>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The modem ends every answer with an "OK" line or an "ERROR..." line. Taking
// the answer as soon as that line is complete gives the same text as waiting
// out the whole time for a modem that answers in time, only sooner.
bool answerComplete(const QByteArray &data)
{
    if (!data.endsWith("\r\n"))
        return false;
    const qsizetype end = data.size() - 2;
    qsizetype start = 0;
    if (end >= 2) {
        const qsizetype prev = data.lastIndexOf("\r\n", end - 2);
        if (prev >= 0)
            start = prev + 2;
    }
    const QByteArray last = data.mid(start, end - start);
    return last == "OK" || last.startsWith("ERROR");
}

// A raw answer as the report holds it: one byte per character, zero bytes
// included, so that the file holds the bytes as the modem sent them.
QString answerText(const QByteArray &data)
{
    return QString::fromLatin1(data);
}

// A store name is one short line of text; anything else is not a name the
// modem gave (and would be sent back to it as a command).
bool plausibleStoreName(const QString &name)
{
    if (name.size() > KZSerialPort::MaxLineLength)
        return false;
    for (const QChar ch : name)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return false;
    return true;
}

// The store names in the answer to "AT^JRMS?". The profile stores are left
// out when the profiles have their own sections. An "ERROR" line is the
// modem refusing the query, not a store, and a name that would end the
// command line early cannot be asked for.
QStringList storeNames(const QString &answer, bool profiles)
{
    QStringList names;
    for (const QString &line : answer.split(CrLf)) {
        if (line.isEmpty() || line == QLatin1String("OK") || line.startsWith(QLatin1String("ERROR")))
            continue;
        if (profiles
            && (line.startsWith(QLatin1String("NTRIP")) || line.startsWith(QLatin1String("GPRS"))))
            continue;
        if (LineValues::breaksLine(line) || !plausibleStoreName(line))
            continue;
        names << line;
    }
    return names;
}

} // namespace

// Collects a text dump of the modem for service: the raw answers to the
// information queries, the Bluetooth mode and (on request) the profiles as
// last read, and the raw contents of the modem's stores. It never fails: a
// query without an answer adds nothing after its header.
void KZConfigThread::makeReport(bool profiles)
{
    BusyGuard guard(busy);
    OperationLogScope logScope(QStringLiteral("makeReport"));

    QString report;
    auto addLine = [&report](const QString &line) { report += line + CrLf; };

    const int infoCount = 16;
    int total = infoCount + 1; // the information queries and the store list
    int asked = 0;
    bool lost = false;
    QString lostAt;

    if (isPortOpen())
        drainInput(); // earlier chatter is no part of the first answer

    // One raw exchange. Once the line is gone nothing is sent any more: the
    // remaining sections keep their headers so the report stays readable.
    auto ask = [&](const QString &command, int timeoutMs) -> QString {
        ++asked;
        emit progressValue(asked - 1, total);
        if (lost)
            return QString();
        if (!isPortOpen() || lineLost()) {
            lost = true;
            lostAt = command;
            return QString();
        }
        // A TransferProgress phrase: it cuts the label at ": запрос ", and the
        // command line keeps it untranslated for scripts.
        emit progress(
                QCoreApplication::translate("TransferProgress", "Сбор данных: запрос %1 из %2 (%3)")
                        .arg(asked)
                        .arg(total)
                        .arg(command));
        sendCommand(command);
        const QString text = answerText(collect(timeoutMs, answerComplete));
        logExchange(QStringLiteral("< ") + text);
        if (lineLost() || !isPortOpen()) {
            lost = true;
            lostAt = command;
        }
        return text;
    };

    for (int i = 0; i < infoCount; ++i) {
        const QString command = QStringLiteral("AT^JINFO,") + QString::number(i);
        addLine(QStringLiteral("*** SENT ***"));
        addLine(command);
        addLine(QStringLiteral("*** RCVD ***"));
        report += ask(command, 3000);
    }

    addLine(QStringLiteral("*** BLUETOOTH ***"));
    addLine(QStringLiteral("+BTMODE: ") + QString::number(config.btMode) + QLatin1Char(',')
            + config.btMac + QLatin1Char(',') + config.btPin);

    if (profiles) {
        const QChar sp = QLatin1Char(' ');
        addLine(QStringLiteral("*** GPRS ***"));
        for (const GprsProfile &p : std::as_const(config.gprsProfiles))
            addLine(p.name + sp + p.apn + sp + p.username + sp + p.password);
        addLine(QStringLiteral("*** NTRIP ***"));
        for (const NtripProfile &p : std::as_const(config.ntripProfiles))
            addLine(p.name + sp + p.address + sp + p.port + sp + p.mountpoint + sp
                    + p.clientLogin + sp + p.clientPassword + sp + p.serverPassword + sp
                    + p.sourcetable);
        addLine(QStringLiteral("*** DYNDNS ***"));
        addLine(config.dyndnsLogin + sp + config.dyndnsPassword + sp + config.dyndnsDomain);
    }

    addLine(QStringLiteral("*** RMS ***"));
    const QString storeList = ask(QStringLiteral("AT^JRMS?"), 5000);
    report += storeList;

    const QStringList names = storeNames(storeList, profiles);
    total += int(names.size());
    for (const QString &name : names) {
        addLine(QStringLiteral("*** RMS-") + name + QStringLiteral(" ***"));
        report += ask(QStringLiteral("AT^JRMS,") + name, 1000);
    }

    reportIncomplete = lost;
    if (lost) {
        // Otherwise a lost line would read like a modem that stayed silent.
        addLine(QStringLiteral("*** LINE LOST ***"));
        addLine(lostAt);
        qDebug() << QStringLiteral("makeReport: line lost at %1").arg(lostAt);
    }

    emit progressValue(total, total);
    emit progressValue(0, 0);
    emit reportComplete(report);
}
