#pragma once

// What the records tests share: a disk that fills up, a fixed time zone,
// and the external readers of RTF and PDF files.

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <csignal>
#include <ctime>
#include <sys/resource.h>

namespace quantix::testing {

// While it lives, files of this process cannot grow beyond `bytes`: a disk
// that fills up half-way through a save, even for root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

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
