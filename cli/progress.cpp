#include "cli/progress.h"

#include "cli/output.h"

#include <cstdio>

namespace {
// A terminal line is redrawn at most this often, and whenever the percentage moves.
constexpr qint64 RedrawMs = 100;
} // namespace

// Only the firmware transfer counts bytes; it says so before it starts.
CliProgress::CliProgress(bool quiet, bool terminal)
    : m_quiet(quiet), m_terminal(terminal), m_progress(TransferProgress::Queries)
{
    m_clock.start();
}

bool CliProgress::stderrIsTerminal()
{
    const OutputScope *scope = OutputScope::current();
    return isTerminal(stderr) && !(scope && !scope->prefix.isEmpty());
}

void CliProgress::setUnit(TransferProgress::Unit unit)
{
    m_progress = TransferProgress(unit);
}

void CliProgress::step(const QString &text)
{
    m_progress.setStep(text);
    if (m_quiet)
        return;
    // On a terminal every step redraws the one status line; elsewhere a
    // step is a line of its own, unless a counted part runs, whose lines
    // name the step.
    if (m_terminal) {
        printStatus(m_progress.active() ? m_progress.statusLine() : text);
        return;
    }
    if (!m_progress.active())
        printProgressLine(text);
}

void CliProgress::value(int done, int total)
{
    const qint64 now = m_clock.elapsed();
    const bool tenth = m_progress.update(done, total, now);
    if (m_quiet)
        return;
    if (!m_progress.active()) {
        if (m_terminal)
            endStatus();
        m_drawnPercent = -1;
        return;
    }
    if (!m_terminal) {
        if (tenth)
            printProgressLine(m_progress.line());
        return;
    }
    if (m_progress.percent() == m_drawnPercent && now - m_drawnMs < RedrawMs)
        return;
    m_drawnMs = now;
    m_drawnPercent = m_progress.percent();
    printStatus(m_progress.statusLine());
}
