#include "device/privilegedreply.h"

#include "device/kzserialport.h"

#include <QStringList>

namespace PrivilegedReply {

bool accepted(const QString &answer)
{
    QString last;
    for (QString line : answer.split(QLatin1Char('\n'))) {
        if (line.size() > KZSerialPort::MaxLineLength)
            return false;
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1String("ERROR")) || line.startsWith(QLatin1String("+CME ERROR")))
            return false;
        if (!line.isEmpty())
            last = line;
    }
    return last == QLatin1String("OK");
}

} // namespace PrivilegedReply
