#include "config/reportfile.h"

#include "config/safefile.h"

#include <QCoreApplication>
#include <QStringDecoder>
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
constexpr qint64 MaxTextSize = SafeFile::MaxReadBytes;

} // namespace

namespace ReportFile {

QByteArray encode(const QString &report)
{
    // The modem's answers are 8-bit text: held one byte per character, they
    // go to the file as the modem sent them. Only a report holding other
    // characters (typed, not received) needs the local code page.
    for (const QChar ch : report)
        if (ch.unicode() > 0xFF)
            return qCompress(report.toLocal8Bit());
    return qCompress(report.toLatin1());
}

bool decode(const QByteArray &bytes, QString *report, QString *error)
{
    if (bytes.size() < 4) {
        setError(error, QCoreApplication::translate("ReportFile", "файл слишком короткий"));
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
        setError(error,
                 QCoreApplication::translate(
                         "ReportFile", "указанная в файле длина текста не соответствует данным"));
        return false;
    }
    const QByteArray text = qUncompress(bytes);
    if (text.isEmpty()) {
        setError(error, QCoreApplication::translate("ReportFile", "сжатые данные повреждены"));
        return false;
    }
    if (text.size() != stated) {
        setError(error,
                 QCoreApplication::translate(
                         "ReportFile",
                         "длина распакованного текста (%1) не совпадает с указанной "
                         "в файле (%2)")
                         .arg(text.size())
                         .arg(stated));
        return false;
    }
    if (report) {
        QStringDecoder local(QStringDecoder::System);
        const QString decoded = local.decode(text);
        *report = local.hasError() ? QString::fromLatin1(text) : decoded;
    }
    return true;
}

bool write(const QString &path, const QString &report, QString *error)
{
    return SafeFile::write(path, encode(report), error);
}

bool read(const QString &path, QString *report, QString *error)
{
    QByteArray bytes;
    if (!SafeFile::read(path, MaxTextSize + 64, &bytes, error))
        return false;
    return decode(bytes, report, error);
}

bool readBytes(const QString &path, QByteArray *text, QString *error)
{
    QByteArray bytes;
    if (!SafeFile::read(path, MaxTextSize + 64, &bytes, error) || !decode(bytes, nullptr, error))
        return false;
    *text = qUncompress(bytes);
    return true;
}

} // namespace ReportFile
