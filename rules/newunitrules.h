#pragma once

#include "settings/userunitstore.h"

#include <QList>
#include <QString>

#include <array>

namespace quantix {

// One row of the new-unit dialog as typed: the unit's name and its factor.
struct NewUnitRow
{
    QString name;
    QString factor;

    friend bool operator==(const NewUnitRow &, const NewUnitRow &) = default;
};

using NewUnitRows = std::array<NewUnitRow, UserUnitStore::maxUnits>;

// The user units of a quantity as the dialog loads them, and the text of the
// failure that stopped the loading (empty when there was none).
struct LoadedUnits
{
    NewUnitRows rows;
    QString failure;
};

// Loads positions 1 to the stored count into rows 0 onwards; a missing name or
// factor shows as "Unknown". A count that is not a whole number loads nothing;
// a count above 10 loads ten rows; both report the failure. A count of 0 or
// below loads nothing.
LoadedUnits loadUserUnits(const QString &quantity, const UserUnitStore &store);

// What OK makes of the ten rows: a refusal naming the box that takes the
// focus, or the userunits keys to write as one change, in this order.
struct NewUnitVerdict
{
    enum class Refusal
    {
        None,
        FactorNotANumber,  // message 80; the focus goes to that row's factor
        NotConsecutive,    // message 19; the focus goes to that row's name
        NameTaken,         // message 1150; the focus goes to that row's name
    };

    Refusal refusal = Refusal::None;
    int row = -1;
    SettingWrites writes;
};

// The filled rows are those before the first name that is empty or only
// blanks. Their factors must be numbers as readStoredFactor reads them (the
// conversion reads the stored text the same way); then no name may follow the
// gap; then no filled row may repeat a built-in unit of the quantity or an
// earlier row, trimmed and in any letter case (a person cannot tell such
// names apart, and the conversion would silently take the other unit).
// Otherwise every position 1 to 10 gets its trimmed name and factor, and the
// count the number of filled rows. The units are one list: when the rows are
// still those loaded, every key keeps what the store holds by then (another
// copy of the program may have changed them), else every key is written, so
// that no name is ever paired with a factor of another list.
NewUnitVerdict checkNewUnits(const QString &quantity, const NewUnitRows &rows, const NewUnitRows &loaded = {});

// The text of a NameTaken refusal for the name in that row.
QString nameTakenMessage(const QString &quantity, const QString &name);

}
