// The window in the field: the critical box with its second text for each
// reason a port does not open, the port list with its details, the search for
// the modem selecting its port and speed, and the three choices offered for a
// modem without its application.
#include "support/badport.h"
#include "support/testwindow.h"

#include "firmware/firmwarecontainer.h"
#include "sim/simmodem.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSerialPort>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int ChainMs = 30000;
const QString OpenPortMessage = QStringLiteral("Не удалось открыть порт. Проверьте настройки.");

// A window whose port list the test decides.
class FieldWindow : public TestWindow
{
public:
    QList<PortDescription> ports;
    int listed = 0;

protected:
    QList<PortDescription> listPorts() override
    {
        ++listed;
        return ports;
    }
};

// The window with the start-up port scan done and its list replaced by `names`.
std::unique_ptr<FieldWindow> makeWindow(const QStringList &names = {})
{
    auto w = std::make_unique<FieldWindow>();
    w->show();
    QTest::qWait(300); // the start-up scan of the machine's ports
    w->form()->portName->clear();
    for (const QString &n : names)
        w->form()->portName->addItem(n);
    return w;
}

QPushButton *detectButton(FieldWindow &w)
{
    return w.findChild<QPushButton *>(QStringLiteral("detectBtn"));
}

} // namespace

class TstFieldWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void openFailureBox_data();
    void openFailureBox();
    void portListDetails();
    void detectSelectsPortAndSpeed();
    void detectFindsNothing();
    void haltedModemChoices_data();
    void haltedModemChoices();
};

void TstFieldWindow::openFailureBox_data()
{
    BadPort::addRows();
}

void TstFieldWindow::openFailureBox()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    BadPort bad;
    QVERIFY(bad.make(kind));
    const QString name = bad.name;
    auto w = makeWindow();
    w->selectPort(name);
    QTest::mouseClick(w->form()->connectBtn, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w->boxes.size(), 1, ChainMs);
    QCOMPARE(w->boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(w->boxes[0].title, QStringLiteral("Ошибка"));
    QCOMPARE(w->boxes[0].text, OpenPortMessage);
    QVERIFY2(w->boxes[0].informative.endsWith(reason), qPrintable(w->boxes[0].informative));
    QVERIFY(w->boxes[0].informative.contains(name));
    QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Не удалось открыть порт."));
    QVERIFY(w->form()->connectBtn->isEnabled());
}

void TstFieldWindow::portListDetails()
{
    auto w = makeWindow({ QStringLiteral("ttyGONE") });
    w->form()->portName->setCurrentIndex(0);
    PortDescription usb;
    usb.name = QStringLiteral("ttyUSB0");
    usb.description = QStringLiteral("FT232R USB UART");
    usb.vendorId = 0x0403;
    usb.productId = 0x6001;
    PortDescription bt;
    bt.name = QStringLiteral("rfcomm0");
    bt.bluetooth = true;
    w->ports = { usb, bt };

    // Opening the list lists the ports again.
    QComboBox *box = w->form()->portName;
    const int before = w->listed;
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(box->width() - 5, box->height() / 2));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->width() - 5, box->height() / 2));
    box->hidePopup();
    QCOMPARE(w->listed, before + 1);
    const int u = box->findText(QStringLiteral("ttyUSB0"));
    QVERIFY(u >= 0);
    QVERIFY(box->itemData(u, Qt::ToolTipRole).toString().contains(QStringLiteral("FT232R USB UART")));
    QVERIFY(box->itemData(u, Qt::ToolTipRole).toString().contains(QStringLiteral("USB 0403:6001")));
    const int b = box->findText(QStringLiteral("rfcomm0"));
    QVERIFY(box->itemData(b, Qt::ToolTipRole).toString().contains(QStringLiteral("Bluetooth")));
    // The chosen port vanished from the system: it stays shown and chosen.
    QCOMPARE(box->currentText(), QStringLiteral("ttyGONE"));

    // The value used is the name alone.
    box->setCurrentIndex(u);
    QTest::mouseClick(w->form()->connectBtn, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w->boxes.size(), 1, ChainMs);
    QCOMPARE(w->kz()->deviceName(), QStringLiteral("ttyUSB0"));
}

