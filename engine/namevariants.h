#pragma once

#include "engine/catalogue.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quantix {

// The names people write for units besides the catalogue's own, kept as data
// beside the string table: abbreviations that stand for one catalogue unit
// ("mi", "kph", "sq ft"), and other spellings of the words of unit names
// ("meter", "gramme").
class NameVariants
{
public:
    struct Alias
    {
        QString text;
        int unitId;
    };

    // The variants that ship with the program, loaded once from the resources.
    static const NameVariants &instance();

    // Reads the two data files: aliases as ""ALIAS" ID" per line, spellings as
    // ""WORD" "OTHER" ..." per line; '#' starts a comment line. Lines of
    // another form are left out.
    static NameVariants parse(const QByteArray &aliases, const QByteArray &spellings);

    const QList<Alias> &aliases() const { return m_aliases; }
    QStringList aliasesOf(int unitId) const;

    // Each line's spellings, case-folded, the one the others are read as first.
    const QList<QStringList> &spellings() const { return m_spellings; }

    // A case-folded text with every other spelling of a word read as the
    // first one of its line: "kilometer" gives "kilometre".
    QString respelt(QString folded) const;

private:
    QList<Alias> m_aliases;
    QList<QStringList> m_spellings;
};

// The aliases of each of a quantity's unit names, for a NameMatcher: those of
// the catalogue unit of that name, none for a name the catalogue lacks.
QList<QStringList> unitAliases(const Quantity &quantity, const QStringList &unitNames);

}
