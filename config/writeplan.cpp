#include "config/writeplan.h"

#include "config/linevalues.h"
#include "config/profilediff.h"

namespace WritePlan {

namespace {

// Serial settings are the one place where the tool's own port must change
// after the command; profile, DynDNS and autostart commands are plain.
Command acknowledged(const QString &line, int timeoutMs)
{
    Command c;
    c.line = line;
    c.timeoutMs = timeoutMs;
    return c;
}

Command serialSetting(const QString &line, const LinkChange &link)
{
    Command c = acknowledged(line, 3000);
    c.kind = Command::SerialSetting;
    c.link = link;
    return c;
}

Group refused(int flag, const QString &reason)
{
    Group g;
    g.flag = flag;
    g.outcome = Group::Refused;
    g.reason = reason;
    return g;
}

QString gprsAdd(const GprsProfile &p)
{
    return QStringLiteral("AT+ADDGPRS=")
            + QStringList { p.name, p.apn, p.username, p.password }.join(QLatin1Char(','));
}

QString ntripAdd(const NtripProfile &p)
{
    return QStringLiteral("AT+ADDNTRIP=")
            + QStringList { p.name,        p.address,        p.port,           p.mountpoint,
                            p.clientLogin, p.clientPassword, p.serverPassword, p.sourcetable }
                      .join(QLatin1Char(','));
}

template<class Profile>
QList<Command> profileCommands(const QList<Profile> &oldList, const QList<Profile> &newList,
                               const QString &deletePrefix, QString (*add)(const Profile &))
{
    QList<Command> out;
    for (const auto &step : ProfileDiff::steps(oldList, newList))
        out << acknowledged(step.kind == ProfileDiff::Step<Profile>::Delete
                                    ? deletePrefix + step.profile.name
                                    : add(step.profile),
                            5000);
    return out;
}

} // namespace

QList<Group> plan(const KZConfig &current, const KZConfig &wanted, int flags, int softwareNumber)
{
    QList<Group> out;

    // Values the line cannot carry fail their group before anything is sent.
    auto carried = [&](int flag, Group *g) {
        const QList<LineValues::Offence> bad = LineValues::check(wanted, flag);
        if (bad.isEmpty())
            return true;
        *g = refused(flag, LineValues::message(bad));
        return false;
    };

    if (flags & KZConfig::ConfigBaudrate) {
        const int row = KZTables::baudIndexForCode(wanted.baudrate);
        Group g;
        g.flag = KZConfig::ConfigBaudrate;
        if (row < 0) {
            g.outcome = Group::Skip;
        } else {
            const KZTables::BaudRow r = KZTables::baudTable[row];
            LinkChange link;
            link.baudCode = r.code;
            g.commands << serialSetting(QStringLiteral("AT+IPR=%1").arg(r.baud), link);
        }
        out << g;
    }

    if (flags & KZConfig::ConfigFraming) {
        if (!KZTables::validFramingIndex(wanted.framing)) {
            out << refused(KZConfig::ConfigFraming,
                           QStringLiteral("no framing row %1").arg(wanted.framing));
        } else {
            const KZTables::FramingRow r = KZTables::framingTable[wanted.framing];
            LinkChange link;
            link.dataBits = r.dataBits;
            link.parity = r.parity;
            link.stopBits = r.stopBits;
            Group g;
            g.flag = KZConfig::ConfigFraming;
            g.commands << serialSetting(QStringLiteral("AT+ICF=") + QLatin1String(r.icf), link);
            out << g;
        }
    }

    if (flags & KZConfig::ConfigFlow) {
        const int row = KZTables::flowIndexForValue(wanted.flow);
        Group g;
        g.flag = KZConfig::ConfigFlow;
        if (row < 0) {
            g.outcome = Group::Skip;
        } else {
            const KZTables::FlowRow r = KZTables::flowTable[row];
            LinkChange link;
            link.flow = r.value;
            g.commands << serialSetting(QStringLiteral("AT+IFC=") + QLatin1String(r.ifc), link);
        }
        out << g;
    }

    if (flags & KZConfig::ConfigGprs) {
        Group g;
        g.flag = KZConfig::ConfigGprs;
        g.continueAfterFailure = true;
        if (carried(KZConfig::ConfigGprs, &g))
            g.commands = profileCommands<GprsProfile>(current.gprsProfiles, wanted.gprsProfiles,
                                                      QStringLiteral("AT+DELGPRS="), gprsAdd);
        out << g;
    }

    if (flags & KZConfig::ConfigNtrip) {
        Group g;
        g.flag = KZConfig::ConfigNtrip;
        g.continueAfterFailure = true;
        if (carried(KZConfig::ConfigNtrip, &g))
            g.commands = profileCommands<NtripProfile>(current.ntripProfiles, wanted.ntripProfiles,
                                                       QStringLiteral("AT+DELNTRIP="), ntripAdd);
        out << g;
    }

    if (flags & KZConfig::ConfigDyndns) {
        Group g;
        g.flag = KZConfig::ConfigDyndns;
        if (carried(KZConfig::ConfigDyndns, &g))
            g.commands << acknowledged(
                    QStringLiteral("AT+DYNDNS=")
                            + QStringList { wanted.dyndnsLogin, wanted.dyndnsPassword,
                                            wanted.dyndnsDomain }
                                      .join(QLatin1Char(',')),
                    5000);
        out << g;
    }

    if (flags & KZConfig::ConfigAutoexec) {
        Group g;
        g.flag = KZConfig::ConfigAutoexec;
        if (carried(KZConfig::ConfigAutoexec, &g)) {
            // The modem keeps one command per channel, but only one is written.
            const bool comWritten = !wanted.autoexecCom.isEmpty();
            g.commands << acknowledged(comWritten
                                               ? QStringLiteral("AT^JAUTO,C=") + wanted.autoexecCom
                                               : QStringLiteral("AT^JAUTO,B=") + wanted.autoexecBt,
                                       3000);
            // From software 380 on the modem keeps one command per channel, and
            // writing one leaves the other in place: a channel switched off would
            // still run its command at power-on (and a reset would leave it), so
            // a command the record holds for the channel not written is cleared.
            if (softwareNumber >= 380) {
                if (comWritten && wanted.autoexecBt.isEmpty() && !current.autoexecBt.isEmpty())
                    g.commands << acknowledged(QStringLiteral("AT^JAUTO,B="), 3000);
                else if (!comWritten && !current.autoexecCom.isEmpty())
                    g.commands << acknowledged(QStringLiteral("AT^JAUTO,C="), 3000);
            }
        }
        out << g;
    }

    if (flags & KZConfig::ConfigBluetooth) {
        const int mode = wanted.btMode;
        Group g;
        g.flag = KZConfig::ConfigBluetooth;
        // A mode outside 0..2 (a hand-edited file) has no command.
        if (mode < 0 || mode > 2) {
            g = refused(
                    KZConfig::ConfigBluetooth, QStringLiteral("no Bluetooth mode %1").arg(mode));
        } else if (carried(KZConfig::ConfigBluetooth, &g)) {
            Command c;
            // Older modems answer the mode change unreliably: not judged.
            c.kind = Command::Unjudged;
            c.timeoutMs = 15000;
            c.line = mode == 2 ? QStringLiteral("AT+BTMODE=2,") + wanted.btMac + QLatin1Char(',')
                            + wanted.btPin
                               : QStringLiteral("AT+BTMODE=%1").arg(mode);
            g.commands << c;
        }
        out << g;
    }
    return out;
}

QStringList lines(const QList<Group> &groups)
{
    QStringList out;
    for (const Group &g : groups)
        for (const Command &c : g.commands)
            out << c.line;
    return out;
}

} // namespace WritePlan
