// The "Порты" tab on a window connected to the simulated modem: the serial
// settings write with the tool's port following, the Bluetooth mode, and the
// device search.
#include "support/windowrig.h"

#include <QListWidget>

namespace {

QStringList commandsStarting(const SimModem &sim, const QStringList &prefixes)
{
    QStringList out;
    for (const QString &c : sim.commands())
        for (const QString &p : prefixes)
            if (c.startsWith(p))
                out << c;
    return out;
}

} // namespace

class TestPorts : public QObject
{
    Q_OBJECT

private slots:
    void serialSave_data();
    void serialSave();
    void bluetoothModeOne();
    void bluetoothModeTwoRefusesComma();
    void modeButtonsOfferPartnerFields();
    void deviceSearch();
};

void TestPorts::serialSave_data()
{
    QTest::addColumn<QString>("baud");
    QTest::addColumn<int>("code");
    // A pseudo-terminal refuses parity, so the framing stays 8N1 here.
    QTest::newRow("115200") << "115200" << 19;
    QTest::newRow("57600, the tool's port follows") << "57600" << 17;
}

void TestPorts::serialSave()
{
    QFETCH(QString, baud);
    QFETCH(int, code);
    WindowOnSim f;
    QVERIFY(f.connectTo());
    Ui::MainWindow *ui = f.ui();

    ui->comBaud->setCurrentIndex(ui->comBaud->findText(baud));
    ui->comFraming->setCurrentIndex(ui->comFraming->findText("8N1"));
    ui->comFlow->setCurrentIndex(ui->comFlow->findText("OFF"));
    f.sim.clearLog();
    const int writes = f.writes.size();
    const int reads = f.reads.size();
    ui->comSaveButton->click();
    QVERIFY(!ui->comSaveButton->isEnabled()); // controls off while the write runs
    QVERIFY(f.waitWriteAndReadBack(writes, reads));
    QCOMPARE(f.writes.last(), qMakePair(int(KZConfig::ConfigCom), 0));
    QCOMPARE(f.reads.last(), qMakePair(int(KZConfig::ConfigCom), 0));
    QCOMPARE(commandsStarting(f.sim, { "AT+IPR=", "AT+ICF=", "AT+IFC=" }),
             QStringList({ "AT+IPR=" + baud, "AT+ICF=3", "AT+IFC=0,0" }));
    QCOMPARE(f.w.kz()->config.baudrate, code);
    QCOMPARE(ui->comBaud->currentText(), baud);
    QVERIFY(ui->comSaveButton->isEnabled());

    // The line still works at the new speed.
    QMetaObject::invokeMethod(f.w.kz(), "reqConfig", Qt::QueuedConnection,
                              Q_ARG(int, KZConfig::ConfigBaudrate));
    QVERIFY(waitUntil([&] { return f.reads.size() > reads + 1; }, 15000));
    QCOMPARE(f.reads.last(), qMakePair(int(KZConfig::ConfigBaudrate), 0));
}

void TestPorts::bluetoothModeOne()
{
    WindowOnSim f;
    QVERIFY(f.connectTo());
    Ui::MainWindow *ui = f.ui();
    ui->btMode2->click();
    ui->btMode2Mac->setText("00:11:22:33:44:55");
    ui->btMode2Pin->setText("12,34"); // not sent in mode 1, so not refused either
    ui->btMode1->click();
    f.sim.clearLog();
    const int writes = f.writes.size();
    const int reads = f.reads.size();
    ui->btSaveMode->click();
    QVERIFY(f.waitWriteAndReadBack(writes, reads));
    QCOMPARE(commandsStarting(f.sim, { "AT+BTMODE=" }), QStringList { "AT+BTMODE=1" });
    QCOMPARE(f.sim.state().btMode, 1);
    QVERIFY(f.w.boxes.isEmpty());
    QVERIFY(ui->btMode1->isChecked());
}

