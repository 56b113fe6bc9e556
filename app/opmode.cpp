// Not built yet: filled in by its own change.
#include "app/mainwindow.h"

void MainWindow::on_conModeBaseCsd_toggled(bool checked) { Q_UNUSED(checked); }
void MainWindow::on_conSave_clicked() { }
void MainWindow::on_conTerminalCheck_clicked() { }
void MainWindow::on_conAutostartCom_toggled(bool checked) { Q_UNUSED(checked); }
void MainWindow::on_conAutostartBT_toggled(bool checked) { Q_UNUSED(checked); }
void MainWindow::on_conBaseNtripServerSelect_currentIndexChanged(int index) { Q_UNUSED(index); }
void MainWindow::on_conBaseNtripCasterSelect_currentIndexChanged(int index) { Q_UNUSED(index); }
void MainWindow::on_conRoverNtripSelect_currentIndexChanged(int index) { Q_UNUSED(index); }
void MainWindow::rebuildCommand() { }
void MainWindow::applyModeSwitch(int id) { Q_UNUSED(id); }
void MainWindow::parseAutoexec() { }
void MainWindow::showNtripSummary(int selector, int index) { Q_UNUSED(selector); Q_UNUSED(index); }
