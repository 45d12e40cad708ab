#include "conversionerror.h"
#include "selectionrules.h"
#include "settingsstore.h"
#include "userunitstore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;

class TestSelectionRules : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    UserUnitStore m_store;
    Converter m_converter{m_store};

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
        QCOMPARE(offeredQuantityNames().size(), 32);
        WriteSetting(section::units, "Length", "0");
        WriteSetting(section::units, "Mass", "no");
        const QStringList names = offeredQuantityNames();
        QCOMPARE(names.size(), 30);
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
        QCOMPARE(length.size(), 29 + 2);
        QCOMPARE(length.mid(29), QStringList({"widget", "unknown"}));
        QCOMPARE(offeredUnitNames(quantity("Temperature"), m_store).size(), 3);
    }

    // One stored key decides for both units named "litre (l)".
    void litreIsOneKey()
    {
        WriteSetting(section::units, "litre (l)", "0");
        QVERIFY(!offeredUnitNames(quantity("Volume (Dry)"), m_store).contains("litre (l)"));
        QVERIFY(!offeredUnitNames(quantity("Volume (Liquid)"), m_store).contains("litre (l)"));
    }

    void damagedCountOffersNoUserUnits()
    {
        WriteSetting(section::userunits, "Massnumber", "lots");
        QCOMPARE(offeredUnitNames(quantity("Mass"), m_store).size(), 16);
        WriteSetting(section::userunits, "Massnumber", "99999999");
        WriteSetting(section::userunits, "Massused10", "1");
        WriteSetting(section::userunits, "Mass10", "tenth");
        WriteSetting(section::userunits, "Massused11", "1");
        QCOMPARE(offeredUnitNames(quantity("Mass"), m_store).mid(16), QStringList({"tenth"}));
    }

    void conversionSetsTheStateAndShowsNothingWithoutUnits()
    {
        AppState state;
        state.rememberedName = "Length";
        QCOMPARE(runQuantityConversion(state, m_converter, quantity("Length"), {"", "", "5"}, u"."), std::nullopt);
        QCOMPARE(state.rememberedName, QString());
        QCOMPARE(state.inputValue, 5.0);
        QCOMPARE(runQuantityConversion(state, m_converter, quantity("Length"), {"metre (m)", "", "5"}, u"."), std::nullopt);
        QCOMPARE(runQuantityConversion(state, m_converter, quantity("Length"), {"metre (m)", "foot (ft)", "1e3"}, u"."),
                 QStringLiteral("3280.840"));
        QCOMPARE(state.rememberedName, QStringLiteral("metre (m)"));
        QCOMPARE(state.finalUnitName, QStringLiteral("foot (ft)"));
    }

    void showResultCorrectsDecimals()
    {
        AppState state;
        state.rememberedName = "a";
        state.finalUnitName = "b";
        state.decimalPlaces = 9;
        QCOMPARE(showResultText(state, 1.5, u","), QStringLiteral("1,500"));
        QCOMPARE(state.decimalPlaces, 3);
        state.scientific = true;
        state.decimalPlaces = 0;
        QCOMPARE(showResultText(state, 1.5, u"."), QStringLiteral("2.E+0"));
    }

    void overflowReachesTheCaller()
    {
        AppState state;
        try {
            runQuantityConversion(state, m_converter, quantity("Length"), {"parsec (pc)", "metre (m)", "1e300"}, u".");
            QFAIL("no error");
        } catch (const ConversionError &error) {
            QCOMPARE(error.number(), 6);
        }
    }
};

QTEST_GUILESS_MAIN(TestSelectionRules)
#include "tst_selectionrules.moc"
