#pragma once

#include "config/kzconfig.h"

#include <QString>
#include <QStringList>

// Configuration set files ("*.kzini"): one modem's configuration as INI text.
// The serial settings travel as row indexes of the window's lists.
namespace ConfigSet {

// What a save writes, as the window shows it.
struct Data {
    QString partno;
    QString softversion;
    int baudRow = 0;    // row of the baud-rate table
    int framing = 0;    // framing-table index
    int flowRow = 0;    // row of the flow-control table
    QList<GprsProfile> gprsProfiles;
    QList<NtripProfile> ntripProfiles;
    QString dyndnsLogin;
    QString dyndnsPassword;
    QString dyndnsDomain;
    int btMode = 0;
    QString btMac;
    QString btPin;
    QString autoexecBt;
    QString autoexecCom;
};

// The data of a record as it would be shown (codes turned into rows; a code
// without a row gives row 0).
Data fromConfig(const KZConfig &config, const QString &partno, const QString &softversion);

// False with a message for the user when the file cannot be written.
bool save(const QString &path, const Data &data, QString *error);

struct Loaded {
    KZConfig config;
    QString partno;
    QString softversion;
    QStringList missingGroups; // groups a save writes that the file lacks
};

// False with a message for the user when the file is unreadable, is not a
// configuration set, or holds a value that has no table row.
bool load(const QString &path, Loaded *out, QString *error);

// Whether the set holds every group that a save writes; false with a message
// naming the missing ones. Applying an incomplete set would send defaults
// for what it lacks (deleting every profile of a missing array).
bool complete(const Loaded &loaded, QString *error);

// The question asked when the file was taken from another model or version.
QString versionQuestion(const QString &filePartno, const QString &fileSoftversion,
                        const QString &model, const QString &softwareVersion);
bool versionMatches(const Loaded &loaded, const QString &model, const QString &softwareVersion);

} // namespace ConfigSet
