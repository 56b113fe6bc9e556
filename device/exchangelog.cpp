#include "device/exchangelog.h"

#include "device/secretmask.h"

#include <QDateTime>
#include <QDebug>

#include <limits>

namespace {

// Each worker thread runs one operation at a time: its number and name.
thread_local quint64 t_operation = 0;
thread_local QString t_operationName;
// The unfinished line of the terminal's reads on this thread.
thread_local QByteArray t_rawPending;

constexpr int MaxRawPending = 4096;

QString spellControls(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const ushort u = ch.unicode();
        if (u == '\r')
            out += QLatin1String("\\r");
        else if (u == '\n')
            out += QLatin1String("\\n");
        else if (u == '\\')
            out += QLatin1String("\\\\");
        else if (u < 0x20 || u == 0x7f)
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += ch;
    }
    return out;
}

} // namespace

ExchangeLog::ExchangeLog(int capacity) : m_slots(size_t(qMax(1, capacity))) { }

ExchangeLog &ExchangeLog::global()
{
    static ExchangeLog log;
    return log;
}

void ExchangeLog::push(ExchangeEntry entry)
{
    if (!m_enabled.load(std::memory_order_relaxed))
        return;
    ExchangeEntry old;
    std::unique_lock<std::mutex> ring(m_mutex);
    entry.seq = m_next++;
    ExchangeEntry &slot = m_slots[size_t(entry.seq % m_slots.size())];
    if (!m_sink) {
        std::swap(slot, entry);
        ring.unlock();
        return; // `entry` now holds the displaced one and is freed here
    }
    old = std::move(slot);
    slot = entry;
    std::unique_lock<std::mutex> sinkLock(m_sinkMutex);
    ring.unlock();
    if (m_sink)
        m_sink(entry);
}

void ExchangeLog::flushRaw()
{
    if (t_rawPending.isEmpty())
        return;
    ExchangeEntry e;
    e.msecs = QDateTime::currentMSecsSinceEpoch();
    e.operation = t_operation;
    e.text = QStringLiteral("< ") + QString::fromLocal8Bit(t_rawPending);
    t_rawPending.clear();
    push(std::move(e));
}

void ExchangeLog::append(const QString &text)
{
    flushRaw();
    ExchangeEntry e;
    e.msecs = QDateTime::currentMSecsSinceEpoch();
    e.operation = t_operation;
    e.text = text;
    push(std::move(e));
}

void ExchangeLog::appendRaw(const QByteArray &data)
{
    int from = 0;
    for (;;) {
        const int lf = data.indexOf('\n', from);
        if (lf < 0)
            break;
        t_rawPending += data.mid(from, lf + 1 - from);
        flushRaw();
        from = lf + 1;
    }
    t_rawPending += data.mid(from);
    if (t_rawPending.size() >= MaxRawPending)
        flushRaw();
}

quint64 ExchangeLog::beginOperation(const QString &name, const QString &args)
{
    flushRaw();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        t_operation = m_nextOperation++;
    }
    t_operationName = name;
    append(args.isEmpty() ? QStringLiteral("start ") + name
                          : QStringLiteral("start %1 %2").arg(name, args));
    return t_operation;
}

void ExchangeLog::endOperation(const QString &result)
{
    if (t_operation == 0)
        return;
    append(QStringLiteral("end %1: %2").arg(t_operationName, result));
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        bool known = false;
        for (auto &e : m_ended) {
            if (e.first == t_operationName) {
                e.second = t_operation;
                known = true;
                break;
            }
        }
        if (!known)
            m_ended.append(qMakePair(t_operationName, t_operation));
    }
    leaveOperation();
}

void ExchangeLog::leaveOperation()
{
    t_operation = 0;
    t_operationName.clear();
}

quint64 ExchangeLog::lastEnded(const QString &name) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto &e : m_ended)
        if (e.first == name)
            return e.second;
    return 0;
}

QList<ExchangeEntry> ExchangeLog::entriesAfter(quint64 after, quint64 *lost) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const quint64 cap = m_slots.size();
    const quint64 last = m_next - 1;
    const quint64 oldestKept = qMax(m_cleared + 1, last >= cap ? last - cap + 1 : quint64(1));
    const quint64 first = qMax(after + 1, oldestKept);
    if (lost)
        *lost = first > after + 1 ? first - after - 1 : 0;
    QList<ExchangeEntry> out;
    if (first <= last)
        out.reserve(int(last - first + 1));
    for (quint64 s = first; s <= last; ++s)
        out.append(m_slots[size_t(s % cap)]);
    return out;
}

QList<ExchangeEntry> ExchangeLog::entriesOf(quint64 operation) const
{
    QList<ExchangeEntry> out;
    if (operation == 0)
        return out;
    for (const ExchangeEntry &e : entriesAfter(0))
        if (e.operation == operation)
            out.append(e);
    return out;
}

quint64 ExchangeLog::lastSeq() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_next - 1;
}

void ExchangeLog::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cleared = m_next - 1;
}

void ExchangeLog::setSink(std::function<void(const ExchangeEntry &)> sink)
{
    std::lock_guard<std::mutex> ring(m_mutex);
    std::lock_guard<std::mutex> lock(m_sinkMutex);
    m_sink = std::move(sink);
}

QString localTimeText(qint64 msecs, bool withDate)
{
    thread_local qint64 cachedSecond = std::numeric_limits<qint64>::min();
    thread_local QString cachedText; // "yyyy-MM-dd hh:mm:ss"
    const qint64 second = msecs >= 0 ? msecs / 1000 : (msecs - 999) / 1000;
    if (second != cachedSecond) {
        cachedSecond = second;
        cachedText = QDateTime::fromMSecsSinceEpoch(second * 1000)
                             .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    const int ms = int(msecs - second * 1000);
    QString out = withDate ? cachedText : cachedText.mid(11);
    out += QLatin1Char('.');
    out += QLatin1Char(char('0' + ms / 100));
    out += QLatin1Char(char('0' + ms / 10 % 10));
    out += QLatin1Char(char('0' + ms % 10));
    return out;
}

QString ExchangeLog::format(const ExchangeEntry &entry, bool keepSecrets)
{
    const QString when = localTimeText(entry.msecs, true);
    const QString text = keepSecrets ? entry.text : SecretMask::mask(entry.text);
    return when + QLatin1Char(' ') + spellControls(text);
}

QString ExchangeLog::formatAll(const QList<ExchangeEntry> &entries, bool keepSecrets)
{
    QString out;
    for (const ExchangeEntry &e : entries) {
        out += format(e, keepSecrets);
        out += QLatin1Char('\n');
    }
    return out;
}

QString ExchangeLog::failureDetails(const QString &operation, const QString &errorDebug) const
{
    QString out;
    if (!errorDebug.isEmpty())
        out += SecretMask::mask(errorDebug) + QLatin1String("\n\n");
    out += formatAll(entriesOf(lastEnded(operation)), false);
    return out;
}

void logExchange(const QString &text)
{
    qDebug() << text;
    ExchangeLog::global().append(text);
}

OperationLogScope::OperationLogScope(const QString &name, const QString &args)
{
    ExchangeLog::global().beginOperation(name, args);
}

OperationLogScope::~OperationLogScope()
{
    // The completion signal has logged the end; a slot that left without one
    // leaves no operation open behind it.
    ExchangeLog::leaveOperation();
}
