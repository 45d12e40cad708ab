#include "engine/catalogue.h"
#include "engine/namematch.h"
#include "engine/namevariants.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTest>

using namespace quantix;

namespace {

QByteArray resource(const QString &path)
{
    NameVariants::instance();  // registers the resources
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList unitsOf(const Quantity &q)
{
    QStringList names;
    for (int j = 1; j <= q.unitCount; ++j)
        names << Catalogue::unitName(q, j);
    return names;
}

const Quantity *quantityOfUnit(int id)
{
    for (const Quantity &q : Catalogue::instance().quantities()) {
        if (id >= q.firstUnitId() && id <= q.lastUnitId())
            return &q;
    }
    return nullptr;
}

qsizetype dataLineCount(const QByteArray &data)
{
    qsizetype count = 0;
    for (const QByteArray &line : data.split('\n')) {
        if (!line.trimmed().isEmpty() && !line.trimmed().startsWith('#'))
            ++count;
    }
    return count;
}

// What is wrong with an alias table, one line per fault: a line that cannot
// be read, an ID that is no unit, an alias given twice within a quantity, and
// an alias that the units of its quantity already answer to (a name, a name
// without its brackets or a symbol, in any case), which it would take away
// from its unit or merely repeat.
QStringList aliasProblems(const QByteArray &table)
{
    QStringList problems;
    const NameVariants variants = NameVariants::parse(table, {});
    if (variants.aliases().size() != dataLineCount(table))
        problems << QStringLiteral("%1 of %2 lines read").arg(variants.aliases().size()).arg(dataLineCount(table));
    QHash<const Quantity *, QSet<QString>> seen;
    for (const NameVariants::Alias &alias : variants.aliases()) {
        const Quantity *q = quantityOfUnit(alias.unitId);
        if (!q) {
            problems << QStringLiteral("%1: unknown unit %2").arg(alias.text).arg(alias.unitId);
            continue;
        }
        const QString key = QString(alias.text).remove(u' ').remove(u'.').toCaseFolded();
        if (seen[q].contains(key))
            problems << QStringLiteral("%1: twice in %2").arg(alias.text, q->name);
        seen[q].insert(key);
        const NameMatcher matcher(unitsOf(*q));
        const QList<NameMatch> found = matcher.matches(alias.text);
        if (!found.isEmpty() && found.first().rank <= MatchRank::NameWithoutBrackets)
            problems << QStringLiteral("%1: already %2").arg(alias.text, matcher.names()[found.first().index]);
    }
    return problems;
}

}

// The names people write besides the catalogue's: the alias table and the
// other spellings, as shipped and as the data files are read.
class TestNameVariants : public QObject
{
    Q_OBJECT

private slots:
    void shippedAliasesAreSound()
    {
        const QByteArray table = resource(QStringLiteral(":/aliases.txt"));
        QVERIFY(dataLineCount(table) >= 30);
        const QStringList problems = aliasProblems(table);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        QCOMPARE(NameVariants::instance().aliases().size(), dataLineCount(table));
    }

    void badAliasLinesAreFound_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("sound") << QByteArray("# comment\n\n\"mi\" 695\r\n\"ft lb\" 622\n\"ft lb\" 892\n") << QStringList();
        QTest::newRow("unknown ID") << QByteArray("\"zz\" 720\n\"zz\" 977\n")
                                    << QStringList{"zz: unknown unit 720", "zz: unknown unit 977"};
        QTest::newRow("twice") << QByteArray("\"kph\" 912\n\"KPH\" 913\n") << QStringList{"KPH: twice in Velocity"};
        QTest::newRow("twice, blanks apart") << QByteArray("\"sq ft\" 535\n\"sqft\" 535\n") << QStringList{"sqft: twice in Area"};
        QTest::newRow("another unit's name") << QByteArray("\"furlong\" 695\n") << QStringList{"furlong: already furlong"};
        QTest::newRow("another unit's symbol") << QByteArray("\"ft\" 704\n") << QStringList{"ft: already foot (ft)"};
        QTest::newRow("a symbol in another case") << QByteArray("\"KM\" 695\n") << QStringList{"KM: already kilometre (km)"};
        QTest::newRow("its own symbol") << QByteArray("\"h\" 878\n") << QStringList{"h: already hour (h)"};
        QTest::newRow("a name without brackets") << QByteArray("\"psi\" 835\n") << QStringList{"psi: already psi (lbf/in²)"};
        QTest::newRow("no ID") << QByteArray("\"mi\"\n") << QStringList{"0 of 1 lines read"};
        QTest::newRow("no quotes") << QByteArray("mi 695\n") << QStringList{"0 of 1 lines read"};
        QTest::newRow("text after the ID") << QByteArray("\"mi\" 695 mile\n") << QStringList{"0 of 1 lines read"};
        QTest::newRow("empty alias") << QByteArray("\" \" 695\n") << QStringList{"0 of 1 lines read"};
        QTest::newRow("two aliases") << QByteArray("\"mi\" \"mile\" 695\n") << QStringList{"0 of 1 lines read"};
    }

