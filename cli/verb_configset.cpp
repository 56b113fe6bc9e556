#include "cli/output.h"
#include "cli/verbs.h"
#include "cli/multiport.h"
#include "forms/configset.h"

#include <QCoreApplication>

int verbSave(CliContext &ctx)
{
    Session &s = ctx.session();
    int failed = 0;
    if (!CliSteps::connectAndReadAll(s, &failed))
        return ExitFailed;
    // A set missing a group that could not be read would, applied elsewhere,
    // wipe that group there: nothing is written then.
    if (failed) {
        printOut(QStringLiteral("failed: ") + groupNames(failed).join(QLatin1Char(' ')));
        return ExitFailed;
    }
    const DeviceIdentity id = s.worker.identity();
    const ConfigSet::Data data =
            ConfigSet::fromConfig(s.worker.record(), id.model, id.softwareVersion);
    QString error;
    const QString path = expandPath(ctx.options.args.at(0), ctx.options.port, id.serialNumber);
    if (!ConfigSet::save(path, data, &error)) {
        printErr(error);
        return ExitFailed;
    }
    return ExitOk;
}

bool CliSteps::loadSet(const CliContext &ctx, ConfigSet::Loaded *loaded)
{
    QString error;
    if (!ConfigSet::load(expandPath(ctx.options.args.at(0), ctx.options.port), loaded, &error)
        || !ConfigSet::complete(*loaded, &error)) {
        printErr(error);
        return false;
    }
    return CliSteps::valuesFit(loaded->config, KZConfig::ConfigAll);
}

int verbApply(CliContext &ctx)
{
    // The file first: a set that cannot be used needs no modem.
    ConfigSet::Loaded loaded;
    if (!CliSteps::loadSet(ctx, &loaded))
        return ExitFailed;

    Session &s = ctx.session();
    if (!s.connectModem())
        return ExitFailed;
    const DeviceIdentity id = s.worker.identity();
    if (!ConfigSet::versionMatches(loaded, id.model, id.softwareVersion)) {
        printErr(ConfigSet::versionQuestion(loaded.partno, loaded.softversion, id.model,
                                            id.softwareVersion)
                         .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        if (!ctx.options.yes && !ctx.options.dryRun) {
            printErr(QCoreApplication::translate(
                    "Cli", "Настройки не применены: для применения укажите --yes."));
            return ExitFailed;
        }
    }
    // The profiles are written as a difference against the modem's own lists,
    // so they are read first, as the window does after connecting.
    int failed = 0;
    if (!CliSteps::read(s, KZConfig::ConfigAll, &failed))
        return ExitFailed;
    if (ctx.options.dryRun)
        return CliSteps::dryRun(s, loaded.config, KZConfig::ConfigAll, failed);
    return CliSteps::writeAndReadBack(s, loaded.config, KZConfig::ConfigAll, failed);
}
