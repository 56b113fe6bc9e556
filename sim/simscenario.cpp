// Scenario files: "key = value" lines setting the simulated modem's state.
#include "sim/simmodem.h"
#include "sim/simmodem_p.h"

#include <QFile>

namespace {

bool parseBool(const QString &v, bool *ok)
{
    const QString l = v.trimmed().toLower();
    *ok = true;
    if (l == QLatin1String("on") || l == QLatin1String("yes") || l == QLatin1String("true") || l == QLatin1String("1"))
        return true;
    if (l == QLatin1String("off") || l == QLatin1String("no") || l == QLatin1String("false") || l == QLatin1String("0"))
        return false;
    *ok = false;
    return false;
}

// "\n", "\r" and "\\" escapes, so a store's contents fit on one line.
QString unescape(const QString &v)
{
    QString out;
    for (int i = 0; i < v.size(); ++i) {
        if (v[i] == QLatin1Char('\\') && i + 1 < v.size()) {
            const QChar n = v[++i];
            if (n == QLatin1Char('n'))
                out += QLatin1Char('\n');
            else if (n == QLatin1Char('r'))
                out += QLatin1Char('\r');
            else
                out += n;
        } else {
            out += v[i];
        }
    }
    return out;
}

} // namespace

bool SimModem::applySetting(SimState &s, const QString &keyIn, const QString &value, QString *error)
{
    const QString key = keyIn.trimmed().toLower();
    const QString v = value.trimmed();
    bool ok = true;
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("%1 = %2: %3").arg(keyIn, value, why);
        return false;
    };
    auto toInt = [&](int *out) {
        bool good = false;
        const int n = v.toInt(&good);
        if (good)
            *out = n;
        return good;
    };

    if (key == QLatin1String("model"))
        s.model = v;
    else if (key == QLatin1String("type"))
        s.deviceType = v;
    else if (key == QLatin1String("hardware"))
        s.hardware = v;
    else if (key == QLatin1String("software")) {
        if (!toInt(&s.software))
            return fail(QStringLiteral("not a number"));
    } else if (key == QLatin1String("serial"))
        s.serial = v;
    else if (key == QLatin1String("capabilities"))
        s.capabilities = v;
    else if (key == QLatin1String("battery"))
        s.battery = v;
    else if (key == QLatin1String("via")) {
        if (v != QLatin1String("com") && v != QLatin1String("bt"))
            return fail(QStringLiteral("com or bt"));
        s.viaCom = v == QLatin1String("com");
    } else if (key.startsWith(QLatin1String("info."))) {
        bool good = false;
        const int n = key.mid(5).toInt(&good);
        if (!good || n < 0 || n > 15)
            return fail(QStringLiteral("info.0 to info.15"));
        s.infoOverride[n] = v;
    } else if (key == QLatin1String("operator"))
        s.operatorName = v;
    else if (key == QLatin1String("sim")) {
        if (!toInt(&s.simState))
            return fail(QStringLiteral("not a number"));
    } else if (key == QLatin1String("echo"))
        s.echo = parseBool(v, &ok);
    else if (key == QLatin1String("datacall"))
        s.dataCall = parseBool(v, &ok);
    else if (key == QLatin1String("baud")) {
        if (!toInt(&s.baud) || s.baud <= 0)
            return fail(QStringLiteral("not a baud rate"));
    } else if (key == QLatin1String("icf"))
        s.icf = v;
    else if (key == QLatin1String("ifc"))
        s.ifc = v;
    else if (key == QLatin1String("gprs")) {
        const QStringList f = v.split(QLatin1Char(','));
        if (f.size() != 4)
            return fail(QStringLiteral("name,apn,user,password"));
        s.gprs << f;
    } else if (key == QLatin1String("ntrip")) {
        QStringList f = v.split(QLatin1Char(','));
        if (f.size() < 8)
            return fail(QStringLiteral("eight fields"));
        const QString tail = f.mid(7).join(QLatin1Char(','));
        f = f.mid(0, 7);
        f << tail;
        s.ntrip << f;
    } else if (key == QLatin1String("dyndns")) {
        const QStringList f = v.split(QLatin1Char(','));
        if (f.size() != 3)
            return fail(QStringLiteral("login,password,domain"));
        s.dyndns = f;
        s.dyndnsSet = true;
    } else if (key == QLatin1String("autoexec"))
        s.autoexec = v;
    else if (key == QLatin1String("autoexec_b"))
        s.autoexecB = v;
    else if (key == QLatin1String("autoexec_c"))
        s.autoexecC = v;
    else if (key == QLatin1String("btmode")) {
        const QStringList f = v.split(QLatin1Char(','));
        bool good = false;
        s.btMode = f.first().toInt(&good);
        if (!good)
            return fail(QStringLiteral("mode[,mac,pin]"));
        s.btMac = f.value(1);
        s.btPin = f.value(2);
    } else if (key == QLatin1String("btdevice"))
        s.btDevices << v;
    else if (key == QLatin1String("btinquiry_ms")) {
        if (!toInt(&s.btInquiryMs))
            return fail(QStringLiteral("not a number"));
    } else if (key == QLatin1String("store")) {
        const int colon = v.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            return fail(QStringLiteral("NAME: contents"));
        s.stores << qMakePair(v.left(colon).trimmed(), unescape(v.mid(colon + 1).trimmed()));
    } else if (key == QLatin1String("code"))
        s.acceptedCodes << v;
    else if (key == QLatin1String("delay")) {
        if (!toInt(&s.replyDelayMs))
            return fail(QStringLiteral("not a number"));
    } else if (key == QLatin1String("linerate"))
        s.lineRate = parseBool(v, &ok);
    else if (key == QLatin1String("silent"))
        s.silent = parseBool(v, &ok);
    else if (key == QLatin1String("wrongspeed")) {
        if (v == QLatin1String("noise"))
            s.wrongSpeedNoise = true;
        else if (v == QLatin1String("deaf"))
            s.wrongSpeedNoise = false;
        else
            return fail(QStringLiteral("noise or deaf"));
    } else if (key == QLatin1String("drive"))
        s.driveDir = v;
    else if (key == QLatin1String("guard")) {
        if (!toInt(&s.guardMs))
            return fail(QStringLiteral("not a number"));
    } else {
        QString why;
        const int taken = applyObexSetting(s, key, v, &why);
        if (taken < 0)
            return fail(QStringLiteral("unknown key"));
        if (taken == 0)
            return fail(why);
    }
    if (!ok)
        return fail(QStringLiteral("on or off"));
    return true;
}

bool SimModem::loadScenario(SimState &s, const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    int lineNo = 0;
    while (!f.atEnd()) {
        ++lineNo;
        const QString l = QString::fromUtf8(f.readLine()).trimmed();
        if (l.isEmpty() || l.startsWith(QLatin1Char('#')))
            continue;
        const int eq = l.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            if (error)
                *error = QStringLiteral("%1:%2: expected key = value").arg(path).arg(lineNo);
            return false;
        }
        QString why;
        if (!applySetting(s, l.left(eq), l.mid(eq + 1), &why)) {
            if (error)
                *error = QStringLiteral("%1:%2: %3").arg(path).arg(lineNo).arg(why);
            return false;
        }
    }
    return true;
}
