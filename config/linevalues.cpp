#include "config/linevalues.h"

namespace LineValues {

namespace {

struct FieldRef {
    const char *label; // UTF-8
    QString value;
    bool commaSplits;
};

// Control characters shown in a message as their visible pictures, so that a
// name holding CR LF does not break the message's lines.
QString visible(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20)
            out.append(QChar(0x2400 + ch.unicode()));
        else
            out.append(ch);
    }
    return out;
}

void checkFields(int group, const QString &owner, const QString &profile,
                 const QList<FieldRef> &fields, QList<Offence> *out)
{
    for (const FieldRef &f : fields) {
        const QStringList chars = offendingCharacters(f.value, f.commaSplits);
        if (chars.isEmpty())
            continue;
        Offence o;
        o.group = group;
        o.owner = owner;
        o.profile = profile;
        o.field = QString::fromUtf8(f.label);
        o.characters = chars;
        out->append(o);
    }
}

} // namespace

Fault faultOf(QChar ch, bool commaSplits)
{
    const ushort u = ch.unicode();
    if (u == '\r' || u == '\n' || u == 0)
        return Fault::LineBreak;
    if (u == ',' && commaSplits)
        return Fault::Comma;
    if (u > 0xFF)
        return Fault::NotLatin1;
    return Fault::None;
}

QStringList offendingCharacters(const QString &value, bool commaSplits)
{
    QStringList out;
    for (int i = 0; i < value.size(); ++i) {
        const QChar ch = value.at(i);
        if (faultOf(ch, commaSplits) == Fault::None)
            continue;
        QString one(ch);
        if (ch.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate())
            one.append(value.at(++i));
        if (!out.contains(one))
            out.append(one);
    }
    return out;
}

QList<Offence> check(const KZConfig &config, int flags)
{
    QList<Offence> out;
    if (flags & KZConfig::ConfigGprs) {
        for (const GprsProfile &p : config.gprsProfiles) {
            checkFields(KZConfig::ConfigGprs,
                        QStringLiteral("Профиль GPRS «%1»").arg(visible(p.name)), p.name,
                        { { "Название", p.name, true },
                          { "Точка доступа", p.apn, true },
                          { "Имя пользователя", p.username, true },
                          { "Пароль", p.password, true } },
                        &out);
        }
    }
    if (flags & KZConfig::ConfigNtrip) {
        for (const NtripProfile &p : config.ntripProfiles) {
            checkFields(KZConfig::ConfigNtrip,
                        QStringLiteral("Профиль NTRIP «%1»").arg(visible(p.name)), p.name,
                        { { "Название", p.name, true },
                          { "Адрес кастера", p.address, true },
                          { "Порт кастера", p.port, true },
                          { "Базовая станция (mountpoint)", p.mountpoint, true },
                          { "Имя клиента", p.clientLogin, true },
                          { "Пароль клиента", p.clientPassword, true },
                          { "Пароль сервера", p.serverPassword, true },
                          // The reader gives every comma after the seventh field back.
                          { "Строка SOURCETABLE", p.sourcetable, false } },
                        &out);
        }
    }
    if (flags & KZConfig::ConfigDyndns) {
        checkFields(KZConfig::ConfigDyndns, QStringLiteral("DynDNS"), QString(),
                    { { "Домен", config.dyndnsDomain, true },
                      { "Пользователь", config.dyndnsLogin, true },
                      { "Пароль", config.dyndnsPassword, true } },
                    &out);
    }
    if (flags & KZConfig::ConfigAutoexec) {
        // Only one command is written; the reply gives back everything after
        // its prefix, commas included (the TCP client's address uses one).
        const QString written =
                config.autoexecCom.isEmpty() ? config.autoexecBt : config.autoexecCom;
        checkFields(KZConfig::ConfigAutoexec, QStringLiteral("Автозапуск"), QString(),
                    { { "Команда", written, false } }, &out);
    }
    if ((flags & KZConfig::ConfigBluetooth) && config.btMode == 2) {
        checkFields(KZConfig::ConfigBluetooth, QStringLiteral("Bluetooth"), QString(),
                    { { "MAC", config.btMac, true }, { "PIN", config.btPin, true } }, &out);
    }
    return out;
}

QString describeCharacter(const QString &character)
{
    if (character.size() == 1) {
        switch (character.at(0).unicode()) {
        case '\r':
            return QStringLiteral("CR (возврат каретки)");
        case '\n':
            return QStringLiteral("LF (перевод строки)");
        case 0:
            return QStringLiteral("NUL (нулевой символ)");
        case ',':
            return QStringLiteral("«,» (запятая)");
        }
    }
    return QStringLiteral("«%1» (символ вне кодировки Latin-1)").arg(character);
}

QString message(const QList<Offence> &offences)
{
    if (offences.isEmpty())
        return QString();
    QStringList lines;
    for (const Offence &o : offences) {
        QStringList described;
        for (const QString &c : o.characters)
            described.append(describeCharacter(c));
        lines.append(QStringLiteral("%1, поле «%2»: %3 %4.")
                             .arg(o.owner, o.field,
                                  described.size() == 1 ? QStringLiteral("недопустимый символ")
                                                        : QStringLiteral("недопустимые символы"),
                                  described.join(QStringLiteral(", "))));
    }
    if (lines.size() == 1)
        return lines.first()
                + QStringLiteral(" Модем не сможет сохранить или прочитать такое значение.");
    return lines.join(QLatin1Char('\n'))
            + QStringLiteral("\nМодем не сможет сохранить или прочитать такие значения.");
}

bool breaksLine(const QString &text)
{
    for (const QChar ch : text)
        if (faultOf(ch, false) == Fault::LineBreak)
            return true;
    return false;
}

} // namespace LineValues
