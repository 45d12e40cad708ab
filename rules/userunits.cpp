#include "rules/userunits.h"

#include "engine/numbers.h"
#include "settings/settingsstore.h"
#include "settings/userunitstore.h"

namespace quantix {

UserUnits readUserUnits(const Quantity &quantity, const UserUnitStore &store)
{
    const SettingsSnapshot snapshot;  // each name with its own factor
    UserUnits units;
    const std::optional<int> positions = store.positions(quantity.name);
    if (!positions) {
        units.damaged = true;
        return units;
    }
    for (int i = 1; i <= *positions; ++i) {
        units.units.append({store.name(quantity.name, i, QString()),
                            readStoredFactor(store.read(UserUnitStore::factorKey(quantity.name, i), QStringLiteral("0")))});
    }
    return units;
}

QStringList userUnitNames(const UserUnits &units)
{
    QStringList names;
    for (const UserUnit &unit : units.units)
        names << unit.name;
    return names;
}

}
