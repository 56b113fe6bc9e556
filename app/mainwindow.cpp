#include "app/mainwindow.h"

#include "config/automode.h"
#include "config/linevalues.h"
#include "config/messages.h"
#include "device/inforeplies.h"
#include "device/portnames.h"
#include "device/workerclient.h"
#include "device/workerrunner.h"
#include "forms/profileforms.h"
#include "kzversion.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QFileDialog>
#include <QProgressBar>
#include <QThread>
#include <QTimer>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    KZConfigThread::registerMetaTypes();

    ui->setupUi(this);
    ui->tabWidget->setCurrentIndex(0);
    connect(&operations, &OperationQueue::closeNow, this, &QWidget::close);

    gprsForm = new GprsForm(this);
    ntripForm = new NtripForm(this);
    ddnsForm = new DdnsForm(this);

    setWindowTitle(QStringLiteral("KZ-Config v" KZ_VERSION));

    workerRunner = std::make_unique<WorkerRunner>(&worker);

    connect(&worker, &KZConfigThread::opCompleted, this, &MainWindow::kzOpCompleted);
    connect(&worker, &KZConfigThread::configCompleted, this, &MainWindow::kzConfigCompleted);
    connect(&worker, &KZConfigThread::requestCompleted, this, &MainWindow::kzRequestCompleted);
    connect(&worker, &KZConfigThread::progress, this, &MainWindow::kzProgress);
    connect(&worker, &KZConfigThread::reportComplete, this, &MainWindow::kzReportComplete);
    connect(&worker, &KZConfigThread::progressValue, this, &MainWindow::kzProgressValue);
    // What the modem sends while no operation runs goes to the terminal.
    connect(&worker, &KZSerialPort::rawRead, this, &MainWindow::readToTerm);
    connect(&worker, &KZSerialPort::portLost, this, &MainWindow::kzPortLost);

    connect(ui->btMode0, &QAbstractButton::toggled, this, &MainWindow::on_btMode2_toggled);
    connect(ui->btMode1, &QAbstractButton::toggled, this, &MainWindow::on_btMode2_toggled);
    for (QAbstractButton *b : { static_cast<QAbstractButton *>(ui->conModeBaseTcp),
                                static_cast<QAbstractButton *>(ui->conModeBaseNtripServer),
                                static_cast<QAbstractButton *>(ui->conModeBaseNtripCaster),
                                static_cast<QAbstractButton *>(ui->conModeRoverCsd),
                                static_cast<QAbstractButton *>(ui->conModeRoverTcp),
                                static_cast<QAbstractButton *>(ui->conModeRoverNtrip) })
        connect(b, &QAbstractButton::toggled, this, &MainWindow::on_conModeBaseCsd_toggled);

    connect(gprsForm, &GprsForm::currentRowChanged, this,
            &MainWindow::xon_gprsList_currentRowChanged);
    connect(gprsForm, &GprsForm::saveClicked, this, &MainWindow::xon_gprsProfileSave_clicked);
    connect(gprsForm, &GprsForm::deleteClicked, this, &MainWindow::xon_gprsDelete_clicked);
    connect(ntripForm, &NtripForm::currentRowChanged, this,
            &MainWindow::xon_ntripList_currentRowChanged);
    connect(ntripForm, &NtripForm::saveClicked, this, &MainWindow::xon_ntripProfileSave_clicked);
    connect(ntripForm, &NtripForm::deleteClicked, this, &MainWindow::xon_ntripDelete_clicked);

    // The choice lists, from the record's tables.
    ui->portBaud->clear();
    ui->comBaud->clear();
    for (int i = 0; i < KZTables::baudCount(); ++i) {
        const QString text = QString::number(KZTables::baudTable[i].baud);
        ui->portBaud->addItem(text, KZTables::baudTable[i].code);
        ui->comBaud->addItem(text, KZTables::baudTable[i].code);
    }
    ui->portBaud->setCurrentIndex(ui->portBaud->count() - 1);
    ui->portDataBits->clear();
    ui->portDataBits->addItem(QStringLiteral("8"), int(KZTables::Data8));
    ui->portDataBits->addItem(QStringLiteral("7"), int(KZTables::Data7));
    ui->comFraming->clear();
    for (int i = 0; i < KZTables::framingCount(); ++i)
        ui->comFraming->addItem(QString::fromLatin1(KZTables::framingTable[i].name), i);
    ui->portFlow->clear();
    ui->comFlow->clear();
    for (int i = 0; i < KZTables::flowCount(); ++i) {
        const QString name = QString::fromLatin1(KZTables::flowTable[i].name);
        ui->portFlow->addItem(name, KZTables::flowTable[i].value);
        ui->comFlow->addItem(name, KZTables::flowTable[i].value);
    }
    ui->portParity->clear();
    ui->portParity->addItem(QStringLiteral("N"), int(KZTables::ParNone));
    ui->portParity->addItem(QStringLiteral("E"), int(KZTables::ParEven));
    ui->portParity->addItem(QStringLiteral("O"), int(KZTables::ParOdd));
    ui->portStopBits->clear();
    ui->portStopBits->addItem(QStringLiteral("1"), int(KZTables::Stop1));
    ui->portStopBits->addItem(QStringLiteral("2"), int(KZTables::Stop2));

    // Enumerating the ports takes longer than drawing the window: it runs on
    // a thread of its own and the list is filled when it is done.
    portScan = QThread::create([this] {
        const QList<PortDescription> ports = availablePortDescriptions();
        QMetaObject::invokeMethod(this, [this, ports] { applyPortDescriptions(ports); },
                                  Qt::QueuedConnection);
    });
    portScan->start();

    controls = { ui->updateButton, ui->comBaud, ui->comFraming, ui->comFlow, ui->comSaveButton };
    controls += gprsForm->controls();
    controls += ntripForm->controls();
    controls += ddnsForm->controls();
    controls += {
        ui->btInq, ui->btInqList, ui->btMode0, ui->btMode1, ui->btMode2, ui->btMode2Mac,
        ui->btMode2Pin, ui->btSaveMode, ui->configSave, ui->configLoad, ui->configReset,
        ui->reportButton, ui->privilegedCode, ui->privilegedExecute, ui->conModeBaseCsd,
        ui->conModeBaseTcp, ui->conModeBaseNtripServer, ui->conModeBaseNtripCaster,
        ui->conModeRoverCsd, ui->conModeRoverTcp, ui->conModeRoverNtrip, ui->conAutostartCom,
        ui->conAutostartBT, ui->conRestart, ui->conSave, ui->conTerminalCheck,
    };

    btModeGroup.addButton(ui->btMode0, 0);
    btModeGroup.addButton(ui->btMode1, 1);
    btModeGroup.addButton(ui->btMode2, 2);
    conModeGroup.addButton(ui->conModeBaseCsd, 257);
    conModeGroup.addButton(ui->conModeBaseTcp, 525);
    conModeGroup.addButton(ui->conModeBaseNtripServer, 773);
    conModeGroup.addButton(ui->conModeBaseNtripCaster, 1037);
    conModeGroup.addButton(ui->conModeRoverCsd, 1282);
    conModeGroup.addButton(ui->conModeRoverTcp, 1542);
    conModeGroup.addButton(ui->conModeRoverNtrip, 1798);

    statusProgress = new QProgressBar(this);
    statusProgress->setMaximumWidth(160);
    statusProgress->setVisible(false);
    ui->statusBar->addPermanentWidget(statusProgress);

    ui->termCmd->installEventFilter(this);
    setupFieldControls();
    setUpTerminalTools();

    // The mode editor first: it enables its own widgets, and the
    // disconnected state must have the last word over the controls list.
    initOperatingMode();
    enterDisconnectedState();
}

