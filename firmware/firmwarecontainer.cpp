#include "firmware/firmwarecontainer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QIODevice>
#include <QtEndian>

namespace {

constexpr int HeaderSize = 13;
constexpr quint16 CurrentVersion = 3;

void setFalse(bool *ok)
{
    if (ok)
        *ok = false;
}

// Reads exactly n bytes, growing the buffer only as data really arrives, so a
// declared length far beyond the data allocates nothing.
bool readExact(QIODevice *device, qint64 n, QByteArray *out)
{
    constexpr qint64 Step = 64 * 1024;
    out->clear();
    while (out->size() < n) {
        const qint64 want = qMin(Step, n - out->size());
        const QByteArray part = device->read(want);
        if (part.isEmpty())
            return false;
        out->append(part);
    }
    return true;
}

// Expands a qCompress block; false when it is damaged or implausibly large.
bool expand(const QByteArray &block, QByteArray *out)
{
    if (block.size() < 4)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(block.constData());
    const quint32 declared = qFromBigEndian<quint32>(p);
    // Nothing valid expands to zero bytes: every block holds at least a text's zero.
    if (declared == 0 || declared > MaxFirmwareBlockSize)
        return false;
    *out = qUncompress(block);
    return quint32(out->size()) == declared;
}

QString damaged(const QString &what)
{
    return QCoreApplication::translate("FirmwareContainer", "Файл прошивки повреждён: %1.")
            .arg(what);
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool readCommands(QIODevice *device, QList<CommandCheck> *list)
{
    bool ok = true;
    const quint16 count = readU16(device, &ok);
    list->clear();
    for (quint16 i = 0; ok && i < count; ++i) {
        CommandCheck check;
        check.command = readCString(device, &ok);
        if (ok)
            check.reply = readCString(device, &ok);
        list->append(check);
    }
    return ok;
}

bool decodeInfo(const QByteArray &bytes, quint16 version, FirmwareInfo *info)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    bool ok = true;
    info->version = version;
    info->model = readCString(&buffer, &ok);
    if (!ok)
        return false;
    info->hardwareVersions.clear();
    if (version == 1) {
        const quint32 number = readU32(&buffer, &ok);
        info->hardwareVersions.append(QString::number(qint32(number)));
    } else if (version == 2) {
        info->hardwareVersions.append(readCString(&buffer, &ok));
    } else {
        info->hardwareVersions = readCString(&buffer, &ok).split(QLatin1Char(','));
    }
    if (!ok)
        return false;
    info->softwareVersion = qint32(readU32(&buffer, &ok));
    return ok && readCommands(&buffer, &info->preCommands)
            && readCommands(&buffer, &info->postCommands);
}

QByteArray encodeInfo(const FirmwareInfo &info, bool *ok)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeCString(&buffer, info.model);
    writeCString(&buffer, info.hardwareVersions.join(QLatin1Char(',')));
    writeU32(&buffer, quint32(info.softwareVersion));
    for (const auto *list : { &info.preCommands, &info.postCommands }) {
        if (list->size() > 0xFFFF)
            *ok = false;
        writeU16(&buffer, quint16(list->size()));
        for (const CommandCheck &c : *list) {
            writeCString(&buffer, c.command);
            writeCString(&buffer, c.reply);
        }
    }
    buffer.close();
    return bytes;
}

} // namespace

QByteArray firmwareMagic()
{
    return QByteArray("\xF0KZbin\x0F", 7);
}

QString readCString(QIODevice *device, bool *ok)
{
    QString text;
    char c;
    for (;;) {
        if (!device->getChar(&c)) {
            setFalse(ok);
            return text;
        }
        if (c == '\0')
            return text;
        text.append(QChar(uchar(c)));
    }
}

namespace {

quint32 readBigEndian(QIODevice *device, int bytes, bool *ok)
{
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i) {
        char c;
        if (!device->getChar(&c)) {
            setFalse(ok);
            return 0;
        }
        value = (value << 8) | uchar(c);
    }
    return value;
}

bool writeBigEndian(QIODevice *device, quint32 value, int bytes)
{
    char out[4];
    for (int i = 0; i < bytes; ++i)
        out[i] = char(value >> (8 * (bytes - 1 - i)));
    return device->write(out, bytes) == bytes;
}

} // namespace

quint16 readU16(QIODevice *device, bool *ok)
{
    return quint16(readBigEndian(device, 2, ok));
}

