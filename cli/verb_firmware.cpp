#include "cli/multiport.h"
#include "cli/output.h"
#include "cli/verbs.h"
#include "firmware/firmwarecontainer.h"
#include "firmware/firmwarefit.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

namespace {

bool loadContainer(const QString &path, FirmwareContainer *container)
{
    QString error;
    if (!loadContainerFile(path, *container, &error)) {
        printErr(error.isEmpty() ? Messages::text(Messages::firmwareFile) : error);
        return false;
    }
    return true;
}

// Runs the update slot on the container; the exit status.
int runUpdate(Session &s, const FirmwareContainer &container, const char *slot)
{
    s.setProgressUnit(TransferProgress::Bytes);
    // Handed to the worker on its thread, bounded by the update's own limit.
    const Session::Result r = s.applyFirmware(container, slot);
    if (!r.ok) {
        if (!r.text.isEmpty())
            qDebug() << r.text;
        printErr(Messages::text(Messages::firmware));
        return ExitFailed;
    }
    return ExitOk;
}

// A modem without its application cannot tell its identity or answer the
// checks before the halt: those are skipped; a modem whose application runs
// is refused, so that the checks are never skipped for it.
int flashRecover(Session &s, const FirmwareContainer &container)
{
    s.allowHalted = true;
    if (!s.connectModem())
        return ExitFailed;
    if (!s.worker.applicationHalted) {
        printErr(QCoreApplication::translate(
                "Cli",
                "Приложение модема работает: --recover только для модема без "
                "приложения. Обновите ПО без --recover."));
        return ExitFailed;
    }
    return runUpdate(s, container, "applyFirmwareRecovery");
}

// The keys of the text form; the repeated ones as arrays.
QJsonObject containerJson(const FirmwareContainer &c)
{
    auto checks = [](const QList<CommandCheck> &list) {
        QJsonArray out;
        for (const CommandCheck &check : list)
            out.append(QJsonObject { { QStringLiteral("command"), check.command },
                                     { QStringLiteral("reply"), check.reply } });
        return out;
    };
    QJsonArray files;
    for (const FirmwareFile &f : std::as_const(c.files))
        files.append(QJsonObject { { QStringLiteral("name"), f.name },
                                   { QStringLiteral("size"), qint64(f.data.size()) } });
    return QJsonObject {
        { QStringLiteral("model"), c.info.model },
        { QStringLiteral("hardware"), c.info.hardwareVersions.join(QLatin1Char(',')) },
        { QStringLiteral("software"), QString::number(c.info.softwareVersion) },
        { QStringLiteral("pre"), checks(c.info.preCommands) },
        { QStringLiteral("post"), checks(c.info.postCommands) },
        { QStringLiteral("file"), files },
    };
}

} // namespace

int verbFwinfo(CliContext &ctx)
{
    FirmwareContainer c;
    if (!loadContainer(ctx.options.args.at(0), &c))
        return ExitFailed;
    if (ctx.options.json) {
        printJson(containerJson(c));
        return ExitOk;
    }
    printOut(QStringLiteral("model: ") + c.info.model);
    printOut(QStringLiteral("hardware: ") + c.info.hardwareVersions.join(QLatin1Char(',')));
    printOut(QStringLiteral("software: ") + QString::number(c.info.softwareVersion));
    for (const CommandCheck &check : std::as_const(c.info.preCommands))
        printOut(QStringLiteral("pre: %1 -> %2").arg(check.command, check.reply));
    for (const CommandCheck &check : std::as_const(c.info.postCommands))
        printOut(QStringLiteral("post: %1 -> %2").arg(check.command, check.reply));
    for (const FirmwareFile &f : std::as_const(c.files))
        printOut(QStringLiteral("file: %1 %2").arg(f.name).arg(f.data.size()));
    return ExitOk;
}

int verbFlash(CliContext &ctx)
{
    FirmwareContainer container;
    if (!loadContainer(expandPath(ctx.options.args.at(0), ctx.options.port), &container))
        return ExitFailed;

    Session &s = ctx.session();
    if (ctx.options.recover)
        return flashRecover(s, container);
    if (!s.connectModem())
        return ExitFailed;

    // Only the hardware version is checked, as on the update tab.
    const QString hardware = s.worker.identity().hardwareVersion;
    if (!FirmwareFit::fits(container.info, hardware)) {
        printErr(FirmwareFit::mismatchMessage(container.info, hardware));
        if (!ctx.options.yes) {
            printErr(QCoreApplication::translate(
                    "Cli", "Обновление не начато: для обновления укажите --yes."));
            return ExitFailed;
        }
    }
    if (!s.worker.identity().viaCom) {
        printErr(Messages::text(Messages::firmwareOverBluetooth));
        return ExitFailed;
    }

    return runUpdate(s, container, "applyFirmware");
}
