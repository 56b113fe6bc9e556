#include "cli/output.h"
#include "cli/verbs.h"
#include "config/linevalues.h"

#include <QCoreApplication>

namespace CliSteps {

bool read(Session &s, int flags, int *flagsError)
{
    int ok = 0;
    if (!s.readConfig(flags, &ok, flagsError)) {
        printErr(Messages::text(Messages::readSettings));
        return false;
    }
    // The Bluetooth flag counts as read in the worker's signal; a reply that
    // was not read as it should be fails that group here like any other.
    *flagsError |= s.worker.readFailed & flags;
    if (*flagsError)
        printErr(Messages::text(Messages::readSettings));
    return true;
}

bool lineLost(Session &s)
{
    if (!s.worker.lineLost() && s.worker.isPortOpen())
        return false;
    printErr(QCoreApplication::translate("Cli", "Связь с модемом потеряна."));
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

int writeAndReadBack(Session &s, const KZConfig &config, int flags, int notRead)
{
    // A group whose read failed would be written against a wrong picture of
    // the modem (the profiles are a difference against the read lists).
    notRead &= flags;
    flags &= ~notRead;
    int ok = 0, error = 0;
    const bool finished = s.writeConfig(config, flags, &ok, &error);
    if (error)
        printErr(Messages::text(Messages::command));
    int readError = 0;
    // Every group the write touched is read again, as the window does.
    if (finished)
        CliSteps::read(s, ok | error, &readError);
    const int failed = error | readError | notRead;
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
