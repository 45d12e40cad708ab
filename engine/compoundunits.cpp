#include "engine/compoundunits.h"

#include "engine/errors.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <string>

namespace quantix {

namespace {

constexpr int feetAndInchesId = 1401;

constexpr std::array<CompoundUnit, 5> compoundUnits{{
    {1401, 2, {12, 0}, {" ft ", " in", ""}},
    {1402, 2, {16, 0}, {" lb ", " oz", ""}},
    {1403, 2, {14, 0}, {" st ", " lb", ""}},
    {1404, 3, {60, 60}, {" h ", " min ", " s"}},
    {1405, 3, {60, 60}, {"° ", "′ ", "″"}},
}};

// The marks people type after a part's number, for each unit.
struct Mark
{
    int unitId;
    int part;
    const char16_t *text;
};

constexpr Mark marks[] = {
    {1401, 0, u"ft"}, {1401, 0, u"feet"}, {1401, 0, u"foot"}, {1401, 0, u"'"}, {1401, 0, u"′"}, {1401, 0, u"’"},
    {1401, 1, u"in"}, {1401, 1, u"inch"}, {1401, 1, u"inches"}, {1401, 1, u"\""}, {1401, 1, u"''"}, {1401, 1, u"″"}, {1401, 1, u"”"},
    {inchUnitId, 0, u"in"}, {inchUnitId, 0, u"inch"}, {inchUnitId, 0, u"inches"}, {inchUnitId, 0, u"\""}, {inchUnitId, 0, u"″"},
    {1402, 0, u"lb"}, {1402, 0, u"lbs"}, {1402, 0, u"pound"}, {1402, 0, u"pounds"},
    {1402, 1, u"oz"}, {1402, 1, u"ounce"}, {1402, 1, u"ounces"},
    {1403, 0, u"st"}, {1403, 0, u"stone"}, {1403, 0, u"stones"},
    {1403, 1, u"lb"}, {1403, 1, u"lbs"}, {1403, 1, u"pound"}, {1403, 1, u"pounds"},
    {1404, 0, u"h"}, {1404, 0, u"hr"}, {1404, 0, u"hour"}, {1404, 0, u"hours"},
    {1404, 1, u"m"}, {1404, 1, u"min"}, {1404, 1, u"minute"}, {1404, 1, u"minutes"},
    {1404, 2, u"s"}, {1404, 2, u"sec"}, {1404, 2, u"second"}, {1404, 2, u"seconds"},
    {1405, 0, u"°"}, {1405, 0, u"d"}, {1405, 0, u"deg"},
    {1405, 1, u"'"}, {1405, 1, u"′"}, {1405, 1, u"’"}, {1405, 1, u"m"}, {1405, 1, u"min"},
    {1405, 2, u"\""}, {1405, 2, u"''"}, {1405, 2, u"″"}, {1405, 2, u"”"}, {1405, 2, u"s"}, {1405, 2, u"sec"},
};

// How many of the smallest part each part counts.
std::array<std::int64_t, 3> multipliers(const CompoundUnit &unit)
{
    std::array<std::int64_t, 3> m{1, 1, 1};
    for (int i = unit.parts - 2; i >= 0; --i)
        m[static_cast<std::size_t>(i)] = m[static_cast<std::size_t>(i + 1)] * unit.ratios[i];
    return m;
}

// Whole numbers of the smallest part stay exact in a double up to 2^53.
constexpr double countable = 0x1p53;

QString largestPartAlone(double value, const CompoundUnit &unit, const NumberStyle &style, QStringView separator)
{
    QString label = QString::fromUtf8(unit.labels[0]);
    while (label.endsWith(u' '))
        label.chop(1);
    return formatResult(value / double(multipliers(unit)[0]), style, separator) + label;
}

std::int64_t roundedToFraction(double magnitude, int fraction)
{
    return static_cast<std::int64_t>(std::round(magnitude * fraction));  // halves away from zero
}

// "a/b" reduced; empty for none.
QString fractionText(std::int64_t numerator, int fraction)
{
    if (numerator == 0)
        return {};
    const std::int64_t divisor = std::gcd(numerator, std::int64_t(fraction));
    return QString::number(numerator / divisor) + u'/' + QString::number(fraction / divisor);
}

}

double largestPartSize(const CompoundUnit &unit)
{
    return double(multipliers(unit)[0]);
}

bool isInchFraction(int fraction)
{
    return fraction == 2 || fraction == 4 || fraction == 8 || fraction == 16 || fraction == 32 || fraction == 64;
}

const CompoundUnit *typedInParts(int unitId)
{
    static constexpr CompoundUnit inchAlone{inchUnitId, 1, {1, 1}, {" in", "", ""}};
    return unitId == inchUnitId ? &inchAlone : compoundUnit(unitId);
}

const CompoundUnit *compoundUnit(int unitId)
{
    for (const CompoundUnit &unit : compoundUnits) {
        if (unit.id == unitId)
            return &unit;
    }
    return nullptr;
}

QString formatCompound(double value, const CompoundUnit &unit, const NumberStyle &style, QStringView separator)
{
    if (!std::isfinite(value))
        throw ConversionError(ErrorNumber::Overflow);
    const double magnitude = std::fabs(value);
    const bool fractional = unit.id == feetAndInchesId && isInchFraction(style.inchFraction);
    if (magnitude * (fractional ? style.inchFraction : 1) >= countable)
        return largestPartAlone(value, unit, style, separator);

    // The smallest part rounded as it is shown decides every carry.
    std::int64_t whole = 0;
    QString last;
    bool zero = false;
    if (fractional) {
        const std::int64_t units = roundedToFraction(magnitude, style.inchFraction);
        whole = units / style.inchFraction;
        const QString fraction = fractionText(units % style.inchFraction, style.inchFraction);
        zero = units == 0;
        last = fraction.isEmpty() ? QString::number(whole % unit.ratios[unit.parts - 2])
                                  : (whole % unit.ratios[unit.parts - 2] == 0 ? fraction
                                                                               : QString::number(whole % unit.ratios[unit.parts - 2]) + u' ' + fraction);
    } else {
        NumberStyle regular;
        regular.decimals = style.decimals;
        regular.leadingZero = style.leadingZero;
        std::string rounded;
        appendFormattedResult(rounded, magnitude, regular, ".");
        const std::size_t point = rounded.find('.');
        const std::string integer = rounded.substr(0, point);
        const std::string decimals = rounded.substr(point + 1);
        whole = integer.empty() ? 0 : std::stoll(integer);
        zero = whole == 0 && decimals.find_first_not_of('0') == std::string::npos;
        const std::int64_t lastWhole = whole % unit.ratios[unit.parts - 2];
        const bool digitBefore = lastWhole != 0 || style.leadingZero || decimals.empty();
        last = (digitBefore ? QString::number(lastWhole) : QString()) + separator + QString::fromStdString(decimals);
    }
    const std::array<std::int64_t, 3> m = multipliers(unit);
    QString text = value < 0 && !zero ? QStringLiteral("-") : QString();
    std::int64_t rest = whole;
    for (int i = 0; i < unit.parts - 1; ++i) {
        const std::int64_t partWhole = rest / (m[static_cast<std::size_t>(i)]);
        rest -= partWhole * m[static_cast<std::size_t>(i)];
        text += QString::number(partWhole) + QString::fromUtf8(unit.labels[i]);
    }
    return text + last + QString::fromUtf8(unit.labels[unit.parts - 1]);
}

QString formatInchFraction(double inches, int fraction)
{
    if (!std::isfinite(inches))
        throw ConversionError(ErrorNumber::Overflow);
    const double magnitude = std::fabs(inches);
    if (!isInchFraction(fraction) || magnitude * fraction >= countable)
        return formatResult(inches, NumberStyle(), u".");
    const std::int64_t units = roundedToFraction(magnitude, fraction);
    const std::int64_t whole = units / fraction;
    const QString part = fractionText(units % fraction, fraction);
    QString text = inches < 0 && units != 0 ? QStringLiteral("-") : QString();
    if (whole != 0 || part.isEmpty())
        text += QString::number(whole);
    if (!part.isEmpty())
        text += (whole != 0 ? QStringLiteral(" ") : QString()) + part;
    return text;
}

bool hasOwnForm(int unitId, const NumberStyle &style)
{
    return compoundUnit(unitId) || (unitId == inchUnitId && isInchFraction(style.inchFraction));
}

QString formatUnitResult(double value, int unitId, const NumberStyle &style, QStringView decimalSeparator, QStringView groupSeparator)
{
    if (const CompoundUnit *unit = compoundUnit(unitId))
        return formatCompound(value, *unit, style, decimalSeparator);
    if (unitId == inchUnitId && isInchFraction(style.inchFraction))
        return formatInchFraction(value, style.inchFraction);
    return formatResult(value, style, decimalSeparator, groupSeparator);
}

namespace {

class PartsReader
{
public:
    PartsReader(QStringView text, const CompoundUnit &unit, QStringView separator)
        : m_text(text)
        , m_unit(unit)
        , m_separator(separator)
    {
    }

