#include "engine/numbers.h"

#include "engine/errors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

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

constexpr bool isExponentMark(char c)
{
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// A byte that no typed number is written with: punctuation other than the
// point, the signs and "&", or a byte of a character beyond ASCII.
constexpr bool isOutsideNumbers(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80)
        return true;
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return byte > 0x20 && byte < 0x7F && !letter && !isDigit(c) && c != '.' && c != '+' && c != '-' && c != '&';
}

}

// Only a separator that cannot be taken for part of a number is another
// decimal point; "." itself is one already.
TypedValueReader::TypedValueReader(std::string_view localePoint)
{
    const bool usable = !localePoint.empty() && localePoint.size() <= m_localePoint.size() && localePoint != "."
        && std::all_of(localePoint.begin(), localePoint.end(), isOutsideNumbers);
    if (usable) {
        std::copy(localePoint.begin(), localePoint.end(), m_localePoint.begin());
        m_localePointSize = static_cast<unsigned char>(localePoint.size());
    }
    reset();
}

// The digits themselves need no clearing: m_count says how many are valid.
void TypedValueReader::reset()
{
    m_state = State::Start;
    m_negative = false;
    m_seenPoint = false;
    m_negativeExponent = false;
    m_droppedNonZero = false;
    m_cutAtPoint = false;
    m_matched = 0;
    m_radix = 0;
    m_count = 0;
    m_dropped = 0;
    m_pointShift = 0;
    m_exponent = 0;
    m_length = 0;
    m_radixValue = 0;
}

// A second decimal point ends the number. Where "." is the only one, that is
// the leading-number rule as ever; where the locale has another, the text
// may have meant digit grouping ("1.234,5"), so the cut is noted.
bool TypedValueReader::takePoint()
{
    if (m_seenPoint) {
        m_cutAtPoint = m_localePointSize != 0;
        return false;
    }
    m_seenPoint = true;
    return true;
}

// False when c is not part of the number.
bool TypedValueReader::take(char c)
{
    if (m_state == State::LocalePoint) {
        if (c != m_localePoint[m_matched]) {
            // Its first bytes began another character.
            m_length -= m_matched;
            return false;
        }
        if (++m_matched < m_localePointSize)
            return true;
        m_state = State::Mantissa;
        if (!takePoint()) {
            m_length -= m_localePointSize - 1;
            return false;
        }
        return true;
    }
    if (isBlank(c))
        return true;
    switch (m_state) {
    case State::Start:
        if (c == '&') {
            m_state = State::Ampersand;
            return true;
        }
        m_state = State::Mantissa;
        if (c == '+' || c == '-') {
            m_negative = c == '-';
            return true;
        }
        [[fallthrough]];
    case State::Mantissa:
        if (isDigit(c)) {
            addDigit(c);
            return true;
        }
        if (c == '.')
            return takePoint();
        if (m_localePointSize != 0 && c == m_localePoint[0]) {
            if (m_localePointSize == 1)
                return takePoint();
            m_matched = 1;
            m_state = State::LocalePoint;
            return true;
        }
        // Without a significant digit the value is zero whatever follows.
        if (m_count == 0 || !isExponentMark(c))
            return false;
        m_state = State::ExponentMark;
        return true;
    case State::ExponentMark:
        if (c == '+' || c == '-') {
            m_negativeExponent = c == '-';
            m_state = State::ExponentSign;
            return true;
        }
        [[fallthrough]];
    case State::ExponentSign:
        if (!isDigit(c)) {
            // An exponent mark without digits is no exponent.
            m_negativeExponent = false;
            return false;
        }
        m_state = State::ExponentDigits;
        [[fallthrough]];
    case State::ExponentDigits:
        if (!isDigit(c))
            return false;
        {
            constexpr long long limit = 1'000'000'000'000LL;  // far beyond any double
            m_exponent = std::min(limit, m_exponent * 10 + (c - '0'));
        }
        return true;
    case State::Ampersand:
        m_radix = c == 'h' || c == 'H' ? 16 : c == 'o' || c == 'O' ? 8 : 0;
        if (m_radix == 0)
            return false;
        m_state = State::Radix;
        return true;
    case State::Radix:
        if (const int d = digitValue(c, m_radix); d >= 0) {
            m_radixValue = m_radixValue * m_radix + d;
            return true;
        }
        return false;
    case State::LocalePoint:
    case State::Done:
        break;
    }
    return false;
}

