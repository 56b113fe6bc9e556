#pragma once

#include <QByteArray>
#include <QString>

// The report file: the report as local 8-bit text, compressed in the qCompress
// layout (four-byte big-endian length of the text, then a zlib stream). No
// header and no other framing.
namespace ReportFile {

// The bytes of a report file holding `report`.
QByteArray encode(const QString &report);

// The report held in file bytes. False with *error (Russian, for the user)
// when the bytes are not a report file: too short, a length that the data
// cannot hold, a broken zlib stream, or text of another length than stated.
bool decode(const QByteArray &bytes, QString *report, QString *error = nullptr);

// Writes the file whole or not at all: on failure an earlier file at `path`
// stays as it was, and *error holds the reason (Russian, for the user).
bool write(const QString &path, const QString &report, QString *error = nullptr);

// Reads a report file back to its text (a file that is not valid text in the
// local code page is 8-bit text, one byte per character).
bool read(const QString &path, QString *report, QString *error = nullptr);

// The report's bytes exactly as the file holds them, uncompressed.
bool readBytes(const QString &path, QByteArray *text, QString *error = nullptr);

} // namespace ReportFile
