#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>

// State of the simulated KZ520. Everything a scenario file or an option can
// set; the simulator changes it as commands arrive (profiles, autostart
// commands, serial settings, echo, data call).
struct SimState {
    // Identity
    QString model = QStringLiteral("KZ520");
    QString deviceType = QStringLiteral("KZ520-03-ABP"); // AT^JINFO,15
    QString hardware = QStringLiteral("03");             // AT^JINFO,11
    int software = 390;                                  // AT^JINFO,10
    QString serial = QStringLiteral("520000123");
    QString capabilities = QStringLiteral("BAT;BT");
    QString battery = QStringLiteral("4.100");
    bool viaCom = true;                   // AT^JINFO,4 answers 1 (COM) or 0 (Bluetooth)
    QMap<int, QString> infoOverride;      // raw value for AT^JINFO,n
    QString operatorName = QStringLiteral("MegaFon"); // empty: not registered
    int simState = 1;                     // ^SCKS state when not registered

    // Line
    bool echo = true;
    bool dataCall = false;  // in a data connection: only "+++" is heard
    int baud = 115200;      // the modem's port speed (AT+IPR)
    QString icf = QStringLiteral("3");
    QString ifc = QStringLiteral("0,0");

    // Configuration, as the modem stores it: each profile is its raw fields
    // (GPRS 4, NTRIP 8 with the last one holding any further commas).
    QList<QStringList> gprs;
    QList<QStringList> ntrip;
    bool dyndnsSet = false;
    QStringList dyndns; // login, password, domain
    QString autoexec;   // the single command of software below 380
    QString autoexecB;
    QString autoexecC;
    int btMode = 0;
    QString btMac;
    QString btPin;
    QStringList btDevices;      // raw lines of AT+BTINQ?
    int btInquiryMs = 300;      // how long the search takes
    QList<QPair<QString, QString>> stores; // AT^JRMS: name, contents (raw text)
    QStringList acceptedCodes;  // AT^AUTH=

    // Behaviour
    int replyDelayMs = 0;   // before each reply
    bool lineRate = false;  // emulate 10 bits a byte at `baud`, both ways
    bool silent = false;    // hears everything, answers nothing
    int guardMs = 1000;     // silence around "+++"
    bool wrongSpeedNoise = false; // at another speed than its own, answer with garbage bytes

    // The application and the module's file service. While the application
    // is halted (AT^JHLT) only the module answers: its own commands as usual,
    // the application's commands with ERROR, and its port runs at 115200
    // whatever `baud` says; AT^SJRA=A:/atc65.jar starts the application again.
    bool halted = false;
    int sqweMode = 0;        // reported by AT^SQWE?
    bool obexMode = false;   // after AT^SQWE=3 until a guarded "+++"
    QMap<QString, QByteArray> drive; // files on "A:/", by the name the OBEX Name header gives
    QString driveDir; // when set, the drive's files are kept in this folder as well

    // OBEX behaviour. Packets are counted from 1 since the simulator
    // started, CONNECT included; PUT packets (deletes included) have a count
    // of their own.
    int obexMaxPacket = 8192;      // announced in the CONNECT response
    int obexConnectCode = 0;       // response code to CONNECT; 0: 0xA0, or 0xC4 for another target
    bool obexConnectBare = false;  // CONNECT response without version, flags and length
    int obexRefusePut = 0;         // this PUT packet is answered with obexRefuseCode, unheeded
    int obexRefuseCode = 0xC3;
    int obexDropPacket = 0;        // this packet is neither heeded nor answered
    int obexFragmentMs = 0;        // >0: responses go out in three pieces with this pause between
    int obexPacketCount = 0;       // packets heard so far
    int obexPutCount = 0;          // PUT packets heard so far
};

// A simulated KZ520 on a pseudo-terminal. The tool opens portName() as a
// serial port; a thread of the simulator answers as the modem would.
class SimModem
{
public:
    SimModem();
    ~SimModem();
    SimModem(const SimModem &) = delete;
    SimModem &operator=(const SimModem &) = delete;

    // Creates the pseudo-terminal and starts answering. False with *error on failure.
    bool start(QString *error = nullptr);
    void stop();
    QString portName() const;

    // Thread-safe access to the state.
    SimState state() const;
    void setState(const SimState &s);
    void modify(const std::function<void(SimState &)> &fn);

    // What the simulator heard: every command line, in order (as received,
    // without CR/LF), and every byte received and sent.
    QStringList commands() const;
    QByteArray received() const;
    QByteArray sent() const;
    // Every complete OBEX packet heard, in order.
    QList<QByteArray> obexPackets() const;
    void clearLog();

    // The modem says these bytes on its own (a RING, an unsolicited result).
    void unsolicited(const QByteArray &bytes);

    // Closes the line: the tool's port sees the device vanish.
    void dropLine();

    // Called for every command line before it is answered. Return true to
    // answer with *reply instead (empty: no answer at all); the hook may call
    // dropLine() or modify(). It runs on the simulator's thread.
    using CommandHook = std::function<bool(const QString &line, QByteArray *reply)>;
    void setCommandHook(CommandHook hook);

    // Print what is heard and said to stderr.
    void setVerbose(bool on);

    // Scenario files and options: "key = value" lines (see sim/README.md).
    static bool applySetting(SimState &s, const QString &key, const QString &value,
                             QString *error);
    static bool loadScenario(SimState &s, const QString &path, QString *error);

    // The drive's folder (SimState::driveDir): its files join the drive; an
    // uploaded file is written there, a deleted one removed. Names that are
    // not a plain file name are kept off the folder.
    static void loadDrive(SimState &s);
    static void storeDriveFile(const QString &dir, const QString &name, const QByteArray &data);
    static void removeDriveFile(const QString &dir, const QString &name);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
