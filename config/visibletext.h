#pragma once

#include <QString>

// Text from the modem or from a file, made safe for a terminal: a control
// character would move the cursor, clear the screen or hide what follows.
namespace VisibleText {

// Control characters other than tab and line end (C0, DEL, C1) as visible
// escapes, for instance "\x1b"; everything else unchanged.
QString escaped(const QString &text);

} // namespace VisibleText
