#include "forms/configset.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestConfigSet : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

    QString writeFile(const QString &name, const QByteArray &text) const
    {
        QFile f(path(name));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        f.write(text);
        return f.fileName();
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void serialRowsBothWays()
    {
        ConfigSet::Data d;
        d.partno = "KZ520-03-ABP";
        d.softversion = "390";
        d.baudRow = 5;  // 9600
        d.framing = 2;  // 8E1
        d.flowRow = 0;  // OFF
        QString error;
        QVERIFY2(ConfigSet::save(path("com.kzini"), d, &error), qPrintable(error));
        {
            QSettings s(path("com.kzini"), QSettings::IniFormat);
            QCOMPARE(s.value("com/baudrate").toString(), QString("5"));
            QCOMPARE(s.value("com/framing").toString(), QString("2"));
            QCOMPARE(s.value("com/flow").toString(), QString("0"));
        }
        ConfigSet::Loaded l;
        QVERIFY2(ConfigSet::load(path("com.kzini"), &l, &error), qPrintable(error));
        QCOMPARE(l.config.baudrate, 12);
        QCOMPARE(l.config.framing, 2);
        QCOMPARE(l.config.flow, 0);
        QCOMPARE(l.partno, QString("KZ520-03-ABP"));
        QCOMPARE(l.softversion, QString("390"));
        QVERIFY(ConfigSet::versionMatches(l, "KZ520-03-ABP", "390"));
        QVERIFY(!ConfigSet::versionMatches(l, "KZ520-03-ABP", "391"));
    }

    void wholeRecordRoundTrip()
    {
        KZConfig c;
        c.gprsProfiles = { { "mts", "internet.mts.ru", "mts", "mts" },
                           { "Профиль", "apn", "", "" },
                           { "x", "", "", "p;=\\#" } };
        c.dyndnsLogin = "user";
        c.dyndnsPassword = "secret";
        c.dyndnsDomain = "base.dyndns.org";
        c.btMode = 2;
        c.btMac = "0012F3A4B5C6";
        c.btPin = "1234";
        c.autoexecBt = "ATRD*91*mts#1.2.3.4,5000";
        c.baudrate = 17;
        QString error;
        QVERIFY2(ConfigSet::save(path("all.kzini"), ConfigSet::fromConfig(c, "KZ520", "390"), &error),
                 qPrintable(error));
        {
            QSettings s(path("all.kzini"), QSettings::IniFormat);
            QCOMPARE(s.beginReadArray("gprsProfiles"), 3);
            s.endArray();
            QCOMPARE(s.beginReadArray("ntripProfiles"), 0);
            s.endArray();
        }
        // Loading replaces every member, whatever the record held before.
        ConfigSet::Loaded l;
        l.config.ntripProfiles = { { "old", "", "", "", "", "", "", "" } };
        QVERIFY2(ConfigSet::load(path("all.kzini"), &l, &error), qPrintable(error));
        QCOMPARE(l.config, c);
    }

    // A file of the earlier program: Cyrillic escaped as older Qt wrote INI
    // strings, no autostart keys, no bluetooth group.
    void olderFile()
    {
        const QString p = writeFile("old.kzini",
                                    "[modem]\n"
                                    "partno=KZ520-02\n"
                                    "softversion=334\n"
                                    "\n[com]\nbaudrate=10\nframing=0\nflow=0\n"
                                    "\n[gprsProfiles]\n"
                                    "1\\name=\\x41f\\x440\\x43e\\x444\\x438\\x43b\\x44c\n"
                                    "1\\apn=internet\n1\\username=\n1\\password=\n"
                                    "size=1\n"
                                    "\n[dyndns]\nlogin=a\npassword=b\ndomain=c\n");
        QVERIFY(!p.isEmpty());
        ConfigSet::Loaded l;
        QString error;
        QVERIFY2(ConfigSet::load(p, &l, &error), qPrintable(error));
        QCOMPARE(l.config.baudrate, 19);
        QCOMPARE(l.config.gprsProfiles.size(), 1);
        QCOMPARE(l.config.gprsProfiles[0].name, QString::fromUtf8("Профиль"));
        QCOMPARE(l.config.gprsProfiles[0].apn, QString("internet"));
        QVERIFY(l.config.ntripProfiles.isEmpty());
        QCOMPARE(l.config.btMode, 0);
        QVERIFY(l.config.btMac.isEmpty() && l.config.btPin.isEmpty());
        QVERIFY(l.config.autoexecBt.isEmpty() && l.config.autoexecCom.isEmpty());
        QCOMPARE(l.config.dyndnsDomain, QString("c"));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message"); // a part of the message
        QTest::newRow("no modem group") << QByteArray("[com]\nbaudrate=1\n") << "не является набором настроек";
        QTest::newRow("empty file") << QByteArray() << "не является набором настроек";
        QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe", 4) << "не является набором настроек";
        QTest::newRow("baudrate 11") << QByteArray("[modem]\npartno=a\n[com]\nbaudrate=11\n") << "«11» ключа com/baudrate";
        QTest::newRow("baudrate -1") << QByteArray("[modem]\npartno=a\n[com]\nbaudrate=-1\n") << "«-1» ключа com/baudrate";
        QTest::newRow("baudrate text") << QByteArray("[modem]\npartno=a\n[com]\nbaudrate=fast\n") << "«fast» ключа com/baudrate";
        QTest::newRow("flow 1") << QByteArray("[modem]\npartno=a\n[com]\nflow=1\n") << "«1» ключа com/flow";
        QTest::newRow("framing 5") << QByteArray("[modem]\npartno=a\n[com]\nframing=5\n") << "«5» ключа com/framing";
        QTest::newRow("bt mode -1") << QByteArray("[modem]\npartno=a\n[bluetooth]\nmode=-1\n") << "«-1» ключа bluetooth/mode";
        QTest::newRow("bt mode 3") << QByteArray("[modem]\npartno=a\n[bluetooth]\nmode=3\n") << "«3» ключа bluetooth/mode";
        QTest::newRow("huge array") << QByteArray("[modem]\npartno=a\n[ntripProfiles]\nsize=2000000000\n") << "ntripProfiles/size";
        QTest::newRow("array longer than its elements") << QByteArray("[modem]\npartno=a\n[gprsProfiles]\n1\\name=a\nsize=2\n") << "элемента 2 с именем нет";
        QTest::newRow("element without a name") << QByteArray("[modem]\npartno=a\n[ntripProfiles]\n1\\address=h\nsize=1\n") << "элемента 1 с именем нет";
        QTest::newRow("name not text") << QByteArray("[modem]\npartno=a\n[gprsProfiles]\n1\\name=@ByteArray(x)\nsize=1\n") << "не читается как текст";
        QTest::newRow("name a list") << QByteArray("[modem]\npartno=a\n[gprsProfiles]\n1\\name=a, b\nsize=1\n") << "не читается как текст";
    }
    void refused()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        // A file of its own per row: the settings class caches files by name.
        const QString p = writeFile(QString("bad-%1.kzini").arg(QTest::currentDataTag()), text);
        ConfigSet::Loaded l;
        QString error;
        QVERIFY(!ConfigSet::load(p, &l, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    // A set applies only when it holds every group a save writes.
    void completeness_data()
    {
        QTest::addColumn<QByteArray>("text"); // empty: a file written by the save
        QTest::addColumn<QString>("missing");
        QTest::newRow("saved") << QByteArray() << QString();
        QTest::newRow("modem only") << QByteArray("[modem]\npartno=a\n")
                                    << "com, gprsProfiles, ntripProfiles, dyndns, bluetooth";
        QTest::newRow("cut before the NTRIP array")
                << QByteArray("[modem]\npartno=a\n[com]\nbaudrate=1\n[gprsProfiles]\nsize=0\n")
                << "ntripProfiles, dyndns, bluetooth";
    }
    void completeness()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, missing);
        QString p = path(QString("complete-%1.kzini").arg(QTest::currentDataTag()));
        QString error;
        if (text.isEmpty())
            QVERIFY2(ConfigSet::save(p, ConfigSet::Data(), &error), qPrintable(error));
        else
            p = writeFile(QString("complete-%1.kzini").arg(QTest::currentDataTag()), text);
        ConfigSet::Loaded l;
        QVERIFY2(ConfigSet::load(p, &l, &error), qPrintable(error));
        QCOMPARE(ConfigSet::complete(l, &error), missing.isEmpty());
        if (!missing.isEmpty())
            QVERIFY2(error.contains(missing), qPrintable(error));
    }

    // The save replaces the file whole: the keys it does not set survive, and
    // a file it cannot write stays as it was.
    void saveKeepsOtherKeys()
    {
        const QString p = writeFile("keep.kzini", "[extra]\nkey=value\n");
        QString error;
        QVERIFY2(ConfigSet::save(p, ConfigSet::Data(), &error), qPrintable(error));
        QSettings s(p, QSettings::IniFormat);
        QCOMPARE(s.value("extra/key").toString(), QString("value"));
        QVERIFY(s.contains("bluetooth/mode"));
        QVERIFY(!ConfigSet::save(path("."), ConfigSet::Data(), &error));
    }

    void missingFileRefused()
    {
        ConfigSet::Loaded l;
        QString error;
        QVERIFY(!ConfigSet::load(path("nothing.kzini"), &l, &error));
        QVERIFY(error.startsWith("Файл не является набором настроек или не читается: "));
    }

    void unwritable()
    {
        QString error;
        QVERIFY(!ConfigSet::save(path("no/such/dir/set.kzini"), ConfigSet::Data(), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path("no")));

        const QString ro = writeFile("ro.kzini", "[modem]\npartno=keep\n");
        QVERIFY(QFile::setPermissions(ro, QFile::ReadOwner | QFile::ReadUser));
        error.clear();
        QVERIFY(!ConfigSet::save(ro, ConfigSet::Data(), &error));
        QVERIFY(!error.isEmpty());
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::WriteOwner);
        QFile f(ro);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[modem]\npartno=keep\n"));
    }

    void question()
    {
        QCOMPARE(ConfigSet::versionQuestion("KZ520-02", "334", "KZ520-03-ABP", "390"),
                 QString("Выбранные настройки предназначены для модема KZ520-02 с версией ПО 334.\r\n"
                         "Подключен модем KZ520-03-ABP с версией ПО 390.\r\n"
                         "Различие в версиях может привести к несовместимости настроек. Применить настройки?"));
        // Placeholders inside the values are not substituted again.
        QVERIFY(ConfigSet::versionQuestion("%2", "a", "b", "c").contains("модема %2 с версией ПО a"));
    }
};

QTEST_GUILESS_MAIN(TestConfigSet)
#include "tst_configset.moc"
