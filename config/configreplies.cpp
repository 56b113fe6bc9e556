#include "config/configreplies.h"

namespace ConfigReplies {

namespace {

// Returns false when line does not begin with prefix; else *rest is the text after it.
bool afterPrefix(const QString &line, QLatin1String prefix, QString *rest)
{
    if (!line.startsWith(prefix))
        return false;
    *rest = line.mid(prefix.size());
    return true;
}

} // namespace

QStringList splitFields(const QString &text)
{
    return text.split(QLatin1Char(','), Qt::KeepEmptyParts);
}

Match parseIpr(const QString &line, int *code)
{
    QString rest;
    if (!afterPrefix(line, QLatin1String("+IPR: "), &rest))
        return Match::Other;
    bool ok = false;
    const int baud = rest.toInt(&ok, 10);
    *code = ok ? KZTables::codeForBaud(baud) : -1;
    return Match::Ok;
}

Match parseIfc(const QString &line, int *flow)
{
    QString rest;
    if (!afterPrefix(line, QLatin1String("+IFC: "), &rest))
        return Match::Other;
    if (rest == QLatin1String("0,0"))
        *flow = 0;
    else if (rest == QLatin1String("1,1"))
        *flow = 1;
    else if (rest == QLatin1String("2,2"))
        *flow = 2;
    else
        return Match::Bad;
    return Match::Ok;
}

Match parseIcf(const QString &line, int *framingIndex)
{
    QString rest;
    if (!afterPrefix(line, QLatin1String("+ICF: "), &rest))
        return Match::Other;
    *framingIndex = KZTables::framingIndexForIcf(rest);
    return Match::Ok;
}

Match parseGprs(const QString &line, GprsProfile *profile)
{
    QString rest;
    if (!afterPrefix(line, QLatin1String("+ADDGPRS: "), &rest))
        return Match::Other;
    const QStringList f = splitFields(rest);
    if (f.size() != 4)
        return Match::Bad;
    *profile = GprsProfile { f[0], f[1], f[2], f[3] };
    return Match::Ok;
}

Match parseNtrip(const QString &line, NtripProfile *profile)
{
    QString rest;
    if (!afterPrefix(line, QLatin1String("+ADDNTRIP: "), &rest))
        return Match::Other;
    const QStringList f = splitFields(rest);
    if (f.size() < 8)
        return Match::Bad;
    NtripProfile p;
    p.name = f[0];
    p.address = f[1];
    p.port = f[2];
    p.mountpoint = f[3];
    p.clientLogin = f[4];
    p.clientPassword = f[5];
    p.serverPassword = f[6];
    p.sourcetable = f.mid(7).join(QLatin1Char(','));
    *profile = p;
    return Match::Ok;
}

Match parseDyndns(const QString &line, QString *login, QString *password, QString *domain)
{
    QString rest;
    if (!afterPrefix(line, QLatin1String("+DYNDNS: "), &rest))
        return Match::Other;
    const QStringList f = splitFields(rest);
    if (f.size() != 3)
        return Match::Bad;
    *login = f[0];
    *password = f[1];
    *domain = f[2];
    return Match::Ok;
}

QString autoexecPrefix(AutoexecQuery query)
{
    switch (query) {
    case AutoexecQuery::Single:
        return QStringLiteral("^JAUTO: ");
    case AutoexecQuery::Bt:
        return QStringLiteral("^JAUTO,B: ");
    case AutoexecQuery::Com:
        return QStringLiteral("^JAUTO,C: ");
    }
    return QString();
}

AutoexecReply parseAutoexec(const QString &line, AutoexecQuery query, QString *command)
{
    if (line.startsWith(QLatin1String("ERROR")))
        return AutoexecReply::None;
    const QString prefix = autoexecPrefix(query);
    if (!line.startsWith(prefix))
        return AutoexecReply::Other;
    *command = line.mid(prefix.size());
    return AutoexecReply::Command;
}

Match parseBtMode(const QString &line, int *mode, QString *mac, QString *pin)
{
    QString rest;
    if (!afterPrefix(line, QLatin1String("+BTMODE: "), &rest))
        return Match::Other;
    const QStringList f = splitFields(rest);
    bool ok = false;
    const int m = f.value(0).toInt(&ok, 10);
    *mode = ok ? m : 0;
    if (*mode == 2) {
        *mac = f.value(1);
        *pin = f.value(2);
    } else {
        mac->clear();
        pin->clear();
    }
    return Match::Ok;
}

bool isFinalLine(const QString &line)
{
    return line == QLatin1String("OK") || line.startsWith(QLatin1String("ERROR"))
            || line.startsWith(QLatin1String("+CME ERROR")) || line.startsWith(QLatin1String("+CMS ERROR"));
}

} // namespace ConfigReplies
