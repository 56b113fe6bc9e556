#include "support/modemhooks.h"

#include <QDebug>

#include <atomic>
#include <memory>

bool startModem(SimModem &sim)
{
    QString error;
    if (sim.start(&error))
        return true;
    qWarning() << error;
    return false;
}

SimModem::CommandHook notOurModem()
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

SimModem::CommandHook answerWith(const QString &command, const QByteArray &reply, int times)
{
    auto left = std::make_shared<int>(times);
    return [=](const QString &line, QByteArray *out) {
        if (line != command || *left == 0)
            return false;
        if (*left > 0)
            --*left;
        *out = reply;
        return true;
    };
}
