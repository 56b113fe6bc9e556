// The "Порты" tab: the modem's own serial settings and its Bluetooth mode,
// with a search for Bluetooth partners. Saving writes a copy of the record
// as last read with only the edited members changed.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

void MainWindow::on_comSaveButton_clicked()
{
    KZConfig copy = worker.record();
    // A box without a row keeps the value the modem has.
    const int baud = ui->comBaud->currentIndex();
    if (KZTables::validBaudIndex(baud))
        copy.baudrate = KZTables::baudTable[baud].code;
    const int framing = ui->comFraming->currentIndex();
    if (KZTables::validFramingIndex(framing))
        copy.framing = framing;
    const int flow = ui->comFlow->currentIndex();
    if (KZTables::validFlowIndex(flow))
        copy.flow = KZTables::flowTable[flow].value;

    if (!valuesFitLine(copy, KZConfig::ConfigCom))
        return;
    startWrite(copy, KZConfig::ConfigCom);
}

void MainWindow::on_btSaveMode_clicked()
{
    KZConfig copy = worker.record();
    if (btModeGroup.checkedId() >= 0)
        copy.btMode = btModeGroup.checkedId();
    // The partner's fields are kept whatever the mode; only mode 2 sends them.
    copy.btMac = ui->btMode2Mac->text();
    copy.btPin = ui->btMode2Pin->text();

    if (!valuesFitLine(copy, KZConfig::ConfigBluetooth))
        return;
    startWrite(copy, KZConfig::ConfigBluetooth);
}

void MainWindow::on_btMode2_toggled(bool checked)
{
    Q_UNUSED(checked); // the sender may be any of the three buttons
    const bool partner = ui->btMode2->isChecked();
    ui->btMode2Mac->setEnabled(partner);
    ui->btMode2Pin->setEnabled(partner);
}

void MainWindow::on_btInq_clicked()
{
    setControlsEnabled(false);
    QMetaObject::invokeMethod(&worker, "bluetoothInquiry", Qt::QueuedConnection);
    noteQueued(Running::BtInquiry);
}

void MainWindow::on_btInqList_currentRowChanged(int row)
{
    // After a failed search the list may show more rows than the worker holds.
    if (row < 0 || row >= worker.btInquiryList.size())
        return;
    ui->btMode2Mac->setText(worker.btInquiryList.at(row).split(QLatin1Char(',')).value(0));
}
