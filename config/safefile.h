#pragma once

#include <QByteArray>
#include <QString>

// Every file the tool writes is written whole or not at all, and every file
// it reads is read through a bound, whatever the path names (a regular file,
// a device, a pipe).
namespace SafeFile {

// Files the tool reads are small; anything larger is refused unread.
constexpr qint64 MaxReadBytes = qint64(64) << 20;

// Replaces the file at `path` with `bytes`. A regular file is written beside
// the old one and renamed over it only once every byte is on disk, so any
// failure leaves the old file as it was. A write-protected file is refused.
// A path naming something else (a device, a pipe) is written directly, and
// any write error there is a failure too. *error: the reason, for the user.
bool write(const QString &path, const QByteArray &bytes, QString *error);

// Reads the whole file at `path`, refusing one holding more than maxBytes
// without reading past the bound. *error: the reason, for the user.
bool read(const QString &path, qint64 maxBytes, QByteArray *out, QString *error);

} // namespace SafeFile
