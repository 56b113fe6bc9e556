#pragma once

#include <QStringList>

// The serial ports offered to the user, in the enumerator's order: a name
// with the "\\.\" device prefix loses it, and parallel ports are left out.
QStringList filterPortNames(const QStringList &enumerated);

// The ports this machine has now.
QStringList availablePortNames();
