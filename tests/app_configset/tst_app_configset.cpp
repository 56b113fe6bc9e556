// The set-file buttons against simulated modems: a set taken from one modem
// and written to another, the version question, refused files and reset.
#include "support/windowrig.h"

#include "forms/profileforms.h"
#include <QListWidget>

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

void applyAll(SimState &st, const QList<QPair<QString, QString>> &settings)
{
    QString error;
    for (const auto &kv : settings) {
        if (!SimModem::applySetting(st, kv.first, kv.second, &error))
            qFatal("bad sim setting %s: %s", qPrintable(kv.first), qPrintable(error));
    }
}

// A modem with profiles, a DynDNS account, Bluetooth mode 2 and an autostart
// command, at 9600 baud.
SimState richModem()
{
    SimState st;
    applyAll(st, { { "gprs", "inet,internet,u1,p1" },
                   { "gprs", "work,apn.work,,pw" },
                   { "gprs", "spare,apn.spare,x," },
                   { "ntrip", "cast,caster.example,2101,MP1,cl,clp,srv,STR;x" },
                   { "dyndns", "login,secret,base.dyndns.org" },
                   { "btmode", "2,00:11:22:33:44:55,4321" },
                   { "autoexec_b", "ATD*92*inet*cast#" },
                   { "baud", "9600" } });
    return st;
}

SimState otherModem()
{
    SimState st;
    applyAll(st, { { "gprs", "old,apn.old,,"}, { "ntrip", "o1,h,1,m,,,," },
                   { "ntrip", "o2,h,2,m,,,," } });
    return st;
}

void writeFile(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

} // namespace

class TestConfigSetUi : public QObject
{
    Q_OBJECT

private slots:
    void saveThenLoadIntoAnotherModem();
    void saveWithoutModeButtonKeepsFileLoadable();
    void versionQuestion_data();
    void versionQuestion();
    void refusedFiles_data();
    void refusedFiles();
    void saveToUnwritablePath();
    void resetEmptiesEverything();
};

void TestConfigSetUi::saveThenLoadIntoAnotherModem()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.kzini");

    SimModem first;
    startSim(first, richModem());
    TestWindow w;
    connectWindow(w, first);
    QCOMPARE(w.btModeButtons()->checkedId(), 2);

    w.fileAnswers.enqueue(path);
    w.form()->configSave->click();
    QCOMPARE(w.lastFilter, QStringLiteral("*.kzini"));
    QVERIFY(w.boxes.isEmpty());
    {
        QSettings s(path, QSettings::IniFormat);
        QCOMPARE(s.value("com/baudrate").toInt(), 5); // the 9600-baud row
        QCOMPARE(s.value("gprsProfiles/size").toInt(), 3);
        QCOMPARE(s.value("autoexec_bt").toString(), QStringLiteral("ATD*92*inet*cast#"));
        QCOMPARE(s.value("bluetooth/mode").toInt(), 2);
    }
    const SimState from = first.state();

    w.form()->disconnectBtn->click();
    SimModem second;
    startSim(second, otherModem());
    connectWindow(w, second);
    ReadCounter reads(w);
    second.clearLog();

    w.fileAnswers.enqueue(path);
    w.form()->configLoad->click();
    QVERIFY(w.questions.isEmpty()); // same model and software
    // The write changes the speed on the way; the read-back follows it.
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 60000);
    QVERIFY2(w.boxes.isEmpty(), qPrintable(w.boxes.value(0).text));

    const SimState to = second.state();
    QCOMPARE(to.gprs, from.gprs);
    QCOMPARE(to.ntrip, from.ntrip);
    QCOMPARE(to.dyndns, from.dyndns);
    QVERIFY(to.dyndnsSet);
    QCOMPARE(to.baud, 9600);
    QCOMPARE(to.icf, QStringLiteral("3"));
    QCOMPARE(to.ifc, QStringLiteral("0,0"));
    QCOMPARE(to.btMode, 2);
    QCOMPARE(to.btMac, from.btMac);
    QCOMPARE(to.btPin, from.btPin);
    QCOMPARE(to.autoexecB, from.autoexecB);
    QCOMPARE(to.autoexecC, QString());

    // The window shows the second modem's new state.
    QCOMPARE(w.form()->comBaud->currentText(), QStringLiteral("9600"));
    QCOMPARE(itemTexts(w.form()->conBaseGprsSelect), (QStringList { "inet", "work", "spare" }));
    QCOMPARE(w.form()->configLoad->isEnabled(), true);
}

