#include "config/linevalues.h"
#include "config/profilediff.h"

#include <QTest>

class TestLineValues : public QObject
{
    Q_OBJECT

    static KZConfig clean()
    {
        KZConfig c;
        c.gprsProfiles = { { "mts", "internet.mts.ru", "mts", "mts" } };
        c.ntripProfiles = { { "rtk", "1.2.3.4", "2101", "MSK0", "u", "p", "s", "STR;a,b" } };
        c.dyndnsLogin = "user";
        c.dyndnsPassword = "secret";
        c.dyndnsDomain = "base.dyndns.org";
        c.autoexecCom = "ATRD*91*mts#1.2.3.4,5000"; // a comma is fine in a command
        c.btMode = 2;
        c.btMac = "0012F3A4B5C6";
        c.btPin = "1234";
        return c;
    }

private slots:
    void cleanRecordPasses()
    {
        QVERIFY(LineValues::check(clean(), KZConfig::ConfigAll).isEmpty());
        QVERIFY(LineValues::message({}).isEmpty());
    }

    void offences_data()
    {
        QTest::addColumn<int>("which"); // field to spoil, see below
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("chars");
        const int G = KZConfig::ConfigGprs, N = KZConfig::ConfigNtrip, D = KZConfig::ConfigDyndns,
                  A = KZConfig::ConfigAutoexec, B = KZConfig::ConfigBluetooth;
        QTest::newRow("gprs name CR LF") << 0 << "x\r\nAT+DELGPRS=mts" << G << "Название" << QStringList { "\r", "\n" };
        QTest::newRow("gprs apn comma") << 1 << "a,b" << G << "Точка доступа" << QStringList { "," };
        QTest::newRow("gprs user NUL") << 2 << QString("a") + QChar(0) << G << "Имя пользователя" << QStringList { QString(QChar(0)) };
        QTest::newRow("gprs password comma") << 3 << "pa,ss" << G << "Пароль" << QStringList { "," };
        QTest::newRow("gprs password cyrillic") << 3 << "пароль" << G << "Пароль" << QStringList { "п", "а", "р", "о", "л", "ь" };
        QTest::newRow("ntrip port comma") << 4 << "21,01" << N << "Порт кастера" << QStringList { "," };
        QTest::newRow("ntrip server password comma") << 5 << "s,s" << N << "Пароль сервера" << QStringList { "," };
        QTest::newRow("ntrip sourcetable LF") << 6 << "STR\nx" << N << "Строка SOURCETABLE" << QStringList { "\n" };
        QTest::newRow("dyndns domain comma") << 7 << "a,b" << D << "Домен" << QStringList { "," };
        QTest::newRow("autostart CR") << 8 << "ATS0=1\rAT+DELGPRS=mts" << A << "Команда" << QStringList { "\r" };
        QTest::newRow("bt pin comma") << 9 << "12,34" << B << "PIN" << QStringList { "," };
        QTest::newRow("emoji is one character") << 3 << QString::fromUtf8("a\xF0\x9F\x98\x80") << G << "Пароль"
                                                << QStringList { QString::fromUtf8("\xF0\x9F\x98\x80") };
    }
    void offences()
    {
        QFETCH(int, which);
        QFETCH(QString, value);
        QFETCH(int, group);
        QFETCH(QString, field);
        QFETCH(QStringList, chars);
        KZConfig c = clean();
        QString *targets[] = { &c.gprsProfiles[0].name,         &c.gprsProfiles[0].apn,
                               &c.gprsProfiles[0].username,     &c.gprsProfiles[0].password,
                               &c.ntripProfiles[0].port,        &c.ntripProfiles[0].serverPassword,
                               &c.ntripProfiles[0].sourcetable, &c.dyndnsDomain,
                               &c.autoexecCom,                  &c.btPin };
        *targets[which] = value;
        const auto all = LineValues::check(c, KZConfig::ConfigAll);
        QCOMPARE(all.size(), 1);
        QCOMPARE(all[0].group, group);
        QCOMPARE(all[0].field, field);
        QCOMPARE(all[0].characters, chars);
        // Only the groups asked for are looked at.
        QVERIFY(LineValues::check(c, KZConfig::ConfigAll & ~group).isEmpty());
    }

    void sourcetableMayHoldCommas()
    {
        KZConfig c = clean();
        c.ntripProfiles[0].sourcetable = "STR;a,b,c,,";
        QVERIFY(LineValues::check(c, KZConfig::ConfigNtrip).isEmpty());
    }

