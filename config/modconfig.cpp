#include "config/linevalues.h"
#include "config/writeplan.h"
#include "device/exchangelog.h"
#include "device/kzconfigthread.h"

#include <QDebug>
#include <QMap>

void KZConfigThread::modConfig(KZConfig config_new, int flags)
{
    qDebug() << QStringLiteral("modConfig: %1").arg(flags, 0, 16);
    BusyGuard guard(busy);
    OperationLogScope logScope(QStringLiteral("modConfig"), QString::number(flags, 16));
    int flagsOk = 0;
    int flagsError = 0;
    // Why the group being written failed: each command that did, and its reply.
    QMap<int, ErrorStack> why;
    int group = 0;
    auto note = [&](const QString &where, const QString &what) {
        why[group].addCause(ErrorStack(where, what));
        return false;
    };

    auto lineGone = [this] { return lineLost() || !isPortOpen(); };

    // One command of the plan. A lost line fails it at once; a text that
    // would end the command early is never sent.
    auto execute = [&](const WritePlan::Command &c) {
        if (lineGone())
            return note(c.line, QStringLiteral("not sent: the line is lost"));
        if (LineValues::breaksLine(c.line)) {
            qDebug() << QStringLiteral("modConfig: refused to send a line break inside a command");
            return note(c.line, QStringLiteral("not sent: a line break inside the command"));
        }
        drainInput();
        sendCommand(c.line);
        if (c.kind == WritePlan::Command::Unjudged) {
            // A line lost meanwhile is no answer, though: the command may
            // not have reached the modem.
            waitReply(c.timeoutMs);
            return !lineGone() || note(c.line, QStringLiteral("the line was lost"));
        }
        if (!waitReplyIs(QStringLiteral("OK"), c.timeoutMs)) {
            if (lastReply().isEmpty())
                return note(c.line, QStringLiteral("no reply within %1 ms").arg(c.timeoutMs));
            return note(c.line, QStringLiteral("reply \"%1\"").arg(lastReply()));
        }
        if (c.kind == WritePlan::Command::SerialSetting) {
            // The tool's port follows the modem's new setting before anything else is sent.
            const WritePlan::LinkChange &l = c.link;
            const bool reopened = reopenWith(l.baudCode, l.dataBits, l.parity, l.stopBits, l.flow);
            setOnline(true);
            if (!reopened)
                return note(deviceName(), QStringLiteral("not opened again at the new setting"));
            waitReply(2000);
        }
        return true;
    };

    for (const WritePlan::Group &g : WritePlan::plan(config, config_new, flags, softwareNumber())) {
        if (g.outcome == WritePlan::Group::Skip)
            continue;
        group = g.flag;
        bool ok = g.outcome == WritePlan::Group::Write;
        if (!ok) {
            qDebug() << QStringLiteral("modConfig: group %1 not written: %2")
                                .arg(QString::number(g.flag, 16), g.reason);
            note(QStringLiteral("values"), g.reason);
        }
        for (const WritePlan::Command &c : g.commands) {
            if (!ok && !g.continueAfterFailure)
                break;
            if (!execute(c))
                ok = false;
        }
        (ok ? flagsOk : flagsError) |= g.flag;
    }

    publishGroupErrors(why);
    emit configCompleted(flagsOk, flagsError);
}
