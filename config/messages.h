#pragma once

#include <QString>

// The words the user is told when an operation on the modem fails. The
// window shows them in boxes and its status bar, the command line on
// standard error: one table, so both say the same.
namespace Messages {
// Box texts.
extern const char *const openPort;
extern const char *const handshake;
extern const char *const info;
extern const char *const firmware;
extern const char *const privileged;
extern const char *const command;      // a failed write or device search
extern const char *const readSettings; // a failed read
extern const char *const firmwareFile;
extern const char *const firmwareOverBluetooth;
// Status-bar texts beside them.
extern const char *const openPortStatus;
extern const char *const handshakeStatus;
extern const char *const infoStatus;
extern const char *const commandStatus;
extern const char *const readSettingsStatus;

QString text(const char *message);
} // namespace Messages
