// quantix96-convert: converts values on the command line or from standard
// input with the same catalogue, rules, user units and number style as the
// main window.

#include "batchconverter.h"
#include "catalogue.h"
#include "converter.h"
#include "quantixversion.h"
#include "settingsstore.h"
#include "stringtable.h"
#include "userunitstore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using namespace quantix;

namespace {

enum ExitStatus { Success = 0, ValueFailed = 1, UsageError = 2 };

void printError(const QString &message)
{
    std::fputs(("quantix96-convert: " + message + u'\n').toLocal8Bit().constData(), stderr);
}

int usageError(const QString &message)
{
    printError(message);
    printError(QStringLiteral("run 'quantix96-convert --help' for the usage"));
    return UsageError;
}

void printLines(const QStringList &lines)
{
    for (const QString &line : lines)
        std::fputs((line + u'\n').toUtf8().constData(), stdout);
}

// Explains an unknown name: which of the candidates contain the given text.
int unknownName(const QString &what, const QString &name, const QStringList &candidates, const QString &listHint,
                const QString &where = QString())
{
    QStringList near;
    for (const QString &candidate : candidates) {
        if (candidate.contains(name, Qt::CaseInsensitive))
            near << QStringLiteral("  ") + candidate;
    }
    QString message = QStringLiteral("unknown %1 \"%2\"%3.").arg(what, name, where);
    if (near.isEmpty())
        message += QStringLiteral(" No name contains \"%1\"; %2 lists them all.").arg(name, listHint);
    else
        message += QStringLiteral(" Names containing \"%1\":\n").arg(name) + near.join(u'\n');
    printError(message);
    return UsageError;
}

QStringList quantityNames()
{
    QStringList names;
    for (const Quantity &quantity : Catalogue::instance().quantities())
        names << quantity.name;
    return names;
}

QStringList unitNames(const Converter &converter, const Quantity &quantity)
{
    QStringList names;
    for (int j = 1; j <= quantity.unitCount; ++j)
        names << Catalogue::unitName(quantity, j);
    return names + converter.userUnitNames(quantity);
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quantix96-convert"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(version::text));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts values between two units of a quantity, one result per line, formatted as the\n"
        "Quantix 96 window shows them. Names are the display names that --list prints.\n"
        "Without VALUE arguments the values are read from standard input, one per line."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption decimalsOption(QStringLiteral("decimals"), QStringLiteral("Decimal places, 0 to 8 (default: the stored setting)."), QStringLiteral("N"));
    const QCommandLineOption scientificOption(QStringLiteral("scientific"), QStringLiteral("Scientific notation."));
    const QCommandLineOption regularOption(QStringLiteral("regular"), QStringLiteral("Regular notation with decimal places."));
    const QCommandLineOption listOption(QStringLiteral("list"), QStringLiteral("List the quantities, or the units of QUANTITY."));
    parser.addOptions({decimalsOption, scientificOption, regularOption, listOption});
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("QUANTITY"), QStringLiteral("The quantity, for example \"Length\"."));
    parser.addPositionalArgument(QStringLiteral("FROM"), QStringLiteral("The unit of the values."));
    parser.addPositionalArgument(QStringLiteral("TO"), QStringLiteral("The unit of the results."));
    parser.addPositionalArgument(QStringLiteral("VALUE"), QStringLiteral("Values to convert."), QStringLiteral("[VALUE ...]"));

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(Success);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    const UserUnitStore store;
    const Converter converter(store);
    const Catalogue &catalogue = Catalogue::instance();
    const QStringList arguments = parser.positionalArguments();
    const QString listHint = QStringLiteral("'quantix96-convert --list'");

    if (parser.isSet(listOption)) {
        if (arguments.size() > 1 || parser.isSet(decimalsOption) || parser.isSet(scientificOption) || parser.isSet(regularOption))
            return usageError(QStringLiteral("--list takes at most one QUANTITY and no other option"));
        if (arguments.isEmpty()) {
            printLines(quantityNames());
            return Success;
        }
        const Quantity *quantity = catalogue.byName(arguments.first());
        if (!quantity)
            return unknownName(QStringLiteral("quantity"), arguments.first(), quantityNames(), listHint);
        printLines(unitNames(converter, *quantity));
        return Success;
    }

    if (arguments.size() < 3)
        return usageError(QStringLiteral("QUANTITY, FROM and TO are required"));
    if (parser.isSet(scientificOption) && parser.isSet(regularOption))
        return usageError(QStringLiteral("--scientific and --regular exclude each other"));

    NumberStyle style;
    if (parser.isSet(decimalsOption)) {
        const std::optional<int> decimals = toWholeNumber(parser.value(decimalsOption));
        if (!decimals || *decimals < 0 || *decimals > 8)
            return usageError(QStringLiteral("--decimals takes a whole number from 0 to 8, not \"%1\"").arg(parser.value(decimalsOption)));
        style.decimals = *decimals;
    } else {
        style.decimals = LoadDecimalPlaces();
    }
    if (parser.isSet(scientificOption) || parser.isSet(regularOption))
        style.scientific = parser.isSet(scientificOption);
    else
        style.scientific = toBoolean(ReadSetting(section::settings, QStringLiteral("scientific"), QStringLiteral("false"))).value_or(false);

    const Quantity *quantity = catalogue.byName(arguments[0]);
    if (!quantity)
        return unknownName(QStringLiteral("quantity"), arguments[0], quantityNames(), listHint);
    const QStringList units = unitNames(converter, *quantity);
    const QString unitHint = QStringLiteral("'quantix96-convert --list \"%1\"'").arg(quantity->name);
    for (const QString &name : {arguments[1], arguments[2]}) {
        if (!units.contains(name))
            return unknownName(QStringLiteral("unit"), name, units, unitHint, QStringLiteral(" in ") + quantity->name);
    }

    BatchConverter batch(converter, *quantity, Converter::resolve(*quantity, arguments[1]), Converter::resolve(*quantity, arguments[2]), style);
    if (arguments.size() > 3) {
        for (qsizetype i = 3; i < arguments.size(); ++i)
            batch.convert(arguments[i].toStdString(), "argument", i - 2);
    } else {
        batch.convertLines(stdin);
    }
    batch.flush();
    return batch.anyFailed() ? ValueFailed : Success;
}
