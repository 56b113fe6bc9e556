// Connecting in the field: the port list with what each port is, the search
// for the modem and its speed, and a modem whose application an interrupted
// update left halted.
#include "app/mainwindow.h"

#include "device/appstate.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

namespace {

// Lists the ports again each time the port list is about to open.
class PopupWatcher : public QObject
{
public:
    PopupWatcher(QObject *parent, std::function<void()> opening)
        : QObject(parent), m_opening(std::move(opening))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            m_opening();
        else if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_F4
                || (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier)))
                m_opening();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_opening;
};

// Looked up when used: the translation is installed after start-up.
const char *const DetectText = QT_TRANSLATE_NOOP("MainWindow", "Найти модем");
const char *const StopText = QT_TRANSLATE_NOOP("MainWindow", "Остановить поиск");

} // namespace

void MainWindow::setupFieldControls()
{
    detectBtn = new QPushButton(tr(DetectText), this);
    detectBtn->setObjectName(QStringLiteral("detectBtn"));
    detectBtn->setToolTip(tr("Найти порт и скорость модема"));
    ui->portNameLayout->addWidget(detectBtn);
    connect(detectBtn, &QPushButton::clicked, this, &MainWindow::startOrStopDetect);
    ui->portName->installEventFilter(new PopupWatcher(this, [this] { fillPortNames(); }));
}

QList<PortDescription> MainWindow::listPorts()
{
    return availablePortDescriptions();
}

void MainWindow::applyPortDescriptions(const QList<PortDescription> &ports)
{
    QStringList names;
    for (const PortDescription &p : ports)
        names << p.name;
    applyPortNames(names);
    // The item's text stays the name, the value used; the rest is its tooltip.
    for (const PortDescription &p : ports) {
        const int i = ui->portName->findText(p.name);
        if (i >= 0)
            ui->portName->setItemData(i, portDetails(p), Qt::ToolTipRole);
    }
}

void MainWindow::startOrStopDetect()
{
    if (runningOperation() == Running::Detect) {
        worker.detectStop = true; // the worker ends after the probe under way
        detectBtn->setEnabled(false);
        return;
    }
    if (!operations.isEmpty() || ui->disconnectBtn->isEnabled())
        return; // only while disconnected and idle
    ui->connectBtn->setEnabled(false);
    detectBtn->setText(tr(StopText));
    // An empty list: every listed port. A typed port is searched first.
    QStringList ports;
    for (int i = 0; i < ui->portName->count(); ++i)
        ports << ui->portName->itemText(i);
    const QString typed = ui->portName->currentText().trimmed();
    if (!typed.isEmpty()) {
        ports.removeAll(typed);
        ports.prepend(typed);
    }
    QMetaObject::invokeMethod(&worker, "detect", Qt::QueuedConnection, Q_ARG(QStringList, ports));
    noteQueued(Running::Detect);
}

void MainWindow::detectFinished(bool ok)
{
    detectBtn->setText(tr(DetectText));
    detectBtn->setEnabled(true);
    ui->connectBtn->setEnabled(!ui->disconnectBtn->isEnabled());
    const QList<DetectResult> results = worker.detectResults;
    for (const DetectResult &r : results) {
        if (!r.found())
            continue;
        selectPort(r.port);
        const int i = ui->portBaud->findText(QString::number(r.baud));
        if (i >= 0)
            ui->portBaud->setCurrentIndex(i);
        ui->statusBar->showMessage(
                tr("Модем найден: %1, %2 бит/с%3")
                        .arg(r.port)
                        .arg(r.baud)
                        .arg(r.model.isEmpty() ? QString() : QStringLiteral(", ") + r.model));
        return;
    }
    Q_UNUSED(ok);
    QStringList lines;
    for (const DetectResult &r : results)
        lines << r.port + QStringLiteral(": ") + r.error;
    if (lines.isEmpty())
        lines << tr("Последовательные порты не найдены.");
    showReasonBox(QMessageBox::Warning, tr("Ошибка"), tr("Модем не найден."),
                  lines.join(QLatin1Char('\n')));
    ui->statusBar->showMessage(tr("Модем не найден."));
}

void MainWindow::offerApplicationStart()
{
    ui->statusBar->showMessage(AppState::haltedMessage());
    const int choice = choiceBox(QMessageBox::Warning, tr("Ошибка"), AppState::haltedMessage(),
                                 { tr("Запустить приложение"), tr("Обновить ПО"), tr("Отмена") });
    if (choice == 0) {
        QMetaObject::invokeMethod(&worker, "startApplication", Qt::QueuedConnection);
        noteQueued(Running::Connect);
        return;
    }
    if (choice == 1) {
        enterRecoveryState();
        return;
    }
    QMetaObject::invokeMethod(&worker, "doDisconnect", Qt::QueuedConnection);
    enterDisconnectedState();
}

void MainWindow::startAppFinished(bool ok)
{
    if (ok) {
        // The connection goes on as usual: handshake, then the identity.
        QMetaObject::invokeMethod(&worker, "handshake", Qt::QueuedConnection);
        noteQueued(Running::Connect);
        return;
    }
    showBox(QMessageBox::Critical, tr("Ошибка"), tr("Не удалось запустить приложение модема."));
    ui->statusBar->showMessage(tr("Не удалось запустить приложение модема."));
    QMetaObject::invokeMethod(&worker, "doDisconnect", Qt::QueuedConnection);
    enterDisconnectedState();
}

void MainWindow::enterRecoveryState()
{
    // The port stays open for the update; Disconnect leaves this state.
    firmwareRecovery = true;
    ui->connectBtn->setEnabled(false);
    ui->disconnectBtn->setEnabled(true);
    setControlsEnabled(false);
    ui->updateButton->setEnabled(firmwareLoaded);
    ui->updateSelectBtn->setEnabled(true);
    ui->tabWidget->setCurrentWidget(ui->tab_3);
    ui->statusBar->showMessage(tr("Выберите файл с обновлением и нажмите «Обновить»."));
}

bool MainWindow::recoveryFirmwareFinished(bool ok)
{
    if (!firmwareRecovery)
        return false;
    if (!ok) {
        // The modem is as it was: the user may try again or disconnect.
        enterRecoveryState();
        return true;
    }
    firmwareRecovery = false;
    QMetaObject::invokeMethod(&worker, "reqInfo", Qt::QueuedConnection);
    noteQueued(Running::Connect);
    return true;
}

int MainWindow::choiceBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                          const QStringList &choices)
{
    QMessageBox box(icon, title, text, QMessageBox::NoButton, this);
    QList<QAbstractButton *> buttons;
    for (int i = 0; i < choices.size(); ++i)
        buttons << box.addButton(choices.at(i), i + 1 == choices.size() ? QMessageBox::RejectRole
                                                                        : QMessageBox::AcceptRole);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}
