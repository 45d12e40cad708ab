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
};

// Finds names by what a person types: the whole name, its symbol, the start
// of one of its words or any part of it, ignoring case and accents, with the
// ASCII spellings of symbols ("u" for "µ", "deg" or nothing for "°", "2" and
// "3" for "²" and "³", "A" for "Å"). The names are prepared once, so that a
// match costs little on every keystroke.
class NameMatcher
{
public:
    explicit NameMatcher(const QStringList &names = {});

    const QStringList &names() const { return m_names; }

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
    QList<qsizetype> candidates;   // otherwise the best candidates, best first
    qsizetype moreCandidates = 0;  // candidates left out beyond the limit
};

// A name is taken only when exactly one name is left at the best rank and
// that rank is not a misspelling. Ambiguous: the names tied at the best rank.
// Unknown: the misspelt names, if any. At most limit candidates are listed.
NameChoice chooseName(const NameMatcher &matcher, QStringView text, qsizetype limit = 10);

}
