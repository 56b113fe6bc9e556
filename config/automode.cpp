#include "config/automode.h"

const int AutoMode::modes[7] = { BaseCsd,  BaseTcp,  BaseNtripServer, BaseNtripCaster,
                                 RoverCsd, RoverTcp, RoverNtrip };

bool AutoMode::isMode(int id)
{
    for (int m : modes)
        if (m == id)
            return true;
    return false;
}

QString AutoMode::build(const Values &v)
{
    const QString d = v.restart ? QStringLiteral("ATRD") : QStringLiteral("ATD");
    const QString hash = QStringLiteral("#");
    const QString star = QStringLiteral("*");
    switch (v.mode) {
    case BaseCsd:
        return QStringLiteral("ATS0=1");
    case BaseTcp:
        return d + QStringLiteral("*93*") + v.baseGprs + hash + v.baseTcpPort;
    case BaseNtripServer:
        return d + QStringLiteral("*94*") + v.baseGprs + star + v.baseNtripServer + hash;
    case BaseNtripCaster:
        return d + QStringLiteral("*95*") + v.baseGprs + star + v.baseNtripCaster + hash;
    case RoverCsd:
        return d + v.roverCsdNumber;
    case RoverTcp:
        return d + QStringLiteral("*91*") + v.roverGprs + hash + v.roverTcpAddress
                + QLatin1Char(',') + v.roverTcpPort;
    case RoverNtrip:
        return d + QStringLiteral("*92*") + v.roverGprs + star + v.roverNtrip + hash;
    }
    return QString();
}

namespace {

int modeForCode(const QString &code)
{
    static const struct {
        const char *digits;
        const char *letters;
        int mode;
    } codes[] = {
        { "*91*", "*TC*", AutoMode::RoverTcp },
        { "*92*", "*NC*", AutoMode::RoverNtrip },
        { "*93*", "*TS*", AutoMode::BaseTcp },
        { "*94*", "*NS*", AutoMode::BaseNtripServer },
        { "*95*", "*CS*", AutoMode::BaseNtripCaster },
    };
    for (const auto &c : codes)
        if (code == QLatin1String(c.digits) || code == QLatin1String(c.letters))
            return c.mode;
    return AutoMode::RoverCsd;
}

QStringList splitKeep(const QString &text, QChar sep)
{
    return text.split(sep, Qt::KeepEmptyParts);
}

void setGprs(AutoMode::Parsed *p, const QString &g)
{
    p->gprsRead = true;
    p->gprs = g.isEmpty() ? QStringLiteral("default") : g;
}

} // namespace

AutoMode::Parsed AutoMode::parse(const QString &command)
{
    Parsed p;
    const QString upper = command.toUpper();
    if (upper.startsWith(QLatin1String("ATS0="))) {
        p.recognised = true;
        p.mode = BaseCsd;
        return p;
    }
    QString r;
    if (upper.startsWith(QLatin1String("ATRD"))) {
        p.reconnect = true;
        r = command.mid(4);
    } else if (upper.startsWith(QLatin1String("ATD"))) {
        r = command.mid(3);
    } else {
        return p;
    }
    p.recognised = true;
    p.reconnectRead = true;
    p.mode = modeForCode(r.left(4));
    const QString b = r.mid(4);

    switch (p.mode) {
    case RoverTcp: {
        const QStringList parts = splitKeep(b, QLatin1Char('#'));
        if (parts.size() == 2) {
            setGprs(&p, parts[0]);
            const QStringList ap = splitKeep(parts[1], QLatin1Char(','));
            if (ap.size() == 2) {
                p.roverTcpAddress = ap[0];
                p.roverTcpPort = ap[1];
            }
        }
        break;
    }
    case BaseTcp: {
        const QStringList parts = splitKeep(b, QLatin1Char('#'));
        if (parts.size() == 2) {
            setGprs(&p, parts[0]);
            p.baseTcpPort = parts[1];
        }
        break;
    }
    case RoverNtrip:
    case BaseNtripServer:
    case BaseNtripCaster: {
        const QStringList parts = splitKeep(b, QLatin1Char('#'));
        if (parts.size() != 2)
            break;
        if (parts[1].isEmpty()) {
            const QStringList gn = splitKeep(parts[0], QLatin1Char('*'));
            if (gn.size() == 2) {
                setGprs(&p, gn[0]);
                p.ntripRead = true;
                p.ntrip = gn[1];
            }
        } else {
            setGprs(&p, parts[0]);
        }
        break;
    }
    default:
        p.roverCsdNumber = r;
        break;
    }
    return p;
}

AutoMode::Autostart AutoMode::autostart(const QString &autoexecBt, const QString &autoexecCom)
{
    if (!autoexecBt.isEmpty())
        return { Channel::Bt, autoexecBt };
    if (!autoexecCom.isEmpty())
        return { Channel::Com, autoexecCom };
    return {};
}

void AutoMode::apply(const Parsed &p, Values *v, const QStringList &gprsNames,
                     const QStringList &ntripNames)
{
    if (!p.recognised)
        return;
    v->mode = p.mode;
    const bool base = p.mode & Base;
    switch (p.mode) {
    case RoverTcp:
        v->roverTcpAddress = p.roverTcpAddress;
        v->roverTcpPort = p.roverTcpPort;
        break;
    case BaseTcp:
        v->baseTcpPort = p.baseTcpPort;
        break;
    case RoverCsd:
        v->roverCsdNumber = p.roverCsdNumber;
        break;
    }
    if (p.gprsRead) {
        const QString g = gprsNames.contains(p.gprs) ? p.gprs : QString();
        (base ? v->baseGprs : v->roverGprs) = g;
    }
    if (p.ntripRead) {
        const QString n = ntripNames.contains(p.ntrip) ? p.ntrip : QString();
        if (base) {
            v->baseNtripCaster = n;
            v->baseNtripServer = n;
        } else {
            v->roverNtrip = n;
        }
    }
    if (p.reconnectRead)
        v->restart = p.reconnect;
}

AutoMode::Enables AutoMode::enables(int mode)
{
    Enables e;
    e.baseDyndns = (mode & Base) && (mode & Dyndns);
    e.baseGprs = (mode & Base) && (mode & Gprs);
    e.baseNtripCaster = mode == BaseNtripCaster;
    e.baseNtripServer = mode == BaseNtripServer;
    e.baseTcpPort = mode == BaseTcp;
    e.roverCsdNumber = mode == RoverCsd;
    e.roverGprs = (mode & Rover) && (mode & Gprs);
    e.roverNtrip = mode == RoverNtrip;
    e.roverTcp = mode == RoverTcp;
    e.restart = mode != BaseCsd;
    return e;
}

bool AutoMode::unsaved(const QString &command, bool autostartBt, bool autostartCom,
                       const QString &autoexecBt, const QString &autoexecCom)
{
    return (autostartBt && command != autoexecBt) || (autostartCom && command != autoexecCom)
            || (!autostartBt && !autoexecBt.isEmpty())
            || (!autostartCom && !autoexecCom.isEmpty());
}
