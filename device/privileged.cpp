#include "config/linevalues.h"
#include "device/exchangelog.h"
#include "device/kzconfigthread.h"
#include "device/privilegedreply.h"

#include <QDebug>

// Sends a service command under an access code. The modem's whole answer
// decides: it must end in "OK" and hold no error line.
void KZConfigThread::privilegedExecute(QString code)
{
    BusyGuard guard(busy);
    OperationLogScope logScope(QStringLiteral("privilegedExecute"));

    // A line break would end the command early and run the rest as a command
    // of its own, without the code's authority.
    if (LineValues::breaksLine(code)) {
        emit opCompleted(OpPrivileged, false,
                         QStringLiteral("AT^AUTH: code holds CR, LF or NUL; nothing sent"));
        return;
    }

    // A stale "OK" left in the port must not pass for the modem's verdict.
    if (isPortOpen())
        drainInput();
    sendCommand(QStringLiteral("AT^AUTH=") + code);

    // The answer may come in pieces: take everything until the line has been
    // quiet for 3 s. Zero bytes are line noise, not part of the text.
    // A line past the cap fails the verdict, so gathering stops there.
    QByteArray data = collectUntilQuiet(3000, MaxLineLength);
    data.replace('\0', QByteArray());
    const QString text = QString::fromLatin1(data);
    logExchange(QStringLiteral("< ") + text);

    if (!PrivilegedReply::accepted(text)) {
        emit opCompleted(OpPrivileged, false, text);
        return;
    }
    emit opCompleted(OpPrivileged, true, QString());
}
