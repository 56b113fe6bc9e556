#pragma once

#include "cli/options.h"
#include "cli/session.h"
#include "forms/configset.h"

#include <memory>

// What every command gets: the parsed command line and, for the commands that
// talk to a modem, the session (created on first use).
struct CliContext {
    CliOptions options;

    Session &session()
    {
        if (!m_session)
            m_session = std::make_unique<Session>(options);
        return *m_session;
    }
    bool hung() const { return m_session && m_session->hung(); }

private:
    std::unique_ptr<Session> m_session;
};

// Each returns the process's exit status.
int verbPorts(CliContext &ctx);
int verbInfo(CliContext &ctx);
int verbRead(CliContext &ctx);
int verbBtScan(CliContext &ctx);
int verbSend(CliContext &ctx);
int verbAuth(CliContext &ctx);
int verbMode(CliContext &ctx);
int verbSave(CliContext &ctx);
int verbApply(CliContext &ctx);
int verbReset(CliContext &ctx);
int verbFwinfo(CliContext &ctx);
int verbFlash(CliContext &ctx);
int verbReport(CliContext &ctx);
int verbReportShow(CliContext &ctx);
int verbDetect(CliContext &ctx);
int verbStartApp(CliContext &ctx);
int verbDiff(CliContext &ctx);

// Shared steps of the configuration commands.
namespace CliSteps {
// Reads flags; prints the window's message when a group failed. False only
// when the worker did not finish.
bool read(Session &s, int flags, int *flagsError);
// Connects and reads every group, as the window does after Connect.
bool connectAndReadAll(Session &s, int *flagsError);
// Refuses (printing the message) values the line cannot carry.
bool valuesFit(const KZConfig &config, int flags);
// Writes the groups of flags except notRead (groups whose read failed),
// reads the written groups back, prints the failed groups (notRead among
// them) as "failed: NAME ..." and the window's messages; the exit status.
int writeAndReadBack(Session &s, const KZConfig &config, int flags, int notRead = 0);
// Prints the message and returns true when the line to the modem was lost.
bool lineLost(Session &s);
// --baud auto: the speed search on one port; prints "Скорость модема: N" and
// sets *baudCode, or prints why nothing was found.
bool findBaud(Session &s, const QString &port, int *baudCode);
// Prints, one a line, every command the write of config would send against
// the record last read, and sends nothing; the exit status. Groups in notRead
// (their read failed) are left out and reported failed, as the write does.
int dryRun(Session &s, const KZConfig &config, int flags, int notRead = 0);
// Loads the set named by the first argument as apply does, refusals and
// their messages included.
bool loadSet(const CliContext &ctx, ConfigSet::Loaded *loaded);
} // namespace CliSteps
