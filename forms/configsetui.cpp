// The set-file buttons: save what the window shows to a file, write a file's
// set to the modem, and write the default configuration.
#include "app/mainwindow.h"

#include "forms/configset.h"
#include "forms/profileforms.h"
#include "ui_mainwindow.h"

namespace {
const QString setFilter = QStringLiteral("*.kzini");
}

void MainWindow::on_configSave_clicked()
{
    const QString path = chooseSaveFile(setFilter);
    if (path.isEmpty())
        return;

    // Profiles and autostart commands as last read; serial, DynDNS and
    // Bluetooth as the window shows them.
    ConfigSet::Data d =
            ConfigSet::fromConfig(worker.record(), device.model, device.softwareVersion);
    // A box without a current row keeps the record's row, so that the file
    // stays loadable.
    if (ui->comBaud->currentIndex() >= 0)
        d.baudRow = ui->comBaud->currentIndex();
    if (ui->comFraming->currentIndex() >= 0)
        d.framing = ui->comFraming->currentIndex();
    else if (!KZTables::validFramingIndex(d.framing))
        d.framing = 0;
    if (ui->comFlow->currentIndex() >= 0)
        d.flowRow = ui->comFlow->currentIndex();

    d.dyndnsLogin = ddnsForm->login();
    d.dyndnsPassword = ddnsForm->password();
    d.dyndnsDomain = ddnsForm->domain();

    // No button checked: the mode the modem reported, since a file with
    // mode -1 would be refused on loading.
    const int checked = btModeGroup.checkedId();
    if (checked >= 0)
        d.btMode = checked;
    else if (d.btMode < 0 || d.btMode > 2)
        d.btMode = 0;
    d.btMac = ui->btMode2Mac->text();
    d.btPin = ui->btMode2Pin->text();

    QString error;
    if (!ConfigSet::save(path, d, &error)) {
        showBox(QMessageBox::Warning, tr("Ошибка"), error);
        ui->statusBar->showMessage(tr("Не удалось сохранить набор настроек."));
    }
}

void MainWindow::on_configLoad_clicked()
{
    const QString path = chooseOpenFile(setFilter);
    if (path.isEmpty())
        return;

    ConfigSet::Loaded loaded;
    QString error;
    if (!ConfigSet::load(path, &loaded, &error)) {
        showBox(QMessageBox::Warning, tr("Ошибка"), error);
        ui->statusBar->showMessage(tr("Не удалось загрузить набор настроек."));
        return;
    }

    if (!ConfigSet::versionMatches(loaded, device.model, device.softwareVersion)) {
        const auto answer =
                askBox(QMessageBox::Warning, tr("Ошибка"),
                       ConfigSet::versionQuestion(loaded.partno, loaded.softversion,
                                                  device.model, device.softwareVersion),
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }

    // Every member comes from the file; nothing of the record is kept.
    const KZConfig &copy = loaded.config;
    if (!valuesFitLine(copy, KZConfig::ConfigAll))
        return;
    // A group the file lacks would be written as its defaults: profiles
    // deleted, the autostart commands cleared.
    if (!ConfigSet::complete(loaded, &error)) {
        showBox(QMessageBox::Warning, tr("Ошибка"), error);
        ui->statusBar->showMessage(tr("Не удалось загрузить набор настроек."));
        return;
    }
    startWrite(copy, KZConfig::ConfigAll);
}

void MainWindow::on_configReset_clicked()
{
    const KZConfig defaults;
    startWrite(defaults, KZConfig::ConfigAll);
}
