#include "app/mainwindow.h"
#include "config/uilanguage.h"

#include "kzversion.h"

#include <csignal>
#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstring>

namespace {

void describe(QCommandLineParser &p, const QCommandLineOption &version)
{
    p.setApplicationDescription(QStringLiteral(
            "KZ-Config: configures the KZ520 GSM/GPRS modem over a serial line."));
    p.addHelpOption();
    p.addOption(version);
    p.addOption(QCommandLineOption(QStringLiteral("lang"),
                                   QStringLiteral("Language of the window: en or ru (else "
                                                  "KZCONFIG_LANG, then the system's)."),
                                   QStringLiteral("en|ru")));
    p.addPositionalArgument(QStringLiteral("port"),
                            QStringLiteral("Serial port to choose at start, e.g. /dev/ttyUSB0 or "
                                           "COM3 (also one the port list does not show)."),
                            QStringLiteral("[port]"));
}

// --help and --version must answer without a display, so they are handled
// before the window's application (which needs one) exists.
bool asksForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h") || !std::strcmp(a, "-?")
            || !std::strcmp(a, "--help-all") || !std::strcmp(a, "--version"))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("kzconfig"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KZ_VERSION));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Displays version information."));
    if (asksForText(argc, argv)) {
        QCoreApplication core(argc, argv);
        QCommandLineParser p;
        describe(p, version);
        p.process(core);
        if (p.isSet(version))
            p.showVersion();
        p.showHelp(0);
    }

    // Past a file-size limit a write must fail (and the old file stay), not
    // end the process half-way.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    // Lets Wayland desktops match the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("kzconfig"));
    QCommandLineParser p;
    describe(p, version);
    p.process(app);
    const QString lang = p.value(QStringLiteral("lang"));
    if (p.isSet(QStringLiteral("lang")) && !UiLanguage::isOptionValue(lang)) {
        fprintf(stderr, "kzconfig: --lang takes en or ru, not %s\n", qPrintable(lang));
        return 2;
    }
    UiLanguage::install(UiLanguage::fromSystem(lang));
    const QStringList ports = p.positionalArguments();
    if (ports.size() > 1) {
        fprintf(stderr, "kzconfig: one port at most, not %lld\n",
                static_cast<long long>(ports.size()));
        return 2;
    }
    MainWindow window;
    // kzconfig PORT: start with PORT chosen (also a path the enumerator does not list).
    if (!ports.isEmpty())
        window.selectPort(ports.first());
    window.show();
    return app.exec();
}
