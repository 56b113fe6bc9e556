// The generated forms are the contract between the designer files and the
// window code: slots are connected by object name, widgets are reached by
// name and class, and users read the texts. These tests pin all three, plus
// the grouping the code relies on (it hides NTRIP group boxes, enables the
// Bluetooth group as a whole) and that every tab fits the initial window.

#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "ui_ddnsform.h"
#include "ui_gprsform.h"
#include "ui_mainwindow.h"
#include "ui_ntripform.h"

namespace {

QString textOf(const QWidget *w)
{
    if (auto g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    if (auto b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (auto t = qobject_cast<const QTextEdit *>(w))
        return t->toPlainText();
    if (auto c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    return QString();
}

// Title of the nearest titled group box around w, "-" when there is none.
QString groupOf(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto g = qobject_cast<const QGroupBox *>(p); g && !g->title().isEmpty())
            return g->title();
    }
    return QStringLiteral("-");
}

// The caption a user sees for a field: the label that names it as buddy,
// or else the label in the grid cell to its left.
QString captionOf(const QWidget *root, const QWidget *field)
{
    const auto labels = root->findChildren<QLabel *>();
    for (const QLabel *l : labels) {
        if (l->buddy() == field)
            return l->text();
    }
    const auto grids = root->findChildren<QGridLayout *>();
    for (QGridLayout *g : grids) {
        const int idx = g->indexOf(const_cast<QWidget *>(field));
        if (idx < 0)
            continue;
        int row, col, rs, cs;
        g->getItemPosition(idx, &row, &col, &rs, &cs);
        if (col == 0)
            break;
        if (QLayoutItem *left = g->itemAtPosition(row, col - 1)) {
            if (auto l = qobject_cast<QLabel *>(left->widget()))
                return l->text();
        }
    }
    return QStringLiteral("<no caption>");
}

// Widgets we named ourselves, as opposed to the internals of composite widgets.
bool isOwnWidget(const QWidget *w)
{
    const QString n = w->objectName();
    if (n.isEmpty() || n.startsWith(QLatin1String("qt_")))
        return false;
    const QWidget *p = w->parentWidget();
    return p && !qobject_cast<const QComboBox *>(p) && !qobject_cast<const QAbstractScrollArea *>(p)
        && !qobject_cast<const QAbstractSpinBox *>(p);
}

} // namespace

class TestForms : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void windowFrame();
    void tabs();
    void objects_data();
    void objects();
    void captions_data();
    void captions();
    void initialStates();
    void modeButtonsAreNotGroupedInForm();
    void plainLineEdits_data();
    void plainLineEdits();
    void buttonBoxes_data();
    void buttonBoxes();
    void layoutFits_data();
    void layoutFits();

private:
    QWidget *root(const QString &form) const;

    std::unique_ptr<QMainWindow> window;
    std::unique_ptr<QDialog> gprs, ntrip, ddns;
    Ui::MainWindow mainUi;
    Ui::GprsForm gprsUi;
    Ui::NtripForm ntripUi;
    Ui::DdnsForm ddnsUi;
};

void TestForms::initTestCase()
{
    window = std::make_unique<QMainWindow>();
    mainUi.setupUi(window.get());
    gprs = std::make_unique<QDialog>();
    gprsUi.setupUi(gprs.get());
    ntrip = std::make_unique<QDialog>();
    ntripUi.setupUi(ntrip.get());
    ddns = std::make_unique<QDialog>();
    ddnsUi.setupUi(ddns.get());
}

QWidget *TestForms::root(const QString &form) const
{
    if (form == QLatin1String("main"))
        return window.get();
    if (form == QLatin1String("gprs"))
        return gprs.get();
    if (form == QLatin1String("ntrip"))
        return ntrip.get();
    if (form == QLatin1String("ddns"))
        return ddns.get();
    return nullptr;
}

