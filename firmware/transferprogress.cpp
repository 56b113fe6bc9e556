#include "firmware/transferprogress.h"

#include <QCoreApplication>
#include <QtGlobal>

void TransferProgress::setStep(const QString &text)
{
    m_label = label(text);
}

bool TransferProgress::update(qint64 done, qint64 total, qint64 nowMs)
{
    if (total <= 0) {
        m_total = 0;
        m_tenth = -1;
        return false;
    }
    const bool fresh = m_total <= 0 || total != m_total || done < m_done;
    m_done = qBound(qint64(0), done, total);
    m_total = total;
    m_nowMs = nowMs;
    if (fresh) {
        m_firstDone = m_done;
        m_firstMs = nowMs;
        m_tenth = -1;
    }
    const int tenth = percent() / 10;
    if (tenth == m_tenth)
        return false;
    m_tenth = tenth;
    return true;
}

int TransferProgress::percent() const
{
    if (m_total <= 0)
        return 0;
    return int((m_done * 100 + m_total / 2) / m_total);
}

double TransferProgress::rate() const
{
    const qint64 ms = m_nowMs - m_firstMs;
    const qint64 units = m_done - m_firstDone;
    if (ms <= 0 || units <= 0)
        return 0;
    return double(units) * 1000.0 / double(ms);
}

qint64 TransferProgress::secondsLeft() const
{
    const double r = rate();
    if (r <= 0)
        return -1;
    return qint64(double(m_total - m_done) / r + 0.5);
}

QString TransferProgress::counts() const
{
    if (m_unit == Queries)
        return QCoreApplication::translate("TransferProgress", "запрос %1 из %2")
                .arg(m_done)
                .arg(m_total);
    return QCoreApplication::translate("TransferProgress", "%1 из %2 байт")
            .arg(m_done)
            .arg(m_total);
}

QString TransferProgress::line() const
{
    const QString head = m_label.isEmpty() ? QString() : m_label + QStringLiteral(": ");
    return head + counts() + QStringLiteral(" (%1%)").arg(percent());
}

QString TransferProgress::details() const
{
    const qint64 left = secondsLeft();
    return counts() + QStringLiteral(", ") + rateText(rate(), m_unit)
            + QCoreApplication::translate("TransferProgress", ", осталось ")
            + (left < 0 ? QStringLiteral("?") : duration(left));
}

QString TransferProgress::statusLine(int barWidth) const
{
    const int filled = m_total > 0 ? int(m_done * barWidth / m_total) : 0;
    const QString bar
            = QString(filled, QLatin1Char('#')) + QString(barWidth - filled, QLatin1Char('.'));
    const QString head = m_label.isEmpty() ? QString() : m_label + QLatin1Char(' ');
    return head + QLatin1Char('[') + bar + QStringLiteral("] ") + QString::number(percent())
            + QStringLiteral("% ") + details();
}

QString TransferProgress::label(const QString &text)
{
    const QString file = QCoreApplication::translate("TransferProgress", ": передача файла ");
    int at = text.indexOf(file);
    if (at > 0)
        return text.left(at) + QStringLiteral(": ") + text.mid(at + file.size());
    at = text.indexOf(QCoreApplication::translate("TransferProgress", ": запрос "));
    if (at > 0)
        return text.left(at);
    return text;
}

QString TransferProgress::duration(qint64 s)
{
    s = qMax(qint64(0), s);
    const QString mmss
            = QStringLiteral("%1:%2").arg(s / 60 % 60).arg(s % 60, 2, 10, QLatin1Char('0'));
    if (s < 3600)
        return mmss;
    return QStringLiteral("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString TransferProgress::rateText(double perSecond, Unit unit)
{
    if (perSecond <= 0)
        return QCoreApplication::translate("TransferProgress", "? %1/с")
                .arg(unit == Queries ? QCoreApplication::translate("TransferProgress", "запр.")
                                     : QCoreApplication::translate("TransferProgress", "Б"));
    if (unit == Queries)
        return QCoreApplication::translate("TransferProgress", "%1 запр./с")
                .arg(perSecond, 0, 'f', 1);
    if (perSecond < 1024)
        return QCoreApplication::translate("TransferProgress", "%1 Б/с").arg(qRound(perSecond));
    return QCoreApplication::translate("TransferProgress", "%1 КБ/с")
            .arg(perSecond / 1024, 0, 'f', 1);
}
