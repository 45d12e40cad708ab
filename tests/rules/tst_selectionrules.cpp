#include "engine/errors.h"
#include "rules/options.h"
#include "rules/selectionrules.h"
#include "settings/settingsstore.h"
#include "settings/userunitstore.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;

class TestSelectionRules : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    UserUnitStore m_store;

    static const Quantity &quantity(const char *name) { return *Catalogue::instance().byName(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }

    void init() { QFile::remove(settingsLocation()); }

    void quantitiesFollowAvailability()
    {
        QCOMPARE(offeredQuantityNames().size(), 33);
        WriteSetting(section::units, "Length", "0");
        WriteSetting(section::units, "Mass", "no");
        const QStringList names = offeredQuantityNames();
        QCOMPARE(names.size(), 31);
        QVERIFY(!names.contains("Length") && !names.contains("Mass"));
        for (const Quantity &q : Catalogue::instance().quantities())
            WriteSetting(section::units, q.name, "0");
        QVERIFY(offeredQuantityNames().isEmpty());
    }

    void unitListsHoldCatalogueThenUserUnits()
    {
        QCOMPARE(offeredUnitNames(quantity("Temperature"), m_store),
                 QStringList({"Celsius (°C)", "Kelvin (K)", "Fahrenheit (°F)", "Rankine (°R)"}));
        WriteSetting(section::units, "Kelvin (K)", "0");
        WriteSetting(section::userunits, "Lengthnumber", "3");
        WriteSetting(section::userunits, "Length1", "widget");
        WriteSetting(section::userunits, "Lengthused1", "1");
        WriteSetting(section::userunits, "Length2", "hidden");
        WriteSetting(section::userunits, "Lengthused3", "1");  // its name is missing
        const QStringList length = offeredUnitNames(quantity("Length"), m_store);
        // The table's units, feet and inches written in parts, then the user's.
        QCOMPARE(length.size(), 29 + 1 + 2);
        QCOMPARE(length.mid(29), QStringList({"feet and inches (ft+in)", "widget", "unknown"}));
        QCOMPARE(offeredUnitNames(quantity("Temperature"), m_store).size(), 3);
    }

    // One stored key decides for both units named "litre (l)".
    void litreIsOneKey()
    {
        WriteSetting(section::units, "litre (l)", "0");
        QVERIFY(!offeredUnitNames(quantity("Volume (Dry)"), m_store).contains("litre (l)"));
        QVERIFY(!offeredUnitNames(quantity("Volume (Liquid)"), m_store).contains("litre (l)"));
    }

    // A flag stored under the unit's former spelling holds until the
    // preferences write one under the corrected name.
    void formerSpellingKeepsItsFlag()
    {
        QVERIFY(offeredUnitNames(quantity("Time"), m_store).contains("millennium"));
        WriteSetting(section::units, "millenium", "0");
        QVERIFY(!offeredUnitNames(quantity("Time"), m_store).contains("millennium"));
        WriteSetting(section::units, "millennium", "1");
        QVERIFY(offeredUnitNames(quantity("Time"), m_store).contains("millennium"));
    }

    void damagedCountOffersNoUserUnits()
    {
        WriteSetting(section::userunits, "Massnumber", "lots");
        QCOMPARE(offeredUnitNames(quantity("Mass"), m_store).size(), 16 + 2);
        WriteSetting(section::userunits, "Massnumber", "99999999");
        WriteSetting(section::userunits, "Massused10", "1");
        WriteSetting(section::userunits, "Mass10", "tenth");
        WriteSetting(section::userunits, "Massused11", "1");
        QCOMPARE(offeredUnitNames(quantity("Mass"), m_store).mid(16 + 2), QStringList({"tenth"}));
    }

    // The window reads a unit in parts in parts and writes one so; the
    // state keeps the value in the smallest part.
    void unitsInPartsBothWays()
    {
        const Converter length(quantity("Length"));
        ConversionState state;
        const ConversionInputs typed{"feet and inches (ft+in)", "inch (in)", "5' 11 1/2\""};
        QCOMPARE(runQuantityConversion(state, length, typed, {}, u"."), QStringLiteral("71.500"));
        QCOMPARE(state.inputValue, 71.5);
        QCOMPARE(runQuantityConversion(state, length, {"inch (in)", "feet and inches (ft+in)", "71,25"}, {}, u","),
                 QStringLiteral("5 ft 11,250 in"));
        NumberStyle fractions;
        fractions.inchFraction = 4;
        QCOMPARE(runQuantityConversion(state, length, {"metre (m)", "inch (in)", ".01905"}, fractions, u"."), QStringLiteral("3/4"));
        const Converter time(quantity("Time"));
        QCOMPARE(runQuantityConversion(state, time, {"minute (min)", "hours, minutes and seconds (hms)", "90.25"}, {}, u"."),
                 QStringLiteral("1 h 30 min 15.000 s"));
    }

    void conversionSetsTheStateAndShowsNothingWithoutUnits()
    {
        const Converter length(quantity("Length"));
        ConversionState state;
        state.rememberedName = "Length";
        QCOMPARE(runQuantityConversion(state, length, {"", "", "5"}, {}, u"."), std::nullopt);
        QCOMPARE(state.rememberedName, QString());
        QCOMPARE(state.inputValue, 5.0);
        QCOMPARE(runQuantityConversion(state, length, {"metre (m)", "", "5"}, {}, u"."), std::nullopt);
        QCOMPARE(runQuantityConversion(state, length, {"metre (m)", "foot (ft)", "1e3"}, {}, u"."), QStringLiteral("3280.840"));
        QCOMPARE(state.rememberedName, QStringLiteral("metre (m)"));
        QCOMPARE(state.finalUnitName, QStringLiteral("foot (ft)"));
    }

    // Where the separator is ",", a result typed back converts to the same
    // number, and a text cut at a second decimal point says what was read.
    void decimalCommaReadsBack()
    {
        const Converter length(quantity("Length"));
        ConversionState state;
        const QString result = *runQuantityConversion(state, length, {"metre (m)", "foot (ft)", "2,5"}, {}, u",");
        QCOMPARE(result, QStringLiteral("8,202"));
        QCOMPARE(runQuantityConversion(state, length, {"foot (ft)", "metre (m)", result}, {}, u","), QStringLiteral("2,500"));
        QCOMPARE(inputReadingNote(result, u","), std::nullopt);
        QCOMPARE(inputReadingNote(u"1.234,5", u","),
                 QStringLiteral("Read as 1.234: a second decimal point ends the number (\".\" and \",\" both mark the decimals here)."));
        QCOMPARE(inputReadingNote(u"1.2.3", u"."), std::nullopt);
    }

    // Decimal places outside 0 to 8 (a damaged store) show as 3.
    void numberStyleOfTheOptions()
    {
        const ConversionState state{"a", "b", 0};
        Options options;
        QSignalSpy changes(&options, &Options::numberStyleChanged);
        options.setDecimalPlaces(9);
        QCOMPARE(options.decimalPlaces(), 3);
        QCOMPARE(changes.size(), 0);
        QCOMPARE(showResultText(state, 1.5, options.numberStyle(), u","), QStringLiteral("1,500"));
        options.setScientific(true);
        options.setDecimalPlaces(0);
        QCOMPARE(changes.size(), 2);
        QCOMPARE(showResultText(state, 1.5, options.numberStyle(), u"."), QStringLiteral("2.E+0"));
        QCOMPARE(showResultText({"a", "", 0}, 1.5, options.numberStyle(), u"."), std::nullopt);
    }

    void overflowReachesTheCaller()
    {
        ConversionState state;
        try {
            runQuantityConversion(state, Converter(quantity("Length")), {"parsec (pc)", "metre (m)", "1e300"}, {}, u".");
            QFAIL("no error");
        } catch (const ConversionError &error) {
            QCOMPARE(error.number(), ErrorNumber::Overflow);
        }
    }
};

QTEST_GUILESS_MAIN(TestSelectionRules)
#include "tst_selectionrules.moc"
