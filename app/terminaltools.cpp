// The terminal's tools and the exchange log's window, and the failure boxes
// that show the exchange behind a failure.
#include "app/exchangelogwindow.h"
#include "app/mainwindow.h"
#include "app/terminalview.h"
#include "device/exchangelog.h"

#include "ui_mainwindow.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPushButton>

void MainWindow::setUpTerminalTools()
{
    terminalView = new TerminalView(ui->termLog, ui->tabLayout, 0, this);
    const QString textFiles = tr("Текстовые файлы (*.txt *.log)");
    auto saveFailed = [this] {
        showBox(QMessageBox::Warning, tr("Ошибка"), tr("Не удалось сохранить журнал."));
    };
    terminalView->chooseFile = [this, textFiles] { return chooseSaveFile(textFiles); };
    terminalView->saveFailed = saveFailed;

    logWindow = new ExchangeLogWindow(ExchangeLog::global(), this);
    logWindow->chooseFile = [this, textFiles] { return chooseSaveFile(textFiles); };
    logWindow->saveFailed = saveFailed;
    auto *open = new QPushButton(tr("Журнал обмена..."), ui->termLog->parentWidget());
    open->setObjectName(QStringLiteral("exchangeLogButton"));
    terminalView->controlsRow()->addWidget(open);
    connect(open, &QPushButton::clicked, this, &MainWindow::showExchangeLog);
}

void MainWindow::showExchangeLog()
{
    logWindow->show();
    logWindow->raise();
    logWindow->activateWindow();
}

QString MainWindow::operationDetails(KZConfigThread::Operation op, const QString &errorDebug)
{
    // The worker slot each result comes from, as the log names it.
    static const char *const slotNames[] = { "doConnect",      "handshake",         "reqInfo",
                                         "applyFirmware", "privilegedExecute", "bluetoothInquiry" };
    const int i = int(op);
    const QString name = (i >= 0 && i < 6) ? QLatin1String(slotNames[i]) : QString();
    return ExchangeLog::global().failureDetails(name, errorDebug);
}

void MainWindow::showDetailedBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                                 const QString &details, const QString &reason)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    if (!reason.isEmpty())
        box.setInformativeText(reason);
    if (!details.isEmpty()) {
        box.setDetailedText(details);
        // The box's own button speaks English without a translation loaded.
        for (QAbstractButton *b : box.buttons()) {
            if (box.buttonRole(b) != QMessageBox::ActionRole)
                continue;
            b->setText(tr("Подробнее..."));
            connect(b, &QAbstractButton::clicked, b, [b, shown = false]() mutable {
                shown = !shown;
                b->setText(shown ? tr("Скрыть подробности") : tr("Подробнее..."));
            });
        }
    }
    box.exec();
}
