#pragma once

#include "engine/catalogue.h"
#include "rules/options.h"
#include "settings/userunitstore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace quantix {

// One key of the settings store and the value to write there.
struct SettingWrite
{
    QString section;
    QString key;
    QString value;

    friend bool operator==(const SettingWrite &, const SettingWrite &) = default;
};

using SettingWrites = QList<SettingWrite>;

// Writes every key even after a failure; false when any write failed.
bool applySettingWrites(const SettingWrites &writes);

// What the Options and Number Style tabs hold when OK is pressed.
struct OptionsChoice
{
    int tab = 4;  // 1 to 4
    int decimalPlaces = 3;
    bool scientific = false;
    QString shellProgram;
    bool confirmExit = true;
    bool saveDialog = true;  // chkSave; stored only while confirmExit is on
};

// The settings OK writes, in this order: Tab, numericformatting, scientific,
// shellprog, confirm, and save only while confirm is on.
SettingWrites optionsWrites(const OptionsChoice &choice);

// The options OK sets from the choice: decimal places, number style and exit
// confirmation. The shell program is already the run's when chosen.
void applyOptions(const OptionsChoice &choice, Options &options);

// Written whenever the dialog closes: QuantityListIndex, then Tab.
SettingWrites closingWrites(int quantityListIndex, int tab);

// The tab to show after opening: Tab as a whole number 1 to 4; anything else
// (never written by the program) shows 4, Number Style.
int storedTab();

// The Units tab's quantity position from QuantityListIndex; 0 unless it is a
// whole number 0 to 31.
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

// Stores the selections of lstUnits (in list order) for the quantity with
// this string ID (0 stands for 500): "units" / name for its catalogue units,
// which the list holds first, then the "used" flags 1, 2, ... of the items
// after them, its user units. The list itself says which item is which, so
// a count changed since the list was filled cannot shift a flag onto another
// unit's key. False when a write failed.
bool SaveUnitSelection(int quantityId, const QList<bool> &selected, const UserUnitStore &store);

// Which of the 32 quantities are offered, in catalogue order ("1", default "1").
std::array<bool, Catalogue::quantityCount> storedQuantityAvailability();

// Writes "units" / each quantity's name = "1" or "0" in catalogue order and
// returns the offered names in that order. `written` is cleared when a write
// failed.
QStringList storeQuantityAvailability(const std::array<bool, Catalogue::quantityCount> &offered, bool &written);

}
