#pragma once

#include "engine/converter.h"
#include "engine/compoundunits.h"
#include "engine/numbers.h"

#include <string>
#include <string_view>

namespace quantix {

class OutputStream;

// Converts a stream of typed values between two resolved units, writing one
// result line per value exactly as the main window would show it. The
// decimal point writes the results and, besides ".", reads the values, so
// that the results read back; the group separator groups their digits where
// the style asks for it. Values of a unit in parts are read in parts, and
// results in such a unit written in them. A value that fails, or that a second decimal
// point cuts short ("1.234,5" with ","), gives an empty line and a message on
// standard error naming the value and where it came from; the run goes on.
class BatchConverter
{
public:
    BatchConverter(const Converter &converter, UnitRef from, UnitRef to, NumberStyle style, std::string decimalPoint,
                   std::string groupSeparator, OutputStream &output);

    // One value; an error message names it as originKind and number
    // ("line 3", "argument 1").
    void convert(std::string_view text, const char *originKind, long long originNumber);

    // Every line of the descriptor, in bounded memory whatever the line
    // lengths, until the end of the input or a failed write. Returns 0, or
    // the errno of a failed read; what was converted before it is written.
    int convertLines(int fd);

    bool anyFailed() const { return m_failed; }

private:
    // number: a TypedValueReader or a BoundedLine that has read the value.
    template<typename Number>
    void convertValue(const Number &number, std::string_view start, bool cut, const char *originKind, long long originNumber);

    const Converter &m_converter;
    UnitRef m_from;
    UnitRef m_to;
    NumberStyle m_style;
    std::string m_separator;
    std::string m_groupSeparator;
    const CompoundUnit *m_fromParts = nullptr;  // values typed in parts
    int m_ownFormUnit = 0;  // the final unit's ID where its results are not formatResult's
    OutputStream &m_output;
    bool m_failed = false;
};

}
