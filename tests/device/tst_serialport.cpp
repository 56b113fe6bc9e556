#include "device/kzserialport.h"
#include "support/ptypeer.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QTest>

#include <atomic>
#include <thread>

class TestSerialPort : public QObject
{
    Q_OBJECT

    PtyPeer *peer = nullptr;
    KZSerialPort *link = nullptr;

private slots:
    void init()
    {
        peer = new PtyPeer;
        QVERIFY(peer->ok());
        link = new KZSerialPort;
        // Idle bytes would otherwise go to the terminal's raw reads.
        link->setRawReadEnabled(false);
        link->setPortSettings(peer->name(), 19, 3, 0, 0, 0);
        QVERIFY(link->openPort());
        QVERIFY(link->isPortOpen());
    }
    void cleanup()
    {
        delete link;
        delete peer;
        link = nullptr;
        peer = nullptr;
    }

    void lineDiscipline_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("leading CR LF skipped") << QByteArray("\r\nOK\r\n") << QStringList { "OK" };
        QTest::newRow("echo then OK") << QByteArray("AT\r\r\nOK\r\n") << QStringList { "AT", "OK" };
        QTest::newRow("blank lines never count")
                << QByteArray("\r\n\r\n\n\rJI0:KZ520\r\n\r\nOK\r\n") << QStringList { "JI0:KZ520", "OK" };
        QTest::newRow("bare LF ends a line") << QByteArray("A\nB\n") << QStringList { "A", "B" };
        QTest::newRow("latin1 bytes kept") << QByteArray("\xe9t\xe9\r\n") << QStringList { QString::fromLatin1("\xe9t\xe9") };
    }
    void lineDiscipline()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        peer->write(bytes);
        for (const QString &l : lines) {
            QVERIFY(link->waitReply(3000));
            QCOMPARE(link->lastReply(), l);
        }
    }

    void partialTextOnTimeout()
    {
        peer->write("OK");
        QElapsedTimer t;
        t.start();
        QVERIFY(!link->waitReply(400));
        QVERIFY(t.elapsed() >= 390);
        QVERIFY(t.elapsed() < 1500);
        QCOMPARE(link->lastReply(), QString("OK"));
    }

    // waitReplyIs looks only at the text, not at whether the line ended.
    void waitReplyIsTakesPartialText()
    {
        peer->write("OK");
        QVERIFY(link->waitReplyIs("OK", 300));
    }

    void silenceTimesOutEmpty()
    {
        QElapsedTimer t;
        t.start();
        QVERIFY(!link->waitReply(300));
        QVERIFY(t.elapsed() >= 290);
        QVERIFY(link->lastReply().isEmpty());
    }

    void bytesAfterLineStayForNextCall()
    {
        peer->write("ONE\r\nTWO");
        QVERIFY(link->waitReply(2000));
        QCOMPARE(link->lastReply(), QString("ONE"));
        peer->write("\r\n");
        QVERIFY(link->waitReply(2000));
        QCOMPARE(link->lastReply(), QString("TWO"));
    }

    void oneMillisecondDrainTakesArrivedLines()
    {
        peer->write("\r\nNO CARRIER\r\n\r\nOK\r\n");
        QTest::qWait(100); // the lines have arrived before the drain starts
        QStringList got;
        while (link->waitReply(1))
            got << link->lastReply();
        QCOMPARE(got, (QStringList { "NO CARRIER", "OK" }));
        QVERIFY(link->lastReply().isEmpty());
    }

    void sendCommandPutsLineAndCrLf()
    {
        link->sendCommand("AT^JINFO,0");
        QCOMPARE(peer->read(12), QByteArray("AT^JINFO,0\r\n"));
        link->sendCommand(QString::fromUtf8("AT+X=Ж"));
        QCOMPARE(peer->read(8), QByteArray("AT+X=?\r\n"));
    }

    void rawWriteBytesUntouched()
    {
        link->rawWrite("+++");
        QCOMPARE(peer->read(3, 500), QByteArray("+++"));
        QCOMPARE(peer->read(1, 200), QByteArray()); // no line end added
        const QByteArray bin("\x00\r\n\xff", 4);
        link->rawWrite(bin);
        QCOMPARE(peer->read(4), bin);
    }

    // A modem streaming bytes without a line end must not hold the reader.
    void overlongLineEndsTheWait()
    {
        std::atomic<bool> stop { false };
        std::thread streamer([&] {
            const QByteArray junk(256, 'x');
            while (!stop) {
                peer->write(junk);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        QElapsedTimer t;
        t.start();
        const bool ok = link->waitReply(10000);
        stop = true;
        streamer.join();
        QVERIFY(!ok);
        QVERIFY(t.elapsed() < 5000);
        QVERIFY(link->lastReply().size() > KZSerialPort::MaxLineLength - 1);
        QVERIFY(link->lastReply().size() <= KZSerialPort::MaxLineLength + 1);
    }

    // Bytes that never add to the line (CRs) still cannot outlast the deadline.
    void streamingNoiseHonoursDeadline()
    {
        std::atomic<bool> stop { false };
        std::thread streamer([&] {
            while (!stop) {
                peer->write(QByteArray(64, '\r'));
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        QElapsedTimer t;
        t.start();
        const bool ok = link->waitReply(300);
        const qint64 took = t.elapsed();
        stop = true;
        streamer.join();
        QVERIFY(!ok);
        QVERIFY2(took < 1500, qPrintable(QString::number(took)));
    }

    void vanishedPortFailsAtOnce()
    {
        peer->close();
        QElapsedTimer t;
        t.start();
        QVERIFY(!link->waitReply(5000));
        QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(!link->isPortOpen());
        QVERIFY(link->lineLost());
        QVERIFY(!link->waitReply(5000)); // and stays failed without waiting
    }

    void portThatCannotOpen()
    {
        KZSerialPort l;
        l.setPortSettings("/dev/does-not-exist-kz", 19, 3, 0, 0, 0);
        QVERIFY(!l.openPort());
        QVERIFY(!l.isPortOpen());
        l.setPortSettings("", 19, 3, 0, 0, 0);
        QVERIFY(!l.openPort());
        l.setPortSettings(peer->name(), 16, 3, 0, 0, 0); // a code with no baud of ours is still a rate
        l.setPortSettings(peer->name(), 99, 3, 0, 0, 0);
        QVERIFY(!l.openPort());
        QVERIFY(!l.waitReply(50));
    }

    // Windows names reach the serial port as the port list shows them: the
    // port itself adds the device prefix that names from COM10 on need.
    void windowsPortNamesKept_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("COM3") << QStringLiteral("COM3");
        QTest::newRow("COM10, listed without its prefix") << QStringLiteral("COM10");
    }
    void windowsPortNamesKept()
    {
        QFETCH(QString, name);
        KZSerialPort l;
        l.setPortSettings(name, 19, 3, 0, 0, 0);
        l.openPort(); // no such port here; the name handed on is what counts
        QVERIFY(!l.portName().isEmpty());
        QCOMPARE(l.portName(), name);
    }

    void reopenAtNewSpeed()
    {
        QCOMPARE(peer->toolSpeed(), speed_t(B115200));
        link->closePort();
        QVERIFY(!link->isPortOpen());
        link->setPortSettings(link->deviceName(), 12, link->dataBits(), link->parity(),
                              link->stopBits(), link->flowControl());
        QVERIFY(link->openPort());
        QCOMPARE(peer->toolSpeed(), speed_t(B9600));
        QCOMPARE(link->portSpeed(), 9600);
        peer->write("OK\r\n");
        QVERIFY(link->waitReply(1000));
    }

    void closeClearsOnline()
    {
        link->setOnline(true);
        link->closePort();
        QVERIFY(!link->isOnline());
    }

    void idleBytesGoToRawReads()
    {
        link->setRawReadEnabled(true);
        QByteArray got;
        connect(link, &KZSerialPort::rawRead, this, [&](const QByteArray &b) { got += b; });
        peer->write("RING\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(got, QByteArray("RING\r\n"), 2000);
        // ...but never while a line exchange waits for them.
        got.clear();
        peer->write("OK\r\n");
        QVERIFY(link->waitReply(2000));
        QCOMPARE(link->lastReply(), QString("OK"));
        QVERIFY(got.isEmpty());
    }

    void codeTranslation()
    {
        QCOMPARE(KZSerialPort::baudFromCode(6), 300);
        QCOMPARE(KZSerialPort::baudFromCode(12), 9600);
        QCOMPARE(KZSerialPort::baudFromCode(17), 57600);
        QCOMPARE(KZSerialPort::baudFromCode(19), 115200);
        QCOMPARE(KZSerialPort::baudFromCode(20), -1);
        QCOMPARE(KZSerialPort::baudFromCode(-1), -1);
    }

    void collectStopsWhenComplete()
    {
        peer->write("\r\nline\r\n\r\nOK\r\n");
        QElapsedTimer t;
        t.start();
        const QByteArray got = link->collect(3000, [](const QByteArray &b) { return b.endsWith("OK\r\n"); });
        QCOMPARE(got, QByteArray("\r\nline\r\n\r\nOK\r\n"));
        QVERIFY(t.elapsed() < 1000);
    }

    void collectUntilQuietGathersPieces()
    {
        std::thread later([&] {
            peer->write("O");
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            peer->write("K\r\n");
        });
        QElapsedTimer t;
        t.start();
        const QByteArray got = link->collectUntilQuiet(500);
        later.join();
        QCOMPARE(got, QByteArray("OK\r\n"));
        QVERIFY(t.elapsed() >= 650);
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
