// The update tab: choosing a firmware container, showing what it is for, and
// starting the update with its progress shown on the tab.
#include "app/mainwindow.h"

#include "config/messages.h"
#include "firmware/firmwarecontainer.h"
#include "firmware/firmwarefit.h"
#include "ui_mainwindow.h"

#include <QFile>

#include <algorithm>
#include <memory>

namespace {
const QString firmwareFilter = QStringLiteral("*.kzbin");
}

bool MainWindow::firmwareFits() const
{
    return firmwareLoaded && FirmwareFit::fits(worker.firmware.info, worker.hardwareVersion);
}

void MainWindow::on_updateSelectBtn_clicked()
{
    // Off until a fitting container has been read; cancelling or a bad file
    // leaves it off (the next enabling of the controls follows firmwareFits()).
    ui->updateButton->setEnabled(false);
    const QString path = chooseOpenFile(firmwareFilter);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showBox(QMessageBox::Critical, QStringLiteral("Ошибка"),
                Messages::text(Messages::firmwareFile));
        return;
    }
    // Read aside: a damaged file must not replace the container already chosen.
    FirmwareContainer read;
    QString error;
    if (!readContainer(&file, read, &error)) {
        showBox(QMessageBox::Critical, QStringLiteral("Ошибка"), error);
        return;
    }
    worker.firmware = read;
    firmwareLoaded = true;

    ui->updateFileField->setText(path);
    // The button belongs to the controls list: it may come on only while the
    // rest of the list is on (a modem connected, no operation running).
    const bool idle = std::any_of(controls.cbegin(), controls.cend(), [this](QWidget *w) {
        return w != ui->updateButton && w->isEnabled();
    });
    ui->updateHardVersion->setText(FirmwareFit::hardwareText(read.info, worker.hardwareVersion));
    if (firmwareFits())
        ui->updateButton->setEnabled(idle);
    ui->updateSoftVersion->setText(QString::number(read.info.softwareVersion));
    ui->updateModel->setText(read.info.model);
}

void MainWindow::on_updateButton_clicked()
{
    if (!worker.viaCom) {
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
    *links << connect(&worker, &KZConfigThread::progress, this,
                      [this](const QString &text) { ui->updateStep->setText(text); });
    *links << connect(&worker, &KZConfigThread::progressValue, this, [this](int value, int maximum) {
        if (maximum <= 0)
            return;
        ui->updateProgress->setRange(0, maximum);
        ui->updateProgress->setValue(value);
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
                          ui->updateStep->setText(ok ? QStringLiteral("Обновление ПО завершено")
                                                     : Messages::text(Messages::firmware));
                      });
    QMetaObject::invokeMethod(&worker, "applyFirmware", Qt::QueuedConnection);
    noteQueued(Running::Firmware);
}
