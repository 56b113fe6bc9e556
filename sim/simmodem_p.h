#pragma once

// Internals of the simulated modem, shared by its source files.
#include "sim/simmodem.h"

#include <atomic>
#include <thread>

struct SimModem::Private {
    mutable std::mutex mutex;
    SimState state;
    QStringList commands;
    QByteArray received;
    QByteArray sent;
    QList<QByteArray> obexHeard;
    CommandHook hook;
    bool verbose = false;

    int master = -1;
    int slave = -1; // kept open so the line survives the tool closing its port
    int wake[2] = { -1, -1 };
    QString slaveName;
    std::thread thread;
    std::atomic<bool> running { false };
    std::atomic<bool> dropRequested { false };
    QByteArray unsolicited; // said by the modem on its own (RING, URCs), under the mutex

    // Line state, touched only by the simulator's thread.
    QByteArray lineBuf;
    qint64 lastRxMs = 0;
    int plusCount = 0;
    qint64 escapeAtMs = 0; // when "+++" completed, waiting for the silence after it
    qint64 rxBusyUntilUs = 0;
    quint32 noiseSeed = 12345;
    QByteArray noise(int n); // garbage for n bytes heard at the wrong speed

    // OBEX side (simobex.cpp), touched only by the simulator's thread.
    QByteArray obexBuf;       // the packet being assembled
    bool obexSkipLf = false;  // the LF after the CR of AT^SQWE=3 is no packet byte
    bool obexConnected = false;
    bool obexObjectOpen = false;
    QString obexObjectName;
    QByteArray obexObjectData;

    void run();
    void onBytes(const QByteArray &bytes);
    void handleLine(const QByteArray &raw);
    QByteArray answer(const QString &cmd, SimState &s, int *delayMs);
    void say(const QByteArray &bytes);
    void emulateRx(int n);
    bool baudMatches();
    int lineBaud(); // the modem's port speed now: 115200 while the application is halted

    void obexByte(char c);
    void obexReset();
    void obexPacket(const QByteArray &packet);
    void obexRespond(const QByteArray &response);
    void closeFds();
    void log(const char *dir, const QByteArray &bytes);
};

// Scenario keys of the OBEX side: 1 taken, 0 a bad value (*why says so),
// -1 not one of its keys.
int applyObexSetting(SimState &s, const QString &key, const QString &value, QString *why);
