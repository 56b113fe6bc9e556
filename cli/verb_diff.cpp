#include "cli/output.h"
#include "cli/verbs.h"
#include "config/configdiff.h"
#include "forms/configset.h"

#include <QJsonArray>
#include <QJsonObject>

int verbDiff(CliContext &ctx)
{
    // The set is loaded exactly as apply loads it, refusals included.
    ConfigSet::Loaded loaded;
    if (!CliSteps::loadSet(ctx, &loaded))
        return ExitFailed;

    Session &s = ctx.session();
    int failed = 0;
    if (!CliSteps::connectAndReadAll(s, &failed))
        return ExitFailed;
    // A group not read cannot be compared.
    if (failed) {
        printErr(QStringLiteral("failed: ") + groupNames(failed).join(QLatin1Char(' ')));
        return ExitFailed;
    }

    const KZConfigThread &w = s.worker;
    const DeviceIdentity id = w.identity();
    const QList<ConfigDiff::Entry> entries
            = ConfigDiff::compare(w.config, loaded.config, id.softwareNumber(), id.viaCom);
    // A set from another model or version is compared all the same.
    const bool otherVersion = !ConfigSet::versionMatches(loaded, id.model, id.softwareVersion);
    const QString note
            = QStringLiteral("set from %1, software %2").arg(loaded.partno, loaded.softversion);
    if (ctx.options.json) {
        QJsonObject o;
        if (otherVersion)
            o.insert(QStringLiteral("note"), note);
        o.insert(QStringLiteral("differs"), !entries.isEmpty());
        o.insert(QStringLiteral("differences"), ConfigDiff::json(entries));
        printJson(o);
    } else {
        if (otherVersion)
            printOut(QStringLiteral("note: ") + note);
        for (const ConfigDiff::Entry &e : entries)
            printOut(ConfigDiff::text(e));
    }
    return entries.isEmpty() ? ExitOk : ExitDiffers;
}
