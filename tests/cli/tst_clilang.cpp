// The command line in both languages: the same exit status and output keys,
// messages in the language chosen, and the progress phrases scripts read
// left as they are.
#include "support/clirun.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool hasCyrillic(const QString &text)
{
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    return cyrillic.match(text).hasMatch();
}

// Standard error without the lines the contract keeps in Russian.
QString withoutKeptPhrases(const QString &err)
{
    QStringList kept;
    for (const QString &line : err.split(QLatin1Char('\n'))) {
        static const QRegularExpression counts(
                QStringLiteral("запрос \\d+ из \\d+|\\d+ из \\d+ байт"));
        if (line.startsWith(QStringLiteral("Сбор данных"))
            || line.startsWith(QStringLiteral("Обновление ПО"))
            || line.startsWith(QStringLiteral("Скорость модема: "))
            || counts.match(line).hasMatch())
            continue;
        kept << line;
    }
    return kept.join(QLatin1Char('\n'));
}

// What scripts read on standard output: the keys of "key: value" lines, or
// the keys of a JSON object.
QStringList outputKeys(const QString &out)
{
    const QJsonDocument json = QJsonDocument::fromJson(out.toUtf8());
    if (json.isObject())
        return json.object().keys();
    QStringList keys;
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        keys << line.section(QStringLiteral(": "), 0, 0);
    return keys;
}

} // namespace

class TstCliLang : public QObject
{
    Q_OBJECT

private slots:
    void bothLanguages_data()
    {
        QTest::addColumn<bool>("modem");       // run against the simulated modem
        QTest::addColumn<QStringList>("args"); // a file argument "FILE" goes into a fresh folder
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("english"); // on standard error (or output for --help)
        QTest::newRow("no command") << false << QStringList {} << 2 << "no command given";
        QTest::newRow("bad baud") << false << QStringList { "--port", "x", "--baud", "7", "info" }
                                  << 2 << "invalid baud rate \"7\"";
        QTest::newRow("reset without yes")
                << false << QStringList { "--port", "x", "reset" } << 2 << "confirm it with --yes";
        QTest::newRow("help") << false << QStringList { "--help" } << 0
                              << "Usage: kzconfig-cli [connection options]";
        QTest::newRow("missing port")
                << false << QStringList { "--port", "/dev/kz-no-such-port", "info" } << 1
                << "Could not open the port. Check the settings.\nPort /dev/kz-no-such-port "
                   "does not exist.";
        QTest::newRow("damaged firmware file")
                << false << QStringList { "fwinfo", "FILE" } << 1 << "The firmware file is damaged";
        QTest::newRow("info") << true << QStringList { "info" } << 0 << "";
        QTest::newRow("info json") << true << QStringList { "info", "--json" } << 0 << "";
        QTest::newRow("mode") << true << QStringList { "mode" } << 0 << "";
        QTest::newRow("read") << true << QStringList { "read" } << 0 << "";
        QTest::newRow("report") << true << QStringList { "report", "FILE" } << 0 << "Report saved.";
        QTest::newRow("send ERROR") << true << QStringList { "send", "AT+BOGUS" } << 1 << "";
    }

    void bothLanguages()
    {
        QFETCH(bool, modem);
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, english);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("f.kz"));
        QFile junk(file);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a container");
        junk.close();
        args.replaceInStrings(QRegularExpression(QStringLiteral("^FILE$")), file);

        Sim sim;
        if (modem)
            QVERIFY(sim.start());
        auto run = [&](const QStringList &language) {
            return modem ? sim.run(language + args) : cli(language + args);
        };
        const Run ru = run({});
        const Run en = run({ "--lang", "en" });
        QCOMPARE(ru.code, code);
        QCOMPARE(en.code, code);
        if (!args.contains(QStringLiteral("--help")))
            QCOMPARE(outputKeys(en.out), outputKeys(ru.out));
        const QString englishText = en.err + en.out;
        QVERIFY2(englishText.contains(english), qPrintable(englishText));
        QVERIFY2(!hasCyrillic(withoutKeptPhrases(en.err)), qPrintable(en.err));
        QVERIFY2(!hasCyrillic(en.out), qPrintable(en.out));
        // The Russian run is as it always was.
        if (!english.isEmpty())
            QVERIFY2(hasCyrillic(ru.err + ru.out), qPrintable(ru.err));
    }

    // The device texts of info in English, the keys and the link the same.
    void infoValues()
    {
        Sim sim;
        QVERIFY(sim.start());
        const Run ru = sim.run({ "info" });
        const Run en = sim.run({ "info", "--lang=en" }); // after the command too
        QCOMPARE(en.code, 0);
        QVERIFY2(en.out.contains(QRegularExpression(QStringLiteral("^bluetooth: (Yes|No)$"),
                                                    QRegularExpression::MultilineOption)),
                 qPrintable(en.out));
        QVERIFY2(ru.out.contains(QRegularExpression(QStringLiteral("^bluetooth: (Есть|Нет)$"),
                                                    QRegularExpression::MultilineOption)),
                 qPrintable(ru.out));
        QCOMPARE(en.lines().filter(QStringLiteral("link: ")),
                 ru.lines().filter(QStringLiteral("link: ")));
    }

    // The environment chooses when no option is given; the option wins.
    void environmentAndOption_data()
    {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QStringList>("option");
        QTest::addColumn<bool>("english");
        QTest::newRow("env en") << "en" << QStringList {} << true;
        QTest::newRow("env ru") << "ru" << QStringList {} << false;
        QTest::newRow("env en, option ru") << "en" << QStringList { "--lang", "ru" } << false;
        QTest::newRow("env unknown, C locale") << "xx" << QStringList {} << false;
    }

    void environmentAndOption()
    {
        QFETCH(QString, environment);
        QFETCH(QStringList, option);
        QFETCH(bool, english);
        const QByteArray old = qgetenv("KZCONFIG_LANG");
        const QByteArray oldAll = qgetenv("LC_ALL");
        qputenv("KZCONFIG_LANG", environment.toUtf8());
        qputenv("LC_ALL", "C");
        const Run r = cli(option + QStringList { "--port", "x", "--parity", "Q", "info" });
        qputenv("KZCONFIG_LANG", old);
        qputenv("LC_ALL", oldAll);
        QCOMPARE(r.code, 2);
        QCOMPARE(!hasCyrillic(r.err), english);
    }

    void badLanguage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("unknown") << QStringList { "--lang", "de", "ports" };
        QTest::newRow("no value") << QStringList { "ports", "--lang" };
        QTest::newRow("joined, empty") << QStringList { "--lang=", "ports" };
    }

    void badLanguage()
    {
        QFETCH(QStringList, args);
        const Run r = cli(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains(QStringLiteral("--lang")), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(TstCliLang)
#include "tst_clilang.moc"
