#include "support/replacements.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

#include <sys/inotify.h>
#include <unistd.h>

namespace quantix::testing {

ReplacementCounter::ReplacementCounter(const QString &fileName)
    : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    , m_name(QFile::encodeName(QFileInfo(fileName).fileName()))
{
    // The system merges an event with the one before it when they look the
    // same: each rename's move from its own new file keeps them apart.
    inotify_add_watch(m_fd, QFile::encodeName(QFileInfo(fileName).absolutePath()).constData(), IN_MOVED_FROM | IN_MOVED_TO);
}

ReplacementCounter::~ReplacementCounter()
{
    ::close(m_fd);
}

int ReplacementCounter::count()
{
    alignas(inotify_event) char buffer[16 * 1024];
    ssize_t size;
    while ((size = ::read(m_fd, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < size;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if ((event->mask & IN_MOVED_TO) && event->len > 0 && m_name == event->name)
                ++m_count;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return m_count;
}

}
