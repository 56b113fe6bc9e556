#include "cli/output.h"

#include "config/automode.h"
#include "config/visibletext.h"
#include "device/kzconfigthread.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <QJsonDocument>

#include <atomic>
#include <cstdio>
#if defined(Q_OS_UNIX)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace {

thread_local OutputScope *t_scope = nullptr;
std::atomic<bool> g_statusOpen { false };

// Every line of a text that spans several gets the prefix.
QString prefixed(const QString &text)
{
    if (!t_scope || t_scope->prefix.isEmpty())
        return text;
    QString out = t_scope->prefix + text;
    out.replace(QLatin1Char('\n'), QLatin1Char('\n') + t_scope->prefix);
    return out;
}

void writeLine(FILE *stream, const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    fflush(stream);
}

} // namespace

OutputScope::OutputScope() : m_previous(t_scope)
{
    t_scope = this;
}

OutputScope::~OutputScope()
{
    t_scope = m_previous;
}

OutputScope *OutputScope::current()
{
    return t_scope;
}

void printOut(const QString &line)
{
    writeLine(stdout, prefixed(VisibleText::escaped(line)));
}

void printOutRaw(const QString &line)
{
    writeLine(stdout, prefixed(line));
}

void printErr(const QString &line)
{
    if (t_scope)
        t_scope->lastError = line;
    printProgressLine(VisibleText::escaped(line));
}

bool isTerminal(FILE *stream)
{
#if defined(Q_OS_UNIX)
    return isatty(fileno(stream)) != 0;
#elif defined(Q_OS_WIN)
    return _isatty(_fileno(stream)) != 0;
#else
    return false;
#endif
}

bool stdoutIsTerminal()
{
    return isTerminal(stdout);
}

void printProgressLine(const QString &line)
{
    endStatus();
    writeLine(stderr, prefixed(line));
}

void printStatus(const QString &line)
{
    // Carriage return, the line, then erase what a longer line left.
    const QByteArray bytes = ("\r" + line + QStringLiteral("\x1b[K")).toUtf8();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    fflush(stderr);
    g_statusOpen = true;
}

void endStatus()
{
    if (g_statusOpen.exchange(false)) {
        fputc('\n', stderr);
        fflush(stderr);
    }
}

void printJson(const QJsonObject &object)
{
    if (t_scope && t_scope->collectJson) {
        t_scope->json = object;
        return;
    }
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Indented);
    writeLine(stdout, prefixed(QString::fromUtf8(json).trimmed()));
}

void printKeyValues(const KeyValues &lines)
{
    for (const auto &kv : lines)
        printOut(kv.first + QStringLiteral(": ") + kv.second);
}

void printKeyValues(const KeyValues &lines, bool json)
{
    if (!json) {
        printKeyValues(lines);
        return;
    }
    QJsonObject o;
    for (const auto &kv : lines)
        o.insert(kv.first, kv.second);
    printJson(o);
}


QStringList groupNames(int flags)
{
    static const struct {
        int flag;
        const char *name;
    } groups[] = {
        { KZConfig::ConfigBaudrate, "baudrate" }, { KZConfig::ConfigFraming, "framing" },
        { KZConfig::ConfigFlow, "flow" },         { KZConfig::ConfigGprs, "gprs" },
        { KZConfig::ConfigNtrip, "ntrip" },       { KZConfig::ConfigDyndns, "dyndns" },
        { KZConfig::ConfigAutoexec, "autoexec" }, { KZConfig::ConfigBluetooth, "bluetooth" },
    };
    QStringList names;
    for (const auto &g : groups)
        if (flags & g.flag)
            names << QLatin1String(g.name);
    return names;
}

KeyValues identityLines(const DeviceIdentity &w)
{
    return {
        { QStringLiteral("model"), w.model },
        { QStringLiteral("serial"), w.serialNumber },
        { QStringLiteral("software"), w.softwareVersion },
        { QStringLiteral("hardware"), w.hardwareVersion },
        { QStringLiteral("variant"), w.variant },
        { QStringLiteral("capabilities"), w.capabilities.join(QLatin1Char(';')) },
        { QStringLiteral("battery"), w.batteryText() },
        { QStringLiteral("bluetooth"), w.bluetoothText() },
        { QStringLiteral("sim"), w.operatorName },
        { QStringLiteral("link"), w.viaCom ? QStringLiteral("com") : QStringLiteral("bluetooth") },
    };
}

KeyValues modeLines(const KZConfig &config)
{
    const AutoMode::Autostart start = AutoMode::autostart(config.autoexecBt, config.autoexecCom);
    const QString &command = start.command;
    QString channel = QStringLiteral("none");
    if (start.channel == AutoMode::Channel::Bt)
        channel = QStringLiteral("bt");
    else if (start.channel == AutoMode::Channel::Com)
        channel = QStringLiteral("com");

    const AutoMode::Parsed p = AutoMode::parse(command);
    const int mode = p.recognised ? p.mode : 0;
    QString name = QStringLiteral("unknown");
    switch (mode) {
    case AutoMode::BaseCsd: name = QStringLiteral("base-csd"); break;
    case AutoMode::BaseTcp: name = QStringLiteral("base-tcp"); break;
    case AutoMode::BaseNtripServer: name = QStringLiteral("base-ntrip-server"); break;
    case AutoMode::BaseNtripCaster: name = QStringLiteral("base-ntrip-caster"); break;
    case AutoMode::RoverCsd: name = QStringLiteral("rover-csd"); break;
    case AutoMode::RoverTcp: name = QStringLiteral("rover-tcp"); break;
    case AutoMode::RoverNtrip: name = QStringLiteral("rover-ntrip"); break;
    }

    KeyValues lines { { QStringLiteral("channel"), channel }, { QStringLiteral("mode"), name } };
    if (mode != 0 && (mode & AutoMode::Gprs))
        lines.append({ QStringLiteral("gprs"), p.gprs });
    if (mode == AutoMode::BaseNtripServer || mode == AutoMode::BaseNtripCaster
        || mode == AutoMode::RoverNtrip)
        lines.append({ QStringLiteral("ntrip"), p.ntrip });
    if (mode == AutoMode::BaseTcp)
        lines.append({ QStringLiteral("port"), p.baseTcpPort });
    if (mode == AutoMode::RoverTcp) {
        lines.append({ QStringLiteral("port"), p.roverTcpPort });
        lines.append({ QStringLiteral("address"), p.roverTcpAddress });
    }
    if (mode == AutoMode::RoverCsd)
        lines.append({ QStringLiteral("number"), p.roverCsdNumber });
    // Base CSD answers calls: it has no reconnecting form.
    if (mode != 0 && mode != AutoMode::BaseCsd)
        lines.append({ QStringLiteral("reconnect"),
                       p.reconnect ? QStringLiteral("yes") : QStringLiteral("no") });
    lines.append({ QStringLiteral("command"), command });
    return lines;
}
