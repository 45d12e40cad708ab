// Writes any text in any print font as RTF: the input holds the font's
// style and colour, then UTF-16 code units for the font name, its size and
// the text, lone surrogates included. Stops when the document has a byte
// that is not printable ASCII (CR and LF aside), when its braces do not
// balance, or when an RTF reader would get another font name or another
// text back than the writer was given.

#include "records/rtfwriter.h"
#include "settings/printfont.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace quantix;

namespace {

[[noreturn]] void fail(const char *what, const QByteArray &rtf)
{
    std::fprintf(stderr, "fuzz_rtfwriter: %s in:\n%s\n", what, rtf.constData());
    std::abort();
}

constexpr char16_t paragraphSeparator = 0x2029;
constexpr char16_t lineSeparator = 0x2028;

// What a reader gets back: paragraph ends as "\n"; the control characters
// that have no meaning in the records (all but tab, DEL included) are gone.
QString readable(const QString &text, bool fontName)
{
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (!fontName && (c == u'\r' || c == u'\n' || c == paragraphSeparator)) {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            result += u'\n';
        } else if ((c >= 0x20 || c == u'\t') && c != 0x7F && !(fontName && c == u';')) {
            result += QChar(c);
        }
    }
    return result;
}

// A small RTF reader for what the writer writes: groups, control words with
// their numbers, the escapes \\ \{ \}, and \uN followed by the one fallback
// character that \uc1 announces. Text of the font table's entry goes to
// `font`, text at the top level to `body`; the colour table has none.
struct Reader
{
    const QByteArray &rtf;
    QString font;
    QString body;

    void read()
    {
        enum Kind { Body, FontTable, ColourTable };
        Kind kinds[8] = {};
        int depth = 0;
        bool skipFallback = false;
        bool firstInGroup = false;
        const auto put = [&](char16_t c) {
            if (kinds[depth] == FontTable)
                font += QChar(c);
            else if (kinds[depth] == Body && depth == 1)
                body += QChar(c);
            else if (kinds[depth] == Body)
                fail("text outside the document", rtf);
        };
        for (qsizetype i = 0; i < rtf.size(); ++i) {
            const char c = rtf[i];
            if (c == '{') {
                if (++depth >= 8)
                    fail("groups nested too deep", rtf);
                kinds[depth] = kinds[depth - 1];
                firstInGroup = true;
                continue;
            }
            if (c == '}') {
                if (--depth < 0)
                    fail("a closing brace too many", rtf);
                if (depth == 0 && i + 3 != rtf.size())
                    fail("text after the document", rtf);
                continue;
            }
            if (c == '\r' || c == '\n')
                continue;
            if (depth == 0)
                fail("text outside the document", rtf);
            if (c != '\\') {
                if (skipFallback)
                    fail("a plain fallback character", rtf);
                put(char16_t(c));
                continue;
            }
            const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
            if (next == '\\' || next == '{' || next == '}') {
                put(char16_t(next));
                ++i;
                continue;
            }
            if (next == '\'') {
                if (!skipFallback)
                    fail("a code-page character without \\u", rtf);
                skipFallback = false;
                i += 3;
                continue;
            }
            qsizetype j = i + 1;
            while (j < rtf.size() && rtf[j] >= 'a' && rtf[j] <= 'z')
                ++j;
            const QByteArray word = rtf.mid(i + 1, j - i - 1);
            if (word.isEmpty())
                fail("an unknown control symbol", rtf);
            const qsizetype numberStart = j;
            if (j < rtf.size() && rtf[j] == '-')
                ++j;
            while (j < rtf.size() && rtf[j] >= '0' && rtf[j] <= '9')
                ++j;
            const int number = rtf.mid(numberStart, j - numberStart).toInt();
            if (j < rtf.size() && rtf[j] == ' ')
                ++j;
            i = j - 1;
            if (firstInGroup && word == "fonttbl")
                kinds[depth] = FontTable;
            else if (firstInGroup && word == "colortbl")
                kinds[depth] = ColourTable;
            firstInGroup = false;
            if (skipFallback)
                fail("\\u without its fallback character", rtf);
            if (word == "u") {
                put(char16_t(number < 0 ? number + 65536 : number));
                skipFallback = true;
            } else if (word == "par") {
                put(u'\n');
            } else if (word == "tab") {
                put(u'\t');
            } else if (word == "line") {
                put(lineSeparator);
            }
        }
        if (depth != 0)
            fail("braces that do not balance", rtf);
    }
};

QString utf16(const std::uint8_t *data, std::size_t units)
{
    QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
    for (std::size_t i = 0; i < units; ++i)
        text[static_cast<qsizetype>(i)] = QChar(char16_t(data[2 * i] | data[2 * i + 1] << 8));
    return text;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // style, colour (4 bytes), name length, size length, then UTF-16 units
    if (size < 7)
        return 0;
    PrintFont font;
    font.bold = data[0] & 1;
    font.italic = data[0] & 2;
    font.underline = data[0] & 4;
    std::memcpy(&font.colour, data + 1, sizeof font.colour);
    const std::size_t units = (size - 7) / 2;
    const std::size_t nameUnits = std::min<std::size_t>(data[5], units);
    const std::size_t sizeUnits = std::min<std::size_t>(data[6] % 8, units - nameUnits);
    const std::uint8_t *text = data + 7;
    font.name = utf16(text, nameUnits);
    font.size = utf16(text + 2 * nameUnits, sizeUnits);
    const std::size_t offset = nameUnits + sizeUnits;
    const QString records = utf16(text + 2 * offset, units - offset);

    const QByteArray rtf = recordsRtf(records, font);
    for (const char byte : rtf) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c < 0x20 && c != '\r' && c != '\n') || c >= 0x7F)
            fail("a byte that is not printable ASCII", rtf);
    }
    if (!rtf.startsWith("{\\rtf1") || !rtf.endsWith("}\r\n"))
        fail("no RTF document", rtf);
    Reader reader{rtf, {}, {}};
    reader.read();
    if (!reader.font.endsWith(u';') || reader.font.chopped(1) != readable(font.name, true))
        fail("another font name", rtf);
    if (reader.body != readable(records, false))
        fail("another text", rtf);
    return 0;
}
