// The window in English: every text of the window, its three profile
// dialogs and its exchange log, disconnected and connected to the simulated
// modem, and the message boxes it shows. No Cyrillic letter may remain.
#include "support/testwindow.h"

#include "app/exchangelogwindow.h"
#include "config/uilanguage.h"
#include "forms/profileforms.h"
#include "sim/simmodem.h"
#include "ui_mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

bool hasCyrillic(const QString &text)
{
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    return cyrillic.match(text).hasMatch();
}

// Every text a user can see on `root` and below, each with where it is.
QList<QPair<QString, QString>> visibleTexts(QWidget *root)
{
    QList<QPair<QString, QString>> out;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : widgets) {
        const QString at = QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ')
                + w->objectName();
        auto add = [&](const QString &what, const QString &text) {
            if (!text.isEmpty())
                out << qMakePair(at + QLatin1Char(' ') + what, text);
        };
        if (w->isWindow())
            add(QStringLiteral("title"), w->windowTitle());
        add(QStringLiteral("tooltip"), w->toolTip());
        add(QStringLiteral("status tip"), w->statusTip());
        add(QStringLiteral("what's this"), w->whatsThis());
        for (QAction *a : w->actions()) {
            add(QStringLiteral("action"), a->text());
            add(QStringLiteral("action tooltip"), a->toolTip());
        }
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(QStringLiteral("text"), b->text());
        if (auto *l = qobject_cast<QLabel *>(w))
            add(QStringLiteral("text"), l->text());
        if (auto *g = qobject_cast<QGroupBox *>(w))
            add(QStringLiteral("title"), g->title());
        if (auto *e = qobject_cast<QLineEdit *>(w)) {
            add(QStringLiteral("placeholder"), e->placeholderText());
            add(QStringLiteral("text"), e->text());
        }
        if (auto *e = qobject_cast<QPlainTextEdit *>(w))
            add(QStringLiteral("placeholder"), e->placeholderText());
        if (auto *e = qobject_cast<QTextEdit *>(w))
            add(QStringLiteral("placeholder"), e->placeholderText());
        if (auto *p = qobject_cast<QProgressBar *>(w))
            add(QStringLiteral("format"), p->format());
        if (auto *c = qobject_cast<QComboBox *>(w)) {
            add(QStringLiteral("placeholder"), c->placeholderText());
            for (int i = 0; i < c->count(); ++i)
                add(QStringLiteral("item"), c->itemText(i));
        }
        if (auto *t = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < t->count(); ++i) {
                add(QStringLiteral("tab"), t->tabText(i));
                add(QStringLiteral("tab tooltip"), t->tabToolTip(i));
            }
        }
        if (auto *v = qobject_cast<QAbstractItemView *>(w); v && v->model()) {
            const QAbstractItemModel *m = v->model();
            for (int c = 0; c < m->columnCount(); ++c)
                add(QStringLiteral("column header"),
                    m->headerData(c, Qt::Horizontal).toString());
            if (qobject_cast<QListWidget *>(w))
                for (int r = 0; r < m->rowCount(); ++r)
                    add(QStringLiteral("item"), m->index(r, 0).data().toString());
        }
        if (auto *s = qobject_cast<QStatusBar *>(w))
            add(QStringLiteral("message"), s->currentMessage());
    }
    return out;
}

QStringList russianLeft(QWidget *root)
{
    QStringList left;
    for (const auto &t : visibleTexts(root))
        if (hasCyrillic(t.second))
            left << t.first + QStringLiteral(": ") + t.second;
    return left;
}

// The text of a <source> or <translation>, with its <byte value="xd"/> kept.
QString elementText(QXmlStreamReader &xml)
{
    QString text;
    const QString endName = xml.name().toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == QLatin1String("byte"))
            text += QChar(
                    xml.attributes().value(QStringLiteral("value")).mid(1).toUInt(nullptr, 16));
        else if (xml.isEndElement() && xml.name() == endName)
            break;
    }
    return text;
}

struct Entry {
    QString context, source, translation;
};

QList<Entry> tsEntries()
{
    QList<Entry> out;
    QFile f(QStringLiteral(KZ_TS_FILE));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&f);
    QString context;
    Entry e;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            e = Entry { context, elementText(xml), QString() };
        } else if (xml.name() == QLatin1String("translation")) {
            e.translation = elementText(xml);
            out << e;
        }
    }
    return out;
}

// Connects by the Connect button and waits for the first full read.
bool connectTo(TestWindow &w, SimModem &sim)
{
    w.selectPort(sim.portName());
    w.statusBar()->clearMessage();
    QTest::mouseClick(w.form()->connectBtn, Qt::LeftButton);
    const QString ready = QCoreApplication::translate(
            "MainWindow", "Модем подключен, информация и настройки получены.");
    return QTest::qWaitFor([&] { return w.statusBar()->currentMessage() == ready; }, 30000);
}

