#pragma once

#include "converter.h"
#include "numbers.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace quantix {

// Converts a stream of typed values between two resolved units, writing one
// result line per value exactly as the main window would show it. Failures
// go to the error stream with the value and where it came from; the run
// goes on.
class BatchConverter
{
public:
    BatchConverter(const Converter &converter, const Quantity &quantity, UnitRef from, UnitRef to, NumberStyle style);

    // One value; an error message names it as originKind and number
    // ("line 3", "argument 1").
    void convert(std::string_view text, const char *originKind, long long originNumber);
    // Every line of the stream, in constant memory.
    void convertLines(std::FILE *input);
    void flush();

    bool anyFailed() const { return m_failed; }

private:
    const Converter &m_converter;
    const Quantity &m_quantity;
    UnitRef m_from;
    UnitRef m_to;
    NumberStyle m_style;
    std::string m_separator;
    std::string m_out;
    bool m_failed = false;
};

}