    // Values that are not sent are not judged.
    void onlyWrittenValues()
    {
        KZConfig c = clean();
        c.autoexecBt = "bad\r\n"; // COM command is set, so only it is written
        c.btMode = 1;
        c.btPin = "1,2";
        QVERIFY(LineValues::check(c, KZConfig::ConfigAll).isEmpty());
        c.autoexecCom.clear();
        QCOMPARE(LineValues::check(c, KZConfig::ConfigAutoexec).size(), 1);
    }

    void messageText()
    {
        KZConfig c = clean();
        c.gprsProfiles[0] = { "X", "apn", "u", "pa,ss" };
        QCOMPARE(LineValues::message(LineValues::check(c, KZConfig::ConfigGprs)),
                 QString("Профиль GPRS «X», поле «Пароль»: недопустимый символ «,» (запятая). "
                         "Модем не сможет сохранить или прочитать такое значение."));

        c.gprsProfiles[0].name = "a\r\nb";
        c.dyndnsLogin = "Иван";
        const QString m = LineValues::message(LineValues::check(c, KZConfig::ConfigAll));
        const QStringList lines = m.split('\n');
        QCOMPARE(lines.size(), 4);
        // The name's line break is shown, not obeyed.
        QCOMPARE(lines[0], QString("Профиль GPRS «a␍␊b», поле «Название»: недопустимые символы "
                                   "CR (возврат каретки), LF (перевод строки)."));
        QVERIFY(lines[1].startsWith("Профиль GPRS «a␍␊b», поле «Пароль»"));
        QVERIFY(lines[2].startsWith("DynDNS, поле «Пользователь»: недопустимые символы «И» "
                                    "(символ вне кодировки Latin-1)"));
        QVERIFY(lines[3].startsWith("Модем не сможет"));
    }

    void singleCommand()
    {
        QVERIFY(!LineValues::breaksLine("AT^AUTH=1234,5"));
        QVERIFY(!LineValues::breaksLine(QString::fromUtf8("Ключ")));
        QVERIFY(LineValues::breaksLine("1234\r\nAT+DELGPRS=x"));
        QVERIFY(LineValues::breaksLine(QString("12") + QChar(0)));
    }

    void profileDiff_data()
    {
        QTest::addColumn<QStringList>("oldList"); // "name:password"
        QTest::addColumn<QStringList>("newList");
        QTest::addColumn<QStringList>("steps");   // "+name:password" or "-name"
        QTest::newRow("worked example") << QStringList { "A:a", "B:b", "C:c" }
                                        << QStringList { "B:b2", "D:d", "A:a" }
                                        << QStringList { "+B:b2", "-C", "+D:d" };
        QTest::newRow("identical") << QStringList { "A:a", "B:b" } << QStringList { "A:a", "B:b" }
                                   << QStringList {};
        QTest::newRow("renamed") << QStringList { "A:a" } << QStringList { "Z:a" }
                                 << QStringList { "-A", "+Z:a" };
        QTest::newRow("names are case-sensitive") << QStringList { "a:x" } << QStringList { "A:x" }
                                                  << QStringList { "-a", "+A:x" };
        QTest::newRow("duplicates, old has the name")
                << QStringList { "A:a" } << QStringList { "A:a2", "A:a3" } << QStringList { "+A:a2" };
        QTest::newRow("duplicates, old lacks the name")
                << QStringList {} << QStringList { "A:a2", "A:a3" } << QStringList { "+A:a2", "+A:a3" };
        QTest::newRow("all gone") << QStringList { "A:a", "B:b" } << QStringList {}
                                  << QStringList { "-A", "-B" };
    }
    void profileDiff()
    {
        QFETCH(QStringList, oldList);
        QFETCH(QStringList, newList);
        QFETCH(QStringList, steps);
        auto profiles = [](const QStringList &l) {
            QList<GprsProfile> out;
            for (const QString &s : l)
                out.append({ s.section(':', 0, 0), "apn", "user", s.section(':', 1) });
            return out;
        };
        QStringList got;
        for (const auto &s : ProfileDiff::steps(profiles(oldList), profiles(newList))) {
            got << (s.kind == ProfileDiff::Step<GprsProfile>::Delete
                            ? "-" + s.profile.name
                            : "+" + s.profile.name + ":" + s.profile.password);
        }
        QCOMPARE(got, steps);
    }
};

QTEST_GUILESS_MAIN(TestLineValues)
#include "tst_linevalues.moc"