bool TypedValueReader::read(std::string_view piece)
{
    if (m_state == State::Done)
        return false;
    for (const char c : piece) {
        // Most bytes are the mantissa's digits: they take the short way.
        if (m_state == State::Mantissa && isDigit(c)) {
            addDigit(c);
            ++m_length;
            continue;
        }
        if (!take(c)) {
            m_state = State::Done;
            return false;
        }
        ++m_length;
    }
    return true;
}

void TypedValueReader::addDigit(char c)
{
    if (m_seenPoint)
        --m_pointShift;
    if (m_count < keptDigits) {
        if (c != '0' || m_count != 0)
            m_digits[m_count++] = c;
        return;
    }
    ++m_dropped;
    m_droppedNonZero |= c != '0';
}

double TypedValueReader::value() const
{
    if (m_radix != 0) {
        if (std::isinf(m_radixValue))
            throw ConversionError(ErrorNumber::Overflow);
        return m_radixValue;
    }
    return decimalValue();
}

// The kept digits are followed by a 1 when a dropped digit was not zero:
// every halfway point between two doubles has fewer digits than are kept,
// so the shortened text lies on the same side of each of them as the whole
// one and rounds to the same double.
double TypedValueReader::decimalValue() const
{
    const double zero = m_negative ? -0.0 : 0.0;
    if (m_count == 0)
        return zero;
    long long scale = m_pointShift + (m_negativeExponent ? -m_exponent : m_exponent) + m_dropped;
    // The value is digits × 10^scale; its leading digit stands at 10^magnitude.
    const long long magnitude = scale + static_cast<long long>(m_count) - 1;
    if (magnitude > 400)
        throw ConversionError(ErrorNumber::Overflow);
    if (magnitude < -400)
        return zero;

    std::array<char, keptDigits + 32> text;
    std::copy_n(m_digits.begin(), m_count, text.begin());
    std::size_t size = m_count;
    if (m_droppedNonZero) {
        text[size++] = '1';
        --scale;
    }
    text[size++] = 'e';
    char *const end = std::to_chars(text.data() + size, text.data() + text.size(), scale).ptr;
    double value = 0;
    if (std::from_chars(text.data(), end, value).ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            throw ConversionError(ErrorNumber::Overflow);
        value = 0;
    }
    if (std::isinf(value))
        throw ConversionError(ErrorNumber::Overflow);
    return m_negative ? -value : value;
}

