// The firmware update: the container's checks, halting the modem's
// application, the OBEX transfer of the container's files at 115200 baud,
// starting the application again and the final checks.
#include "device/appstate.h"
#include "device/exchangelog.h"
#include "device/kzconfigthread.h"
#include "obex/obexclient.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDebug>

#include <climits>

namespace {

const QString HaltCommand = QStringLiteral("AT^JHLT");
const QString StartCommand = AppState::startCommand();
constexpr qint32 TransferBaud = 115200;
constexpr int CheckTimeoutMs = 10000;    // a check's reply, or the pause when none is awaited
constexpr int HaltStartTimeoutMs = AppState::StartReplyMs; // reply to the halt and to the start
constexpr int HaltPauseMs = 2000;
// A modem that never answers the probe must not hold the worker: about 10 s
// after the halt.
constexpr int ProbeBeforeMs = 500;
constexpr int ProbeTriesBefore = 20;
constexpr int QuietEndMs = 200;

} // namespace

void KZConfigThread::applyFirmware()
{
    BusyGuard guard(busy);
    OperationLogScope logScope(QStringLiteral("applyFirmware"));
    // Its own copy: choosing another file meanwhile cannot change this update.
    const FirmwareContainer fw = m_firmware;

    // The reason below the short text, where a layer beneath gave one.
    ErrorStack cause;
    auto finish = [this, &cause](bool ok, const QString &text) {
        // A check reads only its reply line; the rest of the modem's answer
        // (its final "OK") must not be taken by the next operation.
        if (openDevice() && !lineLost())
            collectUntilQuiet(QuietEndMs);
        emit progressValue(0, 0);
        emit opCompleted(OpFirmware, ok, ok ? text : cause.format(text));
    };
    const QString lostText = QStringLiteral("Line lost");
    auto gone = [this] { return lineLost() || checkPortFailed(); };

    // Waits without reading, but notices a lost line at once.
    auto pause = [&](int ms) {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            if (gone())
                return false;
            const qint64 left = deadline.remainingTime();
            waitForBytes(int(qBound<qint64>(qint64(1), left, qint64(100))));
        }
        return !gone();
    };

    // The container's checks; on a mismatch *failure holds the filled-in text.
    auto runChecks = [&](const QList<CommandCheck> &checks, const QString &pattern,
                         QString *failure) {
        for (const CommandCheck &c : checks) {
            drainInput();
            sendCommand(c.command);
            if (c.reply.isEmpty()) {
                if (!pause(CheckTimeoutMs)) {
                    *failure = lostText;
                    return false;
                }
                continue;
            }
            waitReply(CheckTimeoutMs);
            if (gone()) {
                *failure = lostText;
                return false;
            }
            if (lastReply() != c.reply) {
                *failure = pattern.arg(c.command, lastReply());
                return false;
            }
        }
        return true;
    };

    if (!openDevice() || gone())
        return finish(false, lostText);
    // A line end inside a command would run a command of its own.
    QString unclean;
    if (!containerTextsClean(fw, &unclean))
        return finish(false, unclean);

    // The steps are TransferProgress's phrases: it reads the file's name back
    // out of them, and the command line keeps them untranslated for scripts.
    emit progress(QCoreApplication::translate("TransferProgress",
                                              "Обновление ПО: предварительные команды"));
    QString failure;
    // A modem without its application cannot answer the checks before the halt.
    const bool skipPre = skipPreCommands;
    skipPreCommands = false;
    if (!skipPre && !runChecks(fw.info.preCommands, QStringLiteral("Pre: %0 > %1"), &failure))
        return finish(false, failure);

    emit progress(
            QCoreApplication::translate("TransferProgress", "Обновление ПО: остановка приложения"));
    sendCommand(HaltCommand);
    waitReply(HaltStartTimeoutMs);
    if (gone() || !pause(HaltPauseMs))
        return finish(false, lostText);

    // With the application halted the module talks at 115200.
    const qint32 noted = portSpeed();
    const bool switched = noted != TransferBaud;

    // What can be put back after the halt: the application and the port speed.
    auto restore = [&] {
        emit progress(QCoreApplication::translate("TransferProgress",
                                                  "Обновление ПО: запуск приложения"));
        sendCommand(StartCommand);
        waitReply(HaltStartTimeoutMs);
        if (gone())
            return false;
        if (switched && !reopenAtSpeed(noted)) {
            qDebug() << QStringLiteral("firmware: port not reopened at %1: %2")
                                .arg(noted)
                                .arg(portErrorString());
            gone();
            return false;
        }
        return true;
    };
    auto failRestored = [&](const QString &text) {
        if (!restore())
            return finish(false, lostText + QStringLiteral(" after: ") + text);
        finish(false, text);
    };

    if (switched && !reopenAtSpeed(TransferBaud)) {
        const QString text = QStringLiteral("Port at %1: %2").arg(TransferBaud).arg(portErrorString());
        // Back to the old speed; the halted module may not hear the start there.
        if (reopenAtSpeed(noted)) {
            sendCommand(StartCommand);
            waitReply(HaltStartTimeoutMs);
        }
        gone();
        return finish(false, text);
    }

    drainInput();
    if (!probeApplication(ProbeBeforeMs, ProbeTriesBefore)) {
        if (lineLost() || !openDevice())
            return finish(false, lostText);
        return failRestored(QStringLiteral("Halt: AT > ") + lastReply());
    }
    drainInput();

    std::unique_ptr<ObexClient> client =
            ObexClient::create(openDevice(), ObexClient::fileSystemTarget(), &cause);
    if (gone())
        return finish(false, lostText);
    if (!client)
        return failRestored(QStringLiteral("ObexClient::create"));

    qint64 total = 0;
    for (const FirmwareFile &f : fw.files)
        total += f.data.size();
    // progressValue carries ints: large totals go in KiB.
    const int shift = total > INT_MAX / 2 ? 10 : 0;
    qint64 done = 0;
    for (const FirmwareFile &f : fw.files) {
        emit progress(
                QCoreApplication::translate("TransferProgress", "Обновление ПО: передача файла %1")
                        .arg(f.name));
        logExchange(QStringLiteral("firmware: put %1 (%2 bytes)").arg(f.name).arg(f.data.size()));
        client->deleteFile(f.name); // a missing file is no failure
        if (gone())
            return finish(false, lostText);
        QBuffer source;
        source.setData(f.data);
        source.open(QIODevice::ReadOnly);
        const qint64 base = done;
        const bool put = client->putFile(&source, f.name, QDateTime::currentDateTime(),
                                         [&](qint64 sent, qint64) {
                                             if (total > 0)
                                                 emit progressValue(int((base + sent) >> shift),
                                                                    int(total >> shift));
                                         });
        if (gone())
            return finish(false, lostText);
        if (!put) {
            cause = client->error();
            client->close();
            if (gone())
                return finish(false, lostText);
            return failRestored(QStringLiteral("Put: ") + f.name);
        }
        done += f.data.size();
    }
    client->close();
    client.reset();
    if (gone())
        return finish(false, lostText);

    if (!restore())
        return finish(false, lostText);
    if (!probeApplication(AppState::StartProbeMs, AppState::StartProbeTries)) {
        if (gone())
            return finish(false, lostText);
        return finish(false, QStringLiteral("Start: AT > ") + lastReply());
    }
    drainInput();

    emit progress(
            QCoreApplication::translate("TransferProgress", "Обновление ПО: завершающие команды"));
    if (!runChecks(fw.info.postCommands, QStringLiteral("Post: %0 > %1"), &failure))
        return finish(false, failure);
    finish(true, QString());
}
