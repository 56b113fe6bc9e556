// The profile dialogs against a simulated modem: what each button writes,
// and what the window shows after the read-back.
#include "support/windowrig.h"

#include "forms/profileforms.h"
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <QTest>

namespace {

// The dialogs' widgets, found by their object names.
struct GprsWidgets {
    QListWidget *gprsList;
    QPushButton *gprsAdd;
    QPushButton *gprsDelete;
    QLineEdit *gprsProfileName;
    QLineEdit *gprsProfileAccessPoint;
    QPushButton *gprsProfileSave;
    explicit GprsWidgets(QWidget *d)
        : gprsList(d->findChild<QListWidget *>("gprsList")),
          gprsAdd(d->findChild<QPushButton *>("gprsAdd")),
          gprsDelete(d->findChild<QPushButton *>("gprsDelete")),
          gprsProfileName(d->findChild<QLineEdit *>("gprsProfileName")),
          gprsProfileAccessPoint(d->findChild<QLineEdit *>("gprsProfileAccessPoint")),
          gprsProfileSave(d->findChild<QPushButton *>("gprsProfileSave"))
    {
    }
};

struct NtripWidgets {
    QListWidget *ntripList;
    QPushButton *ntripDelete;
    QGroupBox *ntripCommonConfig;
    QLineEdit *ntripProfileName;
    QGroupBox *ntripClientConfig;
    QGroupBox *ntripServerConfig;
    QLineEdit *ntripProfileServerPassword;
    QGroupBox *ntripCasterConfig;
    explicit NtripWidgets(QWidget *d)
        : ntripList(d->findChild<QListWidget *>("ntripList")),
          ntripDelete(d->findChild<QPushButton *>("ntripDelete")),
          ntripCommonConfig(d->findChild<QGroupBox *>("ntripCommonConfig")),
          ntripProfileName(d->findChild<QLineEdit *>("ntripProfileName")),
          ntripClientConfig(d->findChild<QGroupBox *>("ntripClientConfig")),
          ntripServerConfig(d->findChild<QGroupBox *>("ntripServerConfig")),
          ntripProfileServerPassword(d->findChild<QLineEdit *>("ntripProfileServerPassword")),
          ntripCasterConfig(d->findChild<QGroupBox *>("ntripCasterConfig"))
    {
    }
};

struct DdnsWidgets {
    QLineEdit *dyndnsDomain;
    QLineEdit *dyndnsUsername;
    QLineEdit *dyndnsPassword;
    explicit DdnsWidgets(QWidget *d)
        : dyndnsDomain(d->findChild<QLineEdit *>("dyndnsDomain")),
          dyndnsUsername(d->findChild<QLineEdit *>("dyndnsUsername")),
          dyndnsPassword(d->findChild<QLineEdit *>("dyndnsPassword"))
    {
    }
};


SimState withProfiles(const QStringList &gprs, const QStringList &ntrip = {})
{
    SimState st;
    QString error;
    for (const QString &p : gprs)
        SimModem::applySetting(st, QStringLiteral("gprs"), p, &error);
    for (const QString &p : ntrip)
        SimModem::applySetting(st, QStringLiteral("ntrip"), p, &error);
    return st;
}

QStringList gprsNames(const SimState &s)
{
    QStringList out;
    for (const QStringList &p : s.gprs)
        out << p.value(0);
    return out;
}

// The edit buttons follow the operating mode; the tests press them whatever
// mode is shown.
void press(QAbstractButton *button)
{
    button->setEnabled(true);
    button->click();
}

QStringList listTexts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

class TestProfiles : public QObject
{
    Q_OBJECT

private slots:
    void saveInsideDialog_data();
    void saveInsideDialog();
    void deleteLastProfileEmptiesListAndBoxes();
    void addThenOk();
    void ntripModeDecidesGroupBoxes_data();
    void ntripModeDecidesGroupBoxes();
    void serverModeKeepsHiddenClientFields();
    void emptyDyndnsUnchecksSwitch();
    void valuesTheLineCannotCarry_data();
    void valuesTheLineCannotCarry();
};

void TestProfiles::saveInsideDialog_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("namesAfter");
    QTest::addColumn<QStringList>("bAfter");

