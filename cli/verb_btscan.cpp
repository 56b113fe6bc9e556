#include "cli/output.h"
#include "cli/verbs.h"

#include <QDebug>

namespace {
// Each found device may take up to the worker's per-line deadline.
constexpr int InquiryMs = 600000;
} // namespace

int verbBtScan(CliContext &ctx)
{
    Session &s = ctx.session();
    if (!s.connectModem())
        return ExitFailed;
    const Session::Result r = s.run("bluetoothInquiry", InquiryMs);
    if (!r.ok) {
        if (!r.text.isEmpty())
            qDebug() << r.text;
        printErr(CliMessages::text(CliMessages::command));
        return ExitFailed;
    }
    // As the window's list shows a device: its first field, a space, its second.
    for (const QString &line : std::as_const(s.worker.btInquiryList)) {
        const QStringList f = line.split(QLatin1Char(','));
        printOut(f.value(0) + QLatin1Char(' ') + f.value(1));
    }
    return ExitOk;
}
