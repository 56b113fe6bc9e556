// Firmware container files arrive by e-mail: the reader must refuse damage.
#include "firmware/firmwarecontainer.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    FirmwareContainer container;
    container.info.model = QStringLiteral("kept");
    QString error;
    if (!readContainer(&buffer, container, &error)) {
        // A refused file leaves the container as it was.
        if (container.info.model != QLatin1String("kept") || error.isEmpty())
            __builtin_trap();
    }
    return 0;
}
