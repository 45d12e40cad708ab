// quantix96-convert: converts values on the command line or from standard
// input with the same catalogue, rules, user units and number style as the
// main window.

#include "cli/batchconverter.h"
#include "engine/catalogue.h"
#include "engine/compoundunits.h"
#include "engine/converter.h"
#include "rules/filefailure.h"
#include "rules/options.h"
#include "rules/userunits.h"
#include "quantixversion.h"
#include "cli/standardstreams.h"
#include "cli/typednames.h"
#include "engine/stringtable.h"
#include "settings/settingkeys.h"
#include "settings/userunitstore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>

#include <unistd.h>

using namespace quantix;

namespace {

enum ExitStatus { Success = 0, ValueFailed = 1, UsageError = 2, InputOutputError = 3 };

const char *const exitStatusHelp =
    "\nExit status:\n"
    "  0  Every value was converted.\n"
    "  1  A value could not be converted (the message on standard error names it),\n"
    "     or --find found no unit.\n"
    "  2  A bad option, a missing name, an unknown quantity or unit, or units left\n"
    "     without their quantity that no quantity or several quantities have.\n"
    "  3  Standard input could not be read or standard output could not be written\n"
    "     (a full disk, a closed pipe); the message gives the system's reason.\n";

void printError(const QString &message)
{
    printMessage(message);
}

int usageError(const QString &message)
{
    printError(message);
    printError(QStringLiteral("run 'quantix96-convert --help' for the usage"));
    return UsageError;
}

void printLines(OutputStream &out, const QStringList &lines)
{
    for (const QString &line : lines)
        out.write(line + u'\n');
}

// Everything written so far reaches standard output, or the run fails with
// the system's reason.
int finish(OutputStream &out, int status)
{
    if (out.flush())
        return status;
    printError(QStringLiteral("cannot write standard output: ") + systemReason(out.error()));
    return InputOutputError;
}

QStringList quantityNames()
{
    QStringList names;
    for (const Quantity &quantity : Catalogue::instance().quantities())
        names << quantity.name;
    return names;
}

QString listCommand(const Quantity *quantity = nullptr)
{
    return quantity ? QStringLiteral("'quantix96-convert --list %1'").arg(shellQuoted(quantity->name))
                    : QStringLiteral("'quantix96-convert --list'");
}

// The quantity a typed name stands for; nullptr after its message.
const Quantity *takeQuantity(const NameMatcher &quantities, const QString &typed)
{
    const TypedName taken = takeTypedName(quantities, typed, {QStringLiteral("quantity"), {}, listCommand()});
    if (!taken.index) {
        printError(taken.error);
        return nullptr;
    }
    return &Catalogue::instance().at(int(*taken.index));
}

// The units of every quantity, in catalogue order.
QList<QuantityUnits> everyQuantityUnits(const UserUnitStore &store)
{
    QList<QuantityUnits> units;
    for (const Quantity &quantity : Catalogue::instance().quantities())
        units.append(QuantityUnits(quantity, readUserUnits(quantity, store)));
    return units;
}

struct StyleOptions
{
    const QCommandLineOption &decimals;
    const QCommandLineOption &scientific;
    const QCommandLineOption &regular;
    const QCommandLineOption &significant;
    const QCommandLineOption &engineering;
    const QCommandLineOption &group;
    const QCommandLineOption &leadingZero;
    const QCommandLineOption &inchFraction;
};

// The stored style with what the options change. The four styles exclude
// each other; the digits are grouped only where asked, since the output is
// read by other programs. Empty after a usage message.
std::optional<NumberStyle> chosenStyle(const QCommandLineParser &parser, const StyleOptions &options)
{
    const std::array styles{&options.scientific, &options.regular, &options.significant, &options.engineering};
    if (std::count_if(styles.begin(), styles.end(), [&](const QCommandLineOption *option) { return parser.isSet(*option); }) > 1) {
        usageError(QStringLiteral("--scientific, --regular, --significant and --engineering exclude each other"));
        return std::nullopt;
    }
    NumberStyle style = storedNumberStyle(NumberStyle());
    style.grouping = parser.isSet(options.group);
    style.leadingZero = style.leadingZero || parser.isSet(options.leadingZero);
    if (parser.isSet(options.decimals)) {
        const std::optional<int> decimals = toWholeNumber(parser.value(options.decimals));
        if (!decimals || *decimals < 0 || *decimals > 8) {
            usageError(QStringLiteral("--decimals takes a whole number from 0 to 8, not \"%1\"").arg(parser.value(options.decimals)));
            return std::nullopt;
        }
        style.decimals = *decimals;
    }
    if (parser.isSet(options.significant)) {
        const std::optional<int> digits = toWholeNumber(parser.value(options.significant));
        if (!digits || *digits < 1 || *digits > 15) {
            usageError(QStringLiteral("--significant takes a whole number from 1 to 15, not \"%1\"").arg(parser.value(options.significant)));
            return std::nullopt;
        }
        style.significantDigits = *digits;
    }
    if (parser.isSet(options.inchFraction)) {
        const std::optional<int> fraction = toWholeNumber(parser.value(options.inchFraction));
        if (!fraction || (*fraction != 0 && !isInchFraction(*fraction))) {
            usageError(QStringLiteral("--inch-fraction takes 0, 2, 4, 8, 16, 32 or 64, not \"%1\"").arg(parser.value(options.inchFraction)));
            return std::nullopt;
        }
        style.inchFraction = *fraction;
    }
    if (parser.isSet(options.scientific) || parser.isSet(options.engineering))
        style.scientific = true;
    if (parser.isSet(options.regular) || parser.isSet(options.significant))
        style.scientific = false;
    if (parser.isSet(options.scientific) || parser.isSet(options.engineering))
        style.engineering = parser.isSet(options.engineering);
    if (parser.isSet(options.regular) || parser.isSet(options.significant))
        style.significant = parser.isSet(options.significant);
    return style;
}

// --find: every unit of every quantity whose name fits the text, best first;
// a unit found by an alias says so on standard error.
int findUnits(OutputStream &out, const QList<QuantityUnits> &everyQuantity, const QString &text)
{
    if (text.trimmed().isEmpty())
        return usageError(QStringLiteral("--find takes a part of a unit's name or its symbol"));
    QStringList names;
    QList<QStringList> aliases;
    QStringList quantities;
    for (const QuantityUnits &units : everyQuantity) {
        names << units.names;
        aliases << units.aliases;
        for (qsizetype i = 0; i < units.names.size(); ++i)
            quantities << units.quantity->name;
    }
    const NameMatcher matcher(names, aliases);
    const QList<NameMatch> found = matcher.matches(text);
    if (found.isEmpty() || found.first().rank == MatchRank::Misspelt) {
        QString message = QStringLiteral("no unit matches %1").arg(shownTyped(text));
        if (!found.isEmpty())
            message += QLatin1String("; did you mean:");
        for (qsizetype i = 0; i < std::min<qsizetype>(found.size(), 10); ++i)
            message += QLatin1String("\n  ") + shellQuoted(names[found[i].index]) + QLatin1String(" in ") + quantities[found[i].index];
        printError(message);
        return ValueFailed;
    }
    QStringList lines;
    for (const NameMatch &match : found) {
        lines << quantities[match.index] + u'\t' + names[match.index];
        if (match.alias >= 0)
            printError(matcher.aliasOf(match) + QLatin1String(": alias of ") + names[match.index]);
    }
    printLines(out, lines);
    return finish(out, Success);
}

}

