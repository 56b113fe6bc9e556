#include "firmware/firmwarecontainer.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray be16(quint16 v)
{
    QByteArray out;
    out.append(char(v >> 8)).append(char(v));
    return out;
}

QByteArray be32(quint32 v)
{
    return be16(quint16(v >> 16)) + be16(quint16(v));
}

QByteArray cstr(const QByteArray &text)
{
    return text + '\0';
}

// Description block with a hardware field given raw, so every version's form
// can be built.
QByteArray description(const QByteArray &hardwareField, int commands = 0)
{
    QByteArray d = cstr("KZ520") + hardwareField + be32(quint32(-5));
    d += be16(quint16(commands));
    for (int i = 0; i < commands; ++i)
        d += cstr("AT^PRE" + QByteArray::number(i)) + cstr(i ? "OK" : "");
    d += be16(quint16(commands));
    for (int i = 0; i < commands; ++i)
        d += cstr("AT^POST" + QByteArray::number(i)) + cstr("OK");
    return d;
}

QByteArray containerBytes(quint16 version, const QByteArray &desc,
                          const QList<QByteArray> &records = {})
{
    const QByteArray info = qCompress(desc);
    QByteArray out = QByteArray("\xF0KZbin\x0F", 7) + be16(version) + be32(quint32(info.size())) + info;
    out += be16(quint16(records.size()));
    for (const QByteArray &r : records) {
        const QByteArray block = qCompress(r);
        out += be32(quint32(block.size())) + block;
    }
    return out;
}

bool readBytes(const QByteArray &bytes, FirmwareContainer &c, QString *error = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readContainer(&buffer, c, error);
}

FirmwareContainer sample()
{
    FirmwareContainer c;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = QStringList { QStringLiteral("01"), QStringLiteral("02") };
    c.info.softwareVersion = 10305;
    c.info.preCommands = { { QStringLiteral("AT^SJAM=2,\"a:/atc65.jar\",\"\""), QString() },
                           { QStringLiteral("AT^SCFG?"), QStringLiteral("OK") } };
    c.info.postCommands = { { QStringLiteral("AT+CFUN=1,1"), QStringLiteral("OK") } };
    c.files = { { QStringLiteral("atc65.jar"), QByteArray("PK\x03\x04\0jar", 8) },
                { QStringLiteral("atc65.jad"), QByteArray() } };
    return c;
}

QByteArray written(const FirmwareContainer &c)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!writeContainer(&buffer, c))
        return QByteArray();
    return bytes;
}

// Damaged blocks make qUncompress complain; that noise is expected here.
void quiet(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    if (type != QtWarningMsg || !msg.startsWith(QLatin1String("qUncompress")))
        fprintf(stderr, "%s\n", qPrintable(msg));
}

} // namespace

class TestFirmwareContainer : public QObject
{
    Q_OBJECT

private slots:
    void streamHelpers();
    void hardwareField_data();
    void hardwareField();
    void emptyListsAreValid();
    void recordWithoutContent();
    void secondReadReplacesFirst_data();
    void secondReadReplacesFirst();
    void roundTrip();
    void cutAtEveryOffset();
    void flippedBytes();
    void absurdLengths_data();
    void absurdLengths();
    void fileRefused_data();
    void fileRefused();
};

