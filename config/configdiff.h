#pragma once

#include "config/kzconfig.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// What a modem differs in from a configuration set: what writing every group
// of the set would change, compared the way the write compares (profiles by
// name). Secret values (passwords, PINs) are never carried, only the name of
// the field that differs.
namespace ConfigDiff {

struct Entry {
    enum Kind {
        Value, // "baud: 9600 -> 115200"
        Field, // "dyndns: login A -> B"; a secret field: "dyndns: password"
        Added, // "gprs: + NAME"
        Deleted, // "gprs: - NAME"
        Changed, // "gprs: ~ NAME apn username"
    };
    int group = 0; // KZConfig group flag
    QString section; // "baud", "gprs", "autoexec com", ...
    Kind kind = Value;
    QString name; // the field (Field) or the profile (Added, Deleted, Changed)
    QString from, to; // Value and Field, unless secret
    bool secret = false; // Field: the values are not carried
    QStringList fields; // Changed: the differing fields, in the profile's order

    bool operator==(const Entry &o) const
    {
        return group == o.group && section == o.section && kind == o.kind && name == o.name
                && from == o.from && to == o.to && secret == o.secret && fields == o.fields;
    }
};

// current: the modem's record as read; wanted: the set's record; software:
// the modem's software number; viaCom: whether the tool reaches the modem
// through its COM port (software before 380 keeps a single autostart
// command, read back into the channel the tool is on).
QList<Entry> compare(const KZConfig &current, const KZConfig &wanted, int software, bool viaCom);

// One line of the text form, without a line end.
QString text(const Entry &entry);

// The same content as one object: "baud": {"from", "to"}, "gprs": [{"change",
// "name", "fields"}], "dyndns": {"login": {"from", "to"}, "password":
// {"changed": true}}, "autoexec": {"com": {...}}.
QJsonObject json(const QList<Entry> &entries);

// The autostart commands as a write of wanted would leave them, as a read
// then reports them: first the Bluetooth one, then the COM one.
QPair<QString, QString> autoexecAfterWrite(const KZConfig &current, const KZConfig &wanted,
                                           int software, bool viaCom);

} // namespace ConfigDiff
