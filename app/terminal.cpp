// The terminal tab: lines typed by the user go to the modem as they stand,
// and whatever the modem says while no operation runs is shown.
//
// The port belongs to the worker thread, so the terminal never touches it:
// writes are queued to the worker's terminal slots, which test `busy` again
// right before writing (an operation queued in the meantime runs first and
// the terminal's bytes never land in the middle of its dialogue), and reads
// arrive from the worker's rawRead, which it emits only while idle.
#include "app/mainwindow.h"

#include "app/terminalview.h"
#include "ui_mainwindow.h"

#include <QKeyEvent>
#include <QTextCharFormat>
#include <QTextCursor>

bool MainWindow::terminalUsable() const
{
    return !worker.busy && worker.isPortOpen();
}

// The terminal view keeps the lines and draws them, sent text in dark red and
// received text in dark blue.
void MainWindow::printTermLine(Qt::GlobalColor color, QString text)
{
    terminalView->append(color == Qt::darkRed ? TerminalModel::Sent : TerminalModel::Received,
                         text.toLocal8Bit());
}

void MainWindow::readToTerm(QByteArray data)
{
    // Every byte is kept for the hex view; the text view ends a line's text
    // at a zero byte, as it would for the modem's own C strings.
    terminalView->append(TerminalModel::Received, data);
}

void MainWindow::on_termSend_clicked()
{
    if (!terminalUsable()) {
        if (linkLost)
            ui->statusBar->showMessage(tr("Связь с модемом потеряна."));
        return;
    }
    const QString command = ui->termCmd->text();
    const QString text = command + QStringLiteral("\r\n");
    printTermLine(Qt::darkRed, text);
    ui->termCmd->clear();

    // Recall keeps each command once in a row, and not the empty line.
    if (!command.isEmpty() && (termHistory.isEmpty() || termHistory.constLast() != command))
        termHistory.append(command);
    termHistoryPos = termHistory.size();

    QMetaObject::invokeMethod(&worker, "termSend", Qt::QueuedConnection,
                              Q_ARG(QByteArray, text.toLocal8Bit()));
}

void MainWindow::on_termCmd_returnPressed()
{
    on_termSend_clicked();
}

void MainWindow::queueEscape(bool hangUp)
{
    if (!terminalUsable()) {
        if (linkLost)
            ui->statusBar->showMessage(tr("Связь с модемом потеряна."));
        return;
    }
    // The guard times pass on the worker thread, so the window stays live;
    // the log shows "+++" and "ATH" when the worker has written them.
    connect(&worker, &KZConfigThread::termWritten, this, &MainWindow::showTermWritten,
            Qt::UniqueConnection);
    QMetaObject::invokeMethod(&worker, "termEscape", Qt::QueuedConnection, Q_ARG(bool, hangUp));
    noteQueued(Running::Escape);
}

void MainWindow::showTermWritten(QByteArray data)
{
    printTermLine(Qt::darkRed, QString::fromLocal8Bit(data));
}

void MainWindow::on_termPpp_clicked()
{
    queueEscape(false);
}

void MainWindow::on_termAth_clicked()
{
    queueEscape(true);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Up and Down in the command field walk through the commands sent before;
    // Down past the newest gives an empty line again.
    if (watched == ui->termCmd && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up) {
            if (termHistoryPos > 0) {
                --termHistoryPos;
                ui->termCmd->setText(termHistory.at(termHistoryPos));
            }
            return true;
        }
        if (key == Qt::Key_Down) {
            if (termHistoryPos < termHistory.size()) {
                ++termHistoryPos;
                ui->termCmd->setText(termHistoryPos < termHistory.size()
                                             ? termHistory.at(termHistoryPos)
                                             : QString());
            }
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
