// Not built yet: filled in by its own change.
#include "app/mainwindow.h"

void MainWindow::kzRequestCompleted(int flagsOk, int flagsError) { Q_UNUSED(flagsOk); Q_UNUSED(flagsError); }
void MainWindow::kzConfigCompleted(int flagsOk, int flagsError) { Q_UNUSED(flagsOk); Q_UNUSED(flagsError); }
