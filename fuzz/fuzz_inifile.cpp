// Edits arbitrary bytes as a settings file, as a write does: finds the
// damage, sets a key of the store's own sections. Stops on a crash, a
// sanitizer finding, or an edit that loses what came before the key's
// section (a write may change only its own line or add lines).

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
    return 0;
}
