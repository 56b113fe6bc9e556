#include "device/linecodec.h"

#include <QtGlobal>

namespace LineCodec {

QByteArray toLatin1(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() + 2);
    for (const QChar ch : text)
        out.append(ch.unicode() < 256 ? char(ch.unicode()) : '?');
    return out;
}

bool isFatalPortError(QSerialPort::SerialPortError e)
{
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError
            || e == QSerialPort::WriteError || e == QSerialPort::DeviceNotFoundError;
}

qint64 writeDeadlineMs(qint64 bytes, int baud)
{
    return 2000 + bytes * 10000 / qMax(300, baud);
}

} // namespace LineCodec
