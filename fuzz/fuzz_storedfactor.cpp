// Takes arbitrary UTF-8 as the factor of a user unit and follows it the way
// the program does, in the C locale and in German (comma as decimal
// separator, point for grouping): the new-unit dialog's check, the keys it
// writes, and a conversion through the stored unit in both directions.
// Besides crashes and sanitizer findings it stops when the dialog accepts a
// factor the conversion refuses or the other way round, when a conversion
// gives another number than the factor says or one that is not finite, and
// when, in the C locale, a plain decimal reads as another double than
// std::from_chars reads or is refused though it is a normal double.
//
// The number parsing itself happens inside the toolkit, which carries no
// coverage hooks: the fuzzer steers by our code around that call only, and
// the differential check is what watches the parser's results.

#include "engine/catalogue.h"
#include "engine/converter.h"
#include "engine/errors.h"
#include "engine/numbers.h"
#include "rules/newunitrules.h"
#include "rules/userunits.h"
#include "plaindecimal.h"

#include <QHash>
#include <QLocale>
#include <QString>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace quantix;

namespace {

[[noreturn]] void fail(const char *what, const QLocale &locale, const QString &text)
{
    std::fprintf(stderr, "fuzz_storedfactor: %s in %s for \"%s\"\n", what, qPrintable(locale.name()), qPrintable(text));
    std::abort();
}

// The user-unit store in memory, read as ReadSetting reads: trimmed.
class MemoryStore : public UserUnitStore
{
public:
    QString read(const QString &key, const QString &defaultText) const override
    {
        return m_values.value(key, defaultText).trimmed();
    }
    using UserUnitStore::write;
    std::optional<FileFailure> write(const SettingWrites &writes) const override
    {
        for (const SettingWrite &write : writes) {
            if (!write.keepStored || !m_values.contains(write.key))
                m_values.insert(write.key, write.value);
        }
        return std::nullopt;
    }

private:
    mutable QHash<QString, QString> m_values;
};

void compareWithFromChars(const QString &text, const QLocale &c)
{
    const QByteArray latin = text.toLatin1();
    std::string_view plain(latin.constData(), std::size_t(latin.size()));
    const bool hasSign = !plain.empty() && (plain.front() == '+' || plain.front() == '-');
    if (!isPlainDecimal(plain.substr(hasSign)))
        return;
    if (plain.front() == '+')  // std::from_chars takes a minus only
        plain.remove_prefix(1);
    double expected = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), expected);
    const std::optional<double> factor = readStoredFactor(text, c);
    if (factor && (error != std::errc() || *factor != expected))
        fail("another value than std::from_chars", c, text);
    if (!factor && error == std::errc() && (expected == 0 || std::isnormal(expected)))
        fail("a plain decimal refused", c, text);
}

// The unit "w" with this factor text, checked and stored as the dialog does,
// then converted from and into metres.
void followFactor(const QString &text, const QLocale &locale)
{
    static const Quantity &length = *Catalogue::instance().byName(u"Length");
    QLocale::setDefault(locale);
    NewUnitRows rows;
    rows[0] = {QStringLiteral("w"), text};
    const NewUnitVerdict verdict = checkNewUnits(length.name, rows);
    const bool accepted = verdict.refusal == NewUnitVerdict::Refusal::None;
    if (!accepted && verdict.refusal != NewUnitVerdict::Refusal::FactorNotANumber)
        fail("another refusal than a factor that is not a number", locale, text);

    MemoryStore store;
    if (accepted) {
        store.write(verdict.writes);
    } else {  // as a hand-edited store would hold it
        store.write(UserUnitStore::countKey(length.name), QStringLiteral("1"));
        store.write(UserUnitStore::nameKey(length.name, 1), QStringLiteral("w"));
        store.write(UserUnitStore::factorKey(length.name, 1), text);
    }
    const Converter converter(length, readUserUnits(length, store));
    const std::optional<double> factor = readStoredFactor(text, locale);
    if (factor.has_value() != accepted)
        fail("a dialog check that disagrees with the reader", locale, text);
    if (factor && !std::isfinite(*factor))
        fail("a factor that is not finite", locale, text);
    for (const bool intoBase : {true, false}) {
        try {
            const double result = intoBase ? converter.convert(QStringLiteral("w"), length.baseUnitName, 1)
                                           : converter.convert(length.baseUnitName, QStringLiteral("w"), 1);
            if (!factor)
                fail("a conversion through a factor the dialog refuses", locale, text);
            if (result != (intoBase ? *factor : 1 / *factor) || !std::isfinite(result))
                fail("a conversion that does not use the factor", locale, text);
        } catch (const ConversionError &error) {
            const ErrorNumber expected = !factor ? ErrorNumber::TypeMismatch
                : *factor == 0 && !intoBase ? ErrorNumber::DivisionByZero
                                            : ErrorNumber::Overflow;
            if (error.number() != expected || (expected == ErrorNumber::Overflow && std::isfinite(intoBase ? *factor : 1 / *factor)))
                fail("an unexpected conversion error", locale, text);
        }
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QLocale c = QLocale::c();
    static const QLocale german(QLocale::German, QLocale::Germany);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    compareWithFromChars(text, c);
    for (const QLocale *locale : {&c, &german})
        followFactor(text, *locale);
    return 0;
}
