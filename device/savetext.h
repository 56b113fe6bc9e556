#pragma once

#include <QString>

// Writes text as UTF-8, whole or not at all: a failed write leaves the file
// that was there before. False with *error (for the debug output) on failure.
bool saveTextFile(const QString &path, const QString &text, QString *error = nullptr);
