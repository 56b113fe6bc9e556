#include "cli/logfile.h"

#include "device/exchangelog.h"

#include <QFile>

#include <memory>

namespace {
std::unique_ptr<QFile> g_file;
}

bool startLogFile(const QString &path, bool keepSecrets, QString *error)
{
    auto file = std::make_unique<QFile>(path);
    // Unbuffered: every line is one write to the system, nothing waits in
    // the process for a flush that a kill would prevent.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        *error = file->errorString();
        return false;
    }
    g_file = std::move(file);
    QFile *f = g_file.get();
    ExchangeLog::global().setSink([f, keepSecrets](const ExchangeEntry &e) {
        f->write((ExchangeLog::format(e, keepSecrets) + QLatin1Char('\n')).toUtf8());
    });
    return true;
}

void stopLogFile()
{
    ExchangeLog::global().setSink(nullptr);
    g_file.reset();
}
