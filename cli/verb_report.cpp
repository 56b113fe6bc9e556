#include "cli/multiport.h"
#include "cli/output.h"
#include "cli/verbs.h"
#include "config/reportfile.h"

#include <cstdio>

int verbReport(CliContext &ctx)
{
    Session &s = ctx.session();
    // The report holds the profiles and the Bluetooth mode as last read: read
    // everything first, as the window does after connecting.
    int failed = 0;
    if (!CliSteps::connectAndReadAll(s, &failed))
        return ExitFailed;
    printErr(QStringLiteral("Подождите, идёт сбор данных..."));
    QString report;
    if (!s.collectReport(ctx.options.profiles, &report)) {
        printErr(QStringLiteral("Отчёт не собран: модем не закончил ответы."));
        return ExitFailed;
    }
    const QString path =
            expandPath(ctx.options.args.at(0), ctx.options.port, s.worker.serialNumber);
    QString error;
    if (!ReportFile::write(path, report, &error)) {
        printErr(QStringLiteral("Не удалось сохранить отчёт в файл «%1»: %2.").arg(path, error));
        return ExitFailed;
    }
    printErr(QStringLiteral("Отчёт сохранён."));
    return ExitOk;
}

int verbReportShow(CliContext &ctx)
{
    QString report, error;
    if (!ReportFile::read(ctx.options.args.at(0), &report, &error)) {
        printErr(error);
        return ExitFailed;
    }
    // The report's own line ends are CR LF; a terminal wants LF.
    report.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QByteArray bytes = report.toUtf8();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        fputc('\n', stdout);
    fflush(stdout);
    return ExitOk;
}
