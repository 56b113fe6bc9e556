#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

// One thing that happened on the line: a line written or read, or an
// operation starting or ending.
struct ExchangeEntry {
    quint64 seq = 0;       // 1 for the first entry ever logged, then counting up
    qint64 msecs = 0;      // wall clock, milliseconds since the epoch
    quint64 operation = 0; // number of the operation it belongs to, 0 outside one
    QString text;          // "> AT", "< OK", "<! O", "start reqInfo", "end reqInfo: ok"
};

// The recent exchange with every modem, kept for the user to look at and to
// send to whoever helps. A bounded ring: a modem talking for days costs no
// more than `capacity` entries.
//
// Writers are the worker threads, right on the exchange path. A mutex guards
// the ring, but it is held only to claim a sequence number and to swap one
// prepared entry into its slot (a few pointer moves; the text and the time
// are made before, the displaced entry is freed after). At a few thousand
// lines a second at most and with one or two writers, that lock is never
// contended long enough to show; a lock-free ring of non-trivial entries would
// need per-slot sequencing for readers and buys nothing measurable here.
// The sink (the command line's log file) runs in the writer's thread, under a
// lock of its own taken before the ring's is released, so that it sees the
// entries in ring order without holding the ring during its write.
class ExchangeLog
{
public:
    static constexpr int DefaultCapacity = 5000;

    explicit ExchangeLog(int capacity = DefaultCapacity);
    ExchangeLog(const ExchangeLog &) = delete;
    ExchangeLog &operator=(const ExchangeLog &) = delete;

    // The program's log, fed by every link and worker.
    static ExchangeLog &global();

    int capacity() const { return int(m_slots.size()); }

    // Adds an entry to the calling thread's current operation.
    void append(const QString &text);
    // Bytes read outside a line exchange (the terminal's reads): logged a line
    // at a time, so that a reply split over reads is masked as one line. An
    // unfinished line waits for its end, or for the next entry of the thread.
    void appendRaw(const QByteArray &data);

    // Starts an operation on the calling thread and logs "start NAME ARGS".
    quint64 beginOperation(const QString &name, const QString &args = QString());
    // Logs "end NAME: RESULT" for the calling thread's operation and ends it.
    // Nothing happens outside an operation.
    void endOperation(const QString &result);
    // Ends the calling thread's operation without an entry (it was logged).
    static void leaveOperation();
    // The number of the operation of that name that ended last, 0 if none.
    quint64 lastEnded(const QString &name) const;

    // Entries with seq greater than `after`, oldest first. *lost, if given,
    // is how many such entries the ring has dropped already.
    QList<ExchangeEntry> entriesAfter(quint64 after, quint64 *lost = nullptr) const;
    QList<ExchangeEntry> entriesOf(quint64 operation) const;
    quint64 lastSeq() const;
    void clear();

    // Off, nothing is logged (the benchmarks measure the log's cost so).
    void setEnabled(bool on) { m_enabled = on; }
    bool isEnabled() const { return m_enabled; }

    // Called for each entry as it is logged, in order; nullptr removes it.
    void setSink(std::function<void(const ExchangeEntry &)> sink);

    // One entry as one line of text: local date and time, then the text with
    // control characters spelled out; secrets masked unless keepSecrets.
    static QString format(const ExchangeEntry &entry, bool keepSecrets);
    static QString formatAll(const QList<ExchangeEntry> &entries, bool keepSecrets);

    // The details behind a failure box: the failure text, then the entries
    // of the last operation of that name, secrets masked.
    QString failureDetails(const QString &operation, const QString &errorDebug) const;

private:
    void push(ExchangeEntry entry);
    void flushRaw();

    std::atomic<bool> m_enabled { true };
    mutable std::mutex m_mutex;
    std::vector<ExchangeEntry> m_slots;
    quint64 m_next = 1;
    quint64 m_cleared = 0; // entries up to this seq are gone by clear()
    quint64 m_nextOperation = 1;
    QList<QPair<QString, quint64>> m_ended;
    std::mutex m_sinkMutex;
    std::function<void(const ExchangeEntry &)> m_sink;
};

// Local time of a wall-clock instant as "yyyy-MM-dd hh:mm:ss.zzz" (or
// "hh:mm:ss.zzz" without the date). Converting to local time is slow, so the
// text of the last second is kept per thread and only the milliseconds change.
QString localTimeText(qint64 msecs, bool withDate);

// Writes a line of the exchange to the debug output and to the global log.
void logExchange(const QString &text);

// Starts an operation in the global log for the life of a worker slot; the
// operation's end is logged from its completion signal.
class OperationLogScope
{
public:
    explicit OperationLogScope(const QString &name, const QString &args = QString());
    ~OperationLogScope();
    OperationLogScope(const OperationLogScope &) = delete;
    OperationLogScope &operator=(const OperationLogScope &) = delete;
};
