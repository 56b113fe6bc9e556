#pragma once

// Runs the built kzconfig-cli (KZCONFIG_CLI) as a script would and keeps its
// exit status and both outputs.
#include <QProcess>
#include <QStringList>

#include <sys/resource.h>

struct Run {
    int code = -1;
    QString out;
    QString err;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QStringList errLines() const { return err.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// fileSizeLimit: the largest file the command may write (0: no limit).
inline Run cli(const QStringList &args, int timeoutMs = 60000, rlim_t fileSizeLimit = 0)
{
    QProcess p;
    if (fileSizeLimit)
        p.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit { fileSizeLimit, fileSizeLimit };
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // As under ctest: debug output is off unless the command line turns it on.
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("default.debug=false"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KZCONFIG_CLI), args);
    Run r;
    if (!p.waitForStarted(10000))
        return r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
