#pragma once

#include <QString>

// Appends the exchange log's entries to a file as they happen, one a line,
// each written through at once so that a killed program leaves its log.
// False with *error when the file cannot be opened.
bool startLogFile(const QString &path, bool keepSecrets, QString *error);
void stopLogFile();
