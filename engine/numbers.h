#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

namespace quantix {

// Reads a typed value by the leading-number rule: blanks are skipped before
// and ignored inside the number; an optional sign, digits with at most one
// "." as the decimal point (whatever the locale) and an optional exponent
// introduced by E or D are read up to the first character that does not fit;
// "&H" and "&O" read a hexadecimal or octal whole number instead. Text without
// a leading number reads as 0; a value too small for a double reads as 0.
// Throws ConversionError(Overflow) when the number is too large for a double.
double readTypedValue(std::string_view text);
double readTypedValue(QStringView text);

// Reads a stored user-unit factor with the number rules of the locale
// (decimal separator, digit grouping, sign, exponent), ignoring surrounding
// blanks. Empty when the text is not a finite number. The new-unit dialog's
// check and the conversion both use this, so they agree on every text.
std::optional<double> readStoredFactor(QStringView text, const QLocale &locale = QLocale());

struct NumberStyle
{
    int decimals = 3;         // 0 to 8
    bool scientific = false;
};

// Formats a result by the pattern "#." + decimals zeros (+ "E+#" in the
// scientific style): no leading zero before the separator, no thousands
// separator, rounded half away from zero on the shortest decimal text of the
// double (2.675 to two places is 2.68). Zero in the scientific style is
// ".000E+0"; a rounding carry moves the exponent (9.9996 gives 1.000E+1).
// Throws ConversionError(Overflow) for a value that is not finite.
QString formatResult(double value, NumberStyle style, QStringView decimalSeparator);

// The same, appending UTF-8 text to out; for callers that format many values.
void appendFormattedResult(std::string &out, double value, NumberStyle style, std::string_view decimalSeparator);

}
