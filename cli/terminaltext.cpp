#include "cli/terminaltext.h"

namespace quantix {

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

void appendEscape(QString &out, char16_t c)
{
    switch (c) {
    case u'\0': out += QLatin1String("\\0"); return;
    case u'\t': out += QLatin1String("\\t"); return;
    case u'\n': out += QLatin1String("\\n"); return;
    case u'\r': out += QLatin1String("\\r"); return;
    case u'\\': out += QLatin1String("\\\\"); return;
    default: break;
    }
    // C1 controls are characters of their own in UTF-8, not bytes.
    out += c < 0x80 ? QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'))
                    : QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
}

}

QString quotedValue(std::string_view start, bool cut)
{
    const QString text = QString::fromUtf8(start.data(), static_cast<qsizetype>(start.size()));
    QString quoted;
    qsizetype i = 0;
    for (int shown = 0; i < text.size() && shown < shownCharacters; ++i, ++shown) {
        const char16_t c = text.at(i).unicode();
        if (isControl(c) || c == u'\\') {
            appendEscape(quoted, c);
        } else {
            quoted += QChar(c);
            // A character outside the BMP is one character, two code units.
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                quoted += text.at(++i);
        }
    }
    if (i < text.size() || cut)
        quoted += QLatin1String("...");
    return quoted;
}

QString withControlsEscaped(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (isControl(c.unicode()) && c != u'\n')
            appendEscape(escaped, c.unicode());
        else
            escaped += c;
    }
    return escaped;
}

}
