#include "support/badport.h"

#include <QFile>
#include <QTest>

void BadPort::addRows()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("nonexistent path") << "missing" << "не существует.";
    QTest::newRow("regular file") << "file" << "не является последовательным портом.";
    QTest::newRow("pseudo-terminal held by another program")
            << "held" << "занят другой программой.";
}

bool BadPort::make(const QString &kind)
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
