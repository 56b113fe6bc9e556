#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

struct CommandCheck {
    QString command; // AT command line without line end
    QString reply;   // exact reply line expected; empty: no reply awaited

    friend bool operator==(const CommandCheck &a, const CommandCheck &b)
    {
        return a.command == b.command && a.reply == b.reply;
    }
    friend bool operator!=(const CommandCheck &a, const CommandCheck &b) { return !(a == b); }
};

struct FirmwareFile {
    QString name;
    QByteArray data;

    friend bool operator==(const FirmwareFile &a, const FirmwareFile &b)
    {
        return a.name == b.name && a.data == b.data;
    }
    friend bool operator!=(const FirmwareFile &a, const FirmwareFile &b) { return !(a == b); }
};

struct FirmwareInfo {
    quint16 version = 3;
    QString model;
    QStringList hardwareVersions;
    qint32 softwareVersion = 0;
    QList<CommandCheck> preCommands;
    QList<CommandCheck> postCommands;

    friend bool operator==(const FirmwareInfo &a, const FirmwareInfo &b)
    {
        return a.version == b.version && a.model == b.model
                && a.hardwareVersions == b.hardwareVersions
                && a.softwareVersion == b.softwareVersion && a.preCommands == b.preCommands
                && a.postCommands == b.postCommands;
    }
    friend bool operator!=(const FirmwareInfo &a, const FirmwareInfo &b) { return !(a == b); }
};

struct FirmwareContainer {
    QByteArray magic;
    quint16 version = 0;
    quint32 infoLength = 0;
    FirmwareInfo info;
    QList<FirmwareFile> files;

    friend bool operator==(const FirmwareContainer &a, const FirmwareContainer &b)
    {
        return a.magic == b.magic && a.version == b.version && a.infoLength == b.infoLength
                && a.info == b.info && a.files == b.files;
    }
    friend bool operator!=(const FirmwareContainer &a, const FirmwareContainer &b)
    {
        return !(a == b);
    }
};

// The magic that opens a container file (not checked when reading).
QByteArray firmwareMagic();

// A compressed block, once expanded, may not exceed this, nor may all blocks
// together: anything larger is taken as damage rather than allocated.
constexpr quint32 MaxFirmwareBlockSize = 64u * 1024 * 1024;

// Stream helpers. Texts are Latin-1, one byte per character, ended by a zero
// byte; integers are big-endian. `ok` (if given) turns false when the data
// ends before the value or before the text's zero byte.
QString readCString(QIODevice *device, bool *ok = nullptr);
quint16 readU16(QIODevice *device, bool *ok = nullptr);
quint32 readU32(QIODevice *device, bool *ok = nullptr);
bool writeCString(QIODevice *device, const QString &text);
bool writeU16(QIODevice *device, quint16 value);
bool writeU32(QIODevice *device, quint32 value);

// Reads a container from an open device. On damaged data returns false with
// a message for the user in `error` and leaves `container` untouched.
bool readContainer(QIODevice *device, FirmwareContainer &container, QString *error = nullptr);

// Reads the container file at `path` through a bound and refuses, with a
// message for the user, one that is damaged, too large (more than 64 MiB
// whole or expanded), of another magic or an unknown format version, or
// whose texts hold control characters. `container` changes only on success.
bool loadContainerFile(const QString &path, FirmwareContainer &container, QString *error);

// False with a message when a command, reply, name or other text of the
// container holds a control character (CR, LF, NUL and the like).
bool containerTextsClean(const FirmwareContainer &container, QString *error);

// Writes `container` in the current (version 3) layout. False when a list is
// too long for its count field or the device refuses the bytes.
bool writeContainer(QIODevice *device, const FirmwareContainer &container);
