#pragma once

#include <QList>
#include <QString>

// Why something failed, kept on its way up: each layer that gives up adds a
// frame saying where it was and what it met, so the reason at the bottom
// (a request and the response it got, or none) is not lost behind a short
// tag at the top.
class ErrorStack
{
public:
    struct Frame {
        QString where;
        QString what;
        friend bool operator==(const Frame &a, const Frame &b)
        {
            return a.where == b.where && a.what == b.what;
        }
    };

    ErrorStack() = default;
    ErrorStack(const QString &where, const QString &what) { push(where, what); }

    // Adds a frame above those already held.
    ErrorStack &push(const QString &where, const QString &what);
    // Adds the frames of `cause` below those already held.
    ErrorStack &addCause(const ErrorStack &cause);

    bool isEmpty() const { return m_frames.isEmpty(); }
    void clear() { m_frames.clear(); }
    // Outermost first.
    const QList<Frame> &frames() const { return m_frames; }

    // The frames one per line, outermost first, as "where: what".
    QString format() const;
    // `headline` on the first line, the frames indented below it.
    QString format(const QString &headline) const;

private:
    QList<Frame> m_frames;
};