void TestFirmwareContainer::streamHelpers()
{
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QVERIFY(writeCString(&out, QStringLiteral("ab") + QChar(0) + QStringLiteral("cd")));
    QVERIFY(writeCString(&out, QString::fromLatin1("\xe9t\xe9")));
    QVERIFY(writeU16(&out, 0x1234));
    QVERIFY(writeU32(&out, 0xDEADBEEF));
    out.close();
    QCOMPARE(bytes, QByteArray("ab\0\xe9t\xe9\0\x12\x34\xde\xad\xbe\xef", 13));

    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    bool ok = true;
    QCOMPARE(readCString(&in, &ok), QStringLiteral("ab"));
    QCOMPARE(readCString(&in, &ok), QString::fromLatin1("\xe9t\xe9"));
    QCOMPARE(readU16(&in, &ok), quint16(0x1234));
    QCOMPARE(readU32(&in, &ok), 0xDEADBEEFu);
    QVERIFY(ok);
    QCOMPARE(readU16(&in, &ok), quint16(0));
    QVERIFY(!ok);

    QBuffer cut;
    cut.setData("abc");
    cut.open(QIODevice::ReadOnly);
    ok = true;
    QCOMPARE(readCString(&cut, &ok), QStringLiteral("abc"));
    QVERIFY(!ok);
}

void TestFirmwareContainer::hardwareField_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("v1 number") << 1 << be32(7) << QStringList { "7" };
    QTest::newRow("v1 negative") << 1 << be32(0xFFFFFFFE) << QStringList { "-2" };
    QTest::newRow("v2 single text") << 2 << cstr("01,02") << QStringList { "01,02" };
    QTest::newRow("v3 list") << 3 << cstr("01,02") << QStringList { "01", "02" };
    QTest::newRow("v3 empty") << 3 << cstr("") << QStringList { "" };
    QTest::newRow("v3 empty parts") << 3 << cstr(",a,") << QStringList { "", "a", "" };
    QTest::newRow("v9 like v3") << 9 << cstr("x,y") << QStringList { "x", "y" };
    QTest::newRow("v0 like v3") << 0 << cstr("x") << QStringList { "x" };
}

void TestFirmwareContainer::hardwareField()
{
    QFETCH(int, version);
    QFETCH(QByteArray, field);
    QFETCH(QStringList, expected);

    FirmwareContainer c;
    QString error;
    QVERIFY2(readBytes(containerBytes(quint16(version), description(field, 2)), c, &error),
             qPrintable(error));
    QCOMPARE(c.version, quint16(version));
    QCOMPARE(c.info.version, quint16(version));
    QCOMPARE(c.info.model, QStringLiteral("KZ520"));
    QCOMPARE(c.info.hardwareVersions, expected);
    QCOMPARE(c.info.softwareVersion, -5);
    QCOMPARE(c.info.preCommands.size(), 2);
    QCOMPARE(c.info.preCommands[0].reply, QString());
    QCOMPARE(c.info.postCommands[1].command, QStringLiteral("AT^POST1"));
}

void TestFirmwareContainer::emptyListsAreValid()
{
    FirmwareContainer c;
    QVERIFY(readBytes(containerBytes(3, description(cstr("01"))), c));
    QVERIFY(c.info.preCommands.isEmpty());
    QVERIFY(c.info.postCommands.isEmpty());
    QVERIFY(c.files.isEmpty());
    QCOMPARE(c.magic, QByteArray("\xF0KZbin\x0F", 7));
}

void TestFirmwareContainer::recordWithoutContent()
{
    FirmwareContainer c;
    QVERIFY(readBytes(containerBytes(3, description(cstr("")), { cstr("empty.txt"),
                                                                  cstr("a.bin") + QByteArray("\0\x01\0", 3) }),
                      c));
    QCOMPARE(c.files.size(), 2);
    QCOMPARE(c.files[0].name, QStringLiteral("empty.txt"));
    QVERIFY(c.files[0].data.isEmpty());
    QCOMPARE(c.files[1].data, QByteArray("\0\x01\0", 3));
}

void TestFirmwareContainer::secondReadReplacesFirst_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("hardware");
    QTest::newRow("v1") << 1 << be32(3) << "3";
    QTest::newRow("v2") << 2 << cstr("03,04") << "03,04";
    QTest::newRow("v3") << 3 << cstr("03") << "03";
}

