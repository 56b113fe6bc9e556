#pragma once

#include "app/operationqueue.h"
#include "device/kzconfigthread.h"
#include "device/portnames.h"

#include <QButtonGroup>
#include <QList>
#include <QMainWindow>
#include <QMessageBox>
#include <QStringList>

#include <memory>

namespace Ui {
class MainWindow;
}
class GprsForm;
class NtripForm;
class DdnsForm;
class QComboBox;
class QDialog;
class QProgressBar;
class QPushButton;
class QThread;
class WorkerRunner;
class TerminalView;
class ExchangeLogWindow;

// The single window of the tool. Its slots are spread over several source
// files by area: the frame and connecting (mainwindow.cpp), the terminal
// (terminal.cpp), the operating mode (opmode.cpp), the ports tab
// (portstab.cpp), showing the configuration (forms/showconfig.cpp), the
// profile dialogs (forms/profiles.cpp), set files (forms/configsetui.cpp),
// the report (config/reportui.cpp) and the firmware update
// (firmware/updatetab.cpp).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The port chosen at start (first command-line argument); may be a path
    // the port enumerator does not list.
    void selectPort(const QString &name);

    // For tests: the widgets and the worker.
    Ui::MainWindow *form() const { return ui; }
    KZConfigThread *kz() { return &worker; }
    GprsForm *gprsDialog() const { return gprsForm; }
    NtripForm *ntripDialog() const { return ntripForm; }
    DdnsForm *ddnsDialog() const { return ddnsForm; }
    const QList<QWidget *> &controlsList() const { return controls; }
    // The identity as the last device-information read left it, and the
    // container chosen for the update.
    DeviceIdentity &identityShown() { return device; }
    const FirmwareContainer &chosenContainer() const { return chosenFirmware; }
    QButtonGroup *conModeButtons() { return &conModeGroup; }
    QButtonGroup *btModeButtons() { return &btModeGroup; }

    // The operating mode shown differs from what the modem holds.
    bool isModeUnsaved() const;

    // What the window has asked of the worker and not yet seen end.
    using Running = OperationQueue::Running;
    Running runningOperation() const { return operations.current(); }
    // Closing was asked for while an operation ran: the window closes when it ends.
    bool closePending() const { return operations.closePending(); }
    // The configuration groups named for the user, in group order.
    static QString groupNames(int flags);
    // What the user is told when the line went during a write of `requested`.
    static QString lostWriteMessage(int requested, int written);

public slots:
    void kzOpCompleted(KZConfigThread::Operation op, bool ok, QString errorDebug);
    void kzReportComplete(QString report);
    void kzRequestCompleted(int flagsOk, int flagsError);
    void kzConfigCompleted(int flagsOk, int flagsError);
    void kzProgress(QString text);
    void kzProgressValue(int value, int maximum);

    // Terminal: bytes the modem sends while no operation runs.
    void readToTerm(QByteArray data);
    void printTermLine(Qt::GlobalColor color, QString text);

    // The link closed a port that failed (unplugged, line lost).
    void kzPortLost();

public:
    TerminalView *terminal() const { return terminalView; }
    ExchangeLogWindow *exchangeLogWindow() const { return logWindow; }
    void showExchangeLog();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Every dialog goes through these, so that tests can answer them.
    virtual QString chooseSaveFile(const QString &filter);
    virtual QString chooseOpenFile(const QString &filter);
    virtual void showBox(QMessageBox::Icon icon, const QString &title, const QString &text);
    // A box whose second text says why (the box's informative text).
    virtual void showReasonBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                               const QString &reason);
    virtual QMessageBox::StandardButton askBox(QMessageBox::Icon icon, const QString &title,
                                               const QString &text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton);
    virtual int runDialog(QDialog *dialog);
    // A box offering `choices` as buttons; the index chosen, -1 when closed.
    virtual int choiceBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                          const QStringList &choices);
    // The ports listed when the port list is opened.
    virtual QList<PortDescription> listPorts();
    // A failure box with the details behind it (the box's detailed text) and,
    // when given, the reason as its second text.
    virtual void showDetailedBox(QMessageBox::Icon icon, const QString &title, const QString &text,
                                 const QString &details, const QString &reason = QString());
    // The details of a failed operation: its failure text and its exchange.
    static QString operationDetails(KZConfigThread::Operation op, const QString &errorDebug);
    void setUpTerminalTools();

