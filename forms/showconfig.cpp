// Showing the configuration as the modem holds it: after every read the
// widgets of the groups read are refilled from the worker's record, and
// after every write the groups touched are read back.
#include "app/mainwindow.h"

#include "config/messages.h"
#include "device/exchangelog.h"
#include "device/groupresult.h"
#include "forms/profileforms.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QDebug>

namespace {

// Refills the boxes of a profile list with the names, in record order.
// Each box stays on the name it showed before, when that name is still
// there; otherwise it keeps what refilling gives it (its first item).
void refillBoxes(const QStringList &names, const QList<QComboBox *> &boxes)
{
    QStringList remembered;
    for (QComboBox *box : boxes)
        remembered << box->currentText();
    for (QComboBox *box : boxes)
        box->clear();
    for (int i = 0; i < names.size(); ++i) {
        for (int b = 0; b < boxes.size(); ++b) {
            boxes.at(b)->addItem(names.at(i));
            if (names.at(i) == remembered.at(b))
                boxes.at(b)->setCurrentIndex(i);
        }
    }
}

// The groups that failed, why each did, and the exchange of the operation
// behind them.
QString groupsDetails(const QString &operation, int flagsError,
                      const QMap<int, ErrorStack> &why)
{
    QString text = QStringLiteral("failed: %1").arg(MainWindow::groupNames(flagsError));
    const QString causes = KZConfigThread::formatGroupErrors(why);
    if (!causes.isEmpty())
        text += QLatin1Char('\n') + causes;
    return ExchangeLog::global().failureDetails(operation, text);
}

} // namespace

void MainWindow::kzRequestCompleted(int flagsOk, int flagsError)
{
    logGroupResult("kzRequestCompleted", flagsOk, flagsError, worker);
    operationEnded();
    if (linkLost) {
        // The line went during the read: what was read of the groups is
        // not shown, the window is disconnected.
        if (flagsError)
            showBox(QMessageBox::Warning, tr("Ошибка"),
                    Messages::text(Messages::readSettings));
        showLineLost();
        return;
    }
    const KZConfig &c = worker.record();

    if (flagsOk & KZConfig::ConfigBaudrate) {
        const int row = KZTables::baudIndexForCode(c.baudrate);
        if (row >= 0)
            ui->comBaud->setCurrentIndex(row);
    }
    if (flagsOk & KZConfig::ConfigFraming) {
        // An index outside the table leaves the box without a current row.
        ui->comFraming->setCurrentIndex(KZTables::validFramingIndex(c.framing) ? c.framing : -1);
    }
    if (flagsOk & KZConfig::ConfigFlow) {
        // Flow values 1 and 2 have no row: the box keeps its row.
        const int row = KZTables::flowIndexForValue(c.flow);
        if (row >= 0)
            ui->comFlow->setCurrentIndex(row);
    }

    if (flagsOk & KZConfig::ConfigGprs) {
        QStringList names;
        for (const GprsProfile &p : c.gprsProfiles)
            names << p.name;
        gprsForm->setNames(names, currentGprsName);
        refillBoxes(names, { ui->conRoverGprsSelect, ui->conBaseGprsSelect });
    }
    if (flagsOk & KZConfig::ConfigNtrip) {
        QStringList names;
        for (const NtripProfile &p : c.ntripProfiles)
            names << p.name;
        ntripForm->setNames(names, currentNtripName);
        refillBoxes(names, { ui->conRoverNtripSelect, ui->conBaseNtripServerSelect,
                             ui->conBaseNtripCasterSelect });
    }

    if (flagsOk & KZConfig::ConfigDyndns) {
        ddnsForm->setAccount(c.dyndnsDomain, c.dyndnsLogin, c.dyndnsPassword);
        ui->conBaseDyndnsEnabled->setChecked(!c.dyndnsDomain.isEmpty()
                                             && !c.dyndnsLogin.isEmpty()
                                             && !c.dyndnsPassword.isEmpty());
        ui->statusBar->showMessage(tr("Модем подключен, информация и настройки получены."));
    }

    // After the profile boxes, so that the names in the command are looked
    // up in the fresh lists.
    if (flagsOk & KZConfig::ConfigAutoexec)
        parseAutoexec();

    if (flagsOk & KZConfig::ConfigBluetooth) {
        ui->btMode2Mac->setText(c.btMac);
        ui->btMode2Pin->setText(c.btPin);
        // A mode without a button leaves the buttons as they are.
        if (QAbstractButton *b = btModeGroup.button(c.btMode))
            b->setChecked(true);
    }

    if (flagsError) {
        showDetailedBox(QMessageBox::Warning, tr("Ошибка"),
                        Messages::text(Messages::readSettings),
                        groupsDetails(QStringLiteral("reqConfig"), flagsError, worker.groupErrors()));
        ui->statusBar->showMessage(Messages::text(Messages::readSettingsStatus));
    }
}

void MainWindow::kzConfigCompleted(int flagsOk, int flagsError)
{
    logGroupResult("kzConfigCompleted", flagsOk, flagsError, worker);
    operationEnded();
    if (linkLost) {
        // Nothing can be read back over a dead line; the user learns which
        // groups the modem got before it went.
        showBox(QMessageBox::Warning, tr("Ошибка"),
                lostWriteMessage(writeFlags | flagsOk | flagsError, flagsOk));
        showLineLost();
        return;
    }
    setControlsEnabled(true);
    if (flagsError) {
        showDetailedBox(QMessageBox::Warning, tr("Ошибка"),
                        Messages::text(Messages::command),
                        groupsDetails(QStringLiteral("modConfig"), flagsError, worker.groupErrors()));
        ui->statusBar->showMessage(Messages::text(Messages::commandStatus));
    }
    // A window about to close reads nothing back.
    if (operations.closePending())
        return;
    // Every group the write touched is read again, failed ones included, so
    // the widgets show what the modem now holds.
    QMetaObject::invokeMethod(&worker, "reqConfig", Qt::QueuedConnection,
                              Q_ARG(int, flagsOk | flagsError));
    noteQueued(Running::Read);
}
