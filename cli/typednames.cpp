#include "cli/typednames.h"

#include <QSet>

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

}