// With at most 19 significant digits std::from_chars reads the text quickly,
// and as TypedValueReader does: both round the same decimal number
// correctly.
std::optional<double> readPlainDecimal(std::string_view text)
{
    const char *p = text.data();
    const char *end = p + text.size();
    if (p != end && end[-1] == '\r')
        --end;
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+'))
        ++p;
    const char *const number = p;
    bool anyDigit = false;
    int significant = 0;
    const auto skipDigits = [&] {
        for (; p != end && isDigit(*p); ++p) {
            anyDigit = true;
            significant += *p != '0' || significant != 0;
        }
    };
    skipDigits();
    if (p != end && *p == '.') {
        ++p;
        skipDigits();
    }
    if (!anyDigit || significant > 19)
        return std::nullopt;
    if (p != end && (*p == 'e' || *p == 'E')) {
        if (++p != end && (*p == '+' || *p == '-'))
            ++p;
        const char *const exponent = p;
        while (p != end && isDigit(*p))
            ++p;
        if (p == exponent || p - exponent > 4)
            return std::nullopt;
    }
    if (p != end)
        return std::nullopt;
    double value = 0;
    const auto [read, error] = std::from_chars(number, end, value);
    if (read != end || error != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

double readTypedValue(std::string_view text, std::string_view localePoint)
{
    if (const std::optional<double> value = readPlainDecimal(text))
        return *value;
    TypedValueReader reader(localePoint);
    reader.read(text);
    return reader.value();
}

double readTypedValue(QStringView text, QStringView localePoint)
{
    return readTypedValue(std::string_view(text.toUtf8()), std::string_view(localePoint.toUtf8()));
}

std::optional<QString> typedValueCut(QStringView text, QStringView localePoint)
{
    const QByteArray typed = text.toUtf8();
    TypedValueReader reader(std::string_view(localePoint.toUtf8()));
    reader.read(std::string_view(typed));
    if (!reader.cutAtPoint())
        return std::nullopt;
    return QString::fromUtf8(typed.first(static_cast<qsizetype>(reader.numberLength()))).trimmed();
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

struct Separators
{
    std::string_view decimal;
    std::string_view group;  // empty: no grouping
};

// The digits are rounded already; those past the stored ones are zeros.
void appendRegular(std::string &out, const Digits &digits, int decimals, Separators separators, bool leadingZero)
{
    for (int i = 0; i < digits.point; ++i) {
        if (i != 0 && (digits.point - i) % 3 == 0)
            out += separators.group;
        out.push_back(digits.at(i));
    }
    // Without decimals a value below one half would leave the separator alone.
    if (digits.point <= 0 && (decimals == 0 || leadingZero))
        out.push_back('0');
    out += separators.decimal;
    for (int i = 0; i < decimals; ++i)
        out.push_back(digits.at(digits.point + i));
}

// integerDigits digits, the separator, decimals digits, then the exponent
// that makes up for the integer digits.
void appendWithExponent(std::string &out, const Digits &digits, int integerDigits, int decimals, std::string_view separator)
{
    for (int i = 0; i < integerDigits; ++i)
        out.push_back(digits.at(i));
    out += separator;
    for (int i = 0; i < decimals; ++i)
        out.push_back(digits.at(integerDigits + i));
    const int exponent = digits.isZero() ? 0 : digits.point - integerDigits;
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    std::array<char, 8> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), exponent < 0 ? -exponent : exponent);
    out.append(text.data(), result.ptr);
}

int floorToThree(int exponent)
{
    return exponent >= 0 ? exponent / 3 * 3 : -((2 - exponent) / 3 * 3);
}

// The integer digits of the engineering form: the leading one stands at
// 10^(point - 1), the exponent at the multiple of 3 at or below it.
int engineeringDigits(const Digits &digits)
{
    const int exponent = digits.point - 1;
    return exponent - floorToThree(exponent) + 1;
}

int shownDecimals(const NumberStyle &style)
{
    return style.decimals < 0 || style.decimals > 8 ? 3 : style.decimals;
}

constexpr std::array<std::uint64_t, 9> powersOfTen = {1, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000};

// The regular style without the decimal text: the value times 10^decimals,
// rounded to a whole number, gives the digits shown. The shortest decimal
// text of the value lies within half an ulp of it, the product within half
// an ulp of its own, so together they stay within 1.5 ulps of the scaled
// value; rounding the binary value and rounding the text then agree unless
// the scaled value lies that close to a half. False, with nothing written,
// for such a value and for values too large for exact whole numbers (and
// for those that are not finite), which the digits path formats.
bool appendRegularFromBinary(std::string &out, double value, int decimals, std::string_view separator, bool leadingZero)
{
    const std::uint64_t unit = powersOfTen[static_cast<std::size_t>(decimals)];
    const double scaled = std::fabs(value) * static_cast<double>(unit);
    if (!(scaled < 0x1p52))
        return false;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;  // exact
    // 8 ulps of the scaled value, beyond the 1.5 that can separate the two.
    if (std::fabs(fraction - 0.5) <= scaled * 0x1p-49)
        return false;
    const std::uint64_t units = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    if (std::signbit(value) && units != 0)
        out.push_back('-');
    std::array<char, 24> text;
    const std::uint64_t integer = units / unit;
    // Without decimals a value below one half would leave the separator alone.
    if (integer != 0 || decimals == 0 || leadingZero)
        out.append(text.data(), std::to_chars(text.data(), text.data() + text.size(), integer).ptr);
    out += separator;
    std::uint64_t rest = units % unit;
    for (int i = decimals; i-- > 0; rest /= 10)
        text[static_cast<std::size_t>(i)] = static_cast<char>('0' + rest % 10);
    out.append(text.data(), static_cast<std::size_t>(decimals));
    return true;
}

// The magnitudes that significant digits write in full: 1E-4 to below 1E+15.
constexpr int fullFormSmallest = -4;
constexpr int fullFormLargest = 14;

void appendRounded(std::string &out, const Digits &digits, const NumberStyle &style, int decimals, Separators separators)
{
    if (style.scientific && style.engineering) {
        appendWithExponent(out, digits, digits.isZero() ? 1 : engineeringDigits(digits), decimals, separators.decimal);
    } else if (style.scientific) {
        appendWithExponent(out, digits, 1, decimals, separators.decimal);
    } else if (style.significant) {
        const int count = std::clamp(style.significantDigits, 1, 15);
        const int exponent = digits.point - 1;
        if (!digits.isZero() && (exponent < fullFormSmallest || exponent > fullFormLargest))
            appendWithExponent(out, digits, 1, count - 1, separators.decimal);
        else
            appendRegular(out, digits, digits.isZero() ? count - 1 : std::max(0, count - digits.point), separators, style.leadingZero);
    } else {
        appendRegular(out, digits, decimals, separators, style.leadingZero);
    }
}

int roundingPlace(const Digits &digits, const NumberStyle &style, int decimals)
{
    if (style.scientific)
        // A carry leaves the digit "1", which the exponent after it places.
        return style.engineering && !digits.isZero() ? engineeringDigits(digits) + decimals : decimals + 1;
    if (style.significant)
        return std::clamp(style.significantDigits, 1, 15);
    return digits.point + decimals;
}

}

