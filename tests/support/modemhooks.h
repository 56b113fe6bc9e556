#pragma once

// The simulated modem: starting it, and command hooks for a modem that is
// not a KZ520 and for fixed replies to one command.
#include "sim/simmodem.h"

// Starts the simulated modem; on failure says why.
bool startModem(SimModem &sim);

// A modem that answers the handshake but is not a KZ520: "ERROR" to the model
// query, and "ERROR" again to the "AT" asked after it, so that it is not taken
// for a KZ520 whose application is halted (which answers that "AT" with "OK").
SimModem::CommandHook notOurModem();

// Answers `command` with a fixed reply the first `times` times it is asked
// (every time with EveryTime), everything else as the modem would.
constexpr int EveryTime = -1;
SimModem::CommandHook answerWith(const QString &command, const QByteArray &reply, int times = 1);
