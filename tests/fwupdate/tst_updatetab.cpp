// The update tab of the real window, connected to the simulated modem:
// choosing containers, the button's state, the Bluetooth refusal and an
// update started from the tab.
#include "support/containers.h"
#include "support/windowrig.h"

#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>

namespace {

FirmwareContainer makeContainer(const QStringList &hardware, const QString &model, int software)
{
    FirmwareContainer c;
    c.magic = firmwareMagic();
    c.version = 3;
    c.info.model = model;
    c.info.hardwareVersions = hardware;
    c.info.softwareVersion = software;
    c.files = { { QStringLiteral("atc65.jar"), QByteArray(2000, 'j') } };
    return c;
}

} // namespace

class TestUpdateTab : public QObject
{
    Q_OBJECT

    SimModem sim;
    std::unique_ptr<TestWindow> w;
    QTemporaryDir dir;
    Ui::MainWindow *ui = nullptr;

    QString writeFile(const QString &name, const FirmwareContainer &c)
    {
        return writeContainerFile(dir.filePath(name), c);
    }
    void choose(const QString &path)
    {
        w->fileAnswers.enqueue(path);
        QTest::mouseClick(ui->updateSelectBtn, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        SimState s;
        s.guardMs = 200;
        s.hardware = QStringLiteral("03");
        sim.setState(s);
        QVERIFY(sim.start());
        w = std::make_unique<TestWindow>();
        ui = w->form();
        connectWindow(*w, sim, 20000);
        QCOMPARE(w->identityShown().hardwareVersion, QString("03"));
        QVERIFY(!ui->updateButton->isEnabled()); // nothing chosen yet
    }

    void init()
    {
        w->boxes.clear();
        w->fileAnswers.clear();
    }

    void chooseContainer_data()
    {
        QTest::addColumn<QStringList>("hardware");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("fits") << QStringList { "02", "03" } << "02,03" << true;
        QTest::newRow("does not fit") << QStringList { "01", "02" } << "01,02 /!\\" << false;
        QTest::newRow("case matters") << QStringList { "03a" } << "03a /!\\" << false;
    }
    void chooseContainer()
    {
        QFETCH(QStringList, hardware);
        QFETCH(QString, shown);
        QFETCH(bool, enabled);
        const FirmwareContainer c = makeContainer(hardware, "KZ520", 401);
        const QString path = writeFile("c.kzbin", c);
        QVERIFY(!path.isEmpty());
        choose(path);
        QCOMPARE(w->lastFilter, QString("*.kzbin"));
        QVERIFY(w->boxes.isEmpty());
        QCOMPARE(ui->updateFileField->text(), path);
        QCOMPARE(ui->updateHardVersion->text(), shown);
        QCOMPARE(ui->updateSoftVersion->text(), QString("401"));
        QCOMPARE(ui->updateModel->text(), QString("KZ520"));
        QCOMPARE(ui->updateButton->isEnabled(), enabled);
        QCOMPARE(w->chosenContainer().info, c.info);
        QCOMPARE(w->chosenContainer().files, c.files);
    }

    void badFilesKeepTheContainer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("damaged") << "damaged" << "Файл прошивки повреждён";
        QTest::newRow("cannot open") << "missing" << "Не удалось открыть файл прошивки";
        QTest::newRow("cancelled") << "cancel" << "";
    }
    void badFilesKeepTheContainer()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const FirmwareContainer good = makeContainer({ "03" }, "KZ520", 402);
        choose(writeFile("good.kzbin", good));
        QVERIFY(ui->updateButton->isEnabled());
        const QString shownPath = ui->updateFileField->text();

