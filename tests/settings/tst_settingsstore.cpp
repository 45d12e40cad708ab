#include "settings/settingkeys.h"
#include "settings/userunitstore.h"
#include "support/fulldisk.h"
#include "support/replacements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quantix;
using namespace quantix::testing;

namespace {

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// A store as a user's grows: options, availability of many units, own units.
bool fillStore()
{
    bool written = WriteSetting(section::settings, "shellprog", "/usr/bin/gnome-calculator");
    for (int i = 0; i < 150; ++i)
        written &= WriteSetting(section::units, QStringLiteral("unit number %1 (u/%1)").arg(i), "1");
    return written && WriteSetting(section::userunits, "Length1", "league");
}

// A reader that took an endless device for a file would run out of this
// (the sanitizers' shadow memory would not fit in it).
void limitMemory()
{
#ifndef __SANITIZE_ADDRESS__
    const rlimit memory{rlim_t(1) << 30, rlim_t(1) << 30};
    setrlimit(RLIMIT_AS, &memory);
#endif
}

// In a child whose store lives in folder: a write that the disk cannot take
// fails visibly and leaves the store's file as it was, and nothing beside it.
ChildOutcome failedWriteKeepsTheStore(const QString &folder, bool olderStore)
{
    const QByteArray before = readAll(settingsLocation());
    const QString value(200, u'v');
    if (WriteSetting(section::userunits, "Length2", value))
        return ChildOutcome::failed("the write reported success");
    if (readAll(settingsLocation()) != before)
        return ChildOutcome::failed("the store's file changed");
    const QStringList left = QDir(folder).entryList({"Quantix96*"}, QDir::Files);
    const QStringList expected = olderStore ? QStringList{"Quantix96.conf"} : QStringList();
    if (left != expected)
        return ChildOutcome::failed("the folder holds " + left.join(", "));
    if (olderStore && ReadSetting(section::userunits, "Length1", "") != QLatin1String("league"))
        return ChildOutcome::failed("the older settings do not read back");
    return ChildOutcome::passed();
}

}

class TestSettingsStore : public QObject
{
    Q_OBJECT

    // On a memory file system when there is one: writes there follow each
    // other within a millisecond, where a reader can miss a change.
    QTemporaryDir m_dir{QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/quantix-XXXXXX")
                                                                    : QDir::tempPath() + QStringLiteral("/quantix-XXXXXX")};

    void writeFile(const QByteArray &content) { QVERIFY(writeTo(settingsLocation(), content)); }

    static bool writeTo(const QString &name, const QByteArray &content)
    {
        QFile file(name);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QVERIFY(settingsLocation().startsWith(m_dir.path()));
        QVERIFY(settingsLocation().endsWith(QLatin1String("Quantix96.conf")));
    }

    void init() { QFile::remove(settingsLocation()); }
    void cleanup() { QFile::remove(settingsLocation()); }

    void emptyStoreGivesDefaultsAndStaysEmpty()
    {
        QCOMPARE(ReadSetting(section::settings, "confirm", "true"), QStringLiteral("true"));
        QCOMPARE(ReadSetting(section::settings, "shellprog", "c:\\windows\\calc.exe"), QStringLiteral("c:\\windows\\calc.exe"));
        QCOMPARE(ReadSetting(section::units, "Length", "1"), QStringLiteral("1"));
        QCOMPARE(LoadDecimalPlaces(), 3);
        QVERIFY(!QFileInfo::exists(settingsLocation()));
    }

    void readsAreTrimmed()
    {
        QVERIFY(WriteSetting(section::settings, "top", " 250 "));
        QCOMPARE(ReadSetting(section::settings, "top", "200"), QStringLiteral("250"));
        QCOMPARE(ReadSetting(section::settings, "absent", "  x  "), QStringLiteral("x"));
    }