void appendFormattedResultByDigits(std::string &out, double value, const NumberStyle &style, std::string_view separator,
                                   std::string_view groupSeparator)
{
    if (!std::isfinite(value))
        throw ConversionError(ErrorNumber::Overflow);
    const int decimals = shownDecimals(style);
    Digits digits = shortestDigits(std::fabs(value));
    digits.roundTo(roundingPlace(digits, style, decimals));
    // A value that rounds to zero shows no sign.
    if (std::signbit(value) && !digits.isZero())
        out.push_back('-');
    const bool grouped = style.grouping && !style.scientific && groupSeparator != separator;
    appendRounded(out, digits, style, decimals, {separator, grouped ? groupSeparator : std::string_view()});
}

void appendFormattedResult(std::string &out, double value, const NumberStyle &style, std::string_view separator,
                           std::string_view groupSeparator)
{
    // The further styles stay out of the way of the regular one.
    if (!style.scientific && !style.significant && !style.grouping
        && appendRegularFromBinary(out, value, shownDecimals(style), separator, style.leadingZero))
        return;
    appendFormattedResultByDigits(out, value, style, separator, groupSeparator);
}

QString formatResult(double value, const NumberStyle &style, QStringView decimalSeparator, QStringView groupSeparator)
{
    std::string text;
    appendFormattedResult(text, value, style, decimalSeparator.toUtf8().toStdString(), groupSeparator.toUtf8().toStdString());
    return QString::fromStdString(text);
}

QString withoutGrouping(const QString &shown, QStringView groupSeparator)
{
    QString text = shown;
    if (!groupSeparator.isEmpty())
        text.remove(groupSeparator.toString());
    return text;
}

}