void TestFirmwareContainer::secondReadReplacesFirst()
{
    QFETCH(int, version);
    QFETCH(QByteArray, field);
    QFETCH(QString, hardware);
    FirmwareContainer c;
    QVERIFY(readBytes(written(sample()), c));
    QVERIFY(readBytes(containerBytes(quint16(version), description(field)), c));
    QCOMPARE(c.info.hardwareVersions, QStringList { hardware });
    QCOMPARE(c.info.model, QStringLiteral("KZ520"));
    QVERIFY(c.info.preCommands.isEmpty());
    QVERIFY(c.info.postCommands.isEmpty());
    QVERIFY(c.files.isEmpty());
}

void TestFirmwareContainer::roundTrip()
{
    const FirmwareContainer original = sample();
    const QByteArray bytes = written(original);
    QVERIFY(!bytes.isEmpty());
    QVERIFY(bytes.startsWith(QByteArray("\xF0KZbin\x0F\x00\x03", 9)));
    FirmwareContainer back;
    QVERIFY(readBytes(bytes, back));
    QCOMPARE(back.info, original.info);
    QCOMPARE(back.files, original.files);
    QCOMPARE(back.version, quint16(3));
    QCOMPARE(back.infoLength, quint32(uchar(bytes[9]) << 24 | uchar(bytes[10]) << 16
                                      | uchar(bytes[11]) << 8 | uchar(bytes[12])));
    // The description carries no count over 65535.
    FirmwareContainer tooMany = original;
    tooMany.info.preCommands = QList<CommandCheck>(70000);
    QVERIFY(written(tooMany).isEmpty());
}

void TestFirmwareContainer::cutAtEveryOffset()
{
    const QByteArray bytes = written(sample());
    const FirmwareContainer before = sample();
    for (int len = 0; len < bytes.size(); ++len) {
        FirmwareContainer c = before;
        QString error;
        QVERIFY2(!readBytes(bytes.left(len), c, &error), qPrintable(QString::number(len)));
        QVERIFY2(error.startsWith(QStringLiteral("Файл прошивки повреждён: ")), qPrintable(error));
        QVERIFY2(c == before, qPrintable(QString::number(len)));
    }
    // A container without files ends with its record count; cutting that is damage too.
    const QByteArray bare = containerBytes(3, description(cstr("")));
    FirmwareContainer c;
    QVERIFY(!readBytes(bare.left(bare.size() - 1), c));
}

void TestFirmwareContainer::flippedBytes()
{
    const QByteArray bytes = written(sample());
    const FirmwareContainer before = sample();
    const QtMessageHandler previous = qInstallMessageHandler(quiet);
    int refused = 0;
    for (int i = 0; i < bytes.size(); ++i) {
        for (const uchar mask : { uchar(0x01), uchar(0x80), uchar(0xFF) }) {
            QByteArray damagedBytes = bytes;
            damagedBytes[i] = char(uchar(damagedBytes[i]) ^ mask);
            FirmwareContainer c = before;
            QString error;
            if (!readBytes(damagedBytes, c, &error)) {
                ++refused;
                QVERIFY(!error.isEmpty());
                QVERIFY(c == before);
            }
        }
    }
    qInstallMessageHandler(previous);
    // Besides the unchecked magic and version, only the padding bits of a
    // deflate stream's last byte can change unnoticed.
    QVERIFY(refused >= 3 * (bytes.size() - 9) - 6);
}

