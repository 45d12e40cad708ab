#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The settings and a records file written by separate processes that fail,
// are killed, hold the lock or write at once.
class TestSettingsFaults : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QByteArray m_old = "; kept by hand\n[settings]\nleft=120\n[userunits]\nLengthnumber=1\nLength1=old\nLengthfactor1=2\n";

    QString store() const { return m_dir.filePath("Quantix96.conf"); }

    QByteArray read(const QString &name) const
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    void write(const QString &name, const QByteArray &content) const
    {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size());
    }

    QStringList leftovers() const { return QDir(m_dir.path()).entryList({"*.quantix96-*"}, QDir::Files); }

    // The driver with a fault preloaded; its process, started.
    std::unique_ptr<QProcess> start(const QStringList &arguments, const QByteArray &fault = {}) const
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_dir.path());
        if (!fault.isEmpty()) {
            environment.insert("LD_PRELOAD", QUANTIX_FAULT_SHIM);
            environment.insert("QUANTIX_FAULT", fault);
            environment.insert("ASAN_OPTIONS", "verify_asan_link_order=0");
        }
        process->setProcessEnvironment(environment);
        process->start(QUANTIX_SETTINGS_DRIVER, arguments);
        return process;
    }

    // Exit code, or -1 when the driver was killed.
    int run(const QStringList &arguments, const QByteArray &fault = {}, QByteArray *errors = nullptr) const
    {
        const std::unique_ptr<QProcess> process = start(arguments, fault);
        if (!process->waitForFinished(30000))
            return -2;
        if (errors)
            *errors = process->readAllStandardError();
        return process->exitStatus() == QProcess::CrashExit ? -1 : process->exitCode();
    }

private slots:
    void init()
    {
        for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(name));
    }

    // State: an older store and an older records file. Action: a change of
    // the store and a records save, with one step of the replacement failing
    // (EIO). Expected: the failure is reported with the file's name, and the
    // older file stays byte for byte, with nothing left beside it.
    void failedStepKeepsTheOldFile_data()
    {
        QTest::addColumn<QByteArray>("step");
        for (const char *step : {"write", "fdatasync", "close", "rename", "fsync"})
            QTest::newRow(step) << QByteArray(step);
    }

    void failedStepKeepsTheOldFile()
    {
        QFETCH(QByteArray, step);
        const QString records = m_dir.filePath("records.txt");
        write(store(), m_old);
        write(records, "old records\r\n");
        QByteArray errors;
        QCOMPARE(run({"units", "new", "3"}, step + ":fail", &errors), 1);
        QVERIFY2(errors.contains(QByteArray(store().toUtf8() + ": 0 Input/output error")), errors.constData());
        QCOMPARE(read(store()), m_old);
        QCOMPARE(run({"replace", records, "new records"}, step + ":fail", &errors), 1);
        QVERIFY2(errors.contains(QByteArray(records.toUtf8() + ": 0 Input/output error")), errors.constData());
        QCOMPARE(read(records), QByteArray("old records\r\n"));
        QCOMPARE(leftovers(), QStringList());
    }

    // State: an older store. Action: a change of ten units, killed at each
    // step of the replacement. Expected: the store as it was before or after
    // the change, never between; the next change removes what the killed one
    // left beside it.
    void killedChangeLeavesOldOrNew_data()
    {
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<bool>("changed");
        QTest::newRow("before the first write") << QByteArray("write:kill") << false;
        QTest::newRow("halfway through the write") << QByteArray("write:half") << false;
        QTest::newRow("before the sync") << QByteArray("fdatasync:kill") << false;
        QTest::newRow("before the close") << QByteArray("close:kill") << false;
        QTest::newRow("before the rename") << QByteArray("rename:kill") << false;
        QTest::newRow("before the folder's sync") << QByteArray("fsync:kill") << true;
    }

    void killedChangeLeavesOldOrNew()
    {
        QFETCH(QByteArray, fault);
        QFETCH(bool, changed);
        write(store(), m_old);
        const QStringList tenUnits{"units", "x", "1", "9"};
        QCOMPARE(run(tenUnits), 0);
        const QByteArray changedStore = read(store());
        QVERIFY(changedStore.startsWith("; kept by hand\n[settings]\nleft=120\n") && changedStore.contains("Length10=x-9-10"));

        write(store(), m_old);
        QCOMPARE(run(tenUnits, fault), -1);
        QCOMPARE(read(store()), changed ? changedStore : m_old);
        write(store(), m_old);
        QCOMPARE(run(tenUnits), 0);
        QCOMPARE(read(store()), changedStore);
        QCOMPARE(leftovers(), QStringList());
    }

    // State: two copies of the program change the units of one quantity over
    // and over, while a third reads them. Expected: every read and the store
    // at the end pair each name with its own list's factor; the other lines
    // stay.
    void twoCopiesOnOneStore()
    {
        write(store(), m_old);
        QCOMPARE(run({"units", "a", "1"}), 0);
        const auto first = start({"units", "a", "60"});
        const auto second = start({"units", "b", "60"});
        const auto reader = start({"check", "3000"});
        for (QProcess *process : {first.get(), second.get(), reader.get()}) {
            QVERIFY(process->waitForFinished(60000));
            QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
        }
        QCOMPARE(run({"check", "1"}), 0);
        QVERIFY(read(store()).startsWith("; kept by hand\n[settings]\nleft=120\n"));
    }

    // State: another program holds the store's lock. Action: a change.
    // Expected: one wait of 5 seconds, then the failure; the store as it was.
    void heldLockIsOneWait()
    {
        write(store(), m_old);
        const auto holder = start({"lock"});
        QVERIFY(holder->waitForReadyRead(10000));
        QElapsedTimer timer;
        timer.start();
        QByteArray errors;
        QCOMPARE(run({"units", "x", "3"}, {}, &errors), 1);
        QVERIFY2(timer.elapsed() >= 4900 && timer.elapsed() < 8000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(errors.contains(": 3 "), errors.constData());  // Locked
        holder->closeWriteChannel();
        QVERIFY(holder->waitForFinished(10000));
        QCOMPARE(read(store()), m_old);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFaults)
#include "tst_settingsfaults.moc"
