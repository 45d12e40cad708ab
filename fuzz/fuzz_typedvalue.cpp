// Reads arbitrary bytes as typed input. Besides crashes and sanitizer
// findings it stops on: an error other than an overflow, a result that is
// not finite, a value other than the general reader's (TypedValueReader,
// which readTypedValue passes plain decimals by), a value that changes when
// a non-number character follows the text or that a leading minus does not
// negate, a plain decimal number that the C library's strtod reads as
// another double, and, where the locale's decimal separator is ",", a text
// without a comma or a plain decimal with its point written as a comma that
// reads as another value.

#include "engine/errors.h"
#include "engine/numbers.h"
#include "plaindecimal.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

using namespace quantix;

namespace {

[[noreturn]] void fail(const char *what, std::string_view text)
{
    std::fprintf(stderr, "fuzz_typedvalue: %s for \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

// The value, or empty when reading overflows.
std::optional<double> read(std::string_view text, std::string_view localePoint = {})
{
    try {
        const double value = readTypedValue(text, localePoint);
        if (!std::isfinite(value))
            fail("a value that is not finite", text);
        return value;
    } catch (const ConversionError &error) {
        if (error.number() != ErrorNumber::Overflow)
            fail("an error other than an overflow", text);
        return std::nullopt;
    }
}

bool same(std::optional<double> a, std::optional<double> b)
{
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

// The general reader, behind readTypedValue's quick way for plain decimals.
std::optional<double> readInPieces(std::string_view text)
{
    TypedValueReader reader;
    reader.read(text);
    try {
        return reader.value();
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

bool identical(std::optional<double> a, std::optional<double> b)
{
    return same(a, b) && (!a || std::signbit(*a) == std::signbit(*b));
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<double> value = read(text);
    if (!identical(value, readInPieces(text)))
        fail("another value than the general reader's", text);

    std::string longer(text);
    longer += 'x';
    if (!same(read(longer), value))
        fail("a different value when text follows", text);

    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] != '+' && text[first] != '-' && text[first] != '&') {
        // Built in two steps: GCC 12 warns (-Wrestrict) about "-" + string.
        std::string negatedText(1, '-');
        negatedText += text;
        const std::optional<double> negated = read(negatedText);
        if (negated.has_value() != value.has_value() || (value && !(*negated == -*value && std::signbit(*negated) != std::signbit(*value))))
            fail("a leading minus that does not negate", text);
    }

    // A comma as the locale's separator adds a decimal point and changes
    // nothing else: a text without one reads as before, and a plain decimal
    // reads the same with its point written as a comma.
    if (text.find(',') == std::string_view::npos && !same(read(text, ","), value))
        fail("another value where the locale's separator is \",\"", text);
    if (isPlainDecimal(text)) {
        std::string comma(text);
        if (const std::size_t point = comma.find('.'); point != std::string::npos)
            comma[point] = ',';
        if (!same(read(comma, ","), value))
            fail("another value with a comma for the point", text);
    }

    if (isPlainDecimal(text)) {
        const std::string terminated(text);
        errno = 0;
        const double expected = std::strtod(terminated.c_str(), nullptr);
        const bool overflow = errno == ERANGE && std::isinf(expected);
        if (overflow ? value.has_value() : !same(value, expected))
            fail("another value than strtod", text);
    }
    return 0;
}
