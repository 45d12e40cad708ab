#include "records/rtfwriter.h"

#include <QtMath>

namespace quantix {

namespace {

constexpr char16_t paragraphSeparator = 0x2029;
constexpr char16_t lineSeparator = 0x2028;

// Appends one UTF-16 code unit as RTF text.
void appendEscaped(QByteArray &rtf, char16_t c)
{
    switch (c) {
    case u'\\': rtf += "\\\\"; return;
    case u'{': rtf += "\\{"; return;
    case u'}': rtf += "\\}"; return;
    case u'\t': rtf += "\\tab "; return;
    case lineSeparator: rtf += "\\line "; return;
    default: break;
    }
    if (c < 0x20 || c == 0x7F)
        return;  // other control characters have no meaning in the records
    if (c < 0x80) {
        rtf += char(c);
        return;
    }
    // RTF takes a signed 16-bit number; a surrogate pair is two escapes. The
    // character for readers without Unicode follows as a hex escape, as word
    // processors write it: some readers skip one character too many after a
    // plain "?".
    rtf += "\\u";
    rtf += QByteArray::number(qint16(c));
    rtf += "\\'";
    rtf += c >= 0xA0 && c <= 0xFF ? QByteArray::number(c, 16) : QByteArray("3f");
}

// A font table entry ends at ';', so the name cannot carry one.
QByteArray fontName(const QString &name)
{
    QByteArray escaped;
    for (const QChar c : name) {
        if (c != u';')
            appendEscaped(escaped, c.unicode());
    }
    return escaped;
}

}

QByteArray recordsRtf(const QString &text, const PrintFont &font)
{
    QByteArray rtf;
    rtf.reserve(text.size() + text.size() / 8 + 256);
    rtf += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    rtf += fontName(font.name);
    rtf += ";}}\r\n{\\colortbl ;\\red";
    rtf += QByteArray::number(font.colour & 0xFF);
    rtf += "\\green";
    rtf += QByteArray::number((font.colour >> 8) & 0xFF);
    rtf += "\\blue";
    rtf += QByteArray::number((font.colour >> 16) & 0xFF);
    rtf += ";}\r\n\\pard\\plain\\f0\\fs";
    rtf += QByteArray::number(qRound(font.pointSize() * 2));
    rtf += "\\cf1";
    if (font.bold)
        rtf += "\\b";
    if (font.italic)
        rtf += "\\i";
    if (font.underline)
        rtf += "\\ul";
    rtf += ' ';

    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' || c == u'\n' || c == paragraphSeparator) {
            if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
                ++i;
            rtf += "\\par\r\n";
        } else {
            appendEscaped(rtf, c);
        }
    }
    rtf += "\r\n}\r\n";
    return rtf;
}

}
