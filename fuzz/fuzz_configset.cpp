// Configuration set files travel between users: any file must load or be
// refused with a message.
#include "forms/configset.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.kzini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    ConfigSet::Loaded loaded;
    QString error;
    if (!ConfigSet::load(path, &loaded, &error) && error.isEmpty())
        __builtin_trap();
    if (ConfigSet::load(path, &loaded, &error)) {
        // What loads must be inside the tables the write indexes.
        if (!KZTables::validFramingIndex(loaded.config.framing) || loaded.config.btMode < 0
            || loaded.config.btMode > 2)
            __builtin_trap();
    }
    return 0;
}
