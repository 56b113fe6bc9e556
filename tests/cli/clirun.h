#pragma once

// Simulated modems and files for running kzconfig-cli against them.
#include "common/clirun.h"
#include "firmware/firmwarecontainer.h"
#include "sim/simmodem.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

namespace {

// A started simulated modem; the port name goes to --port.
struct Sim {
    SimModem modem;
    explicit Sim(const SimState &state = SimState()) { modem.setState(state); }
    bool start() { return modem.start(); }
    QStringList port() const { return { QStringLiteral("--port"), modem.portName() }; }
    Run run(const QStringList &args, int timeoutMs = 60000, rlim_t fileSizeLimit = 0)
    {
        return cli(port() + args, timeoutMs, fileSizeLimit);
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
