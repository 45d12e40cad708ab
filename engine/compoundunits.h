#pragma once

#include "engine/numbers.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace quantix {

// A unit written in parts, largest first ("5 ft 11.250 in", "1 h 30 min
// 15.000 s"): its values count its smallest part, and each larger part holds
// a whole number of the next one.
struct CompoundUnit
{
    int id;                // string ID of the unit's name
    int parts;             // 2 or 3
    int ratios[2];         // how many of the next part one part holds
    const char *labels[3]; // written after each part's number
};

// The unit written in parts with this string ID; nullptr for any other.
const CompoundUnit *compoundUnit(int unitId);

// How many of its smallest part the largest part of the unit holds (12 for feet and inches).
double largestPartSize(const CompoundUnit &unit);

// The unit whose whole inches fractional inches round: "inch (in)".
inline constexpr int inchUnitId = 704;

// The fractions of an inch results may be rounded to: 2, 4, ... 64.
bool isInchFraction(int fraction);

// A value of the smallest part written in parts: whole numbers, the last
// part with the style's decimal places (in the regular style whatever the
// style: a part with an exponent reads as no measure does), the sign once
// before the first part. Rounding comes first, so that a carry moves into
// the larger parts (6 ft .000 in, never 5 ft 12.000 in). With inchFraction
// (2 to 64) the inches of feet and inches are rounded to that fraction of an
// inch and written reduced (5 ft 11 5/16 in). A value too large to count in
// whole smallest parts is written in the largest part alone.
// Throws ConversionError(Overflow) for a value that is not finite.
QString formatCompound(double value, const CompoundUnit &unit, const NumberStyle &style, QStringView decimalSeparator);

// Inches alone rounded to a fraction of an inch: "11 5/16", "3/4", "-2".
QString formatInchFraction(double inches, int fraction);

// A result as the unit with this string ID shows it: in parts, as inches
// with their fraction where the style has one, else as formatResult writes
// it.
QString formatUnitResult(double value, int unitId, const NumberStyle &style, QStringView decimalSeparator, QStringView groupSeparator = {});

// Whether a result in this unit takes another form than formatResult's.
bool hasOwnForm(int unitId, const NumberStyle &style);

// The unit whose typed values are read in parts: a unit written in parts,
// or the inch alone, read as one part so that its fractions ("3/4",
// "11 5/16 in"), as fractional inches show them, read back; nullptr for any
// other.
const CompoundUnit *typedInParts(int unitId);

// Reads a value typed in parts as people write them: numbers separated by
// blanks or ":", each may be followed by its part's mark ("5' 11\"",
// "5 ft 11 in", "5ft11.5", "1:30:15", "12°30'15\"", "12 30 15"); numbers
// without marks fill the parts from the largest; the last number may carry
// a fraction ("11 1/2"); a sign stands once in front. Empty when the text
// does not read so; the caller then reads the first number alone, in the
// largest part. The result counts the smallest part.
std::optional<double> readCompound(QStringView text, const CompoundUnit &unit, QStringView decimalSeparator);

// The typed value as a unit in parts reads it, falling back to the
// leading-number rule in the largest part.
double readCompoundValue(QStringView text, const CompoundUnit &unit, QStringView decimalSeparator);

}