void TestForms::windowFrame()
{
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    // The window adds the version, which comes from the build.
    QCOMPARE(window->windowTitle(), QStringLiteral("KZ-Config"));
    QCOMPARE(window->size(), QSize(680, 614));
    QCOMPARE(window->statusBar()->objectName(), QStringLiteral("statusBar"));
    QCOMPARE(window->menuBar()->actions().size(), 0);

    QCOMPARE(gprs->windowTitle(), QStringLiteral("Профили GPRS"));
    QCOMPARE(ntrip->windowTitle(), QStringLiteral("Профили NTRIP"));
    QCOMPARE(ddns->windowTitle(), QStringLiteral("Dialog"));
}

void TestForms::tabs()
{
    const QList<QPair<QString, QString>> expected = {
        {"tab_4", "Модем"}, {"tab_9", "Соединение"}, {"tab_2", "Порты"},
        {"tab_3", "Обновление ПО"}, {"tab", "Терминал"},
    };
    QTabWidget *tw = window->findChild<QTabWidget *>("tabWidget");
    QVERIFY(tw);
    QCOMPARE(tw->count(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(tw->widget(i)->objectName(), expected[i].first);
        QCOMPARE(tw->tabText(i), expected[i].second);
    }
    QCOMPARE(tw->currentIndex(), 0);
}

void TestForms::objects_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tab");   // page of tabWidget, empty for dialogs
    QTest::addColumn<QString>("group"); // nearest titled group box, "-" for none

    auto row = [](const char *form, const char *name, const char *cls, const QString &text,
                  const char *tab, const QString &group) {
        QTest::addRow("%s/%s", form, name) << form << name << cls << text << tab << group;
    };
    const QString none = QStringLiteral("-");

    // "Модем"
    for (const char *n : {"portName", "portBaud", "portDataBits", "portParity", "portStopBits", "portFlow"})
        row("main", n, "QComboBox", "", "tab_4", none);
    row("main", "portRefresh", "QToolButton", "↻", "tab_4", none);
    row("main", "connectBtn", "QPushButton", "Подключиться", "tab_4", none);
    row("main", "disconnectBtn", "QPushButton", "Отключиться", "tab_4", none);
    for (const char *n : {"infoPartNo", "infoSerial", "infoSoftVersion", "infoBluetooth", "infoBattery", "infoSim"})
        row("main", n, "QLabel", "-", "tab_4", none);
    row("main", "reportButton", "QPushButton", "Создать отчёт", "tab_4", none);
    row("main", "reportProfiles", "QCheckBox", "Включить в отчёт профили", "tab_4", none);
    const QString cfg = "Управление настройками";
    row("main", "configSave", "QPushButton", "Сохранить набор настроек", "tab_4", cfg);
    row("main", "configLoad", "QPushButton", "Загрузить набор настроек", "tab_4", cfg);
    row("main", "configReset", "QPushButton", "Сброс настроек", "tab_4", cfg);

    // "Соединение"
    const QString base = "Базовая станция", rover = "Ровер";
    row("main", "conModeBaseCsd", "QRadioButton", "CSD", "tab_9", base);
    row("main", "conModeBaseTcp", "QRadioButton", "TCP-сервер", "tab_9", base);
    row("main", "conModeBaseNtripServer", "QRadioButton", "NTRIP-сервер", "tab_9", base);
    row("main", "conModeBaseNtripCaster", "QRadioButton", "NTRIP-кастер", "tab_9", base);
    row("main", "conModeRoverCsd", "QRadioButton", "CSD", "tab_9", rover);
    row("main", "conModeRoverTcp", "QRadioButton", "TCP-клиент", "tab_9", rover);
    row("main", "conModeRoverNtrip", "QRadioButton", "NTRIP-клиент", "tab_9", rover);
    for (const char *n : {"conBaseGprsSelect", "conBaseNtripServerSelect", "conBaseNtripCasterSelect"})
        row("main", n, "QComboBox", "", "tab_9", base);
    for (const char *n : {"conRoverGprsSelect", "conRoverNtripSelect"})
        row("main", n, "QComboBox", "", "tab_9", rover);
    for (const char *n : {"conBaseNtripServerUrl", "conBaseNtripServerAuth", "conBaseNtripCasterUrl",
                          "conBaseNtripCasterAuth"})
        row("main", n, "QLabel", "", "tab_9", base);
    for (const char *n : {"conRoverNtripUrl", "conRoverNtripAuth"})
        row("main", n, "QLabel", "", "tab_9", rover);
    for (const char *n : {"conBaseGprsEdit", "conBaseNtripServerEdit", "conBaseNtripCasterEdit"})
        row("main", n, "QPushButton", "...", "tab_9", base);
    for (const char *n : {"conRoverGprsEdit", "conRoverNtripEdit"})
        row("main", n, "QPushButton", "...", "tab_9", rover);
    row("main", "conBaseDyndnsEdit", "QPushButton", "Настроить DynDNS", "tab_9", base);
    row("main", "conBaseDyndnsEnabled", "QCheckBox", "DynDNS", "tab_9", base);
    row("main", "conBaseTcpPort", "QLineEdit", "", "tab_9", base);
    for (const char *n : {"conRoverCsdNumber", "conRoverTcpAddress", "conRoverTcpPort"})
        row("main", n, "QLineEdit", "", "tab_9", rover);
    row("main", "conRestart", "QCheckBox", "Переподключение", "tab_9", none);
    row("main", "conAutostartCom", "QCheckBox", "Автозапуск на COM", "tab_9", none);
    row("main", "conAutostartBT", "QCheckBox", "Автозапуск на Bluetooth", "tab_9", none);
    row("main", "conCommand", "QLineEdit", "", "tab_9", none);
    row("main", "conTerminalCheck", "QPushButton", "Проверить в терминале", "tab_9", none);
    row("main", "conSave", "QPushButton", "Сохранить", "tab_9", none);

    // "Порты"
    for (const char *n : {"comBaud", "comFraming", "comFlow"})
        row("main", n, "QComboBox", "", "tab_2", "COM");
    row("main", "comSaveButton", "QPushButton", "Сохранить", "tab_2", "COM");
    row("main", "btGroupBox", "QGroupBox", "Bluetooth", "tab_2", none);
    row("main", "btMode0", "QRadioButton", "Режим 0: Bluetooth отключен", "tab_2", "Bluetooth");
    row("main", "btMode1", "QRadioButton", "Режим 1: Ожидание подключения", "tab_2", "Bluetooth");
    row("main", "btMode2", "QRadioButton", "Режим 2: Подключаться к устройству:", "tab_2", "Bluetooth");
    row("main", "btMode2Mac", "QLineEdit", "", "tab_2", "Bluetooth");
    row("main", "btMode2Pin", "QLineEdit", "", "tab_2", "Bluetooth");
    row("main", "btInq", "QPushButton", "Поиск устройств", "tab_2", "Bluetooth");
    row("main", "btInqList", "QListWidget", "", "tab_2", "Bluetooth");
    row("main", "btSaveMode", "QPushButton", "Сохранить режим", "tab_2", "Bluetooth");

    // "Обновление ПО"
    const QString upd = "Обновление внутреннего ПО модема";
    const QString priv = "Выполнение привелегированных инструкций";
    row("main", "label_32", "QLabel", "Файл с обновлением:", "tab_3", upd);
    row("main", "updateFileField", "QLineEdit", "", "tab_3", upd);
    row("main", "updateSelectBtn", "QPushButton", "Обзор...", "tab_3", upd);
    row("main", "label_39", "QLabel", "Обновление:", "tab_3", upd);
    row("main", "label_40", "QLabel", "Модель", "tab_3", upd);
    row("main", "label_41", "QLabel", "Версия оборудования", "tab_3", upd);
    row("main", "label_42", "QLabel", "Версия ПО", "tab_3", upd);
    for (const char *n : {"updateModel", "updateHardVersion", "updateSoftVersion", "updateStep"})
        row("main", n, "QLabel", "", "tab_3", upd);
    row("main", "updateButton", "QPushButton", "Обновить", "tab_3", upd);
    row("main", "updateProgress", "QProgressBar", "", "tab_3", upd);
    row("main", "privilegedCode", "QLineEdit", "", "tab_3", priv);
    row("main", "privilegedExecute", "QPushButton", "Выполнить", "tab_3", priv);

    // "Терминал"
    row("main", "termLog", "QTextEdit", "", "tab", none);
    row("main", "termCmd", "QLineEdit", "", "tab", none);
    row("main", "termSend", "QPushButton", "Отправить", "tab", none);
    row("main", "termPpp", "QPushButton", "+++", "tab", none);
    row("main", "termAth", "QPushButton", "Положить трубку", "tab", none);

    // GPRS profiles
    row("gprs", "gprsList", "QListWidget", "", "", none);
    row("gprs", "gprsAdd", "QPushButton", "Добавить", "", none);
    row("gprs", "gprsDelete", "QPushButton", "Удалить", "", none);
    for (const char *n : {"gprsProfileName", "gprsProfileAccessPoint", "gprsProfileUser", "gprsProfilePassword"})
        row("gprs", n, "QLineEdit", "", "", none);
    row("gprs", "gprsProfileSave", "QPushButton", "Сохранить", "", none);
    row("gprs", "buttonBox", "QDialogButtonBox", "", "", none);

    // NTRIP profiles: the group box decides when a field is shown.
    row("ntrip", "ntripList", "QListWidget", "", "", none);
    row("ntrip", "ntripAdd", "QPushButton", "Добавить", "", none);
    row("ntrip", "ntripDelete", "QPushButton", "Удалить", "", none);
    row("ntrip", "ntripProfileSave", "QPushButton", "Сохранить", "", none);
    row("ntrip", "buttonBox", "QDialogButtonBox", "", "", none);
    row("ntrip", "ntripCommonConfig", "QGroupBox", "Общие настройки", "", none);
    row("ntrip", "ntripClientConfig", "QGroupBox", "NTRIP-клиент", "", none);
    row("ntrip", "ntripServerConfig", "QGroupBox", "NTRIP-сервер", "", none);
    row("ntrip", "ntripCasterConfig", "QGroupBox", "NTRIP-кастер", "", none);
    for (const char *n : {"ntripProfileName", "ntripProfileAddress", "ntripProfilePort", "ntripProfileMountpoint"})
        row("ntrip", n, "QLineEdit", "", "", "Общие настройки");
    for (const char *n : {"ntripProfileClientUsername", "ntripProfileClientPassword"})
        row("ntrip", n, "QLineEdit", "", "", "NTRIP-клиент");
    row("ntrip", "ntripProfileServerPassword", "QLineEdit", "", "", "NTRIP-сервер");
    row("ntrip", "ntripProfileSourcetable", "QLineEdit", "", "", "NTRIP-кастер");

    // DynDNS account
    for (const char *n : {"dyndnsDomain", "dyndnsUsername", "dyndnsPassword"})
        row("ddns", n, "QLineEdit", "", "", none);
    row("ddns", "buttonBox", "QDialogButtonBox", "", "", none);
}

