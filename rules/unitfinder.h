#pragma once

#include "engine/namematch.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quantix {

class UserUnitStore;

// A unit the find box offers: its quantity, its name, its position in the
// unit lists once that quantity is chosen, and its aliases.
struct FoundUnit
{
    QString quantity;
    QString unit;
    int position = -1;
    QStringList aliases;
};

// The units of the main window's find box, matched against what the user
// types. It offers what the window offers: the quantities of the quantity
// list, for the chosen quantity the units its lists hold, for the others the
// units FillUnitLists would put there.
class UnitFinder
{
public:
    explicit UnitFinder(QList<FoundUnit> units = {});

    // The units on offer. chosenQuantity is empty when none is chosen.
    static UnitFinder offered(const QStringList &quantities, const QString &chosenQuantity, const QStringList &chosenUnits,
                              const UserUnitStore &store);

    struct Result
    {
        QList<qsizetype> units;  // positions in units(), best first
        bool similarOnly = false;  // nothing matched; these names are a letter or two away
    };
    Result find(QStringView text) const;

    const QList<FoundUnit> &units() const { return m_units; }

private:
    QList<FoundUnit> m_units;
    NameMatcher m_matcher;
};

}
