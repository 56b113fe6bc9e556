#pragma once

#include <QString>
#include <QStringList>

// Pure readers of the device-information replies.
namespace InfoReplies {

// The text after `tag` when the reply starts with it (case-sensitive, not
// trimmed); false, and *value untouched, when it does not.
bool valueAfter(const QString &reply, const QString &tag, QString *value);

// "KZ520-03-ABP" -> hardware "03", variant "ABP"; variant only with exactly
// three parts.
void splitDeviceType(const QString &type, QString *hardware, QString *variant);

// The operator in a "+COPS: " reply, from the first double quote up to and
// including the next; empty when there is no closing quote. *hasQuote tells
// whether the reply names an operator at all.
QString copsOperator(const QString &reply, bool *hasQuote);

enum class SimState { Absent, NoNetwork, Invalid };
// A "^SCKS: " reply must be exactly 10 characters; its tenth decides.
SimState scksState(const QString &reply);

double batteryVolts(const QString &text);

// A device found by a Bluetooth search as it is listed to the user: the
// reply line's first field, a space, its second.
QString inquiryEntry(const QString &line);

} // namespace InfoReplies
