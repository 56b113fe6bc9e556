#include "device/workerrunner.h"

#include "device/kzconfigthread.h"

WorkerRunner::WorkerRunner(KZConfigThread *worker) : m_worker(worker)
{
    m_worker->moveToThread(&m_thread);
    // Emitted on the worker thread just before it ends: the port is closed
    // by the thread that owns it.
    QObject::connect(&m_thread, &QThread::finished, m_worker, &KZSerialPort::closePort,
                     Qt::DirectConnection);
    m_thread.start(QThread::InheritPriority);
}

WorkerRunner::~WorkerRunner()
{
    stop();
}

void WorkerRunner::stop()
{
    if (!m_thread.isRunning())
        return;
    // A quit queued to the worker runs after every operation queued before it.
    QMetaObject::invokeMethod(
            m_worker, [this] { m_thread.quit(); }, Qt::QueuedConnection);
    m_thread.wait();
}
