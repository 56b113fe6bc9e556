#include "cli/output.h"
#include "cli/verbs.h"
#include "device/portnames.h"

int verbPorts(CliContext &)
{
    for (const QString &name : availablePortNames())
        printOut(name);
    return ExitOk;
}
