#include "config/linevalues.h"
#include "device/exchangelog.h"
#include "device/kzconfigthread.h"

#include <QDebug>

// Sends a service command under an access code. The modem's whole answer
// decides: it must hold "OK" and no "ERROR" anywhere.
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
    QByteArray data = collectUntilQuiet(3000);
    data.replace('\0', QByteArray());
    const QString text = QString::fromLatin1(data);
    logExchange(QStringLiteral("< ") + text);

    if (text.contains(QLatin1String("ERROR")) || !text.contains(QLatin1String("OK"))) {
        emit opCompleted(OpPrivileged, false, text);
        return;
    }
    emit opCompleted(OpPrivileged, true, QString());
}
