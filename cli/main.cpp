#include "cli/logfile.h"
#include "cli/multiport.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/verbs.h"
#include "config/uilanguage.h"
#include "kzversion.h"

#include <csignal>
#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>

namespace {

bool g_debug = false;
QLoggingCategory::CategoryFilter g_previousFilter = nullptr;

// Debug lines (the exchange with the modem) only with --debug; a message that
// is one quoted string loses its quotes so that lines begin with "> ", "< ".
void messageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if ((type == QtDebugMsg || type == QtInfoMsg) && !g_debug)
        return;
    QString text = message;
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    printErr(text);
}

// --debug must win over logging rules from the environment.
void debugFilter(QLoggingCategory *category)
{
    if (g_previousFilter)
        g_previousFilter(category);
    if (qstrcmp(category->categoryName(), "default") == 0)
        category->setEnabled(QtDebugMsg, true);
}

int dispatch(CliContext &ctx)
{
    static const struct {
        const char *name;
        int (*run)(CliContext &);
    } table[] = {
        { "ports", verbPorts },   { "info", verbInfo },     { "read", verbRead },
        { "bt-scan", verbBtScan }, { "send", verbSend },     { "auth", verbAuth },
        { "mode", verbMode },     { "save", verbSave },     { "apply", verbApply },
        { "reset", verbReset },   { "fwinfo", verbFwinfo }, { "flash", verbFlash },
        { "report", verbReport }, { "report-show", verbReportShow }, { "diff", verbDiff },
        { "detect", verbDetect }, { "start-app", verbStartApp },
    };
    for (const auto &v : table)
        if (ctx.options.verb == QLatin1String(v.name))
            return v.run(ctx);
    return ExitUsage; // parseOptions knows every verb of the table
}

} // namespace

int main(int argc, char *argv[])
{
    // Past a file-size limit a write must fail (and the old file stay), not
    // end the process half-way.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    qInstallMessageHandler(messageHandler);
    QCoreApplication app(argc, argv);

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // Before the options are parsed, so that their errors are in the chosen
    // language too (parseOptions refuses a --lang other than en or ru). The
    // progress phrases that scripts read stay as they are.
    UiLanguage::install(UiLanguage::fromSystem(UiLanguage::optionValue(args)),
                        { QByteArrayLiteral("TransferProgress") });
    CliContext ctx;
    QString error;
    if (!parseOptions(args, &ctx.options, &error)) {
        printErr(QStringLiteral("kzconfig-cli: ") + error);
        printErr(shortUsageText());
        return ExitUsage;
    }
    if (ctx.options.help) {
        fputs(usageText().toUtf8().constData(), stdout);
        return ExitOk;
    }
    if (ctx.options.version) {
        fputs("kzconfig-cli " KZ_VERSION "\n", stdout);
        return ExitOk;
    }
    g_debug = ctx.options.debug;
    KZConfigThread::registerMetaTypes(); // once, before any port's thread
    if (g_debug)
        g_previousFilter = QLoggingCategory::installFilter(debugFilter);

    if (!ctx.options.logFile.isEmpty()) {
        if (!startLogFile(ctx.options.logFile, ctx.options.logSecrets, &error)) {
            printErr(QStringLiteral("kzconfig-cli: --log %1: %2").arg(ctx.options.logFile, error));
            return ExitFailed;
        }
    }

    bool hung = false;
    const int code = ctx.options.ports.size() > 1 && ctx.options.verb != QLatin1String("detect")
                             ? runOnPorts(ctx.options, dispatch, &hung)
                                                  : dispatch(ctx);
    endStatus();
    if (hung || ctx.hung()) {
        // A worker operation never finished: its thread cannot be joined.
        fflush(stdout);
        fflush(stderr);
        std::_Exit(code);
    }
    stopLogFile();
    return code;
}
