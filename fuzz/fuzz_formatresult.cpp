// Formats an arbitrary double (8 bytes) with the decimals and style of a
// ninth byte. Stops when a value that is not finite gives no overflow error,
// when the quick way and the way by the digits give different texts, when
// the text breaks the result patterns "#.000" / "#.000E+#", when text
// already in the buffer changes, or when the text read back as typed input
// lies further from the value than half a unit of its last shown digit.

#include "engine/errors.h"
#include "engine/numbers.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

using namespace quantix;

namespace {

[[noreturn]] void fail(const char *what, double value, NumberStyle style, const std::string &text)
{
    std::fprintf(stderr, "fuzz_formatresult: %s: %.17g, %d decimals%s gave \"%s\"\n", what, value, style.decimals,
                 style.scientific ? ", scientific" : "", text.c_str());
    std::abort();
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct Shown
{
    bool negative = false;
    std::string_view whole;     // digits before the separator
    std::string_view fraction;  // digits after it
    bool hasExponent = false;
    int exponent = 0;
};

// Splits text of the form [-]digits.digits[E(+|-)digits]; false when it has another form.
bool split(std::string_view text, Shown &shown)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        shown.negative = true;
        ++i;
    }
    const std::size_t wholeStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    shown.whole = text.substr(wholeStart, i - wholeStart);
    if (i == text.size() || text[i] != '.')
        return false;
    const std::size_t fractionStart = ++i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    shown.fraction = text.substr(fractionStart, i - fractionStart);
    if (i == text.size())
        return true;
    if (text[i] != 'E' || i + 2 >= text.size() || (text[i + 1] != '+' && text[i + 1] != '-'))
        return false;
    shown.hasExponent = true;
    const bool negativeExponent = text[i + 1] == '-';
    for (i += 2; i < text.size(); ++i) {
        if (!isDigit(text[i]) || shown.exponent > 10000)
            return false;
        shown.exponent = shown.exponent * 10 + (text[i] - '0');
    }
    if (negativeExponent)
        shown.exponent = -shown.exponent;
    return true;
}

bool allZeros(std::string_view digits)
{
    return digits.find_first_not_of('0') == std::string_view::npos;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 9)
        return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const NumberStyle style{(data[8] & 0x7F) % 9, (data[8] & 0x80) != 0};

    const std::string before = "kept";
    std::string out = before;
    try {
        appendFormattedResult(out, value, style, ".");
    } catch (const ConversionError &error) {
        if (std::isfinite(value) || error.number() != ErrorNumber::Overflow)
            fail("an unexpected error", value, style, out);
        return 0;
    }
    if (!std::isfinite(value))
        fail("no error for a value that is not finite", value, style, out);
    if (out.compare(0, before.size(), before) != 0)
        fail("the text before was changed", value, style, out);
    const std::string text = out.substr(before.size());
    std::string byDigits;
    appendFormattedResultByDigits(byDigits, value, style, ".");
    if (byDigits != text)
        fail("another text than by the digits", value, style, text);

    Shown shown;
    if (!split(text, shown) || static_cast<int>(shown.fraction.size()) != style.decimals || shown.hasExponent != style.scientific)
        fail("a text of the wrong form", value, style, text);
    const bool zero = allZeros(shown.whole) && allZeros(shown.fraction);
    if (shown.whole.size() > 1 && shown.whole[0] == '0')
        fail("a leading zero", value, style, text);
    // Zero shows one digit where the text would otherwise have none before
    // its exponent or none at all: "0." and "0.000E+0", but ".000".
    if ((shown.whole == "0") != (zero && (style.scientific || style.decimals == 0)))
        fail("a zero digit where none belongs, or a text without one", value, style, text);
    if (shown.negative && (zero || !std::signbit(value)))
        fail("a minus sign on a value that is not shown below zero", value, style, text);
    if (!shown.negative && !zero && std::signbit(value))
        fail("no minus sign on a value below zero", value, style, text);
    if (style.scientific && (zero ? shown.exponent != 0 : shown.whole.size() != 1))
        fail("a scientific text not in the form d.ddd", value, style, text);

    // Half a unit of the last shown digit, plus the error of the shortest
    // decimal text of the value, plus the rounding of the text read back.
    const int lastDigit = (style.scientific ? shown.exponent : 0) - style.decimals;
    const double halfUnit = 0.5 * std::pow(10.0, lastDigit) * (1 + 1e-9);
    const double epsilon = std::numeric_limits<double>::epsilon();
    try {
        const double back = readTypedValue(text);
        const double allowed = halfUnit + (std::fabs(value) + std::fabs(back)) * epsilon + std::numeric_limits<double>::denorm_min();
        if (!(std::fabs(back - value) <= allowed))
            fail("a text that reads back too far from the value", value, style, text);
    } catch (const ConversionError &) {
        // Only a value rounded up past the largest double may fail to read back.
        if (!(std::fabs(value) + halfUnit > std::numeric_limits<double>::max()))
            fail("a text that does not read back", value, style, text);
    }
    return 0;
}
