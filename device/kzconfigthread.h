#pragma once

#include "config/kzconfig.h"
#include "device/detect.h"
#include "device/errorstack.h"
#include "device/identity.h"
#include "device/kzserialport.h"
#include "firmware/firmwarecontainer.h"

#include <QMap>
#include <QMutex>
#include <QSet>
#include <QStringList>

#include <atomic>

// The worker: performs every device operation on its own thread. The window
// invokes its slots queued and learns the outcome from its signals.
class KZConfigThread : public KZSerialPort
{
    Q_OBJECT

public:
    enum Operation {
        OpConnect = 0,
        OpHandshake = 1,
        OpInfo = 2,
        OpFirmware = 3,
        OpPrivileged = 4,
        OpBluetoothInquiry = 5,
        OpDetect = 6,  // the search for a modem and its speed
        OpStartApp = 7 // starting the modem's application
    };
    Q_ENUM(Operation)

    explicit KZConfigThread(QObject *parent = nullptr);
    ~KZConfigThread() override;

    KZConfig config;
    QStringList btInquiryList;
    std::atomic<bool> busy { false };
    // Results beside the completion signals, read once they have arrived:
    // the groups the last reqConfig could not read as it should, the
    // Bluetooth group included (its flag counts as read in the signal); and
    // whether the last report was cut short by a lost line.
    int readFailed = 0;
    bool reportIncomplete = false;

    // Connecting in the field (fieldops.cpp).
    bool applicationHalted = false;     // set by reqInfo: the module answers, its application not
    QList<DetectResult> detectResults;  // the last search, one per port tried
    std::atomic<bool> detectStop { false }; // set from any thread: the search ends soon
    bool skipPreCommands = false;       // the update of a modem without its application

    // Registers "KZConfigThread::Operation" and "KZConfig".
    static void registerMetaTypes();

    // The software version as a decimal number (0 when it is not one).
    int softwareNumber() const;

    // Queues the container for the next update onto the worker's thread, so
    // that its copy is never written while an operation may read it. Safe to
    // call from any thread; calls queued after it see the container.
    void handFirmware(const FirmwareContainer &container);

    // The identity as the worker holds it now; on the worker thread only.
    const DeviceIdentity &identityNow() const { return m_device; }
    // The identity as the last device-information read left it, filled
    // before that read's completion signal. Safe to call from any thread.
    DeviceIdentity identity() const;
    // The record as the last read of the groups left it, filled before
    // requestCompleted. Safe to call from any thread; the front ends read
    // this, never `config`.
    KZConfig record() const;
    // Copies `config` into that snapshot; on the worker thread, or while the
    // worker is idle.
    void publishRecord();
    // Why each group of the last read or write failed, by its flag: which
    // command got which reply. Filled before requestCompleted and
    // configCompleted; safe to call from any thread.
    QMap<int, ErrorStack> groupErrors() const;
    // The same, one line a frame, for the debug output.
    static QString formatGroupErrors(const QMap<int, ErrorStack> &errors);

signals:
    void progress(QString text);
    void requestCompleted(int flagsOk, int flagsError);
    void configCompleted(int flagsOk, int flagsError);
    void opCompleted(KZConfigThread::Operation op, bool ok, QString errorDebug);
    void reportComplete(QString report);
    // Position of a long operation (firmware bytes, report queries); the
    // window and the command line show it as a bar. maximum 0 ends it.
    void progressValue(int value, int maximum);
    // Bytes the terminal's escape has just put on the line, so that the
    // terminal log shows them when they go out, not when they were asked for.
    void termWritten(QByteArray data);

public slots:
    void doConnect();
    void reqInfo();
    void handshake();
    void reqConfig(int flags);
    void modConfig(KZConfig config_new, int flags);
    void doDisconnect();
    void bluetoothInquiry();
    void applyFirmware();
    void makeReport(bool profiles);
    void privilegedExecute(QString code);

    // Each port (every listed one when empty) at each speed, most used
    // first; ok when a modem was found. Results in detectResults.
    void detect(QStringList ports);
    // "AT^SJRA=A:/atc65.jar" and bounded "AT" probes until the module answers.
    void startApplication();
    // applyFirmware for a modem without its application: no pre-commands.
    void applyFirmwareRecovery();

    // Terminal actions, run here because the port belongs to this thread.
    // Each does nothing while the port is closed.
    void termSend(QByteArray data);
    void termEscape(bool hangUp);

protected:
    bool exchangeRunning() const override { return busy.load(); }
    // Copies the identity into the snapshot identity() returns.
    void publishIdentity();
    void publishGroupErrors(const QMap<int, ErrorStack> &errors);

    // After "AT^JINFO,0" failed: when the module answers "AT" while its
    // application does not, reports that and returns true.
    bool reportHaltedApplication();
    // "AT" until the module answers (see AppState::probeAnswered), at most
    // `tries` times; false as soon as the line is lost.
    bool probeApplication(int timeoutMs, int tries);

    // Holds busy for the life of an operation, on every way out.
    class BusyGuard
    {
    public:
        explicit BusyGuard(std::atomic<bool> &flag) : m_flag(flag) { m_flag = true; }
        ~BusyGuard() { m_flag = false; }
        BusyGuard(const BusyGuard &) = delete;
        BusyGuard &operator=(const BusyGuard &) = delete;

    private:
        std::atomic<bool> &m_flag;
    };

    // The identity being read; the worker thread's own.
    DeviceIdentity m_device;
    FirmwareContainer m_firmware;

private:
    mutable QMutex m_snapshotLock;
    DeviceIdentity m_identity;
    KZConfig m_record;
    QMap<int, ErrorStack> m_groupErrors;
};

Q_DECLARE_METATYPE(KZConfigThread::Operation)
