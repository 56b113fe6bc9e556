#pragma once

#include "firmware/firmwarecontainer.h"

#include <QString>

// Whether a container is meant for a modem: only the hardware version is
// checked, against the container's list of them.
namespace FirmwareFit {

bool fits(const FirmwareInfo &info, const QString &hardwareVersion);
// The container's hardware versions as shown beside it, marked when the
// modem's is not among them.
QString hardwareText(const FirmwareInfo &info, const QString &hardwareVersion);
// What the user is told before updating a modem the container is not for.
QString mismatchMessage(const FirmwareInfo &info, const QString &hardwareVersion);

} // namespace FirmwareFit