    // The shown profile is B; the access point is changed in both rows.
    QTest::newRow("same name replaces in place")
            << "B" << QStringList { "A", "B", "C" } << QStringList { "B", "apn.new", "u", "p" };
    QTest::newRow("changed name adds a profile")
            << "D" << QStringList { "A", "B", "C", "D" } << QStringList { "B", "apn.b", "u", "p" };
}

void TestProfiles::saveInsideDialog()
{
    QFETCH(QString, name);
    QFETCH(QStringList, namesAfter);
    QFETCH(QStringList, bAfter);

    SimModem sim;
    startSim(sim, withProfiles({ "A,apn.a,,", "B,apn.b,u,p", "C,apn.c,," }));
    TestWindow w;
    connectWindow(w, sim);
    ReadCounter reads(w);
    GprsWidgets gw(w.gprsDialog());
    GprsWidgets *g = &gw;

    sim.clearLog();
    w.dialogHandler = [&](QDialog *d) {
        if (d != w.gprsDialog())
            return int(QDialog::Rejected);
        g->gprsList->setCurrentRow(1);
        g->gprsProfileName->setText(name);
        g->gprsProfileAccessPoint->setText(QStringLiteral("apn.new"));
        g->gprsProfileSave->click();
        // The write runs while the dialog stays open.
        [&] { QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 15000); }();
        return int(QDialog::Rejected); // Cancel does not undo the write
    };
    press(w.form()->conBaseGprsEdit);
    QCOMPARE(reads.count, 1);

    QCOMPARE(gprsNames(sim.state()), namesAfter);
    QCOMPARE(sim.state().gprs.at(1), bAfter);
    QCOMPARE(listTexts(g->gprsList), namesAfter);
    QCOMPARE(itemTexts(w.form()->conRoverGprsSelect), namesAfter);
    // The profile saved is current again and shown.
    QCOMPARE(g->gprsList->currentItem()->text(), name);
    QCOMPARE(g->gprsProfileAccessPoint->text(), QStringLiteral("apn.new"));
    // Only the difference was sent: one addition, no deletion.
    const QStringList writes = writeCommands(sim);
    QCOMPARE(writes, QStringList { QStringLiteral("AT+ADDGPRS=%1,apn.new,u,p").arg(name) });
    QVERIFY(g->gprsProfileSave->isEnabled());
}

void TestProfiles::deleteLastProfileEmptiesListAndBoxes()
{
    SimModem sim;
    startSim(sim, withProfiles({ "only,apn,," }, { "N,h,1,m,,,," }));
    TestWindow w;
    connectWindow(w, sim);
    ReadCounter reads(w);
    QCOMPARE(w.form()->conRoverGprsSelect->currentText(), QStringLiteral("only"));

    GprsWidgets gw(w.gprsDialog());
    GprsWidgets *g = &gw;
    // No current row: delete does nothing.
    g->gprsList->setCurrentRow(-1);
    g->gprsDelete->click();
    g->gprsList->setCurrentRow(0);
    g->gprsDelete->click();
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 15000);

    QCOMPARE(writeCommands(sim), QStringList { "AT+DELGPRS=only" });
    QVERIFY(sim.state().gprs.isEmpty());
    QCOMPARE(g->gprsList->count(), 0);
    QCOMPARE(w.form()->conRoverGprsSelect->count(), 0);
    QCOMPARE(w.form()->conBaseGprsSelect->count(), 0);
    QCOMPARE(w.form()->conRoverNtripSelect->count(), 1);

    NtripWidgets nw(w.ntripDialog());
    NtripWidgets *n = &nw;
    n->ntripList->setCurrentRow(0);
    n->ntripDelete->click();
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 2, 15000);
    QVERIFY(sim.state().ntrip.isEmpty());
    QCOMPARE(n->ntripList->count(), 0);
    QCOMPARE(w.form()->conBaseNtripCasterSelect->count(), 0);
    QVERIFY(w.boxes.isEmpty());
}

