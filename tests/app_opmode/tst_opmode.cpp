// The operating-mode tab on a window connected to the simulated modem: which
// controls each mode offers, that every participating control rebuilds the
// command, reading a stored command back into the controls, saving, and the
// question on closing.
#include "config/automode.h"
#include "support/windowrig.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <memory>

namespace {

const QStringList modeControls = {
    "conBaseDyndnsEnabled",     "conBaseDyndnsEdit",        "conBaseGprsSelect",
    "conBaseGprsEdit",          "conBaseNtripCasterSelect", "conBaseNtripCasterEdit",
    "conBaseNtripCasterUrl",    "conBaseNtripCasterAuth",   "conBaseNtripServerSelect",
    "conBaseNtripServerEdit",   "conBaseNtripServerUrl",    "conBaseNtripServerAuth",
    "conBaseTcpPort",           "conRoverCsdNumber",        "conRoverGprsSelect",
    "conRoverGprsEdit",         "conRoverNtripSelect",      "conRoverNtripEdit",
    "conRoverNtripUrl",         "conRoverNtripAuth",        "conRoverTcpAddress",
    "conRoverTcpPort",          "conRestart",
};

SimState modemState()
{
    SimState s;
    s.gprs = { { "default", "internet", "", "" }, { "P", "apn.example", "user", "pass" } };
    s.ntrip = { { "S", "caster.example", "2101", "MP1", "cl", "cp", "sp", "" },
                { "T", "t.example", "2102", "MP2", "tl", "tp", "tsp", "" } };
    s.dyndnsSet = true;
    s.dyndns = { "login", "secret", "base.example" };
    s.autoexecC = "ATD*93*P#5000";
    return s;
}

// "name=value;name=value": line edits take the text, boxes select the item of
// that name (empty: no item), check boxes and mode buttons 1 or 0.
void setControls(QWidget *window, const QString &pairs)
{
    for (const QString &pair : pairs.split(';', Qt::SkipEmptyParts)) {
        const QString name = pair.section('=', 0, 0);
        const QString value = pair.section('=', 1);
        QWidget *w = window->findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->setText(value);
        else if (auto *c = qobject_cast<QComboBox *>(w))
            c->setCurrentIndex(value.isEmpty() ? -1 : c->findText(value));
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            b->setChecked(value == "1");
    }
}

void checkControls(QWidget *window, const QString &pairs)
{
    for (const QString &pair : pairs.split(';', Qt::SkipEmptyParts)) {
        const QString name = pair.section('=', 0, 0);
        const QString value = pair.section('=', 1);
        QWidget *w = window->findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        QString actual;
        if (auto *e = qobject_cast<QLineEdit *>(w))
            actual = e->text();
        else if (auto *c = qobject_cast<QComboBox *>(w))
            actual = c->currentText();
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            actual = b->isChecked() ? "1" : "0";
        QVERIFY2(actual == value,
                 qPrintable(QStringLiteral("%1 is '%2', expected '%3'").arg(name, actual, value)));
    }
}

// A known starting point for the rebuild and parse tables.
const QString neutral = "conRestart=0;conBaseTcpPort=5000;conRoverCsdNumber=;conRoverTcpAddress=;"
                        "conRoverTcpPort=;conBaseGprsSelect=P;conRoverGprsSelect=P;"
                        "conBaseNtripServerSelect=S;conBaseNtripCasterSelect=S;"
                        "conRoverNtripSelect=S";

} // namespace

class TestOpMode : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowOnSim> f;
    Ui::MainWindow *ui = nullptr;

    void checkMode(int id) { QVERIFY(f->w.conModeButtons()->button(id)->isChecked()); }
    void reparse(const QString &bt, const QString &com)
    {
        f->w.kz()->config.autoexecBt = bt;
        f->w.kz()->config.autoexecCom = com;
        f->w.kz()->publishRecord(); // as the read does before its signal
        f->w.kzRequestCompleted(KZConfig::ConfigAutoexec, 0);
    }

private slots:
    void initTestCase();
    void readOnConnect();
    void modeEnables_data();
    void modeEnables();
    void controlsRebuild_data();
    void controlsRebuild();
    void ntripSummary_data();
    void ntripSummary();
    void parseRead_data();
    void parseRead();
    void autostartSwitchesExclude();
    void tryInTerminal();
    void saveWritesOneCommand();
    void baseWithoutAutostartWarns_data();
    void baseWithoutAutostartWarns();
    void closeQuestion();
    void cleanupTestCase() { f.reset(); }
};

