#include "cli/output.h"
#include "cli/verbs.h"

namespace {

int showMode(Session &s, bool json)
{
    int failed = 0;
    if (!CliSteps::read(s, KZConfig::ConfigAutoexec, &failed) || failed)
        return ExitFailed;
    printKeyValues(modeLines(s.worker.record()), json);
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
        return showMode(s, o.json);
    }

    // "mode set": the window's save with one autostart switch checked. Only
    // one command is written: the COM one when set, otherwise "B=".
    const QString command = o.args.value(1);
    const auto withCommand = [&](KZConfig copy) {
        copy.autoexecCom = o.channel == QLatin1String("com") ? command : QString();
        copy.autoexecBt = o.channel == QLatin1String("bt") ? command : QString();
        return copy;
    };
    if (!CliSteps::valuesFit(withCommand(s.worker.record()), KZConfig::ConfigAutoexec))
        return ExitFailed;
    if (!s.connectModem())
        return ExitFailed;
    // The write clears the other channel's command only when it knows the
    // modem holds one: read first, as the window does.
    int readError = 0;
    if (!CliSteps::read(s, KZConfig::ConfigAutoexec, &readError) || readError) {
        printOut(QStringLiteral("failed: ") + groupNames(KZConfig::ConfigAutoexec).join(' '));
        return ExitFailed;
    }
    const KZConfig copy = withCommand(s.worker.record());
    if (o.dryRun)
        return CliSteps::dryRun(s, copy, KZConfig::ConfigAutoexec);

    int ok = 0, error = 0;
    if (!s.writeConfig(copy, KZConfig::ConfigAutoexec, &ok, &error) || error) {
        printErr(Messages::text(Messages::command));
        printOut(QStringLiteral("failed: ") + groupNames(KZConfig::ConfigAutoexec).join(' '));
        return ExitFailed;
    }
    return showMode(s, o.json);
}
