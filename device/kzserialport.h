#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>

class QSerialPort;

// The line-oriented AT link to the modem. It owns the serial port and must
// only be used from the thread the object lives on (the worker thread).
class KZSerialPort : public QObject
{
    Q_OBJECT

public:
    explicit KZSerialPort(QObject *parent = nullptr);
    ~KZSerialPort() override;

    // A reply line longer than this ends the wait as a failure: a modem that
    // streams bytes without a line end must not hold the worker for ever.
    static constexpr int MaxLineLength = 4096;

    void setPortSettings(const QString &name, int baud, int dataBits, int parity, int stopBits,
                         int flow);
    bool openPort();
    void closePort();

    // The settings the link opens with (the codes of the record).
    QString deviceName() const { return m_deviceName; }
    int baudRate() const { return m_baudRate; } // 19 = 115200
    int dataBits() const { return m_dataBits; } // 3 = eight, 2 = seven
    int parity() const { return m_parity; }     // 0 none, 1 odd, 2 even
    int stopBits() const { return m_stopBits; } // 0 one, 2 two
    int flowControl() const { return m_flowControl; } // 0 off, 1 hardware, 2 xon/xoff
    // The port is closed and opened again with the settings given; a
    // negative code keeps the one held.
    bool reopenWith(int baud, int dataBits, int parity, int stopBits, int flow);

    // The open port at another speed for a while (the settings stay, so
    // the next openPort() uses them again); false when it did not open.
    bool reopenAtSpeed(qint32 baud);
    // The speed the port runs at now, in baud; 0 without a port.
    qint32 portSpeed() const;
    // The port's own words for its last error.
    QString portErrorString() const;
    // The open port for a client that speaks its own protocol on the line
    // (the OBEX session of an update); null while the port is closed.
    QIODevice *openDevice() const;

    // The modem has answered the device-information read. Set on the link's
    // thread: by that read, or by a caller that knows without it.
    bool isOnline() const { return m_online; }
    void setOnline(bool on) { m_online = on; }
    // The name the port object was given at the last openPort().
    QString portName() const;

    // The last reply line, or the partial text of a wait that failed.
    QString lastReply() const { return m_lastReply; }

    void sendCommand(const QString &line);
    bool waitReply(int timeoutMs);
    bool waitReplyIs(const QString &expected, int timeoutMs);
    bool sendAndWait(const QString &line, int timeoutMs);

    // Why the last openPort() failed, in the user's words; empty after a
    // success. Read it once the open has completed.
    QString openFailure() const { return m_openFailure; }

    // Safe to call from any thread.
    bool isPortOpen() const { return m_open.load(); }
    // True when the last exchange ended because the port failed (unplugged,
    // link lost); the port has then been closed.
    bool lineLost() const { return m_lineLost; }

    // Everything that arrives until timeoutMs have passed, or until the text
    // is complete by `done` (if given). Stops at once when the line is lost.
    QByteArray collect(int timeoutMs, bool (*done)(const QByteArray &) = nullptr);
    // Everything that arrives until quietMs pass with nothing new; with
    // maxLine, also until a line grows past maxLine bytes without its end.
    QByteArray collectUntilQuiet(int quietMs, int maxLine = 0);
    // Drops what the port holds now.
    void drainInput();
    // Writes bytes and waits until they have left; false when the port failed.
    bool writeBytes(const QByteArray &data);
    // Waits up to ms for more bytes; false on timeout or a failed port.
    bool waitForBytes(int ms);

    // Serial-library code translation (the codes are those of the record).
    static int baudFromCode(int code); // -1 when the code has no baud rate

signals:
    void rawRead(QByteArray data);
    // The port failed (device gone, line lost) and the link has closed it.
    void portLost();
    // reopenAtSpeed() has set the port to another speed.
    void portSpeedChanged(qint32 baud);

protected slots:
    void portReadyRead();

public slots:
    void rawWrite(QByteArray data);
    // Terminal reads are delivered by rawRead only while this is set and no
    // line exchange is under way.
    void setRawReadEnabled(bool on) { m_rawReadEnabled = on; }

protected:
    // Set by the worker while an operation exchanges lines with the modem.
    virtual bool exchangeRunning() const { return false; }

    bool checkPortFailed();
    // For a caller that looked past a reply and gives the one before back.
    void setLastReply(const QString &reply) { m_lastReply = reply; }

private:
    QSerialPort *m_port = nullptr;
    QString m_lastReply;
    QString m_deviceName;
    int m_baudRate = 0;
    int m_dataBits = 0;
    int m_parity = 0;
    int m_stopBits = 0;
    int m_flowControl = 0;
    bool m_online = false;
    std::atomic<bool> m_open { false };
    bool m_lineLost = false;
    bool m_rawReadEnabled = true;
    QString m_openFailure;
};
