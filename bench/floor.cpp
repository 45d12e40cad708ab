// quantix96-floor: the least work a batch conversion can do, as the yardstick
// for quantix96-convert in scripts/bench.sh. Standard input is read in blocks,
// each line's number goes through std::from_chars, is multiplied by the mile's
// length in kilometres and comes out through std::to_chars with three
// decimals; the results are written in blocks. No Qt, no typed-value rules,
// no rounding of our own: whatever quantix96-convert spends beyond this is
// the price of its rules and its plumbing.

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace {

constexpr std::size_t blockSize = 64 * 1024;
constexpr double kilometresPerMile = 1.609344;
// The longest line one double in fixed notation with three decimals takes:
// 309 integer digits, sign, point, decimals and the line feed.
constexpr std::size_t longestResult = 320;

bool writeAll(const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

class Output
{
public:
    Output() : m_buffer(blockSize + longestResult) {}

    // A line that is no number stays empty, as quantix96-convert leaves it
    // after its message; the yardstick just does not spend a message on it.
    void convert(std::string_view line)
    {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '+'))
            line.remove_prefix(1);
        double value = 0;
        const auto read = std::from_chars(line.data(), line.data() + line.size(), value);
        if (read.ec == std::errc() && read.ptr != line.data()) {
            const auto written = std::to_chars(m_buffer.data() + m_used, m_buffer.data() + m_buffer.size(), value * kilometresPerMile,
                                               std::chars_format::fixed, 3);
            if (written.ec == std::errc())
                m_used = static_cast<std::size_t>(written.ptr - m_buffer.data());
        }
        m_buffer[m_used++] = '\n';
        if (m_used >= blockSize)
            flush();
    }

    bool flush()
    {
        const bool ok = m_ok && writeAll(m_buffer.data(), m_used);
        m_used = 0;
        m_ok = ok;
        return ok;
    }

    bool ok() const { return m_ok; }

private:
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    bool m_ok = true;
};

}

int main()
{
    std::vector<char> input(blockSize);
    std::vector<char> pending;  // the start of a line that a block cut
    Output output;
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, input.data(), input.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            std::fprintf(stderr, "quantix96-floor: cannot read standard input: %s\n", std::strerror(errno));
            return 3;
        }
        if (got == 0)
            break;
        std::string_view block(input.data(), static_cast<std::size_t>(got));
        for (std::size_t end; output.ok() && (end = block.find('\n')) != std::string_view::npos; block.remove_prefix(end + 1)) {
            if (pending.empty()) {
                output.convert(block.substr(0, end));
            } else {
                pending.insert(pending.end(), block.data(), block.data() + end);
                output.convert(std::string_view(pending.data(), pending.size()));
                pending.clear();
            }
        }
        pending.insert(pending.end(), block.begin(), block.end());
        if (!output.ok())
            break;
    }
    if (!pending.empty())
        output.convert(std::string_view(pending.data(), pending.size()));
    if (!output.flush()) {
        std::fprintf(stderr, "quantix96-floor: cannot write standard output: %s\n", std::strerror(errno));
        return 3;
    }
    return 0;
}
