#pragma once

// Runs the built kzconfig-cli against simulated modems, as a script would.
#include "firmware/firmwarecontainer.h"
#include "sim/simmodem.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

inline Run cli(const QStringList &args, int timeoutMs = 60000)
{
    QProcess p;
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

// A started simulated modem; the port name goes to --port.
struct Sim {
    SimModem modem;
    explicit Sim(const SimState &state = SimState()) { modem.setState(state); }
    bool start() { return modem.start(); }
    QStringList port() const { return { QStringLiteral("--port"), modem.portName() }; }
    Run run(const QStringList &args, int timeoutMs = 60000)
    {
        return cli(port() + args, timeoutMs);
    }
};

inline SimState stateWithProfiles()
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

inline QString writeContainerFile(const QString &path, const FirmwareContainer &c)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || !writeContainer(&f, c))
        return QString();
    return path;
}

} // namespace