    std::optional<double> read()
    {
        skipBlanks();
        bool negative = false;
        if (m_at < m_text.size() && (m_text[m_at] == u'-' || m_text[m_at] == u'+')) {
            negative = m_text[m_at] == u'-';
            ++m_at;
        }
        std::array<double, 3> values{};
        int next = 0;
        while (true) {
            skipBlanks();
            if (next > 0 && m_at < m_text.size() && m_text[m_at] == u':') {
                ++m_at;
                skipBlanks();
            }
            if (m_at == m_text.size())
                break;
            std::optional<double> number = readNumber();
            if (!number)
                return std::nullopt;
            if (const std::optional<double> fraction = readFraction(*number))
                number = *fraction;
            skipBlanks();
            const int part = readMark().value_or(next);
            if (part < next || part >= m_unit.parts)
                return std::nullopt;
            values[static_cast<std::size_t>(part)] = *number;
            next = part + 1;
        }
        if (next == 0)
            return std::nullopt;
        const std::array<std::int64_t, 3> m = multipliers(m_unit);
        double total = 0;
        for (int i = 0; i < m_unit.parts; ++i)
            total += values[static_cast<std::size_t>(i)] * double(m[static_cast<std::size_t>(i)]);
        return negative ? -total : total;
    }

private:
    void skipBlanks()
    {
        while (m_at < m_text.size() && m_text[m_at].isSpace())
            ++m_at;
    }

