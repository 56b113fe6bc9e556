#pragma once

// A modem that answers the handshake but is not a KZ520: "ERROR" to the model
// query, and "ERROR" again to the "AT" asked after it, so that it is not taken
// for a KZ520 whose application is halted (which answers that "AT" with "OK").
#include "sim/simmodem.h"

#include <atomic>
#include <memory>

inline SimModem::CommandHook notOurModem()
{
    auto asked = std::make_shared<std::atomic<bool>>(false);
    return [asked](const QString &line, QByteArray *reply) {
        if (line == QLatin1String("AT^JINFO,0"))
            *asked = true;
        else if (!*asked || line != QLatin1String("AT"))
            return false;
        *reply = "\r\nERROR\r\n";
        return true;
    };
}
