#include "cli/typednames.h"

#include "engine/namevariants.h"
#include "rules/userunits.h"

#include <QSet>

#include <algorithm>

namespace quantix {

namespace {

QString candidateLines(const NameMatcher &matcher, const NameChoice &choice, const NameContext &context)
{
    QString lines;
    for (const qsizetype index : choice.candidates) {
        lines += QLatin1String("\n  ") + shellQuoted(matcher.names()[index]);
        if (context.ownFrom >= 0 && index >= context.ownFrom)
            lines += QLatin1String("  (your own unit)");
    }
    if (choice.moreCandidates > 0)
        lines += QStringLiteral("\n  ... and %1 more; %2 lists them all").arg(choice.moreCandidates).arg(context.listCommand);
    return lines;
}

QStringList builtInNames(const Quantity &quantity)
{
    QStringList names;
    for (int j = 1; j <= quantity.builtInCount(); ++j)
        names << Catalogue::unitName(quantity, j);
    return names;
}

constexpr qsizetype listedQuantities = 10;

// "Length, Area" for the quantities given, at most ten of them.
QString quantityList(const QStringList &quantities)
{
    QString list = quantities.mid(0, listedQuantities).join(QLatin1String(", "));
    if (quantities.size() > listedQuantities)
        list += QStringLiteral(" and %1 more").arg(quantities.size() - listedQuantities);
    return list;
}

// How well a name fits, smaller is better: a rank, or one past the worst when
// it does not fit at all.
constexpr int noFit = int(MatchRank::Misspelt) + 1;

int fitOf(const NameChoice &choice, MatchRank weakest)
{
    if (choice.outcome == NameChoice::Outcome::Unknown)
        return choice.candidates.isEmpty() ? noFit : int(MatchRank::Misspelt);
    return choice.rank <= weakest ? int(choice.rank) : noFit;
}

// Without the quantity, a unit is named by its whole name, symbol or alias:
// the start or a part of a name fits too many quantities ("km" starts the
// symbol "km²" of Area, "nm" the square nanometre's).
constexpr MatchRank weakestUnitFit = MatchRank::NameWithoutBrackets;

bool namesAUnit(const NameChoice &choice)
{
    return fitOf(choice, weakestUnitFit) < int(MatchRank::Misspelt);
}

// How two names fit one quantity's units.
struct UnitsFit
{
    const QuantityUnits *units;
    NameChoice from;
    NameChoice to;

