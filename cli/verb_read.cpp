#include "cli/output.h"
#include "cli/verbs.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QJsonObject configJson(const KZConfig &c, int failedFlags)
{
    QJsonObject o;
    const int baud = KZTables::baudForCode(c.baudrate);
    o.insert(QStringLiteral("baud"), baud > 0 ? QJsonValue(baud) : QJsonValue());
    o.insert(QStringLiteral("framing"),
             KZTables::validFramingIndex(c.framing)
                     ? QJsonValue(QString::fromLatin1(KZTables::framingTable[c.framing].name))
                     : QJsonValue());
    o.insert(QStringLiteral("flow"), c.flow);

    QJsonArray gprs;
    for (const GprsProfile &p : c.gprsProfiles)
        gprs.append(QJsonObject { { QStringLiteral("name"), p.name },
                                  { QStringLiteral("apn"), p.apn },
                                  { QStringLiteral("username"), p.username },
                                  { QStringLiteral("password"), p.password } });
    o.insert(QStringLiteral("gprs"), gprs);

    QJsonArray ntrip;
    for (const NtripProfile &p : c.ntripProfiles)
        ntrip.append(QJsonObject { { QStringLiteral("name"), p.name },
                                   { QStringLiteral("address"), p.address },
                                   { QStringLiteral("port"), p.port },
                                   { QStringLiteral("mountpoint"), p.mountpoint },
                                   { QStringLiteral("clientLogin"), p.clientLogin },
                                   { QStringLiteral("clientPassword"), p.clientPassword },
                                   { QStringLiteral("serverPassword"), p.serverPassword },
                                   { QStringLiteral("sourcetable"), p.sourcetable } });
    o.insert(QStringLiteral("ntrip"), ntrip);

    o.insert(QStringLiteral("dyndns"),
             QJsonObject { { QStringLiteral("login"), c.dyndnsLogin },
                           { QStringLiteral("password"), c.dyndnsPassword },
                           { QStringLiteral("domain"), c.dyndnsDomain } });
    o.insert(QStringLiteral("autoexecBt"), c.autoexecBt);
    o.insert(QStringLiteral("autoexecCom"), c.autoexecCom);
    o.insert(QStringLiteral("bluetooth"),
             QJsonObject { { QStringLiteral("mode"), c.btMode },
                           { QStringLiteral("mac"), c.btMac },
                           { QStringLiteral("pin"), c.btPin } });
    o.insert(QStringLiteral("failed"), QJsonArray::fromStringList(groupNames(failedFlags)));
    return o;
}

} // namespace

int verbRead(CliContext &ctx)
{
    Session &s = ctx.session();
    int failed = 0;
    if (!CliSteps::connectAndReadAll(s, &failed) || CliSteps::lineLost(s))
        return ExitFailed;
    // A failed group is named in the object; the connection itself worked.
    printJson(configJson(s.worker.record(), failed));
    return ExitOk;
}
