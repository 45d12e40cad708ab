#include "engine/catalogue.h"
#include "engine/factortable.h"
#include "engine/stringtable.h"

#include <QSet>
#include <QTest>

using namespace quantix;

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void quantityTableIsComplete()
    {
        const Catalogue &catalogue = Catalogue::instance();
        int units = 0;
        int previousId = 0;
        QSet<QString> quantityNames;
        for (const Quantity &q : catalogue.quantities()) {
            QVERIFY2(q.id > previousId && q.id % 10 == 0 && q.id >= 500 && q.id <= 950, qPrintable(QString::number(q.id)));
            QVERIFY(!q.name.isEmpty());
            QVERIFY(q.baseUnitId > q.id && q.baseUnitId <= q.lastUnitId());
            QCOMPARE(q.baseUnitName, str(q.baseUnitId));
            quantityNames.insert(q.name);
            units += q.unitCount;
            previousId = q.id;
        }
        QCOMPARE(catalogue.quantities().size(), std::size_t(32));
        QCOMPARE(quantityNames.size(), 32);
        QCOMPARE(units, 329);
        QCOMPARE(catalogue.quantities().back().lastUnitId(), 976);
        QCOMPARE(str(976), QStringLiteral("teaspoon (UK)"));
        QCOMPARE(catalogue.at(0).name, QStringLiteral("Acceleration"));
        QCOMPARE(catalogue.at(31).name, QStringLiteral("Volume (Liquid)"));
    }

    // Each unit ID has a name and a rule, the base unit copies, and names are
    // unique within their quantity: the lookups by name depend on it.
    void everyUnitHasNameAndRule()
    {
        for (const Quantity &q : Catalogue::instance().quantities()) {
            const auto rules = unitRules(q.id);
            QCOMPARE(int(rules.size()), q.unitCount);
            QSet<QString> names;
            for (int j = 1; j <= q.unitCount; ++j) {
                const QString name = Catalogue::unitName(q, j);
                QVERIFY2(!name.isEmpty(), qPrintable(QString::number(q.id + j)));
                names.insert(name);
                QCOMPARE(rules[std::size_t(j - 1)].id, q.id + j);
            }
            QCOMPARE(names.size(), q.unitCount);
            const UnitRule &base = rules[std::size_t(q.baseUnitId - q.id - 1)];
            QVERIFY(base.rule == Rule::Copy || base.rule == Rule::Celsius);
        }
        QVERIFY(unitRules(505).empty());
    }

    void namesAreSpelledAsTheTableSpellsThem()
    {
        QCOMPARE(str(626), QStringLiteral("erg  (dyne-centimetre)"));
        QCOMPARE(str(708), QStringLiteral("micrometre (micron)  (µm)"));
        QCOMPARE(str(710), QStringLiteral("femtometre (fermi)  (fm)"));
        QCOMPARE(str(942), QStringLiteral("litre (l)"));
        QCOMPARE(str(955), QStringLiteral("litre (l)"));
        QCOMPARE(str(328), QStringLiteral("I'm sorry, the program specified to run  - "));
        QCOMPARE(str(63), QStringLiteral("Example : "));
        QCOMPARE(str(306), QStringLiteral("Build "));
        QCOMPARE(Catalogue::instance().byName(u"Temperature")->baseUnitName, QStringLiteral("Celsius (°C)"));
        QCOMPARE(Catalogue::instance().byName(u"Volume (Liquid)")->baseUnitName, QStringLiteral("millilitre (ml)"));
        QVERIFY(!Catalogue::instance().byName(u"length"));
        QCOMPARE(Catalogue::instance().positionOfName(u"Pressure or Stress"), 24);
    }

    void stringTableFormat()
    {
        const StringTable table = StringTable::parse("# comment\n\n7 \"a \"quoted\" text \"\r\n8 \"\"\nbad line\n9 no quotes\n");
        QCOMPARE(table.text(7), QStringLiteral("a \"quoted\" text "));
        QVERIFY(table.contains(8));
        QCOMPARE(table.text(8), QString());
        QCOMPARE(table.size(), 2);
        QCOMPARE(table.text(9), QString());
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
