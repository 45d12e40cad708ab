#include "engine/namematch.h"

#include "engine/namevariants.h"

#include <algorithm>
#include <array>
#include <optional>

namespace quantix {

namespace {

constexpr char16_t degree = u'°';

// What a keyboard without special keys can type: compatibility forms taken
// apart ("²" is "2", "µ" the Greek letter), accents dropped, the Greek mu as
// "u". Case is kept.
QString spelled(QStringView text)
{
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        out += c == u'μ' ? QChar(u'u') : c;
    }
    return out;
}

// Compared as one text: case, accents, repeated blanks and the spellings of
// a word do not count.
QString folded(QStringView text)
{
    return NameVariants::instance().respelt(spelled(text).simplified().toCaseFolded());
}

// Symbols are compared without the marks people write in different ways
// between their parts: "N·m", "N.m", "N*m" and "N m" are one symbol.
QString symbolKey(const QString &spelledText)
{
    QString key;
    key.reserve(spelledText.size());
    for (const QChar c : spelledText) {
        if (c != u'·' && c != u'*' && c != u'.' && !c.isSpace())
            key += c;
    }
    return key;
}

// An alias written in capitals only stands apart from the same letters in
// small ones: "NM" is the nautical mile, "nm" would be a nanometre.
bool caseMatters(const QString &alias)
{
    return alias == alias.toUpper() && alias != alias.toLower();
}

// The texts in the name's brackets, each as typed forms of a symbol: as it
// is, and with its degree signs left out or written "deg".
QStringList symbolForms(QStringView name)
{
    QStringList forms;
    for (qsizetype open = name.indexOf(u'('); open >= 0; open = name.indexOf(u'(', open + 1)) {
        const qsizetype close = name.indexOf(u')', open + 1);
        if (close < 0)
            break;
        const QString key = symbolKey(spelled(name.mid(open + 1, close - open - 1)));
        for (QString form : {key, QString(key).remove(degree), QString(key).replace(degree, QLatin1String("deg"))}) {
            if (!form.isEmpty() && !forms.contains(form))
                forms << form;
        }
        open = close;
    }
    return forms;
}

bool isWordStart(const QString &text, qsizetype i)
{
    if (i == 0)
        return true;
    const QChar before = text[i - 1];
    return before.isSpace() || (text[i].isLetterOrNumber() && !before.isLetterOrNumber());
}

QString withoutBrackets(const QString &text)
{
    QString outside;
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'(')
            ++depth;
        else if (c == u')')
            depth = std::max(0, depth - 1);
        else if (depth == 0)
            outside += c;
    }
    return outside.simplified();
}

// The words of a name that a misspelt text is compared with: those of four
// letters or more.
QStringList longWords(const QString &foldedText)
{
    QStringList words;
    for (qsizetype i = 0; i < foldedText.size();) {
        qsizetype end = i;
        while (end < foldedText.size() && foldedText[end].isLetter())
            ++end;
        if (end - i >= 4) {
            const QString word = foldedText.mid(i, end - i);
            if (!words.contains(word))
                words << word;
        }
        i = std::max(end, i + 1);
    }
    return words;
}

// Edit distance with adjacent transpositions ("metre" and "meter" are one
// apart), or bound + 1 as soon as it is certain to exceed bound.
class Distance
{
public:
    int operator()(QStringView a, QStringView b, int bound)
    {
        if (std::abs(a.size() - b.size()) > bound)
            return bound + 1;
        const std::size_t m = static_cast<std::size_t>(b.size());
        for (auto &row : m_rows)
            row.assign(m + 1, 0);
        std::vector<int> *before = &m_rows[0], *previous = &m_rows[1], *current = &m_rows[2];
        for (std::size_t j = 0; j <= m; ++j)
            (*previous)[j] = int(j);
        for (qsizetype i = 1; i <= a.size(); ++i) {
            (*current)[0] = int(i);
            int rowBest = int(i);
            for (std::size_t j = 1; j <= m; ++j) {
                const qsizetype bj = qsizetype(j) - 1;
                int value = std::min({(*previous)[j] + 1, (*current)[j - 1] + 1,
                                      (*previous)[j - 1] + (a[i - 1] == b[bj] ? 0 : 1)});
                if (i > 1 && j > 1 && a[i - 1] == b[bj - 1] && a[i - 2] == b[bj])
                    value = std::min(value, (*before)[j - 2] + 1);
                (*current)[j] = value;
                rowBest = std::min(rowBest, value);
            }
            if (rowBest > bound)
                return bound + 1;
            std::swap(before, previous);
            std::swap(previous, current);
        }
        return std::min((*previous)[m], bound + 1);
    }

private:
    std::array<std::vector<int>, 3> m_rows;
};

}

