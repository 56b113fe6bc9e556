#pragma once

#include <QString>

// The verdict on the modem's whole answer to a privileged command.
namespace PrivilegedReply {

// Accepted when the answer's last non-empty line is exactly "OK" and no line
// begins with "ERROR" or "+CME ERROR"; a line longer than the link's line
// cap is no answer of the modem's and fails too.
bool accepted(const QString &answer);

} // namespace PrivilegedReply