void TestForms::objects()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QString, cls);
    QFETCH(QString, text);
    QFETCH(QString, tab);
    QFETCH(QString, group);

    const auto found = root(form)->findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1); // names must be unique within a form
    const QWidget *w = found.first();
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), cls);
    QCOMPARE(textOf(w), text);
    QCOMPARE(groupOf(w), group);
    if (!tab.isEmpty()) {
        const QWidget *page = window->findChild<QWidget *>(tab);
        QVERIFY(page);
        QVERIFY2(page->isAncestorOf(w), qPrintable(name + " is not on " + tab));
    }
}

void TestForms::captions_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("caption");

    const QList<std::tuple<const char *, const char *, QString>> rows = {
        {"main", "portName", "Порт"},
        {"main", "portBaud", "Скорость"},
        {"main", "portDataBits", "Биты данных"},
        {"main", "portParity", "Четность"},
        {"main", "portStopBits", "Стоп-биты"},
        {"main", "portFlow", "Контроль потока"},
        {"main", "infoPartNo", "Устройство"},
        {"main", "infoSerial", "Серийный номер"},
        {"main", "infoSoftVersion", "Версия ПО"},
        {"main", "infoBluetooth", "Bluetooth"},
        {"main", "infoBattery", "Батарея"},
        {"main", "infoSim", "SIM"},
        {"main", "conBaseGprsSelect", "Профиль GPRS:"},
        {"main", "conRoverGprsSelect", "Профиль GPRS:"},
        {"main", "conBaseNtripServerSelect", "Профиль NTRIP:"},
        {"main", "conBaseNtripCasterSelect", "Профиль NTRIP:"},
        {"main", "conRoverNtripSelect", "Профиль NTRIP:"},
        {"main", "conBaseTcpPort", "Порт"},
        {"main", "conRoverCsdNumber", "Номер"},
        {"main", "conRoverTcpAddress", "Адрес"},
        {"main", "conRoverTcpPort", "Порт"},
        {"main", "conCommand", "Команда:"},
        {"main", "comBaud", "Скорость"},
        {"main", "comFraming", "Формат кадра"},
        {"main", "comFlow", "Контроль потока"},
        {"main", "btMode2Mac", "MAC"},
        {"main", "btMode2Pin", "PIN"},
        {"main", "updateFileField", "Файл с обновлением:"},
        {"main", "updateModel", "Модель"},
        {"main", "updateHardVersion", "Версия оборудования"},
        {"main", "updateSoftVersion", "Версия ПО"},
        {"main", "privilegedCode", "Введите AUTH-код:"},
        {"gprs", "gprsProfileName", "Название"},
        {"gprs", "gprsProfileAccessPoint", "Точка доступа"},
        {"gprs", "gprsProfileUser", "Имя пользователя"},
        {"gprs", "gprsProfilePassword", "Пароль"},
        {"ntrip", "ntripProfileName", "Название"},
        {"ntrip", "ntripProfileAddress", "Адрес кастера"},
        {"ntrip", "ntripProfilePort", "Порт кастера"},
        {"ntrip", "ntripProfileMountpoint", "Базовая станция\n(mountpoint)"},
        {"ntrip", "ntripProfileClientUsername", "Имя клиента"},
        {"ntrip", "ntripProfileClientPassword", "Пароль клиента"},
        {"ntrip", "ntripProfileServerPassword", "Пароль сервера"},
        {"ntrip", "ntripProfileSourcetable", "Строка SOURCETABLE (без STR и кода станции):"},
        {"ddns", "dyndnsDomain", "Домен"},
        {"ddns", "dyndnsUsername", "Пользователь"},
        {"ddns", "dyndnsPassword", "Пароль"},
    };
    for (const auto &[form, field, caption] : rows)
        QTest::addRow("%s/%s", form, field) << form << field << caption;
}

