#include "device/exchangelog.h"
#include "device/kzconfigthread.h"

#include <QDebug>
#include <QThread>

// Brings the modem into command mode with echo off: copes with echo on or
// off, a stray "ERROR", and a data call that must be escaped and hung up.
void KZConfigThread::handshake()
{
    BusyGuard guard(busy);
    OperationLogScope logScope(QStringLiteral("handshake"));
    auto fail = [this](const QString &text) { emit opCompleted(OpHandshake, false, text); };

    // The leading CR LF ends any partial line the modem may hold.
    logExchange(QStringLiteral("> AT"));
    writeBytes("\r\nAT\r\n");
    waitReply(5000);

    if (lastReply() == QLatin1String("AT")) {
        emit progress(tr("Подключение: AT > AT"));
        waitReply(5000);
        const QString first = lastReply();
        sendCommand(QStringLiteral("ATE"));
        waitReply(3000);
        if (lastReply() != QLatin1String("ATE"))
            return fail(QStringLiteral("AT > AT ") + first + QStringLiteral(", ATE > ") + lastReply());
        waitReply(3000);
        if (lastReply() != QLatin1String("OK"))
            return fail(QStringLiteral("AT > AT ") + first + QStringLiteral(", ATE > ATE ")
                        + lastReply());
        emit progress(tr("Подключение: ATE > OK"));
    } else if (lastReply() == QLatin1String("OK")) {
        emit progress(tr("Подключение: AT > OK"));
    } else if (lastReply() == QLatin1String("ERROR")) {
        emit progress(tr("Подключение: AT > ERROR"));
        sendCommand(QStringLiteral("AT"));
        waitReply(3000);
        if (lastReply() != QLatin1String("OK"))
            return fail(QStringLiteral("AT > ERROR, AT > ") + lastReply());
        emit progress(tr("Подключение: AT > OK"));
    } else {
        // Possibly in a data connection: escape with the guard times.
        const QString first = lastReply();
        emit progress(tr("Подключение: AT > ..."));
        if (!lineLost()) {
            QThread::msleep(2000);
            logExchange(QStringLiteral("> +++"));
            writeBytes("+++");
            QThread::msleep(3000);
        }
        bool sawOk = false;
        // Bounded: a modem streaming lines must not keep the drain going.
        for (int i = 0; i < 1000 && waitReply(1); ++i)
            sawOk = sawOk || lastReply().contains(QLatin1String("OK"));
        if (!sawOk)
            return fail(QStringLiteral("AT > ") + first + QStringLiteral(", +++ > ") + lastReply());
        emit progress(tr("Подключение: +++ > OK"));
    }

    sendCommand(QStringLiteral("ATH"));
    waitReply(5000);
    if (lastReply() != QLatin1String("OK"))
        return fail(QStringLiteral("ATH > ") + lastReply());

    sendCommand(QStringLiteral("ATE"));
    waitReply(500);
    if (lastReply() == QLatin1String("ATE")) {
        waitReply(1000);
        if (lastReply() != QLatin1String("OK"))
            return fail(QStringLiteral("ATE > ATE ") + lastReply());
    } else if (lastReply() != QLatin1String("OK")) {
        return fail(QStringLiteral("ATE > ") + lastReply());
    }

    emit progress(tr("Подключение: ATH > OK"));
    emit opCompleted(OpHandshake, true, QString());
}
