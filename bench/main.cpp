// quantix96-bench [OPERATIONS]: times the per-value work of the converter in
// this process, without start-up or input and output: a conversion of a
// resolved unit pair with the formatting of its result, the reading of typed
// text, and the two together as one line of quantix96-convert costs. Then the
// work of one keystroke in the find box: matching the typed text against
// every unit of the catalogue and ten user units per quantity; and one read
// of a settings store of 2,000 keys, as a keystroke into a user unit costs.

#include "engine/catalogue.h"
#include "engine/converter.h"
#include "engine/namematch.h"
#include "engine/namevariants.h"
#include "engine/numbers.h"
#include "settings/inifile.h"
#include "settings/settingsstore.h"
#include "settings/userunitstore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace quantix;

namespace {

// A fixed pseudo-random sequence (the minimal standard generator), so that
// every run measures the same values.
class Sequence
{
public:
    std::uint32_t next() { return m_state = static_cast<std::uint32_t>(std::uint64_t{m_state} * 48271 % 2147483647); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t m_state = 12345;
};

// Values from 0.001 to 100000, one in ten negative, as people type them:
// mostly plain decimals, one in seven with an exponent (as scripts/bench.sh
// generates them).
std::vector<std::string> typicalTexts(std::size_t count)
{
    Sequence random;
    std::vector<std::string> texts;
    texts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double mantissa = 1 + random.below(900000) / 100000.0;
        const int exponent = random.below(8) - 3;
        double value = mantissa;
        for (int k = exponent; k != 0; k += k < 0 ? 1 : -1)
            value = k < 0 ? value / 10 : value * 10;
        if (random.below(10) == 0)
            value = -value;
        std::array<char, 64> text{};
        const auto result = random.below(7) == 0
            ? std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific, 4)
            : std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed,
                            random.below(5) + std::max(0, -exponent));
        texts.emplace_back(text.data(), result.ptr);
    }
    return texts;
}

// Every built-in unit and ten user units for each quantity that takes them,
// as many names as the find box can be given.
struct EveryUnit
{
    QStringList names;
    QList<QStringList> aliases;
};

EveryUnit everyUnit()
{
    EveryUnit every;
    for (const Quantity &quantity : Catalogue::instance().quantities()) {
        QStringList names;
        for (int j = 1; j <= quantity.builtInCount(); ++j)
            names << Catalogue::unitName(quantity, j);
        if (quantity.id != Catalogue::temperatureId) {
            for (int j = 1; j <= 10; ++j)
                names << QStringLiteral("%1 unit %2 of my own (u%2)").arg(quantity.name).arg(j);
        }
        every.names << names;
        every.aliases << unitAliases(quantity, names);
    }
    return every;
}

// What the find box sees while a person types these words: every prefix,
// one per keystroke.
QStringList keystrokes(std::initializer_list<const char *> words)
{
    QStringList texts;
    for (const char *word : words) {
        const QString text = QString::fromUtf8(word);
        for (qsizetype length = 1; length <= text.size(); ++length)
            texts << text.left(length);
    }
    return texts;
}

// A store of `count` keys in the sections and spellings the program writes:
// unit names with blanks, symbols and escapes, user units with factors.
// Returns the keys of section "units".
std::vector<QString> writeStore(const QString &fileName, int count)
{
    std::vector<QString> keys;
    QByteArray units = "[units]\n";
    QByteArray userUnits = "[userunits]\n";
    for (int i = 0; i < count; ++i) {
        if (i % 4 == 3) {
            userUnits += ini::escapedKey(QStringLiteral("Volume (Liquid)factor%1").arg(i)) + "=" + QByteArray::number(i) + ".0254\n";
            continue;
        }
        keys.push_back(QStringLiteral("unit %1 per second squared (m%2Fs\u00b2)").arg(i));
        units += ini::escapedKey(keys.back()) + "=1\n";
    }
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("[settings]\nleft=3000\ntop=1500\n\n" + units + "\n" + userUnits);
    return keys;
}

using Clock = std::chrono::steady_clock;

// Runs work(i) for i = 0 .. operations - 1 five times and reports the
// fastest round, so that another process taking the processor for a moment
// does not count against the code. Returns its nanoseconds per operation.
template<typename Work>
double measure(const char *what, long long operations, Work work)
{
    work(0);  // warms caches and one-time initialisation
    double best = 0;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        for (long long i = 0; i < operations; ++i)
            work(i);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (round == 0 || seconds < best)
            best = seconds;
    }
    const double nanoseconds = best * 1e9 / static_cast<double>(operations);
    std::printf("%-40s %9.1f ns/op %14.0f ops/s\n", what, nanoseconds, 1e9 / nanoseconds);
    return nanoseconds;
}

}

