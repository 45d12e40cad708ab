#pragma once

#include "engine/catalogue.h"
#include "engine/converter.h"
#include "engine/numbers.h"

#include <QStringList>

#include <optional>

namespace quantix {

class UserUnitStore;

// The conversion in progress, as the main window keeps it between events.
struct ConversionState
{
    QString rememberedName;  // selected quantity, then the initial unit's name
    QString finalUnitName;
    double inputValue = 0;
};

// Whether the quantity or catalogue unit of this name is offered: its flag
// in section "units" reads "1" (default "1"). A unit renamed since keeps the
// flag stored under its former name until one under its own is written.
bool isOffered(const QString &name);

// The quantities the main window offers: catalogue order, those whose
// availability (section "units") reads "1".
QStringList offeredQuantityNames();

// The units FillUnitLists puts into both unit lists: the quantity's offered
// catalogue units in catalogue order, then its user units whose "used" flag
// reads "1", in their stored positions ("unknown" where a name is missing).
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
// are set, and the result is formatted as ShowResult formats it. The
// locale's decimal separator writes the result and, besides ".", reads the
// input; its group separator groups the digits where the style does. Returns the text to show, or nothing when ShowResult shows nothing.
// Throws ConversionError.
std::optional<QString> runQuantityConversion(ConversionState &state, const Converter &converter, const ConversionInputs &inputs,
                                             const NumberStyle &style, QStringView decimalSeparator,
                                             QStringView groupSeparator = {});

// What the input's tool tip tells while a second decimal point cuts the
// typed number short ("Read as 1.234: ..." for "1.234,5"); nothing otherwise.
std::optional<QString> inputReadingNote(QStringView input, QStringView decimalSeparator);

// ShowResult's text for a value in the final unit with this string ID (0
// for a unit of the user's): nothing while the remembered name slot or the
// final unit name is empty; an empty formatted text shows as "0". A unit
// written in parts writes its parts, inches their fraction where the style
// has one.
std::optional<QString> showResultText(const ConversionState &state, double value, const NumberStyle &style, QStringView decimalSeparator,
                                      QStringView groupSeparator = {}, int finalUnitId = 0);

}
