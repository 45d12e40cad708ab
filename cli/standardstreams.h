#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace quantix {

// Makes sure descriptors 0, 1 and 2 are open before anything else opens a
// file: a closed one gets /dev/null opened the wrong way round, so that a
// read or write on it fails (and is reported) instead of landing in
// whatever file would otherwise take its number.
void guardStandardDescriptors();

// Reads what is available, up to size bytes, retrying after interruptions.
// Returns the count (0 at the end of the input) or -errno.
long readSome(int fd, char *buffer, std::size_t size);

// A descriptor written through a buffer with every write checked. After the
// first failure nothing more is written and error() keeps the reason.
class OutputStream
{
public:
    static constexpr std::size_t flushSize = 1 << 16;

    explicit OutputStream(int fd);

    // Appended text is written by the next flush.
    std::string &buffer() { return m_buffer; }
    void write(std::string_view text) { m_buffer += text; }
    void write(const QString &text) { m_buffer += text.toStdString(); }

    // Writes the buffer once it holds flushSize bytes; false after a failure.
    bool flushIfFull() { return m_buffer.size() < flushSize ? !failed() : flush(); }
    bool flush();

    bool failed() const { return m_error != 0; }
    int error() const { return m_error; }

private:
    int m_fd;
    int m_error = 0;
    std::string m_buffer;
};

// Writes "quantix96-convert: " and the message to standard error in one
// piece, ending with a line feed. Control characters other than line feeds
// show as escapes, so no message can move the cursor or change a terminal.
void printMessage(const QString &message);

// The system's reason for an error number, in the user's language.
QString systemReason(int error);

}
