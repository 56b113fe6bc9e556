// The simulated modem's drive A:/ kept in a folder, so that any OBEX client's
// upload can be checked from outside.
#include "sim/simmodem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Only a plain file name reaches the folder: no separators, no "." or "..".
bool plainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
            && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
            && !name.contains(QChar(0));
}

} // namespace

void SimModem::loadDrive(SimState &s)
{
    if (s.driveDir.isEmpty())
        return;
    const QDir dir(s.driveDir);
    const auto files = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &fi : files) {
        QFile f(fi.filePath());
        if (f.open(QIODevice::ReadOnly))
            s.drive.insert(fi.fileName(), f.readAll());
    }
}

void SimModem::storeDriveFile(const QString &dir, const QString &name, const QByteArray &data)
{
    if (dir.isEmpty() || !plainName(name))
        return;
    QSaveFile f(QDir(dir).filePath(name));
    if (f.open(QIODevice::WriteOnly)) {
        f.write(data);
        f.commit();
    }
}

void SimModem::removeDriveFile(const QString &dir, const QString &name)
{
    if (dir.isEmpty() || !plainName(name))
        return;
    QFile::remove(QDir(dir).filePath(name));
}
