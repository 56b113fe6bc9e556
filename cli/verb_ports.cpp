#include "cli/output.h"
#include "cli/verbs.h"
#include "device/portnames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

int verbPorts(CliContext &ctx)
{
    const QList<PortDescription> ports = availablePortDescriptions();
    if (!ctx.options.json) {
        for (const PortDescription &p : ports)
            printOut(p.name);
        return ExitOk;
    }
    QJsonArray array;
    for (const PortDescription &p : ports) {
        auto id = [](int v) { return v >= 0 ? QJsonValue(v) : QJsonValue(); };
        array.append(QJsonObject { { QStringLiteral("name"), p.name },
                                   { QStringLiteral("description"), p.description },
                                   { QStringLiteral("manufacturer"), p.manufacturer },
                                   { QStringLiteral("serialNumber"), p.serialNumber },
                                   { QStringLiteral("vendorId"), id(p.vendorId) },
                                   { QStringLiteral("productId"), id(p.productId) },
                                   { QStringLiteral("location"), p.location },
                                   { QStringLiteral("bluetooth"), p.bluetooth } });
    }
    printOut(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
    return ExitOk;
}
