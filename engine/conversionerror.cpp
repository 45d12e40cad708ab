#include "conversionerror.h"

#include "stringtable.h"

namespace quantix {

namespace {

const char *descriptionOf(int number)
{
    switch (number) {
    case 5: return "Invalid procedure call or argument";
    case ConversionError::Overflow: return "Overflow";
    case 9: return "Subscript out of range";
    case ConversionError::DivisionByZero: return "Division by zero";
    case ConversionError::TypeMismatch: return "Type mismatch";
    case 20: return "Resume without error";
    case 53: return "File not found";
    case 70: return "Permission denied";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    default: return "Application-defined or object-defined error";
    }
}

}

const char *ConversionError::what() const noexcept
{
    return descriptionOf(m_number);
}

QString ConversionError::describe(int number)
{
    return QString::fromLatin1(descriptionOf(number));
}

QString conversionErrorMessage(int number)
{
    if (number == ConversionError::Overflow)
        return str(334);
    return QLatin1String("The error #") + QString::number(number) + QLatin1String(" occurred - ") + ConversionError::describe(number);
}

}
