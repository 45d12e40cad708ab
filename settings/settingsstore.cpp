#include "settings/settingsstore.h"

#include "settings/inifile.h"
#include "settings/wholefile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStringList>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <sys/stat.h>
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

// One version of the settings file: a writer replaces the file (a new
// inode) or changes its size or time. Looked at on every read, so it must
// cost a system call and no more.
struct FileVersion
{
    qint64 inode = -1, size = -1, seconds = -1, nanoseconds = -1;
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

    // The values as the file holds them now: another instance may have
    // written since the last read.
    QSettings &current();

    QString fileName() const { return m_settings.fileName(); }

    bool write(const QString &section, const QString &key, const QString &value);

    std::function<void(const QString &)> damagedNotice;

private:
    Store() = default;

    FileVersion version() const;
    bool writeLine(const QString &section, const QString &key, const QString &value, QString &damagedCopy);
    QString keepDamagedCopy(const QByteArray &contents);

    QSettings m_settings{QSettings::NativeFormat, QSettings::UserScope, applicationName};
    const QByteArray m_encodedName = QFile::encodeName(m_settings.fileName());
    FileVersion m_seen;
    bool m_damagedCopyKept = false;
    QDateTime m_lastWrite;  // the time of the last version this process wrote
};

FileVersion Store::version() const
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    struct stat status;
    if (::stat(m_encodedName.constData(), &status) != 0)
        return {};
    return {qint64(status.st_ino), qint64(status.st_size), qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec)};
#else
    return {};
#endif
}

QSettings &Store::current()
{
    if (!storeIsIniFile) {
        m_settings.sync();  // the platform's store: QSettings looks itself
        return m_settings;
    }
    const FileVersion now = version();
    if (now != m_seen) {
        m_settings.sync();
        m_seen = now;
    }
    return m_settings;
}

// Another writer of the file (QSettings included) holds this lock while it
// reads, changes and replaces the file, for settingsLockTimeoutMs at most.

bool Store::write(const QString &section, const QString &key, const QString &value)
{
    if (!storeIsIniFile) {
        m_settings.setValue(storedKey(section, key), value);  // no lines to keep
        m_settings.sync();
        return m_settings.status() == QSettings::NoError;
    }
    QString damagedCopy;
    const bool written = writeLine(section, key, value, damagedCopy);
    // After the lock is released: the notice may wait for the user.
    if (!damagedCopy.isEmpty() && damagedNotice)
        damagedNotice(damagedCopy);
    return written;
}

bool Store::writeLine(const QString &section, const QString &key, const QString &value, QString &damagedCopy)
{
    const QString name = fileName();
    if (!QDir().mkpath(QFileInfo(name).absolutePath()))
        return false;
    QLockFile lock(name + QLatin1String(".lock"));
    if (!lock.tryLock(settingsLockTimeoutMs))
        return false;

    QFile file(name);
    QByteArray contents;
    const bool existed = file.exists();
    if (existed) {
        if (!file.open(QIODevice::ReadOnly))
            return false;  // never replace what could not be read
        contents = file.readAll();
        file.close();
    }
    const QDateTime before = QFileInfo(name).lastModified();
    damagedCopy = keepDamagedCopy(contents);

    if (replaceFile(name, ini::withValue(contents, flatKey(section), flatKey(key), value)))
        return false;

    // QSettings sees a change by the file's size and its time to the
    // millisecond: two versions within one millisecond must still differ in
    // time, or a reader would keep the older one.
    QDateTime floor = m_lastWrite;
    if (existed && (!floor.isValid() || before > floor))
        floor = before;
    m_lastWrite = QFileInfo(name).lastModified();
    if (floor.isValid() && m_lastWrite <= floor && file.open(QIODevice::ReadOnly)) {
        m_lastWrite = floor.addMSecs(1);
        file.setFileTime(m_lastWrite, QFileDevice::FileModificationTime);
    }
    return true;
}

// A file with lines that cannot be read is copied once a run before it is
// first written, so that the user has the file as it was. Returns the copy's
// name when it was made now.
QString Store::keepDamagedCopy(const QByteArray &contents)
{
    if (m_damagedCopyKept || !ini::isDamaged(contents))
        return {};
    const QString copyName = fileName() + QLatin1String(".damaged");
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
    const QVariant value = Store::instance().current().value(storedKey(section, key));
    return (value.isValid() ? textOf(value) : defaultText).trimmed();
}

bool WriteSetting(const QString &section, const QString &key, const QString &value)
{
    return Store::instance().write(section, key, value);
}

int LoadDecimalPlaces()
{
    const std::optional<int> places = toWholeNumber(ReadSetting(section::settings, QStringLiteral("numericformatting"), QStringLiteral("3")));
    return places && *places >= 0 && *places <= 8 ? *places : 3;
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
