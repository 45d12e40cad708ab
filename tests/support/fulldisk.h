#pragma once

// Disks that fill up, for the tests of everything the program saves: a
// check runs in a child process of its own, on a small file system mounted
// for that child alone or under a file-size limit, so that the test process
// itself never runs out of room.

#include <QString>
#include <QTest>

#include <functional>

#include <sys/resource.h>

namespace quantix::testing {

// What a check in a child process found: an empty failure passed.
struct ChildOutcome
{
    bool skipped = false;
    QString failure;

    static ChildOutcome passed() { return {}; }
    static ChildOutcome failed(const QString &why) { return {false, why}; }
    static ChildOutcome skip(const QString &why) { return {true, why}; }
};

// Runs check in a forked child and returns what it found; a child that dies
// is a failure.
ChildOutcome runInChild(const std::function<ChildOutcome()> &check);

// In a child process: mounts a file system of `bytes` bytes on folder, seen
// by this process only and gone when it ends. Returns why it cannot when the
// system does not allow it (no root and no user namespaces).
QString mountSmallFileSystem(const QString &folder, int bytes);

// Writes a filler file into folder until the file system is full, then
// gives `spare` bytes back.
void fillFileSystem(const QString &folder, qint64 spare = 0);

// While it lives, files of this process cannot grow beyond `bytes` (SIGXFSZ
// ignored): a disk that fills up during a save, even for root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

}

// Reports a child's outcome in the calling test function.
#define QUANTIX_VERIFY_CHILD(outcome)                                                                                  \
    do {                                                                                                               \
        const quantix::testing::ChildOutcome found_ = (outcome);                                                      \
        if (found_.skipped)                                                                                            \
            QSKIP(qPrintable(found_.failure));                                                                         \
        QVERIFY2(found_.failure.isEmpty(), qPrintable(found_.failure));                                                \
    } while (false)
