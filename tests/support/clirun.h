#pragma once

// Runs the built kzconfig-cli as a script would and keeps its exit status
// and both outputs; simulated modems and files to run it against.
#include "sim/simmodem.h"
#include "support/containers.h"

#include <QStringList>

#include <sys/resource.h>

struct Run {
    int code = -1;
    QString out;
    QString err;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QStringList errLines() const { return err.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// fileSizeLimit: the largest file the command may write (0: no limit).
Run cli(const QStringList &args, int timeoutMs = 60000, rlim_t fileSizeLimit = 0);

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

// Something in every group the command line reads.
SimState stateWithProfiles();
