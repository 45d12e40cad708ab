#pragma once

#include "catalogue.h"
#include "factortable.h"

#include <QString>

namespace quantix {

class UserUnitStore;

// A unit of one quantity, resolved once: a built-in rule, or the name of a
// user-defined unit whose factor is read from the store at every use.
struct UnitRef
{
    const UnitRule *rule = nullptr;
    QString name;
};

// Converts values between the units of one quantity through its base unit:
// built-in units by their rules, other names through SuppUnitCalc and the
// user-unit store. Failures throw ConversionError.
class Converter
{
public:
    explicit Converter(const UserUnitStore &store) : m_store(store) {}

    // The value in unit `from` expressed in unit `to`. Names are compared
    // exactly; a name that is no built-in unit is looked up among the user
    // units (Temperature leaves the value as it is instead).
    double convert(const Quantity &quantity, const QString &from, const QString &to, double value) const;

    // The same with units resolved beforehand (see resolve()).
    double toBase(const Quantity &quantity, const UnitRef &unit, double value) const;
    double fromBase(const Quantity &quantity, const UnitRef &unit, double value) const;
    static UnitRef resolve(const Quantity &quantity, const QString &name);

    // A user-defined unit of the quantity with string ID baseUnit: toggle 0
    // converts rawValue from the unit named cbo1 into the base unit (× factor),
    // toggle 1 from the base unit into it (÷ factor). Stored names are
    // compared as the lists show them (cut to the dialog's length); a name
    // that matches no stored position gives 0. The store is read afresh at every call.
    double SuppUnitCalc(int baseUnit, const QString &cbo1, double rawValue, int toggle) const;

    // The user units of a quantity as the store holds them: positions 1 to
    // the stored count (at most 10), names cut to the length the new-unit
    // dialog takes. Empty when the count is not a number.
    QStringList userUnitNames(const Quantity &quantity) const;

private:
    const UserUnitStore &m_store;
};

}
