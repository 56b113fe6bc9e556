#include "config/linevalues.h"
#include "config/profilediff.h"
#include "device/kzconfigthread.h"

#include <QDebug>
#include <QStringList>

#include <functional>

void KZConfigThread::modConfig(KZConfig config_new, int flags)
{
    qDebug() << QStringLiteral("modConfig: %1").arg(flags, 0, 16);
    BusyGuard guard(busy);
    int flagsOk = 0;
    int flagsError = 0;
    auto result = [&](int bit, bool ok) { (ok ? flagsOk : flagsError) |= bit; };
    // Why the group being written failed: each command that did, and its reply.
    QMap<int, ErrorStack> why;
    int group = 0;
    auto note = [&](const QString &where, const QString &what) {
        why[group].addCause(ErrorStack(where, what));
        return false;
    };

    auto lineGone = [this] { return lineLost() || !isPortOpen(); };

    // One write command acknowledged by "OK". A lost line fails it at once;
    // a text that would end the command early is never sent.
    auto command = [&](const QString &line, int timeoutMs) {
        if (lineGone())
            return note(line, QStringLiteral("not sent: the line is lost"));
        if (LineValues::breaksLine(line)) {
            qDebug() << QStringLiteral("modConfig: refused to send a line break inside a command");
            return note(line, QStringLiteral("not sent: a line break inside the command"));
        }
        drainInput();
        sendCommand(line);
        if (waitReplyIs(QStringLiteral("OK"), timeoutMs))
            return true;
        if (lastReply.isEmpty())
            return note(line, QStringLiteral("no reply within %1 ms").arg(timeoutMs));
        return note(line, QStringLiteral("reply \"%1\"").arg(lastReply));
    };

    // The tool's port follows the modem's new setting before anything else is sent.
    auto serialSetting = [&](const QString &line, const std::function<void()> &applyToLink) {
        if (!command(line, 3000))
            return false;
        closePort();
        online = true;
        applyToLink();
        if (!openPort())
            return note(deviceName, QStringLiteral("not opened again at the new setting"));
        waitReply(2000);
        return true;
    };

    // Values the line cannot carry fail their group before anything is sent.
    auto valuesCarried = [&](int groupFlag) {
        const QList<LineValues::Offence> bad = LineValues::check(config_new, groupFlag);
        if (bad.isEmpty())
            return true;
        qDebug() << QStringLiteral("modConfig: group %1 not written: %2")
                            .arg(QString::number(groupFlag, 16), LineValues::message(bad));
        return note(QStringLiteral("values"), LineValues::message(bad));
    };

    if (flags & KZConfig::ConfigBaudrate) {
        group = KZConfig::ConfigBaudrate;
        const int row = KZTables::baudIndexForCode(config_new.baudrate);
        if (row >= 0) {
            const KZTables::BaudRow r = KZTables::baudTable[row];
            result(KZConfig::ConfigBaudrate,
                   serialSetting(QStringLiteral("AT+IPR=%1").arg(r.baud),
                                 [&] { baudRate = r.code; }));
        }
    }

    if (flags & KZConfig::ConfigFraming) {
        group = KZConfig::ConfigFraming;
        if (!KZTables::validFramingIndex(config_new.framing)) {
            result(KZConfig::ConfigFraming,
                   note(QStringLiteral("framing"),
                        QStringLiteral("no command for framing %1").arg(config_new.framing)));
        } else {
            const KZTables::FramingRow r = KZTables::framingTable[config_new.framing];
            result(KZConfig::ConfigFraming,
                   serialSetting(QStringLiteral("AT+ICF=") + QLatin1String(r.icf), [&] {
                       dataBits = r.dataBits;
                       parity = r.parity;
                       stopBits = r.stopBits;
                   }));
        }
    }

    if (flags & KZConfig::ConfigFlow) {
        group = KZConfig::ConfigFlow;
        const int row = KZTables::flowIndexForValue(config_new.flow);
        if (row >= 0) {
            const KZTables::FlowRow r = KZTables::flowTable[row];
            result(KZConfig::ConfigFlow,
                   serialSetting(QStringLiteral("AT+IFC=") + QLatin1String(r.ifc),
                                 [&] { flowControl = r.value; }));
        }
    }

    if (flags & KZConfig::ConfigGprs) {
        group = KZConfig::ConfigGprs;
        bool ok = valuesCarried(KZConfig::ConfigGprs);
        if (ok) {
            // A failed command does not stop the others.
            for (const auto &step : ProfileDiff::steps(config.gprsProfiles, config_new.gprsProfiles)) {
                const GprsProfile &p = step.profile;
                const QString line = step.kind == ProfileDiff::Step<GprsProfile>::Delete
                        ? QStringLiteral("AT+DELGPRS=") + p.name
                        : QStringLiteral("AT+ADDGPRS=")
                                + QStringList { p.name, p.apn, p.username, p.password }.join(
                                        QLatin1Char(','));
                if (!command(line, 5000))
                    ok = false;
            }
        }
        result(KZConfig::ConfigGprs, ok);
    }

    if (flags & KZConfig::ConfigNtrip) {
        group = KZConfig::ConfigNtrip;
        bool ok = valuesCarried(KZConfig::ConfigNtrip);
        if (ok) {
            for (const auto &step :
                 ProfileDiff::steps(config.ntripProfiles, config_new.ntripProfiles)) {
                const NtripProfile &p = step.profile;
                const QString line = step.kind == ProfileDiff::Step<NtripProfile>::Delete
                        ? QStringLiteral("AT+DELNTRIP=") + p.name
                        : QStringLiteral("AT+ADDNTRIP=")
                                + QStringList { p.name,           p.address,     p.port,
                                                p.mountpoint,     p.clientLogin, p.clientPassword,
                                                p.serverPassword, p.sourcetable }
                                          .join(QLatin1Char(','));
                if (!command(line, 5000))
                    ok = false;
            }
        }
        result(KZConfig::ConfigNtrip, ok);
    }

    if (flags & KZConfig::ConfigDyndns) {
        group = KZConfig::ConfigDyndns;
        const QString line = QStringLiteral("AT+DYNDNS=")
                + QStringList { config_new.dyndnsLogin, config_new.dyndnsPassword,
                                config_new.dyndnsDomain }
                          .join(QLatin1Char(','));
        result(KZConfig::ConfigDyndns,
               valuesCarried(KZConfig::ConfigDyndns) && command(line, 5000));
    }

    if (flags & KZConfig::ConfigAutoexec) {
        group = KZConfig::ConfigAutoexec;
        // The modem keeps one command per channel, but only one is written.
        const QString line = !config_new.autoexecCom.isEmpty()
                ? QStringLiteral("AT^JAUTO,C=") + config_new.autoexecCom
                : QStringLiteral("AT^JAUTO,B=") + config_new.autoexecBt;
        bool ok = valuesCarried(KZConfig::ConfigAutoexec) && command(line, 3000);
        // From software 380 on the modem keeps one command per channel, and
        // writing one leaves the other in place: a channel switched off would
        // still run its command at power-on (and a reset would leave it), so
        // a command the record holds for the channel not written is cleared.
        if (ok && softwareNumber() >= 380) {
            const bool comWritten = !config_new.autoexecCom.isEmpty();
            if (comWritten && config_new.autoexecBt.isEmpty() && !config.autoexecBt.isEmpty())
                ok = command(QStringLiteral("AT^JAUTO,B="), 3000);
            else if (!comWritten && !config.autoexecCom.isEmpty())
                ok = command(QStringLiteral("AT^JAUTO,C="), 3000);
        }
        result(KZConfig::ConfigAutoexec, ok);
    }

    if (flags & KZConfig::ConfigBluetooth) {
        group = KZConfig::ConfigBluetooth;
        const int mode = config_new.btMode;
        bool ok = false;
        // A mode outside 0..2 (a hand-edited file) has no command.
        if (mode >= 0 && mode <= 2 && valuesCarried(KZConfig::ConfigBluetooth) && !lineGone()) {
            const QString line = mode == 2
                    ? QStringLiteral("AT+BTMODE=2,") + config_new.btMac + QLatin1Char(',')
                            + config_new.btPin
                    : QStringLiteral("AT+BTMODE=%1").arg(mode);
            if (!LineValues::breaksLine(line)) {
                drainInput();
                sendCommand(line);
                // Older modems answer the mode change unreliably: not judged.
                // A line lost meanwhile is no answer, though: the mode may
                // not have reached the modem.
                waitReply(15000);
                ok = !lineGone() || note(line, QStringLiteral("the line was lost"));
            } else {
                note(line, QStringLiteral("not sent: a line break inside the command"));
            }
        } else if (mode < 0 || mode > 2) {
            note(QStringLiteral("mode"), QStringLiteral("no command for mode %1").arg(mode));
        } else if (lineGone()) {
            note(QStringLiteral("AT+BTMODE"), QStringLiteral("not sent: the line is lost"));
        }
        result(KZConfig::ConfigBluetooth, ok);
    }

    publishGroupErrors(why);
    emit configCompleted(flagsOk, flagsError);
}
