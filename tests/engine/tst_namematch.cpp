#include "engine/catalogue.h"
#include "engine/namematch.h"
#include "engine/namevariants.h"

#include <QElapsedTimer>
#include <QTest>

using namespace quantix;

Q_DECLARE_METATYPE(quantix::MatchRank)
Q_DECLARE_METATYPE(quantix::NameChoice::Outcome)

namespace {

QStringList unitsOf(const QString &quantityName)
{
    QStringList names;
    if (const Quantity *q = Catalogue::instance().byName(quantityName)) {
        for (int j = 1; j <= q->builtInCount(); ++j)
            names << Catalogue::unitName(*q, j);
    }
    return names;
}

// A quantity's units as the find box and the converter match them: with
// their aliases.
NameMatcher unitMatcher(const QString &quantityName)
{
    const QStringList names = unitsOf(quantityName);
    const Quantity *q = Catalogue::instance().byName(quantityName);
    return NameMatcher(names, q ? unitAliases(*q, names) : QList<QStringList>());
}

QStringList quantityNames()
{
    QStringList names;
    for (const Quantity &q : Catalogue::instance().quantities())
        names << q.name;
    return names;
}

// The names a choice offers: the one found, or the candidates.
QStringList chosen(const NameMatcher &matcher, const NameChoice &choice)
{
    if (choice.outcome == NameChoice::Outcome::Found)
        return {matcher.names()[choice.index]};
    QStringList names;
    for (const qsizetype index : choice.candidates)
        names << matcher.names()[index];
    return names;
}

// A symbol as it is typed on a keyboard without special keys.
QString asciiSpelling(QString symbol)
{
    return symbol.replace(u'µ', u'u').replace(u'²', u'2').replace(u'³', u'3').replace(u'Å', u'A').replace(QStringLiteral("°"), QStringLiteral("deg"));
}

}

class TestNameMatch : public QObject
{
    Q_OBJECT

private slots:
    // The best match of a text among a quantity's units, and its rank.
    void ranks_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("best");
        QTest::addColumn<MatchRank>("rank");

        using R = MatchRank;
        QTest::newRow("exact") << "Length" << "kilometre (km)" << "kilometre (km)" << R::Exact;
        QTest::newRow("case") << "Length" << "KILOMETRE (KM)" << "kilometre (km)" << R::ExactIgnoringCase;
        QTest::newRow("single blank for a double one") << "Length" << "micrometre (micron) (µm)" << "micrometre (micron)  (µm)" << R::ExactIgnoringCase;
        QTest::newRow("blanks around") << "Length" << "  furlong " << "furlong" << R::ExactIgnoringCase;
        QTest::newRow("symbol") << "Length" << "km" << "kilometre (km)" << R::Symbol;
        QTest::newRow("symbol, case") << "Length" << "KM" << "kilometre (km)" << R::SymbolIgnoringCase;
        QTest::newRow("micro sign") << "Length" << "µm" << "micrometre (micron)  (µm)" << R::Symbol;
        QTest::newRow("Greek mu") << "Length" << "μm" << "micrometre (micron)  (µm)" << R::Symbol;
        QTest::newRow("u for micro") << "Length" << "um" << "micrometre (micron)  (µm)" << R::Symbol;
        QTest::newRow("A for angstrom") << "Length" << "A" << "angstrom (Å)" << R::Symbol;
        QTest::newRow("angstrom sign") << "Length" << "Å" << "angstrom (Å)" << R::Symbol;
        QTest::newRow("bracket other than the last") << "Capacitance" << "F" << "farad (F) (A²·s^4/kg·m²)" << R::Symbol;
        QTest::newRow("degree sign") << "Temperature" << "°F" << "Fahrenheit (°F)" << R::Symbol;
        QTest::newRow("no degree sign") << "Temperature" << "C" << "Celsius (°C)" << R::Symbol;
        QTest::newRow("deg") << "Temperature" << "degR" << "Rankine (°R)" << R::Symbol;
        QTest::newRow("deg, case") << "Temperature" << "DEGC" << "Celsius (°C)" << R::SymbolIgnoringCase;
        QTest::newRow("degree alone") << "Angle" << "deg" << "degree (°)" << R::Symbol;
        QTest::newRow("squared as 2") << "Area" << "m2" << "square metre (m²)" << R::Symbol;
        QTest::newRow("cubed as 3") << "Flow" << "ft3/s" << "cubic foot per second (ft³/s)" << R::Symbol;
        QTest::newRow("dot as period") << "Torque" << "N.m" << "newton metre (N·m) (kg·m²/s²)" << R::Symbol;
        QTest::newRow("dot left out") << "Torque" << "lbfft" << "pound-force foot (lbf·ft)" << R::Symbol;
        QTest::newRow("mega") << "Power" << "MW" << "megawatt (MW)" << R::Symbol;
        QTest::newRow("milli") << "Power" << "mW" << "milliwatt (mW)" << R::Symbol;
        QTest::newRow("without brackets") << "Mass" << "KILOGRAM" << "kilogram (kg)" << R::NameWithoutBrackets;
        QTest::newRow("name prefix") << "Length" << "kilo" << "kilometre (km)" << R::NamePrefix;
        QTest::newRow("prefix without accent") << "Length" << "ANGST" << "angstrom (Å)" << R::NamePrefix;
        QTest::newRow("prefix micro") << "Length" << "micro" << "micrometre (micron)  (µm)" << R::NamePrefix;
        QTest::newRow("prefix across a bracket") << "Length" << "mile (US" << "mile (US statute)" << R::NamePrefix;
        QTest::newRow("word prefix") << "Length" << "statute" << "mile (US statute)" << R::WordPrefix;
        QTest::newRow("word after a hyphen") << "Energy" << "centi" << "erg  (dyne-centimetre)" << R::WordPrefix;
        QTest::newRow("substring") << "Length" << "rlong" << "furlong" << R::Substring;
        QTest::newRow("misspelt") << "Length" << "kilomtre" << "kilometre (km)" << R::Misspelt;

