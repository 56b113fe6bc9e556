#pragma once

#include <QThread>

class KZConfigThread;

// Runs a worker on a thread of its own and stops and joins that thread
// before the worker can be destroyed.
class WorkerRunner
{
public:
    explicit WorkerRunner(KZConfigThread *worker);
    ~WorkerRunner();
    WorkerRunner(const WorkerRunner &) = delete;
    WorkerRunner &operator=(const WorkerRunner &) = delete;

    QThread *thread() { return &m_thread; }
    // Ends the event loop after the operations already queued, then joins.
    void stop();

private:
    KZConfigThread *m_worker;
    QThread m_thread;
};
