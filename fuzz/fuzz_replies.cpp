// The readers of the modem's replies: identity, network, and every
// configuration group. Each input line goes through all of them.
#include "config/configreplies.h"
#include "device/inforeplies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        QString a, b, c;
        InfoReplies::splitDeviceType(line, &a, &b);
        bool quote = false;
        (void)InfoReplies::copsOperator(line, &quote);
        (void)InfoReplies::scksState(line);
        (void)InfoReplies::batteryVolts(line);

        int n = 0;
        ConfigReplies::parseIpr(line, &n);
        ConfigReplies::parseIfc(line, &n);
        ConfigReplies::parseIcf(line, &n);
        GprsProfile g;
        ConfigReplies::parseGprs(line, &g);
        NtripProfile p;
        ConfigReplies::parseNtrip(line, &p);
        ConfigReplies::parseDyndns(line, &a, &b, &c);
        for (auto q : { ConfigReplies::AutoexecQuery::Single, ConfigReplies::AutoexecQuery::Bt,
                        ConfigReplies::AutoexecQuery::Com })
            ConfigReplies::parseAutoexec(line, q, &a);
        ConfigReplies::parseBtMode(line, &n, &a, &b);
        (void)ConfigReplies::isFinalLine(line);
    }
    return 0;
}
