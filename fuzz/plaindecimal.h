#pragma once

#include <string_view>

// What the fuzz targets share: the decimal texts every reader of numbers
// must read alike.

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits with at most one point and at least one digit, then optionally an
// exponent with digits: the texts on which both readers must agree exactly.
inline bool isPlainDecimal(std::string_view text)
{
    std::size_t i = 0;
    bool digits = false;
    for (; i < text.size() && isDigit(text[i]); ++i)
        digits = true;
    if (i < text.size() && text[i] == '.')
        ++i;
    for (; i < text.size() && isDigit(text[i]); ++i)
        digits = true;
    if (!digits)
        return false;
    if (i == text.size())
        return true;
    if (text[i] != 'e' && text[i] != 'E')
        return false;
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return false;
    }
    return true;
}
