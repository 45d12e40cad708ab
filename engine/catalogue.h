#pragma once

#include <QString>
#include <QStringView>

#include <array>

namespace quantix {

// One row of the quantity table. Units of a quantity have the string IDs
// id + 1 to id + unitCount, in list order; its units written in parts
// ("feet and inches") follow them, numbered in a range of their own.
struct Quantity
{
    int id;            // string ID of the quantity's name: 500, 510, ... 950, then 980
    int unitCount;
    int baseUnitId;    // string ID of the unit every conversion passes through
    QString name;      // display name, from the string table
    QString baseUnitName;
    int firstCompoundId = 0;
    int compoundCount = 0;

    int firstUnitId() const { return id + 1; }
    int lastUnitId() const { return id + unitCount; }
    // Every built-in unit, those in parts last: j = 1 to builtInCount().
    int builtInCount() const { return unitCount + compoundCount; }
    int unitId(int j) const { return j <= unitCount ? id + j : firstCompoundId + j - unitCount - 1; }
};

// The 33 quantities and 338 built-in units, 5 of them written in parts. The catalogue holds no names of
// its own: it is the numbering scheme over the string table. Positions are
// the order of the lists; Temperature Difference follows Temperature.
class Catalogue
{
public:
    static constexpr int quantityCount = 33;
    static constexpr int temperatureId = 850;

    // The catalogue over the shipped string table, built once.
    static const Catalogue &instance();

    const std::array<Quantity, quantityCount> &quantities() const { return m_quantities; }
    const Quantity &at(int position) const { return m_quantities[static_cast<std::size_t>(position)]; }

    // The number a stored setting gives the quantity at this position, 0 to
    // 32: the first versions' positions for their 32 quantities, the later
    // ones numbered after them. -1 for a number that is none of them.
    int storedIndex(int position) const;
    int positionOfStoredIndex(int index) const;

    // Catalogue position (0 to 32) of the quantity with this exact display
    // name or string ID; -1 when there is none.
    int positionOfName(QStringView name) const;
    int positionOfId(int quantityId) const;
    const Quantity *byName(QStringView name) const;
    const Quantity *byId(int quantityId) const;

    // Display name of a built-in unit of quantity q (j = 1 to builtInCount()).
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
