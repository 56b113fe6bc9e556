#include "firmware/firmwarefit.h"

#include <QCoreApplication>

namespace FirmwareFit {

bool fits(const FirmwareInfo &info, const QString &hardwareVersion)
{
    return info.hardwareVersions.contains(hardwareVersion);
}

QString hardwareText(const FirmwareInfo &info, const QString &hardwareVersion)
{
    const QString joined = info.hardwareVersions.join(QLatin1Char(','));
    if (fits(info, hardwareVersion))
        return joined;
    return QStringLiteral("%0 /!\\").arg(joined);
}

QString mismatchMessage(const FirmwareInfo &info, const QString &hardwareVersion)
{
    return QCoreApplication::translate("FirmwareFit",
                                       "Обновление предназначено для оборудования версий %1, у "
                                       "модема версия оборудования %2.")
            .arg(hardwareText(info, hardwareVersion), hardwareVersion);
}

} // namespace FirmwareFit