void TestConfigSetUi::saveWithoutModeButtonKeepsFileLoadable()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("nomode.kzini");
    SimState st;
    applyAll(st, { { "btmode", "1" } });
    SimModem sim;
    startSim(sim, st);
    TestWindow w;
    connectWindow(w, sim);

    QButtonGroup *g = w.btModeButtons();
    g->setExclusive(false);
    for (QAbstractButton *b : g->buttons())
        b->setChecked(false);
    QCOMPARE(g->checkedId(), -1);

    w.fileAnswers.enqueue(path);
    w.form()->configSave->click();
    QSettings s(path, QSettings::IniFormat);
    QCOMPARE(s.value("bluetooth/mode").toInt(), 1);
}

void TestConfigSetUi::versionQuestion_data()
{
    // "=": the connected modem's own value.
    QTest::addColumn<QString>("partno");
    QTest::addColumn<QString>("softversion");
    QTest::addColumn<int>("answer"); // 0: none queued (the default, No)
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("written");

    QTest::newRow("same modem") << "=" << "=" << 0 << false << true;
    QTest::newRow("other software, default No") << "=" << "380" << 0 << true << false;
    QTest::newRow("other model, No") << "KZ510-01-AB" << "=" << int(QMessageBox::No) << true
                                     << false;
    QTest::newRow("other software, Yes") << "=" << "401" << int(QMessageBox::Yes) << true << true;
}

void TestConfigSetUi::versionQuestion()
{
    QFETCH(QString, partno);
    QFETCH(QString, softversion);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, written);

    SimModem sim;
    startSim(sim, otherModem());
    TestWindow w;
    connectWindow(w, sim);
    ReadCounter reads(w);
    const QString model = w.identityShown().model;
    const QString software = w.identityShown().softwareVersion;
    QCOMPARE(w.form()->infoPartNo->text(), model);
    QCOMPARE(software, QStringLiteral("390"));
    if (partno == "=")
        partno = model;
    if (softversion == "=")
        softversion = software;

    QTemporaryDir dir;
    const QString path = dir.filePath("v.kzini");
    writeFile(path, "[modem]\npartno=" + partno.toLatin1() + "\nsoftversion="
                      + softversion.toLatin1()
                      + "\n[com]\nbaudrate=5\n[gprsProfiles]\n1\\name=fromfile\n1\\apn=a\nsize=1\n"
                        "[ntripProfiles]\nsize=0\n[dyndns]\nlogin=\n[bluetooth]\nmode=0\n");
    sim.clearLog();

    if (answer)
        w.questionAnswers.enqueue(QMessageBox::StandardButton(answer));
    w.fileAnswers.enqueue(path);
    w.form()->configLoad->click();

    QCOMPARE(w.questions.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(w.questions.at(0).icon, QMessageBox::Warning);
        QCOMPARE(w.questions.at(0).title, QStringLiteral("Ошибка"));
        QCOMPARE(w.questions.at(0).text,
                 QStringLiteral("Выбранные настройки предназначены для модема %1 с версией ПО "
                                "%2.\r\nПодключен модем %3 с версией ПО %4.\r\nРазличие в "
                                "версиях может привести к несовместимости настроек. Применить "
                                "настройки?")
                         .arg(partno, softversion, model, software));
    }
    if (written) {
        QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 30000);
        QCOMPARE(sim.state().gprs, (QList<QStringList> { { "fromfile", "a", "", "" } }));
        QVERIFY(sim.state().ntrip.isEmpty());
    } else {
        QTest::qWait(300);
        QVERIFY(writeCommands(sim).isEmpty());
        QCOMPARE(sim.state().gprs.size(), 1);
        QVERIFY(w.form()->configLoad->isEnabled());
    }
    QVERIFY(w.boxes.isEmpty());
}

