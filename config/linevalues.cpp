#include "config/linevalues.h"

#include <QCoreApplication>

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
        o.field = QCoreApplication::translate("LineValues", f.label);
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
                        QCoreApplication::translate("LineValues", "Профиль GPRS «%1»")
                                .arg(visible(p.name)),
                        p.name,
                        { { QT_TRANSLATE_NOOP("LineValues", "Название"), p.name, true },
                          { QT_TRANSLATE_NOOP("LineValues", "Точка доступа"), p.apn, true },
                          { QT_TRANSLATE_NOOP("LineValues", "Имя пользователя"), p.username, true },
                          { QT_TRANSLATE_NOOP("LineValues", "Пароль"), p.password, true } },
                        &out);
        }
    }
    if (flags & KZConfig::ConfigNtrip) {
        for (const NtripProfile &p : config.ntripProfiles) {
            checkFields(
                    KZConfig::ConfigNtrip,
                    QCoreApplication::translate("LineValues", "Профиль NTRIP «%1»")
                            .arg(visible(p.name)),
                    p.name,
                    { { QT_TRANSLATE_NOOP("LineValues", "Название"), p.name, true },
                      { QT_TRANSLATE_NOOP("LineValues", "Адрес кастера"), p.address, true },
                      { QT_TRANSLATE_NOOP("LineValues", "Порт кастера"), p.port, true },
                      { QT_TRANSLATE_NOOP("LineValues", "Базовая станция (mountpoint)"),
                        p.mountpoint, true },
                      { QT_TRANSLATE_NOOP("LineValues", "Имя клиента"), p.clientLogin, true },
                      { QT_TRANSLATE_NOOP("LineValues", "Пароль клиента"), p.clientPassword, true },
                      { QT_TRANSLATE_NOOP("LineValues", "Пароль сервера"), p.serverPassword, true },
                      // The reader gives every comma after the seventh field back.
                      { QT_TRANSLATE_NOOP("LineValues", "Строка SOURCETABLE"), p.sourcetable,
                        false } },
                    &out);
        }
    }
    if (flags & KZConfig::ConfigDyndns) {
        checkFields(KZConfig::ConfigDyndns, QStringLiteral("DynDNS"), QString(),
                    { { QT_TRANSLATE_NOOP("LineValues", "Домен"), config.dyndnsDomain, true },
                      { QT_TRANSLATE_NOOP("LineValues", "Пользователь"), config.dyndnsLogin, true },
                      { QT_TRANSLATE_NOOP("LineValues", "Пароль"), config.dyndnsPassword, true } },
                    &out);
    }
    if (flags & KZConfig::ConfigAutoexec) {
        // Only one command is written; the reply gives back everything after
        // its prefix, commas included (the TCP client's address uses one).
        const QString written =
                config.autoexecCom.isEmpty() ? config.autoexecBt : config.autoexecCom;
        checkFields(KZConfig::ConfigAutoexec,
                    QCoreApplication::translate("LineValues", "Автозапуск"), QString(),
                    { { QT_TRANSLATE_NOOP("LineValues", "Команда"), written, false } }, &out);
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
            return QCoreApplication::translate("LineValues", "CR (возврат каретки)");
        case '\n':
            return QCoreApplication::translate("LineValues", "LF (перевод строки)");
        case 0:
            return QCoreApplication::translate("LineValues", "NUL (нулевой символ)");
        case ',':
            return QCoreApplication::translate("LineValues", "«,» (запятая)");
        }
    }
    return QCoreApplication::translate("LineValues", "«%1» (символ вне кодировки Latin-1)")
            .arg(character);
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
        lines.append(QCoreApplication::translate("LineValues", "%1, поле «%2»: %3 %4.")
                             .arg(o.owner, o.field,
                                  described.size() == 1
                                          ? QCoreApplication::translate("LineValues",
                                                                        "недопустимый символ")
                                          : QCoreApplication::translate("LineValues",
                                                                        "недопустимые символы"),
                                  described.join(QStringLiteral(", "))));
    }
    if (lines.size() == 1)
        return lines.first()
                + QCoreApplication::translate(
                        "LineValues", " Модем не сможет сохранить или прочитать такое значение.");
    return lines.join(QLatin1Char('\n'))
            + QCoreApplication::translate(
                    "LineValues", "\nМодем не сможет сохранить или прочитать такие значения.");
}

bool breaksLine(const QString &text)
{
    for (const QChar ch : text)
        if (faultOf(ch, false) == Fault::LineBreak)
            return true;
    return false;
}

} // namespace LineValues