NameMatcher::NameMatcher(const QStringList &names, const QList<QStringList> &aliases)
    : m_names(names)
{
    m_entries.reserve(static_cast<std::size_t>(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString &name = names[i];
        Entry entry;
        entry.folded = folded(name);
        entry.wordStart.resize(static_cast<std::size_t>(entry.folded.size()));
        for (qsizetype i = 0; i < entry.folded.size(); ++i)
            entry.wordStart[static_cast<std::size_t>(i)] = isWordStart(entry.folded, i);
        entry.symbols = symbolForms(name);
        for (const QString &symbol : std::as_const(entry.symbols))
            entry.foldedSymbols << symbol.toCaseFolded();
        entry.aliases = aliases.value(i);
        for (const QString &alias : std::as_const(entry.aliases)) {
            entry.aliasKeys << symbolKey(spelled(alias));
            entry.foldedAliasKeys << (caseMatters(alias) ? QString() : entry.aliasKeys.last().toCaseFolded());
        }
        entry.withoutBrackets = withoutBrackets(entry.folded);
        entry.words = longWords(entry.folded);
        m_entries.push_back(std::move(entry));
    }
}

QString NameMatcher::aliasOf(const NameMatch &match) const
{
    return match.alias < 0 ? QString() : m_entries[static_cast<std::size_t>(match.index)].aliases.value(match.alias);
}

QList<NameMatch> NameMatcher::matches(QStringView text) const
{
    QList<NameMatch> found;
    const QString typed = folded(text);
    if (typed.isEmpty())
        return found;
    const QString symbol = symbolKey(spelled(text));
    const QString foldedSymbol = symbol.toCaseFolded();

    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        const qsizetype index = qsizetype(i);
        std::optional<MatchRank> rank;
        int alias = -1;
        if (m_names[index] == text)
            rank = MatchRank::Exact;
        else if (entry.folded == typed)
            rank = MatchRank::ExactIgnoringCase;
        else if (!symbol.isEmpty() && entry.symbols.contains(symbol))
            rank = MatchRank::Symbol;
        else if (!symbol.isEmpty() && (alias = int(entry.aliasKeys.indexOf(symbol))) >= 0)
            rank = MatchRank::Symbol;
        else if (!foldedSymbol.isEmpty() && entry.foldedSymbols.contains(foldedSymbol))
            rank = MatchRank::SymbolIgnoringCase;
        else if (!foldedSymbol.isEmpty() && (alias = int(entry.foldedAliasKeys.indexOf(foldedSymbol))) >= 0)
            rank = MatchRank::SymbolIgnoringCase;
        else if (entry.withoutBrackets == typed)
            rank = MatchRank::NameWithoutBrackets;
        else if (entry.folded.startsWith(typed))
            rank = MatchRank::NamePrefix;
        else {
            for (qsizetype at = entry.folded.indexOf(typed); at >= 0; at = entry.folded.indexOf(typed, at + 1)) {
                if (entry.wordStart[static_cast<std::size_t>(at)]) {
                    rank = MatchRank::WordPrefix;
                    break;
                }
                rank = MatchRank::Substring;
            }
        }
        if (rank)
            found.append({index, *rank, alias});
    }
    if (!found.isEmpty()) {
        std::stable_sort(found.begin(), found.end(), [](const NameMatch &a, const NameMatch &b) { return a.rank < b.rank; });
        return found;
    }

    // Short texts are a letter or two away from too many words to help.
    if (typed.size() < 4)
        return found;
    const int bound = typed.size() <= 5 ? 1 : 2;
    Distance distance;
    // Fewer letters off go first, and a name misspelt as a whole before one
    // with a misspelt word.
    std::vector<std::pair<int, NameMatch>> near;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        const int whole = std::min(distance(typed, entry.folded, bound), distance(typed, entry.withoutBrackets, bound));
        int word = bound + 1;
        for (const QString &target : entry.words)
            word = std::min(word, distance(typed, target, bound));
        const int best = std::min(whole, word);
        if (best <= bound)
            near.push_back({2 * best + (whole > word ? 1 : 0), {qsizetype(i), MatchRank::Misspelt}});
    }
    std::stable_sort(near.begin(), near.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[order, match] : near)
        found.append(match);
    return found;
}

NameChoice chooseName(const NameMatcher &matcher, QStringView text, qsizetype limit)
{
    NameChoice choice;
    const QList<NameMatch> found = matcher.matches(text);
    if (found.isEmpty())
        return choice;
    const MatchRank best = found.first().rank;
    choice.rank = best;
    const qsizetype tied = std::count_if(found.begin(), found.end(), [best](const NameMatch &m) { return m.rank == best; });
    if (best != MatchRank::Misspelt && tied == 1) {
        choice.outcome = NameChoice::Outcome::Found;
        choice.index = found.first().index;
        return choice;
    }
    choice.outcome = best == MatchRank::Misspelt ? NameChoice::Outcome::Unknown : NameChoice::Outcome::Ambiguous;
    const qsizetype listed = std::min(tied, std::max<qsizetype>(limit, 0));
    for (qsizetype i = 0; i < listed; ++i)
        choice.candidates << found[i].index;
    choice.moreCandidates = tied - listed;
    return choice;
}

}
