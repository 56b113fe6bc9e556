#include "config/configdiff.h"

#include "config/profilediff.h"

#include <QJsonArray>

namespace ConfigDiff {

namespace {

// A value as the text form shows it: an empty one is visible as "".
QString shown(const QString &value)
{
    return value.isEmpty() ? QStringLiteral("\"\"") : value;
}

QString baudName(int code)
{
    const int baud = KZTables::baudForCode(code);
    return baud < 0 ? QString::number(code) : QString::number(baud);
}

QString framingName(int index)
{
    return KZTables::validFramingIndex(index) ? QLatin1String(KZTables::framingTable[index].name)
                                              : QString::number(index);
}

QString flowName(int value)
{
    const int row = KZTables::flowIndexForValue(value);
    return row < 0 ? QString::number(value) : QLatin1String(KZTables::flowTable[row].name);
}

struct FieldOf {
    const char *name;
    bool secret;
};

// A field of a group (f) or, without one, the group's single value.
void change(QList<Entry> *out, int group, const char *section, const FieldOf *f,
            const QString &from, const QString &to)
{
    if (from == to)
        return;
    Entry e;
    e.group = group;
    e.section = QLatin1String(section);
    if (f) {
        e.kind = Entry::Field;
        e.name = QLatin1String(f->name);
        e.secret = f->secret;
    }
    if (!e.secret) {
        e.from = from;
        e.to = to;
    }
    out->append(e);
}

void field(QList<Entry> *out, int group, const char *section, const FieldOf &f, const QString &from,
           const QString &to)
{
    change(out, group, section, &f, from, to);
}

void value(QList<Entry> *out, int group, const char *section, const QString &from,
           const QString &to)
{
    change(out, group, section, nullptr, from, to);
}

QStringList gprsFields(const GprsProfile &a, const GprsProfile &b)
{
    QStringList f;
    if (a.apn != b.apn)
        f << QStringLiteral("apn");
    if (a.username != b.username)
        f << QStringLiteral("username");
    if (a.password != b.password)
        f << QStringLiteral("password");
    return f;
}

QStringList ntripFields(const NtripProfile &a, const NtripProfile &b)
{
    QStringList f;
    const struct {
        const char *name;
        QString NtripProfile::*member;
    } members[] = {
        { "address", &NtripProfile::address },
        { "port", &NtripProfile::port },
        { "mountpoint", &NtripProfile::mountpoint },
        { "clientLogin", &NtripProfile::clientLogin },
        { "clientPassword", &NtripProfile::clientPassword },
        { "serverPassword", &NtripProfile::serverPassword },
        { "sourcetable", &NtripProfile::sourcetable },
    };
    for (const auto &m : members)
        if (a.*m.member != b.*m.member)
            f << QLatin1String(m.name);
    return f;
}

// The write's own steps, told as what they change.
template<class Profile>
void profiles(QList<Entry> *out, int group, const char *section, const QList<Profile> &oldList,
              const QList<Profile> &newList,
              QStringList (*fieldsOf)(const Profile &, const Profile &))
{
    for (const auto &step : ProfileDiff::steps(oldList, newList)) {
        Entry e;
        e.group = group;
        e.section = QLatin1String(section);
        e.name = step.profile.name;
        const int old = ProfileDiff::indexByName(oldList, step.profile.name);
        if (step.kind == ProfileDiff::Step<Profile>::Delete) {
            e.kind = Entry::Deleted;
        } else if (old < 0) {
            e.kind = Entry::Added;
        } else {
            e.kind = Entry::Changed;
            e.fields = fieldsOf(oldList.at(old), step.profile);
        }
        out->append(e);
    }
}

QJsonObject fromTo(const Entry &e)
{
    if (e.secret)
        return QJsonObject { { QStringLiteral("changed"), true } };
    return QJsonObject { { QStringLiteral("from"), e.from }, { QStringLiteral("to"), e.to } };
}

} // namespace

QPair<QString, QString> autoexecAfterWrite(const KZConfig &current, const KZConfig &wanted,
                                           int software, bool viaCom)
{
    const bool comWritten = !wanted.autoexecCom.isEmpty();
    if (software < 380) {
        // One command whichever channel is named; the read puts it under the
        // channel the tool is on.
        const QString single = comWritten ? wanted.autoexecCom : wanted.autoexecBt;
        return viaCom ? qMakePair(QString(), single) : qMakePair(single, QString());
    }
    // The channel not written is cleared when the record names none for it
    // (the write's rule), else it keeps what the modem holds.
    if (comWritten)
        return { wanted.autoexecBt.isEmpty() ? QString() : current.autoexecBt, wanted.autoexecCom };
    return { wanted.autoexecBt, QString() };
}

QList<Entry> compare(const KZConfig &current, const KZConfig &wanted, int software, bool viaCom)
{
    QList<Entry> out;
    // Values without a table row are not written, so they change nothing.
    if (KZTables::baudIndexForCode(wanted.baudrate) >= 0)
        value(&out, KZConfig::ConfigBaudrate, "baud", baudName(current.baudrate),
              baudName(wanted.baudrate));
    value(&out, KZConfig::ConfigFraming, "framing", framingName(current.framing),
          framingName(wanted.framing));
    if (KZTables::flowIndexForValue(wanted.flow) >= 0)
        value(&out, KZConfig::ConfigFlow, "flow", flowName(current.flow), flowName(wanted.flow));

    profiles<GprsProfile>(&out, KZConfig::ConfigGprs, "gprs", current.gprsProfiles,
                          wanted.gprsProfiles, gprsFields);
    profiles<NtripProfile>(&out, KZConfig::ConfigNtrip, "ntrip", current.ntripProfiles,
                           wanted.ntripProfiles, ntripFields);

    const int dd = KZConfig::ConfigDyndns;
    field(&out, dd, "dyndns", { "login", false }, current.dyndnsLogin, wanted.dyndnsLogin);
    field(&out, dd, "dyndns", { "password", true }, current.dyndnsPassword, wanted.dyndnsPassword);
    field(&out, dd, "dyndns", { "domain", false }, current.dyndnsDomain, wanted.dyndnsDomain);

    const QPair<QString, QString> after = autoexecAfterWrite(current, wanted, software, viaCom);
    value(&out, KZConfig::ConfigAutoexec, "autoexec com", current.autoexecCom, after.second);
    value(&out, KZConfig::ConfigAutoexec, "autoexec bt", current.autoexecBt, after.first);

    const int bt = KZConfig::ConfigBluetooth;
    field(&out, bt, "bluetooth", { "mode", false }, QString::number(current.btMode),
          QString::number(wanted.btMode));
    // The address and PIN are written in mode 2 only.
    if (wanted.btMode == 2) {
        field(&out, bt, "bluetooth", { "mac", false }, current.btMac, wanted.btMac);
        field(&out, bt, "bluetooth", { "pin", true }, current.btPin, wanted.btPin);
    }
    return out;
}

QString text(const Entry &e)
{
    const QString head = e.section + QStringLiteral(": ");
    switch (e.kind) {
    case Entry::Value: return head + shown(e.from) + QStringLiteral(" -> ") + shown(e.to);
    case Entry::Field:
        if (e.secret)
            return head + e.name;
        return head + e.name + QLatin1Char(' ') + shown(e.from) + QStringLiteral(" -> ")
                + shown(e.to);
    case Entry::Added: return head + QStringLiteral("+ ") + e.name;
    case Entry::Deleted: return head + QStringLiteral("- ") + e.name;
    case Entry::Changed:
        return head + QStringLiteral("~ ")
                + (QStringList { e.name } + e.fields).join(QLatin1Char(' '));
    }
    return QString();
}

QJsonObject json(const QList<Entry> &entries)
{
    QJsonObject out;
    for (const Entry &e : entries) {
        if (e.kind == Entry::Added || e.kind == Entry::Deleted || e.kind == Entry::Changed) {
            QJsonObject p { { QStringLiteral("change"),
                              e.kind == Entry::Added             ? QStringLiteral("+")
                                      : e.kind == Entry::Deleted ? QStringLiteral("-")
                                                                 : QStringLiteral("~") },
                            { QStringLiteral("name"), e.name } };
            if (e.kind == Entry::Changed)
                p.insert(QStringLiteral("fields"), QJsonArray::fromStringList(e.fields));
            QJsonArray list = out.value(e.section).toArray();
            list.append(p);
            out.insert(e.section, list);
        } else if (e.kind == Entry::Field) {
            QJsonObject group = out.value(e.section).toObject();
            group.insert(e.name, fromTo(e));
            out.insert(e.section, group);
        } else if (e.section.startsWith(QLatin1String("autoexec "))) {
            QJsonObject group = out.value(QStringLiteral("autoexec")).toObject();
            group.insert(e.section.mid(9), fromTo(e));
            out.insert(QStringLiteral("autoexec"), group);
        } else {
            out.insert(e.section, fromTo(e));
        }
    }
    return out;
}

} // namespace ConfigDiff
