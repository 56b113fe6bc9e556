// Not built yet: filled in by its own change.
#include "app/mainwindow.h"

void MainWindow::on_updateSelectBtn_clicked() { }
void MainWindow::on_updateButton_clicked() { }
bool MainWindow::firmwareFits() const { return false; }
