#include "cli/options.h"

#include <QCoreApplication>

int parseLogOption(const QStringList &argv, int *i, CliOptions *o, QString *error)
{
    const QString &arg = argv.at(*i);
    if (arg == QLatin1String("--log-secrets")) {
        o->logSecrets = true;
        return 1;
    }
    if (arg != QLatin1String("--log"))
        return -1;
    if (*i + 1 >= argv.size() || argv.at(*i + 1).isEmpty()) {
        *error = QCoreApplication::translate("CliOptions", "--log: не указан файл");
        return 0;
    }
    o->logFile = argv.at(++*i);
    return 1;
}
