#include "device/savetext.h"

#include <QSaveFile>

bool saveTextFile(const QString &path, const QString &text, QString *error)
{
    QSaveFile file(path);
    const QByteArray data = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