void TestConfigSetUi::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("contents"); // empty: no file at all
    QTest::addColumn<QString>("mentioned");

    // "@": the connected modem's identity, so that no question comes first.
    const QByteArray modem = "[modem]\npartno=@\nsoftversion=@\n";
    QTest::newRow("no modem group") << QByteArray("[com]\nbaudrate=5\n") << "набором настроек";
    QTest::newRow("missing file") << QByteArray() << "набором настроек";
    QTest::newRow("com baudrate 11") << modem + "[com]\nbaudrate=11\n" << "baudrate";
    QTest::newRow("com flow 1") << modem + "[com]\nflow=1\n" << "flow";
    QTest::newRow("framing 5") << modem + "[com]\nframing=5\n" << "framing";
    QTest::newRow("bluetooth mode 3") << modem + "[bluetooth]\nmode=3\n" << "mode";
    QTest::newRow("bluetooth mode -1") << modem + "[bluetooth]\nmode=-1\n" << "mode";
    // Applied, it would send the defaults of every group it lacks.
    QTest::newRow("modem and GPRS only")
            << modem + "[gprsProfiles]\n1\\name=p\n1\\apn=a\nsize=1\n" << "ntripProfiles";
    // Read well, but a comma in a GPRS field could never be read back.
    QTest::newRow("comma in a profile")
            << modem + "[gprsProfiles]\n1\\name=p\n1\\apn=\"a,b\"\nsize=1\n" << "Точка доступа";
}

void TestConfigSetUi::refusedFiles()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, mentioned);

    SimModem sim;
    startSim(sim, otherModem());
    TestWindow w;
    connectWindow(w, sim);
    sim.clearLog();

    QTemporaryDir dir;
    const QString path = dir.filePath("bad.kzini");
    if (!contents.isEmpty()) {
        contents.replace("partno=@", "partno=" + w.identityShown().model.toLatin1());
        contents.replace("softversion=@", "softversion=" + w.identityShown().softwareVersion.toLatin1());
        writeFile(path, contents);
    }

    w.fileAnswers.enqueue(path);
    w.form()->configLoad->click();
    QCOMPARE(w.boxes.size(), 1);
    QCOMPARE(w.boxes.at(0).title, QStringLiteral("Ошибка"));
    QVERIFY2(w.boxes.at(0).text.contains(mentioned), qPrintable(w.boxes.at(0).text));
    QVERIFY(w.questions.isEmpty());
    QVERIFY(w.form()->configLoad->isEnabled());
    QTest::qWait(300);
    QVERIFY2(writeCommands(sim).isEmpty(), qPrintable(writeCommands(sim).join(" | ")));
}

void TestConfigSetUi::saveToUnwritablePath()
{
    SimModem sim;
    startSim(sim, SimState());
    TestWindow w;
    connectWindow(w, sim);

    const QString path = QStringLiteral("/nonexistent-dir/x.kzini");
    w.fileAnswers.enqueue(path);
    w.form()->configSave->click();
    QCOMPARE(w.boxes.size(), 1);
    QVERIFY2(w.boxes.at(0).text.contains(path), qPrintable(w.boxes.at(0).text));
    QVERIFY(!QFile::exists(path));

    // A cancelled dialog says nothing.
    w.form()->configSave->click();
    w.form()->configLoad->click();
    QCOMPARE(w.boxes.size(), 1);
}

void TestConfigSetUi::resetEmptiesEverything()
{
    SimModem sim;
    SimState st = richModem();
    st.baud = 115200;
    startSim(sim, st);
    TestWindow w;
    connectWindow(w, sim);
    ReadCounter reads(w);
    QCOMPARE(w.form()->conBaseGprsSelect->count(), 3);

    w.form()->configReset->click();
    QVERIFY(!w.form()->configReset->isEnabled()); // disabled while the write runs
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 60000);
    QVERIFY(w.questions.isEmpty());
    QVERIFY2(w.boxes.isEmpty(), qPrintable(w.boxes.value(0).text));

    const SimState s = sim.state();
    QVERIFY(s.gprs.isEmpty());
    QVERIFY(s.ntrip.isEmpty());
    QVERIFY(!s.dyndnsSet);
    QCOMPARE(s.btMode, 0);
    QCOMPARE(s.baud, 115200);
    QVERIFY(s.autoexecB.isEmpty());

    QCOMPARE(w.gprsDialog()->findChild<QListWidget *>("gprsList")->count(), 0);
    for (QComboBox *box : { w.form()->conRoverGprsSelect, w.form()->conBaseGprsSelect,
                            w.form()->conRoverNtripSelect, w.form()->conBaseNtripServerSelect,
                            w.form()->conBaseNtripCasterSelect })
        QCOMPARE(box->count(), 0);
    QVERIFY(!w.form()->conBaseDyndnsEnabled->isChecked());
    QCOMPARE(w.btModeButtons()->checkedId(), 0);
    QVERIFY(w.form()->configReset->isEnabled());
}

QTEST_MAIN(TestConfigSetUi)
#include "tst_app_configset.moc"
