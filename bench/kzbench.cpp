// Measures what the tool adds on top of the serial line: connecting, the
// firmware transfer, the report, and the window's start, memory, idle CPU and
// terminal delay, the search for a modem, and kzconfig-cli on eight modems at
// once. Prints one table; every figure is the median of several runs.
//
//   build/bench/kzbench [--runs N] [--only connect|firmware|report|window|detect|fleet]
#include "app/mainwindow.h"
#include "device/exchangelog.h"
#include "device/kzconfigthread.h"
#include "device/workerclient.h"
#include "firmware/firmwarecontainer.h"
#include "sim/simmodem.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr double LineBaud = 115200.0;

// The exchange log off, or on with a log file written line by line as the
// command line's --log does (masking included): the log's whole cost.
class LogSwitch
{
public:
    explicit LogSwitch(bool on)
    {
        ExchangeLog::global().setEnabled(on);
        if (!on)
            return;
        m_file.setFileName(m_dir.filePath(QStringLiteral("exchange.log")));
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        ExchangeLog::global().setSink([this](const ExchangeEntry &e) {
            m_file.write((ExchangeLog::format(e, false) + QLatin1Char('\n')).toUtf8());
        });
    }
    ~LogSwitch()
    {
        ExchangeLog::global().setSink(nullptr);
        ExchangeLog::global().setEnabled(true);
    }
    LogSwitch(const LogSwitch &) = delete;
    LogSwitch &operator=(const LogSwitch &) = delete;

private:
    QTemporaryDir m_dir;
    QFile m_file;
};

double median(QList<double> v)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double lineSeconds(qint64 bytes)
{
    return bytes * 10.0 / LineBaud;
}

// Waits in an event loop until `done` or the timeout; false on timeout.
bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

SimState fullModem(bool lineRate)
{
    SimState s;
    s.lineRate = lineRate;
    for (int i = 0; i < 4; ++i) {
        s.gprs << QStringList { QStringLiteral("gprs%1").arg(i), QStringLiteral("internet.operator%1.ru").arg(i),
                                QStringLiteral("user%1").arg(i), QStringLiteral("pass%1").arg(i) };
        s.ntrip << QStringList { QStringLiteral("ntrip%1").arg(i), QStringLiteral("caster%1.example.org").arg(i),
                                 QStringLiteral("2101"), QStringLiteral("MOUNT%1").arg(i),
                                 QStringLiteral("client%1").arg(i), QStringLiteral("cpass%1").arg(i),
                                 QStringLiteral("spass%1").arg(i),
                                 QStringLiteral("MOUNT%1;RTCM 3.2;1004(1),1006(10);2;GPS+GLO;NET;RUS;55.75;37.62;0;0;KZ520;none;N;N;9600;none").arg(i) };
    }
    s.dyndnsSet = true;
    s.dyndns = QStringList { QStringLiteral("surveyor"), QStringLiteral("secret"), QStringLiteral("base.dyndns.example") };
    s.autoexecC = QStringLiteral("ATRD*94*gprs0*ntrip0#");
    s.btMode = 1;
    return s;
}

// A blocking client of a worker on its thread; the progress values are
// timed on the worker's thread as they are emitted.
struct Rig {
    SimModem sim;
    WorkerClient client;
    KZConfigThread &worker;
    QList<QPair<qint64, QPair<int, int>>> values; // elapsed ns, value, maximum
    QElapsedTimer clock;

    explicit Rig(const SimState &s) : worker(client.worker())
    {
        sim.setState(s);
        QObject::connect(&worker, &KZConfigThread::progressValue, &worker,
                         [this](int v, int m) { values << qMakePair(clock.nsecsElapsed(), qMakePair(v, m)); },
                         Qt::DirectConnection);
        clock.start();
    }
    bool start()
    {
        if (!sim.start())
            return false;
        worker.setPortSettings(sim.portName(), 19, 3, 0, 0, 0);
        client.start();
        return true;
    }
    bool op(const char *slot, int timeoutMs = 120000) { return client.run(slot, timeoutMs).ok; }
    // As if the device information had been read, on the worker's thread.
    void markOnline()
    {
        KZConfigThread *w = &worker;
        QMetaObject::invokeMethod(w, [w] { w->setOnline(true); }, Qt::BlockingQueuedConnection);
    }
};

