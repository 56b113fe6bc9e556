// Autostart commands read from a modem (or typed by a user) parsed back into
// the editor, rebuilt, and parsed again.
#include "config/automode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString command = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const AutoMode::Parsed parsed = AutoMode::parse(command);
    AutoMode::Values values;
    const QStringList names = { QStringLiteral("default"), QStringLiteral("inet"), parsed.gprs, parsed.ntrip };
    AutoMode::apply(parsed, &values, names, names);
    const QString rebuilt = AutoMode::build(values);
    const AutoMode::Parsed again = AutoMode::parse(rebuilt);
    if (parsed.recognised && !again.recognised)
        __builtin_trap();
    (void)AutoMode::enables(values.mode);
    return 0;
}
