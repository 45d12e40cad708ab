// Feeds arbitrary bytes to the command-line converter's line splitter in
// pieces of varying size (the first byte chooses them, and the locale's
// decimal separator: none, "," or the two-byte Arabic one) and compares
// every line with the same line read whole: the number of lines, which lines
// are empty, the typed value to the last bit (or the overflow), whether a
// second decimal point cut it, and the quote a message would show. Stops on any difference, on a quote that holds a
// control character, and on a crash or sanitizer finding.

#include "cli/linesplitter.h"
#include "cli/terminaltext.h"
#include "engine/errors.h"
#include "engine/numbers.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace quantix;

namespace {

[[noreturn]] void fail(const char *what, std::size_t line)
{
    std::fprintf(stderr, "fuzz_linesplitter: %s in line %zu\n", what, line + 1);
    std::abort();
}

template<typename Read>
std::optional<double> valueOf(Read read)
{
    try {
        return read();
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

bool identical(std::optional<double> a, std::optional<double> b)
{
    return a.has_value() == b.has_value() && (!a || std::memcmp(&*a, &*b, sizeof(double)) == 0);
}

struct Line
{
    bool empty;
    std::optional<double> value;
    bool cutAtPoint;
    QString quote;
};

// The lines as a whole-text reader sees them.
std::vector<Line> expectedLines(std::string_view input, std::string_view localePoint)
{
    std::vector<Line> lines;
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        const std::optional<double> value = valueOf([line, localePoint] { return readTypedValue(line, localePoint); });
        TypedValueReader reader(localePoint);
        reader.read(line);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back({line.empty(), value, reader.cutAtPoint(), quotedValue(line, false)});
    }
    return lines;
}

bool isPlainText(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            return false;
    }
    return true;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned choice = data[0];
    const std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
    constexpr std::string_view localePoints[] = {"", ",", "\u066b"};
    const std::string_view localePoint = localePoints[(choice >> 4) % 3];
    const std::vector<Line> expected = expectedLines(input, localePoint);

    std::size_t count = 0;
    const auto check = [&](const BoundedLine &line) {
        if (count >= expected.size())
            fail("a line too many", count);
        const Line &want = expected[count];
        if (line.isEmpty() != want.empty)
            fail("another emptiness", count);
        if (!identical(valueOf([&line] { return line.value(); }), want.value))
            fail("another value", count);
        if (line.cutAtPoint() != want.cutAtPoint)
            fail("another cut at a decimal point", count);
        const QString quote = quotedValue(line.start(), line.cut());
        if (quote != want.quote)
            fail("another quote", count);
        if (!isPlainText(quote))
            fail("a control character in the quote", count);
        ++count;
    };

    // Pieces of 1 to 2^k bytes, k from the first byte, in a sequence it seeds.
    const std::size_t largest = std::size_t(1) << (choice % 12);
    std::uint32_t state = choice * 2654435761u + 1;
    LineSplitter splitter(localePoint);
    for (std::size_t at = 0; at < input.size();) {
        state = state * 1664525u + 1013904223u;
        const std::size_t piece = std::min(input.size() - at, 1 + (state >> 8) % largest);
        splitter.feed(input.substr(at, piece), check);
        at += piece;
    }
    splitter.finish(check);
    if (count != expected.size())
        fail("a line missing", count);
    return 0;
}