MainWindow::~MainWindow()
{
    // Join the worker thread (it closes the port on its way out) before the
    // worker member goes.
    workerRunner.reset();
    portScan->wait();
    delete portScan;
    delete ui;
}

void MainWindow::fillPortNames()
{
    applyPortDescriptions(listPorts());
}

void MainWindow::applyPortNames(const QStringList &names)
{
    const QString typed = ui->portName->currentText();
    ui->portName->clear();
    ui->portName->addItems(names);
    // A port chosen or typed before stays visible even when it is not listed.
    if (!typed.isEmpty())
        selectPort(typed);
}

void MainWindow::selectPort(const QString &name)
{
    int i = ui->portName->findText(name);
    if (i < 0) {
        ui->portName->addItem(name);
        i = ui->portName->count() - 1;
    }
    ui->portName->setCurrentIndex(i);
}

void MainWindow::on_portRefresh_clicked()
{
    fillPortNames();
}

void MainWindow::setControlsEnabled(bool enabled)
{
    // Disconnect does not wait for a running operation; its late result must
    // not bring back controls that need a modem.
    if (enabled && !ui->disconnectBtn->isEnabled())
        enabled = false;
    for (QWidget *w : std::as_const(controls))
        w->setEnabled(enabled);
    if (enabled) {
        // The update stays off unless the loaded container fits the modem.
        ui->updateButton->setEnabled(firmwareFits());
        ui->btMode2Mac->setEnabled(ui->btMode2->isChecked());
        ui->btMode2Pin->setEnabled(ui->btMode2->isChecked());
    }
}

