// The modem's answers to each command. Runs on the simulator's thread with
// the state locked.
#include "sim/simmodem.h"
#include "sim/simmodem_p.h"

namespace {

QByteArray line(const QString &text)
{
    return "\r\n" + text.toLatin1() + "\r\n";
}

const QByteArray OK = "\r\nOK\r\n";
const QByteArray ERR = "\r\nERROR\r\n";

// Splits command arguments at commas; with `maxFields` the last field keeps
// every further comma.
QStringList splitArgs(const QString &args, int maxFields = -1)
{
    QStringList f = args.split(QLatin1Char(','));
    if (maxFields > 0 && f.size() > maxFields) {
        const QStringList tail = f.mid(maxFields - 1);
        f = f.mid(0, maxFields - 1);
        f << tail.join(QLatin1Char(','));
    }
    return f;
}

QString infoValue(const SimState &s, int n)
{
    if (s.infoOverride.contains(n))
        return s.infoOverride.value(n);
    switch (n) {
    case 0: return s.model;
    case 4: return s.viaCom ? QStringLiteral("1") : QStringLiteral("0");
    case 10: return QString::number(s.software);
    case 11: return s.hardware;
    case 12: return s.serial;
    case 13: return s.battery;
    case 14: return s.capabilities;
    case 15: return s.deviceType;
    default: return QStringLiteral("%1").arg(n);
    }
}

void replaceByName(QList<QStringList> &list, const QStringList &fields)
{
    for (QStringList &p : list) {
        if (!p.isEmpty() && p.first() == fields.first()) {
            p = fields;
            return;
        }
    }
    list << fields;
}

bool removeByName(QList<QStringList> &list, const QString &name)
{
    const auto before = list.size();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const QStringList &p) { return !p.isEmpty() && p.first() == name; }),
               list.end());
    return list.size() != before;
}

// Commands the modem's application answers; with the application halted
// the bare module does not know them.
bool isApplicationCommand(const QString &u)
{
    static const char *const prefixes[] = { "AT^J", "AT+ADD", "AT+DEL", "AT+DYNDNS",
                                            "AT+BTMODE", "AT+BTINQ", "AT^AUTH" };
    for (const char *p : prefixes)
        if (u.startsWith(QLatin1String(p)))
            return true;
    return false;
}

bool validBaud(int b)
{
    static const int bauds[] = { 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200 };
    for (int x : bauds)
        if (x == b)
            return true;
    return false;
}

} // namespace

