#pragma once

#include <QByteArray>
#include <QString>

namespace quantix::testing {

// Counts the replacements of a file (a new file renamed over it) from the
// moment it is made, as the system reports them for the file's folder.
class ReplacementCounter
{
public:
    explicit ReplacementCounter(const QString &fileName);
    ~ReplacementCounter();
    ReplacementCounter(const ReplacementCounter &) = delete;
    ReplacementCounter &operator=(const ReplacementCounter &) = delete;

    // The replacements so far.
    int count();

private:
    int m_fd = -1;
    QByteArray m_name;
    int m_count = 0;
};

}