void TestProfiles::addThenOk()
{
    SimModem sim;
    startSim(sim, withProfiles({ "A,apn.a,,", "B,apn.b,,", "C,apn.c,," }));
    TestWindow w;
    connectWindow(w, sim);
    ReadCounter reads(w);
    GprsWidgets gw(w.gprsDialog());
    GprsWidgets *g = &gw;
    QCOMPARE(w.form()->conRoverGprsSelect->currentText(), QStringLiteral("A"));

    sim.clearLog();
    w.dialogHandler = [&](QDialog *) {
        g->gprsList->setCurrentRow(1); // B shown
        g->gprsAdd->click();
        // Add only empties the fields.
        if (!g->gprsProfileName->text().isEmpty() || g->gprsList->currentRow() != 1)
            return int(QDialog::Rejected);
        g->gprsProfileName->setText(QStringLiteral("new"));
        g->gprsProfileAccessPoint->setText(QStringLiteral("apn.new"));
        return int(QDialog::Accepted);
    };
    press(w.form()->conRoverGprsEdit);
    // The box takes the row that was current when OK was pressed.
    QCOMPARE(w.form()->conRoverGprsSelect->currentText(), QStringLiteral("B"));
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 15000);

    QCOMPARE(writeCommands(sim), QStringList { "AT+ADDGPRS=new,apn.new,," });
    QCOMPARE(listTexts(g->gprsList), (QStringList { "A", "B", "C", "new" }));
    QCOMPARE(g->gprsList->currentRow(), 3);
    QCOMPARE(w.form()->conRoverGprsSelect->currentText(), QStringLiteral("B"));
    QCOMPARE(w.form()->conBaseGprsSelect->currentText(), QStringLiteral("A"));

    // Cancel writes nothing and leaves the box.
    sim.clearLog();
    w.dialogHandler = [&](QDialog *) { return int(QDialog::Rejected); };
    press(w.form()->conRoverGprsEdit);
    QCOMPARE(w.form()->conRoverGprsSelect->currentText(), QStringLiteral("B"));
    QTest::qWait(200);
    QVERIFY(writeCommands(sim).isEmpty());
}

void TestProfiles::ntripModeDecidesGroupBoxes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("client");
    QTest::addColumn<bool>("server");
    QTest::addColumn<bool>("caster");

    QTest::newRow("rover client") << "conRoverNtripEdit" << true << false << false;
    QTest::newRow("base caster") << "conBaseNtripCasterEdit" << true << false << true;
    QTest::newRow("base server") << "conBaseNtripServerEdit" << false << true << false;
}

void TestProfiles::ntripModeDecidesGroupBoxes()
{
    QFETCH(QString, button);
    QFETCH(bool, client);
    QFETCH(bool, server);
    QFETCH(bool, caster);

    TestWindow w;
    NtripWidgets nw(w.ntripDialog());
    NtripWidgets *n = &nw;
    QList<bool> seen;
    w.dialogHandler = [&](QDialog *) {
        seen = { !n->ntripCommonConfig->isHidden(), !n->ntripClientConfig->isHidden(),
                 !n->ntripServerConfig->isHidden(), !n->ntripCasterConfig->isHidden() };
        return int(QDialog::Rejected);
    };
    auto *edit = w.findChild<QAbstractButton *>(button);
    QVERIFY(edit);
    press(edit);
    QCOMPARE(seen, (QList<bool> { true, client, server, caster }));
}

void TestProfiles::serverModeKeepsHiddenClientFields()
{
    SimModem sim;
    startSim(sim, withProfiles({}, { "N,h,2101,MP,cl,clp,srv,STR" }));
    TestWindow w;
    connectWindow(w, sim);
    ReadCounter reads(w);
    NtripWidgets nw(w.ntripDialog());
    NtripWidgets *n = &nw;

    sim.clearLog();
    w.dialogHandler = [&](QDialog *) {
        n->ntripList->setCurrentRow(0);
        n->ntripProfileServerPassword->setText(QStringLiteral("srv2"));
        return int(QDialog::Accepted);
    };
    press(w.form()->conBaseNtripServerEdit);
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 15000);
    QCOMPARE(writeCommands(sim), QStringList { "AT+ADDNTRIP=N,h,2101,MP,cl,clp,srv2,STR" });
    QCOMPARE(w.form()->conBaseNtripServerSelect->currentText(), QStringLiteral("N"));
}

