#include "device/secretmask.h"

#include <QStringList>

const QString SecretMask::Hidden = QStringLiteral("***");

namespace {

// Which fields of a command's or a reply's comma list are secret. A password
// may hold a comma itself, which shifts the fields after it; where that makes
// the split ambiguous, more is hidden rather than less.
enum class Kind { Gprs, Ntrip, Dyndns, Bluetooth, Auth };

struct Key {
    const char *text;
    Kind kind;
};

// Matched at a '+' or '^' of the line, in any case; the write commands'
// "AT" before it is not required, so a command typed with a prefix of its
// own is masked as well.
const Key keys[] = {
    { "+ADDGPRS=", Kind::Gprs },      { "+ADDGPRS: ", Kind::Gprs },
    { "+ADDNTRIP=", Kind::Ntrip },    { "+ADDNTRIP: ", Kind::Ntrip },
    { "+DYNDNS=", Kind::Dyndns },     { "+DYNDNS: ", Kind::Dyndns },
    { "+BTMODE=", Kind::Bluetooth },  { "+BTMODE: ", Kind::Bluetooth },
    { "^AUTH=", Kind::Auth },
};

QString hide(const QStringList &parts, int from, int to)
{
    // The fields from..to (inclusive) become one hidden field.
    QString joined = parts.mid(from, to - from + 1).join(QLatin1Char(','));
    return joined.isEmpty() ? QString() : SecretMask::Hidden;
}

QString maskFields(Kind kind, const QString &rest)
{
    if (kind == Kind::Auth)
        return rest.isEmpty() ? rest : SecretMask::Hidden;

    QStringList f = rest.split(QLatin1Char(','));
    const int n = int(f.size());
    auto replace = [&](int from, int to) {
        if (from >= n || to < from)
            return;
        const QString h = hide(f, from, qMin(to, n - 1));
        f = f.mid(0, from) + QStringList { h } + f.mid(qMin(to, n - 1) + 1);
    };
    switch (kind) {
    case Kind::Gprs: // name, apn, username, password (last)
        replace(3, n - 1);
        break;
    case Kind::Ntrip: // name, address, port, mountpoint, login, client pw, server pw, sourcetable
        if (n > 8) {
            // A comma in a password or in the source table: no telling which.
            replace(5, n - 1);
        } else {
            replace(6, 6);
            replace(5, 5);
        }
        break;
    case Kind::Dyndns: // login, password, domain (last)
        replace(1, n >= 3 ? n - 2 : 1);
        break;
    case Kind::Bluetooth: // mode, address, PIN (last)
        replace(2, n - 1);
        break;
    case Kind::Auth:
        break;
    }
    return f.join(QLatin1Char(','));
}

QString maskLine(const QString &line)
{
    const QStringView view(line);
    for (int at = 0; at < view.size(); ++at) {
        const QChar c = view.at(at);
        if (c != QLatin1Char('+') && c != QLatin1Char('^'))
            continue;
        for (const Key &k : keys) {
            const QLatin1String key(k.text);
            if (!view.mid(at).startsWith(key, Qt::CaseInsensitive))
                continue;
            const int from = at + int(key.size());
            return line.left(from) + maskFields(k.kind, line.mid(from));
        }
    }
    return line;
}

} // namespace

QString SecretMask::mask(const QString &text)
{
    // Most lines hold no secret at all: leave them without a copy.
    if (!text.contains(QLatin1Char('+')) && !text.contains(QLatin1Char('^')))
        return text;
    QString out;
    out.reserve(text.size());
    int start = 0;
    const int n = int(text.size());
    while (start < n) {
        int end = start;
        while (end < n && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
            ++end;
        out += maskLine(text.mid(start, end - start));
        while (end < n && (text.at(end) == QLatin1Char('\r') || text.at(end) == QLatin1Char('\n')))
            out += text.at(end++);
        start = end;
    }
    return out;
}