    // Smaller is better: the worse of the two ranks first, then the better.
    std::pair<MatchRank, MatchRank> score() const { return std::minmax(from.rank, to.rank, std::greater<>()); }
};

// A name as one quantity takes it: its unit, or how many it could be.
QString takenAs(const NameMatcher &matcher, const NameChoice &choice, const QString &typed)
{
    if (choice.outcome == NameChoice::Outcome::Found)
        return shellQuoted(matcher.names()[choice.index]);
    return shownTyped(typed) + QStringLiteral(" (%1 units)").arg(choice.candidates.size() + choice.moreCandidates);
}

// For each name, the quantities that have a unit of that name, or the units
// a letter or two away.
QString whichQuantitiesHave(const QList<QuantityUnits> &everyQuantity, const QStringList &typed)
{
    constexpr qsizetype listedUnits = 3;
    QString lines;
    for (const QString &name : typed) {
        QStringList quantities;
        QStringList misspelt;
        for (const QuantityUnits &units : everyQuantity) {
            const NameChoice choice = chooseName(units.matcher, name, listedUnits);
            if (namesAUnit(choice))
                quantities << units.quantity->name;
            else if (choice.outcome == NameChoice::Outcome::Unknown) {
                for (const qsizetype index : choice.candidates)
                    misspelt << shellQuoted(units.names[index]) + QLatin1String(" in ") + units.quantity->name;
            }
        }
        lines += QLatin1String("\n  ") + shownTyped(name);
        if (!quantities.isEmpty())
            lines += QLatin1String(" is a unit of ") + quantityList(quantities);
        else if (!misspelt.isEmpty())
            lines += QLatin1String(" is no unit; did you mean ") + misspelt.mid(0, listedUnits).join(QLatin1String(", ")) + u'?';
        else
            lines += QLatin1String(" is no unit's name, symbol or abbreviation; 'quantix96-convert --find TEXT' shows what it fits");
    }
    return lines;
}

bool repeatsAName(const NameMatcher &matcher, const NameChoice &choice)
{
    QSet<QString> seen;
    for (const qsizetype index : choice.candidates) {
        if (seen.contains(matcher.names()[index]))
            return true;
        seen.insert(matcher.names()[index]);
    }
    return false;
}

}

QString shellQuoted(QStringView name)
{
    QString quoted(u'"');
    for (const QChar c : name) {
        if (c == u'"' || c == u'\\' || c == u'$' || c == u'`')
            quoted += u'\\';
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            quoted += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
        else
            quoted += c;
    }
    return quoted + u'"';
}

QString shownTyped(const QString &typed)
{
    constexpr qsizetype longest = 60;
    return typed.size() > longest ? shellQuoted(QStringView(typed).left(longest)) + QLatin1String("...") : shellQuoted(typed);
}

TypedName takeTypedName(const NameMatcher &matcher, const QString &typed, const NameContext &context)
{
    const NameChoice choice = chooseName(matcher, typed);
    if (choice.outcome == NameChoice::Outcome::Found)
        return {choice.index, {}};

    const QString subject = context.kind + u' ' + shownTyped(typed) + context.where;
    QString message;
    if (choice.outcome == NameChoice::Outcome::Ambiguous) {
        message = subject + QLatin1String(" is ambiguous; did you mean:") + candidateLines(matcher, choice, context);
        if (repeatsAName(matcher, choice))
            message += QLatin1String("\nA unit of your own that repeats the name of another unit cannot be told apart from it;"
                                     " rename it in the preferences (Units, Add New Unit).");
    } else if (!choice.candidates.isEmpty()) {
        message = QLatin1String("unknown ") + subject + QLatin1String("; did you mean:") + candidateLines(matcher, choice, context);
    } else {
        message = QLatin1String("unknown ") + subject + QLatin1String("; ") + context.listCommand + QLatin1String(" lists them all");
    }
    return {std::nullopt, message};
}

QuantityUnits::QuantityUnits(const Quantity &of, UserUnits own)
    : quantity(&of)
    , userUnits(std::move(own))
    , names(builtInNames(of))
    , builtIn(names.size())
{
    // A unit of one's own that repeats a built-in name shares its aliases,
    // so that an alias is as ambiguous as the name.
    names << userUnitNames(userUnits);
    aliases = unitAliases(of, names);
    matcher = NameMatcher(names, aliases);
}

bool firstNameIsUnit(const NameMatcher &quantities, const QList<QuantityUnits> &everyQuantity, const QString &first)
{
    const int quantityFit = fitOf(chooseName(quantities, first), MatchRank::Substring);
    return std::any_of(everyQuantity.begin(), everyQuantity.end(), [&](const QuantityUnits &units) {
        return fitOf(chooseName(units.matcher, first), weakestUnitFit) < quantityFit;
    });
}

QuantityOfUnits quantityOfUnits(const QList<QuantityUnits> &everyQuantity, const QString &from, const QString &to)
{
    QList<UnitsFit> fits;
    for (const QuantityUnits &units : everyQuantity) {
        const UnitsFit fit{&units, chooseName(units.matcher, from), chooseName(units.matcher, to)};
        if (namesAUnit(fit.from) && namesAUnit(fit.to))
            fits << fit;
    }
    if (fits.isEmpty()) {
        return {nullptr, QStringLiteral("no quantity has both %1 and %2 among its units:").arg(shownTyped(from), shownTyped(to))
                             + whichQuantitiesHave(everyQuantity, {from, to})};
    }
    const auto best = std::min_element(fits.begin(), fits.end(), [](const UnitsFit &a, const UnitsFit &b) { return a.score() < b.score(); })->score();
    fits.removeIf([&](const UnitsFit &fit) { return fit.score() != best; });
    if (fits.size() == 1)
        return {fits.first().units, {}};
    QString message = QStringLiteral("%1 and %2 fit units of several quantities; name the quantity first:").arg(shownTyped(from), shownTyped(to));
    for (const UnitsFit &fit : std::as_const(fits)) {
        const NameMatcher &matcher = fit.units->matcher;
        message += QLatin1String("\n  ") + fit.units->quantity->name + QLatin1String(": ") + takenAs(matcher, fit.from, from)
                   + QLatin1String(" to ") + takenAs(matcher, fit.to, to);
    }
    return {nullptr, message};
}

}
