#include "support/containers.h"

#include <QFile>

FirmwareContainer firmwareFor(const QString &hardware, int bytes, int software)
{
    FirmwareContainer c;
    c.magic = firmwareMagic();
    c.version = 3;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = { hardware };
    c.info.softwareVersion = software;
    QByteArray data(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        data[i] = char(i * 7 + 3);
    c.files = { { QStringLiteral("atc65.jar"), data } };
    return c;
}

QString writeContainerFile(const QString &path, const FirmwareContainer &c)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || !writeContainer(&f, c))
        return QString();
    return path;
}
