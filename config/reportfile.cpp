#include "config/reportfile.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// zlib cannot expand data by much more than a thousand to one; a stated
// length beyond that is a damaged or foreign file, and trusting it would make
// the reader reserve gigabytes.
constexpr qint64 MaxRatio = 1100;
constexpr qint64 MaxTextSize = qint64(256) << 20;

} // namespace

namespace ReportFile {

QByteArray encode(const QString &report)
{
    return qCompress(report.toLocal8Bit());
}

bool decode(const QByteArray &bytes, QString *report, QString *error)
{
    if (bytes.size() < 4) {
        setError(error, QStringLiteral("файл слишком короткий"));
        return false;
    }
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qint64 stated = qFromBigEndian<quint32>(p);
    const qint64 packed = bytes.size() - 4;
    if (stated == 0) {
        // An empty report: Qt writes the bare length, zlib may add an empty stream.
        if (report)
            report->clear();
        return true;
    }
    if (packed == 0 || stated > MaxTextSize || stated > packed * MaxRatio + 1024) {
        setError(error, QStringLiteral("указанная в файле длина текста не соответствует данным"));
        return false;
    }
    const QByteArray text = qUncompress(bytes);
    if (text.isEmpty()) {
        setError(error, QStringLiteral("сжатые данные повреждены"));
        return false;
    }
    if (text.size() != stated) {
        setError(error, QStringLiteral("длина распакованного текста (%1) не совпадает с указанной "
                                       "в файле (%2)")
                                .arg(text.size())
                                .arg(stated));
        return false;
    }
    if (report)
        *report = QString::fromLocal8Bit(text);
    return true;
}

bool write(const QString &path, const QString &report, QString *error)
{
    if (path.isEmpty()) {
        setError(error, QStringLiteral("не указано имя файла"));
        return false;
    }
    const QByteArray bytes = encode(report);
    // Never fall back to writing in place: a failure half-way would leave a
    // damaged file where the user had a good one.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("файл не удаётся создать (%1)").arg(file.errorString()));
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        setError(error, QStringLiteral("данные не удаётся записать (%1)").arg(file.errorString()));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, QStringLiteral("файл не удаётся записать на место (%1)")
                                .arg(file.errorString()));
        return false;
    }
    return true;
}

bool read(const QString &path, QString *report, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("файл не удаётся открыть (%1)").arg(file.errorString()));
        return false;
    }
    // Reports are small; a file far larger than any report is not one.
    if (file.size() > MaxTextSize) {
        setError(error, QStringLiteral("файл слишком большой для отчёта"));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("файл не удаётся прочитать (%1)").arg(file.errorString()));
        return false;
    }
    return decode(bytes, report, error);
}

} // namespace ReportFile
