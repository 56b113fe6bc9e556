#include "device/detect.h"

#include "config/kzconfig.h"

#include <algorithm>

namespace Detect {

QList<int> speedOrder()
{
    static const int first[] = { 115200, 57600, 38400, 19200, 9600 };
    QList<int> out;
    for (int b : first)
        if (KZTables::codeForBaud(b) >= 0)
            out << b;
    QList<int> rest;
    for (int i = 0; i < KZTables::baudCount(); ++i)
        if (!out.contains(KZTables::baudTable[i].baud))
            rest << KZTables::baudTable[i].baud;
    std::sort(rest.begin(), rest.end(), std::greater<int>());
    return out + rest;
}

bool isProbeAnswer(const QString &line)
{
    return line == QLatin1String("OK") || line == QLatin1String("AT");
}

int replyWaitMs(int baud)
{
    // The echo and the "OK" with their line ends: about 16 characters of
    // 10 bits, taken as 40 for a slow turn-round, plus a fixed allowance.
    constexpr int Chars = 40;
    constexpr int TurnMs = 150;
    if (baud <= 0)
        return TurnMs;
    return TurnMs + int(qint64(Chars) * 10 * 1000 / baud);
}

QString modelFromReply(const QString &line, bool *isReply)
{
    *isReply = line.startsWith(QLatin1String("JI0:"));
    return *isReply ? line.mid(4) : QString();
}

} // namespace Detect
