#include "numbers.h"

#include "conversionerror.h"

#include <array>
#include <charconv>
#include <cmath>

namespace quantix {

namespace {

constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr int digitValue(char c, int base)
{
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

// Reads text from position i, skipping blanks; a small cursor over the input.
struct Scanner
{
    std::string_view text;
    std::size_t i = 0;

    char peek()
    {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        return i < text.size() ? text[i] : '\0';
    }
};

double readRadixNumber(Scanner &in, int base)
{
    double value = 0;
    for (int d; (d = digitValue(in.peek(), base)) >= 0; ++in.i)
        value = value * base + d;
    if (std::isinf(value))
        throw ConversionError(ConversionError::Overflow);
    return value;
}

}

double readTypedValue(std::string_view text)
{
    Scanner in{text};
    if (in.peek() == '&') {
        ++in.i;
        const char radix = in.peek();
        if (radix == 'h' || radix == 'H') {
            ++in.i;
            return readRadixNumber(in, 16);
        }
        if (radix == 'o' || radix == 'O') {
            ++in.i;
            return readRadixNumber(in, 8);
        }
        return 0;
    }

    bool negative = false;
    if (const char c = in.peek(); c == '+' || c == '-') {
        negative = c == '-';
        ++in.i;
    }

    std::string mantissa;  // significant digits, leading zeros dropped
    long long pointShift = 0;  // decimal exponent of the digit after the last one in mantissa
    bool seenPoint = false;
    bool seenDigit = false;
    for (char c; (c = in.peek()) != '\0'; ++in.i) {
        if (isDigit(c)) {
            seenDigit = true;
            if (c == '0' && mantissa.empty()) {
                if (seenPoint)
                    --pointShift;
                continue;
            }
            mantissa.push_back(c);
            if (seenPoint)
                --pointShift;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit || mantissa.empty())
        return negative ? -0.0 : 0.0;

    long long exponent = 0;
    if (const char c = in.peek(); c == 'e' || c == 'E' || c == 'd' || c == 'D') {
        Scanner ahead = in;
        ++ahead.i;
        bool negativeExponent = false;
        if (const char s = ahead.peek(); s == '+' || s == '-') {
            negativeExponent = s == '-';
            ++ahead.i;
        }
        if (isDigit(ahead.peek())) {
            constexpr long long limit = 1'000'000'000'000LL;  // far beyond any double
            for (char d; isDigit(d = ahead.peek()); ++ahead.i)
                exponent = std::min(limit, exponent * 10 + (d - '0'));
            if (negativeExponent)
                exponent = -exponent;
        }
    }

    const long long scale = pointShift + exponent;
    // The value is mantissa × 10^scale; its leading digit stands at 10^magnitude.
    const long long magnitude = scale + static_cast<long long>(mantissa.size()) - 1;
    if (magnitude > 400)
        throw ConversionError(ConversionError::Overflow);
    if (magnitude < -400)
        return negative ? -0.0 : 0.0;

    mantissa.push_back('e');
    mantissa += std::to_string(scale);
    double value = 0;
    const auto [end, error] = std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (magnitude > 0)
            throw ConversionError(ConversionError::Overflow);
        value = 0;
    }
    if (std::isinf(value))
        throw ConversionError(ConversionError::Overflow);
    return negative ? -value : value;
}

double readTypedValue(QStringView text)
{
    return readTypedValue(std::string_view(text.toUtf8()));
}

std::optional<double> readStoredFactor(QStringView text, const QLocale &locale)
{
    text = text.trimmed();
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

// A finite non-negative double as its shortest decimal digits: the value is
// 0.d1d2d3... × 10^point.
struct Digits
{
    std::array<char, 32> d{};
    int count = 0;
    int point = 0;

    char at(int index) const { return index >= 0 && index < count ? d[static_cast<std::size_t>(index)] : '0'; }

    // Keeps the first n digits, rounding half away from zero on the digit
    // after them; a carry past the first digit moves the point.
    void roundTo(int n)
    {
        if (n >= count)
            return;
        if (n < 0) {
            count = 0;
            return;
        }
        const bool up = d[static_cast<std::size_t>(n)] >= '5';
        count = n;
        if (!up)
            return;
        int i = count - 1;
        while (i >= 0 && d[static_cast<std::size_t>(i)] == '9')
            --i;
        if (i < 0) {
            d[0] = '1';
            count = 1;
            ++point;
        } else {
            ++d[static_cast<std::size_t>(i)];
            count = i + 1;
        }
    }

    bool isZero() const { return count == 0; }
};

Digits shortestDigits(double magnitude)
{
    Digits digits;
    if (magnitude == 0)
        return digits;
    std::array<char, 40> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), magnitude, std::chars_format::scientific);
    // "d.ddde+xx" or "de+xx"
    const char *p = text.data();
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            digits.d[static_cast<std::size_t>(digits.count++)] = *p;
    }
    int exponent = 0;
    std::from_chars(*(p + 1) == '+' ? p + 2 : p + 1, result.ptr, exponent);
    while (digits.count > 0 && digits.d[static_cast<std::size_t>(digits.count - 1)] == '0')
        --digits.count;
    digits.point = exponent + 1;
    return digits;
}

void appendRegular(std::string &out, Digits digits, int decimals, std::string_view separator)
{
    digits.roundTo(digits.point + decimals);
    for (int i = 0; i < digits.point; ++i)
        out.push_back(digits.at(i));
    out += separator;
    for (int i = 0; i < decimals; ++i)
        out.push_back(digits.at(digits.point + i));
}

void appendScientific(std::string &out, Digits digits, int decimals, std::string_view separator)
{
    if (digits.isZero()) {
        out += separator;
        out.append(static_cast<std::size_t>(decimals), '0');
        out += "E+0";
        return;
    }
    digits.roundTo(decimals + 1);
    out.push_back(digits.at(0));
    out += separator;
    for (int i = 1; i <= decimals; ++i)
        out.push_back(digits.at(i));
    const int exponent = digits.point - 1;
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    std::array<char, 8> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), exponent < 0 ? -exponent : exponent);
    out.append(text.data(), result.ptr);
}

}

void appendFormattedResult(std::string &out, double value, NumberStyle style, std::string_view separator)
{
    if (!std::isfinite(value))
        throw ConversionError(ConversionError::Overflow);
    const int decimals = style.decimals < 0 || style.decimals > 8 ? 3 : style.decimals;
    Digits digits = shortestDigits(std::fabs(value));
    const std::size_t start = out.size();
    out.push_back('-');
    if (style.scientific)
        appendScientific(out, digits, decimals, separator);
    else
        appendRegular(out, digits, decimals, separator);
    // A value that rounds to zero shows no sign.
    const bool zero = out.find_first_of("123456789", start) == std::string::npos;
    if (!std::signbit(value) || zero)
        out.erase(start, 1);
}

QString formatResult(double value, NumberStyle style, QStringView decimalSeparator)
{
    std::string text;
    appendFormattedResult(text, value, style, decimalSeparator.toUtf8().toStdString());
    return QString::fromStdString(text);
}

}
