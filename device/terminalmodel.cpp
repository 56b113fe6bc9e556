#include "device/terminalmodel.h"

#include <QCoreApplication>

#include "device/exchangelog.h"

TerminalModel::TerminalModel(int maxLines) : m_maxLines(qMax(1, maxLines)) { }

int TerminalModel::append(Direction direction, const QByteArray &bytes, qint64 msecs,
                          bool *dropped)
{
    if (dropped)
        *dropped = false;
    int changed = int(m_lines.size());
    int from = 0;
    while (from < bytes.size()) {
        const int lf = bytes.indexOf('\n', from);
        const int end = lf < 0 ? int(bytes.size()) : lf + 1;
        const QByteArray piece = bytes.mid(from, end - from);
        from = end;
        // The rest of an unfinished line of the same side joins it; the other
        // side's bytes start a line of their own.
        if (!m_lines.isEmpty() && !m_lines.constLast().finished()
            && m_lines.constLast().direction == direction) {
            m_lines.last().bytes += piece;
            changed = qMin(changed, int(m_lines.size()) - 1);
        } else {
            m_lines.append(Line { direction, msecs, piece });
        }
    }
    // Dropped a tenth at a time, so that a view redraws seldom.
    if (m_lines.size() > m_maxLines) {
        const int excess = int(m_lines.size()) - m_maxLines + m_maxLines / 10;
        const int drop = qMin(excess, int(m_lines.size()) - 1);
        m_lines.erase(m_lines.begin(), m_lines.begin() + drop);
        m_dropped += drop;
        if (dropped)
            *dropped = true;
        changed = 0;
    }
    return changed;
}

void TerminalModel::clear()
{
    m_lines.clear();
    m_dropped = 0;
}

QString TerminalModel::notice() const
{
    if (m_dropped == 0)
        return QString();
    return QCoreApplication::translate("TerminalModel", "[Более ранние строки удалены: %1]\n")
            .arg(m_dropped);
}

QString TerminalModel::render(const Line &line, const RenderOptions &options)
{
    const QString stamp =
            options.timestamps ? localTimeText(line.msecs, false) + QLatin1Char(' ') : QString();
    if (!options.hex) {
        QByteArray text = line.bytes;
        const int zero = text.indexOf('\0');
        if (zero >= 0) {
            // A zero byte ends the text; the line's end still ends the line.
            const bool lf = text.endsWith('\n');
            text.truncate(zero);
            if (lf)
                text += "\r\n";
        }
        return stamp + QString::fromLocal8Bit(text);
    }
    QString out;
    const QString indent(stamp.size(), QLatin1Char(' '));
    for (int row = 0; row < line.bytes.size(); row += HexBytesPerRow) {
        const QByteArray chunk = line.bytes.mid(row, HexBytesPerRow);
        QString hex;
        QString chars;
        for (const char c : chunk) {
            const uchar u = uchar(c);
            hex += QStringLiteral("%1 ").arg(u, 2, 16, QLatin1Char('0')).toUpper();
            chars += (u >= 0x20 && u < 0x7f) ? QChar(u) : QLatin1Char('.');
        }
        out += (row == 0 ? stamp : indent)
                + hex.leftJustified(HexBytesPerRow * 3, QLatin1Char(' ')) + QLatin1Char(' ') + chars
                + QLatin1Char('\n');
    }
    return out;
}

QString TerminalModel::toText(const RenderOptions &options) const
{
    QString out = notice();
    for (const Line &line : m_lines)
        out += render(line, options);
    return out;
}
