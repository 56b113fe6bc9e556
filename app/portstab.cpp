// Not built yet: filled in by its own change.
#include "app/mainwindow.h"

void MainWindow::on_comSaveButton_clicked() { }
void MainWindow::on_btSaveMode_clicked() { }
void MainWindow::on_btMode2_toggled(bool checked) { Q_UNUSED(checked); }
void MainWindow::on_btInq_clicked() { }
void MainWindow::on_btInqList_currentRowChanged(int row) { Q_UNUSED(row); }
