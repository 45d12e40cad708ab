#include "settings/userunitstore.h"

#include "settings/settingsstore.h"

#include <algorithm>

namespace quantix {

QString UserUnitStore::read(const QString &key, const QString &defaultText) const
{
    return ReadSetting(section::userunits, key, defaultText);
}

std::optional<FileFailure> UserUnitStore::write(const SettingWrites &writes) const
{
    return applySettings(writes);
}

QString UserUnitStore::name(const QString &quantity, int position, const QString &defaultText) const
{
    QString name = read(nameKey(quantity, position), defaultText);
    if (name.size() > maxNameLength) {
        // A character outside the BMP stays whole; blanks at the cut go, as
        // they go at the ends of every text read.
        name.truncate(name.at(maxNameLength - 1).isHighSurrogate() ? maxNameLength - 1 : maxNameLength);
        name = name.trimmed();
    }
    return name;
}

std::optional<int> UserUnitStore::count(const QString &quantity) const
{
    return toWholeNumber(read(countKey(quantity), QStringLiteral("0")));
}

std::optional<int> UserUnitStore::positions(const QString &quantity) const
{
    const std::optional<int> stored = count(quantity);
    if (!stored)
        return std::nullopt;
    return std::clamp(*stored, 0, maxUnits);
}

}
