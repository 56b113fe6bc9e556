#pragma once

#include <QString>

// Progress of a long operation (a firmware transfer in bytes, a report in
// queries) told as a person reads it: counts of the total, rate, time left.
// Times are handed in, so the texts depend on nothing but the calls.
class TransferProgress
{
public:
    enum Unit { Bytes, Queries };

    explicit TransferProgress(Unit unit = Bytes) : m_unit(unit) { }

    // A progress text of the worker; it names the step shown with the counts.
    void setStep(const QString &text);
    // done of total at nowMs (any monotonic clock). A total of 0 or less
    // ends the counted part. True when this update entered a new tenth of
    // the work (10 %, 20 %, ...), or the first time.
    bool update(qint64 done, qint64 total, qint64 nowMs);

    bool active() const { return m_total > 0; }
    int percent() const;
    // Units a second since the first update of this run; 0 while unknown.
    double rate() const;
    // Seconds left at the current rate; -1 while unknown.
    qint64 secondsLeft() const;

    // "Обновление ПО: cfg.txt: 30720 из 61773 байт (50%)",
    // "Сбор данных: запрос 12 из 40 (30%)".
    QString line() const;
    // "30720 из 61773 байт, 5.1 КБ/с, осталось 0:06"
    QString details() const;
    // One line for a terminal: the step, a bar of `barWidth`, the details.
    QString statusLine(int barWidth = 20) const;

    // "Обновление ПО: передача файла X" -> "Обновление ПО: X";
    // "Сбор данных: запрос 3 из 40 (AT)" -> "Сбор данных".
    static QString label(const QString &progressText);
    static QString duration(qint64 seconds); // "0:06", "1:02:03"
    static QString rateText(double perSecond, Unit unit);

private:
    QString counts() const;

    Unit m_unit;
    QString m_label;
    qint64 m_done = 0;
    qint64 m_total = 0;
    qint64 m_firstDone = 0;
    qint64 m_firstMs = 0;
    qint64 m_nowMs = 0;
    int m_tenth = -1;
};
