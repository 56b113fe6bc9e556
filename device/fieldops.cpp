// Worker operations for connecting in the field: the search for a modem and
// its speed, and starting a modem's application that an interrupted update
// left halted.
#include "device/appstate.h"
#include "device/kzconfigthread.h"
#include "device/portnames.h"

#include <QDeadlineTimer>
#include <QDebug>

namespace {

constexpr int ModelReplyMs = 1500;

} // namespace

bool KZConfigThread::reportHaltedApplication()
{
    const QString infoReply = lastReply();
    if (infoReply != QLatin1String("ERROR"))
        return false;
    sendCommand(QStringLiteral("AT"));
    waitReply(3000);
    if (!AppState::halted(infoReply, lastReply())) {
        setLastReply(infoReply);
        return false;
    }
    applicationHalted = true;
    emit progress(AppState::haltedMessage());
    emit opCompleted(OpInfo, false, QStringLiteral("JI0: ERROR, AT > OK: application halted"));
    return true;
}

bool KZConfigThread::probeApplication(int timeoutMs, int tries)
{
    for (int i = 0; i < tries && !lineLost(); ++i) {
        sendCommand(QStringLiteral("AT"));
        waitReply(timeoutMs);
        if (AppState::probeAnswered(lastReply()))
            return true;
        if (lineLost() || checkPortFailed())
            return false;
    }
    return false;
}

void KZConfigThread::startApplication()
{
    BusyGuard guard(busy);
    if (!isPortOpen()) {
        emit opCompleted(OpStartApp, false, QStringLiteral("port closed"));
        return;
    }
    emit progress(tr("Запуск приложения модема"));
    drainInput();
    sendCommand(AppState::startCommand());
    waitReply(AppState::StartReplyMs);
    const QString started = lastReply();
    if (probeApplication(AppState::StartProbeMs, AppState::StartProbeTries)) {
        // The rest of what the module says as it comes up is no reply.
        collectUntilQuiet(200);
        applicationHalted = false;
        emit opCompleted(OpStartApp, true, QString());
        return;
    }
    emit opCompleted(OpStartApp, false,
                     QStringLiteral("SJRA > %1, AT > %2").arg(started, lastReply()));
}

void KZConfigThread::applyFirmwareRecovery()
{
    skipPreCommands = true;
    applyFirmware(); // clears skipPreCommands as it starts
}

void KZConfigThread::detect(QStringList ports)
{
    BusyGuard guard(busy);
    detectStop = false;
    detectResults.clear();
    if (ports.isEmpty())
        ports = availablePortNames();
    const QList<int> speeds = Detect::speedOrder();
    bool any = false;

    for (const QString &name : std::as_const(ports)) {
        DetectResult result;
        result.port = name;
        for (int baud : speeds) {
            if (detectStop)
                break;
            emit progress(tr("Поиск модема: %1, %2").arg(name).arg(baud));
            setPortSettings(name, KZTables::codeForBaud(baud), KZTables::Data8, KZTables::ParNone,
                            KZTables::Stop1, 0);
            if (!openPort()) {
                // No speed helps a port that does not open.
                result.error = openFailure();
                break;
            }
            drainInput();
            qDebug() << QStringLiteral("> AT");
            writeBytes("\r\nAT\r\n");
            // Lines until the answer or the bound: garbage from a line at the
            // wrong speed is no answer.
            QDeadlineTimer deadline(Detect::replyWaitMs(baud));
            bool answered = false;
            while (!answered && !deadline.hasExpired() && !lineLost()) {
                if (waitReply(int(qMax<qint64>(1, deadline.remainingTime()))))
                    answered = Detect::isProbeAnswer(lastReply());
            }
            if (answered) {
                result.baud = baud;
                collectUntilQuiet(50); // the "OK" after an echo
                sendCommand(QStringLiteral("AT^JINFO,0"));
                QDeadlineTimer modelDeadline(ModelReplyMs);
                while (!modelDeadline.hasExpired()
                       && waitReply(int(qMax<qint64>(1, modelDeadline.remainingTime())))) {
                    bool isReply = false;
                    const QString model = Detect::modelFromReply(lastReply(), &isReply);
                    if (isReply) {
                        result.model = model;
                        break;
                    }
                    if (lastReply() == QLatin1String("ERROR"))
                        break; // a module without its application
                }
                collectUntilQuiet(50);
                closePort();
                break;
            }
            closePort();
        }
        if (!result.found() && result.error.isEmpty())
            result.error = detectStop ? tr("Поиск остановлен.")
                                      : tr("Модем не отвечает ни на одной скорости.");
        any = any || result.found();
        detectResults << result;
        if (detectStop)
            break;
    }
    emit opCompleted(OpDetect, any, QString());
}
