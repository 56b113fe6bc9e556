#include "cli/output.h"
#include "cli/verbs.h"
#include "config/writeplan.h"

namespace CliSteps {

int dryRun(Session &s, const KZConfig &config, int flags, int notRead)
{
    notRead &= flags;
    flags &= ~notRead;
    // The very plan the write would execute, against the record just read.
    const QList<WritePlan::Group> groups = WritePlan::plan(
            s.worker.record(), config, flags, s.worker.identity().softwareNumber());
    for (const QString &line : WritePlan::lines(groups))
        printOut(line);
    int refused = notRead;
    for (const WritePlan::Group &g : groups)
        if (g.outcome == WritePlan::Group::Refused)
            refused |= g.flag;
    if (refused) {
        printErr(QStringLiteral("failed: ") + groupNames(refused).join(QLatin1Char(' ')));
        return ExitFailed;
    }
    return ExitOk;
}

} // namespace CliSteps
