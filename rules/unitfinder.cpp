#include "rules/unitfinder.h"

#include "engine/catalogue.h"
#include "engine/namevariants.h"
#include "rules/selectionrules.h"

namespace quantix {

namespace {

QStringList unitNames(const QList<FoundUnit> &units)
{
    QStringList names;
    names.reserve(units.size());
    for (const FoundUnit &unit : units)
        names << unit.unit;
    return names;
}

QList<QStringList> aliasLists(const QList<FoundUnit> &units)
{
    QList<QStringList> aliases;
    aliases.reserve(units.size());
    for (const FoundUnit &unit : units)
        aliases << unit.aliases;
    return aliases;
}

}

UnitFinder::UnitFinder(QList<FoundUnit> units)
    : m_units(std::move(units))
    , m_matcher(unitNames(m_units), aliasLists(m_units))
{
}

UnitFinder UnitFinder::offered(const QStringList &quantities, const QString &chosenQuantity, const QStringList &chosenUnits,
                               const UserUnitStore &store)
{
    QList<FoundUnit> units;
    for (const QString &name : quantities) {
        const Quantity *quantity = Catalogue::instance().byName(name);
        if (!quantity)
            continue;
        const QStringList names = name == chosenQuantity ? chosenUnits : offeredUnitNames(*quantity, store);
        const QList<QStringList> aliases = unitAliases(*quantity, names);
        for (qsizetype i = 0; i < names.size(); ++i)
            units.append({name, names[i], int(i), aliases[i]});
    }
    return UnitFinder(std::move(units));
}

UnitFinder::Result UnitFinder::find(QStringView text) const
{
    Result result;
    const QList<NameMatch> found = m_matcher.matches(text);
    result.similarOnly = !found.isEmpty() && found.first().rank == MatchRank::Misspelt;
    result.units.reserve(found.size());
    for (const NameMatch &match : found)
        result.units << match.index;
    return result;
}

}
