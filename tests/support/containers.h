#pragma once

// Firmware containers for the tests: a plain one to choose or flash, and
// writing one to a file.
#include "firmware/firmwarecontainer.h"

// A container for `hardware` with one file, atc65.jar, of `bytes` bytes
// that take every byte value.
FirmwareContainer firmwareFor(const QString &hardware, int bytes, int software = 401);

// Writes `c` to `path`; the path, or empty when it could not be written.
QString writeContainerFile(const QString &path, const FirmwareContainer &c);
