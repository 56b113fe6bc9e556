#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What the terminal holds: the bytes sent and received, as lines. Each line
// remembers when its first byte came; bytes of one line that arrive in pieces
// are added to it. Bounded: past `maxLines` the oldest lines are dropped, and
// the rendering says so once, at its top.
class TerminalModel
{
public:
    enum Direction { Sent, Received };

    struct Line {
        Direction direction = Received;
        qint64 msecs = 0; // wall clock of the first byte
        QByteArray bytes; // including the line's LF, if it has one
        bool finished() const { return bytes.endsWith('\n'); }
    };

    struct RenderOptions {
        bool timestamps = false;
        bool hex = false;
    };

    static constexpr int DefaultMaxLines = 10000;
    static constexpr int HexBytesPerRow = 16;

    explicit TerminalModel(int maxLines = DefaultMaxLines);

    // Adds bytes; returns the index of the first line that changed (the
    // unfinished last line, or the first new one). When lines had to be
    // dropped, *dropped is set and everything must be drawn again.
    int append(Direction direction, const QByteArray &bytes, qint64 msecs, bool *dropped = nullptr);
    void clear();

    const QList<Line> &lines() const { return m_lines; }
    qint64 droppedLines() const { return m_dropped; }
    int maxLines() const { return m_maxLines; }

    // The notice at the top once lines have been dropped; empty before.
    QString notice() const;
    // One line as shown. Text: as local 8-bit text, ending at a zero byte.
    // Hex: rows of hex pairs with the printable characters beside them.
    static QString render(const Line &line, const RenderOptions &options);
    // Everything, as saved: the notice, then every line as shown.
    QString toText(const RenderOptions &options) const;

private:
    QList<Line> m_lines;
    qint64 m_dropped = 0;
    int m_maxLines;
};
