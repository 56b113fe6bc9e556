#pragma once

#include <QString>

// Hides the secrets of the modem's dialogue in text meant for other eyes:
// the password fields of the GPRS, NTRIP and DynDNS write commands and query
// replies, the Bluetooth PIN, and the access code of the authorisation
// command. Each becomes "***"; an empty field stays empty (it hides nothing).
class SecretMask
{
public:
    static const QString Hidden;

    // Masks every line of `text` (lines end at CR or LF, which stay).
    static QString mask(const QString &text);
};