void MainWindow::emptyDialogs()
{
    gprsForm->setNames({}, QString());
    ntripForm->setNames({}, QString());
    gprsForm->clearFields();
    ntripForm->clearFields();
    ddnsForm->clearFields();
}

void MainWindow::enterDisconnectedState()
{
    ui->connectBtn->setEnabled(true);
    ui->disconnectBtn->setEnabled(false);
    for (QLabel *l : { ui->infoPartNo, ui->infoSerial, ui->infoSoftVersion, ui->infoBluetooth,
                       ui->infoBattery, ui->infoSim })
        l->setText(QStringLiteral("-"));
    setControlsEnabled(false);
    emptyDialogs();
    statusProgress->setVisible(false);
    firmwareRecovery = false;
    if (detectBtn)
        detectBtn->setEnabled(true);
}

void MainWindow::enterConnectedState()
{
    ui->connectBtn->setEnabled(false);
    ui->disconnectBtn->setEnabled(true);
    for (QLabel *l : { ui->infoPartNo, ui->infoSerial, ui->infoSoftVersion, ui->infoBluetooth,
                       ui->infoBattery, ui->infoSim })
        l->setText(QStringLiteral("?"));
    if (detectBtn)
        detectBtn->setEnabled(false); // the search opens ports itself
    setControlsEnabled(true);
    emptyDialogs();
}

void MainWindow::on_connectBtn_clicked()
{
    setControlsEnabled(false);
    const int flow = ui->portFlow->currentData().toInt();
    const int stop = ui->portStopBits->currentData().toInt();
    const int parity = ui->portParity->currentData().toInt();
    const int data = ui->portDataBits->currentData().toInt();
    const int baud = ui->portBaud->currentData().toInt();
    worker.setPortSettings(ui->portName->currentText().trimmed(), baud, data, parity, stop, flow);
    linkLost = false;
    QMetaObject::invokeMethod(&worker, ConnectChain::steps().first().slot, Qt::QueuedConnection);
    noteQueued(Running::Connect);
}

void MainWindow::on_disconnectBtn_clicked()
{
    // The port belongs to the worker thread: close it there.
    QMetaObject::invokeMethod(&worker, "doDisconnect", Qt::QueuedConnection);
    enterDisconnectedState();
}

void MainWindow::kzProgress(QString text)
{
    ui->statusBar->showMessage(text);
}

