#pragma once

#include "appstate.h"
#include "catalogue.h"
#include "converter.h"

#include <QStringList>

#include <optional>

namespace quantix {

class UserUnitStore;

// The quantities the main window offers: catalogue order, those whose
// availability (section "units") reads "1".
QStringList offeredQuantityNames();

// The units FillUnitLists puts into both unit lists: the quantity's offered
// catalogue units in catalogue order, then its user units whose "used" flag
// reads "1", in positions 1 to 10 ("unknown" where a name is missing).
QStringList offeredUnitNames(const Quantity &quantity, const UserUnitStore &store);

// What the three lists and the input of the main window hold when a
// conversion runs.
struct ConversionInputs
{
    QString unit1;
    QString unit2;
    QString input;
};

// One quantity's conversion as the main window runs it: the remembered name
// slot takes the initial unit's name, the final unit name and the input value
// are set, and the result is formatted as ShowResult formats it. Returns the
// text to show, or nothing when ShowResult shows nothing. Throws
// ConversionError.
std::optional<QString> runQuantityConversion(AppState &state, const Converter &converter, const Quantity &quantity,
                                             const ConversionInputs &inputs, QStringView decimalSeparator);

// ShowResult's text for a value: nothing while the remembered name slot or
// the final unit name is empty; decimal places outside 0 to 8 become 3 (the
// state itself is corrected); an empty formatted text shows as "0".
std::optional<QString> showResultText(AppState &state, double value, QStringView decimalSeparator);

}
