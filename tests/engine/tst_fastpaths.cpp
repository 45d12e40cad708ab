// The quick ways of reading and formatting against the general ones, on
// millions of generated values of the kinds that tell them apart: decimal
// halves and their neighbours, carries, eight decimals, huge and tiny
// magnitudes, the edges of the quick ways' ranges. QUANTIX_FASTPATH_VALUES
// sets how many values each row takes (a million by default,
// seconds in all); give it 100000000 for a long run.

#include "engine/errors.h"
#include "engine/numbers.h"

#include <QTest>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>

using namespace quantix;

namespace {

long long valuesPerRow()
{
    bool ok = false;
    const long long count = qEnvironmentVariableIntValue("QUANTIX_FASTPATH_VALUES", &ok);
    return ok && count > 0 ? count : 1'000'000;
}

enum class Kind { Halves, Carries, EightDecimals, Magnitudes, Edges };

class Generator
{
public:
    explicit Generator(Kind kind) : m_kind(kind) {}

    // A value, and a number of decimals to format it with.
    std::pair<double, int> next()
    {
        const int decimals = below(9);
        double value = 0;
        switch (m_kind) {
        case Kind::Halves:
            // A decimal half at the last shown place, or a double beside one.
            value = nudged(fromText(digits(below(12)) + '.' + digits(decimals) + '5'));
            break;
        case Kind::Carries:
            // Nines that round up into a new digit, or just stay below it.
            value = nudged(fromText(std::string(static_cast<std::size_t>(below(10)), '9') + '.'
                                    + std::string(static_cast<std::size_t>(decimals), '9') + static_cast<char>('0' + below(10))));
            break;
        case Kind::EightDecimals:
            // Typed values with up to eight decimals, converted as the window does.
            value = fromText(digits(below(8)) + '.' + digits(below(9))) * factors[static_cast<std::size_t>(below(int(factors.size())))];
            break;
        case Kind::Magnitudes: {
            // Any finite double: every exponent, subnormals included.
            std::uint64_t bits = m_random();
            bits &= ~(std::uint64_t{0x7FF} << 52);
            bits |= static_cast<std::uint64_t>(below(2047)) << 52;
            std::memcpy(&value, &bits, sizeof value);
            break;
        }
        case Kind::Edges:
            // Where the scaled value nears 2^52, where the quick way stops.
            value = nudged(std::ldexp(1.0 + std::ldexp(double(m_random() >> 12), -52), 48 + below(6)) / std::pow(10.0, decimals));
            break;
        }
        return {below(2) != 0 ? -value : value, decimals};
    }

    std::string plainDecimal()
    {
        // A sign pushed, not assigned: GCC 12 takes the assignment of a
        // literal for an overlapping copy (-Wrestrict) in Release builds.
        std::string text;
        if (const int sign = below(3); sign < 2)
            text.push_back(sign == 0 ? '-' : '+');
        // Around 19 significant digits, where the quick reader stops, with
        // leading zeros that do not count.
        text += std::string(static_cast<std::size_t>(below(3) == 0 ? below(25) : 0), '0');
        const int significant = below(4) == 0 ? 17 + below(5) : 1 + below(20);
        std::string mantissa = digits(significant);
        if (below(4) != 0)
            mantissa.insert(static_cast<std::size_t>(below(significant + 1)), 1, '.');
        text += mantissa;
        if (below(3) == 0) {
            text += below(2) != 0 ? 'e' : 'E';
            if (below(2) != 0)
                text += below(2) != 0 ? '-' : '+';
            // Up to the edges of the doubles' range and past them.
            text += std::to_string(below(4) == 0 ? 290 + below(50) : below(100));
            if (below(20) == 0)
                text += '0';
        }
        if (below(10) == 0)
            text += '\r';
        return text;
    }

private:
    static constexpr std::array<double, 5> factors = {1.609344, 0.3048, 1.0 / 1.609344, 4.4482216152605, 1e-3};

    int below(int n) { return static_cast<int>(m_random() % static_cast<std::uint64_t>(n)); }

    std::string digits(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += static_cast<char>('0' + below(10));
        return text;
    }

    static double fromText(const std::string &text)
    {
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    }

    // The value or one of the doubles a few ulps beside it.
    double nudged(double value)
    {
        for (int steps = below(7) - 3; steps != 0; steps += steps < 0 ? 1 : -1)
            value = std::nextafter(value, steps < 0 ? 0.0 : HUGE_VAL);
        return value;
    }

    Kind m_kind;
    std::mt19937_64 m_random{20260308};
};

QString described(double value)
{
    return QString::number(value, 'g', 17);
}

std::optional<double> generalRead(const std::string &text)
{
    TypedValueReader reader;
    reader.read(text);
    try {
        return reader.value();
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

std::optional<double> quickRead(const std::string &text)
{
    try {
        return readTypedValue(text);
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

}

class TestFastPaths : public QObject
{
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("halves") << int(Kind::Halves);
        QTest::newRow("carries") << int(Kind::Carries);
        QTest::newRow("eight decimals") << int(Kind::EightDecimals);
        QTest::newRow("huge and tiny") << int(Kind::Magnitudes);
        QTest::newRow("near 2^52") << int(Kind::Edges);
    }

    // The regular style, where the quick way applies, and the scientific one
    // beside it, which must stay untouched.
    void format()
    {
        QFETCH(int, kind);
        Generator generator(static_cast<Kind>(kind));
        std::string quick;
        std::string general;
        for (long long i = valuesPerRow(); i > 0; --i) {
            const auto [value, decimals] = generator.next();
            NumberStyle style{decimals, i % 8 == 0};
            style.leadingZero = i % 3 == 0;
            quick.clear();
            general.clear();
            appendFormattedResult(quick, value, style, ",");
            appendFormattedResultByDigits(general, value, style, ",");
            if (quick != general)
                QFAIL(qPrintable(QStringLiteral("%1 with %2 decimals: %3, by the digits %4")
                                     .arg(described(value))
                                     .arg(decimals)
                                     .arg(QString::fromStdString(quick), QString::fromStdString(general))));
        }
    }

    // Plain decimals of every length around the quick reader's limits,
    // signs, exponents to the doubles' edges, CR LF line ends.
    void read()
    {
        Generator generator(Kind::Magnitudes);
        for (long long i = valuesPerRow(); i > 0; --i) {
            const std::string text = generator.plainDecimal();
            const std::optional<double> quick = quickRead(text);
            const std::optional<double> general = generalRead(text);
            const bool same = quick.has_value() == general.has_value()
                && (!quick || std::memcmp(&*quick, &*general, sizeof(double)) == 0);
            if (!same)
                QFAIL(qPrintable(QStringLiteral("\"%1\": %2, by the general reader %3")
                                     .arg(QString::fromStdString(text), quick ? described(*quick) : QStringLiteral("overflow"),
                                          general ? described(*general) : QStringLiteral("overflow"))));
        }
    }
};

QTEST_GUILESS_MAIN(TestFastPaths)
#include "tst_fastpaths.moc"
