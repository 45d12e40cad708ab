#include "engine/errors.h"

#include "engine/stringtable.h"

namespace quantix {

namespace {

const char *descriptionOf(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::None: break;
    case ErrorNumber::InvalidArgument: return "Invalid procedure call or argument";
    case ErrorNumber::Overflow: return "Overflow";
    case ErrorNumber::SubscriptOutOfRange: return "Subscript out of range";
    case ErrorNumber::DivisionByZero: return "Division by zero";
    case ErrorNumber::TypeMismatch: return "Type mismatch";
    case ErrorNumber::ResumeWithoutError: return "Resume without error";
    case ErrorNumber::FileNotFound: return "File not found";
    case ErrorNumber::PermissionDenied: return "Permission denied";
    case ErrorNumber::PathFileAccess: return "Path/File access error";
    case ErrorNumber::PathNotFound: return "Path not found";
    }
    return "Application-defined or object-defined error";
}

}

QString describe(ErrorNumber number)
{
    return QString::fromLatin1(descriptionOf(number));
}

const char *ConversionError::what() const noexcept
{
    return descriptionOf(m_number);
}

QString conversionErrorMessage(ErrorNumber number)
{
    if (number == ErrorNumber::Overflow)
        return str(334);
    return QLatin1String("The error #") + QString::number(toInt(number)) + QLatin1String(" occurred - ") + describe(number);
}

}