        QTest::newRow("-er spelling") << "Length" << "kilometer" << "kilometre (km)" << R::NameWithoutBrackets;
        QTest::newRow("-er spelling, start") << "Velocity" << "Kilometer per" << "kilometre per hour (km/h)" << R::NamePrefix;
        QTest::newRow("-er spelling, word") << "Flow" << "liter per minute" << "litre per minute (l/min)" << R::NameWithoutBrackets;
        QTest::newRow("-er spelling, whole") << "Length" << "meter (m)" << "metre (m)" << R::ExactIgnoringCase;
        QTest::newRow("gramme") << "Mass" << "kilogramme" << "kilogram (kg)" << R::NameWithoutBrackets;
        QTest::newRow("calibre") << "Length" << "calibre" << "caliber" << R::ExactIgnoringCase;
        QTest::newRow("feet") << "Area" << "square feet" << "square foot (ft²)" << R::NameWithoutBrackets;
        QTest::newRow("alias") << "Length" << "mi" << "mile (US statute)" << R::Symbol;
        QTest::newRow("alias, case") << "Velocity" << "KPH" << "kilometre per hour (km/h)" << R::SymbolIgnoringCase;
        QTest::newRow("alias in capitals") << "Length" << "NM" << "mile (International nautical)" << R::Symbol;
        QTest::newRow("alias without blanks") << "Area" << "sqft" << "square foot (ft²)" << R::Symbol;
        QTest::newRow("alias with dots") << "Area" << "Sq. Ft." << "square foot (ft²)" << R::SymbolIgnoringCase;
    }

    void ranks()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, text);
        QFETCH(QString, best);
        QFETCH(MatchRank, rank);
        const NameMatcher matcher = unitMatcher(quantity);
        const QList<NameMatch> found = matcher.matches(text);
        QVERIFY(!found.isEmpty());
        QCOMPARE(matcher.names()[found.first().index], best);
        QCOMPARE(found.first().rank, rank);
        QCOMPARE(!matcher.aliasOf(found.first()).isEmpty(), QByteArray(QTest::currentDataTag()).startsWith("alias"));
        for (qsizetype i = 1; i < found.size(); ++i)
            QVERIFY(found[i - 1].rank <= found[i].rank);
    }

    // Taking one name: only when exactly one is left at the best rank.
    void choices_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("text");
        QTest::addColumn<NameChoice::Outcome>("outcome");
        QTest::addColumn<QStringList>("expected");

        using O = NameChoice::Outcome;
        const QStringList length = unitsOf("Length");
        const QStringList temperature = unitsOf("Temperature");
        QTest::newRow("two miles") << length << "mile" << O::Ambiguous << QStringList{"mile (International nautical)", "mile (US statute)"};
        QTest::newRow("foot") << length << "ft" << O::Found << QStringList{"foot (ft)"};
        QTest::newRow("metre") << length << "m" << O::Found << QStringList{"metre (m)"};
        QTest::newRow("kilomtre") << length << "kilomtre" << O::Unknown << QStringList{"kilometre (km)"};
        QTest::newRow("kilometer") << length << "kilometer" << O::Found << QStringList{"kilometre (km)"};
        QTest::newRow("meters") << length << "meters" << O::Unknown << QStringList{"metre (m)"};
        QTest::newRow("celcius") << temperature << "celcius" << O::Unknown << QStringList{"Celsius (°C)"};
        QTest::newRow("farenheit") << temperature << "farenheit" << O::Unknown << QStringList{"Fahrenheit (°F)"};
        QTest::newRow("fahrenheit") << temperature << "fahrenheit" << O::Found << QStringList{"Fahrenheit (°F)"};
        QTest::newRow("two calories") << unitsOf("Energy") << "calorie" << O::Ambiguous
                                      << QStringList{"calorie (Int'l Table)", "Calorie (dietetic)"};
        QTest::newRow("nothing like it") << length << "xyzzy" << O::Unknown << QStringList{};
        QTest::newRow("too short to be misspelt") << length << "qqq" << O::Unknown << QStringList{};
        QTest::newRow("empty") << length << "" << O::Unknown << QStringList{};
        QTest::newRow("blanks") << length << "  \t " << O::Unknown << QStringList{};
        QTest::newRow("exact case wins") << QStringList{"widget", "Widget"} << "Widget" << O::Found << QStringList{"Widget"};
        QTest::newRow("folded case is a tie") << QStringList{"widget", "Widget"} << "WIDGET" << O::Ambiguous << QStringList{"widget", "Widget"};
        QTest::newRow("own unit repeats a name") << length + QStringList{"metre (m)"} << "metre (m)" << O::Ambiguous
                                                 << QStringList{"metre (m)", "metre (m)"};
        QTest::newRow("own unit repeats a symbol") << length + QStringList{"metre (m)"} << "m" << O::Ambiguous
                                                   << QStringList{"metre (m)", "metre (m)"};
        QTest::newRow("own unit") << length + QStringList{"Widget"} << "widg" << O::Found << QStringList{"Widget"};
        QTest::newRow("both litres") << unitsOf("Volume (Dry)") + unitsOf("Volume (Liquid)") << "litre (l)" << O::Ambiguous
                                     << QStringList{"litre (l)", "litre (l)"};
        QTest::newRow("quantity prefix") << quantityNames() << "len" << O::Found << QStringList{"Length"};
        QTest::newRow("quantity, case") << quantityNames() << "temperature" << O::Found << QStringList{"Temperature"};
        QTest::newRow("exact beats prefix") << quantityNames() << "Power" << O::Found << QStringList{"Power"};
        QTest::newRow("quantity bracket") << quantityNames() << "dry" << O::Found << QStringList{"Volume (Dry)"};
        QTest::newRow("two volumes") << quantityNames() << "volume" << O::Ambiguous << QStringList{"Volume (Dry)", "Volume (Liquid)"};
        // As "pow" for Power and Power Density, the start both share names both.
        QTest::newRow("temperature or its difference") << quantityNames() << "temp" << O::Ambiguous
                                                       << QStringList{"Temperature", "Temperature Difference"};
        QTest::newRow("difference's word") << quantityNames() << "diff" << O::Found << QStringList{"Temperature Difference"};
        QTest::newRow("misspelt quantity") << quantityNames() << "Lenght" << O::Unknown << QStringList{"Length"};
    }

    void choices()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, text);
        QFETCH(NameChoice::Outcome, outcome);
        QFETCH(QStringList, expected);
        const NameMatcher matcher(names);
        const NameChoice choice = chooseName(matcher, text);
        QCOMPARE(choice.outcome, outcome);
        QCOMPARE(chosen(matcher, choice), expected);
    }

    // Aliases rank with symbols: they tie with another name's symbol, yield
    // to a name typed whole, and are taken only whole.
    void aliasChoices_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<QStringList>>("aliases");
        QTest::addColumn<QString>("text");
        QTest::addColumn<NameChoice::Outcome>("outcome");
        QTest::addColumn<QStringList>("expected");

        using O = NameChoice::Outcome;
        const QStringList length = unitsOf("Length");
        const QList<QStringList> lengthAliases = unitAliases(*Catalogue::instance().byName(u"Length"), length);
        QTest::newRow("tie with a symbol") << QStringList{"foo (x)", "bar"} << QList<QStringList>{{}, {"x"}} << "x" << O::Ambiguous
                                           << QStringList{"foo (x)", "bar"};
        QTest::newRow("a name typed whole wins") << QStringList{"mi", "mile"} << QList<QStringList>{{}, {"mi"}} << "mi" << O::Found
                                                 << QStringList{"mi"};
        QTest::newRow("only whole") << QStringList{"mile"} << QList<QStringList>{{"mph"}} << "mp" << O::Unknown << QStringList{};
        QTest::newRow("capitals only in capitals") << length << lengthAliases << "nm" << O::Unknown << QStringList{};
        QTest::newRow("small letters in any case") << length << lengthAliases << "NMI" << O::Found
                                                   << QStringList{"mile (International nautical)"};
        QTest::newRow("symbols unchanged") << length << lengthAliases << "m" << O::Found << QStringList{"metre (m)"};
    }

    void aliasChoices()
    {
        QFETCH(QStringList, names);
        QFETCH(QList<QStringList>, aliases);
        QFETCH(QString, text);
        QFETCH(NameChoice::Outcome, outcome);
        QFETCH(QStringList, expected);
        const NameMatcher matcher(names, aliases);
        const NameChoice choice = chooseName(matcher, text);
        QCOMPARE(choice.outcome, outcome);
        QCOMPARE(chosen(matcher, choice), expected);
    }

    // Every other spelling of a word of a unit's name finds that unit within
    // its quantity: "kilometer", "square feet", "kilogramme".
    void everySpellingFindsItsUnit()
    {
        int respelt = 0;
        for (const Quantity &q : Catalogue::instance().quantities()) {
            const NameMatcher matcher = unitMatcher(q.name);
            for (qsizetype i = 0; i < matcher.names().size(); ++i) {
                for (const QStringList &spellings : NameVariants::instance().spellings()) {
                    for (const QString &written : spellings) {
                        if (!matcher.names()[i].contains(written, Qt::CaseInsensitive))
                            continue;
                        for (const QString &other : spellings) {
                            const QString typed = QString(matcher.names()[i]).replace(written, other, Qt::CaseInsensitive);
                            const NameChoice choice = chooseName(matcher, typed);
                            QVERIFY2(choice.outcome == NameChoice::Outcome::Found && choice.index == i,
                                     qPrintable(typed + " -> " + chosen(matcher, choice).join(" | ")));
                            ++respelt;
                        }
                    }
                }
            }
        }
        QVERIFY(respelt > 150);
    }

    void candidatesAreLimited()
    {
        const NameMatcher matcher(unitsOf("Length"));
        const NameChoice choice = chooseName(matcher, u"o", 10);
        QCOMPARE(choice.outcome, NameChoice::Outcome::Ambiguous);
        QCOMPARE(choice.candidates.size(), 10);
        const qsizetype withE = std::count_if(matcher.names().begin(), matcher.names().end(),
                                              [](const QString &name) { return name.contains(u'o', Qt::CaseInsensitive); });
        // "feet" of feet and inches is a spelling of "foot".
        QCOMPARE(choice.candidates.size() + choice.moreCandidates, withE + 1);
    }

    // Every unit's symbol finds it within its quantity, typed as it is
    // written or in ASCII, or names it among the ambiguous candidates.
    void everySymbolFindsItsUnit()
    {
        for (const Quantity &q : Catalogue::instance().quantities()) {
            const NameMatcher matcher(unitsOf(q.name));
            for (const QString &name : matcher.names()) {
                const qsizetype open = name.lastIndexOf(u'(');
                if (open < 0)
                    continue;
                const QString symbol = name.mid(open + 1, name.lastIndexOf(u')') - open - 1);
                for (const QString &typed : {symbol, asciiSpelling(symbol)}) {
                    const NameChoice choice = chooseName(matcher, typed, 100);
                    const QStringList offered = chosen(matcher, choice);
                    QVERIFY2(choice.outcome != NameChoice::Outcome::Unknown && offered.contains(name),
                             qPrintable(q.name + ": " + typed + " -> " + offered.join(" | ")));
                }
            }
        }
    }

    // Every start of a quantity's name of three letters or more, in any case,
    // finds that quantity or names it among the candidates; surrounding
    // blanks do not count.
    void everyQuantityPrefixFindsItsQuantity()
    {
        const NameMatcher matcher(quantityNames());
        for (const QString &name : matcher.names()) {
            for (qsizetype length = 3; length <= name.size(); ++length) {
                if (name[length - 1] == u' ')
                    continue;
                for (const QString &typed : {name.left(length), name.left(length).toLower()}) {
                    const NameChoice choice = chooseName(matcher, typed, 100);
                    const QStringList offered = chosen(matcher, choice);
                    // "Power" is a quantity of its own, not the start of "Power Density".
                    const auto whole = std::find_if(matcher.names().begin(), matcher.names().end(),
                                                    [&](const QString &other) { return other.compare(typed, Qt::CaseInsensitive) == 0; });
                    if (whole != matcher.names().end())
                        QCOMPARE(offered, QStringList{*whole});
                    else
                        QVERIFY2(choice.outcome != NameChoice::Outcome::Unknown && offered.contains(name), qPrintable(typed));
                }
            }
        }
        QCOMPARE(chosen(matcher, chooseName(matcher, u"Electric")), QStringList{"Electric Field Strength"});
        QCOMPARE(chooseName(matcher, u"Magnetic").candidates.size(), 3);
    }

    // Across the whole catalogue every name is found by itself, except the
    // one name two quantities share.
    void everyNameFindsItself()
    {
        QStringList all;
        for (const Quantity &q : Catalogue::instance().quantities())
            all << unitsOf(q.name);
        QCOMPARE(all.size(), 329 + 4 + 5);
        const NameMatcher matcher(all);
        for (qsizetype i = 0; i < all.size(); ++i) {
            const NameChoice choice = chooseName(matcher, all[i]);
            if (all[i] == QLatin1String("litre (l)"))
                QCOMPARE(choice.outcome, NameChoice::Outcome::Ambiguous);
            else
                QVERIFY2(choice.outcome == NameChoice::Outcome::Found && choice.index == i, qPrintable(all[i]));
        }
    }

    // Nothing typed breaks the matcher or makes it slow: no text is a pattern.
    void badInput()
    {
        QStringList all;
        for (const Quantity &q : Catalogue::instance().quantities())
            all << unitsOf(q.name);
        const NameMatcher matcher(all);
        for (const QString &typed : {QStringLiteral("("), QStringLiteral("[a-z]*"), QStringLiteral("\\"), QStringLiteral(".*"),
                                     QStringLiteral("^$"), QString(QChar(0xFFFD)), QStringLiteral("\x01\x02")}) {
            for (const NameMatch &match : matcher.matches(typed))
                QVERIFY2(matcher.names()[match.index].contains(typed) || match.rank == MatchRank::Misspelt, qPrintable(typed));
        }
        QCOMPARE(matcher.matches(u"[a-z]*").size(), 0);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(matcher.matches(QString(10000, u'm')).isEmpty());
        QVERIFY(matcher.matches(QString(QString(10000, u'm') + QStringLiteral("etre"))).isEmpty());
        QVERIFY(timer.elapsed() < 1000);
        QVERIFY(NameMatcher().matches(u"metre").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNameMatch)
#include "tst_namematch.moc"
