#pragma once

#include "firmware/transferprogress.h"

#include <QElapsedTimer>
#include <QString>

// The worker's progress on standard error: on a terminal one status line
// redrawn in place; otherwise one line per step and per tenth of the work;
// nothing with --quiet.
class CliProgress
{
public:
    CliProgress(bool quiet, bool terminal);

    void setUnit(TransferProgress::Unit unit);
    void step(const QString &text);
    void value(int done, int total);

    // Whether standard error is a terminal (and no port prefix is in force).
    static bool stderrIsTerminal();

private:
    bool m_quiet;
    bool m_terminal;
    TransferProgress m_progress;
    QElapsedTimer m_clock;
    qint64 m_drawnMs = -1;
    int m_drawnPercent = -1;
};
