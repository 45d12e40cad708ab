#include "settings/printfont.h"

#include "settings/settingsstore.h"

#include <QLocale>

namespace quantix {

namespace {

QString readFontKey(const char *key, const char *defaultText)
{
    return ReadSetting(section::settings, QLatin1String(key), QLatin1String(defaultText));
}

void loadBoolean(bool &target, const char *key)
{
    if (const std::optional<bool> value = toBoolean(readFontKey(key, "false")))
        target = *value;
}

}

PrintFont PrintFont::load(const PrintFont &current)
{
    PrintFont font = current;
    font.name = readFontKey("fontname", "Arial");
    font.size = readFontKey("fontsize", "12");
    loadBoolean(font.underline, "fontunderline");
    loadBoolean(font.bold, "fontbold");
    loadBoolean(font.italic, "fontitalic");
    bool ok = false;
    const qlonglong colour = readFontKey("fontcolour", "0").toLongLong(&ok);
    if (ok && colour >= -2147483648LL && colour <= 4294967295LL)
        font.colour = static_cast<quint32>(colour) & 0xFFFFFFu;
    return font;
}

bool PrintFont::save() const
{
    bool written = WriteSetting(section::settings, QStringLiteral("fontname"), name);
    written &= WriteSetting(section::settings, QStringLiteral("fontsize"), size);
    written &= WriteSetting(section::settings, QStringLiteral("fontunderline"), fontBooleanWord(underline));
    written &= WriteSetting(section::settings, QStringLiteral("fontbold"), fontBooleanWord(bold));
    written &= WriteSetting(section::settings, QStringLiteral("fontitalic"), fontBooleanWord(italic));
    written &= WriteSetting(section::settings, QStringLiteral("fontcolour"), QString::number(colour));
    return written;
}

double PrintFont::pointSize() const
{
    bool ok = false;
    double points = QLocale().toDouble(size, &ok);
    if (!ok)
        points = size.toDouble(&ok);
    return ok && points > 0 && points < 1000 ? points : 12;
}

}