private slots:
    // Frame and connecting
    void on_connectBtn_clicked();
    void on_disconnectBtn_clicked();
    void on_portRefresh_clicked();

    // Terminal
    void on_termSend_clicked();
    void on_termCmd_returnPressed();
    void on_termAth_clicked();
    void on_termPpp_clicked();
    void showTermWritten(QByteArray data);

    // Privileged commands
    void on_privilegedExecute_clicked();

    // Operating mode
    void on_conModeBaseCsd_toggled(bool checked); // all seven mode buttons
    void on_conSave_clicked();
    void on_conTerminalCheck_clicked();
    void on_conAutostartCom_toggled(bool checked);
    void on_conAutostartBT_toggled(bool checked);
    void on_conBaseNtripServerSelect_currentIndexChanged(int index);
    void on_conBaseNtripCasterSelect_currentIndexChanged(int index);
    void on_conRoverNtripSelect_currentIndexChanged(int index);
    void rebuildCommand();

    // Ports tab
    void on_comSaveButton_clicked();
    void on_btSaveMode_clicked();
    void on_btMode2_toggled(bool checked); // all three mode buttons
    void on_btInq_clicked();
    void on_btInqList_currentRowChanged(int row);

    // Report
    void on_reportButton_clicked();

    // Configuration set files
    void on_configSave_clicked();
    void on_configLoad_clicked();
    void on_configReset_clicked();

    // Profile dialogs
    void on_conRoverGprsEdit_clicked();
    void on_conBaseGprsEdit_clicked();
    void on_conRoverNtripEdit_clicked();
    void on_conBaseNtripCasterEdit_clicked();
    void on_conBaseNtripServerEdit_clicked();
    void on_conBaseDyndnsEdit_clicked();
    void xon_gprsList_currentRowChanged(int row);
    void xon_gprsProfileSave_clicked();
    void xon_gprsDelete_clicked();
    void xon_ntripList_currentRowChanged(int row);
    void xon_ntripProfileSave_clicked();
    void xon_ntripDelete_clicked();
    void xon_dyndnsSave_clicked();

    // Firmware update
    void on_updateSelectBtn_clicked();
    void on_updateButton_clicked();

private:
    // Connecting in the field (fieldconnect.cpp): the port list with its
    // descriptions, the search for the modem, a modem without its application.
    void setupFieldControls();
    void applyPortDescriptions(const QList<PortDescription> &ports);
    void startOrStopDetect();
    void detectFinished(bool ok);
    void offerApplicationStart();
    void startAppFinished(bool ok);
    void enterRecoveryState();
    // Handles the update's end while recovering; false when not recovering.
    bool recoveryFirmwareFinished(bool ok);
    QPushButton *detectBtn = nullptr;
    bool firmwareRecovery = false; // the update tab serves a modem without its application

    void enterConnectedState();
    void enterDisconnectedState();
    void setControlsEnabled(bool enabled);
    void fillPortNames();
    void applyPortNames(const QStringList &names);
    void emptyDialogs();
    void showIdentity();

    // Operating mode
    void initOperatingMode();
    void applyModeSwitch(int id);
    void parseAutoexec();
    void showNtripSummary(int selector, int index);

    // Checks the copy before a write: a value the modem's line cannot carry is
    // named to the user and false is returned (nothing may be written).
    bool valuesFitLine(const KZConfig &copy, int flags);
    // Disables the controls and queues modConfig with the copy.
    void startWrite(const KZConfig &copy, int flags);

    // Profile dialogs: run one, save on OK, and let `box` take the dialog's row.
    void editGprsProfiles(QComboBox *box);
    void editNtripProfiles(int mode, QComboBox *box);

    // Firmware: whether the loaded container fits the connected modem.
    bool firmwareFits() const;

    // Call right after queueing an operation of `kind` to the worker: a
    // marker queued behind it comes back when the worker has finished it.
    void noteQueued(Running kind) { operations.queued(kind); }
    void operationEnded() { operations.ended(); }
    // After a lost line: disconnected, and the status bar says why.
    void showLineLost();

    // Terminal
    bool terminalUsable() const;
    void queueEscape(bool hangUp);

    QString currentNtripName;
    QString currentGprsName;
    QString reportFileName;
    Ui::MainWindow *ui;
    KZConfigThread worker;
    QButtonGroup btModeGroup;
    QButtonGroup conModeGroup;
    GprsForm *gprsForm = nullptr;
    NtripForm *ntripForm = nullptr;
    DdnsForm *ddnsForm = nullptr;
    QList<QWidget *> controls;
    std::unique_ptr<WorkerRunner> workerRunner;
    QProgressBar *statusProgress = nullptr;
    QThread *portScan = nullptr; // the port enumeration at start-up

    QStringList termHistory; // commands sent from termCmd, oldest first
    TerminalView *terminalView = nullptr;
    ExchangeLogWindow *logWindow = nullptr;
    int termHistoryPos = 0;
    bool firmwareLoaded = false;
    FirmwareContainer chosenFirmware; // handed to the worker when the update starts
    DeviceIdentity device;            // taken from the worker as each information read ends

    OperationQueue operations { &worker };
    bool linkLost = false;      // the port failed since the last Connect
    int writeFlags = 0;         // groups of the write under way
};
