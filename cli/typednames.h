#pragma once

#include "engine/namematch.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace quantix {

// Names written for a POSIX shell: in double quotes, with the characters
// that stay special there escaped. Control characters, which no shell line
// can carry as they are, are shown as \xNN.
QString shellQuoted(QStringView name);

// A typed text echoed in a message, quoted; a long one is cut.
QString shownTyped(const QString &typed);

// What a typed name is looked up among, for the messages that explain it.
struct NameContext
{
    QString kind;           // "quantity", "unit"
    QString where;          // " in Length", or empty
    QString listCommand;    // the command that lists every name
    qsizetype ownFrom = -1; // names from this position on are the user's own units
};

// A name typed on the command line, taken by the matching rules, or the
// message that says why it cannot be taken and what was meant.
struct TypedName
{
    std::optional<qsizetype> index;
    QString error;
};

TypedName takeTypedName(const NameMatcher &matcher, const QString &typed, const NameContext &context);

}
