#include "settings/printfont.h"

#include "settings/settingkeys.h"

#include <QLocale>

namespace quantix {

namespace {

void loadBoolean(bool &target, const SettingKey &key)
{
    if (const std::optional<bool> value = key.readBoolean())
        target = *value;
}

}

PrintFont PrintFont::load(const PrintFont &current)
{
    const SettingsSnapshot snapshot;
    PrintFont font = current;
    font.name = setting::fontname.read();
    font.size = setting::fontsize.read();
    loadBoolean(font.underline, setting::fontunderline);
    loadBoolean(font.bold, setting::fontbold);
    loadBoolean(font.italic, setting::fontitalic);
    bool ok = false;
    const qlonglong colour = setting::fontcolour.read().toLongLong(&ok);
    if (ok && colour >= -2147483648LL && colour <= 4294967295LL)
        font.colour = static_cast<quint32>(colour) & 0xFFFFFFu;
    return font;
}

SettingWrites PrintFont::writes(const PrintFont &shown) const
{
    return {
        setting::fontname.write(name).keepingStored(name == shown.name),
        setting::fontsize.write(size).keepingStored(size == shown.size),
        setting::fontunderline.write(underline).keepingStored(underline == shown.underline),
        setting::fontbold.write(bold).keepingStored(bold == shown.bold),
        setting::fontitalic.write(italic).keepingStored(italic == shown.italic),
        setting::fontcolour.write(QString::number(colour)).keepingStored(colour == shown.colour),
    };
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