void TestForms::captions()
{
    QFETCH(QString, form);
    QFETCH(QString, field);
    QFETCH(QString, caption);
    const QWidget *r = root(form);
    const QWidget *w = r->findChild<QWidget *>(field);
    QVERIFY(w);
    QCOMPARE(captionOf(r, w), caption);
}

void TestForms::initialStates()
{
    // A user types device paths such as /dev/rfcomm0 that no enumerator lists.
    QVERIFY(mainUi.portName->isEditable());
    QCOMPARE(mainUi.portRefresh->toolTip(), QStringLiteral("Обновить список портов"));

    const QList<QRadioButton *> modes = {
        mainUi.conModeBaseCsd, mainUi.conModeBaseTcp, mainUi.conModeBaseNtripServer,
        mainUi.conModeBaseNtripCaster, mainUi.conModeRoverCsd, mainUi.conModeRoverTcp,
        mainUi.conModeRoverNtrip,
    };
    for (QRadioButton *b : modes)
        QCOMPARE(b->isChecked(), b == mainUi.conModeBaseTcp);
    QVERIFY(!mainUi.conCommand->isReadOnly());

    QVERIFY(mainUi.updateFileField->isReadOnly());
    QCOMPARE(mainUi.updateProgress->value(), 0);
    QVERIFY(mainUi.termLog->isReadOnly());
    QVERIFY(mainUi.termLog->acceptRichText());
    QVERIFY(ntrip->findChild<QLabel *>("labelNtripSourcetable")->wordWrap());

    // Checked by tabs(), but the code reads the very first tab by index too.
    QCOMPARE(mainUi.tabWidget->currentWidget(), mainUi.tab_4);
}

