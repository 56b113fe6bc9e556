// What makes a read container fit to be shown and used, and reading one from
// a file through a bound.
#include "config/safefile.h"
#include "firmware/firmwarecontainer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>

namespace {

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

// A CR or LF would end a command early and run the rest as a command of its
// own; any control character is foreign to these texts.
bool hasControl(const QString &text)
{
    for (const QChar ch : text)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return true;
    return false;
}

} // namespace

bool containerTextsClean(const FirmwareContainer &c, QString *error)
{
    QStringList texts { c.info.model };
    texts += c.info.hardwareVersions;
    for (const auto *list : { &c.info.preCommands, &c.info.postCommands })
        for (const CommandCheck &check : *list)
            texts << check.command << check.reply;
    for (const FirmwareFile &f : c.files)
        texts << f.name;
    for (const QString &t : std::as_const(texts))
        if (hasControl(t))
            return fail(
                    error,
                    damaged(QCoreApplication::translate("FirmwareContainer",
                                                        "текст «%1» содержит управляющие символы")
                                    .arg(QString(t)
                                                 .replace(QLatin1Char('\0'), u'?')
                                                 .replace(QLatin1Char('\r'), u'?')
                                                 .replace(QLatin1Char('\n'), u'?'))));
    return true;
}

bool loadContainerFile(const QString &path, FirmwareContainer &container, QString *error)
{
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return fail(error,
                    QCoreApplication::translate("Messages", "Не удалось открыть файл прошивки"));
    probe.close();
    QByteArray bytes;
    QString reason;
    if (!SafeFile::read(path, SafeFile::MaxReadBytes, &bytes, &reason))
        return fail(error, damaged(reason));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    FirmwareContainer read;
    if (!readContainer(&buffer, read, error))
        return false;
    if (read.magic != firmwareMagic())
        return fail(error,
                    damaged(QCoreApplication::translate("FirmwareContainer",
                                                        "это не контейнер прошивки")));
    if (read.version < 1 || read.version > 3)
        return fail(error,
                    damaged(QCoreApplication::translate("FirmwareContainer",
                                                        "неизвестная версия формата %1")
                                    .arg(read.version)));
    if (!containerTextsClean(read, error))
        return false;
    container = read;
    return true;
}
