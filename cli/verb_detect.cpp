// detect: which port has a modem, and at which speed; also the speed search
// behind --baud auto.
#include "cli/output.h"
#include "cli/verbs.h"
#include "config/kzconfig.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Every speed of every port, each wait bounded; far above what it takes.
int detectBoundMs(int ports)
{
    return 20000 + qMax(1, ports) * 60000;
}

bool runDetect(Session &s, const QStringList &ports, QList<DetectResult> *results)
{
    s.startWorker();
    const Session::Result r =
            s.run("detect", detectBoundMs(int(ports.size())), Q_ARG(QStringList, ports));
    if (r.timedOut)
        return false;
    *results = s.worker.detectResults; // read after the completion
    return true;
}

} // namespace

namespace CliSteps {

bool findBaud(Session &s, const QString &port, int *baudCode)
{
    QList<DetectResult> results;
    if (!runDetect(s, { port }, &results) || results.isEmpty()) {
        printErr(Messages::text(Messages::handshake));
        return false;
    }
    const DetectResult &r = results.first();
    if (!r.found()) {
        printErr(Messages::text(Messages::handshake));
        printErr(r.error);
        return false;
    }
    printErr(QStringLiteral("Скорость модема: %1").arg(r.baud));
    *baudCode = KZTables::codeForBaud(r.baud);
    return true;
}

} // namespace CliSteps

int verbDetect(CliContext &ctx)
{
    // Every --port, before or after the command, in the order given.
    QStringList ports = ctx.options.ports;
    ports.removeDuplicates();
    QList<DetectResult> results;
    if (!runDetect(ctx.session(), ports, &results)) {
        printErr(Messages::text(Messages::handshake));
        return ExitFailed;
    }
    if (results.isEmpty())
        printErr(QCoreApplication::translate("Cli", "Последовательные порты не найдены."));
    bool any = false;
    QJsonArray array;
    for (const DetectResult &r : std::as_const(results)) {
        any = any || r.found();
        if (ctx.options.json) {
            QJsonObject o { { QStringLiteral("port"), r.port } };
            if (r.found()) {
                o.insert(QStringLiteral("baud"), r.baud);
                o.insert(QStringLiteral("model"), r.model);
            } else {
                o.insert(QStringLiteral("error"), r.error);
            }
            array.append(o);
        } else if (r.found()) {
            printOut(QStringLiteral("%1\t%2\t%3").arg(r.port).arg(r.baud).arg(r.model));
        } else {
            printErr(QStringLiteral("%1: %2").arg(r.port, r.error));
        }
    }
    if (ctx.options.json)
        printOut(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
    return any ? ExitOk : ExitFailed;
}
