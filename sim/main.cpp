// kz520-sim: a simulated KZ520 on a pseudo-terminal, for demos and manual checks.
#include "sim/simmodem.h"

#include "kzversion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

static int g_sigPipe[2];

static void onSignal(int)
{
    const char c = 1;
    if (::write(g_sigPipe[1], &c, 1) < 0) { }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kz520-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KZ_VERSION));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
            "A simulated KZ520 modem on a pseudo-terminal. Prints the terminal's path and "
            "answers until stopped (Ctrl+C)."));
    p.addHelpOption();
    // Not addVersionOption(): its -v would take verbose's name.
    QCommandLineOption version(QStringLiteral("version"),
                               QStringLiteral("Displays version information."));
    QCommandLineOption scenario(QStringLiteral("scenario"), QStringLiteral("Scenario file (key = value lines)."), QStringLiteral("file"));
    QCommandLineOption link(QStringLiteral("link"), QStringLiteral("Also make a symlink to the terminal at this path."), QStringLiteral("path"));
    QCommandLineOption set(QStringLiteral("set"), QStringLiteral("Set one scenario key, e.g. --set software=334 (repeatable)."), QStringLiteral("key=value"));
    QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("Delay before each reply, in ms."), QStringLiteral("ms"));
    QCommandLineOption lineRate(QStringLiteral("line-rate"), QStringLiteral("Emulate the line rate (10 bits a byte at the modem's baud)."));
    QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Hear everything, answer nothing."));
    QCommandLineOption verbose(QStringList{ QStringLiteral("v"), QStringLiteral("verbose") }, QStringLiteral("Print what is heard and said."));
    QCommandLineOption drive(QStringLiteral("drive"), QStringLiteral("Keep the drive A:/ in this folder: uploaded files land there, files placed there are on the drive."), QStringLiteral("dir"));
    p.addOptions({ version, scenario, link, set, delay, lineRate, silent, verbose, drive });
    p.process(app);
    if (p.isSet(version))
        p.showVersion();

    SimState state;
    QString error;
    if (p.isSet(scenario) && !SimModem::loadScenario(state, p.value(scenario), &error)) {
        fprintf(stderr, "kz520-sim: %s\n", qPrintable(error));
        return 2;
    }
    for (const QString &kv : p.values(set)) {
        const int eq = kv.indexOf(QLatin1Char('='));
        if (eq <= 0 || !SimModem::applySetting(state, kv.left(eq), kv.mid(eq + 1), &error)) {
            fprintf(stderr, "kz520-sim: --set %s: %s\n", qPrintable(kv),
                    eq <= 0 ? "expected key=value" : qPrintable(error));
            return 2;
        }
    }
    if (p.isSet(delay))
        state.replyDelayMs = p.value(delay).toInt();
    if (p.isSet(lineRate))
        state.lineRate = true;
    if (p.isSet(silent))
        state.silent = true;
    if (p.isSet(drive)) {
        state.driveDir = p.value(drive);
        if (!QDir(state.driveDir).exists()) {
            fprintf(stderr, "kz520-sim: --drive %s: no such folder\n", qPrintable(state.driveDir));
            return 2;
        }
    }

    SimModem sim;
    sim.setState(state);
    sim.setVerbose(p.isSet(verbose));
    if (!sim.start(&error)) {
        fprintf(stderr, "kz520-sim: %s\n", qPrintable(error));
        return 1;
    }
    QString linkPath;
    if (p.isSet(link)) {
        linkPath = p.value(link);
        QFile::remove(linkPath);
        if (!QFile::link(sim.portName(), linkPath)) {
            fprintf(stderr, "kz520-sim: cannot create the link %s\n", qPrintable(linkPath));
            return 1;
        }
    }
    printf("%s\n", qPrintable(sim.portName()));
    fflush(stdout);

    if (::pipe(g_sigPipe) != 0)
        return 1;
    QSocketNotifier notifier(g_sigPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    const int rc = app.exec();
    sim.stop();
    if (!linkPath.isEmpty())
        QFile::remove(linkPath);
    return rc;
}