// 1. From doConnect to the end of the first full read.
std::optional<QPair<double, double>> connectOnce(bool lineRate)
{
    Rig rig(fullModem(lineRate));
    if (!rig.start())
        return std::nullopt;
    QElapsedTimer t;
    t.start();
    if (!rig.client.connectChain().ok)
        return std::nullopt;
    int ok = 0, error = 0;
    if (!rig.client.readConfig(0xFF, &ok, &error, 60000))
        return std::nullopt;
    const double seconds = t.nsecsElapsed() / 1e9;
    const double floor = lineSeconds(rig.sim.received().size() + rig.sim.sent().size());
    return qMakePair(seconds, floor);
}

// 5. kzconfig-cli reading every group of N modems at once, each at the
// emulated line rate: the seconds from start to exit.
std::optional<double> fleetReadOnce(int modems)
{
    std::vector<std::unique_ptr<SimModem>> sims;
    QStringList args;
    for (int i = 0; i < modems; ++i) {
        sims.push_back(std::make_unique<SimModem>());
        sims.back()->setState(fullModem(true));
        if (!sims.back()->start())
            return std::nullopt;
        args << QStringLiteral("--port") << sims.back()->portName();
    }
    args << QStringLiteral("--quiet") << QStringLiteral("read");
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral(KZCONFIG_CLI), args);
    if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return t.nsecsElapsed() / 1e9;
}

// 2. A 256 KiB file over OBEX at the emulated line rate: the fraction of the
// line's rate the transfer reaches (body bytes and packet framing both ways).
std::optional<double> firmwareOnce(int maxPacket)
{
    SimState s;
    s.echo = false;
    s.lineRate = true;
    s.obexMaxPacket = maxPacket;
    Rig rig(s);
    if (!rig.start() || !rig.op("doConnect"))
        return std::nullopt;
    rig.markOnline(); // the update itself asks nothing of the identity
    QByteArray data(256 * 1024, '\0');
    quint32 x = 12345;
    for (char &c : data) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    FirmwareContainer fw;
    fw.version = 3;
    fw.info.model = QStringLiteral("KZ520");
    fw.info.hardwareVersions = QStringList { QStringLiteral("03") };
    fw.files = { FirmwareFile { QStringLiteral("atc65.jar"), data } };
    rig.values.clear();
    if (!rig.client.applyFirmware(fw, "applyFirmware", 600000).ok)
        return std::nullopt;
    // The transfer runs from the first progress value to the last full one.
    qint64 start = -1, end = -1;
    for (const auto &v : rig.values) {
        if (v.second.second > 0 && v.second.first == 0 && start < 0)
            start = v.first;
        if (v.second.second > 0 && v.second.first == v.second.second)
            end = v.first;
    }
    if (start < 0 || end <= start)
        return std::nullopt;
    int packets = 0;
    qint64 lineBytes = 0;
    for (const QByteArray &p : rig.sim.obexPackets()) {
        if (p.size() > 0 && (uchar(p[0]) & 0x7F) == 0x02 && p.contains(char(0x48))) {
            ++packets;
            lineBytes += p.size() + 3; // the packet and its 3-byte answer
        }
    }
    if (qEnvironmentVariableIsSet("KZ_TRACE"))
        fprintf(stderr, "packets %d lineBytes %lld window %.3f s line %.3f s values %d\n", packets,
                (long long)lineBytes, (end - start) / 1e9, lineSeconds(lineBytes), int(rig.values.size()));
    return lineSeconds(lineBytes) / ((end - start) / 1e9);
}

// 3. The report of a modem with 3 stores, at the emulated line rate.
std::optional<double> reportOnce()
{
    SimState s;
    s.echo = false;
    s.lineRate = true;
    s.stores = { qMakePair(QStringLiteral("GPRS1"), QStringLiteral("inet\r\ninternet.mts.ru")),
                 qMakePair(QStringLiteral("NTRIP1"), QStringLiteral("caster1")),
                 qMakePair(QStringLiteral("LOG"), QStringLiteral("boot ok\r\npower 4.02 V")) };
    Rig rig(s);
    if (!rig.start() || !rig.op("doConnect"))
        return std::nullopt;
    rig.markOnline();
    QElapsedTimer t;
    t.start();
    QString report;
    if (!rig.client.collectReport(false, &report, 120000))
        return std::nullopt;
    return t.nsecsElapsed() / 1e9;
}

long rssKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &l : f.readAll().split('\n'))
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

double cpuSeconds()
{
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

// Child process: shows a window, reports its first paint, and for the real
// window connects to a simulated modem and measures memory, idle CPU and the
// terminal's delay. Prints "key value" lines.
class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && !painted) {
            painted = true;
            printf("paint\n");
            fflush(stdout);
        }
        return QObject::eventFilter(o, e);
    }
};

