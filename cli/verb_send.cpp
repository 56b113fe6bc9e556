#include "cli/output.h"
#include "cli/verbs.h"
#include "config/configreplies.h"
#include "device/linecodec.h"

#include <QCoreApplication>
#include <QTimer>

namespace {
// A modem that talks without end still lets the command finish.
constexpr int OverallMs = 600000;

} // namespace

int verbSend(CliContext &ctx)
{
    // The raw answer is the command's job; a terminal still gets control
    // characters as visible escapes.
    const bool raw = !stdoutIsTerminal();
    const auto printAnswer = [raw](const QString &line) { raw ? printOutRaw(line) : printOut(line); };
    Session &s = ctx.session();
    if (!s.connectModem())
        return ExitFailed;

    enum class End { None, Ok, Error, Silence, TooLong };
    End end = End::None;
    QByteArray pending;

    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(ctx.options.timeoutMs);
    QObject::connect(&silence, &QTimer::timeout, &s, [&] {
        if (end == End::None)
            end = End::Silence;
        emit s.changed();
    });

    // The modem's answer arrives as the terminal's raw reads; it is cut into
    // lines here and ends at the first final line.
    auto conn = QObject::connect(&s.worker, &KZSerialPort::rawRead, &s, [&](const QByteArray &data) {
        if (end != End::None)
            return;
        silence.start();
        pending += data;
        int nl;
        while (end == End::None && (nl = pending.indexOf('\n')) >= 0) {
            QByteArray raw = pending.left(nl);
            pending.remove(0, nl + 1);
            while (raw.endsWith('\r'))
                raw.chop(1);
            if (raw.size() > KZSerialPort::MaxLineLength) {
                end = End::TooLong;
                break;
            }
            const QString line = QString::fromLatin1(raw);
            if (line.isEmpty())
                continue;
            printAnswer(line);
            if (ConfigReplies::isFinalLine(line))
                end = line == QLatin1String("OK") ? End::Ok : End::Error;
        }
        // A modem that streams without a line end must not fill the memory.
        if (end == End::None && pending.size() > KZSerialPort::MaxLineLength)
            end = End::TooLong;
        emit s.changed();
    });

    QMetaObject::invokeMethod(&s.worker, "termSend", Qt::QueuedConnection,
                              Q_ARG(QByteArray, LineCodec::toLatin1(ctx.options.args.at(0)) + "\r\n"));
    silence.start();
    s.waitUntil([&] { return end != End::None; }, OverallMs);
    QObject::disconnect(conn);

    if (end == End::TooLong) {
        printErr(QCoreApplication::translate(
                         "Cli", "Строка ответа модема длиннее %1 байт: ответ не принят.")
                         .arg(KZSerialPort::MaxLineLength));
        return ExitFailed;
    }
    if (end == End::None || end == End::Silence) {
        const QString rest = QString::fromLatin1(pending).trimmed();
        if (!rest.isEmpty())
            printAnswer(rest);
        printErr(QCoreApplication::translate("Cli", "Модем не ответил «OK» или «ERROR» за %1 мс.")
                         .arg(ctx.options.timeoutMs));
        return ExitFailed;
    }
    return end == End::Ok ? ExitOk : ExitFailed;
}
