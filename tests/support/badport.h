#pragma once

// A port that does not open, for each reason that can be made on real paths:
// a path that does not exist, a regular file, and a pseudo-terminal that
// another program holds open.
#include "support/ptypeer.h"

#include <QSerialPort>
#include <QTemporaryDir>

struct BadPort {
    QTemporaryDir dir;
    PtyPeer peer;
    QSerialPort holder;
    QString name;

    // The kind and the end of the reason given for it.
    static void addRows();

    // Prepares `name`; false when the kind could not be made.
    bool make(const QString &kind);
};
