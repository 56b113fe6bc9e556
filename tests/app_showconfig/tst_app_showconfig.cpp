// What a read and a write's end show in the window, against a simulated
// modem reached through the Connect button.
#include "support/windowrig.h"

#include "forms/profileforms.h"

#include <QTest>

class TestShowConfig : public QObject
{
    Q_OBJECT

private slots:
    void readFillsEveryGroup_data();
    void readFillsEveryGroup();
    void failedGroupIsReportedAfterTheOthers();
    void writeEndReadsBackTouchedGroups();
    void refillKeepsBoxesOnTheirNames();
};

void TestShowConfig::readFillsEveryGroup_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<QString>("ifc");
    QTest::addColumn<QStringList>("dyndns"); // empty: none set
    QTest::addColumn<QString>("btmode");
    QTest::addColumn<int>("flowRowAfter");
    QTest::addColumn<bool>("dyndnsEnabled");
    QTest::addColumn<int>("btChecked");

    QTest::newRow("9600, flow off, full DynDNS, mode 2")
            << 9600 << "0,0" << QStringList { "user", "secret", "base.dyndns.org" }
            << "2,00:11:22:33:44:55,1234" << 0 << true << 2;
    // Flow 2 has no row: the box stays where it was (no row at all here).
    QTest::newRow("115200, flow 2, domain empty, mode 1")
            << 115200 << "2,2" << QStringList { "user", "secret", "" } << "1" << -1 << false << 1;
}

void TestShowConfig::readFillsEveryGroup()
{
    QFETCH(int, baud);
    QFETCH(QString, ifc);
    QFETCH(QStringList, dyndns);
    QFETCH(QString, btmode);
    QFETCH(int, flowRowAfter);
    QFETCH(bool, dyndnsEnabled);
    QFETCH(int, btChecked);

    SimState st;
    QString error;
    const QList<QPair<QString, QString>> settings {
        { "gprs", "inet,internet.mts.ru,mts,mts" },
        { "gprs", "work,apn.work,,pw" },
        { "ntrip", "cast1,caster.one,2101,MP1,cl,clp,srv,STR1" },
        { "ntrip", "cast2,caster.two,2102,MP2,cl2,clp2,srv2,STR2" },
        { "btmode", btmode },
        // Names the second profiles: found only in the refilled boxes.
        { "autoexec_b", "ATD*92*work*cast2#" },
    };
    for (const auto &kv : settings)
        QVERIFY2(SimModem::applySetting(st, kv.first, kv.second, &error), qPrintable(error));
    st.baud = baud;
    st.ifc = ifc;
    st.dyndnsSet = !dyndns.isEmpty();
    st.dyndns = dyndns;

    SimModem sim;
    startSim(sim, st);
    TestWindow w;
    w.form()->comFlow->setCurrentIndex(-1);
    w.form()->comBaud->setCurrentIndex(0);
    connectWindow(w, sim);
    QVERIFY(w.boxes.isEmpty());

    Ui::MainWindow *f = w.form();
    QCOMPARE(f->comBaud->currentText(), QString::number(baud));
    QCOMPARE(f->comFraming->currentText(), QStringLiteral("8N1"));
    QCOMPARE(f->comFlow->currentIndex(), flowRowAfter);

    const QStringList gprsNames { "inet", "work" };
    QListWidget *gl = w.gprsDialog()->findChild<QListWidget *>("gprsList");
    QCOMPARE(gl->count(), 2);
    QCOMPARE(gl->item(0)->text(), gprsNames.at(0));
    QCOMPARE(gl->item(1)->text(), gprsNames.at(1));
    QCOMPARE(itemTexts(f->conRoverGprsSelect), gprsNames);
    QCOMPARE(itemTexts(f->conBaseGprsSelect), gprsNames);

    const QStringList ntripNames { "cast1", "cast2" };
    QCOMPARE(w.ntripDialog()->findChild<QListWidget *>("ntripList")->count(), 2);
    QCOMPARE(itemTexts(f->conRoverNtripSelect), ntripNames);
    QCOMPARE(itemTexts(f->conBaseNtripServerSelect), ntripNames);
    QCOMPARE(itemTexts(f->conBaseNtripCasterSelect), ntripNames);

    const QStringList d = dyndns.isEmpty() ? QStringList { "", "", "" } : dyndns;
    QCOMPARE(w.ddnsDialog()->login(), d.at(0));
    QCOMPARE(w.ddnsDialog()->password(), d.at(1));
    QCOMPARE(w.ddnsDialog()->domain(), d.at(2));
    QCOMPARE(f->conBaseDyndnsEnabled->isChecked(), dyndnsEnabled);

    QCOMPARE(w.btModeButtons()->checkedId(), btChecked);
    QCOMPARE(f->btMode2Mac->text(), sim.state().btMac);
    QCOMPARE(f->btMode2Pin->text(), sim.state().btPin);

    // The autostart command is parsed after the boxes were refilled.
    QVERIFY(f->conAutostartBT->isChecked());
    QVERIFY(f->conModeRoverNtrip->isChecked());
    QCOMPARE(f->conRoverGprsSelect->currentText(), QStringLiteral("work"));
    QCOMPARE(f->conRoverNtripSelect->currentText(), QStringLiteral("cast2"));
    QCOMPARE(f->conCommand->text(), QStringLiteral("ATD*92*work*cast2#"));

    // Showing a profile: a row of the dialog's list fills its fields.
    gl->setCurrentRow(1);
    QCOMPARE(w.gprsDialog()->profile().name, QStringLiteral("work"));
    QCOMPARE(w.gprsDialog()->profile().username, QString());
    QCOMPARE(w.gprsDialog()->profile().password, QStringLiteral("pw"));
    w.ntripDialog()->findChild<QListWidget *>("ntripList")->setCurrentRow(0);
    QCOMPARE(w.ntripDialog()->profile().sourcetable, QStringLiteral("STR1"));
    QCOMPARE(w.ntripDialog()->profile().serverPassword, QStringLiteral("srv"));
}

