#pragma once

// What the records tests share: disks that fill up, a fixed time zone, and
// the external readers of RTF and PDF files.

#include "support/fulldisk.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <ctime>

namespace quantix::testing {

// The header's long time carries the zone's abbreviation: fix the zone.
inline void useUtc()
{
    qputenv("TZ", "UTC");
    tzset();
}

// Runs one of the independent readers the tests check files with; an empty
// result fails the calling test.
inline QByteArray runReader(const QString &program, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        qWarning("%s is missing: install the test packages (scripts/test.sh installs unrtf and poppler-utils)", qPrintable(program));
        return {};
    }
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

}
