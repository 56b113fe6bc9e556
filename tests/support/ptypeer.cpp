#include "support/ptypeer.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

PtyPeer::PtyPeer()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return;
    m_name = QString::fromLocal8Bit(ptsname(m_master));
    // Held open so the terminal survives the port closing and reopening.
    m_slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
    termios t;
    if (m_slave >= 0 && tcgetattr(m_slave, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(m_slave, TCSANOW, &t);
    }
}

void PtyPeer::write(const QByteArray &b)
{
    if (m_master >= 0 && ::write(m_master, b.constData(), size_t(b.size())) < 0) { }
}

QByteArray PtyPeer::read(int count, int timeoutMs)
{
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (out.size() < count && t.elapsed() < timeoutMs && m_master >= 0) {
        pollfd p { m_master, POLLIN, 0 };
        if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
            char buf[512];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0)
                out.append(buf, int(n));
        }
    }
    return out;
}

speed_t PtyPeer::toolSpeed() const
{
    termios t;
    if (m_slave < 0 || tcgetattr(m_slave, &t) != 0)
        return 0;
    return cfgetospeed(&t);
}

void PtyPeer::close()
{
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}
