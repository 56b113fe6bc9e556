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
    int dataBits = 3;  // eight
    int parity = 0;    // none
    int stopBits = 0;  // one
    bool debug = false;
    bool help = false;

    QString verb;
    QStringList args; // the command's positional arguments

    // The command's own options.
    bool yes = false;
    bool profiles = false;
    int timeoutMs = 3000;
    QString channel; // com, bt, none; empty when not given

    // Fleet use: several ports, output for scripts, no write.
    QStringList ports; // every --port in order; `port` is the first
    bool dryRun = false;
    bool json = false;
    bool quiet = false; // no progress
};

// Parses argv without the program name. False with *error (one line for the
// user) on a usage error.
bool parseOptions(const QStringList &argv, CliOptions *out, QString *error);

// Whether the command talks to a modem (and so needs --port).
bool verbNeedsModem(const QString &verb);

// The full usage text (--help) and the short one printed with a usage error.
QString usageText();
QString shortUsageText();