void TestForms::modeButtonsAreNotGroupedInForm()
{
    // The window puts the mode buttons into button groups with its own ids;
    // a group made by the form would take them out of those.
    QVERIFY(window->findChildren<QButtonGroup *>().isEmpty());
    for (QAbstractButton *b : window->findChildren<QRadioButton *>())
        QVERIFY2(!b->group(), qPrintable(b->objectName()));
}

void TestForms::plainLineEdits_data()
{
    QTest::addColumn<QString>("form");
    for (const char *f : {"main", "gprs", "ntrip", "ddns"})
        QTest::newRow(f) << f;
}

void TestForms::plainLineEdits()
{
    QFETCH(QString, form);
    const auto edits = root(form)->findChildren<QLineEdit *>();
    int own = 0;
    for (const QLineEdit *e : edits) {
        if (!isOwnWidget(e))
            continue;
        ++own;
        const QByteArray n = e->objectName().toUtf8();
        QVERIFY2(e->echoMode() == QLineEdit::Normal, n); // passwords are shown as typed
        QVERIFY2(e->inputMask().isEmpty(), n);
        QVERIFY2(!e->validator(), n);
        QVERIFY2(e->maxLength() == 32767, n);
    }
    QVERIFY(own > 0);
}

void TestForms::buttonBoxes_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("result");
    for (const char *f : {"gprs", "ntrip", "ddns"}) {
        QTest::addRow("%s/ok", f) << f << int(QDialogButtonBox::Ok) << int(QDialog::Accepted);
        QTest::addRow("%s/cancel", f) << f << int(QDialogButtonBox::Cancel) << int(QDialog::Rejected);
    }
}

