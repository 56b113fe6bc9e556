// start-app: starts the application of a modem that an interrupted update
// left halted, then shows its identity as info does.
#include "cli/output.h"
#include "cli/verbs.h"
#include "device/appstate.h"

#include <QCoreApplication>
#include <QDebug>

namespace {
constexpr int StartMs = 60000; // the start's reply and ~30 s of probes
constexpr int InfoMs = 90000;
} // namespace

int verbStartApp(CliContext &ctx)
{
    Session &s = ctx.session();
    s.allowHalted = true;
    if (!s.connectModem())
        return ExitFailed;
    if (s.worker.applicationHalted) {
        Session::Result r = s.run("startApplication", StartMs);
        if (!r.ok) {
            if (!r.text.isEmpty())
                qDebug() << r.text;
            printErr(QCoreApplication::translate("Cli", "Не удалось запустить приложение модема."));
            return ExitFailed;
        }
        r = s.run("reqInfo", InfoMs);
        if (!r.ok) {
            if (!r.text.isEmpty())
                qDebug() << r.text;
            printErr(s.worker.applicationHalted ? AppState::haltedMessage()
                                                : Messages::text(Messages::info));
            return ExitFailed;
        }
    }
    printKeyValues(identityLines(s.worker.identity()));
    return ExitOk;
}
