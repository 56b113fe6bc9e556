#pragma once

#include "config/kzconfig.h"

#include <QString>
#include <QStringList>

// Readers of the modem's configuration query replies. Each takes one reply
// line as the link read it and never touches a port, so the worker and the
// tests share them. Prefixes are case-sensitive and anchored at the start;
// fields are split at every comma with empty fields kept, never unquoted.
namespace ConfigReplies {

// How a line matched the reader.
enum class Match {
    Other, // the line does not begin with the reader's prefix
    Bad,   // it does, but what follows is malformed
    Ok     // values were read
};

QStringList splitFields(const QString &text);

// "+IPR: <baud>". *code gets the baud-rate code, or -1 when the speed is not
// in the table (the record then keeps its value). Never Bad.
Match parseIpr(const QString &line, int *code);

// "+IFC: <rest>", rest exactly "0,0", "1,1" or "2,2" giving flow 0, 1, 2.
Match parseIfc(const QString &line, int *flow);

// "+ICF: <rest>". *framingIndex gets the first framing row whose parameter is
// exactly rest, or -1 when none matches. Never Bad.
Match parseIcf(const QString &line, int *framingIndex);

// "+ADDGPRS: " and exactly four fields.
Match parseGprs(const QString &line, GprsProfile *profile);

// "+ADDNTRIP: " and at least eight fields; the sourcetable takes back every
// comma after the seventh field.
Match parseNtrip(const QString &line, NtripProfile *profile);

// "+DYNDNS: " and exactly three fields: login, password, domain.
Match parseDyndns(const QString &line, QString *login, QString *password, QString *domain);

// Which autostart query a reply answers.
enum class AutoexecQuery {
    Single, // "AT^JAUTO?" of software below 380: "^JAUTO: "
    Bt,     // "AT^JAUTO,B?": "^JAUTO,B: "
    Com     // "AT^JAUTO,C?": "^JAUTO,C: "
};

enum class AutoexecReply {
    Command, // *command holds the stored command
    None,    // a line beginning with "ERROR": nothing stored
    Other    // anything else (an extended error report, a timeout's text)
};

QString autoexecPrefix(AutoexecQuery query);
AutoexecReply parseAutoexec(const QString &line, AutoexecQuery query, QString *command);

// "+BTMODE: <mode>[,<mac>,<pin>]". The mode is 0 when it is not a number;
// address and PIN are kept only for mode 2 and are empty when missing.
Match parseBtMode(const QString &line, int *mode, QString *mac, QString *pin);

// A line that ends a command's reply: "OK", "ERROR..." or an extended error.
bool isFinalLine(const QString &line);

} // namespace ConfigReplies
