#pragma once

#include "engine/catalogue.h"
#include "engine/converter.h"

#include <QStringList>

namespace quantix {

class UserUnitStore;

// The user units of a quantity as the store holds them now, for the
// converter: the stored positions, named as the lists show them, with their
// factors read as the new-unit dialog checks them. Read once by whoever
// converts, when the quantity is chosen or the store may have changed, so
// that a conversion itself touches no file.
UserUnits readUserUnits(const Quantity &quantity, const UserUnitStore &store);

// Their names, in stored order.
QStringList userUnitNames(const UserUnits &units);

}
