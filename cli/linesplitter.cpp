#include "cli/linesplitter.h"

#include "cli/terminaltext.h"

namespace quantix {

void BoundedLine::append(std::string_view bytes)
{
    if (m_start.size() < shownBytes)
        m_start.append(bytes.substr(0, shownBytes - m_start.size()));
    m_size += static_cast<long long>(bytes.size());
    // The rest of a line after its number is not looked at.
    if (!m_reader.finished())
        m_reader.read(bytes);
}

void BoundedLine::clear()
{
    m_reader.reset();
    m_start.clear();
    m_size = 0;
}

std::string_view BoundedLine::start() const
{
    std::string_view start = m_start;
    if (!cut() && !start.empty() && start.back() == '\r')
        start.remove_suffix(1);
    return start;
}

}
