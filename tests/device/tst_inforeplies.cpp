// The device-information replies as the modem sends them, read by the pure
// readers, and the answers the identity draws from them.
#include "device/identity.h"
#include "device/inforeplies.h"

#include <QTest>

class TestInfoReplies : public QObject
{
    Q_OBJECT

private slots:
    void tagged_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("matches");
        QTest::addColumn<QString>("value");
        QTest::newRow("model") << "JI0:KZ520" << "JI0:" << true << "KZ520";
        QTest::newRow("via COM") << "JI4:1" << "JI4:" << true << "1";
        QTest::newRow("kept blanks") << "JI12: 0042 " << "JI12:" << true << " 0042 ";
        QTest::newRow("empty value") << "JI14:" << "JI14:" << true << "";
        QTest::newRow("other tag") << "JI10:401" << "JI1:" << false << "";
        QTest::newRow("lower case") << "ji0:KZ520" << "JI0:" << false << "";
        QTest::newRow("error") << "ERROR" << "JI15:" << false << "";
        QTest::newRow("not at the start") << " JI0:KZ520" << "JI0:" << false << "";
    }
    void tagged()
    {
        QFETCH(QString, reply);
        QFETCH(QString, tag);
        QFETCH(bool, matches);
        QFETCH(QString, value);
        QString got = QStringLiteral("untouched");
        QCOMPARE(InfoReplies::valueAfter(reply, tag, &got), matches);
        QCOMPARE(got, matches ? value : QStringLiteral("untouched"));
    }

    void deviceType_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("hardware");
        QTest::addColumn<QString>("variant");
        QTest::newRow("three parts") << "JI15:KZ520-03-ABP" << "03" << "ABP";
        QTest::newRow("two parts") << "JI15:KZ520-03" << "03" << "";
        QTest::newRow("one part") << "JI15:KZ520" << "" << "";
        QTest::newRow("four parts") << "JI15:KZ520-03-AB-X" << "03" << "";
        QTest::newRow("empty parts kept") << "JI15:KZ520--B" << "" << "B";
    }
    void deviceType()
    {
        QFETCH(QString, reply);
        QFETCH(QString, hardware);
        QFETCH(QString, variant);
        QString type, hw = "x", var = "x";
        QVERIFY(InfoReplies::valueAfter(reply, "JI15:", &type));
        InfoReplies::splitDeviceType(type, &hw, &var);
        QCOMPARE(hw, hardware);
        QCOMPARE(var, variant);
    }

    void operatorName_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("hasQuote");
        QTest::addColumn<QString>("name");
        QTest::newRow("registered") << "+COPS: 0,0,\"MTS RUS\"" << true << "\"MTS RUS\"";
        QTest::newRow("second quoted field ignored") << "+COPS: 0,0,\"A\",\"B\"" << true << "\"A\"";
        QTest::newRow("no closing quote") << "+COPS: 0,0,\"MTS" << true << "";
        QTest::newRow("not registered") << "+COPS: 0" << false << "";
        QTest::newRow("empty name") << "+COPS: 0,0,\"\"" << true << "\"\"";
    }
    void operatorName()
    {
        QFETCH(QString, reply);
        QFETCH(bool, hasQuote);
        QFETCH(QString, name);
        bool quote = !hasQuote;
        QCOMPARE(InfoReplies::copsOperator(reply, &quote), name);
        QCOMPARE(quote, hasQuote);
    }

    void simState_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("state");
        using S = InfoReplies::SimState;
        QTest::newRow("no card") << "^SCKS: 0,0" << int(S::Absent);
        QTest::newRow("no network") << "^SCKS: 0,1" << int(S::NoNetwork);
        QTest::newRow("other status") << "^SCKS: 0,2" << int(S::Invalid);
        QTest::newRow("too long") << "^SCKS: 0,10" << int(S::Invalid);
        QTest::newRow("too short") << "^SCKS: 1" << int(S::Invalid);
        QTest::newRow("other tag") << "+SCKS: 0,1" << int(S::Invalid);
        QTest::newRow("error") << "ERROR" << int(S::Invalid);
    }
    void simState()
    {
        QFETCH(QString, reply);
        QFETCH(int, state);
        QCOMPARE(int(InfoReplies::scksState(reply)), state);
    }

    void battery_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<double>("volts");
        QTest::newRow("decimal") << "JI13:4.021" << 4.021;
        QTest::newRow("not a number") << "JI13:n/a" << 0.0;
        QTest::newRow("empty") << "JI13:" << 0.0;
    }
    void battery()
    {
        QFETCH(QString, reply);
        QFETCH(double, volts);
        QString text;
        QVERIFY(InfoReplies::valueAfter(reply, "JI13:", &text));
        QCOMPARE(InfoReplies::batteryVolts(text), volts);
    }

    // The identity's answers from the capability, device type and software
    // replies together.
    void identity_data()
    {
        QTest::addColumn<QString>("capabilities"); // after "JI14:"
        QTest::addColumn<QString>("type");         // after "JI15:", or hardware after "JI11:"
        QTest::addColumn<QString>("software");     // after "JI10:"
        QTest::addColumn<QString>("battery");
        QTest::addColumn<QString>("bluetooth");
        QTest::addColumn<bool>("queryable");
        QTest::newRow("capabilities, new software") << "BAT;BT" << "KZ520-02" << "401" << "4.100 В"
                                                    << "Есть" << true;
        QTest::newRow("hardware 03 has no gauge") << "BAT" << "KZ520-03" << "401" << "Есть" << "Нет"
                                                  << false;
        QTest::newRow("BT capability before 307") << "BT" << "KZ520-02" << "306" << "Отсутствует"
                                                  << "Есть" << false;
        QTest::newRow("BT capability from 307") << "BT" << "KZ520-02" << "307" << "Отсутствует"
                                                << "Есть" << true;
        QTest::newRow("variant B up to 334") << "" << "KZ520-02-B" << "334" << "Отсутствует"
                                             << "Есть" << false;
        QTest::newRow("variant B from 335") << "" << "KZ520-02-B" << "335" << "Отсутствует"
                                            << "Есть" << true;
        QTest::newRow("variants A and P are batteries") << "" << "KZ520-02-AP" << "400"
                                                        << "4.100 В" << "Нет" << false;
        QTest::newRow("software not a number") << "BT" << "KZ520-02" << "4.0" << "Отсутствует"
                                               << "Есть" << false;
        QTest::newRow("capability names are whole") << "BATT;BTX" << "KZ520-02" << "401"
                                                    << "Отсутствует" << "Нет" << false;
    }
    void identity()
    {
        QFETCH(QString, capabilities);
        QFETCH(QString, type);
        QFETCH(QString, software);
        QFETCH(QString, battery);
        QFETCH(QString, bluetooth);
        QFETCH(bool, queryable);
        DeviceIdentity id;
        id.capabilities = capabilities.split(QLatin1Char(';'));
        InfoReplies::splitDeviceType(type, &id.hardwareVersion, &id.variant);
        id.softwareVersion = software;
        id.batteryVoltage = 4.1;
        QCOMPARE(id.batteryText(), battery);
        QCOMPARE(id.bluetoothText(), bluetooth);
        QCOMPARE(id.bluetoothQueryable(), queryable);
    }

    void inquiryEntry_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("entry");
        QTest::newRow("address and name") << "0012F3A4B5C6,GNSS-7,1F00" << "0012F3A4B5C6 GNSS-7";
        QTest::newRow("one field") << "0012F3A4B5C6" << "0012F3A4B5C6 ";
        QTest::newRow("empty") << "" << " ";
    }
    void inquiryEntry()
    {
        QFETCH(QString, line);
        QFETCH(QString, entry);
        QCOMPARE(InfoReplies::inquiryEntry(line), entry);
    }
};

QTEST_GUILESS_MAIN(TestInfoReplies)
#include "tst_inforeplies.moc"