void TestOpMode::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    f = std::make_unique<WindowOnSim>();
    QVERIFY(f->connectTo(modemState()));
    ui = f->ui();
}

void TestOpMode::readOnConnect()
{
    checkMode(AutoMode::BaseTcp);
    checkControls(&f->w, "conAutostartCom=1;conAutostartBT=0;conRestart=0;conBaseTcpPort=5000;"
                         "conBaseGprsSelect=P;conBaseDyndnsEnabled=1");
    QCOMPARE(ui->conCommand->text(), QStringLiteral("ATD*93*P#5000"));
    QVERIFY(!f->w.isModeUnsaved());
}

void TestOpMode::modeEnables_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("base CSD") << int(AutoMode::BaseCsd) << QStringList();
    QTest::newRow("base TCP server")
            << int(AutoMode::BaseTcp)
            << QStringList { "conBaseDyndnsEnabled", "conBaseDyndnsEdit", "conBaseGprsSelect",
                             "conBaseGprsEdit", "conBaseTcpPort", "conRestart" };
    QTest::newRow("base NTRIP server")
            << int(AutoMode::BaseNtripServer)
            << QStringList { "conBaseGprsSelect",      "conBaseGprsEdit",
                             "conBaseNtripServerSelect", "conBaseNtripServerEdit",
                             "conBaseNtripServerUrl",  "conBaseNtripServerAuth", "conRestart" };
    QTest::newRow("base NTRIP caster")
            << int(AutoMode::BaseNtripCaster)
            << QStringList { "conBaseDyndnsEnabled",     "conBaseDyndnsEdit",
                             "conBaseGprsSelect",        "conBaseGprsEdit",
                             "conBaseNtripCasterSelect", "conBaseNtripCasterEdit",
                             "conBaseNtripCasterUrl",    "conBaseNtripCasterAuth", "conRestart" };
    QTest::newRow("rover CSD") << int(AutoMode::RoverCsd)
                               << QStringList { "conRoverCsdNumber", "conRestart" };
    QTest::newRow("rover TCP client")
            << int(AutoMode::RoverTcp)
            << QStringList { "conRoverGprsSelect", "conRoverGprsEdit", "conRoverTcpAddress",
                             "conRoverTcpPort", "conRestart" };
    QTest::newRow("rover NTRIP client")
            << int(AutoMode::RoverNtrip)
            << QStringList { "conRoverGprsSelect", "conRoverGprsEdit", "conRoverNtripSelect",
                             "conRoverNtripEdit", "conRoverNtripUrl", "conRoverNtripAuth",
                             "conRestart" };
}

void TestOpMode::modeEnables()
{
    QFETCH(int, mode);
    QFETCH(QStringList, enabled);
    // From every other mode, so that nothing is left over from the one before.
    for (int from : AutoMode::modes) {
        if (from == mode)
            continue;
        f->w.conModeButtons()->button(from)->click();
        f->w.conModeButtons()->button(mode)->click();
        QCOMPARE(f->w.conModeButtons()->checkedId(), mode);
        for (const QString &name : modeControls) {
            const bool on = f->w.findChild<QWidget *>(name)->isEnabled();
            QVERIFY2(on == enabled.contains(name),
                     qPrintable(QStringLiteral("%1 from %2: %3").arg(name).arg(from).arg(on)));
        }
    }
}

void TestOpMode::controlsRebuild_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("command");
    QTest::newRow("base TCP port") << int(AutoMode::BaseTcp) << "conBaseTcpPort=6000"
                                   << "ATD*93*P#6000";
    QTest::newRow("base GPRS") << int(AutoMode::BaseTcp) << "conBaseGprsSelect=default"
                               << "ATD*93*default#5000";
    QTest::newRow("reconnect") << int(AutoMode::BaseTcp) << "conRestart=1" << "ATRD*93*P#5000";
    QTest::newRow("base CSD ignores reconnect") << int(AutoMode::BaseCsd) << "conRestart=1"
                                                << "ATS0=1";
    QTest::newRow("mode button") << int(AutoMode::BaseTcp) << "conModeRoverCsd=1" << "ATD";
    QTest::newRow("number") << int(AutoMode::RoverCsd) << "conRoverCsdNumber=+79001234567"
                            << "ATD+79001234567";
    QTest::newRow("address") << int(AutoMode::RoverTcp) << "conRoverTcpAddress=host.example"
                             << "ATD*91*P#host.example,";
    QTest::newRow("port") << int(AutoMode::RoverTcp) << "conRoverTcpPort=2101"
                          << "ATD*91*P#,2101";
    QTest::newRow("rover GPRS") << int(AutoMode::RoverTcp) << "conRoverGprsSelect=default"
                                << "ATD*91*default#,";
    QTest::newRow("server profile") << int(AutoMode::BaseNtripServer)
                                    << "conBaseNtripServerSelect=T" << "ATD*94*P*T#";
    QTest::newRow("caster profile") << int(AutoMode::BaseNtripCaster)
                                    << "conBaseNtripCasterSelect=T" << "ATD*95*P*T#";
    QTest::newRow("rover profile") << int(AutoMode::RoverNtrip) << "conRoverNtripSelect=T"
                                   << "ATD*92*P*T#";
    QTest::newRow("no GPRS item") << int(AutoMode::RoverNtrip) << "conRoverGprsSelect="
                                  << "ATD*92**S#";
}

