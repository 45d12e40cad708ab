#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace quantix {

// How well a typed text fits a name, best first.
enum class MatchRank {
    Exact,               // the name as it is written
    ExactIgnoringCase,   // the same ignoring case, accents and repeated blanks
    Symbol,              // the text in one of the name's brackets: "km", "°C", "um"
    SymbolIgnoringCase,  // the same ignoring case
    NameWithoutBrackets, // "kilogram" for "kilogram (kg)", ignoring case and accents
    NamePrefix,          // the start of the name, ignoring case and accents
    WordPrefix,          // the start of a later word of the name
    Substring,           // anywhere in the name
    Misspelt,            // one or two letters away; only when nothing else fits
};

struct NameMatch
{
    qsizetype index;  // position among the matcher's names
    MatchRank rank;
    int alias = -1;   // which of the name's aliases matched, if one did
};

// Finds names by what a person types: the whole name, its symbol or one of
// its aliases, the start of one of its words or any part of it, ignoring case
// and accents, with the ASCII spellings of symbols ("u" for "µ", "deg" or
// nothing for "°", "2" and "3" for "²" and "³", "A" for "Å") and the other
// spellings of words that NameVariants knows ("meter" for "metre"). The names
// are prepared once, so that a match costs little on every keystroke.
class NameMatcher
{
public:
    // aliases holds the aliases of the names at the same positions (see
    // unitAliases); they are compared as symbols and rank with them.
    explicit NameMatcher(const QStringList &names = {}, const QList<QStringList> &aliases = {});

    const QStringList &names() const { return m_names; }

    // The alias by which a name was matched; empty when it was not an alias.
    QString aliasOf(const NameMatch &match) const;

    // Every name the text fits, the best rank first and within a rank in the
    // order of the names. When nothing fits, the names one or two letters
    // away (for texts of four or more letters), the nearest first. Empty for
    // a text of blanks only.
    QList<NameMatch> matches(QStringView text) const;

private:
    struct Entry
    {
        QString folded;
        QString withoutBrackets;
        std::vector<bool> wordStart;  // per character of folded
        QStringList symbols;          // spelled forms, case kept
        QStringList foldedSymbols;
        QStringList aliases;          // as written
        QStringList aliasKeys;        // compared as symbols are
        QStringList foldedAliasKeys;  // ignoring case; empty for an alias in capitals only
        QStringList words;            // of four letters or more, folded, for misspellings
    };

    QStringList m_names;
    std::vector<Entry> m_entries;
};

// The outcome of taking one name for a typed text.
struct NameChoice
{
    enum class Outcome { Found, Ambiguous, Unknown };

    Outcome outcome = Outcome::Unknown;
    qsizetype index = -1;          // Found: the name taken
    MatchRank rank = MatchRank::Misspelt;  // how well the best names fit
    QList<qsizetype> candidates;   // otherwise the best candidates, best first
    qsizetype moreCandidates = 0;  // candidates left out beyond the limit
};

// A name is taken only when exactly one name is left at the best rank and
// that rank is not a misspelling. Ambiguous: the names tied at the best rank.
// Unknown: the misspelt names, if any. At most limit candidates are listed.
NameChoice chooseName(const NameMatcher &matcher, QStringView text, qsizetype limit = 10);

}
