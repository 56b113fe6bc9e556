// The update tab: choosing a firmware container, showing what it is for, and
// starting the update with its progress shown on the tab.
#include "app/mainwindow.h"

#include "config/messages.h"
#include "firmware/firmwarecontainer.h"
#include "firmware/firmwarefit.h"
#include "firmware/transferprogress.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <memory>

namespace {
const QString firmwareFilter = QStringLiteral("*.kzbin");
}

bool MainWindow::firmwareFits() const
{
    // A modem without its application cannot tell its hardware: the user
    // confirms instead (on_updateButton_clicked).
    if (firmwareRecovery)
        return firmwareLoaded;
    return firmwareLoaded && FirmwareFit::fits(chosenFirmware.info, device.hardwareVersion);
}

void MainWindow::on_updateSelectBtn_clicked()
{
    // Off until a fitting container has been read; cancelling or a bad file
    // leaves it off (the next enabling of the controls follows firmwareFits()).
    ui->updateButton->setEnabled(false);
    const QString path = chooseOpenFile(firmwareFilter);
    if (path.isEmpty())
        return;
    // Read aside: a damaged file must not replace the container already chosen.
    FirmwareContainer read;
    QString error;
    if (!loadContainerFile(path, read, &error)) {
        showBox(QMessageBox::Critical, tr("Ошибка"), error);
        return;
    }
    chosenFirmware = read;
    firmwareLoaded = true;

    ui->updateFileField->setText(path);
    // The button belongs to the controls list: it may come on only while the
    // rest of the list is on (a modem connected, no operation running).
    const bool idle = firmwareRecovery || std::any_of(controls.cbegin(), controls.cend(), [this](QWidget *w) {
        return w != ui->updateButton && w->isEnabled();
    });
    ui->updateHardVersion->setText(FirmwareFit::hardwareText(read.info, device.hardwareVersion));
    if (firmwareFits())
        ui->updateButton->setEnabled(idle);
    ui->updateSoftVersion->setText(QString::number(read.info.softwareVersion));
    ui->updateModel->setText(read.info.model);
}

void MainWindow::on_updateButton_clicked()
{
    // Only the module answers, over its COM port: no Bluetooth, no checks.
    const bool recovery = firmwareRecovery;
    if (recovery) {
        const QString joined = chosenFirmware.info.hardwareVersions.join(QLatin1Char(','));
        const auto answer = askBox(
                QMessageBox::Question, tr("Обновление ПО"),
                tr("Модем без приложения не сообщает версию оборудования. Файл "
                               "предназначен для модели %1, версии оборудования %2. Обновить "
                               "ПО модема этим файлом?")
                        .arg(chosenFirmware.info.model, joined),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    } else if (!device.viaCom) {
        showBox(QMessageBox::Information, QString(),
                Messages::text(Messages::firmwareOverBluetooth));
        return;
    }
    if (!firmwareFits())
        return;

    setControlsEnabled(false);
    // No other container may be chosen until this update has ended.
    ui->updateSelectBtn->setEnabled(false);
    ui->updateProgress->setRange(0, 100);
    ui->updateProgress->setValue(0);
    ui->updateStep->clear();

    // The tab follows this update only; the connections end with it.
    auto links = std::make_shared<QList<QMetaObject::Connection>>();
    // The bar tells bytes of the total, the rate and the time left.
    auto progress = std::make_shared<TransferProgress>(TransferProgress::Bytes);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    ui->updateProgress->setFormat(QStringLiteral("%p%"));
    *links << connect(&worker, &KZConfigThread::progress, this, [this, progress](const QString &text) {
        ui->updateStep->setText(text);
        progress->setStep(text);
    });
    *links << connect(&worker, &KZConfigThread::progressValue, this,
                      [this, progress, clock](int value, int maximum) {
                          progress->update(value, maximum, clock->elapsed());
                          if (maximum <= 0)
                              return;
                          ui->updateProgress->setRange(0, maximum);
                          ui->updateProgress->setValue(value);
                          ui->updateProgress->setFormat(progress->details());
                      });
    *links << connect(&worker, &KZConfigThread::opCompleted, this,
                      [this, links](KZConfigThread::Operation op, bool ok, const QString &) {
                          if (op != KZConfigThread::OpFirmware)
                              return;
                          for (const QMetaObject::Connection &c : std::as_const(*links))
                              disconnect(c);
                          ui->updateSelectBtn->setEnabled(true);
                          ui->updateProgress->setRange(0, 100);
                          ui->updateProgress->setValue(ok ? 100 : 0);
                          ui->updateProgress->setFormat(QStringLiteral("%p%"));
                          ui->updateStep->setText(ok ? tr("Обновление ПО завершено")
                                                     : Messages::text(Messages::firmware));
                      });
    worker.handFirmware(chosenFirmware);
    QMetaObject::invokeMethod(&worker, recovery ? "applyFirmwareRecovery" : "applyFirmware",
                              Qt::QueuedConnection);
    noteQueued(Running::Firmware);
}