void TestForms::buttonBoxes()
{
    QFETCH(QString, form);
    QFETCH(int, button);
    QFETCH(int, result);
    auto *dlg = qobject_cast<QDialog *>(root(form));
    QVERIFY(dlg);
    auto *box = dlg->findChild<QDialogButtonBox *>("buttonBox");
    QVERIFY(box);
    QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    dlg->setResult(-1);
    dlg->open();
    QVERIFY(dlg->isVisible());
    box->button(QDialogButtonBox::StandardButton(button))->click();
    QVERIFY(!dlg->isVisible());
    QCOMPARE(dlg->result(), result);
}

void TestForms::layoutFits_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("tab");
    for (int i = 0; i < 5; ++i)
        QTest::addRow("main/tab%d", i) << "main" << i;
    for (const char *f : {"gprs", "ntrip", "ddns"})
        QTest::newRow(f) << f << -1;
}

void TestForms::layoutFits()
{
    QFETCH(QString, form);
    QFETCH(int, tab);
    QWidget *r = root(form);
    QWidget *scope = r;
    if (tab >= 0) {
        mainUi.tabWidget->setCurrentIndex(tab);
        scope = mainUi.tabWidget->widget(tab);
    }
    r->show();
    QVERIFY(QTest::qWaitForWindowExposed(r));
    QCoreApplication::processEvents();

    // The initial size must not squeeze any layout below its minimum.
    const QSize min = r->minimumSizeHint();
    QVERIFY2(min.width() <= r->width() && min.height() <= r->height(),
             qPrintable(QStringLiteral("minimum %1x%2 > %3x%4")
                            .arg(min.width()).arg(min.height()).arg(r->width()).arg(r->height())));

    // Every widget of ours is on screen inside its parent and covers no sibling.
    QHash<QWidget *, QList<QWidget *>> byParent;
    for (QWidget *w : scope->findChildren<QWidget *>()) {
        if (!isOwnWidget(w) || !w->isVisible())
            continue;
        const QByteArray n = w->objectName().toUtf8();
        QVERIFY2(!w->geometry().isEmpty(), n);
        QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), n);
        byParent[w->parentWidget()].append(w);
    }
    QVERIFY(!byParent.isEmpty());
    for (const auto &siblings : std::as_const(byParent)) {
        for (int i = 0; i < siblings.size(); ++i) {
            for (int j = i + 1; j < siblings.size(); ++j) {
                const QString msg = siblings[i]->objectName() + " overlaps " + siblings[j]->objectName();
                QVERIFY2(!siblings[i]->geometry().intersects(siblings[j]->geometry()), qPrintable(msg));
            }
        }
    }
    r->hide();
}

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
