#pragma once

#include "config/kzconfig.h"

#include <QList>
#include <QString>
#include <QStringList>

// Values travel into AT commands as they stand. A CR, LF or NUL would end the
// command early and run the rest as a command of its own; a comma inside a
// field that the modem's query reply splits at commas is stored but can never
// be read back; a character outside Latin-1 reaches the line as "?". These
// checks find such values before anything is sent.
namespace LineValues {

struct Offence {
    int group = 0;          // KZConfig group flag of the field
    QString owner;          // "Профиль GPRS «X»", "DynDNS", ... as shown to the user
    QString profile;        // the profile's name; empty outside the profile groups
    QString field;          // the field's label in the window
    QStringList characters; // the offending characters, each once, in order of appearance
};

// Why a character cannot travel in a field. None when it can.
enum class Fault { None, LineBreak, Comma, NotLatin1 };

// commaSplits: the field sits in a reply that is split at commas.
Fault faultOf(QChar ch, bool commaSplits);

// The offending characters of one value (a surrogate pair counts as one).
QStringList offendingCharacters(const QString &value, bool commaSplits);

// Every field of the groups in flags (KZConfig group flags) whose value the
// line cannot carry. Only values that the write sends are looked at: the
// autostart command that is written, the Bluetooth address and PIN in mode 2.
QList<Offence> check(const KZConfig &config, int flags);

// One message for the user listing every offence; empty when there is none.
QString message(const QList<Offence> &offences);

// A single command's text: true when it holds a CR, LF or NUL.
bool breaksLine(const QString &text);

// The user-facing description of one offending character,
// for instance "«,» (запятая)".
QString describeCharacter(const QString &character);

} // namespace LineValues
