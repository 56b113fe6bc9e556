#include "cli/multiport.h"

#include "cli/output.h"
#include "cli/verbs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonObject>
#include <QThread>

#include <memory>
#include <vector>

namespace {

struct PortResult {
    int code = ExitFailed;
    double seconds = 0;
    QString lastError;
    QJsonValue json;
    bool hung = false;
};

// A name fit for a file name: no folder separators.
QString fileSafe(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return out;
}

} // namespace

QString expandPath(const QString &path, const QString &port, const QString &serial)
{
    QString out = path;
    out.replace(QLatin1String("{port}"), fileSafe(QFileInfo(port).fileName()));
    if (out.contains(QLatin1String("{serial}")))
        out.replace(QLatin1String("{serial}"),
                    serial.isEmpty() ? QStringLiteral("unknown") : fileSafe(serial));
    return out;
}

int runOnPorts(const CliOptions &options, const std::function<int(CliContext &)> &command,
               bool *hung)
{
    const QStringList ports = options.ports;
    std::vector<PortResult> results(size_t(ports.size()));
    std::vector<std::unique_ptr<QThread>> threads;

    for (int i = 0; i < ports.size(); ++i) {
        const QString port = ports.at(i);
        PortResult *result = &results[size_t(i)];
        threads.emplace_back(QThread::create([options, port, result, &command] {
            OutputScope scope;
            scope.prefix = port + QLatin1Char('\t');
            scope.collectJson = options.json;
            // A stuck worker cannot be joined: its context is then left alive.
            auto *ctx = new CliContext;
            ctx->options = options;
            ctx->options.port = port;
            ctx->options.ports = QStringList { port };
            QElapsedTimer timer;
            timer.start();
            result->code = command(*ctx);
            result->seconds = double(timer.elapsed()) / 1000.0;
            result->lastError = scope.lastError;
            result->json = scope.json;
            result->hung = ctx->hung();
            if (!result->hung)
                delete ctx;
        }));
        threads.back()->start();
    }
    for (auto &t : threads)
        t->wait();

    bool failed = false, differs = false;
    QJsonObject keyed;
    for (int i = 0; i < ports.size(); ++i) {
        const PortResult &r = results[size_t(i)];
        const bool ok = r.code == ExitOk || r.code == ExitDiffers;
        failed |= !ok;
        differs |= r.code == ExitDiffers;
        *hung |= r.hung;
        if (options.json) {
            QJsonValue v = r.json;
            if (!ok && !v.isObject())
                v = QJsonObject { { QStringLiteral("error"), r.lastError } };
            keyed.insert(ports.at(i), v);
        }
    }
    if (options.json)
        printJson(keyed);
    for (int i = 0; i < ports.size(); ++i) {
        const PortResult &r = results[size_t(i)];
        const bool ok = r.code == ExitOk || r.code == ExitDiffers;
        const QString outcome = ok
                ? QStringLiteral("ok")
                : (r.lastError.isEmpty() ? QCoreApplication::translate("Cli", "ошибка")
                                         : r.lastError);
        printErr(
                QStringLiteral("%1\t%2\t%3 с").arg(ports.at(i), outcome).arg(r.seconds, 0, 'f', 1));
    }
    return failed ? ExitFailed : differs ? ExitDiffers : ExitOk;
}
