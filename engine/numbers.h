#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quantix {

// Reads a typed value by the leading-number rule: blanks are skipped before
// and ignored inside the number; an optional sign, digits with at most one
// decimal point and an optional exponent introduced by E or D are read up to
// the first character that does not fit; "&H" and "&O" read a hexadecimal or
// octal whole number instead. Text without a leading number reads as 0; a
// value too small for a double reads as 0. "." is a decimal point in every
// locale; localePoint, the locale's decimal separator in UTF-8, is one as
// well where it is another character, so that every result the program
// shows reads back ("8,202" where the separator is ","). Throws
// ConversionError(Overflow) when the number is too large for a double.
// Plain decimals take a quicker way than TypedValueReader, to the same value;
// tests compare the two.
double readTypedValue(std::string_view text, std::string_view localePoint = {});
double readTypedValue(QStringView text, QStringView localePoint = {});

// The value of a plain decimal as readTypedValue reads it, by a quicker way
// than TypedValueReader: [sign]digits[.digits] with an optional exponent (E
// and up to four digits), nothing before or after but the carriage return
// of a CR LF line end, at most 19 significant digits; the form most values
// come in. Empty for every other text, the locale's decimal separator among
// them, and for a value beyond a double's range, which only the general
// reader turns into zero or an overflow.
std::optional<double> readPlainDecimal(std::string_view text);

// The part of a typed text that its value was read from, where a second
// decimal point cut the number short ("1.234" of "1.234,5" where the
// locale's separator is ","); nothing for any other text.
std::optional<QString> typedValueCut(QStringView text, QStringView localePoint);

// The same rule over text that arrives in pieces, in bounded memory whatever
// its length: it keeps the significant digits that can still decide the
// rounding (a double needs at most 767; later ones only count and say
// whether they were all zeros) and the exponent. value() gives the double
// readTypedValue gives for the whole text read so far.
class TypedValueReader
{
public:
    explicit TypedValueReader(std::string_view localePoint = {});
    // Starts a new text.
    void reset();

    // Reads the next piece. False once the number has ended: nothing that
    // follows can change the value, so the caller may skip the rest unread.
    bool read(std::string_view piece);
    bool finished() const { return m_state == State::Done; }

    // Throws ConversionError(Overflow) when the number is too large for a double.
    double value() const;

    // The number ended at a second decimal point where the locale has two
    // ("1.234,5", "1,2,3"): the text may not mean what was read.
    bool cutAtPoint() const { return m_cutAtPoint; }
    // The bytes read before the first one that is not part of the number.
    long long numberLength() const { return m_length; }

private:
    static constexpr std::size_t keptDigits = 800;

    enum class State : unsigned char { Start, Ampersand, Radix, Mantissa, LocalePoint, ExponentMark, ExponentSign, ExponentDigits, Done };

    bool take(char c);
    bool takePoint();
    void addDigit(char c);
    double decimalValue() const;

    std::array<char, 4> m_localePoint{};
    unsigned char m_localePointSize = 0;  // 0: "." is the only decimal point
    unsigned char m_matched;              // bytes of the locale's point read so far
    State m_state;
    bool m_negative;
    bool m_seenPoint;
    bool m_negativeExponent;
    bool m_droppedNonZero;    // a digit after the kept ones was not 0
    bool m_cutAtPoint;
    int m_radix;              // 16 or 8 after "&H" / "&O"
    std::size_t m_count;      // significant digits kept, leading zeros dropped
    long long m_dropped;      // significant digits after the kept ones
    long long m_pointShift;   // minus the digits after the decimal point
    long long m_exponent;
    long long m_length;
    double m_radixValue;
    std::array<char, keptDigits> m_digits;
};

// Reads a stored user-unit factor with the number rules of the locale
// (decimal separator, digit grouping, sign, exponent), ignoring surrounding
// blanks. Empty when the text is not a finite number. The new-unit dialog's
// check and the conversion both use this, so they agree on every text.
std::optional<double> readStoredFactor(QStringView text, const QLocale &locale = QLocale());

struct NumberStyle
{
    int decimals = 3;         // 0 to 8
    bool scientific = false;
    // The styles beyond these two; all off leaves the text as it always was.
    bool significant = false;   // with scientific off: significantDigits instead of decimals
    bool engineering = false;   // with scientific on: an exponent that is a multiple of 3
    int significantDigits = 6;  // 1 to 15
    bool grouping = false;      // the group separator in the integer digits, not in an exponent form
    bool leadingZero = false;   // "0.500" instead of ".500"
    int inchFraction = 0;       // 2 to 64: inches of a result rounded to that fraction (see compoundunits.h)

    friend bool operator==(const NumberStyle &, const NumberStyle &) = default;
};

// Formats a result by the pattern "#." + decimals zeros (+ "E+#" in the
// scientific style): no leading zero before the separator, no thousands
// separator, rounded half away from zero on the shortest decimal text of the
// double (2.675 to two places is 2.68). A text is never without a digit:
// what rounds to zero with no decimals is "0.", and zero in the scientific
// style is "0.000E+0", never with a minus sign. A rounding carry moves the
// exponent (9.9996 gives 1.000E+1).
// The further styles: significant digits round to that many digits and are
// written in full from 1E-4 to below 1E+15, in the scientific form outside
// (significant zeros kept: 1.20, 1.00E-17); engineering writes 1 to 3 digits
// before the separator and an exponent that is a multiple of 3 (12.35E+3);
// grouping puts groupSeparator between every three integer digits where it
// differs from the decimal separator; a leading zero stands before a
// separator that no digit would precede.
// Throws ConversionError(Overflow) for a value that is not finite.
QString formatResult(double value, const NumberStyle &style, QStringView decimalSeparator, QStringView groupSeparator = {});

// The same, appending UTF-8 text to out; for callers that format many values.
void appendFormattedResult(std::string &out, double value, const NumberStyle &style, std::string_view decimalSeparator,
                           std::string_view groupSeparator = {});

// The same text by the general way, from the shortest decimal digits of the
// value, for every value and style. appendFormattedResult takes a quicker way
// where it gives the same text; tests compare the two.
void appendFormattedResultByDigits(std::string &out, double value, const NumberStyle &style, std::string_view decimalSeparator,
                                   std::string_view groupSeparator = {});

// A shown result as it pastes back: without the group separators that
// grouping put between its digits.
QString withoutGrouping(const QString &shown, QStringView groupSeparator);

}
