#pragma once

// The far end of a pseudo-terminal, for tests that script the modem's bytes
// one by one.
#include <QByteArray>
#include <QString>

#include <termios.h>

class PtyPeer
{
public:
    PtyPeer();
    ~PtyPeer() { close(); }
    PtyPeer(const PtyPeer &) = delete;
    PtyPeer &operator=(const PtyPeer &) = delete;

    bool ok() const { return m_master >= 0 && m_slave >= 0; }
    QString name() const { return m_name; }

    void write(const QByteArray &b);
    // Reads what arrives until `count` bytes are there or timeoutMs pass.
    QByteArray read(int count, int timeoutMs = 2000);
    // The speed the tool's port is set to.
    speed_t toolSpeed() const;
    void close();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_name;
};
