#include "cli/output.h"
#include "cli/verbs.h"

int verbReset(CliContext &ctx)
{
    // The option parser has already refused a reset without --yes (a dry run
    // needs none: it sends no write).
    const KZConfig defaults;
    if (!CliSteps::valuesFit(defaults, KZConfig::ConfigAll))
        return ExitFailed;
    Session &s = ctx.session();
    int failed = 0;
    if (!CliSteps::connectAndReadAll(s, &failed))
        return ExitFailed;
    if (ctx.options.dryRun)
        return CliSteps::dryRun(s, defaults, KZConfig::ConfigAll, failed);
    return CliSteps::writeAndReadBack(s, defaults, KZConfig::ConfigAll, failed);
}
