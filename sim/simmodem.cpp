#include "sim/simmodem.h"
#include "sim/simmodem_p.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int speedToBaud(speed_t s)
{
    switch (s) {
    case B300: return 300;
    case B600: return 600;
    case B1200: return 1200;
    case B1800: return 1800;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    }
    return 0; // a custom rate: not checked
}

const QByteArray OK = "\r\nOK\r\n";

} // namespace


SimModem::SimModem() : d(new Private) { }

SimModem::~SimModem()
{
    stop();
}

bool SimModem::start(QString *error)
{
    auto setError = [error](const QString &e) {
        if (error)
            *error = e;
        return false;
    };
    d->master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (d->master < 0)
        return setError(QStringLiteral("posix_openpt: %1").arg(qt_error_string(errno)));
    if (grantpt(d->master) != 0 || unlockpt(d->master) != 0)
        return setError(QStringLiteral("grantpt/unlockpt: %1").arg(qt_error_string(errno)));
    const char *name = ptsname(d->master);
    if (!name)
        return setError(QStringLiteral("ptsname failed"));
    d->slaveName = QString::fromLocal8Bit(name);
    d->slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (d->slave < 0)
        return setError(QStringLiteral("open %1: %2").arg(d->slaveName, qt_error_string(errno)));
    termios t;
    if (tcgetattr(d->slave, &t) == 0) {
        cfmakeraw(&t);
        cfsetspeed(&t, B115200);
        tcsetattr(d->slave, TCSANOW, &t);
    }
    if (pipe2(d->wake, O_CLOEXEC) != 0)
        return setError(QStringLiteral("pipe: %1").arg(qt_error_string(errno)));
    fcntl(d->master, F_SETFL, fcntl(d->master, F_GETFL) | O_NONBLOCK);
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        loadDrive(d->state);
    }
    d->lastRxMs = nowMs();
    d->running = true;
    d->thread = std::thread([this] { d->run(); });
    return true;
}

void SimModem::stop()
{
    if (d->thread.joinable()) {
        d->running = false;
        const char c = 'q';
        if (::write(d->wake[1], &c, 1) < 0) { }
        d->thread.join();
    }
    d->closeFds();
    for (int &fd : d->wake) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

QString SimModem::portName() const
{
    return d->slaveName;
}

SimState SimModem::state() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->state;
}

void SimModem::setState(const SimState &s)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->state = s;
}

void SimModem::modify(const std::function<void(SimState &)> &fn)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    fn(d->state);
}

QStringList SimModem::commands() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->commands;
}

QByteArray SimModem::received() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->received;
}

QByteArray SimModem::sent() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->sent;
}

QList<QByteArray> SimModem::obexPackets() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->obexHeard;
}

void SimModem::clearLog()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->commands.clear();
    d->received.clear();
    d->sent.clear();
    d->obexHeard.clear();
}

void SimModem::dropLine()
{
    d->dropRequested = true;
    if (d->thread.joinable() && std::this_thread::get_id() != d->thread.get_id()) {
        const char c = 'd';
        if (::write(d->wake[1], &c, 1) < 0) { }
    }
}

void SimModem::unsolicited(const QByteArray &bytes)
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->unsolicited += bytes;
    }
    if (d->thread.joinable() && std::this_thread::get_id() != d->thread.get_id()) {
        const char c = 'u';
        if (::write(d->wake[1], &c, 1) < 0) { }
    }
}

void SimModem::setCommandHook(CommandHook hook)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->hook = std::move(hook);
}

void SimModem::setVerbose(bool on)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->verbose = on;
}

void SimModem::Private::closeFds()
{
    if (master >= 0)
        ::close(master);
    if (slave >= 0)
        ::close(slave);
    master = slave = -1;
}

void SimModem::Private::log(const char *dir, const QByteArray &bytes)
{
    bool v;
    {
        std::lock_guard<std::mutex> lock(mutex);
        v = verbose;
    }
    if (!v)
        return;
    QByteArray shown;
    for (const char c : bytes) {
        if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else if (uchar(c) < 0x20 || uchar(c) >= 0x7f)
            shown += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
        else
            shown += c;
    }
    fprintf(stderr, "%s %s\n", dir, shown.constData());
}

void SimModem::Private::run()
{
    char buf[4096];
    while (running) {
        if (dropRequested) {
            closeFds();
            dropRequested = false;
            // The line is gone; stay idle until stopped.
        }
        QByteArray pending;
        {
            std::lock_guard<std::mutex> lock(mutex);
            pending.swap(unsolicited);
        }
        if (!pending.isEmpty())
            say(pending);
        int timeout = -1;
        if (escapeAtMs > 0) {
            int guard;
            {
                std::lock_guard<std::mutex> lock(mutex);
                guard = state.guardMs;
            }
            const qint64 due = escapeAtMs + guard - nowMs();
            if (due <= 0) {
                escapeAtMs = 0;
                plusCount = 0;
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    state.dataCall = false;
                    state.obexMode = false;
                    lineBuf.clear();
                }
                obexReset();
                say(OK);
                continue;
            }
            timeout = int(due);
        }
        pollfd fds[2];
        int nfds = 0;
        fds[nfds++] = { wake[0], POLLIN, 0 };
        if (master >= 0)
            fds[nfds++] = { master, POLLIN, 0 };
        const int r = ::poll(fds, nfds, timeout);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            char c;
            if (::read(wake[0], &c, 1) < 0) { }
            continue;
        }
        if (nfds > 1 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0)
                onBytes(QByteArray(buf, int(n)));
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
}

