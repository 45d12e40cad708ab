// Edits arbitrary bytes as a settings file, as a write does: finds the
// damage, sets a key of the store's own sections, and several keys in one
// pass. Stops on a crash, a sanitizer finding, an edit that loses what came
// before the key's section (a write may change only its own line or add
// lines), or one pass that differs from setting the keys one after another.

#include "settings/inifile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace quantix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView file(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    ini::isDamaged(file);
    ini::unescapedKey(file);
    const QByteArray edited = ini::withValue(file, u"settings", u"left", u" 3000, \"x\"");
    if (!file.isEmpty() && !edited.startsWith(file.first(1)) && !file.startsWith("\xef\xbb\xbf")) {
        std::fprintf(stderr, "fuzz_inifile: the edit changed the file's first byte\n");
        std::abort();
    }
    // A change of several keys in one pass, as the store makes it. Keys set
    // one after another differ where a last line left open (a quote, a
    // backslash before the end) takes in the lines added, and where a file
    // ending in a bare CR gets a CR LF from the first key added and its line
    // ends from there: such files are left to the checks above.
    if (file.contains('"') || file.contains('\\') || (file.endsWith('\r') && !file.contains("\r\n")))
        return 0;
    static const QList<ini::Assignment> assignments{
        {"settings", "left", "1"}, {"units", "metre (m)", "0"}, {"settings", "left", "2"}, {"new", "k", " v "}};
    QByteArray inTurn = file.toByteArray();
    for (const ini::Assignment &assignment : assignments)
        inTurn = ini::withValue(inTurn, assignment.section, assignment.key, assignment.value);
    if (ini::withValues(file, assignments) != inTurn) {
        std::fprintf(stderr, "fuzz_inifile: one pass and one key after another differ\n");
        std::abort();
    }
    return 0;
}
