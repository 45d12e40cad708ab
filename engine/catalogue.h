#pragma once

#include <QString>
#include <QStringView>

#include <array>

namespace quantix {

// One row of the quantity table. Units of a quantity have the string IDs
// id + 1 to id + unitCount, in list order.
struct Quantity
{
    int id;            // string ID of the quantity's name: 500, 510, ... 950
    int unitCount;
    int baseUnitId;    // string ID of the unit every conversion passes through
    QString name;      // display name, from the string table
    QString baseUnitName;

    int firstUnitId() const { return id + 1; }
    int lastUnitId() const { return id + unitCount; }
};

// The 32 quantities and 329 built-in units. The catalogue holds no names of
// its own: it is the numbering scheme over the string table.
class Catalogue
{
public:
    static constexpr int quantityCount = 32;
    static constexpr int temperatureId = 850;

    // The catalogue over the shipped string table, built once.
    static const Catalogue &instance();

    const std::array<Quantity, quantityCount> &quantities() const { return m_quantities; }
    const Quantity &at(int position) const { return m_quantities[static_cast<std::size_t>(position)]; }

    // Catalogue position (0 to 31) of the quantity with this exact display
    // name or string ID; -1 when there is none.
    int positionOfName(QStringView name) const;
    int positionOfId(int quantityId) const;
    const Quantity *byName(QStringView name) const;
    const Quantity *byId(int quantityId) const;

    // Display name of a unit of quantity q (j = 1 to unit count).
    static QString unitName(const Quantity &q, int j);

    // The name a built-in unit was shown under before its spelling was
    // corrected ("millenium"), or an empty text: a setting stored under it by
    // an older version still means the unit. (Typed, the old spelling is one
    // of NameVariants' spellings.)
    static QString formerName(QStringView name);

private:
    Catalogue();
    std::array<Quantity, quantityCount> m_quantities;
};

}
