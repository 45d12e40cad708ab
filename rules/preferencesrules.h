#pragma once

#include "engine/catalogue.h"
#include "rules/options.h"
#include "settings/settingsstore.h"
#include "settings/userunitstore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace quantix {

// What the Options and Number Style tabs hold: as the dialog shows them
// when it opens, and as they are when OK is pressed.
struct OptionsChoice
{
    int tab = 4;  // 1 to 4
    NumberStyle numberStyle;
    QString shellProgram;
    bool confirmExit = true;
    bool saveDialog = true;  // chkSave; stored only while confirmExit is on

    friend bool operator==(const OptionsChoice &, const OptionsChoice &) = default;
};

// What the dialog shows when it opens: what the store holds now, which
// another copy of the program may have changed since this one started. A
// choice the store does not hold (or holds in a form that does not convert)
// is the run's own; the shell program is the one that will run.
OptionsChoice storedOptionsChoice(const Options &options);

// The settings OK writes, in this order: Tab, numericformatting, scientific,
// shellprog, confirm, and save only while confirm is on. A choice left as
// `shown` keeps what the store holds by then; the further styles' keys
// (significant, significantdigits, engineering, grouping, leadingzero,
// inchfraction)
// follow scientific.
SettingWrites optionsWrites(const OptionsChoice &choice, const OptionsChoice &shown);

// The options OK sets from the choice: decimal places, number style and exit
// confirmation. The shell program is already the run's when chosen.
void applyOptions(const OptionsChoice &choice, Options &options);

// Written whenever the dialog closes: QuantityListIndex (the stored number
// of the quantity at this position), then Tab.
SettingWrites closingWrites(int quantityPosition, int tab);

// The tab to show after opening: Tab as a whole number 1 to 4; anything else
// (never written by the program) shows 4, Number Style.
int storedTab();

// The Units tab's quantity position from QuantityListIndex; 0 unless it is
// a whole number that numbers a quantity (0 to 32). The first versions'
// numbers 0 to 31 keep their quantities; Temperature Difference is 32.
int storedQuantityListIndex();

// One item of lstUnits: a unit's name and whether it is offered.
struct UnitListItem
{
    QString name;
    bool selected = true;

    friend bool operator==(const UnitListItem &, const UnitListItem &) = default;
};

// What lstUnits shows for a quantity: its catalogue units in catalogue order,
// offered unless "units" / name reads otherwise than "1"; then its user units
// in their stored positions, named as stored (empty when missing) and offered unless
// their "used" flag reads otherwise than "1".
QList<UnitListItem> unitListItems(const Quantity &quantity, const UserUnitStore &store);

// What SaveUnitSelection stores for the quantity with this string ID (0
// stands for 500), given the selections of lstUnits in list order and the
// items the list was filled with: "units" / name for its catalogue units,
// which the list holds first, then the "used" flags 1, 2, ... of the items
// after them, its user units. The list itself says which item is which, so
// a count changed since the list was filled cannot shift a flag onto another
// unit's key. A selection left as it was filled keeps what the store holds.
SettingWrites unitSelectionWrites(int quantityId, const QList<UnitListItem> &shown, const QList<bool> &selected);

using QuantityAvailability = std::array<bool, Catalogue::quantityCount>;

// Which of the quantities are offered, in catalogue order ("1", default "1").
QuantityAvailability storedQuantityAvailability();

// "units" / each quantity's name = "1" or "0", in catalogue order; a box
// left as shown keeps what the store holds.
SettingWrites quantityAvailabilityWrites(const QuantityAvailability &offered, const QuantityAvailability &shown);

// The names of the offered quantities, in catalogue order.
QStringList quantityNames(const QuantityAvailability &offered);

}
