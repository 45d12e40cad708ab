#include "cli/linesplitter.h"

namespace quantix {

// Only what is no plain decimal takes the byte-by-byte reader.
void BoundedLine::setWhole(std::string_view line)
{
    m_start = line;
    m_size = static_cast<long long>(line.size());
    m_plain = readPlainDecimal(line);
    if (!m_plain)
        m_reader.read(line);
}

void BoundedLine::append(std::string_view bytes)
{
    if (m_kept.size() < shownBytes)
        m_kept.append(bytes.substr(0, shownBytes - m_kept.size()));
    m_start = m_kept;
    m_size += static_cast<long long>(bytes.size());
    // The rest of a line after its number is not looked at.
    if (!m_reader.finished())
        m_reader.read(bytes);
}

void BoundedLine::clear()
{
    m_reader.reset();
    m_plain.reset();
    m_kept.clear();
    m_start = {};
    m_size = 0;
}

std::string_view BoundedLine::start() const
{
    std::string_view start = m_start.substr(0, shownBytes);
    if (!cut() && !start.empty() && start.back() == '\r')
        start.remove_suffix(1);
    return start;
}

}
