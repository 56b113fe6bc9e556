#include "cli/output.h"
#include "cli/verbs.h"

int verbReset(CliContext &ctx)
{
    // The option parser has already refused a reset without --yes.
    const KZConfig defaults;
    if (!CliSteps::valuesFit(defaults, KZConfig::ConfigAll))
        return ExitFailed;
    Session &s = ctx.session();
    int failed = 0;
    if (!CliSteps::connectAndReadAll(s, &failed))
        return ExitFailed;
    return CliSteps::writeAndReadBack(s, defaults, KZConfig::ConfigAll, failed);
}
