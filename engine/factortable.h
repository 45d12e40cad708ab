#pragma once

#include <span>

namespace quantix {

// How a built-in unit converts into and out of its quantity's base unit.
enum class Rule {
    Copy,       // the base unit and units equal to it
    Multiply,   // into the base: value × E; out of it: value ÷ E
    Divide,     // into the base: value ÷ E; out of it: value × E
    Celsius,    // Temperature's offset rules; E is not used
    Kelvin,
    Fahrenheit,
    Rankine,
};

struct UnitRule
{
    int id;            // the unit's string ID
    Rule rule;
    double e;          // the constant expression, computed in full
    double eBack = 0;  // the constant of the way back, where the table writes another one
};

// The rules of a quantity's built-in units, in catalogue order (IDs
// quantityId + 1 onwards); empty for an unknown quantity.
std::span<const UnitRule> unitRules(int quantityId);

// The rule of the built-in unit with this string ID; nullptr for none.
const UnitRule *unitRule(int unitId);

// Applies a rule. The result may be infinite; callers check.
double applyToBase(const UnitRule &unit, double value);
double applyFromBase(const UnitRule &unit, double value);

}
