// Not built yet: filled in by its own change.
#include "app/mainwindow.h"

void MainWindow::on_conRoverGprsEdit_clicked() { }
void MainWindow::on_conBaseGprsEdit_clicked() { }
void MainWindow::on_conRoverNtripEdit_clicked() { }
void MainWindow::on_conBaseNtripCasterEdit_clicked() { }
void MainWindow::on_conBaseNtripServerEdit_clicked() { }
void MainWindow::on_conBaseDyndnsEdit_clicked() { }
void MainWindow::xon_gprsList_currentRowChanged(int row) { Q_UNUSED(row); }
void MainWindow::xon_gprsProfileSave_clicked() { }
void MainWindow::xon_gprsDelete_clicked() { }
void MainWindow::xon_ntripList_currentRowChanged(int row) { Q_UNUSED(row); }
void MainWindow::xon_ntripProfileSave_clicked() { }
void MainWindow::xon_ntripDelete_clicked() { }
void MainWindow::xon_dyndnsSave_clicked() { }
