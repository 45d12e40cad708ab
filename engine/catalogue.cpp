#include "engine/catalogue.h"

#include "engine/stringtable.h"

#include <algorithm>

namespace quantix {

namespace {

struct QuantityRow
{
    int id;
    int unitCount;
    int baseUnitId;
    int firstCompoundId = 0;
    int compoundCount = 0;
};

constexpr std::array<QuantityRow, Catalogue::quantityCount> quantityRows{{
    {500, 5, 501},   // Acceleration
    {510, 6, 513, 1405, 1},  // Angle; degrees, minutes and seconds
    {520, 6, 522},   // Angular Velocity
    {530, 12, 538},  // Area
    {550, 3, 552},   // Capacitance
    {560, 6, 563},   // Charge
    {570, 5, 572},   // Conductance
    {580, 9, 586},   // Density
    {590, 5, 594},   // Dynamic Viscosity
    {600, 5, 603},   // Electric Field Strength
    {610, 24, 620},  // Energy
    {640, 19, 647},  // Flow
    {660, 8, 664},   // Force
    {670, 7, 675},   // Illuminance
    {680, 5, 684},   // Kinematic Viscosity
    {690, 29, 701, 1401, 1},  // Length; feet and inches
    {720, 8, 724},   // Luminance
    {730, 5, 733},   // Magnetic Field Strength
    {740, 6, 743},   // Magnetic Flux
    {750, 7, 754},   // Magnetic Flux Density
    {760, 5, 763},   // Magnetomotive Force
    {770, 16, 774, 1402, 2},  // Mass; pounds and ounces, stones and pounds
    {790, 17, 801},  // Power
    {810, 14, 818},  // Power Density
    {830, 13, 833},  // Pressure or Stress
    {850, 4, 851},   // Temperature
    {980, 4, 981},   // Temperature Difference, numbered after the first versions' quantities
    {860, 5, 863},   // Thermal Conductivity
    {870, 14, 880, 1404, 1},  // Time; hours, minutes and seconds
    {890, 8, 893},   // Torque
    {910, 14, 911},  // Velocity
    {930, 13, 932},  // Volume (Dry)
    {950, 26, 970},  // Volume (Liquid)
}};

struct FormerName
{
    int unitId;
    const char16_t *name;
};

constexpr FormerName formerNames[] = {
    {871, u"millenium"},
};

}

const Catalogue &Catalogue::instance()
{
    static const Catalogue catalogue;
    return catalogue;
}

Catalogue::Catalogue()
{
    const StringTable &strings = StringTable::instance();
    for (std::size_t i = 0; i < quantityRows.size(); ++i) {
        const QuantityRow &row = quantityRows[i];
        m_quantities[i] = Quantity{row.id,         row.unitCount,       row.baseUnitId, strings.text(row.id), strings.text(row.baseUnitId),
                                   row.firstCompoundId, row.compoundCount};
    }
}

// The first versions stored the 32 quantities by position, in the order of
// their IDs; later quantities have higher IDs, so the rank of the ID keeps
// every stored number's meaning.
int Catalogue::storedIndex(int position) const
{
    const int id = at(position).id;
    return int(std::count_if(m_quantities.begin(), m_quantities.end(), [id](const Quantity &q) { return q.id < id; }));
}

int Catalogue::positionOfStoredIndex(int index) const
{
    for (int i = 0; i < quantityCount; ++i) {
        if (storedIndex(i) == index)
            return i;
    }
    return -1;
}

int Catalogue::positionOfName(QStringView name) const
{
    for (int i = 0; i < quantityCount; ++i) {
        if (at(i).name == name)
            return i;
    }
    return -1;
}

int Catalogue::positionOfId(int quantityId) const
{
    for (int i = 0; i < quantityCount; ++i) {
        if (at(i).id == quantityId)
            return i;
    }
    return -1;
}

const Quantity *Catalogue::byName(QStringView name) const
{
    const int position = positionOfName(name);
    return position < 0 ? nullptr : &at(position);
}

const Quantity *Catalogue::byId(int quantityId) const
{
    const int position = positionOfId(quantityId);
    return position < 0 ? nullptr : &at(position);
}

QString Catalogue::unitName(const Quantity &q, int j)
{
    return str(q.unitId(j));
}

QString Catalogue::formerName(QStringView name)
{
    for (const FormerName &former : formerNames) {
        if (str(former.unitId) == name)
            return QString::fromUtf16(former.name);
    }
    return {};
}

}