void TestOpMode::controlsRebuild()
{
    QFETCH(int, mode);
    QFETCH(QString, change);
    QFETCH(QString, command);
    f->w.conModeButtons()->button(mode)->setChecked(true);
    setControls(&f->w, neutral);
    // Whatever the user typed gives way to the rebuilt command.
    ui->conCommand->setText("typed by hand");
    setControls(&f->w, change);
    QCOMPARE(ui->conCommand->text(), command);
}

void TestOpMode::ntripSummary_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("urlLabel");
    QTest::addColumn<QString>("authLabel");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("auth");
    QTest::newRow("server") << "conBaseNtripServerSelect" << "conBaseNtripServerUrl"
                            << "conBaseNtripServerAuth" << "caster.example:2101/MP1" << "sp";
    QTest::newRow("caster") << "conBaseNtripCasterSelect" << "conBaseNtripCasterUrl"
                            << "conBaseNtripCasterAuth" << ":2101/MP1" << "cl:cp";
    QTest::newRow("rover") << "conRoverNtripSelect" << "conRoverNtripUrl" << "conRoverNtripAuth"
                           << "caster.example:2101/MP1" << "cl:cp";
}

void TestOpMode::ntripSummary()
{
    QFETCH(QString, selector);
    QFETCH(QString, urlLabel);
    QFETCH(QString, authLabel);
    QFETCH(QString, url);
    QFETCH(QString, auth);
    auto *box = f->w.findChild<QComboBox *>(selector);
    auto *urlText = f->w.findChild<QLabel *>(urlLabel);
    auto *authText = f->w.findChild<QLabel *>(authLabel);
    box->setCurrentIndex(box->findText("T"));
    box->setCurrentIndex(box->findText("S"));
    QCOMPARE(urlText->text(), url);
    QCOMPARE(authText->text(), auth);
    // No item, or an item the record does not have: the labels stay.
    box->setCurrentIndex(-1);
    box->addItem("not on the modem");
    box->setCurrentIndex(box->count() - 1);
    QCOMPARE(urlText->text(), url);
    QCOMPARE(authText->text(), auth);
    box->removeItem(box->count() - 1);
}

