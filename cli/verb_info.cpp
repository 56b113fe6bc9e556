#include "cli/output.h"
#include "cli/verbs.h"

int verbInfo(CliContext &ctx)
{
    Session &s = ctx.session();
    if (!s.connectModem())
        return ExitFailed;
    printKeyValues(identityLines(s.worker.identity()), ctx.options.json);
    return ExitOk;
}
