#include "device/inforeplies.h"

namespace InfoReplies {

bool valueAfter(const QString &reply, const QString &tag, QString *value)
{
    if (!reply.startsWith(tag))
        return false;
    *value = reply.mid(tag.size());
    return true;
}

void splitDeviceType(const QString &type, QString *hardware, QString *variant)
{
    const QStringList parts = type.split(QLatin1Char('-'));
    *hardware = parts.size() >= 2 ? parts.at(1) : QString();
    *variant = parts.size() == 3 ? parts.at(2) : QString();
}

QString copsOperator(const QString &reply, bool *hasQuote)
{
    const int open = reply.indexOf(QLatin1Char('"'));
    *hasQuote = open >= 0;
    if (open < 0)
        return QString();
    const int close = reply.indexOf(QLatin1Char('"'), open + 1);
    if (close < 0)
        return QString();
    return reply.mid(open, close - open + 1);
}

SimState scksState(const QString &reply)
{
    if (!reply.startsWith(QLatin1String("^SCKS: ")) || reply.size() != 10)
        return SimState::Invalid;
    const QChar s = reply.at(9);
    if (s == QLatin1Char('0'))
        return SimState::Absent;
    if (s == QLatin1Char('1'))
        return SimState::NoNetwork;
    return SimState::Invalid;
}

double batteryVolts(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : 0.0;
}

QString inquiryEntry(const QString &line)
{
    const QStringList f = line.split(QLatin1Char(','));
    return f.value(0) + QLatin1Char(' ') + f.value(1);
}

} // namespace InfoReplies
