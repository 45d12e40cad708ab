#include "settings/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quantix {

namespace {

FileFailure systemFailure(const QString &fileName, int error)
{
    return {.fileName = fileName, .reason = FileFailure::Reason::System, .systemText = QString::fromLocal8Bit(std::strerror(error))};
}

// A file descriptor closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // Closes it now; 0, or the error the system reported (NFS and full
    // disks report a failed write-back here).
    int close()
    {
        const int result = ::close(std::exchange(m_fd, -1));
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

int openRetrying(const QByteArray &path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

const QLatin1StringView ownSuffix(".quantix96-");
constexpr int randomLength = 6;

QString randomSuffix()
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix = ownSuffix;
    for (int i = 0; i < randomLength; ++i)
        suffix += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return suffix;
}

bool isOwnFileOf(const QString &entry, const QString &base)
{
    const qsizetype prefix = base.size() + ownSuffix.size();
    if (entry.size() != prefix + randomLength || !entry.startsWith(base) || QStringView(entry).sliced(base.size(), ownSuffix.size()) != ownSuffix)
        return false;
    return std::all_of(entry.cbegin() + prefix, entry.cend(), [](QChar c) { return c.unicode() < 0x80 && c.isLetterOrNumber(); });
}

// A file of ours beside `base` is in use while its writer holds a lock on
// it; one that can be locked was left by a writer that is gone.
void removeStaleFiles(const QDir &folder, const QString &base)
{
    for (const QString &entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        if (!isOwnFileOf(entry, base))
            continue;
        const QByteArray path = QFile::encodeName(folder.filePath(entry));
        const Descriptor fd(openRetrying(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW));
        struct stat status;
        if (fd && ::fstat(fd.get(), &status) == 0 && S_ISREG(status.st_mode) && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
    }
}

// The file a replacement writes: the name itself, or what a symbolic link
// there names (a link that points nowhere yet gets its file).
QString resolvedTarget(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

bool writeAll(int fd, const QByteArray &content, int &error)
{
    qsizetype written = 0;
    while (written < content.size()) {
        const ssize_t part = ::write(fd, content.constData() + written, std::size_t(content.size() - written));
        if (part < 0 && errno == EINTR)
            continue;
        if (part <= 0) {
            error = part < 0 ? errno : ENOSPC;
            return false;
        }
        written += part;
    }
    return true;
}

// One replacement of a file, step by step. Whatever it leaves unfinished
// is undone when it ends: the new file goes, the old one stays.
class Replacement
{
public:
    Replacement(const QString &target, bool existed)
        : m_target(QFile::encodeName(target))
        , m_folder(QFileInfo(target).absoluteDir())
        , m_base(QFileInfo(target).fileName())
        , m_existed(existed)
    {
    }

    ~Replacement()
    {
        if (!m_temporary.isEmpty())
            ::unlink(m_temporary.constData());
        if (!m_backup.isEmpty())
            ::unlink(m_backup.constData());
    }

    // Each step: 0, or the system's error number.
    int create(mode_t oldMode)
    {
        removeStaleFiles(m_folder, m_base);
        int fd = -1;
        while (fd < 0) {
            const QByteArray name = QFile::encodeName(m_folder.filePath(m_base + randomSuffix()));
            fd = openRetrying(name, O_WRONLY | O_CREAT | O_EXCL, 0666);
            if (fd >= 0)
                m_temporary = name;
            else if (errno != EEXIST)
                return errno;
        }
        m_file = std::make_unique<Descriptor>(fd);
        // The lock marks the file as in use until the replacement ends; a
        // second descriptor keeps it while the first is closed and checked.
        ::flock(fd, LOCK_EX | LOCK_NB);
        m_lock = std::make_unique<Descriptor>(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
        if (m_existed)
            ::fchmod(fd, oldMode);  // a file system without modes keeps its own
        return 0;
    }

    int write(const QByteArray &content)
    {
        int error = 0;
        if (!writeAll(m_file->get(), content, error))
            return error;
        return ::fdatasync(m_file->get()) == 0 ? 0 : errno;
    }

    int close() { return m_file->close(); }

    // The old file under a second name of ours, so that a folder that cannot
    // be synced after the rename can get it back. A file system without
    // hard links has no second name: the old file cannot come back there.
    void keepOld()
    {
        if (!m_existed)
            return;
        for (;;) {
            const QByteArray name = QFile::encodeName(m_folder.filePath(m_base + randomSuffix()));
            if (::link(m_target.constData(), name.constData()) == 0) {
                m_backup = name;
                m_backupLock = std::make_unique<Descriptor>(openRetrying(name, O_RDONLY | O_NONBLOCK));
                if (*m_backupLock)
                    ::flock(m_backupLock->get(), LOCK_EX | LOCK_NB);
                return;
            }
            if (errno != EEXIST)
                return;
        }
    }

    int rename()
    {
        if (::rename(m_temporary.constData(), m_target.constData()) != 0)
            return errno;
        m_temporary.clear();
        m_renamed = true;
        return 0;
    }

    // A file system that cannot sync a folder (EINVAL) has nothing to sync.
    int syncFolder()
    {
        const Descriptor folder(openRetrying(QFile::encodeName(m_folder.absolutePath()), O_RDONLY | O_DIRECTORY));
        if (!folder)
            return errno;
        if (::fsync(folder.get()) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP)
            return errno;
        return 0;
    }

    // After a failed folder sync: the old file back, or no file as before.
    void undoRename()
    {
        if (!m_renamed)
            return;
        if (!m_backup.isEmpty() && ::rename(m_backup.constData(), m_target.constData()) == 0)
            m_backup.clear();
        else if (!m_existed)
            ::unlink(m_target.constData());
    }

private:
    QByteArray m_target;
    QDir m_folder;
    QString m_base;
    bool m_existed;
    QByteArray m_temporary;
    QByteArray m_backup;
    std::unique_ptr<Descriptor> m_file;
    std::unique_ptr<Descriptor> m_lock;
    std::unique_ptr<Descriptor> m_backupLock;
    bool m_renamed = false;
};

}

std::optional<FileFailure> readRegularFile(const QString &fileName, qint64 maxSize, FileContent &content)
{
    content = {};
    const QByteArray path = QFile::encodeName(fileName);
    // Looked at before it is opened: opening a FIFO waits for a writer, and
    // opening a device may act on it.
    struct stat status;
    if (::stat(path.constData(), &status) != 0)
        return errno == ENOENT ? std::nullopt : std::optional(systemFailure(fileName, errno));
    const Descriptor fd(S_ISREG(status.st_mode) ? openRetrying(path, O_RDONLY | O_NONBLOCK) : -1);
    if (S_ISREG(status.st_mode) && !fd)
        return errno == ENOENT ? std::nullopt : std::optional(systemFailure(fileName, errno));
    // What was opened may differ from what was looked at.
    if (fd && ::fstat(fd.get(), &status) != 0)
        return systemFailure(fileName, errno);
    if (!S_ISREG(status.st_mode))
        return FileFailure{.fileName = fileName, .reason = FileFailure::Reason::NotRegularFile};
    const FileFailure tooLarge{.fileName = fileName, .reason = FileFailure::Reason::TooLarge, .maxSize = maxSize};
    if (status.st_size > maxSize)
        return tooLarge;

    // One byte more than the file holds: the read that meets the end.
    QByteArray bytes(qsizetype(std::min<qint64>(status.st_size, maxSize) + 1), Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maxSize)
                return tooLarge;  // it grew while it was read
            bytes.resize(qsizetype(std::min<qint64>(qint64(used) * 2, maxSize + 1)));
        }
        const ssize_t part = ::read(fd.get(), bytes.data() + used, std::size_t(bytes.size() - used));
        if (part < 0 && errno == EINTR)
            continue;
        if (part < 0)
            return systemFailure(fileName, errno);
        if (part == 0)
            break;
        used += part;
    }
    bytes.truncate(used);
    content = {true, bytes};
    return std::nullopt;
}

std::optional<FileFailure> replaceFile(const QString &fileName, const QByteArray &content)
{
    const QString target = resolvedTarget(fileName);
    struct stat status;
    const bool existed = ::stat(QFile::encodeName(target).constData(), &status) == 0;
    if (!existed && errno != ENOENT)
        return systemFailure(fileName, errno);
    if (existed && !S_ISREG(status.st_mode))
        return FileFailure{.fileName = fileName, .reason = FileFailure::Reason::NotRegularFile};
    // A file made read-only is one its owner wants kept.
    if (existed && ::access(QFile::encodeName(target).constData(), W_OK) != 0)
        return systemFailure(fileName, errno);

    Replacement replacement(target, existed);
    int error = replacement.create(existed ? status.st_mode & 07777 : 0);
    if (!error)
        error = replacement.write(content);
    if (!error)
        error = replacement.close();
    if (!error) {
        replacement.keepOld();
        error = replacement.rename();
    }
    if (!error) {
        error = replacement.syncFolder();
        if (error)
            replacement.undoRename();
    }
    if (error)
        return systemFailure(fileName, error);
    return std::nullopt;
}

}