void TestPorts::bluetoothModeTwoRefusesComma()
{
    WindowOnSim f;
    QVERIFY(f.connectTo());
    Ui::MainWindow *ui = f.ui();
    ui->btMode2->click();
    ui->btMode2Mac->setText("00:11:22:33:44:55");
    ui->btMode2Pin->setText("12,34");
    f.sim.clearLog();
    ui->btSaveMode->click();
    QCOMPARE(f.w.boxes.size(), 1);
    QCOMPARE(f.w.boxes.last().title, QStringLiteral("Ошибка"));
    QVERIFY2(f.w.boxes.last().text.contains("PIN"), qPrintable(f.w.boxes.last().text));
    QVERIFY(ui->btSaveMode->isEnabled()); // nothing started
    QTest::qWait(300);
    QVERIFY(f.sim.commands().isEmpty());

    ui->btMode2Pin->setText("1234");
    const int writes = f.writes.size();
    const int reads = f.reads.size();
    ui->btSaveMode->click();
    QVERIFY(f.waitWriteAndReadBack(writes, reads));
    QCOMPARE(commandsStarting(f.sim, { "AT+BTMODE=" }),
             QStringList { "AT+BTMODE=2,00:11:22:33:44:55,1234" });
    QCOMPARE(f.w.boxes.size(), 1);
}

void TestPorts::modeButtonsOfferPartnerFields()
{
    WindowOnSim f;
    QVERIFY(f.connectTo());
    Ui::MainWindow *ui = f.ui();
    for (QRadioButton *b : { ui->btMode2, ui->btMode0, ui->btMode2, ui->btMode1 }) {
        b->click();
        QVERIFY(b->isChecked());
        QCOMPARE(ui->btMode2Mac->isEnabled(), b == ui->btMode2);
        QCOMPARE(ui->btMode2Pin->isEnabled(), b == ui->btMode2);
    }
}

void TestPorts::deviceSearch()
{
    SimState state;
    state.btDevices = { "0012F3A1B2C3,GNSS Base,1F00", "0012F3D4E5F6,Rover 2" };
    WindowOnSim f;
    QVERIFY(f.connectTo(state));
    Ui::MainWindow *ui = f.ui();

    const int ops = f.ops.size(); // the connect chain's results come first
    ui->btInq->click();
    QVERIFY(!ui->btInq->isEnabled());
    QVERIFY(waitUntil([&] { return f.ops.size() == ops + 1; }, 15000));
    QVERIFY(f.ops.last());
    QCOMPARE(ui->btInqList->count(), 2);
    QCOMPARE(ui->btInqList->item(0)->text(), QStringLiteral("0012F3A1B2C3 GNSS Base"));
    QCOMPARE(ui->btInqList->item(1)->text(), QStringLiteral("0012F3D4E5F6 Rover 2"));
    QVERIFY(ui->btInq->isEnabled());
    ui->btInqList->setCurrentRow(1);
    QCOMPARE(ui->btMode2Mac->text(), QStringLiteral("0012F3D4E5F6"));

    // A failed search leaves the rows shown while the worker's list is empty:
    // choosing one of them changes nothing.
    f.sim.setCommandHook([](const QString &line, QByteArray *reply) {
        if (line != QLatin1String("AT+BTINQ?"))
            return false;
        *reply = "\r\nERROR\r\n";
        return true;
    });
    ui->btInq->click();
    QVERIFY(waitUntil([&] { return f.ops.size() == ops + 2; }, 15000));
    QVERIFY(!f.ops.last());
    QCOMPARE(f.w.boxes.size(), 1);
    QCOMPARE(ui->btInqList->count(), 2);
    ui->btInqList->setCurrentRow(0);
    QCOMPARE(ui->btMode2Mac->text(), QStringLiteral("0012F3D4E5F6"));
    f.sim.setCommandHook(nullptr);
}

QTEST_MAIN(TestPorts)
#include "tst_ports.moc"