void TestShowConfig::failedGroupIsReportedAfterTheOthers()
{
    SimState st;
    QString error;
    QVERIFY(SimModem::applySetting(st, "ntrip", "cast1,h,2101,MP,c,cp,s,T", &error));
    QVERIFY(SimModem::applySetting(st, "dyndns", "u,p,d.org", &error));
    SimModem sim;
    startSim(sim, st);
    // Too few fields: the GPRS group cannot be read.
    sim.setCommandHook([](const QString &line, QByteArray *reply) {
        if (line != QLatin1String("AT+ADDGPRS?"))
            return false;
        *reply = "\r\n+ADDGPRS: a,b\r\n\r\nOK\r\n";
        return true;
    });

    TestWindow w;
    w.selectPort(sim.portName());
    QTest::mouseClick(w.form()->connectBtn, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 30000);
    QCOMPARE(w.boxes.at(0).icon, QMessageBox::Warning);
    QCOMPARE(w.boxes.at(0).title, QStringLiteral("Ошибка"));
    QCOMPARE(w.boxes.at(0).text,
             QStringLiteral("Не удалось получить текущие настройки модема. Попробуйте "
                            "отключиться от модема и подключиться заново."));
    QCOMPARE(statusText(w), QStringLiteral("Не удалось получить настройки."));

    // The groups that were read are shown all the same; GPRS stays empty.
    QCOMPARE(itemTexts(w.form()->conRoverNtripSelect), QStringList { "cast1" });
    QCOMPARE(w.ddnsDialog()->domain(), QStringLiteral("d.org"));
    QCOMPARE(w.gprsDialog()->findChild<QListWidget *>("gprsList")->count(), 0);
    QCOMPARE(w.form()->conBaseGprsSelect->count(), 0);
}

