#pragma once

// A port that does not open, for each reason that can be made on real paths:
// a path that does not exist, a regular file, and a pseudo-terminal that
// another program holds open.
#include "common/ptypeer.h"

#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

struct BadPort {
    QTemporaryDir dir;
    PtyPeer peer;
    QSerialPort holder;
    QString name;

    // The kind and the end of the reason given for it.
    static void addRows()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("nonexistent path") << "missing" << "не существует.";
        QTest::newRow("regular file") << "file" << "не является последовательным портом.";
        QTest::newRow("pseudo-terminal held by another program")
                << "held" << "занят другой программой.";
    }

    // Prepares `name`; false when the kind could not be made.
    bool make(const QString &kind)
    {
        name = dir.filePath(QStringLiteral("ttyNONE"));
        if (kind == QLatin1String("file")) {
            name = dir.filePath(QStringLiteral("plain"));
            QFile f(name);
            return f.open(QIODevice::WriteOnly) && f.write("not a tty") > 0;
        }
        if (kind == QLatin1String("held")) {
            if (!peer.ok())
                return false;
            name = peer.name();
            holder.setPortName(name);
            return holder.open(QIODevice::ReadWrite);
        }
        return kind == QLatin1String("missing");
    }
};
