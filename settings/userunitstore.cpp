#include "userunitstore.h"

#include "settingsstore.h"

namespace quantix {

QString UserUnitStore::read(const QString &key, const QString &defaultText) const
{
    return ReadSetting(section::userunits, key, defaultText);
}

bool UserUnitStore::write(const QString &key, const QString &value) const
{
    return WriteSetting(section::userunits, key, value);
}

std::optional<int> UserUnitStore::count(const QString &quantity) const
{
    return toWholeNumber(read(countKey(quantity), QStringLiteral("0")));
}

}