int main(int argc, char *argv[])
{
    guardStandardDescriptors();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quantix96-convert"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(version::text));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts values between two units of a quantity, one result per line, formatted as the\n"
        "Quantix 96 window shows them. Without VALUE arguments the values are read from\n"
        "standard input, one per line.\n"
        "Names are the display names that --list prints, or a short form of them: the symbol\n"
        "(\"km\", \"degF\", \"um\"), an everyday abbreviation (\"mi\", \"kph\", \"sq ft\"), the\n"
        "start of a word (\"kilo\") or any part of the name, ignoring case, accents and other\n"
        "spellings (\"meter\", \"liter\"). A short form is taken when exactly one name fits it\n"
        "best; otherwise the converter lists the names meant and stops. --find shows what fits.\n"
        "QUANTITY may be left out when FROM and TO tell it: the quantity is then the one whose\n"
        "units they fit best, as in \"quantix96-convert km mi 26.2\"."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption decimalsOption(QStringLiteral("decimals"), QStringLiteral("Decimal places, 0 to 8 (default: the stored setting)."), QStringLiteral("N"));
    const QCommandLineOption scientificOption(QStringLiteral("scientific"), QStringLiteral("Scientific notation."));
    const QCommandLineOption regularOption(QStringLiteral("regular"), QStringLiteral("Regular notation with decimal places."));
    const QCommandLineOption significantOption(QStringLiteral("significant"),
                                               QStringLiteral("N significant digits, 1 to 15, in full from 1E-4 to below 1E+15."), QStringLiteral("N"));
    const QCommandLineOption engineeringOption(QStringLiteral("engineering"),
                                               QStringLiteral("Engineering notation: an exponent that is a multiple of 3."));
    const QCommandLineOption groupOption(QStringLiteral("group"),
                                         QStringLiteral("Group the integer digits by thousands with the locale's separator (never "
                                                        "without this option)."));
    const QCommandLineOption leadingZeroOption(QStringLiteral("leading-zero"), QStringLiteral("A zero before the decimal point of a value below 1."));
    const QCommandLineOption inchFractionOption(QStringLiteral("inch-fraction"),
                                                QStringLiteral("Round inches to 1/N inch, N 2, 4, 8, 16, 32 or 64, or 0 for decimals."),
                                                QStringLiteral("N"));
    const QCommandLineOption pointOption(QStringLiteral("decimal-point"),
                                         QStringLiteral("The decimal point of the results, \".\" or \",\" (default: the "
                                                        "locale's); values take it as well as \".\"."),
                                         QStringLiteral("POINT"));
    const QCommandLineOption listOption(QStringLiteral("list"), QStringLiteral("List the quantities, or the units of QUANTITY."));
    const QCommandLineOption findOption(QStringLiteral("find"),
                                        QStringLiteral("List every unit whose name fits TEXT, best first, as QUANTITY<TAB>UNIT."),
                                        QStringLiteral("TEXT"));
    parser.addOptions({decimalsOption, scientificOption, regularOption, significantOption, engineeringOption, groupOption, leadingZeroOption,
                       inchFractionOption, pointOption, listOption, findOption});
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("QUANTITY"), QStringLiteral("The quantity, for example \"Length\"; may be left out."),
                                 QStringLiteral("[QUANTITY]"));
    parser.addPositionalArgument(QStringLiteral("FROM"), QStringLiteral("The unit of the values."));
    parser.addPositionalArgument(QStringLiteral("TO"), QStringLiteral("The unit of the results."));
    parser.addPositionalArgument(QStringLiteral("VALUE"), QStringLiteral("Values to convert."), QStringLiteral("[VALUE ...]"));

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    OutputStream out(STDOUT_FILENO);
    if (parser.isSet(QStringLiteral("help"))) {
        out.write(parser.helpText() + QLatin1String(exitStatusHelp));
        return finish(out, Success);
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out.write(QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n');
        return finish(out, Success);
    }

    // One version of the settings for the whole run, so that a unit's name
    // and its factor come from the same change of the store.
    const SettingsSnapshot snapshot;
    if (const std::optional<FileFailure> problem = settingsFileProblem())
        printError(unusableSettingsText(*problem));
    const std::array styleOptionsList{&decimalsOption, &scientificOption,   &regularOption,     &significantOption,
                                      &engineeringOption, &groupOption, &leadingZeroOption, &inchFractionOption, &pointOption};
    const UserUnitStore store;
    const QStringList arguments = parser.positionalArguments();
    const bool styleOptions = std::any_of(styleOptionsList.begin(), styleOptionsList.end(),
                                          [&](const QCommandLineOption *option) { return parser.isSet(*option); });

    if (parser.isSet(findOption)) {
        if (!arguments.isEmpty() || styleOptions || parser.isSet(listOption))
            return usageError(QStringLiteral("--find takes one TEXT and no other argument or option"));
        return findUnits(out, everyQuantityUnits(store), parser.value(findOption));
    }

    const NameMatcher quantities(quantityNames());
    if (parser.isSet(listOption)) {
        if (arguments.size() > 1 || styleOptions)
            return usageError(QStringLiteral("--list takes at most one QUANTITY and no other option"));
        if (arguments.isEmpty()) {
            printLines(out, quantities.names());
            return finish(out, Success);
        }
        const Quantity *quantity = takeQuantity(quantities, arguments.first());
        if (!quantity)
            return UsageError;
        printLines(out, QuantityUnits(*quantity, readUserUnits(*quantity, store)).names);
        return finish(out, Success);
    }

    if (arguments.size() < 2)
        return usageError(QStringLiteral("FROM and TO are required, after QUANTITY or without it"));
    const std::optional<NumberStyle> style = chosenStyle(parser, {decimalsOption, scientificOption, regularOption, significantOption,
                                                                  engineeringOption, groupOption, leadingZeroOption, inchFractionOption});
    if (!style)
        return UsageError;
    QString decimalPoint = QLocale().decimalPoint();
    if (parser.isSet(pointOption)) {
        decimalPoint = parser.value(pointOption);
        if (decimalPoint != QLatin1String(".") && decimalPoint != QLatin1String(","))
            return usageError(QStringLiteral("--decimal-point takes \".\" or \",\", not \"%1\"").arg(decimalPoint));
    }

    // The names come first: QUANTITY FROM TO, or FROM TO alone. A command
    // line that reads as QUANTITY FROM TO is read so, as it always was. The
    // first name is otherwise a unit when it fits one better than a quantity
    // ("K" is the kelvin, though "Kinematic Viscosity" starts with it); no
    // unit fits better than a quantity's name as it is written, so scripts
    // that write it wait for no other quantity's units.
    const TypedName asQuantity = takeTypedName(quantities, arguments[0], {QStringLiteral("quantity"), {}, listCommand()});
    std::optional<QuantityUnits> units;
    if (asQuantity.index) {
        const Quantity &quantity = Catalogue::instance().at(int(*asQuantity.index));
        units.emplace(quantity, readUserUnits(quantity, store));
    }
    const auto takes = [&](qsizetype at) { return chooseName(units->matcher, arguments[at]).outcome == NameChoice::Outcome::Found; };
    const bool readsWithQuantity = units && arguments.size() >= 3 && takes(1) && takes(2);
    qsizetype from = 1;
    if (!readsWithQuantity && !Catalogue::instance().byName(arguments[0])) {
        const QList<QuantityUnits> everyQuantity = everyQuantityUnits(store);
        if (firstNameIsUnit(quantities, everyQuantity, arguments[0])) {
            const QuantityOfUnits found = quantityOfUnits(everyQuantity, arguments[0], arguments[1]);
            if (!found.units) {
                printError(found.error);
                return UsageError;
            }
            units = *found.units;
            from = 0;
        }
    }
    // A start of several quantities' names ("temp") is the one of them
    // whose units the next two names are.
    if (!units && arguments.size() >= 3) {
        if (const NameChoice choice = chooseName(quantities, arguments[0]); choice.outcome == NameChoice::Outcome::Ambiguous) {
            QList<QuantityUnits> candidates;
            for (const qsizetype index : choice.candidates) {
                const Quantity &quantity = Catalogue::instance().at(int(index));
                candidates.append(QuantityUnits(quantity, readUserUnits(quantity, store)));
            }
            if (const QuantityOfUnits found = quantityOfUnits(candidates, arguments[1], arguments[2]); found.units)
                units = *found.units;
        }
    }
    if (!units) {
        printError(asQuantity.error);
        return UsageError;
    }
    if (arguments.size() < from + 2)
        return usageError(QStringLiteral("QUANTITY, FROM and TO are required"));

    const Quantity &quantity = *units->quantity;
    const Converter converter(quantity, units->userUnits);
    const NameContext unitContext{QStringLiteral("unit"), QStringLiteral(" in ") + quantity.name, listCommand(&quantity), units->builtIn};
    UnitRef ends[2];
    for (int i = 0; i < 2; ++i) {
        const TypedName taken = takeTypedName(units->matcher, arguments[from + i], unitContext);
        if (!taken.index) {
            printError(taken.error);
            return UsageError;
        }
        ends[i] = converter.resolve(units->names[*taken.index]);
    }

    // A group separator that is the decimal point would make the results unreadable.
    QString groupSeparator = QLocale().groupSeparator();
    if (groupSeparator == decimalPoint)
        groupSeparator = decimalPoint == QLatin1String(".") ? QStringLiteral(",") : QStringLiteral(".");
    BatchConverter batch(converter, ends[0], ends[1], *style, decimalPoint.toStdString(), groupSeparator.toStdString(), out);
    const qsizetype firstValue = from + 2;
    if (arguments.size() > firstValue) {
        for (qsizetype i = firstValue; i < arguments.size(); ++i)
            batch.convert(arguments[i].toStdString(), "argument", i - firstValue + 1);
    } else if (const int readError = batch.convertLines(STDIN_FILENO)) {
        const int status = finish(out, InputOutputError);
        if (!out.failed())
            printError(QStringLiteral("cannot read standard input: ") + systemReason(readError));
        return status;
    }
    return finish(out, batch.anyFailed() ? ValueFailed : Success);
}