        QString path;
        if (kind == "damaged") {
            QByteArray bytes;
            {
                QFile f(writeFile("bad.kzbin", makeContainer({ "03" }, "OTHER", 1)));
                QVERIFY(f.open(QIODevice::ReadOnly));
                bytes = f.readAll();
            }
            path = dir.filePath("bad.kzbin");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes.left(bytes.size() - 10)); // the last file record cut short
        } else if (kind == "missing") {
            path = dir.filePath("no-such.kzbin");
        }
        w->boxes.clear();
        if (!path.isEmpty())
            choose(path);
        else
            QTest::mouseClick(ui->updateSelectBtn, Qt::LeftButton);

        if (message.isEmpty()) {
            QVERIFY(w->boxes.isEmpty());
        } else {
            QCOMPARE(w->boxes.size(), 1);
            QCOMPARE(w->boxes[0].icon, QMessageBox::Critical);
            QCOMPARE(w->boxes[0].title, QString("Ошибка"));
            QVERIFY2(w->boxes[0].text.startsWith(message), qPrintable(w->boxes[0].text));
        }
        // The container and its display stay; the button waits for a new choice.
        QCOMPARE(w->chosenContainer().info, good.info);
        QCOMPARE(w->chosenContainer().files, good.files);
        QCOMPARE(ui->updateFileField->text(), shownPath);
        QCOMPARE(ui->updateModel->text(), QString("KZ520"));
        QCOMPARE(ui->updateSoftVersion->text(), QString("402"));
        QVERIFY(!ui->updateButton->isEnabled());
    }

    void bluetoothRefused()
    {
        choose(writeFile("bt.kzbin", makeContainer({ "03" }, "KZ520", 403)));
        QVERIFY(ui->updateButton->isEnabled());
        sim.clearLog();
        w->identityShown().viaCom = false;
        QTest::mouseClick(ui->updateButton, Qt::LeftButton);
        w->identityShown().viaCom = true;
        QCOMPARE(w->boxes.size(), 1);
        QCOMPARE(w->boxes[0].icon, QMessageBox::Information);
        QCOMPARE(w->boxes[0].title, QString());
        QCOMPARE(w->boxes[0].text, QString("Обновление ПО через Bluetooth невозможно. "
                                           "Переподключитесь к модему через COM-порт."));
        QTest::qWait(300);
        QVERIFY(sim.commands().isEmpty());
        QVERIFY(ui->updateButton->isEnabled());
        QVERIFY(ui->updateSelectBtn->isEnabled());
    }

    void updateFromTheTab()
    {
        const FirmwareContainer c = makeContainer({ "03" }, "KZ520", 404);
        choose(writeFile("run.kzbin", c));
        QVERIFY(ui->updateButton->isEnabled());
        sim.clearLog();
        int maximumSeen = 0;
        QString lastFormat;
        const auto watch = connect(ui->updateProgress, &QProgressBar::valueChanged, this, [&](int v) {
            if (ui->updateProgress->maximum() == 2000)
                maximumSeen = qMax(maximumSeen, v);
            lastFormat = ui->updateProgress->format();
        });
        QTest::mouseClick(ui->updateButton, Qt::LeftButton);
        QVERIFY(!ui->updateButton->isEnabled());
        QVERIFY(!ui->updateSelectBtn->isEnabled());
        QVERIFY(!ui->comSaveButton->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(ui->updateStep->text().startsWith("Обновление ПО: передача файла"), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(ui->updateSelectBtn->isEnabled(), 30000);
        disconnect(watch);
        QCOMPARE(ui->updateStep->text(), QString("Обновление ПО завершено"));
        QVERIFY(w->boxes.isEmpty());
        QCOMPARE(maximumSeen, 2000);
        // The bar told the bytes of the total, the rate and the time left.
        QVERIFY2(QRegularExpression("^\\d+ из 2000 байт, .+/с, осталось ").match(lastFormat).hasMatch(),
                 qPrintable(lastFormat));
        QCOMPARE(ui->updateProgress->format(), QStringLiteral("%p%"));
        QVERIFY(ui->updateButton->isEnabled()); // the container still fits
        QVERIFY(ui->comSaveButton->isEnabled());
        QCOMPARE(sim.state().drive.value("atc65.jar"), c.files[0].data);
        QVERIFY(sim.commands().contains("AT^SJRA=A:/atc65.jar"));

        // Progress of later operations no longer reaches the tab.
        const QString step = ui->updateStep->text();
        emit w->kz()->progress(QStringLiteral("другое"));
        QCoreApplication::processEvents();
        QCOMPARE(ui->updateStep->text(), step);
    }
};

QTEST_MAIN(TestUpdateTab)
#include "tst_updatetab.moc"