void MainWindow::kzProgressValue(int value, int maximum)
{
    if (maximum <= 0) {
        statusProgress->setVisible(false);
        return;
    }
    statusProgress->setRange(0, maximum);
    statusProgress->setValue(value);
    statusProgress->setVisible(true);
}

void MainWindow::showIdentity()
{
    const DeviceIdentity &id = device;
    ui->infoBattery->setText(id.batteryText());
    ui->infoBluetooth->setText(id.bluetoothText());
    ui->btGroupBox->setEnabled(id.hasBluetooth() && id.viaCom);

    ui->infoPartNo->setText(id.model);
    ui->infoSerial->setText(id.serialNumber);
    ui->infoSim->setText(id.operatorName);
    ui->infoSoftVersion->setText(id.softwareVersion);
}

void MainWindow::kzOpCompleted(KZConfigThread::Operation op, bool ok, QString errorDebug)
{
    operationEnded();
    if (op == KZConfigThread::OpInfo)
        device = worker.identity();
    if (ok) {
        // A window about to close starts nothing new.
        const bool chain = !operations.closePending();
        switch (op) {
        case KZConfigThread::OpConnect:
        case KZConfigThread::OpHandshake:
            if (chain) {
                QMetaObject::invokeMethod(&worker, ConnectChain::next(op), Qt::QueuedConnection);
                noteQueued(Running::Connect);
            }
            break;
        case KZConfigThread::OpInfo:
            if (!chain)
                break;
            enterConnectedState();
            showIdentity();
            QMetaObject::invokeMethod(&worker, "reqConfig", Qt::QueuedConnection,
                                      Q_ARG(int, KZConfig::ConfigAll));
            noteQueued(Running::Read);
            setControlsEnabled(true);
            break;
        case KZConfigThread::OpFirmware:
            if (recoveryFirmwareFinished(true))
                break;
            setControlsEnabled(true);
            break;
        case KZConfigThread::OpPrivileged:
            setControlsEnabled(true);
            break;
        case KZConfigThread::OpDetect:
            detectFinished(true);
            break;
        case KZConfigThread::OpStartApp:
            startAppFinished(true);
            break;
        case KZConfigThread::OpBluetoothInquiry:
            ui->btInqList->clear();
            for (const QString &line : std::as_const(worker.btInquiryList))
                ui->btInqList->addItem(InfoReplies::inquiryEntry(line));
            setControlsEnabled(true);
            break;
        }
        return;
    }

    qDebug() << errorDebug;
    const QString title = tr("Ошибка");
    const QString details = operationDetails(op, errorDebug);
    auto failConnection = [&](const QString &box, const QString &status,
                              const QString &reason = QString()) {
        showDetailedBox(QMessageBox::Critical, title, box, details, reason);
        ui->statusBar->showMessage(status);
        QMetaObject::invokeMethod(&worker, "doDisconnect", Qt::QueuedConnection);
        enterDisconnectedState();
    };
    switch (op) {
    case KZConfigThread::OpConnect:
        failConnection(Messages::text(Messages::openPort),
                       Messages::text(Messages::openPortStatus), worker.openFailure());
        break;
    case KZConfigThread::OpHandshake:
        failConnection(Messages::text(Messages::handshake),
                       Messages::text(Messages::handshakeStatus));
        break;
    case KZConfigThread::OpInfo:
        if (worker.applicationHalted && !operations.closePending()) {
            offerApplicationStart();
            break;
        }
        failConnection(Messages::text(Messages::info), Messages::text(Messages::infoStatus));
        break;
    case KZConfigThread::OpFirmware:
        showDetailedBox(QMessageBox::Critical, title, Messages::text(Messages::firmware), details);
        if (recoveryFirmwareFinished(false))
            break;
        setControlsEnabled(true);
        break;
    case KZConfigThread::OpDetect:
        detectFinished(false);
        break;
    case KZConfigThread::OpStartApp:
        startAppFinished(false);
        break;
    case KZConfigThread::OpPrivileged:
        setControlsEnabled(true);
        showDetailedBox(QMessageBox::Warning, title, Messages::text(Messages::privileged),
                        details);
        break;
    case KZConfigThread::OpBluetoothInquiry:
        showDetailedBox(QMessageBox::Warning, title, Messages::text(Messages::command), details);
        ui->statusBar->showMessage(Messages::text(Messages::commandStatus));
        setControlsEnabled(true);
        break;
    }
    // The operation's own words first, then why: the modem is gone.
    if (linkLost && op != KZConfigThread::OpConnect && op != KZConfigThread::OpHandshake
        && op != KZConfigThread::OpInfo)
        showLineLost();
}

