#include "support/rawport.h"

#include <QElapsedTimer>

bool openRaw(QSerialPort &port, const QString &name, int baud)
{
    port.setPortName(name);
    port.setBaudRate(baud);
    return port.open(QIODevice::ReadWrite);
}

QByteArray exchange(QSerialPort &port, const QByteArray &out, int ms)
{
    if (!out.isEmpty()) {
        port.write(out);
        port.waitForBytesWritten(1000);
    }
    QByteArray in;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        if (port.waitForReadyRead(20))
            in += port.readAll();
    return in + port.readAll();
}
