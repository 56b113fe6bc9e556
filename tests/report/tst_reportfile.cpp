// The report file: its layout checked by a reader that is not Qt's, damaged
// files read back as clear failures, and a write that is whole or nothing.
#include "config/reportfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString SampleReport = QStringLiteral(
        "*** SENT ***\r\nAT^JINFO,0\r\n*** RCVD ***\r\n\r\nJI0:KZ520\r\n\r\nOK\r\n"
        "*** BLUETOOTH ***\r\n+BTMODE: 2,0012F3A4B5C6,1234\r\n"
        "*** GPRS ***\r\nмтс internet.mts.ru mts mts\r\n");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray bigEndian(quint32 n)
{
    QByteArray b(4, '\0');
    b[0] = char(n >> 24);
    b[1] = char(n >> 16);
    b[2] = char(n >> 8);
    b[3] = char(n);
    return b;
}

} // namespace

class TestReportFile : public QObject
{
    Q_OBJECT

private slots:
    // The length prefix and the zlib stream as an independent reader sees them.
    void layoutReadByZlib_data()
    {
        QTest::addColumn<QString>("report");
        QTest::newRow("sample") << SampleReport;
        QTest::newRow("empty") << QString();
        // Big enough for the length to use more than its lowest byte.
        QTest::newRow("long") << SampleReport.repeated(400);
    }
    void layoutReadByZlib()
    {
        QFETCH(QString, report);
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            QSKIP("python3 is not installed (scripts/install-deps.sh installs it)");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("r.kzrep"));
        QString error;
        QVERIFY2(ReportFile::write(path, report, &error), qPrintable(error));

        // Prints the stated length, then the inflated text.
        const QString script = QStringLiteral(
                "import sys, zlib\n"
                "data = open(sys.argv[1], 'rb').read()\n"
                "n = int.from_bytes(data[:4], 'big')\n"
                "text = zlib.decompress(data[4:]) if len(data) > 4 else b''\n"
                "sys.stdout.buffer.write(str(n).encode() + b'\\n' + text)\n");
        QProcess p;
        p.start(python, { QStringLiteral("-c"), script, path });
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray out = p.readAllStandardOutput();
        const qsizetype nl = out.indexOf('\n');
        QVERIFY(nl > 0);
        const QByteArray text = report.toLocal8Bit();
        QCOMPARE(out.left(nl).toLongLong(), qint64(text.size()));
        QCOMPARE(out.mid(nl + 1), text);
    }

    void roundTripReplacesOlderFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.kzrep"));
        // A longer earlier file must not leave a tail behind.
        QVERIFY(putFile(path, QByteArray(100000, 'x')));
        QVERIFY(ReportFile::write(path, SampleReport));
        QCOMPARE(fileBytes(path), ReportFile::encode(SampleReport));
        QString back, error;
        QVERIFY2(ReportFile::read(path, &back, &error), qPrintable(error));
        QCOMPARE(back, SampleReport);
    }

    void damagedBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = ReportFile::encode(SampleReport);
        const QByteArray stream = good.mid(4);
        const quint32 length = quint32(SampleReport.toLocal8Bit().size());
        QByteArray flipped = good;
        flipped[10] = char(flipped[10] ^ 0x55);

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("three bytes") << QByteArray("\0\0\1", 3);
        QTest::newRow("length only") << bigEndian(10);
        QTest::newRow("huge length") << bigEndian(0xFFFFFFFFu) + stream;
        QTest::newRow("length one short") << bigEndian(length - 1) + stream;
        QTest::newRow("length one long") << bigEndian(length + 1) + stream;
        QTest::newRow("stream cut") << good.left(good.size() / 2);
        QTest::newRow("stream garbled") << flipped;
        QTest::newRow("plain text") << QByteArray("*** SENT ***\r\nAT^JINFO,0\r\n");
    }
    void damagedBytes()
    {
        QFETCH(QByteArray, bytes);
        QString report = QStringLiteral("unchanged"), error;
        QVERIFY(!ReportFile::decode(bytes, &report, &error));
        QVERIFY(!error.isEmpty());
    }

    void emptyReportReadsBack()
    {
        QString report = QStringLiteral("x");
        QVERIFY(ReportFile::decode(QByteArray(4, '\0'), &report));
        QVERIFY(report.isEmpty());
        QVERIFY(ReportFile::decode(ReportFile::encode(QString()), &report));
        QVERIFY(report.isEmpty());
    }

    // Running as root, permission bits stop nothing; these fail for anyone.
    void unwritablePathKeepsOlderFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("parent is a file") << QStringLiteral("parentFile");
        QTest::newRow("path is a directory") << QStringLiteral("directory");
        // The file itself can be written, but its side file cannot be made:
        // the name leaves no room for the temporary suffix.
        QTest::newRow("no room for the side file") << QStringLiteral("longName");
        QTest::newRow("no name") << QStringLiteral("empty");
    }
    void unwritablePathKeepsOlderFile()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString path;
        QString older; // a file that must come through unchanged
        const QByteArray olderBytes = ReportFile::encode(QStringLiteral("older report"));
        if (kind == QLatin1String("parentFile")) {
            older = dir.filePath(QStringLiteral("plain"));
            QVERIFY(putFile(older, olderBytes));
            path = older + QStringLiteral("/r.kzrep");
        } else if (kind == QLatin1String("directory")) {
            path = dir.filePath(QStringLiteral("r.kzrep"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("r.kzrep")));
            older = path + QStringLiteral("/inside");
            QVERIFY(putFile(older, olderBytes));
        } else if (kind == QLatin1String("longName")) {
            path = dir.filePath(QString(250, QLatin1Char('r')));
            older = path;
            QVERIFY(putFile(older, olderBytes));
        }

        QString error;
        QVERIFY(!ReportFile::write(path, SampleReport, &error));
        QVERIFY(!error.isEmpty());
        if (!older.isEmpty())
            QCOMPARE(fileBytes(older), olderBytes);
        // Nothing else is left behind in the folder.
        const QStringList left = QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        QVERIFY2(left.size() <= 1, qPrintable(left.join(QLatin1Char(' '))));
    }

    void missingFileReadsAsFailure()
    {
        QString report, error;
        QVERIFY(!ReportFile::read(QStringLiteral("/nonexistent/r.kzrep"), &report, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReportFile)
#include "tst_reportfile.moc"
