// The window without a modem: start-up state, the port choices and the codes
// they stand for, the port list, closing while disconnected, and results of
// operations that arrive while no modem is connected.
#include "support/testwindow.h"

#include "device/portnames.h"
#include "forms/profileforms.h"
#include "kzversion.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSet>
#include <QStatusBar>
#include <QTest>

static const char *const MissingPort = "/dev/kz-no-such-port";

static QStringList itemTexts(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

static void chooseText(QComboBox *box, const QString &text)
{
    const int i = box->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    box->setCurrentIndex(i);
}

class TestWindowFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void startsDisconnected()
    {
        TestWindow w;
        Ui::MainWindow *ui = w.form();
        QCOMPARE(w.windowTitle(), QStringLiteral("KZ-Config v" KZ_VERSION));
        QCOMPARE(w.size(), QSize(680, 614));
        QCOMPARE(ui->tabWidget->currentIndex(), 0);

        for (QLabel *l : { ui->infoPartNo, ui->infoSerial, ui->infoSoftVersion,
                           ui->infoBluetooth, ui->infoBattery, ui->infoSim })
            QCOMPARE(l->text(), QStringLiteral("-"));
        QVERIFY(ui->connectBtn->isEnabled());
        QVERIFY(!ui->disconnectBtn->isEnabled());
        for (QWidget *c : w.controlsList())
            QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));

        QCOMPARE(ui->portBaud->currentText(), QStringLiteral("115200"));
        QCOMPARE(ui->portDataBits->currentText(), QStringLiteral("8"));
        QCOMPARE(ui->portParity->currentText(), QStringLiteral("N"));
        QCOMPARE(ui->portStopBits->currentText(), QStringLiteral("1"));
        QCOMPARE(ui->portFlow->currentText(), QStringLiteral("OFF"));
        QVERIFY(w.kz()->thread() != w.thread());
    }

    // Exactly the widgets that need a connected, idle modem.
    void controlsListMembers()
    {
        TestWindow w;
        QSet<QString> names;
        for (QWidget *c : w.controlsList())
            names << c->objectName();
        const QSet<QString> expected {
            "updateButton", "comBaud", "comFraming", "comFlow", "comSaveButton",
            "gprsList", "gprsDelete", "gprsProfileName", "gprsProfileAccessPoint",
            "gprsProfileUser", "gprsProfilePassword", "gprsProfileSave",
            "ntripList", "ntripDelete", "ntripProfileName", "ntripProfileAddress",
            "ntripProfilePort", "ntripProfileMountpoint", "ntripProfileClientUsername",
            "ntripProfileClientPassword", "ntripProfileServerPassword",
            "ntripProfileSourcetable", "ntripProfileSave",
            "dyndnsDomain", "dyndnsUsername", "dyndnsPassword",
            "btInq", "btInqList", "btMode0", "btMode1", "btMode2", "btMode2Mac", "btMode2Pin",
            "btSaveMode", "configSave", "configLoad", "configReset", "reportButton",
            "privilegedCode", "privilegedExecute",
            "conModeBaseCsd", "conModeBaseTcp", "conModeBaseNtripServer",
            "conModeBaseNtripCaster", "conModeRoverCsd", "conModeRoverTcp", "conModeRoverNtrip",
            "conAutostartCom", "conAutostartBT", "conRestart", "conSave", "conTerminalCheck",
        };
        QCOMPARE(names, expected);
        QCOMPARE(w.controlsList().size(), expected.size());
        // The dialogs' widgets in the list are the window's own dialogs.
        QVERIFY(w.controlsList().contains(w.gprsDialog()->findChild<QWidget *>("gprsList")));
        QVERIFY(w.controlsList().contains(w.ntripDialog()->findChild<QWidget *>("ntripList")));
        QVERIFY(w.controlsList().contains(w.ddnsDialog()->findChild<QWidget *>("dyndnsDomain")));
    }

    void choiceRows()
    {
        TestWindow w;
        Ui::MainWindow *ui = w.form();
        const QStringList bauds { "300",   "600",   "1200",  "2400",  "4800",  "9600",
                                  "14400", "19200", "38400", "57600", "115200" };
        QCOMPARE(itemTexts(ui->portBaud), bauds);
        QCOMPARE(itemTexts(ui->comBaud), bauds);
        QCOMPARE(itemTexts(ui->portDataBits), (QStringList { "8", "7" }));
        QCOMPARE(itemTexts(ui->portParity), (QStringList { "N", "E", "O" }));
        QCOMPARE(itemTexts(ui->portStopBits), (QStringList { "1", "2" }));
        QCOMPARE(itemTexts(ui->portFlow), QStringList { "OFF" });
        QCOMPARE(itemTexts(ui->comFlow), QStringList { "OFF" });
        QCOMPARE(itemTexts(ui->comFraming), (QStringList { "8N1", "8O1", "8E1", "7O1", "7E1" }));
    }

    // What Connect hands to the link for the rows chosen.
    void connectPassesCodes_data()
    {
        QTest::addColumn<QString>("baud");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("parity");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QList<int>>("codes"); // baud, data, parity, stop, flow

        QTest::newRow("defaults") << "115200" << "8" << "N" << "1" << QList<int> { 19, 3, 0, 0, 0 };
        QTest::newRow("even parity") << "115200" << "8" << "E" << "1" << QList<int> { 19, 3, 2, 0, 0 };
        QTest::newRow("odd parity") << "115200" << "8" << "O" << "1" << QList<int> { 19, 3, 1, 0, 0 };
        QTest::newRow("7 data bits") << "115200" << "7" << "N" << "1" << QList<int> { 19, 2, 0, 0, 0 };
        QTest::newRow("2 stop bits") << "115200" << "8" << "N" << "2" << QList<int> { 19, 3, 0, 2, 0 };
        const QList<QPair<QString, int>> bauds { { "300", 6 },    { "600", 7 },    { "1200", 8 },
                                                 { "2400", 10 },  { "4800", 11 },  { "9600", 12 },
                                                 { "14400", 13 }, { "19200", 14 }, { "38400", 15 },
                                                 { "57600", 17 } };
        for (const auto &b : bauds)
            QTest::newRow(qPrintable("baud " + b.first))
                    << b.first << "8" << "N" << "1" << QList<int> { b.second, 3, 0, 0, 0 };
    }

    void connectPassesCodes()
    {
        QFETCH(QString, baud);
        QFETCH(QString, data);
        QFETCH(QString, parity);
        QFETCH(QString, stop);
        QFETCH(QList<int>, codes);

        TestWindow w;
        Ui::MainWindow *ui = w.form();
        w.selectPort(MissingPort);
        chooseText(ui->portBaud, baud);
        chooseText(ui->portDataBits, data);
        chooseText(ui->portParity, parity);
        chooseText(ui->portStopBits, stop);
        QTest::mouseClick(ui->connectBtn, Qt::LeftButton);

        // Stored before the queued open runs.
        KZConfigThread *kz = w.kz();
        QCOMPARE(kz->deviceName(), QString(MissingPort));
        QCOMPARE((QList<int> { kz->baudRate(), kz->dataBits(), kz->parity(), kz->stopBits(),
                               kz->flowControl() }),
                 codes);
        QTRY_COMPARE(w.boxes.size(), 1); // the port does not exist
    }

    void portNameFilter_data()
    {
        QTest::addColumn<QStringList>("enumerated");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("plain") << QStringList { "COM1", "ttyUSB0" } << QStringList { "COM1", "ttyUSB0" };
        QTest::newRow("device prefix") << QStringList { "\\\\.\\COM12", "COM3" }
                                       << QStringList { "COM12", "COM3" };
        QTest::newRow("windows names") << QStringList { "COM3", "\\\\.\\COM10", "COM255" }
                                       << QStringList { "COM3", "COM10", "COM255" };
        QTest::newRow("parallel ports") << QStringList { "LPT1", "COM1", "\\\\.\\LPT2", "xLPTy" }
                                        << QStringList { "COM1" };
        QTest::newRow("prefix only once") << QStringList { "\\\\.\\\\\\.\\COM4" }
                                          << QStringList { "\\\\.\\COM4" };
        QTest::newRow("prefix elsewhere kept") << QStringList { "COM\\\\.\\5" }
                                               << QStringList { "COM\\\\.\\5" };
        QTest::newRow("order kept") << QStringList { "ttyS1", "ttyS0", "rfcomm0" }
                                    << QStringList { "ttyS1", "ttyS0", "rfcomm0" };
        QTest::newRow("none") << QStringList() << QStringList();
    }

    void portNameFilter()
    {
        QFETCH(QStringList, enumerated);
        QFETCH(QStringList, listed);
        QCOMPARE(filterPortNames(enumerated), listed);
    }

    void portListAndTypedPort()
    {
        TestWindow w;
        QComboBox *box = w.form()->portName;
        // The list is filled when the enumeration, started with the window, ends.
        QTRY_COMPARE(itemTexts(box), availablePortNames());
        if (box->count() > 0)
            QCOMPARE(box->currentIndex(), 0);

        // A path the enumerator does not list is offered and survives a refresh.
        w.selectPort(MissingPort);
        QCOMPARE(box->currentText(), QString(MissingPort));
        QTest::mouseClick(w.form()->portRefresh, Qt::LeftButton);
        QCOMPARE(box->currentText(), QString(MissingPort));
        QCOMPARE(box->findText(MissingPort), box->count() - 1);
    }

    // An empty port name is tried like any other and fails to open.
    void emptyPortNameFailsToOpen()
    {
        TestWindow w;
        w.form()->portName->clear();
        w.form()->portName->setEditText(QString());
        QTest::mouseClick(w.form()->connectBtn, Qt::LeftButton);
        QTRY_COMPARE(w.boxes.size(), 1);
        QCOMPARE(w.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(w.boxes[0].text, QStringLiteral("Не удалось открыть порт. Проверьте настройки."));
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Не удалось открыть порт."));
        QVERIFY(w.form()->connectBtn->isEnabled());
    }

    void closingDisconnectedNeverAsks()
    {
        TestWindow w;
        w.show();
        // Looks unsaved, but there is no modem to lose it on.
        w.form()->conAutostartCom->setChecked(true);
        w.form()->conAutostartBT->setChecked(true);
        w.form()->conCommand->setText(QStringLiteral("ATD123"));
        w.questionAnswers.enqueue(QMessageBox::No);
        QVERIFY(w.close());
        QVERIFY(w.questions.isEmpty());
        QVERIFY(!w.isVisible());
    }

    // Results of operations other than connecting: their messages, and the
    // controls list stays off when the window has been disconnected meanwhile.
    void laterResults_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");

        const QString none;
        QTest::newRow("firmware ok") << int(KZConfigThread::OpFirmware) << true << 0 << none << none;
        QTest::newRow("privileged ok") << int(KZConfigThread::OpPrivileged) << true << 0 << none << none;
        QTest::newRow("inquiry ok") << int(KZConfigThread::OpBluetoothInquiry) << true << 0 << none << none;
        QTest::newRow("firmware failed")
                << int(KZConfigThread::OpFirmware) << false << int(QMessageBox::Critical)
                << "Не удалось обновить ПО модема." << none;
        QTest::newRow("privileged failed")
                << int(KZConfigThread::OpPrivileged) << false << int(QMessageBox::Warning)
                << "При выполнении команды произошла ошибка. Проверьте корректность кода и его "
                   "применимость к данному модему."
                << none;
        QTest::newRow("inquiry failed")
                << int(KZConfigThread::OpBluetoothInquiry) << false << int(QMessageBox::Warning)
                << "Не удалось выполнить команду. Попробуйте отключиться от модема, подключиться "
                   "ещё раз и выполнить настройку заново."
                << "Не удалось выполнить команду.";
    }

    void laterResults()
    {
        QFETCH(int, op);
        QFETCH(bool, ok);
        QFETCH(int, icon);
        QFETCH(QString, text);
        QFETCH(QString, status);

        TestWindow w;
        w.statusBar()->showMessage(QStringLiteral("before"));
        w.kzOpCompleted(KZConfigThread::Operation(op), ok, QStringLiteral("debug only"));
        if (text.isEmpty()) {
            QVERIFY(w.boxes.isEmpty());
        } else {
            QCOMPARE(w.boxes.size(), 1);
            QCOMPARE(int(w.boxes[0].icon), icon);
            QCOMPARE(w.boxes[0].title, QStringLiteral("Ошибка"));
            QCOMPARE(w.boxes[0].text, text);
        }
        QCOMPARE(w.statusBar()->currentMessage(),
                 status.isEmpty() ? QStringLiteral("before") : status);
        for (QWidget *c : w.controlsList())
            QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
        QVERIFY(!w.form()->disconnectBtn->isEnabled());
    }

    void progressStaysInStatusBar()
    {
        TestWindow w;
        w.kzProgress(QStringLiteral("Подключение"));
        QTest::qWait(50);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Подключение"));
        w.kzProgress(QStringLiteral("Подключение: AT > OK"));
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Подключение: AT > OK"));
    }
};

QTEST_MAIN(TestWindowFrame)
#include "tst_windowframe.moc"