int windowChild(bool bare, bool idle)
{
    PaintWatch watch;
    if (bare) {
        QMainWindow w;
        w.setCentralWidget(new QWidget);
        w.resize(680, 614);
        w.installEventFilter(&watch);
        w.show();
        waitFor([&] { return watch.painted; }, 10000);
        printf("rss %ld\n", rssKiB());
        return 0;
    }
    MainWindow w;
    w.installEventFilter(&watch);
    w.show();
    waitFor([&] { return watch.painted; }, 10000);

    SimModem sim;
    SimState s = fullModem(false);
    sim.setState(s);
    if (!sim.start())
        return 1;
    w.selectPort(sim.portName());
    w.form()->connectBtn->click();
    const QString done = QStringLiteral("Модем подключен, информация и настройки получены.");
    if (!waitFor([&] { return w.statusBar()->currentMessage() == done; }, 30000))
        return 1;
    printf("rss %ld\n", rssKiB());
    fflush(stdout);

    // Bytes arriving while idle, until they show in the terminal.
    QList<double> delays;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer t;
        const QString marker = QStringLiteral("RING%1").arg(i);
        t.start();
        sim.unsolicited(("\r\n" + marker + "\r\n").toLatin1());
        if (!waitFor([&] { return w.form()->termLog->toPlainText().contains(marker); }, 2000))
            return 1;
        delays << t.nsecsElapsed() / 1e6;
    }
    printf("termdelay %.2f\n", median(delays));

    if (idle) {
        const double before = cpuSeconds();
        QElapsedTimer t;
        t.start();
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        printf("idlecpu %.4f\n", (cpuSeconds() - before) / (t.nsecsElapsed() / 1e9) * 100.0);
    }
    fflush(stdout);
    sim.stop();
    return 0;
}

struct ChildResult {
    double paintMs = -1;
    QMap<QString, double> values;
};

ChildResult runChild(const QStringList &args)
{
    ChildResult r;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(QCoreApplication::applicationFilePath(), args);
    QByteArray out;
    while (p.state() != QProcess::NotRunning || p.bytesAvailable()) {
        p.waitForReadyRead(50);
        out += p.readAll();
        while (out.contains('\n')) {
            const int nl = out.indexOf('\n');
            const QList<QByteArray> kv = out.left(nl).split(' ');
            out.remove(0, nl + 1);
            if (kv.value(0) == "paint")
                r.paintMs = t.nsecsElapsed() / 1e6;
            else if (kv.size() == 2)
                r.values.insert(QString::fromLatin1(kv[0]), kv[1].toDouble());
        }
        if (t.elapsed() > 120000) {
            p.kill();
            break;
        }
    }
    p.waitForFinished(5000);
    return r;
}

struct Row {
    QString figure;
    QString value;
    QString goal;
    QString ratio;
    bool met;
};

} // namespace

// The search for a modem: seconds until it has found a modem at 9600 on one
// port (line rate emulated), or given up on a silent port.
std::optional<double> detectOnce(bool silent)
{
    SimState state;
    state.baud = 9600;
    state.lineRate = true;
    state.silent = silent;
    SimModem sim;
    sim.setState(state);
    if (!sim.start())
        return std::nullopt;
    WorkerClient client;
    QElapsedTimer t;
    t.start();
    const WorkerClient::Result r =
            client.run("detect", 60000, Q_ARG(QStringList, QStringList { sim.portName() }));
    if (r.timedOut)
        return std::nullopt;
    const double secs = t.nsecsElapsed() / 1e9;
    // Read after the completion, as the command line does.
    const KZConfigThread &worker = client.worker();
    const bool found = !worker.detectResults.isEmpty() && worker.detectResults.first().found();
    if (found == silent)
        return std::nullopt;
    return secs;
}