void TestOpMode::parseRead_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("bt");
    QTest::addColumn<QString>("com");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("command");

    const int server = AutoMode::BaseNtripServer;
    QTest::newRow("base NTRIP server on COM")
            << "conBaseNtripServerSelect=T;conBaseNtripCasterSelect=T;conBaseGprsSelect=default"
            << "" << "ATD*94*P*S#" << server
            << "conAutostartCom=1;conAutostartBT=0;conBaseNtripServerSelect=S;"
               "conBaseNtripCasterSelect=S;conBaseGprsSelect=P;conRestart=0"
            << "ATD*94*P*S#";
    QTest::newRow("Bluetooth wins") << "conRoverGprsSelect=default"
                                    << "ATRD*91*P#host.example,2101" << "ATS0=1"
                                    << int(AutoMode::RoverTcp)
                                    << "conAutostartBT=1;conAutostartCom=0;conRestart=1;"
                                       "conRoverTcpAddress=host.example;conRoverTcpPort=2101;"
                                       "conRoverGprsSelect=P"
                                    << "ATRD*91*P#host.example,2101";
    QTest::newRow("letter codes are case-sensitive")
            << "" << "" << "atrd*tc*P#h,1" << int(AutoMode::RoverCsd)
            << "conRestart=1;conRoverCsdNumber=*tc*P#h,1" << "ATRD*tc*P#h,1";
    QTest::newRow("letter code") << "" << "" << "ATD*NS*default*T#" << server
                                 << "conBaseNtripServerSelect=T;conBaseGprsSelect=default"
                                 << "ATD*94*default*T#";
    QTest::newRow("NTRIP without names keeps the boxes")
            << "conRoverGprsSelect=default;conRoverNtripSelect=T" << "" << "ATD*92*#"
            << int(AutoMode::RoverNtrip) << "conRoverGprsSelect=default;conRoverNtripSelect=T"
            << "ATD*92*default*T#";
    QTest::newRow("empty G is default") << "" << "" << "ATD*92**S#" << int(AutoMode::RoverNtrip)
                                        << "conRoverGprsSelect=default;conRoverNtripSelect=S"
                                        << "ATD*92*default*S#";
    QTest::newRow("base TCP without port") << "" << "" << "ATD*93*P#" << int(AutoMode::BaseTcp)
                                           << "conBaseTcpPort=;conBaseGprsSelect=P"
                                           << "ATD*93*P#";
    QTest::newRow("answering with any value") << "conRestart=1" << "" << "ATS0=0"
                                              << int(AutoMode::BaseCsd) << "conRestart=1"
                                              << "ATS0=1";
    QTest::newRow("unknown profile") << "" << "" << "ATD*93*Q#5000" << int(AutoMode::BaseTcp)
                                     << "conBaseGprsSelect=" << "ATD*93*#5000";
    QTest::newRow("no known prefix") << "conModeRoverCsd=1;conRoverCsdNumber=123" << ""
                                     << "AT+CSQ" << int(AutoMode::RoverCsd)
                                     << "conAutostartCom=1;conRoverCsdNumber=123" << "ATD123";
    QTest::newRow("nothing stored") << "conModeRoverCsd=1;conAutostartCom=1;conAutostartBT=0"
                                    << "" << "" << int(AutoMode::RoverCsd)
                                    << "conAutostartCom=0;conAutostartBT=0" << "ATD";
}

void TestOpMode::parseRead()
{
    QFETCH(QString, before);
    QFETCH(QString, bt);
    QFETCH(QString, com);
    QFETCH(int, mode);
    QFETCH(QString, after);
    QFETCH(QString, command);
    f->w.conModeButtons()->button(AutoMode::BaseTcp)->setChecked(true);
    setControls(&f->w, neutral);
    setControls(&f->w, before);
    ui->conCommand->setText("typed by hand");
    reparse(bt, com);
    checkMode(mode);
    checkControls(&f->w, after);
    QCOMPARE(ui->conCommand->text(), command);
    // The mode's own controls are the ones offered afterwards.
    QCOMPARE(ui->conRestart->isEnabled(), mode != AutoMode::BaseCsd);
}

void TestOpMode::autostartSwitchesExclude()
{
    ui->conAutostartCom->setChecked(true);
    QVERIFY(!ui->conAutostartBT->isChecked());
    ui->conAutostartBT->click();
    QVERIFY(ui->conAutostartBT->isChecked());
    QVERIFY(!ui->conAutostartCom->isChecked());
    ui->conAutostartCom->click();
    QVERIFY(ui->conAutostartCom->isChecked());
    QVERIFY(!ui->conAutostartBT->isChecked());
    ui->conAutostartCom->click();
    QVERIFY(!ui->conAutostartCom->isChecked());
    QVERIFY(!ui->conAutostartBT->isChecked());
}

void TestOpMode::tryInTerminal()
{
    f->sim.clearLog();
    ui->conCommand->setText("AT+CSQ");
    ui->conTerminalCheck->click();
    QCOMPARE(ui->tabWidget->currentIndex(), ui->tabWidget->count() - 1);
    QVERIFY(ui->termCmd->text().isEmpty());
    QVERIFY(waitUntil([&] { return f->sim.commands().contains("AT+CSQ"); }, 3000));
    ui->tabWidget->setCurrentIndex(1);
}

void TestOpMode::saveWritesOneCommand()
{
    reparse(QString(), "ATD*93*P#5000"); // what the modem holds
    setControls(&f->w, "conBaseTcpPort=7000;conBaseDyndnsEnabled=0");
    QVERIFY(f->w.isModeUnsaved());
    f->sim.clearLog();
    const KZConfig before = f->w.kz()->config;
    const int boxes = f->w.boxes.size();
    const int writes = f->writes.size();
    const int reads = f->reads.size();
    ui->conSave->click();
    QVERIFY(f->waitWriteAndReadBack(writes, reads));
    QCOMPARE(f->writes.last(), qMakePair(0x60, 0));
    QCOMPARE(f->reads.last(), qMakePair(0x60, 0));

    QStringList autostartWrites;
    for (const QString &c : f->sim.commands())
        if (c.startsWith("AT^JAUTO,") && c.contains('='))
            autostartWrites << c;
    QCOMPARE(autostartWrites, QStringList { "AT^JAUTO,C=ATD*93*P#7000" });
    QVERIFY(f->sim.commands().contains("AT+DYNDNS=,,"));
    QCOMPARE(f->sim.state().autoexecC, QStringLiteral("ATD*93*P#7000"));

    // Read back: the controls show what the modem now holds.
    QCOMPARE(ui->conCommand->text(), QStringLiteral("ATD*93*P#7000"));
    checkControls(&f->w, "conAutostartCom=1;conBaseDyndnsEnabled=0");
    QVERIFY(!f->w.isModeUnsaved());
    QCOMPARE(f->w.boxes.size(), boxes);
    QVERIFY(ui->conSave->isEnabled());
}

