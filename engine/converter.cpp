#include "engine/converter.h"

#include "engine/errors.h"
#include "engine/stringtable.h"

#include <cmath>

namespace quantix {

namespace {

double checked(double value)
{
    if (!std::isfinite(value))
        throw ConversionError(ErrorNumber::Overflow);
    return value;
}

}

Converter::Converter(const Quantity &quantity, UserUnits userUnits)
    : m_quantity(&quantity)
    , m_userUnits(std::move(userUnits))
{
}

UnitRef Converter::resolve(const QString &name) const
{
    for (int j = 1; j <= m_quantity->builtInCount(); ++j) {
        if (Catalogue::unitName(*m_quantity, j) == name)
            return UnitRef{unitRule(m_quantity->unitId(j)), {}};
    }
    return UnitRef{nullptr, name};
}

// Temperature has no user units: another name leaves the value as it is.
double Converter::toBase(const UnitRef &unit, double value) const
{
    if (unit.rule)
        return checked(applyToBase(*unit.rule, value));
    if (m_quantity->id == Catalogue::temperatureId)
        return value;
    return SuppUnitCalc(unit.name, value, 0);
}

double Converter::fromBase(const UnitRef &unit, double value) const
{
    if (unit.rule)
        return checked(applyFromBase(*unit.rule, value));
    if (m_quantity->id == Catalogue::temperatureId)
        return value;
    return SuppUnitCalc(unit.name, value, 1);
}

double Converter::convert(const QString &from, const QString &to, double value) const
{
    const double base = toBase(resolve(from), checked(value));
    return fromBase(resolve(to), base);
}

double Converter::SuppUnitCalc(const QString &cbo1, double rawValue, int toggle) const
{
    if (m_userUnits.damaged)
        throw ConversionError(ErrorNumber::TypeMismatch);
    for (const UserUnit &unit : m_userUnits.units) {
        if (unit.name != cbo1)
            continue;
        if (!unit.factor)
            throw ConversionError(ErrorNumber::TypeMismatch);
        if (toggle == 0)
            return checked(rawValue * *unit.factor);
        if (*unit.factor == 0)
            throw ConversionError(ErrorNumber::DivisionByZero);
        return checked(rawValue / *unit.factor);
    }
    return 0;
}

}
