#include "cli/output.h"
#include "cli/verbs.h"
#include "config/linevalues.h"

namespace CliSteps {

bool read(Session &s, int flags, int *flagsError)
{
    int ok = 0;
    if (!s.readConfig(flags, &ok, flagsError)) {
        printErr(Messages::text(Messages::readSettings));
        return false;
    }
    if (*flagsError)
        printErr(Messages::text(Messages::readSettings));
    return true;
}

bool valuesFit(const KZConfig &config, int flags)
{
    const QList<LineValues::Offence> offences = LineValues::check(config, flags);
    if (offences.isEmpty())
        return true;
    printErr(LineValues::message(offences));
    return false;
}

int writeAndReadBack(Session &s, const KZConfig &config, int flags)
{
    int ok = 0, error = 0;
    const bool finished = s.writeConfig(config, flags, &ok, &error);
    if (error)
        printErr(Messages::text(Messages::command));
    int readError = 0;
    // Every group the write touched is read again, as the window does.
    if (finished)
        CliSteps::read(s, ok | error, &readError);
    const int failed = error | readError;
    if (failed) {
        printOut(QStringLiteral("failed: ") + groupNames(failed).join(QLatin1Char(' ')));
        return ExitFailed;
    }
    return finished ? ExitOk : ExitFailed;
}

bool connectAndReadAll(Session &s, int *flagsError)
{
    return s.connectModem() && read(s, KZConfig::ConfigAll, flagsError);
}

} // namespace CliSteps
