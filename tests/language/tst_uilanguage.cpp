#include "config/uilanguage.h"
#include "firmware/transferprogress.h"

#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

class TestUiLanguage : public QObject
{
    Q_OBJECT

    static void removeTranslators()
    {
        for (QTranslator *t : QCoreApplication::instance()->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }

private slots:
    void choose_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<int>("expected");
        const int ru = UiLanguage::Russian, en = UiLanguage::English;
        const QStringList none, c { "C" }, posix { "POSIX" }, us { "en-US", "en" },
                russian { "ru-RU", "ru" }, german { "de-DE", "de" },
                germanThenEnglish { "de-DE", "en-US" }, latn { "en-Latn-GB" };
        // The option wins over everything.
        QTest::newRow("option en") << "en" << "ru" << russian << en;
        QTest::newRow("option ru") << "ru" << "en" << us << ru;
        // Then the variable, in the forms locales are spelled.
        QTest::newRow("env en") << "" << "en" << russian << en;
        QTest::newRow("env ru over English system") << "" << "ru" << us << ru;
        QTest::newRow("env en_US.UTF-8") << "" << "en_US.UTF-8" << c << en;
        QTest::newRow("env EN") << "" << "EN" << none << en;
        QTest::newRow("env unknown falls to system") << "" << "de" << us << en;
        QTest::newRow("env unknown, Russian system") << "" << "fr" << russian << ru;
        QTest::newRow("env blank") << "" << "  " << c << ru;
        // Then the system's preferred language, only when English.
        QTest::newRow("system English") << "" << "" << us << en;
        QTest::newRow("system en-Latn-GB") << "" << "" << latn << en;
        QTest::newRow("system Russian") << "" << "" << russian << ru;
        QTest::newRow("system German") << "" << "" << german << ru;
        QTest::newRow("English second only") << "" << "" << germanThenEnglish << ru;
        QTest::newRow("C locale") << "" << "" << c << ru;
        QTest::newRow("POSIX locale") << "" << "" << posix << ru;
        QTest::newRow("nothing known") << "" << "" << none << ru;
    }

    void choose()
    {
        QFETCH(QString, option);
        QFETCH(QString, environment);
        QFETCH(QStringList, system);
        QFETCH(int, expected);
        QCOMPARE(int(UiLanguage::choose(option, environment, system)), expected);
    }

    void optionValue_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("value");
        QTest::newRow("absent") << QStringList { "--port", "/dev/ttyS0", "info" } << false << "";
        QTest::newRow("separate") << QStringList { "--lang", "en", "info" } << true << "en";
        QTest::newRow("joined") << QStringList { "info", "--lang=ru" } << true << "ru";
        QTest::newRow("no value") << QStringList { "info", "--lang" } << true << "";
        QTest::newRow("after --") << QStringList { "send", "--", "--lang", "en" } << false << "";
        QTest::newRow("other option") << QStringList { "--language", "en" } << false << "";
    }

    void optionValue()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, present);
        QFETCH(QString, value);
        bool given = !present;
        QCOMPARE(UiLanguage::optionValue(arguments, &given), value);
        QCOMPARE(given, present);
    }

    // The embedded translation is found, answers in English, and leaves the
    // contexts asked for in Russian.
    void installEnglish()
    {
        removeTranslators();
        QVERIFY(UiLanguage::install(UiLanguage::English, { QByteArrayLiteral("TransferProgress") }));
        QCOMPARE(QCoreApplication::translate("Messages", "Не удалось открыть порт."),
                 QStringLiteral("Could not open the port."));
        QCOMPARE(QCoreApplication::translate("TransferProgress", "%1 из %2 байт"),
                 QStringLiteral("%1 из %2 байт"));
        removeTranslators();
        QVERIFY(UiLanguage::install(UiLanguage::English));
        QCOMPARE(QCoreApplication::translate("TransferProgress", "%1 из %2 байт"),
                 QStringLiteral("%1 of %2 bytes"));
        // The progress bar's label still finds the file and the step in English.
        const QString sending =
                QCoreApplication::translate("TransferProgress", "Обновление ПО: передача файла %1")
                        .arg(QStringLiteral("cfg.txt"));
        QCOMPARE(TransferProgress::label(sending), QStringLiteral("Firmware update: cfg.txt"));
        const QString query = QCoreApplication::translate("TransferProgress",
                                                          "Сбор данных: запрос %1 из %2 (%3)")
                                      .arg(3)
                                      .arg(40)
                                      .arg(QStringLiteral("AT"));
        QCOMPARE(TransferProgress::label(query), QStringLiteral("Collecting data"));
        removeTranslators();
    }

    // Russian keeps the program's texts and brings Qt's own ones.
    void installRussian()
    {
        removeTranslators();
        QVERIFY(UiLanguage::install(UiLanguage::Russian));
        QCOMPARE(QCoreApplication::translate("Messages", "Не удалось открыть порт."),
                 QStringLiteral("Не удалось открыть порт."));
        const QString yes = QCoreApplication::translate("QPlatformTheme", "&Yes");
        if (yes == QLatin1String("&Yes"))
            QSKIP("Qt's Russian translation (qt6-translations-l10n) is not installed");
        QVERIFY2(yes.contains(QStringLiteral("Да")), qPrintable(yes));
        removeTranslators();
    }
};

QTEST_GUILESS_MAIN(TestUiLanguage)
#include "tst_uilanguage.moc"
