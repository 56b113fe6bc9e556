#include "cli/multiport.h"
#include "cli/output.h"
#include "cli/verbs.h"
#include "config/reportfile.h"
#include "config/visibletext.h"

#include <QCoreApplication>

#include <cstdio>

int verbReport(CliContext &ctx)
{
    Session &s = ctx.session();
    // The report holds the profiles and the Bluetooth mode as last read: read
    // everything first, as the window does after connecting.
    int failed = 0;
    if (!CliSteps::connectAndReadAll(s, &failed))
        return ExitFailed;
    printErr(QCoreApplication::translate("Cli", "Подождите, идёт сбор данных..."));
    QString report;
    if (!s.collectReport(ctx.options.profiles, &report)) {
        printErr(QCoreApplication::translate("Cli", "Отчёт не собран: модем не закончил ответы."));
        return ExitFailed;
    }
    const QString path =
            expandPath(ctx.options.args.at(0), ctx.options.port, s.worker.identity().serialNumber);
    QString error;
    if (!ReportFile::write(path, report, &error)) {
        printErr(QCoreApplication::translate("Cli", "Не удалось сохранить отчёт в файл «%1»: %2.")
                         .arg(path, error));
        return ExitFailed;
    }
    // The file ends with the line-lost marker then; what was gathered is kept.
    if (s.worker.reportIncomplete) {
        printErr(QCoreApplication::translate(
                "Cli", "Отчёт сохранён не полностью: связь с модемом потеряна."));
        return ExitFailed;
    }
    printErr(QCoreApplication::translate("Cli", "Отчёт сохранён."));
    return ExitOk;
}

int verbReportShow(CliContext &ctx)
{
    QString error;
    QByteArray bytes;
    if (ctx.options.raw) {
        if (!ReportFile::readBytes(ctx.options.args.at(0), &bytes, &error)) {
            printErr(error);
            return ExitFailed;
        }
    } else {
        QString report;
        if (!ReportFile::read(ctx.options.args.at(0), &report, &error)) {
            printErr(error);
            return ExitFailed;
        }
        // The report's own line ends are CR LF; a terminal wants LF, and the
        // modem's answers must not drive it.
        report.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        bytes = VisibleText::escaped(report).toUtf8();
    }
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    if (!ctx.options.raw && !bytes.isEmpty() && !bytes.endsWith('\n'))
        fputc('\n', stdout);
    fflush(stdout);
    return ExitOk;
}