QByteArray SimModem::Private::answer(const QString &cmd, SimState &s, int *delayMs)
{
    const QString u = cmd.toUpper();
    auto argsAfter = [&](int n) { return cmd.mid(n); };

    if (s.halted && isApplicationCommand(u))
        return ERR;
    if (u == QLatin1String("AT") || u == QLatin1String("ATZ"))
        return OK;

    // The application and the module's file service
    if (u == QLatin1String("AT^JHLT")) {
        s.halted = true;
        return OK;
    }
    if (u.startsWith(QLatin1String("AT^SJRA="))) {
        if (u.mid(8) != QLatin1String("A:/ATC65.JAR"))
            return ERR;
        s.halted = false;
        return OK;
    }
    if (u == QLatin1String("AT^SQWE?"))
        return line(QStringLiteral("^SQWE: %1").arg(s.sqweMode)) + OK;
    if (u == QLatin1String("AT^SQWE=0"))
        return OK;
    if (u == QLatin1String("AT^SQWE=3")) {
        s.obexMode = true;
        obexReset();
        obexSkipLf = true;
        return OK;
    }
    if (u.startsWith(QLatin1String("AT^SQWE=")))
        return ERR;

    if (u == QLatin1String("ATE") || u == QLatin1String("ATE0")) {
        s.echo = false;
        return OK;
    }
    if (u == QLatin1String("ATE1")) {
        s.echo = true;
        return OK;
    }
    if (u == QLatin1String("ATH") || u == QLatin1String("ATH0")) {
        s.dataCall = false;
        return OK;
    }
    if (u.startsWith(QLatin1String("ATS0=")))
        return OK;
    if (u.startsWith(QLatin1String("ATD")) || u.startsWith(QLatin1String("ATRD")))
        return line(QStringLiteral("NO CARRIER"));

    if (u.startsWith(QLatin1String("AT^JINFO,"))) {
        bool ok = false;
        const int n = cmd.mid(9).toInt(&ok);
        if (!ok || n < 0 || n > 15)
            return ERR;
        return line(QStringLiteral("JI%1:%2").arg(n).arg(infoValue(s, n))) + OK;
    }
    if (u == QLatin1String("AT+COPS?")) {
        if (s.operatorName.isEmpty())
            return line(QStringLiteral("+COPS: 0")) + OK;
        return line(QStringLiteral("+COPS: 0,0,\"%1\"").arg(s.operatorName)) + OK;
    }
    if (u == QLatin1String("AT^SCKS?"))
        return line(QStringLiteral("^SCKS: 0,%1").arg(s.simState)) + OK;

    // Serial settings
    if (u == QLatin1String("AT+IPR?"))
        return line(QStringLiteral("+IPR: %1").arg(s.baud)) + OK;
    if (u.startsWith(QLatin1String("AT+IPR="))) {
        bool ok = false;
        const int b = cmd.mid(7).toInt(&ok);
        if (!ok || !validBaud(b))
            return ERR;
        s.baud = b; // the "OK" still goes out at the old speed: the pty does not care
        return OK;
    }
    if (u == QLatin1String("AT+ICF?"))
        return line(QStringLiteral("+ICF: %1").arg(s.icf)) + OK;
    if (u.startsWith(QLatin1String("AT+ICF="))) {
        static const QStringList known = { QStringLiteral("3"), QStringLiteral("2,0"),
                                           QStringLiteral("2,1"), QStringLiteral("5,0"),
                                           QStringLiteral("5,1") };
        if (!known.contains(cmd.mid(7)))
            return ERR;
        s.icf = cmd.mid(7);
        return OK;
    }
    if (u == QLatin1String("AT+IFC?"))
        return line(QStringLiteral("+IFC: %1").arg(s.ifc)) + OK;
    if (u.startsWith(QLatin1String("AT+IFC="))) {
        const QString v = cmd.mid(7);
        if (v != QLatin1String("0,0") && v != QLatin1String("1,1") && v != QLatin1String("2,2"))
            return ERR;
        s.ifc = v;
        return OK;
    }

    // Profiles
    if (u == QLatin1String("AT+ADDGPRS?")) {
        QByteArray out;
        for (const QStringList &p : s.gprs)
            out += line(QStringLiteral("+ADDGPRS: ") + p.join(QLatin1Char(',')));
        return out + OK;
    }
    if (u.startsWith(QLatin1String("AT+ADDGPRS="))) {
        const QStringList f = splitArgs(argsAfter(11));
        if (f.size() != 4 || f.first().isEmpty())
            return ERR;
        replaceByName(s.gprs, f);
        return OK;
    }
    if (u.startsWith(QLatin1String("AT+DELGPRS="))) {
        removeByName(s.gprs, argsAfter(11));
        return OK;
    }
    if (u == QLatin1String("AT+ADDNTRIP?")) {
        QByteArray out;
        for (const QStringList &p : s.ntrip)
            out += line(QStringLiteral("+ADDNTRIP: ") + p.join(QLatin1Char(',')));
        return out + OK;
    }
    if (u.startsWith(QLatin1String("AT+ADDNTRIP="))) {
        const QStringList f = splitArgs(argsAfter(12), 8);
        if (f.size() != 8 || f.first().isEmpty())
            return ERR;
        replaceByName(s.ntrip, f);
        return OK;
    }
    if (u.startsWith(QLatin1String("AT+DELNTRIP="))) {
        removeByName(s.ntrip, argsAfter(12));
        return OK;
    }
    if (u == QLatin1String("AT+DYNDNS?")) {
        if (!s.dyndnsSet)
            return OK;
        return line(QStringLiteral("+DYNDNS: ") + s.dyndns.join(QLatin1Char(','))) + OK;
    }
    if (u.startsWith(QLatin1String("AT+DYNDNS="))) {
        const QStringList f = splitArgs(argsAfter(10));
        if (f.size() != 3)
            return ERR;
        s.dyndns = f;
        s.dyndnsSet = !(f[0].isEmpty() && f[1].isEmpty() && f[2].isEmpty());
        return OK;
    }

    // Autostart commands: one before software 380, one per channel from it on.
    if (u == QLatin1String("AT^JAUTO?")) {
        const QString c = s.software < 380 ? s.autoexec : (s.autoexecC.isEmpty() ? s.autoexecB : s.autoexecC);
        if (c.isEmpty())
            return ERR;
        return line(QStringLiteral("^JAUTO: ") + c) + OK;
    }
    if (u == QLatin1String("AT^JAUTO,B?") || u == QLatin1String("AT^JAUTO,C?")) {
        if (s.software < 380)
            return line(QStringLiteral("+CME ERROR: 4"));
        const QString c = u.at(9) == QLatin1Char('B') ? s.autoexecB : s.autoexecC;
        if (c.isEmpty())
            return ERR;
        return line(QStringLiteral("^JAUTO,%1: %2").arg(u.at(9)).arg(c)) + OK;
    }
    if (u.startsWith(QLatin1String("AT^JAUTO,B=")) || u.startsWith(QLatin1String("AT^JAUTO,C="))) {
        const QString c = cmd.mid(11);
        if (s.software < 380)
            s.autoexec = c;
        else if (u.at(9) == QLatin1Char('B'))
            s.autoexecB = c;
        else
            s.autoexecC = c;
        return OK;
    }

    // Bluetooth
    if (u == QLatin1String("AT+BTMODE?")) {
        if (s.btMode == 2)
            return line(QStringLiteral("+BTMODE: 2,%1,%2").arg(s.btMac, s.btPin)) + OK;
        return line(QStringLiteral("+BTMODE: %1").arg(s.btMode)) + OK;
    }
    if (u.startsWith(QLatin1String("AT+BTMODE="))) {
        const QStringList f = splitArgs(argsAfter(10));
        bool ok = false;
        const int m = f.first().toInt(&ok);
        if (!ok || m < 0 || m > 2 || (m == 2 && f.size() != 3) || (m != 2 && f.size() != 1))
            return ERR;
        s.btMode = m;
        s.btMac = m == 2 ? f[1] : QString();
        s.btPin = m == 2 ? f[2] : QString();
        return OK;
    }
    if (u == QLatin1String("AT+BTINQ?")) {
        *delayMs = s.btInquiryMs;
        QByteArray out;
        for (const QString &dev : s.btDevices)
            out += line(dev);
        return out + OK;
    }

    // Stores
    if (u == QLatin1String("AT^JRMS?")) {
        QByteArray out;
        for (const auto &st : s.stores)
            out += line(st.first);
        return out + OK;
    }
    if (u.startsWith(QLatin1String("AT^JRMS,"))) {
        const QString name = cmd.mid(8);
        for (const auto &st : s.stores)
            if (st.first == name)
                return "\r\n" + st.second.toLatin1() + OK;
        return ERR;
    }

    // Privileged commands
    if (u.startsWith(QLatin1String("AT^AUTH="))) {
        if (s.acceptedCodes.contains(cmd.mid(8)))
            return OK;
        return ERR;
    }

    return ERR;
}