void TestProfiles::emptyDyndnsUnchecksSwitch()
{
    SimState st;
    QString error;
    QVERIFY(SimModem::applySetting(st, "dyndns", "user,pass,host.dyndns.org", &error));
    SimModem sim;
    startSim(sim, st);
    TestWindow w;
    connectWindow(w, sim);
    ReadCounter reads(w);
    QVERIFY(w.form()->conBaseDyndnsEnabled->isChecked());

    DdnsWidgets dw(w.ddnsDialog());
    DdnsWidgets *d = &dw;
    // Cancel keeps what was typed in the fields and writes nothing.
    w.dialogHandler = [&](QDialog *) {
        d->dyndnsDomain->setText(QStringLiteral("typed"));
        return int(QDialog::Rejected);
    };
    press(w.form()->conBaseDyndnsEdit);
    QCOMPARE(d->dyndnsDomain->text(), QStringLiteral("typed"));

    w.dialogHandler = [&](QDialog *) {
        d->dyndnsDomain->clear();
        d->dyndnsUsername->clear();
        d->dyndnsPassword->clear();
        return int(QDialog::Accepted);
    };
    press(w.form()->conBaseDyndnsEdit);
    QTRY_COMPARE_WITH_TIMEOUT(reads.count, 1, 15000);
    QCOMPARE(writeCommands(sim), QStringList { "AT+DYNDNS=,," });
    QVERIFY(!sim.state().dyndnsSet);
    QVERIFY(!w.form()->conBaseDyndnsEnabled->isChecked());
    QCOMPARE(statusText(w), readyText());
}

void TestProfiles::valuesTheLineCannotCarry_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("label");

    QTest::newRow("GPRS name with a second command")
            << "gprs" << "gprsProfileName" << "X\r\nAT+DELGPRS=keep" << "Название";
    QTest::newRow("GPRS password with a comma")
            << "gprs" << "gprsProfilePassword" << "pa,ss" << "Пароль";
    QTest::newRow("NTRIP mountpoint with LF")
            << "ntrip" << "ntripProfileMountpoint" << "MP\nATH" << "mountpoint";
    QTest::newRow("DynDNS login with a comma") << "ddns" << "dyndnsUsername" << "a,b"
                                               << "Пользователь";
}

void TestProfiles::valuesTheLineCannotCarry()
{
    QFETCH(QString, dialog);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, label);

    SimModem sim;
    startSim(sim, withProfiles({ "keep,apn,," }, { "N,h,1,m,,,," }));
    TestWindow w;
    connectWindow(w, sim);

    QDialog *d = dialog == "gprs" ? static_cast<QDialog *>(w.gprsDialog())
            : dialog == "ntrip"   ? static_cast<QDialog *>(w.ntripDialog())
                                  : static_cast<QDialog *>(w.ddnsDialog());
    QAbstractButton *edit = dialog == "gprs" ? w.form()->conRoverGprsEdit
            : dialog == "ntrip"              ? w.form()->conRoverNtripEdit
                                             : w.form()->conBaseDyndnsEdit;
    auto *line = d->findChild<QLineEdit *>(field);
    QVERIFY(line);

    sim.clearLog();
    w.dialogHandler = [&](QDialog *) {
        if (dialog == "gprs")
            GprsWidgets(w.gprsDialog()).gprsProfileName->setText(QStringLiteral("fresh"));
        if (dialog == "ntrip")
            NtripWidgets(w.ntripDialog()).ntripProfileName->setText(QStringLiteral("fresh"));
        line->setText(value);
        return int(QDialog::Accepted);
    };
    press(edit);

    QCOMPARE(w.boxes.size(), 1);
    QCOMPARE(w.boxes.at(0).title, QStringLiteral("Ошибка"));
    QVERIFY2(w.boxes.at(0).text.contains(label), qPrintable(w.boxes.at(0).text));
    // Nothing was queued: the controls stay usable and the modem hears nothing.
    QVERIFY(w.form()->configSave->isEnabled());
    QVERIFY(GprsWidgets(w.gprsDialog()).gprsProfileSave->isEnabled());
    QTest::qWait(300);
    QVERIFY2(writeCommands(sim).isEmpty(), qPrintable(writeCommands(sim).join(" | ")));
    QCOMPARE(gprsNames(sim.state()), QStringList { "keep" });
}

QTEST_MAIN(TestProfiles)
#include "tst_app_profiles.moc"