    bool isPoint(qsizetype at) const
    {
        return m_text[at] == u'.' || (!m_separator.isEmpty() && m_text.mid(at).startsWith(m_separator));
    }

    qsizetype digitsAt(qsizetype at) const
    {
        qsizetype end = at;
        while (end < m_text.size() && m_text[end].isDigit() && m_text[end].unicode() < 0x80)
            ++end;
        return end - at;
    }

    // Digits with at most one decimal point.
    std::optional<double> readNumber()
    {
        const qsizetype start = m_at;
        qsizetype digits = digitsAt(m_at);
        m_at += digits;
        if (m_at < m_text.size() && isPoint(m_at)) {
            m_at += m_text[m_at] == u'.' ? 1 : m_separator.size();
            const qsizetype after = digitsAt(m_at);
            m_at += after;
            digits += after;
        }
        if (digits == 0)
            return std::nullopt;
        return readTypedValue(m_text.mid(start, m_at - start), m_separator);
    }

    // "1/2" right after a number is that fraction; " 1/2" after a whole
    // number is added to it.
    std::optional<double> readFraction(double number)
    {
        const qsizetype start = m_at;
        double whole = 0;
        if (m_at < m_text.size() && m_text[m_at] == u'/') {
            ++m_at;
            const qsizetype denominator = digitsAt(m_at);
            if (denominator == 0 || number != std::floor(number)) {
                m_at = start;
                return std::nullopt;
            }
            const double d = m_text.mid(m_at, denominator).toDouble();
            m_at += denominator;
            return d == 0 ? std::nullopt : std::optional<double>(number / d);
        }
        skipBlanks();
        const qsizetype numerator = digitsAt(m_at);
        if (numerator == 0 || m_at + numerator >= m_text.size() || m_text[m_at + numerator] != u'/' || number != std::floor(number)) {
            m_at = start;
            return std::nullopt;
        }
        whole = number;
        const double n = m_text.mid(m_at, numerator).toDouble();
        m_at += numerator + 1;
        const qsizetype denominator = digitsAt(m_at);
        const double d = denominator == 0 ? 0 : m_text.mid(m_at, denominator).toDouble();
        if (d == 0) {
            m_at = start;
            return std::nullopt;
        }
        m_at += denominator;
        return whole + n / d;
    }

    // The longest mark of the unit's parts here, not followed by a letter.
    std::optional<int> readMark()
    {
        std::optional<int> part;
        qsizetype length = 0;
        for (const Mark &mark : marks) {
            if (mark.unitId != m_unit.id)
                continue;
            const QStringView text(mark.text);
            if (text.size() <= length || !m_text.mid(m_at).startsWith(text, Qt::CaseInsensitive))
                continue;
            const qsizetype end = m_at + text.size();
            if (text[0].isLetter() && end < m_text.size() && m_text[end].isLetter())
                continue;
            part = mark.part;
            length = text.size();
        }
        m_at += length;
        return part;
    }

    QStringView m_text;
    const CompoundUnit &m_unit;
    QStringView m_separator;
    qsizetype m_at = 0;
};

}

std::optional<double> readCompound(QStringView text, const CompoundUnit &unit, QStringView separator)
{
    return PartsReader(text, unit, separator).read();
}

double readCompoundValue(QStringView text, const CompoundUnit &unit, QStringView separator)
{
    if (const std::optional<double> parts = readCompound(text, unit, separator))
        return *parts;
    return readTypedValue(text, separator) * largestPartSize(unit);
}

}
