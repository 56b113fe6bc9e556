// Not built yet: filled in by its own change.
#include "app/mainwindow.h"

void MainWindow::on_configSave_clicked() { }
void MainWindow::on_configLoad_clicked() { }
void MainWindow::on_configReset_clicked() { }
