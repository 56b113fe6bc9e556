#include "forms/configset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "config/safefile.h"

namespace ConfigSet {

namespace {

// Far more profiles than a modem stores; a larger array size in a file is
// not one of ours and must not make the load run for ever.
constexpr int MaxProfiles = 1000;

const char *const gprsKeys[] = { "name", "apn", "username", "password" };
const char *const ntripKeys[] = { "name",        "address",        "port",
                                  "mountpoint",  "clientLogin",    "clientPassword",
                                  "serverPassword", "sourcetable" };

QString badValue(const QString &key, const QString &value)
{
    return QCoreApplication::translate(
                   "ConfigSet", "Недопустимое значение «%1» ключа %2 в файле набора настроек.")
            .arg(value, key);
}

// An integer key; absent gives the default, a non-number is refused.
bool readInt(QSettings &s, const QString &key, int def, int lo, int hi, int *out, QString *error)
{
    if (!s.contains(key)) {
        *out = def;
        return true;
    }
    const QString text = s.value(key).toString();
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok || v < lo || v > hi) {
        *error = badValue(key, text);
        return false;
    }
    *out = v;
    return true;
}

// The groups every save writes; a set without one of them would, applied,
// wipe that part of the modem's configuration.
const char *const requiredGroups[] = { "com", "gprsProfiles", "ntripProfiles", "dyndns",
                                       "bluetooth" };

// An array element is there only with its name, and a name that the settings
// class cannot read as text would be written to the modem as an empty one.
bool nameReadable(QSettings &s, const QString &array, int i, int size, QString *error)
{
    const QVariant name = s.value(QStringLiteral("name"));
    if (name.isValid() && name.typeId() == QMetaType::QString)
        return true;
    *error = name.isValid()
            ? QCoreApplication::translate(
                      "ConfigSet",
                      "Имя элемента %1 массива %2 в файле набора настроек не читается "
                      "как текст.")
                      .arg(i + 1)
                      .arg(array)
            : QCoreApplication::translate(
                      "ConfigSet",
                      "В массиве %1 файла набора настроек указано элементов: %2, а "
                      "элемента %3 с именем нет.")
                      .arg(array)
                      .arg(size)
                      .arg(i + 1);
    return false;
}

bool fileWritable(const QString &path, QString *error)
{
    const QFileInfo fi(path);
    const QFileInfo dir(fi.absolutePath());
    if (!dir.exists() || !dir.isDir() || !dir.isWritable()) {
        *error = QCoreApplication::translate(
                         "ConfigSet", "Не удалось записать файл %1: папка недоступна для записи.")
                         .arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (fi.exists()) {
        // Permission bits are honoured even where the user could override them.
        const QFile::Permissions writeBits =
                QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (fi.isDir() || !fi.isWritable() || !(fi.permissions() & writeBits)) {
            *error = QCoreApplication::translate(
                             "ConfigSet", "Не удалось записать файл %1: файл защищён от записи.")
                             .arg(QDir::toNativeSeparators(path));
            return false;
        }
    }
    return true;
}

} // namespace

Data fromConfig(const KZConfig &config, const QString &partno, const QString &softversion)
{
    Data d;
    d.partno = partno;
    d.softversion = softversion;
    d.baudRow = qMax(0, KZTables::baudIndexForCode(config.baudrate));
    d.framing = config.framing;
    d.flowRow = qMax(0, KZTables::flowIndexForValue(config.flow));
    d.gprsProfiles = config.gprsProfiles;
    d.ntripProfiles = config.ntripProfiles;
    d.dyndnsLogin = config.dyndnsLogin;
    d.dyndnsPassword = config.dyndnsPassword;
    d.dyndnsDomain = config.dyndnsDomain;
    d.btMode = config.btMode;
    d.btMac = config.btMac;
    d.btPin = config.btPin;
    d.autoexecBt = config.autoexecBt;
    d.autoexecCom = config.autoexecCom;
    return d;
}

bool save(const QString &path, const Data &data, QString *error)
{
    if (!fileWritable(path, error))
        return false;
    // The settings class renames its temporary file over the old one even
    // when writing it failed. It writes a copy in a directory of its own; the
    // copy then replaces the set whole, or not at all.
    QTemporaryDir scratch;
    const QString draft = scratch.filePath(QStringLiteral("set.kzini"));
    const QString cannotWrite
            = QCoreApplication::translate("ConfigSet", "Не удалось записать файл %1")
                      .arg(QDir::toNativeSeparators(path));
    if (!scratch.isValid()) {
        *error = cannotWrite
                + QCoreApplication::translate("ConfigSet", ": нет места для временного файла.");
        return false;
    }
    // An earlier set keeps the keys that this save does not set.
    if (QFileInfo(path).isFile()) {
        QByteArray old;
        QString reason;
        if (!SafeFile::read(path, SafeFile::MaxReadBytes, &old, &reason)
            || !SafeFile::write(draft, old, &reason)) {
            *error = cannotWrite + QStringLiteral(": ") + reason + QLatin1Char('.');
            return false;
        }
    }
    {
        QSettings s(draft, QSettings::IniFormat);
        s.beginGroup(QStringLiteral("modem"));
        s.setValue(QStringLiteral("partno"), data.partno);
        s.setValue(QStringLiteral("softversion"), data.softversion);
        s.endGroup();

        s.beginGroup(QStringLiteral("com"));
        s.setValue(QStringLiteral("baudrate"), data.baudRow);
        s.setValue(QStringLiteral("framing"), data.framing);
        s.setValue(QStringLiteral("flow"), data.flowRow);
        s.endGroup();

        s.beginWriteArray(QStringLiteral("gprsProfiles"), int(data.gprsProfiles.size()));
        for (int i = 0; i < data.gprsProfiles.size(); ++i) {
            const GprsProfile &p = data.gprsProfiles.at(i);
            s.setArrayIndex(i);
            const QString values[] = { p.name, p.apn, p.username, p.password };
            for (int k = 0; k < 4; ++k)
                s.setValue(QLatin1String(gprsKeys[k]), values[k]);
        }
        s.endArray();

        s.beginWriteArray(QStringLiteral("ntripProfiles"), int(data.ntripProfiles.size()));
        for (int i = 0; i < data.ntripProfiles.size(); ++i) {
            const NtripProfile &p = data.ntripProfiles.at(i);
            s.setArrayIndex(i);
            const QString values[] = { p.name,        p.address,     p.port,
                                       p.mountpoint,  p.clientLogin, p.clientPassword,
                                       p.serverPassword, p.sourcetable };
            for (int k = 0; k < 8; ++k)
                s.setValue(QLatin1String(ntripKeys[k]), values[k]);
        }
        s.endArray();

        s.beginGroup(QStringLiteral("dyndns"));
        s.setValue(QStringLiteral("login"), data.dyndnsLogin);
        s.setValue(QStringLiteral("password"), data.dyndnsPassword);
        s.setValue(QStringLiteral("domain"), data.dyndnsDomain);
        s.endGroup();

        s.beginGroup(QStringLiteral("bluetooth"));
        s.setValue(QStringLiteral("mode"), data.btMode);
        s.setValue(QStringLiteral("mac"), data.btMac);
        s.setValue(QStringLiteral("pin"), data.btPin);
        s.endGroup();

        // Written too, so that a set restores the operating mode as well.
        s.setValue(QStringLiteral("autoexec_bt"), data.autoexecBt);
        s.setValue(QStringLiteral("autoexec_com"), data.autoexecCom);

        s.sync();
        if (s.status() != QSettings::NoError) {
            *error = cannotWrite + QLatin1Char('.');
            return false;
        }
    }
    QByteArray bytes;
    QString reason;
    if (!SafeFile::read(draft, SafeFile::MaxReadBytes, &bytes, &reason)
        || !SafeFile::write(path, bytes, &reason)) {
        *error = cannotWrite + QStringLiteral(": ") + reason + QLatin1Char('.');
        return false;
    }
    return true;
}

bool load(const QString &path, Loaded *out, QString *error)
{
    const QString notASet
            = QCoreApplication::translate("ConfigSet",
                                          "Файл не является набором настроек или не читается: %1")
                      .arg(QDir::toNativeSeparators(path));
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile() || !fi.isReadable() || fi.size() > SafeFile::MaxReadBytes) {
        *error = notASet;
        return false;
    }
    {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly)) {
            *error = notASet;
            return false;
        }
    }
    QSettings s(path, QSettings::IniFormat);
    if (s.status() != QSettings::NoError || !s.childGroups().contains(QStringLiteral("modem"))) {
        *error = notASet;
        return false;
    }

    Loaded l;
    KZConfig &c = l.config;
    l.partno = s.value(QStringLiteral("modem/partno")).toString();
    l.softversion = s.value(QStringLiteral("modem/softversion")).toString();

    int baudRow = 0, framing = 0, flowRow = 0;
    if (!readInt(s, QStringLiteral("com/baudrate"), 0, 0, KZTables::baudCount() - 1, &baudRow,
                 error)
        || !readInt(s, QStringLiteral("com/framing"), 0, 0, KZTables::framingCount() - 1,
                    &framing, error)
        || !readInt(s, QStringLiteral("com/flow"), 0, 0, KZTables::flowCount() - 1, &flowRow,
                    error))
        return false;
    c.baudrate = KZTables::baudTable[baudRow].code;
    c.framing = framing;
    c.flow = KZTables::flowTable[flowRow].value;

    int size = 0;
    if (!readInt(s, QStringLiteral("gprsProfiles/size"), 0, 0, MaxProfiles, &size, error))
        return false;
    s.beginReadArray(QStringLiteral("gprsProfiles"));
    for (int i = 0; i < size; ++i) {
        s.setArrayIndex(i);
        if (!nameReadable(s, QStringLiteral("gprsProfiles"), i, size, error))
            return false;
        QString v[4];
        for (int k = 0; k < 4; ++k)
            v[k] = s.value(QLatin1String(gprsKeys[k])).toString();
        c.gprsProfiles.append(GprsProfile { v[0], v[1], v[2], v[3] });
    }
    s.endArray();

    if (!readInt(s, QStringLiteral("ntripProfiles/size"), 0, 0, MaxProfiles, &size, error))
        return false;
    s.beginReadArray(QStringLiteral("ntripProfiles"));
    for (int i = 0; i < size; ++i) {
        s.setArrayIndex(i);
        if (!nameReadable(s, QStringLiteral("ntripProfiles"), i, size, error))
            return false;
        QString v[8];
        for (int k = 0; k < 8; ++k)
            v[k] = s.value(QLatin1String(ntripKeys[k])).toString();
        c.ntripProfiles.append(NtripProfile { v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7] });
    }
    s.endArray();

    c.dyndnsLogin = s.value(QStringLiteral("dyndns/login")).toString();
    c.dyndnsPassword = s.value(QStringLiteral("dyndns/password")).toString();
    c.dyndnsDomain = s.value(QStringLiteral("dyndns/domain")).toString();

    if (!readInt(s, QStringLiteral("bluetooth/mode"), 0, 0, 2, &c.btMode, error))
        return false;
    c.btMac = s.value(QStringLiteral("bluetooth/mac"), QString()).toString();
    c.btPin = s.value(QStringLiteral("bluetooth/pin"), QString()).toString();

    c.autoexecBt = s.value(QStringLiteral("autoexec_bt")).toString();
    c.autoexecCom = s.value(QStringLiteral("autoexec_com")).toString();

    const QStringList present = s.childGroups();
    for (const char *group : requiredGroups)
        if (!present.contains(QLatin1String(group)))
            l.missingGroups << QLatin1String(group);

    *out = l;
    return true;
}

bool complete(const Loaded &loaded, QString *error)
{
    if (loaded.missingGroups.isEmpty())
        return true;
    *error = QCoreApplication::translate("ConfigSet",
                                         "В наборе настроек нет групп: %1. Набор не применён.")
                     .arg(loaded.missingGroups.join(QStringLiteral(", ")));
    return false;
}

QString versionQuestion(const QString &filePartno, const QString &fileSoftversion,
                        const QString &model, const QString &softwareVersion)
{
    return QCoreApplication::translate(
                   "ConfigSet",
                   "Выбранные настройки предназначены для модема %1 с версией ПО %2.\r\n"
                   "Подключен модем %3 с версией ПО %4.\r\n"
                   "Различие в версиях может привести к несовместимости настроек. "
                   "Применить настройки?")
            .arg(filePartno, fileSoftversion, model, softwareVersion);
}

bool versionMatches(const Loaded &loaded, const QString &model, const QString &softwareVersion)
{
    return loaded.partno == model && loaded.softversion == softwareVersion;
}

} // namespace ConfigSet
