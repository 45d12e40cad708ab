#include "cli/standardstreams.h"

#include "cli/terminaltext.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace quantix {

namespace {

// Waits until a descriptor opened without blocking is ready again.
void waitFor(int fd, short events)
{
    pollfd ready{fd, events, 0};
    while (::poll(&ready, 1, -1) < 0 && errno == EINTR) {
    }
}

// Writes all of data; 0 or the errno of the failure.
int writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
        } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            waitFor(fd, POLLOUT);
        } else if (written == 0 || errno != EINTR) {
            return written == 0 ? EIO : errno;
        }
    }
    return 0;
}

}

void guardStandardDescriptors()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        // The lower ones are open, so open() returns fd itself.
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF)
            ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    }
}

long readSome(int fd, char *buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0)
            return static_cast<long>(got);
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            waitFor(fd, POLLIN);
        else if (errno != EINTR)
            return -errno;
    }
}

OutputStream::OutputStream(int fd)
    : m_fd(fd)
{
    m_buffer.reserve(flushSize + 1024);
}

bool OutputStream::flush()
{
    if (!failed())
        m_error = writeAll(m_fd, m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return !failed();
}

void printMessage(const QString &message)
{
    QByteArray text = "quantix96-convert: " + withControlsEscaped(message).toUtf8();
    if (!text.endsWith('\n'))
        text += '\n';
    writeAll(STDERR_FILENO, text.constData(), static_cast<std::size_t>(text.size()));
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

}