void MainWindow::kzPortLost()
{
    qDebug() << QStringLiteral("kzPortLost");
    // The search opens ports of its own; one failing is its result, not a lost modem.
    if (runningOperation() == Running::Detect)
        return;
    linkLost = true;
    // A running operation fails at once now; its result tells the rest.
    if (ui->disconnectBtn->isEnabled() || !operations.isEmpty())
        showLineLost();
}

void MainWindow::showLineLost()
{
    QMetaObject::invokeMethod(&worker, "doDisconnect", Qt::QueuedConnection);
    enterDisconnectedState();
    ui->statusBar->showMessage(tr("Связь с модемом потеряна."));
}

QString MainWindow::groupNames(int flags)
{
    static const char *const names[] = { QT_TR_NOOP("скорость COM"),
                                         QT_TR_NOOP("формат кадра"),
                                         QT_TR_NOOP("контроль потока"),
                                         QT_TR_NOOP("профили GPRS"),
                                         QT_TR_NOOP("профили NTRIP"),
                                         QT_TR_NOOP("DynDNS"),
                                         QT_TR_NOOP("режим работы (автозапуск)"),
                                         QT_TR_NOOP("Bluetooth") };
    QStringList out;
    for (int i = 0; i < 8; ++i) {
        if (flags & (1 << i))
            out << tr(names[i]);
    }
    return out.join(QStringLiteral(", "));
}

QString MainWindow::lostWriteMessage(int requested, int written)
{
    written &= requested;
    const int notWritten = requested & ~written;
    QString text = tr("Связь с модемом потеряна во время записи.");
    if (written)
        text += tr(" Записано: %1.").arg(groupNames(written));
    else
        text += tr(" Ничего не записано.");
    if (notWritten)
        text += tr(" Не записано: %1.").arg(groupNames(notWritten));
    text += tr(" Подключитесь к модему заново и проверьте настройки.");
    return text;
}

bool MainWindow::isModeUnsaved() const
{
    const KZConfig record = worker.record();
    return AutoMode::unsaved(ui->conCommand->text(), ui->conAutostartBT->isChecked(),
                             ui->conAutostartCom->isChecked(), record.autoexecBt,
                             record.autoexecCom);
}

