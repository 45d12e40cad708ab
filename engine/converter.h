#pragma once

#include "engine/catalogue.h"
#include "engine/factortable.h"

#include <QList>
#include <QString>

#include <optional>

namespace quantix {

// A unit the user defined for a quantity: its name as the lists show it and
// how many of the quantity's base unit one of it makes. No factor when the
// stored text is not a number.
struct UserUnit
{
    QString name;
    std::optional<double> factor;

    friend bool operator==(const UserUnit &, const UserUnit &) = default;
};

// The user-defined units of one quantity, in their stored order. Damaged when
// the stored count is not a number: a conversion that needs a user unit of
// the quantity then fails.
struct UserUnits
{
    QList<UserUnit> units;
    bool damaged = false;
};

// A unit of one quantity, resolved once: a built-in rule, or the name of a
// user-defined unit.
struct UnitRef
{
    const UnitRule *rule = nullptr;
    QString name;
};

// Converts values between the units of one quantity through its base unit:
// built-in units by their rules, other names through SuppUnitCalc and the
// quantity's user units, which the caller reads and hands over. Failures
// throw ConversionError.
class Converter
{
public:
    explicit Converter(const Quantity &quantity, UserUnits userUnits = {});

    const Quantity &quantity() const { return *m_quantity; }

    // The value in unit `from` expressed in unit `to`. Names are compared
    // exactly; a name that is no built-in unit is looked up among the user
    // units (Temperature leaves the value as it is instead).
    double convert(const QString &from, const QString &to, double value) const;

    // The same with units resolved beforehand.
    UnitRef resolve(const QString &name) const;
    double toBase(const UnitRef &unit, double value) const;
    double fromBase(const UnitRef &unit, double value) const;

    // A user-defined unit: toggle 0 converts rawValue from the unit named
    // cbo1 into the base unit (× factor), toggle 1 from the base unit into it
    // (÷ factor). A name that is none of the user units gives 0.
    double SuppUnitCalc(const QString &cbo1, double rawValue, int toggle) const;

private:
    const Quantity *m_quantity;
    UserUnits m_userUnits;
};

}
