#include "device/inforeplies.h"
#include "device/exchangelog.h"
#include "device/kzconfigthread.h"

// Reads the modem's identity and network state after the handshake.
void KZConfigThread::reqInfo()
{
    BusyGuard guard(busy);
    OperationLogScope logScope(QStringLiteral("reqInfo"));
    applicationHalted = false;
    auto fail = [this](const QString &tag) {
        publishIdentity();
        emit opCompleted(OpInfo, false, tag + QLatin1Char(' ') + lastReply());
    };
    // One query: the reply must start with its tag; returns the text after it.
    auto query = [this](const QString &command, const QString &tag, const QString &progressText,
                        QString *value) {
        sendAndWait(command, 3000);
        if (!progressText.isEmpty())
            emit progress(progressText);
        if (!InfoReplies::valueAfter(lastReply(), tag, value))
            return false;
        waitReplyIs(QStringLiteral("OK"), 3000);
        return true;
    };

    QString value;
    if (!query(QStringLiteral("AT^JINFO,0"), QStringLiteral("JI0:"),
               tr("Заргузка информации: модель"), &value)) {
        if (reportHaltedApplication())
            return;
        return fail(QStringLiteral("JI0:"));
    }
    m_device.model = value;
    setOnline(true);

    if (!query(QStringLiteral("AT^JINFO,4"), QStringLiteral("JI4:"), QString(), &value))
        return fail(QStringLiteral("JI4:"));
    m_device.viaCom = value == QLatin1String("1");

    if (!query(QStringLiteral("AT^JINFO,10"), QStringLiteral("JI10:"),
               tr("Загрузка информации: версия ПО"), &value))
        return fail(QStringLiteral("JI10:"));
    m_device.softwareVersion = value;

    if (softwareNumber() <= 334) {
        if (!query(QStringLiteral("AT^JINFO,11"), QStringLiteral("JI11:"),
                   tr("Загрузка информации: версия железа"), &value))
            return fail(QStringLiteral("JI11:"));
        m_device.hardwareVersion = value;
        m_device.model = m_device.model + QLatin1Char('-') + m_device.hardwareVersion;
    } else {
        if (!query(QStringLiteral("AT^JINFO,15"), QStringLiteral("JI15:"),
                   tr("Загрузка информации: тип устройства"), &value))
            return fail(QStringLiteral("JI15:"));
        m_device.model = value;
        InfoReplies::splitDeviceType(value, &m_device.hardwareVersion, &m_device.variant);
    }

    if (!query(QStringLiteral("AT^JINFO,12"), QStringLiteral("JI12:"),
               tr("Загрузка информации: серийный номер"), &value))
        return fail(QStringLiteral("JI12:"));
    m_device.serialNumber = value;

    if (!query(QStringLiteral("AT^JINFO,14"), QStringLiteral("JI14:"),
               tr("Загрузка информации: возможности"), &value))
        return fail(QStringLiteral("JI14:"));
    m_device.capabilities = value.split(QLatin1Char(';'));

    if (!query(QStringLiteral("AT^JINFO,13"), QStringLiteral("JI13:"),
               tr("Загрузка информации: напряжение батареи"), &value))
        return fail(QStringLiteral("JI13:"));
    m_device.batteryVoltage = InfoReplies::batteryVolts(value);

    sendAndWait(QStringLiteral("AT+COPS?"), 3000);
    emit progress(tr("Загрузка информации: SIM"));
    if (!lastReply().startsWith(QLatin1String("+COPS: ")))
        return fail(QStringLiteral("COPS:"));
    bool hasQuote = false;
    const QString op = InfoReplies::copsOperator(lastReply(), &hasQuote);
    if (hasQuote) {
        m_device.operatorName = op;
        waitReplyIs(QStringLiteral("OK"), 3000);
    } else {
        waitReplyIs(QStringLiteral("OK"), 3000);
        sendAndWait(QStringLiteral("AT^SCKS?"), 3000);
        emit progress(tr("Загрузка информации: SIM"));
        switch (InfoReplies::scksState(lastReply())) {
        case InfoReplies::SimState::Absent:
            m_device.operatorName = tr("Отсутствует");
            break;
        case InfoReplies::SimState::NoNetwork:
            m_device.operatorName = tr("Нет сети");
            break;
        case InfoReplies::SimState::Invalid:
            return fail(QStringLiteral("SCKS:"));
        }
        waitReplyIs(QStringLiteral("OK"), 3000);
    }

    publishIdentity();
    emit opCompleted(OpInfo, true, QString());
}
