#pragma once

#include "cli/options.h"

#include <functional>

struct CliContext;

// One command on several ports at the same time: each port runs the command
// in a session of its own, with its own worker, on a thread of its own.
// Every output line starts with the port and a tab; with --json the result
// is one object keyed by port. Standard error ends with one line per port:
// the port, "ok" or the failure message, the seconds taken. The exit status
// is 1 if any port failed, else 3 if any differed, else 0. *hung is set when
// a port's worker never finished (the process must then end without
// joining it).
int runOnPorts(const CliOptions &options, const std::function<int(CliContext &)> &command,
               bool *hung);

// A file argument for one port: "{port}" becomes the port's name without its
// folder, "{serial}" the modem's serial number (empty serial: "unknown").
QString expandPath(const QString &path, const QString &port, const QString &serial = QString());