quint32 readU32(QIODevice *device, bool *ok)
{
    return readBigEndian(device, 4, ok);
}

bool writeCString(QIODevice *device, const QString &text)
{
    QByteArray bytes = text.toLatin1();
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    bytes.append('\0');
    return device->write(bytes) == bytes.size();
}

bool writeU16(QIODevice *device, quint16 value)
{
    return writeBigEndian(device, value, 2);
}

bool writeU32(QIODevice *device, quint32 value)
{
    return writeBigEndian(device, value, 4);
}

bool readContainer(QIODevice *device, FirmwareContainer &container, QString *error)
{
    if (!device || !device->isReadable())
        return fail(error,
                    QCoreApplication::translate("FirmwareContainer",
                                                "Файл прошивки не открыт для чтения."));

    // Everything goes into a copy first, so damaged data leaves the caller's
    // container as it was.
    FirmwareContainer result;
    QByteArray header;
    if (!readExact(device, HeaderSize, &header))
        return fail(
                error,
                damaged(QCoreApplication::translate("FirmwareContainer", "файл короче заголовка")));
    result.magic = header.left(7);
    const auto *h = reinterpret_cast<const uchar *>(header.constData());
    result.version = qFromBigEndian<quint16>(h + 7);
    result.infoLength = qFromBigEndian<quint32>(h + 9);

    QByteArray block;
    QByteArray plain;
    if (!readExact(device, result.infoLength, &block))
        return fail(error,
                    damaged(QCoreApplication::translate("FirmwareContainer",
                                                        "блок описания обрывается")));
    if (!expand(block, &plain))
        return fail(error,
                    damaged(QCoreApplication::translate("FirmwareContainer",
                                                        "блок описания не распаковывается")));
    if (!decodeInfo(plain, result.version, &result.info))
        return fail(
                error,
                damaged(QCoreApplication::translate("FirmwareContainer", "описание обрывается")));

    qint64 expanded = plain.size();
    bool ok = true;
    const quint16 count = readU16(device, &ok);
    if (!ok)
        return fail(error,
                    damaged(QCoreApplication::translate("FirmwareContainer", "нет числа файлов")));
    for (int i = 1; i <= count; ++i) {
        const quint32 length = readU32(device, &ok);
        if (!ok || !readExact(device, length, &block))
            return fail(error,
                        damaged(QCoreApplication::translate("FirmwareContainer",
                                                            "файл %1 из %2 обрывается")
                                        .arg(i)
                                        .arg(count)));
        if (!expand(block, &plain))
            return fail(error,
                        damaged(QCoreApplication::translate("FirmwareContainer",
                                                            "файл %1 из %2 не распаковывается")
                                        .arg(i)
                                        .arg(count)));
        expanded += plain.size();
        if (expanded > qint64(MaxFirmwareBlockSize))
            return fail(error,
                        damaged(QCoreApplication::translate("FirmwareContainer",
                                                            "распакованные данные больше %1 МиБ")
                                        .arg(MaxFirmwareBlockSize >> 20)));
        const qsizetype zero = plain.indexOf('\0');
        if (zero < 0)
            return fail(error,
                        damaged(QCoreApplication::translate("FirmwareContainer",
                                                            "у файла %1 из %2 нет имени")
                                        .arg(i)
                                        .arg(count)));
        FirmwareFile file;
        file.name = QString::fromLatin1(plain.constData(), zero);
        file.data = plain.mid(zero + 1);
        result.files.append(file);
    }
    container = result;
    return true;
}

bool writeContainer(QIODevice *device, const FirmwareContainer &container)
{
    if (!device || !device->isWritable() || container.files.size() > 0xFFFF)
        return false;
    bool ok = true;
    const QByteArray info = qCompress(encodeInfo(container.info, &ok));
    if (!ok)
        return false;
    ok = device->write(firmwareMagic()) == 7 && writeU16(device, CurrentVersion)
            && writeU32(device, quint32(info.size())) && device->write(info) == info.size()
            && writeU16(device, quint16(container.files.size()));
    for (const FirmwareFile &file : container.files) {
        if (!ok)
            break;
        QByteArray plain = file.name.toLatin1();
        const qsizetype zero = plain.indexOf('\0');
        if (zero >= 0)
            plain.truncate(zero);
        plain.append('\0');
        plain.append(file.data);
        const QByteArray block = qCompress(plain);
        ok = writeU32(device, quint32(block.size())) && device->write(block) == block.size();
    }
    return ok;
}
