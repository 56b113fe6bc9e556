// Not built yet: filled in by its own change.
#include "app/mainwindow.h"

void MainWindow::readToTerm(QByteArray data) { Q_UNUSED(data); }
void MainWindow::printTermLine(Qt::GlobalColor color, QString text) { Q_UNUSED(color); Q_UNUSED(text); }
bool MainWindow::eventFilter(QObject *watched, QEvent *event) { return QMainWindow::eventFilter(watched, event); }
void MainWindow::on_termSend_clicked() { }
void MainWindow::on_termCmd_returnPressed() { }
void MainWindow::on_termAth_clicked() { }
void MainWindow::on_termPpp_clicked() { }
bool MainWindow::terminalUsable() const { return false; }
