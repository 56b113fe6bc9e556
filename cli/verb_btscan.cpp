#include "cli/output.h"
#include "cli/verbs.h"
#include "device/inforeplies.h"

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
        printErr(Messages::text(Messages::command));
        return ExitFailed;
    }
    for (const QString &line : std::as_const(s.worker.btInquiryList))
        printOut(InfoReplies::inquiryEntry(line));
    return ExitOk;
}
