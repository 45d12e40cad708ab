#pragma once

#include <QString>

#include <exception>

namespace quantix {

// A failed conversion, numbered as the error messages expect: 6 overflow,
// 11 division by zero, 13 type mismatch (a damaged user-unit store).
class ConversionError : public std::exception
{
public:
    enum Number { Overflow = 6, DivisionByZero = 11, TypeMismatch = 13 };

    explicit ConversionError(int number) : m_number(number) {}

    int number() const { return m_number; }
    // The standard description of the error number ("Overflow", ...).
    QString description() const { return describe(m_number); }
    const char *what() const noexcept override;

    static QString describe(int number);

private:
    int m_number;
};

// The message a failed conversion shows: the overflow text of the string
// table, or "The error #N occurred - description" for any other number.
QString conversionErrorMessage(int number);

}