void TestFirmwareContainer::absurdLengths_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray desc = description(cstr("01"));
    const QByteArray info = qCompress(desc);
    const QByteArray head = QByteArray("\xF0KZbin\x0F", 7) + be16(3);

    QTest::newRow("info length 4 GiB") << head + be32(0xFFFFFFFF) + info + be16(0);
    QTest::newRow("declared size huge")
            << head + be32(quint32(info.size())) + be32(0x7FFFFFFF) + info.mid(4) + be16(0);
    QTest::newRow("declared size zero")
            << head + be32(quint32(info.size())) + be32(0) + info.mid(4) + be16(0);
    QTest::newRow("declared size wrong")
            << head + be32(quint32(info.size())) + be32(quint32(desc.size() - 1)) + info.mid(4)
                    + be16(0);
    QTest::newRow("block not zlib") << head + be32(8) + be32(4) + QByteArray("junk") + be16(0);
    QTest::newRow("block of three") << head + be32(3) + QByteArray("abc") + be16(0);
    QTest::newRow("65535 records, none there") << containerBytes(3, desc).chopped(2) + be16(0xFFFF);
    QTest::newRow("record length 4 GiB")
            << containerBytes(3, desc).chopped(2) + be16(1) + be32(0xFFFFFFFF) + "abc";
    QTest::newRow("record without name end")
            << containerBytes(3, desc).chopped(2) + be16(1) + be32(quint32(qCompress("abc").size()))
                    + qCompress("abc");
    QTest::newRow("description cut") << containerBytes(3, desc.chopped(1));
    QTest::newRow("command count past end")
            << containerBytes(3, cstr("KZ520") + cstr("01") + be32(1) + be16(500));
}

void TestFirmwareContainer::absurdLengths()
{
    QFETCH(QByteArray, bytes);
    FirmwareContainer c = sample();
    QString error;
    const QtMessageHandler previous = qInstallMessageHandler(quiet);
    const bool ok = readBytes(bytes, c, &error);
    qInstallMessageHandler(previous);
    QVERIFY(!ok);
    QVERIFY2(error.startsWith(QStringLiteral("Файл прошивки повреждён: ")), qPrintable(error));
    QVERIFY(c == sample());
}

// Loading a container file: refused when it is not one of ours, when its
// texts could put a command of their own on the line, or when it would expand
// past the bound; accepted in every known format version.
void TestFirmwareContainer::fileRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // empty: accepted
    const QByteArray desc = description(cstr("01"), 2);
    QTest::newRow("version 1") << containerBytes(1, description(be32(3))) << QString();
    QTest::newRow("version 3") << containerBytes(3, desc, { cstr("a.jar") + "x" }) << QString();
    QTest::newRow("version 4") << containerBytes(4, desc) << "версия формата 4";
    QTest::newRow("version 0") << containerBytes(0, desc) << "версия формата 0";
    QByteArray magic = containerBytes(3, desc);
    magic[3] = 'X';
    QTest::newRow("wrong magic") << magic << "не контейнер";
    const QByteArray cmd = cstr("KZ520") + cstr("01") + be32(1) + be16(1);
    QTest::newRow("CR LF in a command")
            << containerBytes(3, cmd + cstr("AT\r\nAT+DELGPRS=inet") + cstr("") + be16(0))
            << "управляющие";
    QTest::newRow("LF in a reply")
            << containerBytes(3, cmd + cstr("AT") + cstr("OK\nX") + be16(0)) << "управляющие";
    QTest::newRow("tab in a file name")
            << containerBytes(3, desc, { cstr("a\tb.jar") + "x" }) << "управляющие";
    const QByteArray big = cstr("big.bin") + QByteArray(32 << 20, '\0');
    QTest::newRow("three files of 32 MiB")
            << containerBytes(3, desc, { big, big, big }) << "больше 64 МиБ";
}

void TestFirmwareContainer::fileRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fw.kzbin"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    f.close();
    FirmwareContainer c = sample();
    QString error;
    const bool ok = loadContainerFile(path, c, &error);
    QCOMPARE(ok, message.isEmpty());
    if (ok) {
        QCOMPARE(c.info.model, QStringLiteral("KZ520"));
        return;
    }
    QVERIFY2(error.startsWith(QStringLiteral("Файл прошивки повреждён: ")), qPrintable(error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(c == sample());
}

QTEST_GUILESS_MAIN(TestFirmwareContainer)
#include "tst_firmwarecontainer.moc"
