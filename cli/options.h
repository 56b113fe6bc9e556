#pragma once

#include <QString>
#include <QStringList>

// Exit statuses are part of the command line's contract: scripts test them.
enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2, ExitDiffers = 3 };

// What the command line asked for. Connection options stand before the
// command, the command's own options after it.
struct CliOptions {
    // Connection (codes as the link holds them).
    QString port;
    int baudCode = 19; // 115200
    bool baudAuto = false; // --baud auto: find the modem's speed first
    int dataBits = 3;  // eight
    int parity = 0;    // none
    int stopBits = 0;  // one
    bool debug = false;
    QString logFile;         // --log: the exchange log, appended to as it happens
    bool logSecrets = false; // --log-secrets: passwords and codes unmasked
    QString lang; // --lang: en or ru; empty when not given
    bool help = false;
    bool version = false;

    QString verb;
    QStringList args; // the command's positional arguments

    // The command's own options.
    bool yes = false;
    bool profiles = false;
    bool raw = false; // report-show: the bytes as the file holds them
    int timeoutMs = 3000;
    QString channel; // com, bt, none; empty when not given
    bool recover = false;  // flash a modem without its application

    // Fleet use: several ports, output for scripts, no write.
    QStringList ports; // every --port in order; `port` is the first
    bool dryRun = false;
    bool json = false;
    bool quiet = false; // no progress
};

// Parses argv without the program name. False with *error (one line for the
// user) on a usage error.
bool parseOptions(const QStringList &argv, CliOptions *out, QString *error);

// Takes --log FILE or --log-secrets at argv[*i]: 1 taken (*i on its last
// word), 0 a usage error (*error set), -1 not one of them.
int parseLogOption(const QStringList &argv, int *i, CliOptions *o, QString *error);

// Takes --lang en|ru (or --lang=en) at argv[*i], as parseLogOption.
int parseLangOption(const QStringList &argv, int *i, CliOptions *o, QString *error);

// Whether the command talks to a modem (and so needs --port).
bool verbNeedsModem(const QString &verb);

// The full usage text (--help) and the short one printed with a usage error.
QString usageText();
QString shortUsageText();
