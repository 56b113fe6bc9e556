#include "cli/output.h"
#include "cli/verbs.h"

namespace {

int showMode(Session &s)
{
    int failed = 0;
    if (!CliSteps::read(s, KZConfig::ConfigAutoexec, &failed) || failed)
        return ExitFailed;
    printKeyValues(modeLines(s.worker.config));
    return ExitOk;
}

} // namespace

int verbMode(CliContext &ctx)
{
    const CliOptions &o = ctx.options;
    Session &s = ctx.session();
    if (o.args.isEmpty()) {
        if (!s.connectModem())
            return ExitFailed;
        return showMode(s);
    }

    // "mode set": the window's save with one autostart switch checked. Only
    // one command is written: the COM one when set, otherwise "B=".
    const QString command = o.args.value(1);
    KZConfig copy = s.worker.config;
    copy.autoexecCom = o.channel == QLatin1String("com") ? command : QString();
    copy.autoexecBt = o.channel == QLatin1String("bt") ? command : QString();
    if (!CliSteps::valuesFit(copy, KZConfig::ConfigAutoexec))
        return ExitFailed;
    if (!s.connectModem())
        return ExitFailed;

    int ok = 0, error = 0;
    if (!s.writeConfig(copy, KZConfig::ConfigAutoexec, &ok, &error) || error) {
        printErr(Messages::text(Messages::command));
        printOut(QStringLiteral("failed: ") + groupNames(KZConfig::ConfigAutoexec).join(' '));
        return ExitFailed;
    }
    return showMode(s);
}
