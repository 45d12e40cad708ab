#include "support/fulldisk.h"

#include <QFile>

#include <algorithm>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quantix::testing {

namespace {

QString systemError(const char *what)
{
    return QLatin1String(what) + QLatin1String(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

bool writeText(const char *path, const QByteArray &text)
{
    QFile file{QLatin1String(path)};
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(text) == text.size();
}

// A user namespace in which this process is root, so that it may mount.
QString becomeNamespaceRoot()
{
    const QByteArray uid = QByteArray::number(geteuid());
    const QByteArray gid = QByteArray::number(getegid());
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return systemError("no mount namespace without root");
    if (!writeText("/proc/self/setgroups", "deny") || !writeText("/proc/self/uid_map", "0 " + uid + " 1")
        || !writeText("/proc/self/gid_map", "0 " + gid + " 1"))
        return systemError("no identity in the user namespace");
    return {};
}

}

ChildOutcome runInChild(const std::function<ChildOutcome()> &check)
{
    int channel[2];
    if (pipe(channel) != 0)
        return ChildOutcome::failed(systemError("pipe"));
    const pid_t child = fork();
    if (child < 0)
        return ChildOutcome::failed(systemError("fork"));
    if (child == 0) {
        close(channel[0]);
        const ChildOutcome outcome = check();
        const QByteArray report = (outcome.skipped ? "S" : outcome.failure.isEmpty() ? "P" : "F") + outcome.failure.toUtf8();
        qsizetype sent = 0;
        while (sent < report.size()) {
            const ssize_t part = write(channel[1], report.constData() + sent, std::size_t(report.size() - sent));
            if (part <= 0)
                break;
            sent += part;
        }
        _exit(0);
    }
    close(channel[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t part; (part = read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (part > 0)
            report.append(buffer, part);
        else if (errno != EINTR)
            break;
    }
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (report.isEmpty())
        return ChildOutcome::failed(WIFSIGNALED(status) ? QStringLiteral("the check died of signal %1").arg(WTERMSIG(status))
                                                        : QStringLiteral("the check ended without a report"));
    const QString detail = QString::fromUtf8(report.mid(1));
    switch (report.front()) {
    case 'P': return ChildOutcome::passed();
    case 'S': return ChildOutcome::skip(detail);
    default: return ChildOutcome::failed(detail);
    }
}

QString mountSmallFileSystem(const QString &folder, int bytes)
{
    if (unshare(CLONE_NEWNS) != 0) {
        if (const QString why = becomeNamespaceRoot(); !why.isEmpty())
            return why;
    }
    // Mounts made here must not reach the rest of the system.
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return systemError("cannot make the mounts private");
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) != 0)
        return systemError("cannot mount a small file system");
    return {};
}

void fillFileSystem(const QString &folder, qint64 spare)
{
    QFile filler(folder + QLatin1String("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("f", 1) == 1) {
    }
    filler.resize(std::max<qint64>(0, filler.size() - spare));
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &m_old);
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_old;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_handler);
}

}