namespace {

// The question asked when the window is closed while `kind` runs.
QString closeQuestion(MainWindow::Running kind)
{
    switch (kind) {
    case MainWindow::Running::Connect:
        return QCoreApplication::translate(
                "MainWindow", "Идёт подключение к модему. Закрыть программу после его окончания?");
    case MainWindow::Running::Read:
        return QCoreApplication::translate(
                "MainWindow",
                "Идёт чтение настроек модема. Закрыть программу после его окончания?");
    case MainWindow::Running::Write:
        return QCoreApplication::translate(
                "MainWindow",
                "Идёт запись настроек в модем. Закрыть программу после её окончания?");
    case MainWindow::Running::BtInquiry:
        return QCoreApplication::translate(
                "MainWindow",
                "Идёт поиск устройств Bluetooth. Закрыть программу после его "
                "окончания?");
    case MainWindow::Running::Report:
        return QCoreApplication::translate(
                "MainWindow",
                "Идёт сбор данных для отчёта. Закрыть программу после его окончания?");
    case MainWindow::Running::Privileged:
        return QCoreApplication::translate(
                "MainWindow", "Идёт выполнение команды. Закрыть программу после его окончания?");
    case MainWindow::Running::Escape:
        return QCoreApplication::translate(
                "MainWindow",
                "Идёт выход модема из режима передачи данных. Закрыть программу "
                "после его окончания?");
    case MainWindow::Running::Firmware:
    case MainWindow::Running::Detect:
    case MainWindow::Running::None:
        break;
    }
    return QCoreApplication::translate(
            "MainWindow", "Идёт обмен с модемом. Закрыть программу после его окончания?");
}

} // namespace

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Never leave with the worker in the middle of an operation: a write
    // would leave a group half sent, an update a modem without its
    // application. The window waits for the end instead, with its event loop
    // running.
    if (operations.closePending()) {
        if (operations.isEmpty() && !QApplication::activeModalWidget())
            event->accept();
        else
            event->ignore();
        return;
    }
    if (!operations.isEmpty()) {
        event->ignore();
        if (operations.contains(Running::Firmware)) {
            showBox(QMessageBox::Warning, tr("Обновление ПО"),
                    tr("Идёт обновление ПО модема. Дождитесь его окончания: "
                       "прерванное обновление оставит модем без рабочего "
                       "приложения."));
            return;
        }
        const auto answer = askBox(QMessageBox::Question, tr("Операция не завершена"),
                                   closeQuestion(runningOperation()),
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        // The operation may have ended while the question was open.
        if (answer != QMessageBox::Yes)
            return;
        centralWidget()->setEnabled(false);
        ui->statusBar->showMessage(tr("Программа закроется после окончания операции."));
        operations.closeWhenIdle();
        return;
    }
    if (!worker.isPortOpen() || worker.busy) {
        event->accept();
        return;
    }
    if (isModeUnsaved()) {
        const auto answer = askBox(QMessageBox::Question, tr("Настройки не сохранены"),
                                   tr("Режим работы был изменён, но не сохранён. Выйти "
                                      "из программы?"),
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void MainWindow::on_privilegedExecute_clicked()
{
    const QString code = ui->privilegedCode->text();
    if (LineValues::breaksLine(code)) {
        showBox(QMessageBox::Warning, tr("Ошибка"),
                tr("Код содержит перевод строки или нулевой символ и не может быть "
                   "отправлен модему."));
        return;
    }
    setControlsEnabled(false);
    QMetaObject::invokeMethod(&worker, "privilegedExecute", Qt::QueuedConnection,
                              Q_ARG(QString, code));
    noteQueued(Running::Privileged);
}

bool MainWindow::valuesFitLine(const KZConfig &copy, int flags)
{
    const QList<LineValues::Offence> offences = LineValues::check(copy, flags);
    if (offences.isEmpty())
        return true;
    showBox(QMessageBox::Warning, tr("Ошибка"), LineValues::message(offences));
    return false;
}

void MainWindow::startWrite(const KZConfig &copy, int flags)
{
    setControlsEnabled(false);
    writeFlags = flags;
    QMetaObject::invokeMethod(&worker, "modConfig", Qt::QueuedConnection, Q_ARG(KZConfig, copy),
                              Q_ARG(int, flags));
    noteQueued(Running::Write);
}

QString MainWindow::chooseSaveFile(const QString &filter)
{
    return QFileDialog::getSaveFileName(this, QString(), QString(), filter);
}

QString MainWindow::chooseOpenFile(const QString &filter)
{
    return QFileDialog::getOpenFileName(this, QString(), QString(), filter);
}

void MainWindow::showBox(QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::showReasonBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                               const QString &reason)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.setInformativeText(reason);
    box.exec();
}

QMessageBox::StandardButton MainWindow::askBox(QMessageBox::Icon icon, const QString &title,
                                               const QString &text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, this);
    box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

int MainWindow::runDialog(QDialog *dialog)
{
    return dialog->exec();
}