void TstFieldWindow::detectSelectsPortAndSpeed()
{
    SimState s;
    s.baud = 9600;
    s.wrongSpeedNoise = true;
    SimModem sim;
    sim.setState(s);
    PtyPeer silent;
    QVERIFY(sim.start() && silent.ok());
    auto w = makeWindow({ silent.name(), sim.portName() });
    w->form()->portName->setCurrentIndex(0);
    QPushButton *detect = detectButton(*w);
    QVERIFY(detect);
    QCOMPARE(detect->text(), QStringLiteral("Найти модем"));
    QTest::mouseClick(detect, Qt::LeftButton);
    QCOMPARE(detect->text(), QStringLiteral("Остановить поиск"));
    QVERIFY(!w->form()->connectBtn->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(w->runningOperation() == MainWindow::Running::None, ChainMs);
    QVERIFY(w->boxes.isEmpty());
    QCOMPARE(w->form()->portName->currentText(), sim.portName());
    QCOMPARE(w->form()->portBaud->currentText(), QStringLiteral("9600"));
    QVERIFY(w->statusBar()->currentMessage().contains(QStringLiteral("Модем найден")));
    QCOMPARE(detect->text(), QStringLiteral("Найти модем"));

    // Connect then uses what was found.
    QTest::mouseClick(w->form()->connectBtn, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(w->form()->disconnectBtn->isEnabled(), ChainMs);
    QCOMPARE(w->form()->infoSerial->text(), QStringLiteral("520000123"));
    QVERIFY(!detect->isEnabled());
}

void TstFieldWindow::detectFindsNothing()
{
    PtyPeer silent;
    QVERIFY(silent.ok());
    const QString missing = QStringLiteral("/dev/kz-no-such-port");
    auto w = makeWindow({ silent.name(), missing });
    QTest::mouseClick(detectButton(*w), Qt::LeftButton);
    // Stopped halfway through the silent port: the search ends soon after.
    QTest::qWait(400);
    QTest::mouseClick(detectButton(*w), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w->boxes.size(), 1, 5000);
    QCOMPARE(w->boxes[0].text, QStringLiteral("Модем не найден."));
    QVERIFY(w->boxes[0].informative.contains(silent.name() + QStringLiteral(": Поиск остановлен.")));

    // Searched to the end: each port tried, with why it failed.
    w->boxes.clear();
    QTest::mouseClick(detectButton(*w), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w->boxes.size(), 1, ChainMs);
    const QString why = w->boxes[0].informative;
    QVERIFY2(why.contains(silent.name() + QStringLiteral(": Модем не отвечает")), qPrintable(why));
    QVERIFY2(why.contains(missing + QStringLiteral(": Порт ") + missing + QStringLiteral(" не существует.")),
             qPrintable(why));
    QVERIFY(w->form()->connectBtn->isEnabled());
}

void TstFieldWindow::haltedModemChoices_data()
{
    QTest::addColumn<int>("choice");
    QTest::newRow("start the application") << 0;
    QTest::newRow("update the firmware") << 1;
    QTest::newRow("cancel") << 2;
}

void TstFieldWindow::haltedModemChoices()
{
    QFETCH(int, choice);
    SimState s;
    s.halted = true;
    s.guardMs = 200;
    SimModem sim;
    sim.setState(s);
    QVERIFY(sim.start());
    auto w = makeWindow({ sim.portName() });
    Ui::MainWindow *ui = w->form();
    w->choiceAnswers << choice;
    QTest::mouseClick(ui->connectBtn, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w->choicesOffered.size(), 1, ChainMs);
    QCOMPARE(w->questions.last().text,
             QStringLiteral("Приложение модема не запущено. Возможно, было прервано обновление ПО."));
    QCOMPARE(w->choicesOffered[0],
             (QStringList { "Запустить приложение", "Обновить ПО", "Отмена" }));
    QVERIFY(w->boxes.isEmpty()); // not the information failure

    if (choice == 0) {
        QTRY_VERIFY_WITH_TIMEOUT(ui->disconnectBtn->isEnabled(), 60000);
        QCOMPARE(ui->infoSerial->text(), QStringLiteral("520000123"));
        QVERIFY(!sim.state().halted);
        return;
    }
    if (choice == 2) {
        QVERIFY(ui->connectBtn->isEnabled());
        QTRY_VERIFY(!w->kz()->isPortOpen());
        QVERIFY(sim.state().halted);
        return;
    }

    // The update tab in its recovery mode.
    QCOMPARE(ui->tabWidget->currentWidget(), ui->tab_3);
    QVERIFY(ui->updateSelectBtn->isEnabled());
    QTemporaryDir dir;
    FirmwareContainer c;
    c.magic = firmwareMagic();
    c.version = 3;
    c.info.model = QStringLiteral("KZ520");
    c.info.hardwareVersions = { "03" };
    c.info.preCommands = { { "AT^JINFO,11", "JI11:03" } };
    c.files = { { "atc65.jar", QByteArray(8000, 'a') } };
    const QString path = dir.filePath(QStringLiteral("fw.kzbin"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && writeContainer(&f, c));
    }
    w->fileAnswers << path;
    QTest::mouseClick(ui->updateSelectBtn, Qt::LeftButton);
    QVERIFY(ui->updateButton->isEnabled()); // no hardware check: a confirmation instead
    w->questionAnswers << QMessageBox::Yes;
    QTest::mouseClick(ui->updateButton, Qt::LeftButton);
    QCOMPARE(w->questions.size(), 2);
    QVERIFY(w->questions.last().text.contains(QStringLiteral("не сообщает версию оборудования")));
    QTRY_VERIFY_WITH_TIMEOUT(ui->disconnectBtn->isEnabled() && ui->infoSerial->text() == "520000123",
                             120000);
    QCOMPARE(sim.state().drive.value("atc65.jar"), c.files[0].data);
    QVERIFY(!sim.state().halted);
    QVERIFY(w->boxes.isEmpty());
    QCOMPARE(sim.commands().count(QStringLiteral("AT^JINFO,11")), 0); // pre-commands skipped
}

QTEST_MAIN(TstFieldWindow)
#include "tst_fieldwindow.moc"
