#include "settings/settingsstore.h"

#include "settings/inifile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStringList>

#include <cerrno>
#include <cstring>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quantix {

namespace {

// QSettings turns "/" into nested groups and treats "\" as a separator too;
// display names such as "metre per second squared (m/s²)" must stay one flat
// key. Escaping "%" as well keeps the mapping reversible.
QString flatKey(const QString &key)
{
    QString escaped;
    escaped.reserve(key.size());
    for (const QChar c : key) {
        switch (c.unicode()) {
        case u'%': escaped += QLatin1String("%25"); break;
        case u'/': escaped += QLatin1String("%2F"); break;
        case u'\\': escaped += QLatin1String("%5C"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

QString storedKey(const QString &section, const QString &key)
{
    return flatKey(section) + QLatin1Char('/') + flatKey(key);
}

// The native store is an INI file everywhere but on Windows (the registry)
// and macOS (property lists).
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
constexpr bool storeIsIniFile = false;
#else
constexpr bool storeIsIniFile = true;
#endif

// Where QSettings keeps the store, found without reading the store: a
// QSettings reads its file as soon as it is made, and would wait forever on
// a FIFO there. A store of another name tells the folder.
QString storeFileName()
{
    if (!storeIsIniFile)
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, applicationName).fileName();
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, applicationName + QLatin1String(" location"));
    return QFileInfo(probe.fileName()).absolutePath() + u'/' + applicationName + QLatin1String(".conf");
}

// One version of the settings file, and whether it can be read: a writer
// replaces the file (a new inode) or changes its size or time. Looked at on
// every read, so it must cost a system call and no more.
struct FileVersion
{
    qint64 inode = -1, size = -1, seconds = -1, nanoseconds = -1;
    std::optional<FileFailure> problem = std::nullopt;
    friend bool operator==(const FileVersion &, const FileVersion &) = default;
};

// The store of the run. QSettings reads the file once and again only after it
// changed; a new QSettings per read would parse it anew once its cache gives
// up on a large file. Writes edit the file line by line (inifile.h), so that
// lines QSettings cannot read, comments and the order of the keys survive.
class Store
{
public:
    static Store &instance()
    {
        static Store store;
        return store;
    }

    // The values as the file holds them now (another instance may have
    // written since the last read), or nothing when it cannot be used.
    const QSettings *current();

    const QString &fileName() const { return m_fileName; }

    std::optional<FileFailure> apply(const SettingWrites &writes);

    std::optional<FileFailure> problem()
    {
        current();
        return m_seen->problem;
    }

    std::function<void(const QString &)> damagedNotice;
    int frozen = 0;  // live SettingsSnapshots

private:
    Store() = default;

    FileVersion version() const;
    FileFailure systemFailure(int error) const
    {
        return {.fileName = m_fileName, .reason = FileFailure::Reason::System, .systemText = QString::fromLocal8Bit(std::strerror(error))};
    }
    std::optional<FileFailure> applyLocked(const SettingWrites &writes, QString &damagedCopy);
    std::optional<FileFailure> lockFailure(const QLockFile &lock, int error) const;
    QString keepDamagedCopy(const QByteArray &contents);
    void keepTimeApart(bool existed, const QDateTime &before);

    const QString m_fileName = storeFileName();
    const QByteArray m_encodedName = QFile::encodeName(m_fileName);
    std::optional<QSettings> m_settings;  // made once the file is known to be readable
    std::optional<FileVersion> m_seen;
    bool m_damagedCopyKept = false;
    QDateTime m_lastWrite;  // the time of the last version this process wrote
};

FileVersion Store::version() const
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    struct stat status;
    if (::stat(m_encodedName.constData(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        return {.problem = systemFailure(errno)};
    }
    FileVersion found{.inode = qint64(status.st_ino),
                      .size = qint64(status.st_size),
                      .seconds = qint64(status.st_mtim.tv_sec),
                      .nanoseconds = qint64(status.st_mtim.tv_nsec)};
    if (!S_ISREG(status.st_mode))
        found.problem = FileFailure{.fileName = m_fileName, .reason = FileFailure::Reason::NotRegularFile};
    else if (status.st_size > maxSettingsFileSize)
        found.problem = FileFailure{.fileName = m_fileName, .reason = FileFailure::Reason::TooLarge, .maxSize = maxSettingsFileSize};
    else if (::access(m_encodedName.constData(), R_OK) != 0)
        found.problem = systemFailure(errno);
    return found;
#else
    return {};
#endif
}

const QSettings *Store::current()
{
    if (!storeIsIniFile) {
        if (!m_settings)
            m_settings.emplace(QSettings::NativeFormat, QSettings::UserScope, applicationName);
        m_settings->sync();  // the platform's store: QSettings looks itself
        return &*m_settings;
    }
    if (!m_seen || frozen == 0) {
        const FileVersion now = version();
        if (now != m_seen) {
            // QSettings reads the file only once it is known to be a regular
            // file of a size it can take.
            if (!now.problem && !m_settings)
                m_settings.emplace(QSettings::NativeFormat, QSettings::UserScope, applicationName);
            else if (!now.problem)
                m_settings->sync();
            m_seen = now;
        }
    }
    return m_seen->problem ? nullptr : &*m_settings;
}

std::optional<FileFailure> Store::apply(const SettingWrites &writes)
{
    if (writes.isEmpty())
        return std::nullopt;
    if (!storeIsIniFile) {
        current();
        for (const SettingWrite &write : writes) {
            const QString key = storedKey(write.section, write.key);
            if (!write.keepStored || !m_settings->contains(key))
                m_settings->setValue(key, write.value);  // no lines to keep
        }
        m_settings->sync();
        if (m_settings->status() == QSettings::NoError)
            return std::nullopt;
        return systemFailure(EACCES);
    }
    QString damagedCopy;
    const std::optional<FileFailure> failure = applyLocked(writes, damagedCopy);
    // After the lock is released: the notice may wait for the user.
    if (!damagedCopy.isEmpty() && damagedNotice)
        damagedNotice(damagedCopy);
    return failure;
}

std::optional<FileFailure> Store::applyLocked(const SettingWrites &writes, QString &damagedCopy)
{
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    // Another writer of the file (QSettings included) holds this lock while
    // it reads, changes and replaces the file.
    QLockFile lock(m_fileName + QLatin1String(".lock"));
    if (!lock.tryLock(settingsLockTimeoutMs))
        return lockFailure(lock, errno);

    FileContent content;
    if (std::optional<FileFailure> failure = readRegularFile(m_fileName, maxSettingsFileSize, content))
        return failure;  // never replace what could not be read
    const QDateTime before = QFileInfo(m_fileName).lastModified();
    damagedCopy = keepDamagedCopy(content.bytes);

    QList<ini::Assignment> assignments;
    assignments.reserve(writes.size());
    for (const SettingWrite &write : writes)
        assignments.append({flatKey(write.section), flatKey(write.key), write.value, write.keepStored});
    const QByteArray edited = ini::withValues(content.bytes, assignments);
    if (content.exists && edited == content.bytes)
        return std::nullopt;
    if (edited.size() > maxSettingsFileSize)  // it could not be read again
        return FileFailure{.fileName = m_fileName, .reason = FileFailure::Reason::TooLarge, .maxSize = maxSettingsFileSize};
    if (std::optional<FileFailure> failure = replaceFile(m_fileName, edited))
        return failure;
    keepTimeApart(content.exists, before);
    return std::nullopt;
}

// A lock that another program holds, or one that cannot be made at all (a
// folder that cannot be written or created, a full disk): QLockFile leaves
// the system's reason in errno.
std::optional<FileFailure> Store::lockFailure(const QLockFile &lock, int error) const
{
    if (lock.error() == QLockFile::LockFailedError)
        return FileFailure{.fileName = m_fileName, .reason = FileFailure::Reason::Locked};
    if (lock.error() == QLockFile::PermissionError || error == 0)
        error = QFileInfo(QFileInfo(m_fileName).absolutePath()).isDir() ? EACCES : ENOENT;
    return systemFailure(error);
}

// QSettings sees a change by the file's size and its time to the millisecond:
// two versions within one millisecond must still differ in time, or a reader
// (another copy of the program) would keep the older one.
void Store::keepTimeApart(bool existed, const QDateTime &before)
{
    QDateTime floor = m_lastWrite;
    if (existed && (!floor.isValid() || before > floor))
        floor = before;
    m_lastWrite = QFileInfo(m_fileName).lastModified();
    QFile file(m_fileName);
    if (floor.isValid() && m_lastWrite <= floor && file.open(QIODevice::ReadOnly)) {
        m_lastWrite = floor.addMSecs(1);
        file.setFileTime(m_lastWrite, QFileDevice::FileModificationTime);
    }
}

// A file with lines that cannot be read is copied once a run before it is
// first written, so that the user has the file as it was. Returns the copy's
// name when it was made now.
QString Store::keepDamagedCopy(const QByteArray &contents)
{
    if (m_damagedCopyKept || !ini::isDamaged(contents))
        return {};
    const QString copyName = m_fileName + QLatin1String(".damaged");
    if (replaceFile(copyName, contents))
        return {};
    m_damagedCopyKept = true;
    return copyName;
}

// A hand-edited INI value with an unquoted comma reads back as a list; the
// user meant the text as written.
QString textOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

}

QString ReadSetting(const QString &section, const QString &key, const QString &defaultText)
{
    const QSettings *settings = Store::instance().current();
    const QVariant value = settings ? settings->value(storedKey(section, key)) : QVariant();
    return (value.isValid() ? textOf(value) : defaultText).trimmed();
}

bool isSettingStored(const QString &section, const QString &key)
{
    const QSettings *settings = Store::instance().current();
    return settings && settings->contains(storedKey(section, key));
}

bool WriteSetting(const QString &section, const QString &key, const QString &value)
{
    return !applySettings({{section, key, value}});
}

std::optional<FileFailure> applySettings(const SettingWrites &writes)
{
    return Store::instance().apply(writes);
}

std::optional<FileFailure> settingsFileProblem()
{
    return Store::instance().problem();
}

SettingsSnapshot::SettingsSnapshot()
{
    Store &store = Store::instance();
    store.current();
    ++store.frozen;
}

SettingsSnapshot::~SettingsSnapshot()
{
    --Store::instance().frozen;
}

std::optional<bool> toBoolean(QStringView text)
{
    text = text.trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return number != 0;
}

std::optional<int> toWholeNumber(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'+'))
        text = text.mid(1);
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    if (!ok || text.startsWith(u'+') || text.contains(u' '))
        return std::nullopt;
    return number;
}

QString settingsLocation()
{
    return Store::instance().fileName();
}

void setDamagedSettingsNotice(std::function<void(const QString &copy)> notice)
{
    Store::instance().damagedNotice = std::move(notice);
}

}