void TestShowConfig::writeEndReadsBackTouchedGroups()
{
    SimModem sim;
    startSim(sim, SimState());
    TestWindow w;
    connectWindow(w, sim);
    ReadCounter reads(w);

    for (QWidget *c : w.controlsList())
        c->setEnabled(false);
    sim.clearLog();
    w.kzConfigCompleted(0x20, 0x40);

    QCOMPARE(w.boxes.size(), 1);
    QCOMPARE(w.boxes.at(0).text,
             QStringLiteral("Не удалось выполнить команду. Попробуйте отключиться от модема, "
                            "подключиться ещё раз и выполнить настройку заново."));
    QCOMPARE(statusText(w), QStringLiteral("Не удалось выполнить команду."));
    QVERIFY(w.form()->configSave->isEnabled());
    QVERIFY(w.gprsDialog()->findChild<QPushButton *>("gprsProfileSave")->isEnabled());

    // reqConfig(0x60): DynDNS and the autostart commands, nothing else.
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 15000);
    const QStringList heard = sim.commands();
    QVERIFY(heard.contains(QStringLiteral("AT+DYNDNS?")));
    QVERIFY(heard.contains(QStringLiteral("AT^JAUTO,B?")) || heard.contains(QStringLiteral("AT^JAUTO?")));
    QVERIFY(!heard.contains(QStringLiteral("AT+ADDGPRS?")));
    QVERIFY(!heard.contains(QStringLiteral("AT+BTMODE?")));
    QVERIFY(!heard.contains(QStringLiteral("AT+IPR?")));
    // The DynDNS group was read again: its status text replaces the failure.
    QCOMPARE(statusText(w), readyText());

    // A write that went well asks for its groups only and warns of nothing.
    sim.clearLog();
    w.kzConfigCompleted(0x08, 0);
    QCOMPARE(w.boxes.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 2, 15000);
    QVERIFY(sim.commands().contains(QStringLiteral("AT+ADDGPRS?")));
    QVERIFY(!sim.commands().contains(QStringLiteral("AT+DYNDNS?")));
}

void TestShowConfig::refillKeepsBoxesOnTheirNames()
{
    SimState st;
    QString error;
    for (const char *p : { "A,apn.a,,", "B,apn.b,,", "C,apn.c,," })
        QVERIFY(SimModem::applySetting(st, "gprs", p, &error));
    for (const char *p : { "N1,h,1,m,,,,", "N2,h,2,m,,,," })
        QVERIFY(SimModem::applySetting(st, "ntrip", p, &error));
    SimModem sim;
    startSim(sim, st);
    TestWindow w;
    connectWindow(w, sim);
    ReadCounter reads(w);
    Ui::MainWindow *f = w.form();

    f->conBaseGprsSelect->setCurrentIndex(1);       // B
    f->conRoverGprsSelect->setCurrentIndex(2);      // C
    f->conBaseNtripCasterSelect->setCurrentIndex(1); // N2
    f->conRoverNtripSelect->setCurrentIndex(0);     // N1

    // A new profile in front of the others moves every name down a row.
    sim.modify([](SimState &s) {
        s.gprs.prepend(QStringList { "Z", "apn.z", "", "" });
        s.ntrip.prepend(QStringList { "N0", "h", "0", "m", "", "", "", "" });
    });
    QMetaObject::invokeMethod(w.kz(), "reqConfig", Qt::QueuedConnection,
                              Q_ARG(int, KZConfig::ConfigGprs | KZConfig::ConfigNtrip));
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 15000);
    QCOMPARE(itemTexts(f->conBaseGprsSelect), (QStringList { "Z", "A", "B", "C" }));
    QCOMPARE(f->conBaseGprsSelect->currentText(), QStringLiteral("B"));
    QCOMPARE(f->conRoverGprsSelect->currentText(), QStringLiteral("C"));
    QCOMPARE(f->conBaseNtripCasterSelect->currentText(), QStringLiteral("N2"));
    QCOMPARE(f->conRoverNtripSelect->currentText(), QStringLiteral("N1"));
    // Left alone before, so on N1: it stays there, not on the new first item.
    QCOMPARE(f->conBaseNtripServerSelect->currentText(), QStringLiteral("N1"));
    // Only a DynDNS read reports the configuration as received.
    QVERIFY(statusText(w) != readyText());

    // A name that went away leaves the box on the first item.
    sim.modify([](SimState &s) { s.gprs.removeAt(2); }); // B
    QMetaObject::invokeMethod(w.kz(), "reqConfig", Qt::QueuedConnection,
                              Q_ARG(int, int(KZConfig::ConfigGprs)));
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 2, 15000);
    QCOMPARE(itemTexts(f->conBaseGprsSelect), (QStringList { "Z", "A", "C" }));
    QCOMPARE(f->conBaseGprsSelect->currentText(), QStringLiteral("Z"));
    QCOMPARE(f->conRoverGprsSelect->currentText(), QStringLiteral("C"));
    QVERIFY(w.boxes.isEmpty());
}

QTEST_MAIN(TestShowConfig)
#include "tst_app_showconfig.moc"
