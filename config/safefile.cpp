#include "config/safefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool writeProtected(const QFileInfo &fi)
{
    // Permission bits are honoured even where the user could override them.
    const QFile::Permissions writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !fi.isWritable() || !(fi.permissions() & writeBits);
}

bool writeDirect(const QString &path, const QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error,
                    QCoreApplication::translate("SafeFile", "файл не удаётся открыть (%1)")
                            .arg(file.errorString()));
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return fail(error,
                        QCoreApplication::translate("SafeFile", "данные не удаётся записать (%1)")
                                .arg(file.errorString()));
        done += n;
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return fail(error,
                    QCoreApplication::translate("SafeFile", "данные не удаётся записать (%1)")
                            .arg(file.errorString()));
    return true;
}

} // namespace

namespace SafeFile {

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    if (path.isEmpty())
        return fail(error, QCoreApplication::translate("SafeFile", "не указано имя файла"));
    const QFileInfo fi(path);
    if (fi.isDir())
        return fail(error, QCoreApplication::translate("SafeFile", "это папка, а не файл"));
    if (fi.exists() && writeProtected(fi))
        return fail(error, QCoreApplication::translate("SafeFile", "файл защищён от записи"));
    // A device or a pipe cannot be replaced by renaming (and must not be).
    if (fi.exists() && !fi.isFile())
        return writeDirect(path, bytes, error);

    // Never fall back to writing in place: a failure half-way would leave a
    // damaged file where the user had a good one.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error,
                    QCoreApplication::translate("SafeFile", "файл не удаётся создать (%1)")
                            .arg(file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(error,
                    QCoreApplication::translate("SafeFile", "данные не удаётся записать (%1)")
                            .arg(reason));
    }
    if (!file.commit())
        return fail(
                error,
                QCoreApplication::translate("SafeFile", "файл не удаётся записать на место (%1)")
                        .arg(file.errorString()));
    return true;
}

bool read(const QString &path, qint64 maxBytes, QByteArray *out, QString *error)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return fail(error,
                    QCoreApplication::translate("SafeFile", "файл не удаётся открыть (%1)")
                            .arg(file.errorString()));
    // size() is 0 for devices and pipes: the bound is on what is read.
    QByteArray data;
    constexpr qint64 Step = 1 << 20;
    for (;;) {
        const qint64 want = qMin(Step, maxBytes + 1 - data.size());
        const QByteArray part = file.read(want);
        if (part.isEmpty())
            break;
        data += part;
        if (data.size() > maxBytes)
            return fail(error,
                        QCoreApplication::translate("SafeFile", "файл больше %1 МиБ")
                                .arg(maxBytes >> 20));
    }
    if (file.error() != QFileDevice::NoError)
        return fail(error,
                    QCoreApplication::translate("SafeFile", "файл не удаётся прочитать (%1)")
                            .arg(file.errorString()));
    *out = data;
    return true;
}

} // namespace SafeFile
