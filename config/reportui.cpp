#include "app/mainwindow.h"
#include "config/reportfile.h"
#include "ui_mainwindow.h"

namespace {
const QString ReportFilter = QStringLiteral("*.kzrep");
}

void MainWindow::on_reportButton_clicked()
{
    // One report at a time: a second one would take over the file name that
    // the first is to be written to.
    if (!reportFileName.isEmpty()) {
        ui->statusBar->showMessage(tr("Подождите, идёт сбор данных..."));
        return;
    }
    const QString name = chooseSaveFile(ReportFilter);
    if (name.isEmpty())
        return;
    reportFileName = name;
    ui->statusBar->showMessage(tr("Подождите, идёт сбор данных..."));
    QMetaObject::invokeMethod(&worker, "makeReport", Qt::QueuedConnection,
                              Q_ARG(bool, ui->reportProfiles->isChecked()));
    noteQueued(Running::Report);
}

void MainWindow::kzReportComplete(QString report)
{
    operationEnded();
    QString path = reportFileName;
    reportFileName.clear();
    // The report took a minute to collect: when the file cannot be written,
    // keep it and let the user choose another file until one works or they
    // give up.
    while (!path.isEmpty()) {
        QString error;
        if (ReportFile::write(path, report, &error)) {
            // A report cut short by a lost line is saved all the same.
            ui->statusBar->showMessage(linkLost ? tr("Отчёт сохранён. Связь с модемом потеряна.")
                                                : tr("Отчёт сохранён."));
            return;
        }
        ui->statusBar->showMessage(tr("Отчёт не сохранён."));
        showBox(QMessageBox::Warning, tr("Ошибка"),
                tr("Не удалось сохранить отчёт в файл «%1»: %2. Выберите другой файл.")
                        .arg(path, error));
        path = chooseSaveFile(ReportFilter);
    }
}
