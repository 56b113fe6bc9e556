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

int parseLangOption(const QStringList &argv, int *i, CliOptions *o, QString *error)
{
    const QString &arg = argv.at(*i);
    const QString name = QStringLiteral("--lang");
    QString value;
    if (arg == name) {
        if (*i + 1 >= argv.size()) {
            *error = QCoreApplication::translate("CliOptions", "параметру %1 нужно значение")
                             .arg(name);
            return 0;
        }
        value = argv.at(++*i);
    } else if (arg.startsWith(name + QLatin1Char('='))) {
        value = arg.mid(name.size() + 1);
    } else {
        return -1;
    }
    // The language is installed before the options are parsed; here only
    // its spelling is checked.
    if (value != QLatin1String("en") && value != QLatin1String("ru")) {
        *error = QCoreApplication::translate("CliOptions",
                                             "--lang: язык должен быть en или ru, а не «%1»")
                         .arg(value);
        return 0;
    }
    o->lang = value;
    return 1;
}
