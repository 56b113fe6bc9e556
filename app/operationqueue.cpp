#include "app/operationqueue.h"

#include <QApplication>
#include <QTimer>

OperationQueue::OperationQueue(QObject *worker, QObject *parent)
    : QObject(parent), m_worker(worker)
{
}

void OperationQueue::queued(Running kind)
{
    m_running.append(kind);
    // Every operation but the terminal's escape ends with a result signal,
    // whose handler calls ended(). The escape has none: a marker queued
    // behind it runs on the worker thread when it is over and comes back
    // here.
    if (kind == Running::Escape) {
        QMetaObject::invokeMethod(
                m_worker,
                [this] { QMetaObject::invokeMethod(this, [this] { ended(); }, Qt::QueuedConnection); },
                Qt::QueuedConnection);
    }
}

void OperationQueue::ended()
{
    if (!m_running.isEmpty())
        m_running.removeFirst();
    // Outside the result's handler, which may still start the next step.
    if (m_closeWhenIdle && m_running.isEmpty())
        QTimer::singleShot(0, this, &OperationQueue::finishPendingClose);
}

void OperationQueue::closeWhenIdle()
{
    m_closeWhenIdle = true;
    finishPendingClose();
}

void OperationQueue::finishPendingClose()
{
    if (!m_closeWhenIdle || !m_running.isEmpty())
        return;
    // A box still open on the result waits for the user; try again later
    // rather than closing under it.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, this, &OperationQueue::finishPendingClose);
        return;
    }
    emit closeNow();
}
