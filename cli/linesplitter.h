#pragma once

#include "cli/terminaltext.h"
#include "engine/numbers.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quantix {

// One input line as far as a conversion needs it, in bounded memory. A line
// that one piece of input holds whole is read in place, a plain decimal the
// quick way; one that comes in several pieces is read while its bytes come,
// not past the number's end, and keeps its first bytes for a message.
class BoundedLine
{
public:
    explicit BoundedLine(std::string_view localePoint) : m_reader(localePoint) {}

    // The whole line, which start() shows from where it is: valid while its
    // bytes are.
    void setWhole(std::string_view line);
    void append(std::string_view bytes);
    void clear();

    // No bytes, or nothing but the carriage return of a CR LF line end.
    bool isEmpty() const { return m_size == 0 || (m_size == 1 && m_start[0] == '\r'); }
    // The typed value of the whole line, as readTypedValue reads it; throws
    // ConversionError.
    double value() const { return m_plain ? *m_plain : m_reader.value(); }
    // The number ended at a second decimal point (see TypedValueReader).
    bool cutAtPoint() const { return !m_plain && m_reader.cutAtPoint(); }
    // The first bytes of the line without its CR LF's carriage return, and
    // whether the line goes on after them (see quotedValue).
    std::string_view start() const;
    bool cut() const { return m_size > static_cast<long long>(shownBytes); }

private:
    TypedValueReader m_reader;
    std::optional<double> m_plain;  // a whole line's value, read the quick way
    std::string m_kept;             // the start of a line that comes in pieces
    std::string_view m_start;       // the whole line, or m_kept
    long long m_size = 0;
};

// Cuts a byte stream into lines at each line feed without ever holding a
// line whole. A last line without a line feed ends at finish(); an input
// that ends with a line feed has no empty line after it.
class LineSplitter
{
public:
    // localePoint: a decimal point of the values besides "." (readTypedValue).
    explicit LineSplitter(std::string_view localePoint = {}) : m_line(localePoint) {}

    // Calls onLine(const BoundedLine &) for each line the chunk ends.
    template<typename OnLine>
    void feed(std::string_view chunk, OnLine &&onLine)
    {
        for (std::size_t end; (end = chunk.find('\n')) != std::string_view::npos; chunk.remove_prefix(end + 1)) {
            if (m_open)
                m_line.append(chunk.substr(0, end));
            else
                m_line.setWhole(chunk.substr(0, end));
            onLine(std::as_const(m_line));
            m_line.clear();
            m_open = false;
        }
        if (!chunk.empty()) {
            m_line.append(chunk);
            m_open = true;
        }
    }

    template<typename OnLine>
    void finish(OnLine &&onLine)
    {
        if (m_open)
            onLine(std::as_const(m_line));
        m_line.clear();
        m_open = false;
    }

private:
    BoundedLine m_line;
    bool m_open = false;  // bytes have come since the last line feed
};

}
