// Reads arbitrary UTF-8 as a stored user-unit factor in the C locale and in
// German (comma as decimal separator, point for grouping). Stops on a crash,
// a sanitizer finding, or a factor that is not finite.

#include "numbers.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace quantix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QLocale c = QLocale::c();
    static const QLocale german(QLocale::German, QLocale::Germany);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (const QLocale *locale : {&c, &german}) {
        const std::optional<double> factor = readStoredFactor(text, *locale);
        if (factor && !std::isfinite(*factor)) {
            std::fprintf(stderr, "fuzz_storedfactor: factor %g in %s for \"%s\"\n", *factor,
                         qPrintable(locale->name()), qPrintable(text));
            std::abort();
        }
    }
    return 0;
}