int main(int argc, char *argv[])
{
    // The window figures need no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "default.debug=false");
    QApplication app(argc, argv);
    QCommandLineParser p;
    QCommandLineOption runsOpt(QStringLiteral("runs"), QStringLiteral("Runs per figure."), QStringLiteral("n"), QStringLiteral("5"));
    QCommandLineOption onlyOpt(QStringLiteral("only"), QStringLiteral("connect, firmware, report, window, detect or fleet."), QStringLiteral("name"));
    QCommandLineOption childOpt(QStringLiteral("window-child"), QStringLiteral("internal"), QStringLiteral("kind"));
    p.addOptions({ runsOpt, onlyOpt, childOpt });
    p.addHelpOption();
    p.process(app);
    if (p.isSet(childOpt)) {
        const QString kind = p.value(childOpt);
        return windowChild(kind == QLatin1String("bare"), kind == QLatin1String("idle"));
    }
    const int runs = qMax(1, p.value(runsOpt).toInt());
    const QString only = p.value(onlyOpt);
    auto want = [&](const char *name) { return only.isEmpty() || only == QLatin1String(name); };
    QList<Row> rows;
    auto fmt = [](double v, int prec) { return QString::number(v, 'f', prec); };

    if (want("connect")) {
        QList<double> ratios, secs, fast;
        for (int i = 0; i < runs; ++i) {
            if (auto r = connectOnce(true)) {
                ratios << r->first / r->second;
                secs << r->first;
            }
            if (auto r = connectOnce(false))
                fast << r->first * 1000;
        }
        const double ratio = median(ratios);
        rows << Row { QStringLiteral("1a connect to full read, line 115200 (x line floor)"),
                      fmt(median(secs), 3) + QStringLiteral(" s"), QStringLiteral("<= 1.3"), fmt(ratio, 3),
                      !ratios.isEmpty() && ratio <= 1.3 };
        rows << Row { QStringLiteral("1b connect to full read, no line emulation"),
                      fmt(median(fast), 1) + QStringLiteral(" ms"), QStringLiteral("< 100 ms"), QString(),
                      !fast.isEmpty() && median(fast) < 100 };
    }
    if (want("firmware")) {
        for (int packet : { 8192, 1024 }) {
            QList<double> f;
            for (int i = 0; i < qMin(runs, 3); ++i)
                if (auto r = firmwareOnce(packet))
                    f << *r;
            const double goal = packet == 8192 ? 0.99 : 0.98;
            rows << Row { QStringLiteral("2%1 firmware 256 KiB, %2-byte packets (fraction of line rate)")
                                  .arg(packet == 8192 ? "a" : "b").arg(packet),
                          fmt(median(f), 4), QStringLiteral(">= ") + fmt(goal, 2), fmt(median(f), 4),
                          !f.isEmpty() && median(f) >= goal };
        }
    }
    if (want("connect") || want("firmware")) {
        // The same figures with the log off and on, alternating in one run.
        QList<double> off, on, offFast, onFast, fwOff, fwOn;
        for (int i = 0; i < runs; ++i) {
            for (const bool logOn : { false, true }) {
                LogSwitch log(logOn);
                if (want("connect")) {
                    if (auto r = connectOnce(true))
                        (logOn ? on : off) << r->first;
                    if (auto r = connectOnce(false))
                        (logOn ? onFast : offFast) << r->first * 1000;
                }
                if (want("firmware") && i < qMin(runs, 3)) {
                    if (auto r = firmwareOnce(8192))
                        (logOn ? fwOn : fwOff) << *r;
                }
            }
        }
        if (want("connect")) {
            const double ratio = median(on) / qMax(1e-9, median(off));
            rows << Row { QStringLiteral("1c connect, line 115200, log+file on (x log off)"),
                          fmt(median(on), 3) + QStringLiteral(" s (off ") + fmt(median(off), 3) + QStringLiteral(" s)"),
                          QStringLiteral("<= 1.05"), fmt(ratio, 3), !on.isEmpty() && !off.isEmpty() && ratio <= 1.05 };
            const double fastRatio = median(onFast) / qMax(1e-9, median(offFast));
            rows << Row { QStringLiteral("1d connect, no line emulation, log+file on (x log off)"),
                          fmt(median(onFast), 1) + QStringLiteral(" ms (off ") + fmt(median(offFast), 1) + QStringLiteral(" ms)"),
                          QStringLiteral("< 100 ms"), fmt(fastRatio, 3),
                          !onFast.isEmpty() && !offFast.isEmpty() && median(onFast) < 100 };
        }
        if (want("firmware")) {
            rows << Row { QStringLiteral("2c firmware 8192-byte packets, log+file on (fraction; off)"),
                          fmt(median(fwOn), 4) + QStringLiteral(" (off ") + fmt(median(fwOff), 4) + QStringLiteral(")"),
                          QStringLiteral(">= 0.99"), fmt(median(fwOn), 4),
                          !fwOn.isEmpty() && median(fwOn) >= 0.99 && median(fwOn) >= median(fwOff) - 0.005 };
        }
    }
    if (want("report")) {
        QList<double> s;
        for (int i = 0; i < qMin(runs, 3); ++i)
            if (auto r = reportOnce())
                s << *r;
        rows << Row { QStringLiteral("3 report, 3 stores, line 115200"), fmt(median(s), 2) + QStringLiteral(" s"),
                      QStringLiteral("a few s"), QString(), !s.isEmpty() && median(s) < 5 };
    }
    if (want("window")) {
        QList<double> barePaint, fullPaint, bareRss, fullRss, delay, idle;
        for (int i = 0; i < runs; ++i) {
            const ChildResult b = runChild({ QStringLiteral("--window-child"), QStringLiteral("bare") });
            const ChildResult f = runChild({ QStringLiteral("--window-child"), QStringLiteral("full") });
            if (b.paintMs > 0 && f.paintMs > 0) {
                barePaint << b.paintMs;
                fullPaint << f.paintMs;
            }
            if (b.values.contains(QStringLiteral("rss")) && f.values.contains(QStringLiteral("rss"))) {
                bareRss << b.values.value(QStringLiteral("rss"));
                fullRss << f.values.value(QStringLiteral("rss"));
            }
            if (f.values.contains(QStringLiteral("termdelay")))
                delay << f.values.value(QStringLiteral("termdelay"));
        }
        const ChildResult idleRun = runChild({ QStringLiteral("--window-child"), QStringLiteral("idle") });
        if (idleRun.values.contains(QStringLiteral("idlecpu")))
            idle << idleRun.values.value(QStringLiteral("idlecpu"));
        const double paintRatio = median(fullPaint) / qMax(1e-9, median(barePaint));
        const double rssRatio = median(fullRss) / qMax(1e-9, median(bareRss));
        rows << Row { QStringLiteral("4a start to first paint (x bare QMainWindow)"),
                      fmt(median(fullPaint), 1) + QStringLiteral(" ms (bare ") + fmt(median(barePaint), 1) + QStringLiteral(" ms)"),
                      QStringLiteral("<= 1.5"), fmt(paintRatio, 2), !fullPaint.isEmpty() && paintRatio <= 1.5 };
        rows << Row { QStringLiteral("4b resident memory after full connect (x bare)"),
                      fmt(median(fullRss) / 1024, 1) + QStringLiteral(" MiB (bare ") + fmt(median(bareRss) / 1024, 1) + QStringLiteral(" MiB)"),
                      QStringLiteral("<= 1.5"), fmt(rssRatio, 2), !fullRss.isEmpty() && rssRatio <= 1.5 };
        rows << Row { QStringLiteral("4c CPU while connected and idle, 10 s"), fmt(median(idle), 3) + QStringLiteral(" %"),
                      QStringLiteral("< 1 %"), QString(), !idle.isEmpty() && median(idle) < 1.0 };
        rows << Row { QStringLiteral("4d byte arrival to terminal"), fmt(median(delay), 2) + QStringLiteral(" ms"),
                      QStringLiteral("< 20 ms"), QString(), !delay.isEmpty() && median(delay) < 20 };
    }

    if (want("detect")) {
        QList<double> found, silent;
        for (int i = 0; i < qMin(runs, 3); ++i) {
            if (auto r = detectOnce(false))
                found << *r;
            if (auto r = detectOnce(true))
                silent << *r;
        }
        rows << Row { QStringLiteral("5a find a modem at 9600 on one port"), fmt(median(found), 2) + QStringLiteral(" s"),
                      QStringLiteral("< 2 s"), QString(), !found.isEmpty() && median(found) < 2 };
        rows << Row { QStringLiteral("5b time spent on a silent port (all speeds)"), fmt(median(silent), 2) + QStringLiteral(" s"),
                      QStringLiteral("< 6 s"), QString(), !silent.isEmpty() && median(silent) < 6 };
    }
    if (want("fleet")) {
        QList<double> one, eight, ratios;
        for (int i = 0; i < qMin(runs, 3); ++i) {
            const auto a = fleetReadOnce(1);
            const auto b = fleetReadOnce(8);
            if (a && b) {
                one << *a;
                eight << *b;
                ratios << *b / *a;
            }
        }
        const double ratio = median(ratios);
        rows << Row { QStringLiteral("6 8 modems read at once, as a ratio to one (kzconfig-cli)"),
                      fmt(median(eight), 2) + QStringLiteral(" s (one ") + fmt(median(one), 2) + QStringLiteral(" s)"),
                      QStringLiteral("<= 1.5"), fmt(ratio, 2), !ratios.isEmpty() && ratio <= 1.5 };
    }

    printf("%-62s %-30s %-9s %-7s %s\n", "figure", "value", "goal", "ratio", "met");
    bool all = true;
    for (const Row &r : rows) {
        printf("%-62s %-30s %-9s %-7s %s\n", qPrintable(r.figure), qPrintable(r.value), qPrintable(r.goal),
               qPrintable(r.ratio), r.met ? "yes" : "NO");
        all = all && r.met;
    }
    return all ? 0 : 1;
}