void TestOpMode::baseWithoutAutostartWarns_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("com");
    QTest::addColumn<bool>("warns");
    QTest::newRow("base TCP, no autostart") << int(AutoMode::BaseTcp) << false << true;
    QTest::newRow("base CSD, no autostart") << int(AutoMode::BaseCsd) << false << true;
    QTest::newRow("base TCP on COM") << int(AutoMode::BaseTcp) << true << false;
    QTest::newRow("rover, no autostart") << int(AutoMode::RoverCsd) << false << false;
}

void TestOpMode::baseWithoutAutostartWarns()
{
    QFETCH(int, mode);
    QFETCH(bool, com);
    QFETCH(bool, warns);
    f->w.conModeButtons()->button(mode)->click();
    ui->conAutostartBT->setChecked(false);
    ui->conAutostartCom->setChecked(com);
    f->sim.clearLog();
    const KZConfig before = f->w.kz()->config;
    const int boxes = f->w.boxes.size();
    const int writes = f->writes.size();
    const int reads = f->reads.size();
    ui->conSave->click();
    // The warning comes while the write is under way, not instead of it.
    QCOMPARE(f->w.boxes.size(), boxes + (warns ? 1 : 0));
    if (warns) {
        const ShownBox &box = f->w.boxes.last();
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.title, QStringLiteral("Внимание"));
        QCOMPARE(box.text, QStringLiteral("Выбран режим базы без автозапуска. Модем при включении "
                                          "будет работать в режиме ровера до введения указанной "
                                          "AT-команды."));
    }
    QVERIFY(f->waitWriteAndReadBack(writes, reads));
    // One command is written; a command the modem holds for the channel
    // switched off is cleared after it.
    const QStringList sent = f->sim.commands().filter("AT^JAUTO,").filter("=");
    QVERIFY(!sent.isEmpty());
    QVERIFY(sent.first().startsWith(com ? "AT^JAUTO,C=AT" : "AT^JAUTO,B="));
    const bool clears = com ? !before.autoexecBt.isEmpty() : !before.autoexecCom.isEmpty();
    QCOMPARE(sent.size(), clears ? 2 : 1);
    if (clears)
        QCOMPARE(sent.last(), QString(com ? "AT^JAUTO,B=" : "AT^JAUTO,C="));
    QCOMPARE(f->w.kz()->config.autoexecCom.isEmpty(), !com);
    QVERIFY(f->w.kz()->config.autoexecBt.isEmpty());
}

void TestOpMode::closeQuestion()
{
    // Disconnected: never asks, whatever the mode shows.
    {
        TestWindow idle;
        idle.kz()->config.autoexecCom = "ATD*93*P#5000";
        idle.show();
        QVERIFY(idle.close());
        QVERIFY(idle.questions.isEmpty());
    }

    f->w.show();
    reparse(QString(), "ATD*93*P#5000");
    QVERIFY(!f->w.isModeUnsaved());
    QVERIFY(f->w.close());
    QVERIFY(f->w.questions.isEmpty());

    f->w.show();
    ui->conAutostartCom->setChecked(false);
    QVERIFY(f->w.isModeUnsaved());
    f->w.questionAnswers.enqueue(QMessageBox::No);
    QVERIFY(!f->w.close());
    QCOMPARE(f->w.questions.size(), 1);
    QCOMPARE(f->w.questions.last().title, QStringLiteral("Настройки не сохранены"));
    QCOMPARE(f->w.questions.last().text,
             QStringLiteral("Режим работы был изменён, но не сохранён. Выйти из программы?"));
    QVERIFY(f->w.isVisible());

    f->w.questionAnswers.enqueue(QMessageBox::Yes);
    QVERIFY(f->w.close());
    QCOMPARE(f->w.questions.size(), 2);
}

QTEST_MAIN(TestOpMode)
#include "tst_opmode.moc"