    // Keys are display names: every character must give one flat entry that
    // reads back exactly and does not collide with another key.
    void keysStayFlat_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("slash") << section::units << "metre per second squared (m/s²)";
        QTest::newRow("two slashes") << section::units << "farad (F) (A²·s^4/kg·m²)";
        QTest::newRow("micro") << section::units << "microsiemens (µS)";
        QTest::newRow("double blank") << section::units << "micrometre (micron)  (µm)";
        QTest::newRow("quote") << section::units << "second ('')";
        QTest::newRow("backslash") << section::settings << "a\\b";
        QTest::newRow("percent escape lookalike") << section::settings << "a%2Fb";
        QTest::newRow("equals and semicolon") << section::settings << "k=v;x#y";
        QTest::newRow("user unit") << section::userunits << "Volume (Liquid)factor10";
    }

    void keysStayFlat()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QVERIFY(WriteSetting(section, key, "0"));
        QCOMPARE(ReadSetting(section, key, "1"), QStringLiteral("0"));
        QSettings raw(settingsLocation(), QSettings::IniFormat);
        raw.beginGroup(section);
        QCOMPARE(raw.childGroups(), QStringList());
        QCOMPARE(raw.childKeys().size(), 1);
    }

    void slashKeyDoesNotMeetItsNeighbour()
    {
        QVERIFY(WriteSetting(section::settings, "a/b", "slash"));
        QVERIFY(WriteSetting(section::settings, "a%2Fb", "escape"));
        QCOMPARE(ReadSetting(section::settings, "a/b", ""), QStringLiteral("slash"));
        QCOMPARE(ReadSetting(section::settings, "a%2Fb", ""), QStringLiteral("escape"));
        QCOMPARE(ReadSetting(section::units, "a/b", "other section"), QStringLiteral("other section"));
    }

    void decimalPlaces_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("places");
        QTest::newRow("9") << "9" << 3;
        QTest::newRow("-1") << "-1" << 3;
        QTest::newRow("8") << "8" << 8;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("blanks") << " 5 " << 5;
        QTest::newRow("12") << "12" << 3;
        QTest::newRow("True") << "True" << 3;
        QTest::newRow("text") << "three" << 3;
        QTest::newRow("fraction") << "2.5" << 3;
    }

    void decimalPlaces()
    {
        QFETCH(QString, stored);
        QFETCH(int, places);
        QVERIFY(WriteSetting(section::settings, "numericformatting", stored));
        QCOMPARE(LoadDecimalPlaces(), places);
    }

    void booleans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");  // -1: does not convert
        QTest::newRow("True") << "True" << 1;
        QTest::newRow("true") << "true" << 1;
        QTest::newRow("FALSE") << "FALSE" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("minus one") << "-1" << 1;
        QTest::newRow("blanks") << " false " << 0;
        QTest::newRow("yes") << "yes" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void booleans()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<bool> value = toBoolean(text);
        QCOMPARE(value.has_value() ? int(*value) : -1, expected);
    }

    void wholeNumbers()
    {
        QCOMPARE(toWholeNumber(u"200"), 200);
        QCOMPARE(toWholeNumber(u" -15 "), -15);
        QCOMPARE(toWholeNumber(u"+7"), 7);
        QVERIFY(!toWholeNumber(u"1 2"));
        QVERIFY(!toWholeNumber(u"abc"));
        QVERIFY(!toWholeNumber(u"1.5"));
        QVERIFY(!toWholeNumber(u""));
        QVERIFY(!toWholeNumber(u"99999999999"));
        QVERIFY(!toWholeNumber(u"++1"));
    }

    // The store's file cannot be replaced (a folder stands in its place):
    // the caller learns that nothing was written.
    void failedWriteIsVisible()
    {
        QVERIFY(QDir().mkpath(settingsLocation()));
        const bool written = WriteSetting(section::settings, "left", "100");
        QVERIFY(QDir(settingsLocation()).removeRecursively());
        QVERIFY(!written);
    }

    // State: a store on a full file system (with room for the lock file that
    // guards a write, or none), or whose next version exceeds the file-size
    // limit, for a first write too. Action: one more setting. Expected:
    // false, and the older file byte for byte.
    void fullDiskKeepsTheStore_data()
    {
        QTest::addColumn<int>("spareRoom");  // -1: a file-size limit instead of a small file system
        QTest::addColumn<bool>("olderStore");
        QTest::newRow("full file system") << 0 << true;
        QTest::newRow("room for the lock file only") << 4096 << true;
        QTest::newRow("file-size limit") << -1 << true;
        QTest::newRow("file-size limit, first write") << -1 << false;
    }

    void fullDiskKeepsTheStore()
    {
        QFETCH(int, spareRoom);
        QFETCH(bool, olderStore);
        // The store's place is fixed for the run: the child mounts its small
        // file system there, seen by the child alone.
        const QString folder = QFileInfo(settingsLocation()).absolutePath();
        QUANTIX_VERIFY_CHILD(runInChild([&] {
            if (spareRoom >= 0) {
                if (const QString why = mountSmallFileSystem(folder, 64 * 1024); !why.isEmpty())
                    return ChildOutcome::skip(why);
            }
            if (olderStore && !fillStore())
                return ChildOutcome::failed("the older store could not be written");
            std::optional<FileSizeLimit> limit;
            if (spareRoom >= 0)
                fillFileSystem(folder, spareRoom);
            else
                limit.emplace(rlim_t(QFileInfo(settingsLocation()).size() + 100));
            return failedWriteKeepsTheStore(folder, olderStore);
        }));
    }

    // A hand-edited store: unquoted commas, odd values, broken lines.
    void handEditedStore()
    {
        writeFile("[settings]\nshellprog=/usr/bin/a, b\nleft=@Invalid()\ngarbage line without equals\n"
                  "top=\"  77  \"\n\x01\x02=\xff\xfe\n[units]\nLength=0\n");
        QCOMPARE(ReadSetting(section::settings, "shellprog", ""), QStringLiteral("/usr/bin/a, b"));
        QCOMPARE(ReadSetting(section::settings, "top", ""), QStringLiteral("77"));
        QCOMPARE(ReadSetting(section::units, "Length", "1"), QStringLiteral("0"));
        ReadSetting(section::settings, "left", "200");
    }

    // State: a hand-edited file with lines the store cannot read. Action: two
    // writes. Expected: only the written keys' lines change, a copy of the
    // file as it was lies beside it, and the user is told once.
    void damagedFileKeepsEveryLine()
    {
        const QByteArray original = "; my notes\n[settings]\nleft = 100\nbroken line\n[units]\nLength=0\n\x01\xfe\n";
        writeFile(original);
        QStringList notices;
        setDamagedSettingsNotice([&](const QString &copy) { notices << copy; });
        QVERIFY(WriteSetting(section::settings, "left", "3000"));
        QVERIFY(WriteSetting(section::settings, "top", "15"));
        setDamagedSettingsNotice({});

        QFile file(settingsLocation());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("; my notes\n[settings]\nleft = 3000\nbroken line\ntop=15\n[units]\nLength=0\n\x01\xfe\n"));
        QCOMPARE(notices, QStringList{settingsLocation() + ".damaged"});
        QFile copy(notices.value(0));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), original);
        QCOMPARE(ReadSetting(section::units, "Length", "1"), QStringLiteral("0"));
        QCOMPARE(ReadSetting(section::settings, "left", ""), QStringLiteral("3000"));
    }

    // The store is read once, yet a read sees what another instance wrote
    // since, even a value of the same length written within a millisecond.
    void readsSeeEveryWrite()
    {
        writeFile("[settings]\nleft=1\n");
        QCOMPARE(ReadSetting(section::settings, "left", ""), QStringLiteral("1"));
        writeFile("[settings]\nleft=22\n");
        QCOMPARE(ReadSetting(section::settings, "left", ""), QStringLiteral("22"));
        for (int i = 0; i < 50; ++i) {
            const QString value = QString::number(i % 10);
            QVERIFY(WriteSetting(section::units, "Length", value));
            QCOMPARE(ReadSetting(section::units, "Length", ""), value);
        }
    }

    // State: a store with a comment and a line spaced by hand. Action: the
    // 21 keys of ten user units as one change, then the same change again.
    // Expected: one replacement that changes only those keys' lines, then
    // none.
    void changeIsOneReplacement()
    {
        writeFile("; mine\n[userunits]\nLengthnumber = 7 ; by hand\n[settings]\nleft=1\n");
        SettingWrites writes;
        for (int n = 1; n <= 10; ++n) {
            writes << UserUnitStore::entry(UserUnitStore::nameKey("Length", n), QStringLiteral("u%1").arg(n))
                   << UserUnitStore::entry(UserUnitStore::factorKey("Length", n), QString::number(n));
        }
        writes << UserUnitStore::entry("Lengthnumber", "10");
        ReplacementCounter replacements(settingsLocation());
        QVERIFY(!applySettings(writes));
        QCOMPARE(replacements.count(), 1);
        QVERIFY(!applySettings(writes));
        QCOMPARE(replacements.count(), 1);
        const QByteArray file = readAll(settingsLocation());
        QVERIFY(file.startsWith("; mine\n[userunits]\nLengthnumber = 10 ; by hand\nLength1=u1\nLengthfactor1=1\nLength2=u2\n"));
        QVERIFY(file.endsWith("Lengthfactor10=10\n[settings]\nleft=1\n"));
    }

    // State: at the store's place something the store must not read, or a
    // symbolic link to a file. Expected: at once (no wait for a FIFO's
    // writer, no reading of an endless device, even with little memory) the
    // defaults, the problem named, and writes that fail and leave it as it
    // is; the link to a file is used as the file.
    void filesThatCannotBeUsed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("reason");  // -1: usable
        QTest::newRow("FIFO") << "fifo" << int(FileFailure::Reason::NotRegularFile);
        QTest::newRow("link to /dev/full") << "full" << int(FileFailure::Reason::NotRegularFile);
        QTest::newRow("larger than 16 MB") << "large" << int(FileFailure::Reason::TooLarge);
        QTest::newRow("link to a file") << "link" << -1;
    }

    void filesThatCannotBeUsed()
    {
        QFETCH(QString, kind);
        QFETCH(int, reason);
        const QString place = settingsLocation();
        const QString target = m_dir.filePath("elsewhere.conf");
        QFile::remove(target);
        if (kind == "fifo")
            QVERIFY(mkfifo(qPrintable(place), 0600) == 0);
        else if (kind == "full")
            QVERIFY(QFile::link("/dev/full", place));
        else if (kind == "large")
            writeFile("[settings]\nleft=7\n" + QByteArray(maxSettingsFileSize, ';'));
        else
            QVERIFY(writeTo(target, "[settings]\nleft=7\n") && QFile::link(target, place));
        const QFileInfo before(place);
        QUANTIX_VERIFY_CHILD(runInChild([&] {
            limitMemory();
            const std::optional<FileFailure> problem = settingsFileProblem();
            const std::optional<FileFailure> failure = applySettings({{section::settings, "top", "9"}});
            if (reason < 0) {
                if (problem || failure || ReadSetting(section::settings, "left", "200") != QLatin1String("7")
                    || ReadSetting(section::settings, "top", "") != QLatin1String("9"))
                    return ChildOutcome::failed("the link to a file is not the file");
                return ChildOutcome::passed();
            }
            if (ReadSetting(section::settings, "left", "200") != QLatin1String("200"))
                return ChildOutcome::failed("a read that is not the default");
            if (!problem || problem->fileName != settingsLocation() || int(problem->reason) != reason)
                return ChildOutcome::failed("no problem named");
            if (!failure || failure->reason != problem->reason)
                return ChildOutcome::failed("the write did not fail alike");
            return ChildOutcome::passed();
        }));
        const QFileInfo after(place);
        QCOMPARE(after.isSymLink(), before.isSymLink());
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.lastModified(), before.lastModified());
        if (kind == "link")
            QVERIFY(readAll(target).contains("top=9"));
    }

    // State: a new file of ours left by a killed write, one that a write
    // under way holds, and files of others with like names. Action: a
    // write. Expected: only the one left behind is gone.
    void newFilesLeftBehindAreRemoved()
    {
        QVERIFY(WriteSetting(section::settings, "left", "1"));
        const QString stale = settingsLocation() + ".quantix96-Ab12Cd";
        const QString held = settingsLocation() + ".quantix96-Ef34Gh";
        const QStringList others{settingsLocation() + ".quantix96-Ab12C", settingsLocation() + ".Ab12Cd", settingsLocation() + ".damaged"};
        for (const QString &name : others + QStringList{stale, held}) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFile holder(held);
        QVERIFY(holder.open(QIODevice::ReadOnly) && flock(holder.handle(), LOCK_EX) == 0);
        QVERIFY(WriteSetting(section::settings, "left", "2"));
        QVERIFY(!QFile::exists(stale));
        QVERIFY(QFile::exists(held));
        for (const QString &name : others)
            QVERIFY2(QFile::remove(name), qPrintable(name));
        QFile::remove(held);
    }

    void userUnitKeys()
    {
        QCOMPARE(UserUnitStore::countKey("Length"), QStringLiteral("Lengthnumber"));
        QCOMPARE(UserUnitStore::nameKey("Length", 3), QStringLiteral("Length3"));
        QCOMPARE(UserUnitStore::factorKey("Length", 3), QStringLiteral("Lengthfactor3"));
        QCOMPARE(UserUnitStore::usedKey("Length", 10), QStringLiteral("Lengthused10"));
        const UserUnitStore store;
        QCOMPARE(store.count("Length"), 0);
        QVERIFY(store.write("Lengthnumber", "x"));
        QVERIFY(!store.count("Length"));
        QVERIFY(store.write("Lengthnumber", " 4 "));
        QCOMPARE(store.count("Length"), 4);
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
