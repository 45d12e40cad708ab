#pragma once

#include <QString>

#include <exception>

namespace quantix {

// The program's error numbers. Messages show the number and its description
// ("Error #  75 occurred. Path/File access error"), so both stay as they are.
enum class ErrorNumber
{
    None = 0,
    InvalidArgument = 5,       // no shell program given
    Overflow = 6,              // a value or result too large for a double
    SubscriptOutOfRange = 9,   // a user-unit count above the ten rows
    DivisionByZero = 11,       // a user unit whose factor is 0
    TypeMismatch = 13,         // a damaged user-unit store
    ResumeWithoutError = 20,
    FileNotFound = 53,
    PermissionDenied = 70,
    PathFileAccess = 75,       // a file or the settings store could not be written
    PathNotFound = 76,
};

constexpr int toInt(ErrorNumber number)
{
    return static_cast<int>(number);
}

// The standard description of an error number ("Overflow", ...).
QString describe(ErrorNumber number);

// A failed conversion (overflow, division by zero, a damaged user unit).
class ConversionError : public std::exception
{
public:
    explicit ConversionError(ErrorNumber number) : m_number(number) {}

    ErrorNumber number() const { return m_number; }
    const char *what() const noexcept override;

private:
    ErrorNumber m_number;
};

// The message a failed conversion shows: the overflow text of the string
// table, or "The error #N occurred - description" for any other number.
QString conversionErrorMessage(ErrorNumber number);

}
