#pragma once

#include "engine/catalogue.h"
#include "engine/converter.h"
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

// The units of one quantity as the converter takes them: the built-in ones,
// then the user's own, the built-in ones with their aliases.
struct QuantityUnits
{
    QuantityUnits(const Quantity &of, UserUnits own);

    const Quantity *quantity;
    UserUnits userUnits;
    QStringList names;
    qsizetype builtIn;  // names from this position on are the user's own
    QList<QStringList> aliases;
    NameMatcher matcher;
};

// Whether the first name of a command line that does not read as QUANTITY
// FROM TO is a unit rather than the quantity: it fits a unit of some quantity
// better than it fits any quantity ("m" is the metre's symbol but only the
// start of "Mass").
bool firstNameIsUnit(const NameMatcher &quantities, const QList<QuantityUnits> &everyQuantity, const QString &first);

// The quantity of a command line that leaves it out: the one whose units fit
// the two names best, or the message that says which quantities have which
// name when none or several do.
struct QuantityOfUnits
{
    const QuantityUnits *units = nullptr;
    QString error;
};

QuantityOfUnits quantityOfUnits(const QList<QuantityUnits> &everyQuantity, const QString &from, const QString &to);

}