QByteArray SimModem::Private::noise(int n)
{
    // What a line at the wrong speed makes of the modem's answer: bytes with
    // framing errors, mostly high, now and then a line end.
    QByteArray out;
    for (int i = 0; i < n * 2; ++i) {
        noiseSeed = noiseSeed * 1103515245u + 12345u;
        const quint32 r = noiseSeed >> 16;
        out += (r % 11 == 0) ? ((r & 1) ? '\n' : '\r') : char(0x80 | (r & 0x7f));
    }
    return out;
}

bool SimModem::Private::baudMatches()
{
    termios t;
    if (slave < 0 || tcgetattr(slave, &t) != 0)
        return true;
    const int tool = speedToBaud(cfgetospeed(&t));
    const int ours = lineBaud();
    return tool == 0 || tool == ours;
}

int SimModem::Private::lineBaud()
{
    std::lock_guard<std::mutex> lock(mutex);
    return state.halted ? 115200 : state.baud;
}

void SimModem::Private::emulateRx(int n)
{
    const int baud = lineBaud();
    bool rate;
    {
        std::lock_guard<std::mutex> lock(mutex);
        rate = state.lineRate;
    }
    if (!rate || baud <= 0)
        return;
    using namespace std::chrono;
    const qint64 now = duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    rxBusyUntilUs = qMax(rxBusyUntilUs, now) + qint64(n) * 10 * 1000000 / baud;
    if (rxBusyUntilUs > now)
        std::this_thread::sleep_for(microseconds(rxBusyUntilUs - now));
}

void SimModem::Private::say(const QByteArray &bytes)
{
    if (bytes.isEmpty() || master < 0)
        return;
    const int baud = lineBaud();
    bool rate;
    {
        std::lock_guard<std::mutex> lock(mutex);
        rate = state.lineRate;
        sent += bytes;
    }
    log("<<", bytes);
    // At the emulated rate the bytes trickle out in small pieces.
    const int piece = rate ? qMax(1, baud / 10 / 200) : bytes.size(); // ~5 ms pieces
    int off = 0;
    while (off < bytes.size() && master >= 0) {
        const int n = qMin(piece, int(bytes.size()) - off);
        if (rate && baud > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(qint64(n) * 10 * 1000000 / baud));
        const ssize_t w = ::write(master, bytes.constData() + off, size_t(n));
        if (w < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            return;
        }
        off += int(w);
    }
}

void SimModem::Private::onBytes(const QByteArray &bytes)
{
    emulateRx(bytes.size());
    {
        std::lock_guard<std::mutex> lock(mutex);
        received += bytes;
    }
    log(">>", bytes);
    const qint64 now = nowMs();
    SimState s;
    {
        std::lock_guard<std::mutex> lock(mutex);
        s = state;
    }
    if (s.silent) {
        lastRxMs = now;
        return;
    }
    // A tool whose port runs at another speed sends noise the modem cannot read.
    if (!baudMatches()) {
        lastRxMs = now;
        if (s.wrongSpeedNoise)
            say(noise(bytes.size()));
        return;
    }

    for (const char c : bytes) {
        // Escape detection: "+++" after a guard time of silence.
        if (c == '+') {
            if (plusCount == 0 && now - lastRxMs >= s.guardMs && (s.dataCall || s.obexMode))
                plusCount = 1;
            else if (plusCount > 0 && plusCount < 3)
                ++plusCount;
            else
                plusCount = 0;
            if (plusCount == 3)
                escapeAtMs = now;
        } else {
            plusCount = 0;
            escapeAtMs = 0;
        }
        lastRxMs = now;

        bool dataCall, echo, obex;
        {
            std::lock_guard<std::mutex> lock(mutex);
            dataCall = state.dataCall;
            echo = state.echo;
            obex = state.obexMode;
        }
        if (dataCall)
            continue; // data for the far end; nothing to answer
        if (obex) {
            obexByte(c);
            continue;
        }
        if (echo && c != '\n')
            say(QByteArray(1, c));
        if (c == '\r') {
            const QByteArray line = lineBuf;
            lineBuf.clear();
            handleLine(line);
        } else if (c != '\n') {
            if (lineBuf.size() < 8192)
                lineBuf += c;
        }
    }
}

void SimModem::Private::handleLine(const QByteArray &raw)
{
    // The modem looks for "AT"; whatever precedes it is noise.
    int at = -1;
    for (int i = 0; i + 1 < raw.size(); ++i) {
        if ((raw[i] == 'A' || raw[i] == 'a') && (raw[i + 1] == 'T' || raw[i + 1] == 't')) {
            at = i;
            break;
        }
    }
    if (at < 0)
        return;
    const QString cmd = QString::fromLatin1(raw.mid(at));
    CommandHook hook;
    {
        std::lock_guard<std::mutex> lock(mutex);
        commands << cmd;
        hook = this->hook;
    }
    QByteArray custom;
    if (hook && hook(cmd, &custom)) {
        if (!dropRequested)
            say(custom);
        return;
    }
    if (dropRequested)
        return;

    QByteArray out;
    int delay;
    int extraDelay = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (state.silent)
            return;
        out = answer(cmd, state, &extraDelay);
        delay = state.replyDelayMs;
    }
    if (delay + extraDelay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay + extraDelay));
    say(out);
}