int main(int argc, char *argv[])
{
    long long operations = 2'000'000;
    if (argc > 1) {
        const std::string_view text(argv[1]);
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), operations);
        if (error != std::errc() || end != text.data() + text.size() || operations < 1) {
            std::fprintf(stderr, "usage: quantix96-bench [OPERATIONS]\n");
            return 2;
        }
    }

    // A settings store of its own, before anything reads one: the user's
    // settings play no part and are never written.
    const QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());

    const Quantity *length = Catalogue::instance().byName(u"Length");
    if (!length) {
        std::fprintf(stderr, "quantix96-bench: the catalogue has no Length\n");
        return 1;
    }
    const Converter converter(*length);
    const UnitRef from = converter.resolve(QStringLiteral("mile (US statute)"));
    const UnitRef to = converter.resolve(QStringLiteral("kilometre (km)"));
    if (!from.rule || !to.rule) {
        std::fprintf(stderr, "quantix96-bench: mile or kilometre is no built-in unit\n");
        return 1;
    }
    const NumberStyle style{3, false};
    const std::string_view separator = ".";

    // A power-of-two table, so that picking an entry costs a mask, not a division.
    constexpr std::size_t tableSize = 4096;
    const std::vector<std::string> texts = typicalTexts(tableSize);
    std::vector<double> values;
    for (const std::string &text : texts)
        values.push_back(readTypedValue(text));
    const auto pick = [](long long i) { return static_cast<std::size_t>(i) & (tableSize - 1); };

    // Every result feeds this sum, printed at the end, so none of the work
    // can be left out by the optimiser.
    std::uint64_t check = 0;
    std::string out;
    out.reserve(64);

    std::printf("quantix96-bench: %lld operations per round, best of 5 rounds\n", operations);
    measure("convert and format (mile to km, 3 dec.)", operations, [&](long long i) {
        out.clear();
        const double base = converter.toBase(from, values[pick(i)]);
        appendFormattedResult(out, converter.fromBase(to, base), style, separator);
        check += out.size() + static_cast<unsigned char>(out[out.size() / 2]);
    });
    measure("read typed value", operations, [&](long long i) {
        const double value = readTypedValue(texts[pick(i)]);
        check += static_cast<std::uint64_t>(value > 0) + static_cast<std::uint64_t>(value * 8);
    });
    measure("read, convert and format (one line)", operations, [&](long long i) {
        out.clear();
        const double base = converter.toBase(from, readTypedValue(texts[pick(i)]));
        appendFormattedResult(out, converter.fromBase(to, base), style, separator);
        check += out.size() + static_cast<unsigned char>(out[out.size() / 2]);
    });

    const EveryUnit every = everyUnit();
    const QStringList &names = every.names;
    const NameMatcher matcher(names, every.aliases);
    const long long keys = std::max(1LL, operations / 1000);
    const QStringList typing = keystrokes({"kilometre", "mile (US", "fahren", "degF", "um", "square foot", "°C", "gallon"});
    const QStringList misspelt = keystrokes({"kilometer", "celcius", "farenheit", "gallonn"});
    const QStringList variants = keystrokes({"sq ft", "kph", "lbs", "meter per second", "liter", "gramme"});
    std::printf("find box: %lld names, %lld keystrokes per round\n", static_cast<long long>(names.size()), keys);
    const auto keystroke = [&](const QStringList &texts) {
        return [&](long long i) { check += static_cast<std::uint64_t>(matcher.matches(texts[i % texts.size()]).size()); };
    };
    const double typingCost = measure("match a keystroke (names as typed)", keys, keystroke(typing));
    const double misspeltCost = measure("match a keystroke (misspelt words)", keys, keystroke(misspelt));
    const double variantCost = measure("match a keystroke (aliases, spellings)", keys, keystroke(variants));
    const double worst = std::max({typingCost, misspeltCost, variantCost});
    std::printf("  target: under 1 ms per keystroke %s (worst %.3f ms)\n", worst < 1e6 ? "met" : "MISSED", worst / 1e6);

    // The store's read cost.
    constexpr int storeKeys = 2000;
    const std::vector<QString> storeKeyNames = writeStore(settingsLocation(), storeKeys);
    if (storeKeyNames.empty()) {
        std::fprintf(stderr, "quantix96-bench: could not write a settings store in %s\n", qPrintable(settingsDir.path()));
        return 1;
    }
    const QString one = QStringLiteral("1");
    const double readCost = measure("settings read (2,000 keys)", std::max(1LL, operations / 50), [&](long long i) {
        check += static_cast<std::uint64_t>(ReadSetting(section::units, storeKeyNames[static_cast<std::size_t>(i) % storeKeyNames.size()], one).size());
    });
    std::printf("  target: under 20 us per read %s\n", readCost < 20000 ? "met" : "MISSED");
    std::printf("(check sum %llu)\n", static_cast<unsigned long long>(check));
    return 0;
}
