#include "cli/output.h"
#include "cli/verbs.h"

#include <QDebug>

namespace {
// The answer is gathered until 3 s pass without a byte.
constexpr int PrivilegedMs = 120000;
} // namespace

int verbAuth(CliContext &ctx)
{
    Session &s = ctx.session();
    if (!s.connectModem())
        return ExitFailed;
    const Session::Result r =
            s.run("privilegedExecute", PrivilegedMs, Q_ARG(QString, ctx.options.args.at(0)));
    if (!r.ok) {
        if (!r.text.isEmpty())
            qDebug() << r.text;
        printErr(Messages::text(Messages::privileged));
        return ExitFailed;
    }
    return ExitOk;
}