    void badAliasLinesAreFound()
    {
        QFETCH(QByteArray, table);
        QFETCH(QStringList, problems);
        QCOMPARE(aliasProblems(table), problems);
    }

    // An alias that fits units of several quantities, as a symbol or an
    // alias there, leaves the choice to the quantity: these are the ones
    // meant to.
    void ambiguitiesAreTheIntendedOnes()
    {
        QMap<QString, QStringList> ambiguous;
        for (const NameVariants::Alias &alias : NameVariants::instance().aliases()) {
            QStringList quantities;
            for (const Quantity &q : Catalogue::instance().quantities()) {
                const QStringList names = unitsOf(q);
                const NameChoice choice = chooseName(NameMatcher(names, unitAliases(q, names)), alias.text);
                if (choice.outcome == NameChoice::Outcome::Found && choice.rank <= MatchRank::SymbolIgnoringCase)
                    quantities << q.name;
            }
            QVERIFY2(!quantities.isEmpty(), qPrintable(alias.text));
            if (quantities.size() > 1)
                ambiguous.insert(alias.text, quantities);
        }
        const QMap<QString, QStringList> intended{
            {"NM", {"Length", "Torque"}},    // N·m, in any case
            {"PS", {"Power", "Time"}},       // ps
            {"ft lb", {"Energy", "Torque"}}, // work and torque alike
            {"kn", {"Force", "Velocity"}},   // kN
        };
        QCOMPARE(ambiguous, intended);
    }

    void spellingsReadAsTheFirst()
    {
        const NameVariants &variants = NameVariants::instance();
        QCOMPARE(variants.spellings().size(), dataLineCount(resource(QStringLiteral(":/spellings.txt"))));
        for (const QStringList &spellings : variants.spellings()) {
            for (const QString &spelling : spellings)
                QCOMPARE(variants.respelt(spelling), spellings.first());
        }
        QCOMPARE(variants.respelt(u"kilometer per liter"_qs), u"kilometre per litre"_qs);
        QCOMPARE(variants.respelt(u"kilometre"_qs), u"kilometre"_qs);
    }

    void spellingLines_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QList<QStringList>>("spellings");
        QTest::newRow("read") << QByteArray("# c\n\"Metre\"  \"meter\" \"metter\"\r\n") << QList<QStringList>{{"metre", "meter", "metter"}};
        QTest::newRow("one spelling") << QByteArray("\"metre\"\n") << QList<QStringList>();
        QTest::newRow("text between") << QByteArray("\"metre\" or \"meter\"\n") << QList<QStringList>();
        QTest::newRow("unpaired quote") << QByteArray("\"metre\" \"meter\n") << QList<QStringList>();
        QTest::newRow("empty spelling") << QByteArray("\"metre\" \"\"\n") << QList<QStringList>();
    }

    void spellingLines()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QList<QStringList>, spellings);
        QCOMPARE(NameVariants::parse({}, lines).spellings(), spellings);
    }
};

QTEST_GUILESS_MAIN(TestNameVariants)
#include "tst_namevariants.moc"
