#include "device/errorstack.h"

#include <QStringList>

ErrorStack &ErrorStack::push(const QString &where, const QString &what)
{
    m_frames.prepend(Frame { where, what });
    return *this;
}

ErrorStack &ErrorStack::addCause(const ErrorStack &cause)
{
    m_frames += cause.m_frames;
    return *this;
}

namespace {
QString frameLine(const ErrorStack::Frame &f)
{
    if (f.where.isEmpty())
        return f.what;
    return f.where + QStringLiteral(": ") + f.what;
}
} // namespace

QString ErrorStack::format() const
{
    QStringList lines;
    for (const Frame &f : m_frames)
        lines << frameLine(f);
    return lines.join(QLatin1Char('\n'));
}

QString ErrorStack::format(const QString &headline) const
{
    QString out = headline;
    for (const Frame &f : m_frames)
        out += QStringLiteral("\n  ") + frameLine(f);
    return out;
}
