#include "converter.h"

#include "conversionerror.h"
#include "numbers.h"
#include "stringtable.h"
#include "userunitstore.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace quantix {

namespace {

double checked(double value)
{
    if (!std::isfinite(value))
        throw ConversionError(ConversionError::Overflow);
    return value;
}

bool isTemperature(const Quantity &quantity)
{
    return quantity.id == Catalogue::temperatureId;
}

}

UnitRef Converter::resolve(const Quantity &quantity, const QString &name)
{
    const StringTable &strings = StringTable::instance();
    for (const UnitRule &unit : unitRules(quantity.id)) {
        if (strings.text(unit.id) == name)
            return UnitRef{&unit, {}};
    }
    return UnitRef{nullptr, name};
}

double Converter::toBase(const Quantity &quantity, const UnitRef &unit, double value) const
{
    if (unit.rule)
        return checked(applyToBase(*unit.rule, value));
    if (isTemperature(quantity))
        return value;
    return SuppUnitCalc(quantity.id, unit.name, value, 0);
}

double Converter::fromBase(const Quantity &quantity, const UnitRef &unit, double value) const
{
    if (unit.rule)
        return checked(applyFromBase(*unit.rule, value));
    if (isTemperature(quantity))
        return value;
    return SuppUnitCalc(quantity.id, unit.name, value, 1);
}

double Converter::convert(const Quantity &quantity, const QString &from, const QString &to, double value) const
{
    const double base = toBase(quantity, resolve(quantity, from), checked(value));
    return fromBase(quantity, resolve(quantity, to), base);
}

double Converter::SuppUnitCalc(int baseUnit, const QString &cbo1, double rawValue, int toggle) const
{
    const Quantity *quantity = Catalogue::instance().byId(baseUnit);
    if (!quantity)
        return 0;
    const QString &q = quantity->name;
    const std::optional<int> count = m_store.count(q);
    if (!count)
        throw ConversionError(ConversionError::TypeMismatch);
    const int n = std::min(*count, UserUnitStore::maxUnits);
    for (int i = 1; i <= n; ++i) {
        if (cbo1 != m_store.name(q, i, QString()))
            continue;
        const std::optional<double> factor = readStoredFactor(m_store.read(UserUnitStore::factorKey(q, i), QStringLiteral("0")));
        if (!factor)
            throw ConversionError(ConversionError::TypeMismatch);
        if (toggle == 0)
            return checked(rawValue * *factor);
        if (*factor == 0)
            throw ConversionError(ConversionError::DivisionByZero);
        return checked(rawValue / *factor);
    }
    return 0;
}

QStringList Converter::userUnitNames(const Quantity &quantity) const
{
    QStringList names;
    const int n = std::clamp(m_store.count(quantity.name).value_or(0), 0, UserUnitStore::maxUnits);
    for (int i = 1; i <= n; ++i)
        names << m_store.name(quantity.name, i, QString());
    return names;
}

}