void removeTranslators()
{
    for (QTranslator *t : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

} // namespace

class TestWindowEnglish : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        KZConfigThread::registerMetaTypes();
        QVERIFY(UiLanguage::install(UiLanguage::English));
    }

    void disconnectedWindowAndDialogs()
    {
        TestWindow w;
        Ui::MainWindow *ui = w.form();
        QCOMPARE(ui->connectBtn->text(), QStringLiteral("Connect"));
        QCOMPARE(ui->tabWidget->tabText(ui->tabWidget->indexOf(ui->tabWidget->widget(0))),
                 QStringLiteral("Modem"));
        const QStringList left = russianLeft(&w);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
        // The dialogs on their own too, in case one is not a child of the window.
        for (QWidget *d : std::initializer_list<QWidget *> { w.gprsDialog(), w.ntripDialog(),
                                                            w.ddnsDialog() }) {
            QVERIFY(d);
            QVERIFY(!visibleTexts(d).isEmpty());
            const QStringList inDialog = russianLeft(d);
            QVERIFY2(inDialog.isEmpty(), qPrintable(inDialog.join(QLatin1Char('\n'))));
        }
    }

    void connectedWindow()
    {
        SimModem sim;
        QString error;
        SimState state;
        state.gprs = { { "inet", "internet", "user", "pass" } };
        state.ntrip = { { "src", "caster.example", "2101", "MP1", "cl", "cp", "sp", "st" } };
        sim.setState(state);
        QVERIFY2(sim.start(&error), qPrintable(error));
        TestWindow w;
        w.show();
        QVERIFY(connectTo(w, sim));
        Ui::MainWindow *ui = w.form();
        // The identity as the device texts give it.
        QVERIFY2(QStringList({ "Yes", "No" }).contains(ui->infoBluetooth->text()),
                 qPrintable(ui->infoBluetooth->text()));
        w.showExchangeLog();
        QStringList left = russianLeft(&w);
        if (w.exchangeLogWindow())
            left += russianLeft(w.exchangeLogWindow());
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));

        // Closing with the operating mode changed asks, in English.
        ui->conAutostartCom->setChecked(true);
        ui->conCommand->setText(QStringLiteral("ATD*99#"));
        w.questionAnswers << QMessageBox::No;
        QVERIFY(!w.close());
        QCOMPARE(w.questions.size(), 1);
        QCOMPARE(w.questions[0].title, QStringLiteral("Unsaved settings"));
        QCOMPARE(w.questions[0].text,
                 QStringLiteral("The operating mode was changed but not saved. Quit the program?"));
    }

    // A few real boxes, each through the window's own path.
    void boxes()
    {
        TestWindow w;
        w.selectPort(QStringLiteral("/dev/kz-no-such-port"));
        QTest::mouseClick(w.form()->connectBtn, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 30000);
        QCOMPARE(w.boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(w.boxes[0].text, QStringLiteral("Could not open the port. Check the settings."));
        QCOMPARE(w.boxes[0].informative,
                 QStringLiteral("Port /dev/kz-no-such-port does not exist."));
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Could not open the port."));

        QCOMPARE(MainWindow::lostWriteMessage(KZConfig::ConfigGprs | KZConfig::ConfigNtrip,
                                              KZConfig::ConfigGprs),
                 QStringLiteral("Connection to the modem lost while writing. Written: GPRS "
                                "profiles. Not written: NTRIP profiles. Reconnect to the modem "
                                "and check its settings."));
        QVERIFY(!hasCyrillic(MainWindow::groupNames(KZConfig::ConfigAll)));
    }

    // More boxes through the window's own slots: a file that is no set, a
    // damaged firmware file.
    void boxesFromSlots_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QByteArray>("content"); // of the file the dialog answers with
        QTest::addColumn<QString>("expected");   // the start of the box's text
        QTest::newRow("not a set") << QByteArray("on_configLoad_clicked")
                                   << QByteArray("\x01\x02 not an INI file [")
                                   << "The file is not a configuration set";
        QTest::newRow("damaged firmware")
                << QByteArray("on_updateSelectBtn_clicked") << QByteArray("junk")
                << "The firmware file is damaged";
    }

    void boxesFromSlots()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("answer"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();

        TestWindow w;
        w.fileAnswers << file;
        QVERIFY(QMetaObject::invokeMethod(&w, slot.constData()));
        QList<ShownBox> shown = w.boxes + w.questions;
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.startsWith(expected), qPrintable(shown[0].text));
        for (const QString &t : { shown[0].title, shown[0].text, shown[0].informative,
                                  w.statusBar()->currentMessage() })
            QVERIFY2(!hasCyrillic(t), qPrintable(t));
    }

    // Every text the programs can show is translated, and the embedded
    // translation answers with it: the boxes' texts included, whichever
    // path shows them.
    void everyEntryTranslated()
    {
        const QList<Entry> entries = tsEntries();
        QVERIFY(entries.size() > 300);
        QStringList bad;
        for (const Entry &e : entries) {
            if (e.translation.trimmed().isEmpty() || hasCyrillic(e.translation))
                bad << e.context + QStringLiteral(": ") + e.source;
            else if (QCoreApplication::translate(e.context.toUtf8().constData(),
                                                 e.source.toUtf8().constData())
                     != e.translation)
                bad << e.context + QStringLiteral(" (not embedded): ") + e.source;
        }
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    // The window refuses a language it does not have, before it opens.
    void windowRefusesUnknownLanguage()
    {
        QProcess p;
        p.start(QStringLiteral(KZCONFIG_APP), { QStringLiteral("--lang"), QStringLiteral("de") });
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("--lang")));
    }

    // The pictures of docs/: KZ_SCREENSHOT_DIR=docs under a display
    // (scripts/screenshots.sh). Runs last: it changes the language.
    void screenshots()
    {
        const QString dir = qEnvironmentVariable("KZ_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("KZ_SCREENSHOT_DIR not set");
        for (const UiLanguage::Language language : { UiLanguage::Russian, UiLanguage::English }) {
            removeTranslators();
            QVERIFY(UiLanguage::install(language));
            SimModem sim;
            QString error;
            QVERIFY2(sim.start(&error), qPrintable(error));
            TestWindow w;
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(connectTo(w, sim));
            QTest::qWait(300);
            const QString file = dir + QStringLiteral("/screenshot-connected-")
                    + UiLanguage::code(language) + QStringLiteral(".png");
            QVERIFY2(w.grab().save(file), qPrintable(file));
        }
    }
};

QTEST_MAIN(TestWindowEnglish)
#include "tst_windowenglish.moc"
