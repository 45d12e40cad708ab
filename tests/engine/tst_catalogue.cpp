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
            // In ID order, but for the quantity numbered after the first versions' ones.
            const bool later = q.id == 980;
            QVERIFY2((q.id > previousId || later) && q.id % 10 == 0 && q.id >= 500 && (q.id <= 950 || later), qPrintable(QString::number(q.id)));
            QVERIFY(!q.name.isEmpty());
            QVERIFY(q.baseUnitId > q.id && q.baseUnitId <= q.lastUnitId());
            QCOMPARE(q.baseUnitName, str(q.baseUnitId));
            quantityNames.insert(q.name);
            units += q.unitCount;
            if (!later)
                previousId = q.id;
        }
        QCOMPARE(catalogue.quantities().size(), std::size_t(33));
        QCOMPARE(quantityNames.size(), 33);
        QCOMPARE(units, 329 + 4);
        QCOMPARE(catalogue.quantities().back().lastUnitId(), 976);
        QCOMPARE(str(976), QStringLiteral("teaspoon (UK)"));
        QCOMPARE(catalogue.at(0).name, QStringLiteral("Acceleration"));
        QCOMPARE(catalogue.at(32).name, QStringLiteral("Volume (Liquid)"));
        const Quantity &difference = catalogue.at(catalogue.positionOfName(u"Temperature") + 1);
        QCOMPARE(difference.id, 980);
        QCOMPARE(difference.name, QStringLiteral("Temperature Difference"));
        QCOMPARE(difference.baseUnitName, QStringLiteral("kelvin difference (ΔK)"));
        QStringList names;
        for (int j = 1; j <= difference.unitCount; ++j)
            names << Catalogue::unitName(difference, j);
        QCOMPARE(names, QStringList({"kelvin difference (ΔK)", "Celsius degree difference (Δ°C)", "Fahrenheit degree difference (Δ°F)",
                                     "Rankine degree difference (Δ°R)"}));
    }

    // A stored quantity number keeps the quantity the first versions meant
    // by it; the new quantity is numbered after them.
    void storedIndexesKeepTheirQuantities()
    {
        const Catalogue &catalogue = Catalogue::instance();
        const QStringList firstVersions{"Acceleration", "Angle", "Angular Velocity", "Area", "Capacitance", "Charge", "Conductance",
                                        "Density", "Dynamic Viscosity", "Electric Field Strength", "Energy", "Flow", "Force",
                                        "Illuminance", "Kinematic Viscosity", "Length", "Luminance", "Magnetic Field Strength",
                                        "Magnetic Flux", "Magnetic Flux Density", "Magnetomotive Force", "Mass", "Power",
                                        "Power Density", "Pressure or Stress", "Temperature", "Thermal Conductivity", "Time",
                                        "Torque", "Velocity", "Volume (Dry)", "Volume (Liquid)"};
        for (int index = 0; index < 32; ++index) {
            const int position = catalogue.positionOfStoredIndex(index);
            QCOMPARE(catalogue.at(position).name, firstVersions[index]);
            QCOMPARE(catalogue.storedIndex(position), index);
        }
        QCOMPARE(catalogue.at(catalogue.positionOfStoredIndex(32)).name, QStringLiteral("Temperature Difference"));
        QCOMPARE(catalogue.positionOfStoredIndex(33), -1);
        QCOMPARE(catalogue.positionOfStoredIndex(-1), -1);
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
