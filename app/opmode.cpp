// The operating-mode tab: the autostart command edited through controls.
// The command's grammar lives in AutoMode; this file only maps controls to
// its values and back.
#include "app/mainwindow.h"

#include "config/automode.h"
#include "ui_mainwindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>

namespace {

// The controls' current values, selectors as their current text.
AutoMode::Values valuesOf(const Ui::MainWindow *ui, int mode)
{
    AutoMode::Values v;
    v.mode = mode;
    v.restart = ui->conRestart->isChecked();
    v.baseGprs = ui->conBaseGprsSelect->currentText();
    v.roverGprs = ui->conRoverGprsSelect->currentText();
    v.baseTcpPort = ui->conBaseTcpPort->text();
    v.roverCsdNumber = ui->conRoverCsdNumber->text();
    v.roverTcpAddress = ui->conRoverTcpAddress->text();
    v.roverTcpPort = ui->conRoverTcpPort->text();
    v.baseNtripServer = ui->conBaseNtripServerSelect->currentText();
    v.baseNtripCaster = ui->conBaseNtripCasterSelect->currentText();
    v.roverNtrip = ui->conRoverNtripSelect->currentText();
    return v;
}

void enableForMode(Ui::MainWindow *ui, int mode)
{
    const AutoMode::Enables e = AutoMode::enables(mode);
    auto set = [](bool on, std::initializer_list<QWidget *> widgets) {
        for (QWidget *w : widgets)
            w->setEnabled(on);
    };
    set(e.baseDyndns, { ui->conBaseDyndnsEnabled, ui->conBaseDyndnsEdit });
    set(e.baseGprs, { ui->conBaseGprsSelect, ui->conBaseGprsEdit });
    set(e.baseNtripCaster, { ui->conBaseNtripCasterSelect, ui->conBaseNtripCasterEdit,
                             ui->conBaseNtripCasterUrl, ui->conBaseNtripCasterAuth });
    set(e.baseNtripServer, { ui->conBaseNtripServerSelect, ui->conBaseNtripServerEdit,
                             ui->conBaseNtripServerUrl, ui->conBaseNtripServerAuth });
    set(e.baseTcpPort, { ui->conBaseTcpPort });
    set(e.roverCsdNumber, { ui->conRoverCsdNumber });
    set(e.roverGprs, { ui->conRoverGprsSelect, ui->conRoverGprsEdit });
    set(e.roverNtrip, { ui->conRoverNtripSelect, ui->conRoverNtripEdit, ui->conRoverNtripUrl,
                        ui->conRoverNtripAuth });
    set(e.roverTcp, { ui->conRoverTcpAddress, ui->conRoverTcpPort });
}

// Selects the item of that name, or no item when there is none.
void selectByName(QComboBox *box, const QString &name)
{
    box->setCurrentIndex(box->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

QStringList itemsOf(const QComboBox *box)
{
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->itemText(i);
    return names;
}

// Sets the controls a read command decides (p says which) to the values
// AutoMode::apply made of them, in the order the mode's controls expect.
void showValues(Ui::MainWindow *ui, QButtonGroup &modes, const AutoMode::Values &before,
                const AutoMode::Values &v, const AutoMode::Parsed &p)
{
    if (QAbstractButton *b = modes.button(v.mode))
        b->setChecked(true);
    auto setText = [](QLineEdit *e, const QString &was, const QString &now) {
        if (now != was)
            e->setText(now);
    };
    setText(ui->conRoverTcpAddress, before.roverTcpAddress, v.roverTcpAddress);
    setText(ui->conRoverTcpPort, before.roverTcpPort, v.roverTcpPort);
    setText(ui->conBaseTcpPort, before.baseTcpPort, v.baseTcpPort);
    setText(ui->conRoverCsdNumber, before.roverCsdNumber, v.roverCsdNumber);
    const bool base = v.mode & AutoMode::Base;
    if (p.gprsRead)
        selectByName(base ? ui->conBaseGprsSelect : ui->conRoverGprsSelect,
                     base ? v.baseGprs : v.roverGprs);
    if (p.ntripRead) {
        if (base) {
            selectByName(ui->conBaseNtripCasterSelect, v.baseNtripCaster);
            selectByName(ui->conBaseNtripServerSelect, v.baseNtripServer);
        } else {
            selectByName(ui->conRoverNtripSelect, v.roverNtrip);
        }
    }
    if (p.reconnectRead)
        ui->conRestart->setChecked(v.restart);
}

} // namespace

void MainWindow::initOperatingMode()
{
    // Every value that appears in the command rebuilds it when it changes.
    for (QLineEdit *e : { ui->conBaseTcpPort, ui->conRoverCsdNumber, ui->conRoverTcpAddress,
                          ui->conRoverTcpPort })
        connect(e, &QLineEdit::textChanged, this, &MainWindow::rebuildCommand);
    for (QComboBox *c : { ui->conBaseGprsSelect, ui->conRoverGprsSelect })
        connect(c, &QComboBox::currentIndexChanged, this, &MainWindow::rebuildCommand);
    connect(ui->conRestart, &QAbstractButton::toggled, this, &MainWindow::rebuildCommand);

    // The initial mode's fields; the command stays empty until something is
    // read or changed, and conRestart stays off with the controls list.
    enableForMode(ui, conModeGroup.checkedId());
}

void MainWindow::rebuildCommand()
{
    ui->conCommand->setText(AutoMode::build(valuesOf(ui, conModeGroup.checkedId())));
}

void MainWindow::applyModeSwitch(int id)
{
    enableForMode(ui, id);
    // conRestart is one of the controls list as well: it stays off while the
    // list is (the mode buttons are in it too).
    const QAbstractButton *mode = conModeGroup.button(id);
    ui->conRestart->setEnabled(AutoMode::enables(id).restart && mode && mode->isEnabled());
    rebuildCommand();
}

void MainWindow::on_conModeBaseCsd_toggled(bool checked)
{
    // Only the button that became checked counts; its partner's unchecking
    // comes as a separate toggle.
    if (!checked)
        return;
    auto *button = qobject_cast<QAbstractButton *>(sender());
    const int id = button ? conModeGroup.id(button) : conModeGroup.checkedId();
    applyModeSwitch(id);
}

void MainWindow::on_conAutostartCom_toggled(bool checked)
{
    if (checked)
        ui->conAutostartBT->setChecked(false);
}

void MainWindow::on_conAutostartBT_toggled(bool checked)
{
    if (checked)
        ui->conAutostartCom->setChecked(false);
}

void MainWindow::showNtripSummary(int selector, int index)
{
    const QList<NtripProfile> list = worker.record().ntripProfiles;
    if (index < 0 || index >= list.size())
        return;
    const NtripProfile &p = list.at(index);
    const QString clientAuth = QStringLiteral("%1:%2").arg(p.clientLogin, p.clientPassword);
    switch (selector) {
    case AutoMode::BaseNtripServer:
        ui->conBaseNtripServerUrl->setText(
                QStringLiteral("%1:%2/%3").arg(p.address, p.port, p.mountpoint));
        ui->conBaseNtripServerAuth->setText(p.serverPassword);
        break;
    case AutoMode::BaseNtripCaster:
        ui->conBaseNtripCasterUrl->setText(QStringLiteral(":%1/%2").arg(p.port, p.mountpoint));
        ui->conBaseNtripCasterAuth->setText(clientAuth);
        break;
    case AutoMode::RoverNtrip:
        ui->conRoverNtripUrl->setText(
                QStringLiteral("%1:%2/%3").arg(p.address, p.port, p.mountpoint));
        ui->conRoverNtripAuth->setText(clientAuth);
        break;
    }
}

void MainWindow::on_conBaseNtripServerSelect_currentIndexChanged(int index)
{
    rebuildCommand();
    showNtripSummary(AutoMode::BaseNtripServer, index);
}

void MainWindow::on_conBaseNtripCasterSelect_currentIndexChanged(int index)
{
    rebuildCommand();
    showNtripSummary(AutoMode::BaseNtripCaster, index);
}

void MainWindow::on_conRoverNtripSelect_currentIndexChanged(int index)
{
    rebuildCommand();
    showNtripSummary(AutoMode::RoverNtrip, index);
}

void MainWindow::parseAutoexec()
{
    const KZConfig record = worker.record();
    const AutoMode::Autostart start = AutoMode::autostart(record.autoexecBt, record.autoexecCom);
    ui->conAutostartBT->setChecked(start.channel == AutoMode::Channel::Bt);
    ui->conAutostartCom->setChecked(start.channel == AutoMode::Channel::Com);

    const AutoMode::Parsed p = AutoMode::parse(start.command);
    if (p.recognised) {
        const AutoMode::Values before = valuesOf(ui, conModeGroup.checkedId());
        AutoMode::Values v = before;
        const bool base = p.mode & AutoMode::Base;
        AutoMode::apply(p, &v, itemsOf(base ? ui->conBaseGprsSelect : ui->conRoverGprsSelect),
                        itemsOf(base ? ui->conBaseNtripCasterSelect : ui->conRoverNtripSelect));
        showValues(ui, conModeGroup, before, v, p);
    }
    // Whatever was read, the command shown is the one the controls now make.
    applyModeSwitch(conModeGroup.checkedId());
}

void MainWindow::on_conSave_clicked()
{
    KZConfig copy = worker.record();
    const QString command = ui->conCommand->text();
    copy.autoexecBt = ui->conAutostartBT->isChecked() ? command : QString();
    copy.autoexecCom = ui->conAutostartCom->isChecked() ? command : QString();
    if (!ui->conBaseDyndnsEnabled->isChecked()) {
        copy.dyndnsLogin.clear();
        copy.dyndnsPassword.clear();
        copy.dyndnsDomain.clear();
    }
    const int flags = KZConfig::ConfigDyndns | KZConfig::ConfigAutoexec;
    if (!valuesFitLine(copy, flags))
        return;
    startWrite(copy, flags);

    // Without autostart the modem powers up as a rover; a base set up here
    // would only run once the command is typed by hand.
    if (!ui->conAutostartBT->isChecked() && !ui->conAutostartCom->isChecked()
        && AutoMode::isMode(conModeGroup.checkedId()) && (conModeGroup.checkedId() & AutoMode::Base))
        showBox(QMessageBox::Warning, tr("Внимание"),
                tr("Выбран режим базы без автозапуска. Модем при включении будет "
                   "работать в режиме ровера до введения указанной AT-команды."));
}

void MainWindow::on_conTerminalCheck_clicked()
{
    ui->tabWidget->setCurrentIndex(ui->tabWidget->count() - 1);
    ui->termCmd->setText(ui->conCommand->text());
    ui->termSend->click();
}
