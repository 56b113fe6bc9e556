#pragma once

#include <QList>
#include <QObject>

// What the window has asked of the worker and not yet seen end, oldest
// first, and a close asked for meanwhile: it is carried out once nothing
// runs and no box is open.
class OperationQueue : public QObject
{
    Q_OBJECT

public:
    enum class Running { None, Connect, Read, Write, BtInquiry, Firmware, Report, Privileged, Escape, Detect };

    // `worker` runs the operations; the escape's end is learnt through it.
    explicit OperationQueue(QObject *worker, QObject *parent = nullptr);

    // Call right after queueing an operation of `kind` to the worker.
    void queued(Running kind);
    // An operation's result has arrived (the worker runs them in order).
    void ended();

    bool isEmpty() const { return m_running.isEmpty(); }
    bool contains(Running kind) const { return m_running.contains(kind); }
    Running current() const { return m_running.isEmpty() ? Running::None : m_running.first(); }

    bool closePending() const { return m_closeWhenIdle; }
    // From now on the window closes as soon as it is idle.
    void closeWhenIdle();

signals:
    // Closing is due: nothing runs, no box is open.
    void closeNow();

private:
    void finishPendingClose();

    QObject *m_worker;
    QList<Running> m_running;
    bool m_closeWhenIdle = false;
};
