#pragma once

#include <QElapsedTimer>
#include <QIODevice>
#include <QList>
#include <QThread>

// An in-memory line to a fake modem: every write takes the next scripted
// reply, whose fragments become readable after their delays. Waiting for
// bytes really passes time, so deadlines behave as on a port.
class ScriptedDevice : public QIODevice
{
public:
    struct Fragment {
        int delayMs = 0; // after the write, or after the previous fragment
        QByteArray data;
        bool closeDevice = false; // the line is lost at this point
    };
    using Reply = QList<Fragment>;

    ScriptedDevice()
    {
        m_clock.start();
        open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    }

    // The reply to the next write not yet answered; an empty reply is silence.
    void reply(const QByteArray &data) { replies.append(Reply { Fragment { 0, data } }); }
    void reply(const Reply &fragments) { replies.append(fragments); }
    void silence() { replies.append(Reply()); }

    bool isSequential() const override { return true; }

    qint64 bytesAvailable() const override
    {
        release();
        return m_ready.size() + QIODevice::bytesAvailable();
    }

    bool waitForReadyRead(int msecs) override
    {
        release();
        if (!m_ready.isEmpty())
            return true;
        if (m_pending.isEmpty() || m_pending.first().due - m_clock.elapsed() > msecs) {
            QThread::msleep(qMax(0, msecs));
            return false;
        }
        QThread::msleep(qMax<qint64>(0, m_pending.first().due - m_clock.elapsed()));
        if (m_pending.first().closeDevice) {
            m_pending.clear();
            close();
            return false;
        }
        release();
        return !m_ready.isEmpty();
    }

    QList<QByteArray> writes;
    QList<Reply> replies;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        release();
        const qint64 n = qMin<qint64>(maxSize, m_ready.size());
        memcpy(data, m_ready.constData(), size_t(n));
        m_ready.remove(0, n);
        return n;
    }

    qint64 writeData(const char *data, qint64 size) override
    {
        writes.append(QByteArray(data, size));
        if (!replies.isEmpty()) {
            qint64 due = m_clock.elapsed();
            for (const Fragment &f : replies.takeFirst()) {
                due += f.delayMs;
                m_pending.append(Pending { due, f.data, f.closeDevice });
            }
        }
        return size;
    }

private:
    struct Pending {
        qint64 due;
        QByteArray data;
        bool closeDevice;
    };

    void release() const
    {
        while (!m_pending.isEmpty() && !m_pending.first().closeDevice
               && m_pending.first().due <= m_clock.elapsed())
            m_ready += m_pending.takeFirst().data;
    }

    QElapsedTimer m_clock;
    mutable QList<Pending> m_pending;
    mutable QByteArray m_ready;
};
