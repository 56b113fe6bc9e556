#include "support/clirun.h"

#include <QProcess>

Run cli(const QStringList &args, int timeoutMs, rlim_t fileSizeLimit)
{
    QProcess p;
    if (fileSizeLimit)
        p.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit { fileSizeLimit, fileSizeLimit };
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // As under ctest: debug output is off unless the command line turns it on.
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("default.debug=false"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KZCONFIG_CLI), args);
    Run r;
    if (!p.waitForStarted(10000))
        return r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

SimState stateWithProfiles()
{
    SimState s;
    s.gprs = { { "inet", "internet", "user", "pass" }, { "mts", "mts.ru", "mts", "mts" } };
    s.ntrip = { { "src", "caster.example", "2101", "MP1", "cl", "cp", "sp", "st,more" } };
    s.dyndnsSet = true;
    s.dyndns = { "login", "secret", "base.example" };
    s.btMode = 2;
    s.btMac = "0012AB";
    s.btPin = "1234";
    s.autoexecC = "ATD*91*inet#10.0.0.1,5000";
    return s;
}
