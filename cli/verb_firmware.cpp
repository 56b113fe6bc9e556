#include "cli/output.h"
#include "cli/verbs.h"
#include "firmware/firmwarecontainer.h"
#include "firmware/firmwarefit.h"

#include <QDebug>
#include <QFile>

namespace {

bool loadContainer(const QString &path, FirmwareContainer *container)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printErr(Messages::text(Messages::firmwareFile));
        return false;
    }
    QString error;
    if (!readContainer(&file, *container, &error)) {
        printErr(error.isEmpty() ? Messages::text(Messages::firmwareFile) : error);
        return false;
    }
    return true;
}

} // namespace

int verbFwinfo(CliContext &ctx)
{
    FirmwareContainer c;
    if (!loadContainer(ctx.options.args.at(0), &c))
        return ExitFailed;
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
    if (!loadContainer(ctx.options.args.at(0), &container))
        return ExitFailed;

    Session &s = ctx.session();
    if (!s.connectModem())
        return ExitFailed;

    // Only the hardware version is checked, as on the update tab.
    const QString hardware = s.worker.identity().hardwareVersion;
    if (!FirmwareFit::fits(container.info, hardware)) {
        printErr(FirmwareFit::mismatchMessage(container.info, hardware));
        if (!ctx.options.yes) {
            printErr(QStringLiteral("Обновление не начато: для обновления укажите --yes."));
            return ExitFailed;
        }
    }
    if (!s.worker.identity().viaCom) {
        printErr(Messages::text(Messages::firmwareOverBluetooth));
        return ExitFailed;
    }

    // Handed to the worker on its thread, bounded by the update's own limit.
    const Session::Result r = s.applyFirmware(container);
    if (!r.ok) {
        if (!r.text.isEmpty())
            qDebug() << r.text;
        printErr(Messages::text(Messages::firmware));
        return ExitFailed;
    }
    return ExitOk;
}
